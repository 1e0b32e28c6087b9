// ProgramFolder on Windows, from the module's own file name.
#include "platform/program_location.h"

#include <vector>

#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"

namespace zav {

std::string ProgramFolder() {
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
            return WideToUtf8(path);
        }
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace zav
