// Settings-file reading with the profile rules: sections, keys, blanks, quotes, cuts, files.
#include "platform/profile_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/posix/posix_file_system.h"
#include "support/wine_prefix.h"

namespace zav {
namespace {

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

TEST(ProfileReaderTest, SectionsAndKeysIgnoreCaseAndBlanks) {
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
}

TEST(ProfileReaderTest, UnicodeSettingsFilesAreReadInTheCodePage) {
    EXPECT_EQ(
        FindProfileValue("\xEF\xBB\xBF[ZAV]\nDirectory=C:\\Caf\xC3\xA9\\\n", "ZAV", "Directory"),
        "C:\\Caf\xE9\\");
    std::string utf16 = "\xFF\xFE";
    for (const char16_t unit : std::u16string_view(u"[ZAV]\r\nDirectory=C:\\Caf\u00E9\\\r\n")) {
        utf16.push_back(static_cast<char>(unit & 0xFF));
        utf16.push_back(static_cast<char>(unit >> 8));
    }
    EXPECT_EQ(FindProfileValue(utf16, "ZAV", "Directory"), "C:\\Caf\xE9\\");
}

TEST(ProfileReaderTest, OnePairOfMatchingQuotesGoesAndTheValueIsCutToTheBuffer) {
    const std::tuple<std::string, std::size_t, std::string> cases[] = {
        {"\"C:\\Games\\\"", 256, "C:\\Games\\"},
        {"'English'", 30, "English"},
        {"\"\"twice\"\"", 30, "\"twice\""},
        {"\"mixed'", 30, "\"mixed'"},
        {"\"", 30, "\""},
        {std::string(40, 'x'), 30, std::string(29, 'x')},
        {"abc", 0, ""},
    };
    for (const auto& [value, size, result] : cases) {
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
