// Resolution of the core's Windows-style paths to host paths inside a Wine prefix.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/posix/folder_watch.h"

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
/// again to find another of its entries. A listed folder is watched (FolderWatch), so what any
/// program creates, removes or renames in it is known at the next name that its listing lacks;
/// where the kernel cannot watch it, such a name makes the folder be listed again, so that an
/// entry made by another program meanwhile is still found. The owner keeps the knowledge true by
/// telling of the entries it creates and removes (NoteCreated, NoteRemoved); an entry found
/// without a listing, and removed or renamed by another program during the run, may still be
/// named as it was found.
class HostPathResolver {
public:
    /// `prefix` is the Wine prefix as a UTF-8 host path.
    explicit HostPathResolver(std::string prefix) : prefix_(std::move(prefix)) {}

    /// The host path, or nullopt when the path names a drive the prefix does not have. `absent`,
    /// when given, tells whether the path is known not to exist: a folder on the way is watched
    /// and lacks the name, so that the caller need not ask the file system.
    [[nodiscard]] std::optional<std::string> Resolve(std::string_view path,
                                                     bool* absent = nullptr) const;

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
    /// `absent` is set when nothing matched in a watched listing.
    [[nodiscard]] std::optional<std::string> FindEntry(const std::string& folder,
                                                       std::string_view component,
                                                       const std::string& name, bool& absent) const;

    /// A folder's entries, as far as the run knows them.
    struct Listing {
        std::set<std::string> names; ///< UTF-8, in name order
        /// Each name in code page 1252 with its letters in lower case -> the names spelling it.
        std::unordered_map<std::string, std::set<std::string>> byFoldedName;
        bool watched = false; ///< kept true by the folder's changes, without listing it again

        void Add(const std::string& name);
        void Remove(const std::string& name);
    };
    /// The entry of `listing` that `name`, or else `component` without regard to case, names.
    [[nodiscard]] static const std::string*
    Match(const Listing& listing, std::string_view component, const std::string& name);
    /// Lists `folder` anew (watching it first where it can be watched); nullptr when unreadable.
    const Listing* ListFolder(const std::string& folder) const;
    /// Takes in what changed in the watched folders since last asked.
    void TakeChanges() const;
    /// Forgets all that is known at and below `hostPath`, and its name in its folder's listing.
    void Forget(const std::string& hostPath) const;

    std::string prefix_;
    // For folders not listed: folder + '\0' + the name as asked for -> host path of the entry.
    mutable std::unordered_map<std::string, std::string> found_;
    mutable std::unordered_map<std::string, Listing> listings_;
    mutable FolderWatch watch_;
    mutable std::unordered_map<std::string, std::string> finalPaths_;
    mutable std::string driveRoots_[26];
};

} // namespace zav
