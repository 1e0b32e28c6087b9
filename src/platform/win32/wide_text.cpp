// UTF-16 conversions of the Win32 edge, over the code page tables of codepage.cpp.
#include "platform/win32/wide_text.h"

#include "platform/codepage.h"
#include "platform/win32/windows_api.h"

namespace zav {

std::wstring Utf8ToWide(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0) {
        ::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
    }
    return wide;
}

std::string WideToUtf8(std::wstring_view text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int length =
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    if (length > 0) {
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, narrow.data(), length, nullptr,
                              nullptr);
    }
    return narrow;
}

std::wstring Cp1252ToWide(std::string_view text) {
    return Utf8ToWide(Cp1252ToUtf8(text));
}

std::optional<std::string> WideToCp1252(std::wstring_view text) {
    // WC_ERR_INVALID_CHARS makes a lone surrogate a failure rather than a U+FFFD the code page
    // would then refuse anyway.
    const int size = static_cast<int>(text.size());
    if (size == 0) {
        return std::string();
    }
    const int length = ::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), size,
                                             nullptr, 0, nullptr, nullptr);
    if (length <= 0) {
        return std::nullopt;
    }
    std::string utf8(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), size, utf8.data(), length,
                          nullptr, nullptr);
    return Utf8ToCp1252(utf8);
}

} // namespace zav
