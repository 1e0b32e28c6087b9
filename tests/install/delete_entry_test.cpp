// "Trash" below the dialog: the record's way out of the list, the files of the game's variant,
// the tables, and the deletions refused.
#include "install/delete_entry.h"

#include <gtest/gtest.h>

#include "settings/error_report.h"
#include "support/game_run.h"

namespace zav::test {
namespace {

using Names = std::vector<std::string>;

Names In(const TestGame& game, const std::string& folder) {
    return ListNames(game.Game("Data/" + folder));
}

TEST(DeleteEntry, TheGamesVariantLosesItsFilesAndTheTablesMoveUp) {
    for (const bool accelerated : {false, true}) {
        TestGame game({.accelerated = accelerated});
        WriteFile(game.Game("Data/Binary/Circuits/Harbour.bl4"), std::string_view("bl4"));
        std::remove(game.Game("Data/Records/Harbour.brt").c_str()); // gone already
        GameRun run(game);
        ASSERT_TRUE(run.Start());
        ASSERT_EQ(DeleteTrack(run.Session(), 16), RESULT_OK);
        // The standard game leaves the accelerated game's file.
        const Names left = {"Dunes.bl3", accelerated ? "Dunes.bl4" : "Harbour.bl4"};
        EXPECT_EQ(In(game, "Binary/Circuits"), left);
        EXPECT_EQ(In(game, "Records"), (Names{"-unes.brt", "Dunes.brt"}));
        EXPECT_EQ(run.view.pausedMs, 8 * 40);
        const AnalysisState& state = run.State();
        EXPECT_EQ(state.PresentTrackTotal, 17);
        EXPECT_EQ(state.PresentTrackNames[16], "Dunes");
        EXPECT_EQ(state.PresentTrackFlags[16], PRESENT_INSTALLED);
        EXPECT_TRUE(state.PresentTrackNames[17].empty());
        EXPECT_EQ(state.PresentTrackFlags[17], PRESENT_BASE);
    }
}

// "élan" in the list and on disk, "Élan" in the tables; the list keeps its length.
TEST(DeleteEntry, CarIsFoundByItsNameWhateverItsCaseAndAStaleWorkListStopsTheFiles) {
    TestGame game;
    WriteFile(game.Script("voiture2.bin"), TestGame::CarList({"Alpha", "\xE9lan", "bRAVO"}));
    for (const char* file : {"\xC3\xA9lan.bv3", "Alpha.bv3", "\xC3\xA9lan.bv4"}) {
        WriteFile(game.Game("Data/Binary/Voitures") + "/" + file, std::string_view("car"));
    }
    WriteFile(game.Game("Data/Binary/Mimg/Alpha.img"), std::string_view("car"));
    GameRun run(game);
    ASSERT_TRUE(run.Start());
    ASSERT_EQ(DeleteCar(run.Session(), 9), RESULT_OK);
    const Bytes expected = TestGame::CarList({"Alpha", "bRAVO", "bRAVO"}, 2);
    EXPECT_EQ(ReadFile(game.Script("voiture2.bin")), expected);
    EXPECT_EQ(ReadFile(game.Script("voiture2.sav")), expected);
    EXPECT_EQ(In(game, "Binary/Voitures"), (Names{"Alpha.bv3", "Falcon.bv3", "Viper.bv3",
                                                  "\xC3\xA9lan.bv4"}));
    EXPECT_EQ(run.State().PresentCarNames[9], "Bravo");

    // A work list that cannot be refreshed stops the deletion before the data files: the game's
    // list lost the record, the rest is as it was.
    MakeReadOnly(game.Script("voiture2.sav"));
    EXPECT_EQ(DeleteCar(run.Session(), 8), ERR_UPDATE_FAILED);
    EXPECT_EQ(GetInt32(ReadFile(game.Script("voiture2.bin")), 0), 1);
    EXPECT_EQ(ReadFile(game.Script("voiture2.sav")), expected);
    EXPECT_TRUE(FileExists(game.Game("Data/Binary/Mimg/Alpha.img")));
    EXPECT_EQ(run.State().PresentCarTotal, 2);
    EXPECT_EQ(In(game, "Binary/Scripts"), (Names{"circuits.bin", "circuits.sav", "voiture2.bin",
                                                 "voiture2.sav", "voitures.bin"}));
}

// Base slots, a further car in the base list, names that could lead elsewhere, a track list
// changed since the analysis (the record at the slot no longer names the track), a read-only
// list. The data files of "..\evil" would be looked for one folder above each data folder.
TEST(DeleteEntry, RefusedDeletionsChangeNothing) {
    TestGame game;
    const Names bait = {game.Game("Data/Binary/evil.bl3"), game.Game("Data/Binary/evil.bv3"),
                        game.Game("Data/Binary/evil.img"), game.Game("Data/Binary/evil.meg"),
                        game.Game("Data/evil.brt")};
    for (const std::string& path : bait) {
        WriteFile(path, std::string_view("bait"));
    }
    Names baseCars = {"Tolva", "Rusko", "Mervi", "Kaltun", "Zq2", "Brenik", "Ostra", "Falcon"};
    WriteFile(game.Script("voitures.bin"), TestGame::CarList(baseCars));
    WriteFile(game.Script("voiture2.bin"), TestGame::CarList({"Viper", "..\\evil"}));
    WriteFile(game.Script("circuits.bin"),
              game.TrackList(TestGame::BaseTracksAnd({"Harbour", "Dunes", "..\\evil"})));
    GameRun run(game);
    ASSERT_TRUE(run.Start());
    run.view.Clear();
    const TreeSnapshot before = SnapshotTree(game.prefix);
    EXPECT_EQ(DeleteTrack(run.Session(), 18), RESULT_REPORTED);
    EXPECT_EQ(DeleteCar(run.Session(), 10), RESULT_REPORTED);
    ASSERT_EQ(run.view.boxes.size(), 2u);
    EXPECT_EQ(run.view.steps, 0);
    EXPECT_EQ(run.view.boxes[0].caption, "ZAV Data Patcher");
    EXPECT_EQ(run.view.boxes[0].style, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_NE(run.view.boxes[1].text.find("..\\evil"), std::string::npos);
    EXPECT_EQ(DeleteTrack(run.Session(), 15), ERR_UNREFERENCED);
    EXPECT_EQ(DeleteCar(run.Session(), 7), ERR_UNREFERENCED);
    ASSERT_EQ(run.State().PresentCarNames[8], "Falcon");
    EXPECT_EQ(DeleteCar(run.Session(), 8), ERR_CAR_IN_BASE_LIST);
    MakeReadOnly(game.Script("voiture2.bin"));
    EXPECT_EQ(DeleteCar(run.Session(), 9), ERR_UPDATE_FAILED);
    EXPECT_EQ(SnapshotTree(game.prefix), before);

    const Bytes changed = game.TrackList(TestGame::BaseTracksAnd({"Other", "Harbour", "Dunes"}));
    WriteFile(game.Script("circuits.bin"), changed);
    EXPECT_EQ(DeleteTrack(run.Session(), 16), ERR_UPDATE_FAILED);
    EXPECT_EQ(ReadFile(game.Script("circuits.bin")), changed);
    EXPECT_EQ(DifferingPaths(before, SnapshotTree(game.prefix)),
              Names{"drive_c/Games/ZAV/Data/Binary/Scripts/circuits.bin"});
    EXPECT_EQ(run.State().PresentTrackTotal, 19);
    EXPECT_EQ(run.State().PresentCarTotal, 3);
}

} // namespace
} // namespace zav::test
