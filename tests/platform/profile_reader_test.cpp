// Settings-file reading with the profile semantics: sections, keys, blanks, quotes, cuts, files.
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

TEST(ProfileReaderTest, SectionAndKeyNamesIgnoreCaseAndBlanks) {
    EXPECT_EQ(FindProfileValue(kSettings, "ZAV", "Directory"), "C:\\Games\\ZAV\\");
    EXPECT_EQ(FindProfileValue(kSettings, "zav2_0", "LANGUAGE"), "French");
    EXPECT_EQ(FindProfileValue(kSettings, "ZAV", "Path"), "a=b") << "the first '=' splits";
    EXPECT_EQ(FindProfileValue(kSettings, "ZAV", "Empty"), "");
}

TEST(ProfileReaderTest, WhatIsNotAKeyOfTheSectionIsMissing) {
    EXPECT_FALSE(FindProfileValue(kSettings, "ZAV", "Language")) << "a comment is no key";
    EXPECT_FALSE(FindProfileValue(kSettings, "ZAV", "Version")) << "a line without '='";
    EXPECT_FALSE(FindProfileValue(kSettings, "ZAV2_0", "Directory")) << "text before any section";
    EXPECT_FALSE(FindProfileValue(kSettings, "ZAV", "Other")) << "only the first [ZAV] counts";
    EXPECT_FALSE(FindProfileValue(kSettings, "ZAV3", "Directory"));
    EXPECT_FALSE(FindProfileValue("", "ZAV", "Directory"));
}

TEST(ProfileReaderTest, UnicodeSettingsFilesAreReadInTheCodePage) {
    EXPECT_EQ(
        FindProfileValue("\xEF\xBB\xBF[ZAV]\nDirectory=C:\\Caf\xC3\xA9\\\n", "ZAV", "Directory"),
        "C:\\Caf\xE9\\");
    const std::u16string wide = u"[ZAV]\r\nDirectory=C:\\Caf\u00E9\\\r\n";
    std::string utf16 = "\xFF\xFE";
    for (const char16_t unit : wide) {
        utf16.push_back(static_cast<char>(unit & 0xFF));
        utf16.push_back(static_cast<char>(unit >> 8));
    }
    EXPECT_EQ(FindProfileValue(utf16, "ZAV", "Directory"), "C:\\Caf\xE9\\");
}

TEST(ProfileReaderTest, OnePairOfMatchingQuotesGoesAndTheValueIsCutToTheBuffer) {
    EXPECT_EQ(ProfileResult("\"C:\\Games\\\"", 256), "C:\\Games\\");
    EXPECT_EQ(ProfileResult("'English'", 30), "English");
    EXPECT_EQ(ProfileResult("\"\"twice\"\"", 30), "\"twice\"");
    EXPECT_EQ(ProfileResult("\"mixed'", 30), "\"mixed'");
    EXPECT_EQ(ProfileResult("\"", 30), "\"");
    EXPECT_EQ(ProfileResult(std::string(40, 'x'), 30), std::string(29, 'x'));
    EXPECT_EQ(ProfileResult("abc", 0), "");
}

class FileSystemProfileTest : public ::testing::Test {
protected:
    test::WinePrefix prefix;
    PosixFileSystem files{prefix.path()};
    FileSystemProfile profile{files};
};

TEST_F(FileSystemProfileTest, ARelativeFileLiesInTheWindowsDirectoryWhateverItsCase) {
    prefix.WriteSettings("[ZAV2_0]\nLanguage = \"German\"\n");
    EXPECT_EQ(profile.GetString("ZAV2_0", "Language", "", 30, "Quorvex\\qvx.ini"), "German");
    EXPECT_EQ(profile.GetString("zav2_0", "language", "", 30, "QUORVEX/QVX.INI"), "German");
    EXPECT_EQ(profile.GetString("ZAV2_0", "Language", "", 30, "C:\\windows\\Quorvex\\Qvx.ini"),
              "German");
}

TEST_F(FileSystemProfileTest, AMissingFileSectionOrKeyGivesTheDefaultCutToTheBuffer) {
    EXPECT_EQ(profile.GetString("ZAV", "Directory", " fallback ", 256, "Quorvex\\Qvx.ini"),
              "fallback");
    prefix.WriteSettings("[ZAV]\nDirectory=\n");
    EXPECT_EQ(profile.GetString("ZAV", "Missing", "0123456789", 5, "Quorvex\\Qvx.ini"), "0123");
    EXPECT_EQ(profile.GetString("ZAV", "Directory", "unused", 256, "Quorvex\\Qvx.ini"), "")
        << "a key with an empty value is there";
}

} // namespace
} // namespace zav
