// Finding the game and its language through the settings file of a real Wine prefix, and the
// paths built from them: the game's folders, the new data beside the tool, extensions, long paths.
#include "settings/data_paths.h"
#include "settings/game_location.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/posix/posix_file_system.h"
#include "platform/profile_reader.h"
#include "support/wine_prefix.h"

namespace zav {
namespace {

class DataPathsTest : public ::testing::Test {
protected:
    void SetUp() override {
        settings.GameDirectory.Assign("C:\\Games\\ZAV\\");
        settings.SourceDirectory.Assign("/media/disc");
    }
    // The path built into a text holding "stale", or "<null>" when refused.
    std::string Folder(std::int32_t selector, const char* entryName = nullptr) {
        out.Assign("stale");
        return BuildFolderPath(settings, selector, entryName, &out) == &out ? out.str() : "<null>";
    }
    std::string Data(const char* baseName, int extension, std::int32_t selector,
                     const char* entryName = nullptr) {
        out.Assign("stale");
        const PathText* built =
            BuildDataPath(settings, baseName, extension, selector, entryName, &out);
        return built == &out ? out.str() : "<null>";
    }

    PathText out;
    PatcherSettings settings;
};

TEST_F(DataPathsTest, FoldersOfTheGameAndOfTheNewDataAndExtensions) {
    const std::string binary = "C:\\Games\\ZAV\\Data\\Binary\\";
    const std::tuple<std::int32_t, const char*, std::string> cases[] = {
        {FOLDER_CIRCUITS, nullptr, binary + "Circuits\\"},
        {FOLDER_VOITURES, nullptr, binary + "Voitures\\"},
        {FOLDER_SCRIPTS, "ignored", binary + "Scripts\\"},
        {FOLDER_MIMG, nullptr, binary + "Mimg\\"},
        {FOLDER_RESSON, nullptr, binary + "Resson\\"},
        {FOLDER_RECORDS, nullptr, "C:\\Games\\ZAV\\Data\\Records\\"},
        {FOLDER_GAME_ROOT, nullptr, "C:\\Games\\ZAV\\"},
        // The new data's selectors are recognised by their second byte.
        {FOLDER_SOURCE_TRACKS, "Foo", "/media/disc\\circuits\\Foo\\"},
        {0x1FF, nullptr, "/media/disc\\circuits\\"},
        {FOLDER_SOURCE_CARS, nullptr, "/media/disc\\voitures\\"},
        {0x2AB, "Bar", "/media/disc\\voitures\\Bar\\"},
        {7, nullptr, ""},
        {-1, nullptr, ""},
        {0x300, nullptr, ""},
    };
    for (const auto& [selector, entry, expected] : cases) {
        EXPECT_EQ(Folder(selector, entry), expected) << selector;
    }
    EXPECT_EQ(Data("circuits", EXT_LIST, 7), "circuits.bin");
    EXPECT_EQ(Data("Foo", EXT_PICTURE, FOLDER_SOURCE_TRACKS, "Foo"),
              "/media/disc\\circuits\\Foo\\Foo.img");
    EXPECT_EQ(Data("voiture2", EXT_WORK_COPY, FOLDER_SCRIPTS), binary + "Scripts\\voiture2.sav");
    EXPECT_EQ(Data(nullptr, EXT_NONE, FOLDER_RECORDS), "C:\\Games\\ZAV\\Data\\Records\\");
    settings.GameDirectory.Assign("C:\\ZAV");
    EXPECT_EQ(Folder(FOLDER_SCRIPTS), "C:\\ZAVData\\Binary\\Scripts\\") << "used as it stands";
    EXPECT_EQ(BuildFolderPath(settings, FOLDER_SCRIPTS, nullptr, nullptr), nullptr);
    EXPECT_EQ(BuildDataPath(settings, "circuits", EXT_LIST, FOLDER_SCRIPTS, nullptr, nullptr),
              nullptr);
    // Every extension comes with its dot; index 0 adds nothing.
    const char* extensions[] = {"",     ".bl?", ".bl3", ".bl4", ".bv?", ".bv3", ".bv4",
                                ".bin", ".img", ".meg", ".brt", ".exe", ".sav"};
    for (int index = 0; index < 13; ++index) {
        EXPECT_EQ(Data("name", index, 7), std::string("name") + extensions[index]);
    }
    EXPECT_EQ(Data("name", 13, FOLDER_SCRIPTS) + Data("name", -1, FOLDER_SCRIPTS), "<null><null>");
}

TEST_F(DataPathsTest, PathsAndTheProgramsFolderLongerThan255CharactersAreRefused) {
    settings.GameDirectory.Assign("C:\\" + std::string(231, 'g') + "\\");
    EXPECT_EQ(Folder(FOLDER_SCRIPTS).size(), 255u);
    EXPECT_EQ(Folder(FOLDER_RECORDS).size(), 248u);
    EXPECT_EQ(Data("x", EXT_NONE, FOLDER_SCRIPTS), "<null>");
    EXPECT_EQ(Data("abcd", EXT_LIST, FOLDER_RECORDS), "<null>");
    EXPECT_EQ(Data("abc", EXT_NONE, FOLDER_RECORDS).size(), 251u);
    settings.GameDirectory.Assign("C:\\" + std::string(232, 'g') + "\\");
    EXPECT_EQ(Folder(FOLDER_SCRIPTS), "<null>");
    settings.SourceDirectory.Assign("/" + std::string(244, 's'));
    EXPECT_EQ(Folder(FOLDER_SOURCE_CARS).size(), 255u);
    EXPECT_EQ(Folder(FOLDER_SOURCE_CARS, "A"), "<null>");

    PathText path;
    path.Assign(std::string(251, 'p'));
    EXPECT_EQ(AppendExtension(path, EXT_LIST), 1);
    EXPECT_EQ(path.size(), 255u);
    path.Assign(std::string(252, 'p'));
    EXPECT_EQ(AppendExtension(path, EXT_LIST), 0);
    EXPECT_EQ(path.view(), std::string(252, 'p'));

    // The program's folder is kept without trailing separators, up to 255 characters.
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

class GameLocationTest : public ::testing::Test {
protected:
    std::int32_t Find(std::string_view settingsText) {
        prefix.WriteSettings(settingsText);
        directory.Assign("stale");
        return FindGameDirectory(files, profile, &directory);
    }
    std::int32_t OffsetFor(const std::string& settingsText) {
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

TEST_F(GameLocationTest, SectionZavWinsForTheDirectoryAndZav2_0GivesTheLanguage) {
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

    // The language name chooses the block; the value is cut to 29 characters, not to the name.
    const std::pair<std::string, std::int32_t> languages[] = {
        {"French", 96}, {" FRENCH ", 96}, {"German", 48},
        {"English", 0}, {"Italian", 0},   {"Fran\347ais", 0},
        {"Frenchy", 0}, {"", 0},          {"French" + std::string(30, ' ') + "x", 0}};
    for (const auto& [language, offset] : languages) {
        EXPECT_EQ(OffsetFor("[ZAV2_0]\nLanguage=" + language + "\n"), offset) << language;
    }
    EXPECT_EQ(OffsetFor("[ZAV]\nLanguage=French\n"), 0) << "only section ZAV2_0 is asked";
}

} // namespace
} // namespace zav
