// Conversions between the core's 8-bit code page 1252 texts and the UTF-8 of hosts and terminals.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zav {

/// Every code page 1252 byte as UTF-8. The five bytes that the code page leaves undefined
/// (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the control characters of the same value, as Windows does.
std::string Cp1252ToUtf8(std::string_view text);

/// The code page 1252 form of a UTF-8 text; nullopt when the text is not valid UTF-8 or holds a
/// character that code page 1252 cannot write.
std::optional<std::string> Utf8ToCp1252(std::string_view text);

/// Lower-cases ASCII letters only, the comparison the game and the tool use for names.
char AsciiLower(char c);

/// Equality ignoring the case of ASCII letters.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

/// The lower-case form of a code page 1252 letter (ASCII, the accented letters 0xC0-0xDE other
/// than 0xD7, and the pairs 0x8A/0x9A, 0x8C/0x9C, 0x8E/0x9E, 0x9F/0xFF); other bytes unchanged.
char LowerCp1252(char c);

/// Equality ignoring the case of every code page 1252 letter, as Windows file names compare.
bool EqualsIgnoringCaseCp1252(std::string_view a, std::string_view b);

} // namespace zav
