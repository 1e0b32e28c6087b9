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

TEST_F(DataPathsTest, FoldersOfTheGameAndOfTheNewData) {
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
}

TEST_F(DataPathsTest, EveryExtensionIsAppendedWithItsDotButIndexZeroAddsNothing) {
    const char* expected[] = {"",     ".bl?", ".bl3", ".bl4", ".bv?", ".bv3", ".bv4",
                              ".bin", ".img", ".meg", ".brt", ".exe", ".sav"};
    for (int index = 0; index < 13; ++index) {
        EXPECT_EQ(Data("name", index, 7), std::string("name") + expected[index]);
    }
    EXPECT_EQ(Data("name", 13, FOLDER_SCRIPTS), "<null>");
    EXPECT_EQ(Data("name", -1, FOLDER_SCRIPTS), "<null>");
}

TEST_F(DataPathsTest, PathsLongerThan255CharactersAreRefused) {
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
}

} // namespace
} // namespace zav
