// Win32Profile: GetPrivateProfileStringW with code page 1252 at both ends.
#include "platform/win32/win32_profile.h"

#include <vector>

#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"

namespace zav {

std::string Win32Profile::GetString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, std::size_t bufferSize,
                                    std::string_view file) {
    if (bufferSize == 0) {
        return {};
    }
    // One UTF-16 unit per code page 1252 character, so the cut falls where it does for the ANSI
    // call the game's tools make.
    std::vector<wchar_t> buffer(bufferSize + 1, L'\0');
    const DWORD length =
        ::GetPrivateProfileStringW(Cp1252ToWide(section).c_str(), Cp1252ToWide(key).c_str(),
                                   Cp1252ToWide(defaultValue).c_str(), buffer.data(),
                                   static_cast<DWORD>(bufferSize), Cp1252ToWide(file).c_str());
    const std::wstring_view value(buffer.data(), length);
    if (auto text = WideToCp1252(value)) {
        return *text;
    }
    std::string text;
    for (const wchar_t unit : value) {
        const auto byte = WideToCp1252(std::wstring_view(&unit, 1));
        text += byte ? *byte : std::string("?");
    }
    return text;
}

} // namespace zav
