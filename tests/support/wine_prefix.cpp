// WinePrefix: the folders and drive links a Wine prefix holds.
#include "support/wine_prefix.h"

#include <filesystem>
#include <stdexcept>

namespace zav::test {

WinePrefix::WinePrefix(bool linkDriveC) {
    MakeFolders(dir_ / "drive_c/windows");
    MakeFolders(dir_ / "dosdevices");
    if (linkDriveC) {
        LinkDrive('c', "../drive_c");
    }
}

void WinePrefix::LinkDrive(char letter, const std::string& target) const {
    std::error_code error;
    std::filesystem::create_directory_symlink(
        target, dir_ / ("dosdevices/" + std::string(1, letter) + ":"), error);
    if (error) {
        throw std::runtime_error("cannot link drive " + std::string(1, letter) + ": " +
                                 error.message());
    }
}

void WinePrefix::WriteSettings(std::string_view text) const {
    WriteFile(dir_ / "drive_c/windows/Quorvex/Qvx.ini", text);
}

} // namespace zav::test
