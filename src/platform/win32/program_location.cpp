// ProgramFolder on Windows, from the module's own file name.
#include "platform/program_location.h"

#include <vector>

#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"

namespace zav {

namespace {

// The module's folder as the system names it, without a trailing separator; empty when the
// system does not tell.
std::wstring ModuleFolder() {
    // Long paths may exceed MAX_PATH: grow the buffer until the name fits.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return {};
        }
        if (length < buffer.size()) {
            std::wstring path(buffer.data(), length);
            const std::size_t cut = path.find_last_of(L"\\/");
            if (cut == std::wstring::npos) {
                return {};
            }
            // A drive's root keeps its separator: "C:\".
            path.erase(cut == 2 && path[1] == L':' ? cut + 1 : cut);
            return path;
        }
        buffer.resize(buffer.size() * 2);
    }
}

// A drive path ("C:\...") or a network or device one ("\\server\..."); Wine names a folder no
// drive leads to "unix\home\...", which every call would take as relative to the working folder.
bool CanBeOpened(const std::wstring& folder) {
    return (folder.size() >= 2 && folder[1] == L':') ||
           (folder.size() >= 2 && folder[0] == L'\\' && folder[1] == L'\\');
}

} // namespace

std::string ProgramFolder() {
    const std::wstring folder = ModuleFolder();
    return CanBeOpened(folder) ? WideToUtf8(folder) : std::string();
}

std::string ProgramFolderProblem() {
    const std::wstring folder = ModuleFolder();
    if (folder.empty() || CanBeOpened(folder)) {
        return {};
    }
    std::wstring shown = folder;
    if (shown.rfind(L"unix\\", 0) == 0) {
        shown.erase(0, 4); // the host's own path, as the user knows it
        for (wchar_t& c : shown) {
            c = c == L'\\' ? L'/' : c;
        }
    }
    return "The program's own folder '" + WideToUtf8(shown) +
           "' is reached by no drive letter of this Wine prefix, so the new data cannot be "
           "looked for there: name its folder with --source as a path on one of the "
           "prefix's drives, or give the folder a drive letter with winecfg.";
}

} // namespace zav
