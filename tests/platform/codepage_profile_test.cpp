// Code page 1252 <-> UTF-8, ASCII-only case folding and the settings file's text.
#include "platform/codepage.h"
#include "platform/profile_reader.h"

#include <gtest/gtest.h>

#include <string>

#ifdef _WIN32
#include "platform/win32/win32_profile.h"
#include "support/host_file_system.h"
#include "support/temp_dir.h"
#endif

namespace zav {
namespace {

TEST(CodepageTest, EveryByteRoundTripsUnwritableUtf8IsRefusedAndOnlyAsciiFoldsCase) {
    for (int byte = 0; byte < 256; ++byte) {
        const std::string text(1, static_cast<char>(byte));
        EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(text)), text) << "byte " << byte;
    }
    EXPECT_EQ(Cp1252ToUtf8("Caf\xE9\x80\x9F"), "Caf\xC3\xA9\xE2\x82\xAC\xC5\xB8");
    EXPECT_EQ(Cp1252ToUtf8("\x9D"), "\xC2\x9D") << "an undefined byte keeps its value";
    // U+0080 has no byte (0x80 is the euro); "Caf\xE9" is code page, not UTF-8.
    for (const char* text : {"\xC5\x8Csaka", "\xF0\x9F\x9A\x97", "\xC2\x80", "Caf\xE9", "\xC3",
                             "\xC0\xAF", "\xED\xA0\x80"}) {
        EXPECT_FALSE(Utf8ToCp1252(text).has_value()) << text;
    }
    EXPECT_TRUE(EqualsIgnoringAsciiCase("Circuits.BIN", "circuits.bin"));
    EXPECT_FALSE(EqualsIgnoringAsciiCase("caf\xE9", "CAF\xC9"));
    EXPECT_FALSE(EqualsIgnoringAsciiCase("[", "{")) << "only letters fold";
}

TEST(ProfileReaderTest, SectionsKeysUnicodeFilesQuotesAndCuts) {
    constexpr std::string_view kSettings = "Directory=C:\\Before\\Any\\Section\\\n[zav]\r\n"
                                           "  directory  =   C:\\Games\\ZAV\\  \r\n"
                                           "; Language=German\r\nVersion\r\nPath=a=b\r\nEmpty=\r\n"
                                           "[ ZAV2_0 ]\nLanguage=French\n[ZAV]\nOther=second\n";
    const std::tuple<const char*, const char*, std::optional<std::string>> cases[] = {
        {"ZAV", "Directory", "C:\\Games\\ZAV\\"},
        {"zav2_0", "LANGUAGE", "French"},
        {"ZAV", "Path", "a=b"}, // the first '=' splits
        {"ZAV", "Empty", ""},
        {"ZAV", "Language", std::nullopt},     // a comment is no key
        {"ZAV2_0", "Directory", std::nullopt}, // text before any section
        {"ZAV", "Other", std::nullopt},        // only the first [ZAV] counts
    };
    for (const auto& [section, key, value] : cases) {
        EXPECT_EQ(FindProfileValue(kSettings, section, key), value) << section << "/" << key;
    }
    // Unicode settings files are read in the code page.
    EXPECT_EQ(
        FindProfileValue("\xEF\xBB\xBF[ZAV]\nDirectory=C:\\Caf\xC3\xA9\\\n", "ZAV", "Directory"),
        "C:\\Caf\xE9\\");
    std::string utf16 = "\xFF\xFE";
    for (const char16_t unit : std::u16string_view(u"[ZAV]\r\nDirectory=C:\\Caf\u00E9\\\r\n")) {
        utf16 += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    }
    EXPECT_EQ(FindProfileValue(utf16, "ZAV", "Directory"), "C:\\Caf\xE9\\");
    // One pair of matching quotes goes, and the value is cut to the buffer.
    const std::tuple<std::string, std::size_t, std::string> quoted[] = {
        {"\"C:\\Games\\\"", 256, "C:\\Games\\"},
        {"'English'", 30, "English"},
        {"\"", 30, "\""},
        {std::string(40, 'x'), 30, std::string(29, 'x')},
        {"abc", 0, ""}};
    for (const auto& [value, size, result] : quoted) {
        EXPECT_EQ(ProfileResult(value, size), result) << value;
    }
}

#ifdef _WIN32
// The profile API of Windows and the reader give the same values for the same settings file.
TEST(ProfileReaderTest, Win32ProfileAgreesWithTheReader) {
    test::TempDir dir;
    const std::string file = dir / "zav.ini";
    test::WriteFile(file, "Directory=C:\\Before\\\n[zav]\r\n  directory  =   C:\\Games\\  \r\n"
                          "; Language=German\r\nPath=a=b\r\nEmpty=\r\n[ ZAV2_0 ]\nLanguage=French\n"
                          "[ZAV]\nOther=second\n[Q]\nA=\"C:\\Games\\\"\nB='English'\nC=\"\n"
                          "D=\"mixed'\nE=Caf\xE9\n");
    test::HostFileSystem files(dir.path());
    FileSystemProfile reader(files);
    Win32Profile api;
    for (const char* section : {"ZAV", "zav2_0", "Q", "Missing"}) {
        for (const char* key :
             {"Directory", "LANGUAGE", "Path", "Empty", "Other", "A", "B", "C", "D", "E"}) {
            for (const std::size_t size : {256u, 4u, 1u}) {
                EXPECT_EQ(api.GetString(section, key, "'dflt'", size, file),
                          reader.GetString(section, key, "'dflt'", size, file))
                    << section << "/" << key << " in " << size;
            }
        }
    }
}
#endif

} // namespace
} // namespace zav
