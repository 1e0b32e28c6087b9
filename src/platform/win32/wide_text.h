// Texts at the Win32 edge: the core's code page 1252 and UTF-8 to and from the UTF-16 of the wide
// calls.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zav {

/// The UTF-16 form of a code page 1252 text; every byte has one.
std::wstring Cp1252ToWide(std::string_view text);

/// The code page 1252 form of a UTF-16 text; nullopt when it holds a character the code page
/// cannot write (or a lone surrogate).
std::optional<std::string> WideToCp1252(std::wstring_view text);

/// UTF-8 to UTF-16 and back; a malformed sequence becomes U+FFFD.
std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);

} // namespace zav
