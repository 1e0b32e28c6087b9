// Resolution of the core's Windows-style paths to host paths inside a Wine prefix.
#pragma once

#include <optional>
#include <string>
#include <string_view>

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
class HostPathResolver {
public:
    /// `prefix` is the Wine prefix as a UTF-8 host path.
    explicit HostPathResolver(std::string prefix) : prefix_(std::move(prefix)) {}

    /// The host path, or nullopt when the path names a drive the prefix does not have.
    [[nodiscard]] std::optional<std::string> Resolve(std::string_view path) const;

    [[nodiscard]] const std::string& Prefix() const { return prefix_; }

private:
    [[nodiscard]] std::optional<std::string> DriveRoot(char letter) const;

    std::string prefix_;
};

} // namespace zav
