// MountedMedia on Windows: the roots of the CD drives, where a disc of new data is.
#include "platform/mounted_media.h"

#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"

namespace zav {

std::vector<std::string> MountedMedia() {
    std::vector<std::string> drives;
    const DWORD mask = ::GetLogicalDrives();
    for (int letter = 0; letter < 26; ++letter) {
        if ((mask & (1u << letter)) == 0) {
            continue;
        }
        const wchar_t root[] = {static_cast<wchar_t>(L'A' + letter), L':', L'\\', L'\0'};
        if (::GetDriveTypeW(root) == DRIVE_CDROM) {
            drives.push_back(WideToUtf8(root));
        }
    }
    return drives;
}

} // namespace zav
