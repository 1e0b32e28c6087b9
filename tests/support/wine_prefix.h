// A Wine prefix tree in a temporary folder, the way the game's installation lies on a host.
#pragma once

#include <string>
#include <string_view>

#include "support/temp_dir.h"

namespace zav::test {

/// `<root>/drive_c/windows` and, unless asked otherwise, `<root>/dosdevices/c:` linked to
/// `../drive_c`. Removed with everything in it when it goes.
class WinePrefix {
public:
    explicit WinePrefix(bool linkDriveC = true);

    /// The prefix's host path (no trailing slash).
    [[nodiscard]] const std::string& path() const { return dir_.path(); }
    /// `relative` (with '/' separators) under the prefix.
    [[nodiscard]] std::string operator/(std::string_view relative) const { return dir_ / relative; }

    /// Makes `dosdevices/<letter>:` a link to the host folder `target`.
    void LinkDrive(char letter, const std::string& target) const;
    /// Writes the game's settings file, `drive_c/windows/Quorvex/Qvx.ini`.
    void WriteSettings(std::string_view text) const;

private:
    TempDir dir_;
};

} // namespace zav::test
