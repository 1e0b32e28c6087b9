// Finding the game and its language through the settings file of a real Wine prefix.
#include "settings/game_location.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/posix/posix_file_system.h"
#include "platform/profile_reader.h"
#include "support/wine_prefix.h"

namespace zav {
namespace {

class GameLocationTest : public ::testing::Test {
protected:
    std::int32_t Find(std::string_view settingsText) {
        prefix.WriteSettings(settingsText);
        directory.Assign("stale");
        return FindGameDirectory(files, profile, &directory);
    }
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

TEST_F(GameLocationTest, SectionZavWinsOverZav2_0WhenItHasADirectory) {
    const std::tuple<std::string, std::int32_t, std::string> cases[] = {
        {"[ZAV2_0]\nDirectory=D:\\ZAV2\\\n[ZAV]\nDirectory=C:\\Games\\ZAV\\\n", 1,
         "C:\\Games\\ZAV\\"},
        {"[ZAV]\nDirectory=\n[ZAV2_0]\nDirectory=D:\\ZAV2\\\n", 2, "D:\\ZAV2\\"},
        {"[ZAV2_0]\nDirectory=D:\\Only\\\n", 2, "D:\\Only\\"},
        {"[ZAV]\nDirectory=\n[ZAV2_0]\nDirectory=\"\"\nLanguage=German\n", 0, ""},
        {"[ZAV]\nDirectory=C:\\" + std::string(297, 'd') + "\n", 1, "C:\\" + std::string(252, 'd')},
    };
    for (const auto& [text, version, expected] : cases) {
        EXPECT_EQ(Find(text), version) << text;
        EXPECT_EQ(directory.view(), expected) << text;
    }
    EXPECT_EQ(FindGameDirectory(files, profile, nullptr), 0);
}

TEST_F(GameLocationTest, TheLanguageNameChoosesTheBlock) {
    const std::pair<std::string, std::int32_t> cases[] = {
        {"[ZAV2_0]\nLanguage=French\n", 96},
        {"[zav2_0]\nlanguage= FRENCH \n", 96},
        {"[ZAV2_0]\nLanguage=German\n", 48},
        {"[ZAV2_0]\nLanguage=English\n", 0},
        {"[ZAV2_0]\nLanguage=Italian\n", 0}, // no Italian block
        {"[ZAV2_0]\nLanguage=Fran\xE7"
         "ais\n",
         0},
        {"[ZAV2_0]\nLanguage=Frenchy\n", 0},
        {"[ZAV2_0]\nLanguage=\n", 0},
        {"[ZAV]\nLanguage=French\n", 0}, // only section ZAV2_0 is asked
        // The value is cut to 29 characters, not to the name.
        {"[ZAV2_0]\nLanguage=French" + std::string(30, ' ') + "x\n", 0},
    };
    for (const auto& [text, offset] : cases) {
        EXPECT_EQ(OffsetFor(text), offset) << text;
    }
}

TEST(SourceDirectoryTest, TheProgramsFolderIsKeptWithoutTrailingSeparatorsUpTo255) {
    PatcherSettings settings;
    for (const auto& [given, kept] :
         {std::pair{"/media/disc/", "/media/disc"}, std::pair{"D:\\Patcher\\\\", "D:\\Patcher"},
          std::pair{"/", "/"}}) {
        EXPECT_TRUE(SetSourceDirectory(settings, given));
        EXPECT_EQ(settings.SourceDirectory, kept);
    }
    EXPECT_FALSE(SetSourceDirectory(settings, "/" + std::string(255, 'x')));
    EXPECT_EQ(settings.SourceDirectory, "/") << "a refused folder leaves the old one";
    EXPECT_TRUE(SetSourceDirectory(settings, "/" + std::string(254, 'x') + "/"));
    EXPECT_EQ(settings.SourceDirectory.size(), 255u);
}

} // namespace
} // namespace zav
