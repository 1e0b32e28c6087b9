// A Wine prefix tree in a temporary folder, the way the game's installation lies on a host.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "support/temp_dir.h"

namespace zav::test {

/// `<root>/drive_c/windows` and, unless asked otherwise, `<root>/dosdevices/c:` -> `../drive_c`.
class WinePrefix {
public:
    explicit WinePrefix(bool linkDriveC = true) {
        MakeFolders(dir_ / "drive_c/windows");
        MakeFolders(dir_ / "dosdevices");
        if (linkDriveC) {
            LinkDrive('c', "../drive_c");
        }
    }

    [[nodiscard]] const std::string& path() const { return dir_.path(); }
    [[nodiscard]] std::string operator/(std::string_view relative) const { return dir_ / relative; }

    /// Makes `dosdevices/<letter>:` a link to the host folder `target`.
    void LinkDrive(char letter, const std::string& target) const {
        const std::string link = "dosdevices/" + std::string(1, letter) + ":";
        std::filesystem::create_directory_symlink(target, dir_ / link);
    }
    /// Writes the game's settings file.
    void WriteSettings(std::string_view text) const {
        WriteFile(dir_ / "drive_c/windows/Quorvex/Qvx.ini", text);
    }

private:
    TempDir dir_;
};

} // namespace zav::test
