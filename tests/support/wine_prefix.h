// A Wine prefix tree in a temporary folder, the way the game's installation lies on a host.
#pragma once

#include "support/temp_dir.h"

namespace zav::test {
/// `<root>/drive_c/windows` and, unless asked otherwise, `<root>/dosdevices/c:` -> `../drive_c`.
class WinePrefix {
public:
    explicit WinePrefix(bool linkDriveC = true) {
        MakeFolders(dir_ / "drive_c/windows");
        MakeFolders(dir_ / "dosdevices");
#ifndef _WIN32 // on Windows, HostFileSystem maps C: itself
        if (linkDriveC)
            LinkDrive('c', "../drive_c");
#else
        (void)linkDriveC;
#endif
    }
    [[nodiscard]] const std::string& path() const {
        return dir_.path();
    }
    [[nodiscard]] std::string operator/(std::string_view relative) const {
        return dir_ / relative;
    }
    void LinkDrive(char letter, const std::string& target) const {
        std::filesystem::create_directory_symlink(
            target, dir_ / ("dosdevices/" + std::string(1, letter) + ":"));
    }
    void WriteSettings(std::string_view text) const {
        WriteFile(dir_ / "drive_c/windows/Quorvex/Qvx.ini", text);
    }

private:
    TempDir dir_;
};
} // namespace zav::test
