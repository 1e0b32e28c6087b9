// Resolution of the core's Windows-style paths to host paths inside a Wine prefix.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace zav {

/// Turns a code page 1252 Windows-style path into a UTF-8 host path.
///
/// - "X:" is `<prefix>/dosdevices/x:`; for C: `<prefix>/drive_c` when that link is missing.
/// - A path starting with '/' or '\' is a host path from the host's root; any other path is
///   relative to the current folder.
/// - Both '\' and '/' separate components; empty and "." components are skipped, ".." goes up.
/// - Each component is matched exactly first, then without regard to case among the entries of
///   its folder (ASCII and the other code page 1252 letters, as Windows compares file names;
///   the first in name order wins). A component that matches nothing keeps the case given, and
///   so do the components below it, so new files can be created.
///
/// What a resolution finds is kept for the life of the object (a run): each folder of a path is
/// looked up once, and a folder listed to match a name without regard to case is not listed
/// again to find another of its entries. A name that matched nothing is looked up again every
/// time, so an entry made by another program meanwhile is found. The owner keeps the knowledge
/// true by telling of the entries it creates and removes (NoteCreated, NoteRemoved); an entry
/// that another program removes or renames during the run may still be named as it was found.
class HostPathResolver {
public:
    /// `prefix` is the Wine prefix as a UTF-8 host path.
    explicit HostPathResolver(std::string prefix) : prefix_(std::move(prefix)) {}

    /// The host path, or nullopt when the path names a drive the prefix does not have.
    [[nodiscard]] std::optional<std::string> Resolve(std::string_view path) const;

    /// The entry `hostPath` (a result of Resolve) has just been created, under that name.
    void NoteCreated(const std::string& hostPath);
    /// The entry `hostPath` (a result of Resolve), and whatever lay below it, is gone.
    void NoteRemoved(const std::string& hostPath);

    /// The existing host path with every link (and "." and "..") on the way resolved, as
    /// std::filesystem::canonical gives it; each folder on the way is resolved once per run.
    /// Empty when it does not exist or cannot be resolved.
    [[nodiscard]] std::string FinalHostPath(const std::string& hostPath) const;

    [[nodiscard]] const std::string& Prefix() const { return prefix_; }

private:
    [[nodiscard]] std::optional<std::string> DriveRoot(char letter) const;
    /// The existing entry of `folder` that the component `name` (UTF-8) names, as a host path.
    /// `component` is the name as the core spells it, `name` the same in UTF-8.
    [[nodiscard]] std::optional<std::string>
    FindEntry(const std::string& folder, std::string_view component, const std::string& name) const;

    std::string prefix_;
    // folder + '\0' + the name as asked for -> host path of the entry it names.
    mutable std::unordered_map<std::string, std::string> found_;
    // Folders whose entries are all in found_ under their own names (as far as the run knows).
    mutable std::unordered_set<std::string> listed_;
    mutable std::unordered_map<std::string, std::string> finalPaths_;
    mutable std::string driveRoots_[26];
};

} // namespace zav
