// Path building: the game's data folders, the new data beside the tool, extensions, long paths.
#include "settings/data_paths.h"

#include <gtest/gtest.h>

#include <string>

namespace zav {
namespace {

class DataPathsTest : public ::testing::Test {
protected:
    void SetUp() override {
        settings.GameDirectory.Assign("C:\\Games\\ZAV\\");
        settings.SourceDirectory.Assign("/media/disc");
    }
    std::string Folder(std::int32_t selector, const char* entryName = nullptr) {
        PathText out;
        out.Assign("stale");
        return BuildFolderPath(settings, selector, entryName, &out) == &out ? out.str() : "<null>";
    }
    std::string Data(const char* baseName, int extension, std::int32_t selector,
                     const char* entryName = nullptr) {
        PathText out;
        out.Assign("stale");
        return BuildDataPath(settings, baseName, extension, selector, entryName, &out) == &out
                   ? out.str()
                   : "<null>";
    }

    PatcherSettings settings;
};

TEST_F(DataPathsTest, GameFoldersFollowTheGameDirectoryWithoutASeparator) {
    EXPECT_EQ(Folder(FOLDER_CIRCUITS), "C:\\Games\\ZAV\\Data\\Binary\\Circuits\\");
    EXPECT_EQ(Folder(FOLDER_VOITURES), "C:\\Games\\ZAV\\Data\\Binary\\Voitures\\");
    EXPECT_EQ(Folder(FOLDER_SCRIPTS, "ignored"), "C:\\Games\\ZAV\\Data\\Binary\\Scripts\\");
    EXPECT_EQ(Folder(FOLDER_MIMG), "C:\\Games\\ZAV\\Data\\Binary\\Mimg\\");
    EXPECT_EQ(Folder(FOLDER_RESSON), "C:\\Games\\ZAV\\Data\\Binary\\Resson\\");
    EXPECT_EQ(Folder(FOLDER_RECORDS), "C:\\Games\\ZAV\\Data\\Records\\");
    EXPECT_EQ(Folder(FOLDER_GAME_ROOT), "C:\\Games\\ZAV\\");
    settings.GameDirectory.Assign("C:\\ZAV");
    EXPECT_EQ(Folder(FOLDER_SCRIPTS), "C:\\ZAVData\\Binary\\Scripts\\")
        << "the stored value is used as it stands";
}

TEST_F(DataPathsTest, SourceSelectorsAreRecognisedByTheirSecondByte) {
    EXPECT_EQ(Folder(FOLDER_SOURCE_TRACKS, "Foo"), "/media/disc\\circuits\\Foo\\");
    EXPECT_EQ(Folder(0x1FF), "/media/disc\\circuits\\");
    EXPECT_EQ(Folder(FOLDER_SOURCE_CARS), "/media/disc\\voitures\\");
    EXPECT_EQ(Folder(0x2AB, "Bar"), "/media/disc\\voitures\\Bar\\");
}

TEST_F(DataPathsTest, OtherSelectorsGiveAnEmptyFolder) {
    EXPECT_EQ(Folder(7), "");
    EXPECT_EQ(Folder(-1), "");
    EXPECT_EQ(Folder(0x300), "");
    EXPECT_EQ(Data("circuits", EXT_LIST, 7), "circuits.bin");
    EXPECT_EQ(Data("circuits", EXT_LIST, -1), "circuits.bin");
}

TEST_F(DataPathsTest, TheCallsOfTheToolBuildTheirFiles) {
    EXPECT_EQ(Data("circuits", EXT_LIST, FOLDER_SCRIPTS),
              "C:\\Games\\ZAV\\Data\\Binary\\Scripts\\circuits.bin");
    EXPECT_EQ(Data("voiture2", EXT_WORK_COPY, FOLDER_SCRIPTS),
              "C:\\Games\\ZAV\\Data\\Binary\\Scripts\\voiture2.sav");
    EXPECT_EQ(Data("Foo", EXT_PICTURE, FOLDER_SOURCE_TRACKS, "Foo"),
              "/media/disc\\circuits\\Foo\\Foo.img");
    EXPECT_EQ(Data("Bar", EXT_PICTURE, FOLDER_SOURCE_CARS, "Bar"),
              "/media/disc\\voitures\\Bar\\Bar.img");
    EXPECT_EQ(Data(nullptr, EXT_NONE, FOLDER_RECORDS), "C:\\Games\\ZAV\\Data\\Records\\");
}

TEST_F(DataPathsTest, EveryExtensionIsAppendedWithItsDotButIndexZeroAddsNothing) {
    const char* expected[] = {"",     ".bl?", ".bl3", ".bl4", ".bv?", ".bv3", ".bv4",
                              ".bin", ".img", ".meg", ".brt", ".exe", ".sav"};
    for (int index = 0; index < 13; ++index) {
        PathText path;
        path.Assign("name");
        EXPECT_EQ(AppendExtension(path, index), 1);
        EXPECT_EQ(path.str(), std::string("name") + expected[index]);
    }
    PathText path;
    path.Assign("name");
    EXPECT_EQ(AppendExtension(path, 13), 0);
    EXPECT_EQ(AppendExtension(path, -1), 0);
    EXPECT_EQ(path, "name");
    EXPECT_EQ(Data("name", 13, FOLDER_SCRIPTS), "<null>");
}

TEST_F(DataPathsTest, PathsLongerThan255CharactersAreRefused) {
    settings.GameDirectory.Assign("C:\\" + std::string(231, 'g') + "\\");
    EXPECT_EQ(Folder(FOLDER_SCRIPTS), "C:\\" + std::string(231, 'g') + "\\Data\\Binary\\Scripts\\");
    EXPECT_EQ(Folder(FOLDER_SCRIPTS).size(), 255u);
    EXPECT_EQ(Folder(FOLDER_RECORDS).size(), 248u);
    EXPECT_EQ(Data("x", EXT_NONE, FOLDER_SCRIPTS), "<null>") << "out is left empty";
    EXPECT_EQ(Data("abcd", EXT_LIST, FOLDER_RECORDS), "<null>");
    EXPECT_EQ(Data("abc", EXT_NONE, FOLDER_RECORDS).size(), 251u);

    settings.GameDirectory.Assign("C:\\" + std::string(232, 'g') + "\\");
    EXPECT_EQ(Folder(FOLDER_SCRIPTS), "<null>");
    settings.SourceDirectory.Assign("/" + std::string(244, 's'));
    EXPECT_EQ(Folder(FOLDER_SOURCE_CARS), "/" + std::string(244, 's') + "\\voitures\\");
    EXPECT_EQ(Folder(FOLDER_SOURCE_CARS, "A"), "<null>");

    PathText path;
    path.Assign(std::string(251, 'p'));
    EXPECT_EQ(AppendExtension(path, EXT_LIST), 1);
    EXPECT_EQ(path.size(), 255u);
    path.Assign(std::string(252, 'p'));
    EXPECT_EQ(AppendExtension(path, EXT_LIST), 0);
    EXPECT_EQ(path.view(), std::string(252, 'p'));
}

TEST_F(DataPathsTest, ANullOutputBuildsNothing) {
    EXPECT_EQ(BuildFolderPath(settings, FOLDER_SCRIPTS, nullptr, nullptr), nullptr);
    EXPECT_EQ(BuildDataPath(settings, "circuits", EXT_LIST, FOLDER_SCRIPTS, nullptr, nullptr),
              nullptr);
}

} // namespace
} // namespace zav
