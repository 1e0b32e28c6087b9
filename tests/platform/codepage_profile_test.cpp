// Code page 1252 <-> UTF-8, the ASCII-only case folding of names, texts bounded to 255, and the
// settings-file reading with the profile rules: sections, keys, blanks, quotes, cuts, files.
#include "platform/codepage.h"
#include "platform/fixed_text.h"
#include "platform/profile_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/posix/posix_file_system.h"
#include "support/wine_prefix.h"

namespace zav {
namespace {

TEST(CodepageTest, EveryByteRoundTripsUnwritableUtf8IsRefusedAndOnlyAsciiFoldsCase) {
    for (int byte = 0; byte < 256; ++byte) {
        const std::string text(1, static_cast<char>(byte));
        EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(text)), text) << "byte " << byte;
    }
    EXPECT_EQ(Cp1252ToUtf8("Caf\xE9"), "Caf\xC3\xA9");
    EXPECT_EQ(Cp1252ToUtf8("\x80"), "\xE2\x82\xAC") << "the euro sign";
    EXPECT_EQ(Cp1252ToUtf8("\x9F"), "\xC5\xB8");
    EXPECT_EQ(Cp1252ToUtf8("\x9D"), "\xC2\x9D") << "an undefined byte keeps its value";

    for (const char* text : {"\xC5\x8Csaka", "\xE6\x97\xA5", "\xF0\x9F\x9A\x97",
                             "\xC2\x80", // U+0080 has no byte: 0x80 is the euro
                             "Caf\xE9",  // a code page byte is not UTF-8
                             "\xC3", "\xC0\xAF", "\xED\xA0\x80", "\x80"}) {
        EXPECT_FALSE(Utf8ToCp1252(text).has_value()) << text;
    }

    EXPECT_TRUE(EqualsIgnoringAsciiCase("Circuits.BIN", "circuits.bin"));
    EXPECT_FALSE(EqualsIgnoringAsciiCase("circuit", "circuits"));
    EXPECT_FALSE(EqualsIgnoringAsciiCase("caf\xE9", "CAF\xC9"));
    EXPECT_FALSE(EqualsIgnoringAsciiCase("[", "{")) << "only letters fold";
}

TEST(FixedTextTest, TextsNeverPassTheirBuffer) {
    PathText text;
    ASSERT_TRUE(text.Assign("old"));
    EXPECT_FALSE(text.Assign(std::string(256, 'x')));
    EXPECT_TRUE(text.empty()) << "a refused assignment leaves it empty";
    ASSERT_TRUE(text.Assign(std::string(250, 'a')));
    EXPECT_FALSE(text.Append("123456"));
    EXPECT_EQ(text.view(), std::string(250, 'a')) << "a refused append keeps the text";
    EXPECT_TRUE(text.Append("12345"));
    EXPECT_EQ(text.size(), 255u);
    const std::string longValue = std::string(255, 'k') + "cut"; // as settings values are
    text.AssignCut(longValue);
    EXPECT_EQ(text.view(), std::string(255, 'k'));
}

constexpr std::string_view kSettings = "Directory=C:\\Before\\Any\\Section\\\n"
                                       "[zav]\r\n"
                                       "  directory  =   C:\\Games\\ZAV\\  \r\n"
                                       "; Language=German\r\n"
                                       "Version\r\n"
                                       "Path=a=b\r\n"
                                       "Empty=\r\n"
                                       "[ ZAV2_0 ]\n"
                                       "Language=French\n"
                                       "[ZAV]\n"
                                       "Other=second section\n";

TEST(ProfileReaderTest, SectionsKeysUnicodeFilesQuotesAndCuts) {
    const struct {
        const char* section;
        const char* key;
        std::optional<std::string> value;
    } cases[] = {
        {"ZAV", "Directory", "C:\\Games\\ZAV\\"},
        {"zav2_0", "LANGUAGE", "French"},
        {"ZAV", "Path", "a=b"}, // the first '=' splits
        {"ZAV", "Empty", ""},
        {"ZAV", "Language", std::nullopt},     // a comment is no key
        {"ZAV", "Version", std::nullopt},      // a line without '='
        {"ZAV2_0", "Directory", std::nullopt}, // text before any section
        {"ZAV", "Other", std::nullopt},        // only the first [ZAV] counts
        {"ZAV3", "Directory", std::nullopt},
    };
    for (const auto& [section, key, value] : cases) {
        EXPECT_EQ(FindProfileValue(kSettings, section, key), value) << section << "/" << key;
    }
    EXPECT_FALSE(FindProfileValue("", "ZAV", "Directory"));

    // Unicode settings files are read in the code page.
    EXPECT_EQ(
        FindProfileValue("\xEF\xBB\xBF[ZAV]\nDirectory=C:\\Caf\xC3\xA9\\\n", "ZAV", "Directory"),
        "C:\\Caf\xE9\\");
    std::string utf16 = "\xFF\xFE";
    for (const char16_t unit : std::u16string_view(u"[ZAV]\r\nDirectory=C:\\Caf\u00E9\\\r\n")) {
        utf16.push_back(static_cast<char>(unit & 0xFF));
        utf16.push_back(static_cast<char>(unit >> 8));
    }
    EXPECT_EQ(FindProfileValue(utf16, "ZAV", "Directory"), "C:\\Caf\xE9\\");

    // One pair of matching quotes goes, and the value is cut to the buffer.
    const std::tuple<std::string, std::size_t, std::string> quoted[] = {
        {"\"C:\\Games\\\"", 256, "C:\\Games\\"},
        {"'English'", 30, "English"},
        {"\"\"twice\"\"", 30, "\"twice\""},
        {"\"mixed'", 30, "\"mixed'"},
        {"\"", 30, "\""},
        {std::string(40, 'x'), 30, std::string(29, 'x')},
        {"abc", 0, ""},
    };
    for (const auto& [value, size, result] : quoted) {
        EXPECT_EQ(ProfileResult(value, size), result) << value;
    }
}

TEST(FileSystemProfileTest, TheFileLiesInTheWindowsDirectoryAndMissingValuesGiveTheDefault) {
    test::WinePrefix prefix;
    PosixFileSystem files{prefix.path()};
    FileSystemProfile profile{files};
    EXPECT_EQ(profile.GetString("ZAV", "Directory", " fallback ", 256, "Quorvex\\Qvx.ini"),
              "fallback")
        << "no file";
    prefix.WriteSettings("[ZAV2_0]\nLanguage = \"German\"\nDirectory=\n");
    for (const char* file :
         {"Quorvex\\qvx.ini", "QUORVEX/QVX.INI", "C:\\windows\\Quorvex\\Qvx.ini"}) {
        EXPECT_EQ(profile.GetString("zav2_0", "language", "", 30, file), "German") << file;
    }
    EXPECT_EQ(profile.GetString("ZAV2_0", "Missing", "0123456789", 5, "Quorvex\\Qvx.ini"), "0123");
    EXPECT_EQ(profile.GetString("ZAV2_0", "Directory", "unused", 256, "Quorvex\\Qvx.ini"), "")
        << "a key with an empty value is there";
}

} // namespace
} // namespace zav
