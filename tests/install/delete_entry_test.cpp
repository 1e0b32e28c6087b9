// "Trash" below the dialog: the variant's files, names in the game's code page, refusals.
#include "install/delete_entry.h"

#include <gtest/gtest.h>

#include "settings/error_report.h"
#include "support/game_run.h"

namespace zav::test {
namespace {

using Names = std::vector<std::string>;

// The standard game leaves the accelerated game's file; a file gone already stops nothing.
TEST(DeleteEntry, TheGamesVariantLosesItsFiles) {
    for (const bool accelerated : {false, true}) {
        TestGame game({.accelerated = accelerated});
        WriteFile(game.Game("Data/Binary/Circuits/Harbour.bl4"), std::string_view("bl4"));
        std::remove(game.Game("Data/Records/Harbour.brt").c_str());
        GameRun run(game);
        ASSERT_TRUE(run.Start());
        ASSERT_EQ(DeleteTrack(run.Session(), 16), RESULT_OK);
        const Names left = {"Dunes.bl3", accelerated ? "Dunes.bl4" : "Harbour.bl4"};
        EXPECT_EQ(ListNames(game.Game("Data/Binary/Circuits")), left);
        EXPECT_EQ(ListNames(game.Game("Data/Records")), (Names{"-unes.brt", "Dunes.brt"}));
    }
}

// "élan" in the list and on disk, "Élan" in the tables. A work list that cannot be refreshed then
// stops the next deletion before the data files: the game's list lost the record, nothing else.
TEST(DeleteEntry, CarIsFoundByItsNameWhateverItsCaseAndAStaleWorkListKeepsTheFiles) {
    TestGame game;
    WriteFile(game.Script("voiture2.bin"), TestGame::CarList({"Alpha", "\xE9lan"}));
    const std::string cars = game.Game("Data/Binary/Voitures") + "/";
    WriteFile(cars + "\xC3\xA9lan.bv3", std::string_view("car"));
    WriteFile(cars + "Alpha.bv3", std::string_view("car"));
    GameRun run(game);
    ASSERT_TRUE(run.Start());
    ASSERT_EQ(DeleteCar(run.Session(), 9), RESULT_OK);
    EXPECT_EQ(ReadFile(game.Script("voiture2.bin")), TestGame::CarList({"Alpha", "\xE9lan"}, 1));
    EXPECT_FALSE(FileExists(cars + "\xC3\xA9lan.bv3"));
    MakeReadOnly(game.Script("voiture2.sav"));
    EXPECT_EQ(DeleteCar(run.Session(), 8), ERR_UPDATE_FAILED);
    EXPECT_EQ(GetInt32(ReadFile(game.Script("voiture2.bin")), 0), 0);
    EXPECT_TRUE(FileExists(cars + "Alpha.bv3"));
}

// Base slots, a further car in the base list, names that could lead elsewhere (the data files of
// "..\evil" would be looked for one folder above each data folder), a read-only list.
TEST(DeleteEntry, RefusedDeletionsChangeNothing) {
    TestGame game;
    for (const char* bait :
         {"Binary/evil.bl3", "Binary/evil.bv3", "Binary/evil.img", "Binary/evil.meg", "evil.brt"}) {
        WriteFile(game.Game("Data") + "/" + bait, std::string_view("bait"));
    }
    WriteFile(game.Script("voitures.bin"), TestGame::CarList({"Tolva", "Rusko", "Mervi", "Kaltun",
                                                              "Zq2", "Brenik", "Ostra", "Falcon"}));
    WriteFile(game.Script("voiture2.bin"), TestGame::CarList({"Viper", "..\\evil"}));
    WriteFile(game.Script("circuits.bin"),
              game.TrackList(TestGame::BaseTracksAnd({"Harbour", "Dunes", "..\\evil"})));
    GameRun run(game);
    ASSERT_TRUE(run.Start());
    run.view.Clear();
    const TreeSnapshot before = SnapshotTree(game.prefix);
    EXPECT_EQ(DeleteTrack(run.Session(), 18), RESULT_REPORTED);
    EXPECT_EQ(DeleteCar(run.Session(), 10), RESULT_REPORTED);
    EXPECT_EQ(run.view.boxes.size(), 2u);
    EXPECT_EQ(DeleteTrack(run.Session(), 15), ERR_UNREFERENCED);
    EXPECT_EQ(DeleteCar(run.Session(), 7), ERR_UNREFERENCED);
    EXPECT_EQ(DeleteCar(run.Session(), 8), ERR_CAR_IN_BASE_LIST);
    MakeReadOnly(game.Script("voiture2.bin"));
    EXPECT_EQ(DeleteCar(run.Session(), 9), ERR_UPDATE_FAILED);
    EXPECT_EQ(SnapshotTree(game.prefix), before);
    EXPECT_EQ(run.State().PresentCarTotal, 3);
}

// Read-only data files lose the attribute and go; a file that still cannot be deleted is named
// with its cause in a warning, and the deletion says files were left.
TEST(DeleteEntry, ReadOnlyDataFilesGoAndAFileThatStaysIsReported) {
    for (const bool fails : {false, true}) {
        TestGame game;
        for (const char* file : {"Binary/Circuits/Harbour.bl3", "Binary/Mimg/Harbour.img"})
            MakeReadOnly(game.Game(std::string("Data/") + file));
        GameRun run(game);
        ASSERT_TRUE(run.Start());
        if (fails)
            run.files.FailWhen([](const FileOperation& operation) {
                return operation.kind == "Delete" && operation.path.ends_with("Harbour.img");
            });
        run.view.Clear();
        EXPECT_EQ(DeleteTrack(run.Session(), 16), fails ? RESULT_FILES_LEFT : RESULT_OK);
        EXPECT_EQ(ListNames(game.Game("Data/Binary/Circuits")), Names{"Dunes.bl3"});
        EXPECT_EQ(FileExists(game.Game("Data/Binary/Mimg/Harbour.img")), fails);
        ASSERT_EQ(run.view.boxes.size(), fails ? 1u : 0u);
        if (fails) {
            EXPECT_NE(run.view.boxes[0].text.find("Harbour.img' cannot be deleted"),
                      std::string::npos)
                << run.view.boxes[0];
        }
    }
}

} // namespace
} // namespace zav::test
