// Finding the game and its language through the settings file of a real Wine prefix.
#include "settings/game_location.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/posix/posix_file_system.h"
#include "platform/profile_reader.h"
#include "support/recording_profile.h"
#include "support/wine_prefix.h"

namespace zav {
namespace {

class GameLocationTest : public ::testing::Test {
protected:
    std::int32_t Find() { return FindGameDirectory(files, profile, &directory); }
    std::int32_t OffsetFor(std::string_view settingsText) {
        prefix.WriteSettings(settingsText);
        PatcherSettings settings;
        settings.LanguageOffset = -1;
        LoadLanguageSetting(profile, settings);
        return settings.LanguageOffset;
    }

    test::WinePrefix prefix;
    PosixFileSystem files{prefix.path()};
    FileSystemProfile profile{files};
    PathText directory;
};

TEST_F(GameLocationTest, SectionZavWinsOverZav2_0) {
    prefix.WriteSettings("[ZAV2_0]\nDirectory=D:\\ZAV2\\\n[ZAV]\nDirectory=C:\\Games\\ZAV\\\n");
    EXPECT_EQ(Find(), 1);
    EXPECT_EQ(directory, "C:\\Games\\ZAV\\");
}

TEST_F(GameLocationTest, AnEmptyOrMissingZavValueFallsToZav2_0) {
    prefix.WriteSettings("[ZAV]\nDirectory=\n[ZAV2_0]\nDirectory=D:\\ZAV2\\\n");
    EXPECT_EQ(Find(), 2);
    EXPECT_EQ(directory, "D:\\ZAV2\\");
    prefix.WriteSettings("[ZAV2_0]\nDirectory=D:\\Only\\\n");
    EXPECT_EQ(Find(), 2);
    EXPECT_EQ(directory, "D:\\Only\\");
}

TEST_F(GameLocationTest, NamesIgnoreCaseBlanksAndOnePairOfQuotesGoes) {
    prefix.WriteSettings("[zav]\r\n   DIRECTORY  =  \"C:\\Program Files\\ZAV\\\"  \r\n");
    EXPECT_EQ(Find(), 1);
    EXPECT_EQ(directory, "C:\\Program Files\\ZAV\\");
}

TEST_F(GameLocationTest, NoDirectoryAnywhereIsNotDetected) {
    directory.Assign("stale");
    EXPECT_EQ(Find(), 0) << "no settings file";
    EXPECT_TRUE(directory.empty());
    prefix.WriteSettings("[ZAV]\nDirectory=\n[ZAV2_0]\nDirectory=\"\"\nLanguage=German\n");
    EXPECT_EQ(Find(), 0);
    EXPECT_TRUE(directory.empty());
    EXPECT_EQ(FindGameDirectory(files, profile, nullptr), 0);
}

TEST_F(GameLocationTest, TheSettingsFileIsFoundWhateverTheCaseOfItsHostNames) {
    test::WriteFile(prefix / "drive_c/windows/QUORVEX/QVX.INI",
                    "[ZAV]\nDirectory=C:\\ZAV\\\n[ZAV2_0]\nLanguage=German\n");
    EXPECT_EQ(Find(), 1);
    EXPECT_EQ(directory, "C:\\ZAV\\");
    PatcherSettings settings;
    LoadLanguageSetting(profile, settings);
    EXPECT_EQ(settings.LanguageOffset, 48);
}

TEST_F(GameLocationTest, ADirectoryOf300CharactersIsCutTo255) {
    const std::string longDirectory = "C:\\" + std::string(297, 'd');
    prefix.WriteSettings("[ZAV]\nDirectory=" + longDirectory + "\n");
    EXPECT_EQ(Find(), 1);
    EXPECT_EQ(directory.view(), longDirectory.substr(0, 255));
}

TEST_F(GameLocationTest, TheLookupsNameTheSettingsFileAndTheirBuffers) {
    test::RecordingProfile recording;
    FindGameDirectory(files, recording, &directory);
    ASSERT_EQ(recording.lookups.size(), 2u);
    EXPECT_EQ(recording.lookups[0].section, "ZAV");
    EXPECT_EQ(recording.lookups[1].section, "ZAV2_0");
    EXPECT_EQ(recording.lookups[0].key, "Directory");
    EXPECT_EQ(recording.lookups[0].bufferSize, 256u);
    EXPECT_EQ(recording.lookups[0].file, files.WindowsDirectory() + "\\Quorvex\\Qvx.ini");

    PatcherSettings settings;
    LoadLanguageSetting(recording, settings);
    ASSERT_EQ(recording.lookups.size(), 3u);
    EXPECT_EQ(recording.lookups[2].section, "ZAV2_0");
    EXPECT_EQ(recording.lookups[2].key, "Language");
    EXPECT_EQ(recording.lookups[2].bufferSize, 30u) << "29 characters and the terminator";
    EXPECT_EQ(recording.lookups[2].file, "Quorvex\\qvx.ini");
}

TEST_F(GameLocationTest, TheLanguageNameChoosesTheBlock) {
    EXPECT_EQ(OffsetFor("[ZAV2_0]\nLanguage=French\n"), 96);
    EXPECT_EQ(OffsetFor("[ZAV2_0]\nLanguage=FRENCH\n"), 96);
    EXPECT_EQ(OffsetFor("[zav2_0]\nlanguage= french \n"), 96);
    EXPECT_EQ(OffsetFor("[ZAV2_0]\nLanguage=German\n"), 48);
    EXPECT_EQ(OffsetFor("[ZAV2_0]\nLanguage=English\n"), 0);
    EXPECT_EQ(OffsetFor("[ZAV2_0]\nLanguage=Italian\n"), 0) << "no Italian block";
}

TEST_F(GameLocationTest, AnyOtherLanguageValueSpeaksEnglish) {
    EXPECT_EQ(OffsetFor("[ZAV2_0]\nLanguage=Fran\xE7"
                        "ais\n"),
              0);
    EXPECT_EQ(OffsetFor("[ZAV2_0]\nLanguage=Frenchy\n"), 0);
    EXPECT_EQ(OffsetFor("[ZAV2_0]\nLanguage=\n"), 0);
    EXPECT_EQ(OffsetFor("[ZAV]\nLanguage=French\n"), 0) << "only section ZAV2_0 is asked";
    EXPECT_EQ(OffsetFor("[ZAV2_0]\nLanguage=French" + std::string(30, ' ') + "x\n"), 0)
        << "the value is cut to 29 characters, not to the name";
    EXPECT_EQ(LanguageFactor("german"), 1);
    EXPECT_EQ(LanguageFactor("Deutsch"), 0);
}

TEST(SourceDirectoryTest, TheProgramsFolderIsKeptWithoutTrailingSeparators) {
    PatcherSettings settings;
    EXPECT_TRUE(SetSourceDirectory(settings, "/media/disc/"));
    EXPECT_EQ(settings.SourceDirectory, "/media/disc");
    EXPECT_TRUE(SetSourceDirectory(settings, "D:\\Patcher\\\\"));
    EXPECT_EQ(settings.SourceDirectory, "D:\\Patcher");
    EXPECT_TRUE(SetSourceDirectory(settings, "/"));
    EXPECT_EQ(settings.SourceDirectory, "/");
}

TEST(SourceDirectoryTest, AFolderLongerThan255CharactersIsRefused) {
    PatcherSettings settings;
    ASSERT_TRUE(SetSourceDirectory(settings, "/media/disc"));
    EXPECT_FALSE(SetSourceDirectory(settings, "/" + std::string(255, 'x')));
    EXPECT_EQ(settings.SourceDirectory, "/media/disc");
    EXPECT_TRUE(SetSourceDirectory(settings, "/" + std::string(254, 'x') + "/"));
    EXPECT_EQ(settings.SourceDirectory.size(), 255u);
}

} // namespace
} // namespace zav
