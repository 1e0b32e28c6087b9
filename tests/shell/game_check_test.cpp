// The game's check and repair through the dialog: each planted problem found, each mend and its
// undo, a No that changes nothing, and the window's menu entry.
#include <gtest/gtest.h>

#include <filesystem>

#include "history/history_store.h"
#include "support/game_run.h"

namespace zav::test {
namespace {

using Names = std::vector<std::string>;

// "Kind name record[ mend]" per finding, or the list that cannot be read.
Names Summary(const std::optional<GameCheck>& check) {
    static const char* const kinds[] = {"missing", "unlisted", "repeated",  "ofgame",
                                        "count",   "unusable", "temporary", "nocopy"};
    Names lines;
    if (check && !check->Readable()) {
        lines.push_back("unreadable " + check->unreadableList);
    }
    for (const GameFinding& f : check ? check->findings : std::vector<GameFinding>{}) {
        lines.push_back(std::string(kinds[static_cast<int>(f.kind)]) + " " + f.name + " " +
                        std::to_string(f.record) + " " + std::to_string(f.files.size()) +
                        (f.mendable ? " mend" : ""));
    }
    return lines;
}

void Remove(const TestGame& game, const Names& relatives) {
    for (const std::string& relative : relatives) {
        std::filesystem::remove(game.Game(relative));
    }
}

// A record of "Gone" with no file left, "harbour" after Harbour, "Falcon" twice among the added
// cars, and two temporaries of a killed run.
void PlantMendable(const TestGame& game) {
    WriteFile(game.Script("circuits.bin"),
              game.TrackList(TestGame::BaseTracksAnd({"Harbour", "Dunes", "Gone", "harbour"})));
    WriteFile(game.Script("voiture2.bin"), TestGame::CarList({"Falcon", "Viper", "falcon"}));
    WriteFile(game.Script("circuits.sav"), std::string_view("old work copy"));
    WriteFile(game.Game("Data/Binary/Resson") + "/.zav-4242-1", std::string_view("half a copy"));
}

TEST(GameCheck, SoundGamesHaveNoFindingsWhateverTheCaseOnDiskAndTheVersion) {
    for (const GameOptions options :
         {GameOptions{.version = 1, .mixedCase = true, .accelerated = true}, GameOptions{}}) {
        TestGame game(options);
        GameRun run(game);
        EXPECT_EQ(Summary(run.dialog.CheckGame(false)), Names{});
    }
    TestGame game;
    Remove(game, {"Data/Binary/Scripts/voiture2.bin"});
    GameRun run(game);
    EXPECT_EQ(Summary(run.dialog.CheckGame(false)),
              Names{"unreadable C:\\Games\\ZAV\\Data\\Binary\\Scripts\\voiture2.bin"});
}

TEST(GameCheck, EachPlantedProblemIsFoundAndOnlyTheSafeOnesAreMendable) {
    TestGame game;
    PlantMendable(game);
    // Dunes keeps all but its picture; "Alpine" repeats a base track; a name that is no file name.
    WriteFile(game.Script("circuits.bin"),
              game.TrackList(TestGame::BaseTracksAnd(
                  {"Harbour", "Dunes", "Gone", "harbour", "Alpine", "a\\b"})));
    Remove(game, {"Data/Binary/Mimg/Dunes.img"});
    // voitures.bin holds a ninth car and states more records than it holds.
    Names gameCars(BaseCarNames.begin(), BaseCarNames.end());
    gameCars.push_back("Spare");
    WriteFile(game.Script("voitures.bin"), TestGame::CarList(gameCars, 12));
    WriteFile(game.Script("voiture2.bin"),
              TestGame::CarList({"Falcon", "Viper", "falcon", "TOLVA", "spare"}));
    // Files no record names; the base entries' names are no strays.
    WriteFile(game.Game("Data/Binary/Circuits") + "/Ghost.bl3", std::string_view("t"));
    WriteFile(game.Game("Data/Binary/Mimg") + "/Ghost.img", std::string_view("p"));
    WriteFile(game.Game("Data/Binary/Voitures") + "/Stray.BV4", std::string_view("c"));
    WriteFile(game.Game("Data/Binary/Voitures") + "/Tolva.bv3", std::string_view("c"));
    WriteFile(game.Game("Data/Binary/Voitures") + "/Spare.bv3", std::string_view("c"));
    // A history entry whose saved copy is gone.
    MakeFolders(game.Game("") + "/PatcherHistory/000001");
    WriteFile(
        game.Game("") + "/PatcherHistory/000001/entry.txt",
        std::string_view("zav-patcher-history\t1\ndate\t2026-01-01 10:00:00\ncommand\tinstall "
                         "tracks\nsaved\t1\tC:\\Games\\ZAV\\Data\\Binary\\Scripts\\"
                         "circuits.bin\nsealed\n"));
    const TreeSnapshot before = SnapshotTree(game.prefix);
    EXPECT_EQ(Summary(GameRun(game).dialog.CheckGame(false)),
              (Names{"count  0 0", "missing Dunes 18 1", "missing Gone 19 3 mend",
                     "repeated harbour 20 0 mend", "repeated Alpine 21 0 mend", "unusable  22 0",
                     "repeated falcon 3 0 mend", "ofgame TOLVA 4 0", "ofgame spare 5 0",
                     "unlisted Ghost 0 2", "unlisted Stray 0 1", "temporary circuits.sav 0 1 mend",
                     "temporary .zav-4242-1 0 1 mend", "nocopy  1 1"}));
    EXPECT_EQ(SnapshotTree(game.prefix), before);
    // While another run holds the game, the temporaries are that run's.
    GameRun holder(game);
    ASSERT_TRUE(holder.Start());
    GameRun other(game);
    const Names busy = Summary(other.dialog.CheckGame(false));
    EXPECT_EQ(std::count_if(busy.begin(), busy.end(),
                            [](const std::string& line) { return line.starts_with("temporary"); }),
              0);
    EXPECT_FALSE(GameRun(game).dialog.CheckGame(true).has_value()); // a repair needs the game
}

TEST(GameRepair, EachMendIsAskedNoChangesNothingAndOneUndoRevertsTheRepair) {
    TestGame game;
    PlantMendable(game);
    const TreeSnapshot before = SnapshotTree(game.prefix);
    {
        GameRun run(game, {}, HistoryMode::Record);
        const auto check = run.dialog.CheckGame(true);
        ASSERT_TRUE(check);
        const RepairResult declined = run.dialog.RepairFindings(*check, true);
        EXPECT_EQ(declined.mended, 0);
        EXPECT_EQ(declined.left, 5);
        EXPECT_EQ(run.view.boxes.size(), 5u);
        run.dialog.OnCloseButton();
    }
    EXPECT_EQ(SnapshotTree(game.prefix), before);
    {
        GameRun run(game, {}, HistoryMode::Record);
        const auto check = run.dialog.CheckGame(true);
        ASSERT_TRUE(check);
        run.view.answers.assign(5, IDYES);
        const RepairResult repaired = run.dialog.RepairFindings(*check, true);
        EXPECT_EQ(repaired.mended, 5);
        EXPECT_EQ(repaired.left, 0);
        run.dialog.OnCloseButton();
    }
    EXPECT_EQ(GetInt32(ReadFile(game.Script("circuits.bin")), 0), 18);
    EXPECT_EQ(GetInt32(ReadFile(game.Script("voiture2.bin")), 0), 2);
    EXPECT_EQ(Summary(GameRun(game).dialog.CheckGame(false)), Names{});
    // No data file went: only the lists and the temporaries changed.
    const TreeSnapshot after = SnapshotTree(game.prefix);
    for (const auto& [path, bytes] : before) {
        if (path.find("Scripts/") == std::string::npos && path.find(".zav-") == std::string::npos) {
            EXPECT_TRUE(after.contains(path) && after.at(path) == bytes) << path;
        }
    }
    HostFileSystem host(game.prefix);
    const auto history = ReadHistory(host, "C:\\Games\\ZAV\\");
    ASSERT_EQ(history.size(), 1u);
    EXPECT_EQ(history[0].command, "repair");
    ASSERT_EQ(history[0].removed.size(), 1u);
    EXPECT_EQ(history[0].removed[0].name, "Gone");

    GameRun undo(game, {}, HistoryMode::Record);
    const auto outcome = undo.dialog.UndoNewestChange();
    ASSERT_TRUE(outcome);
    EXPECT_EQ(outcome->result, UndoOutcome::Result::Done) << outcome->reason;
    undo.dialog.OnCloseButton();
    for (const char* list : {"circuits.bin", "voiture2.bin"}) {
        EXPECT_EQ(ReadFile(game.Script(list)),
                  before.at("drive_c/Games/ZAV/Data/Binary/Scripts/" + std::string(list)));
    }
}

// The running window's own working copies are no temporaries; "Repair" mends without asking
// again and the lists follow the game's.
TEST(GameRepair, TheWindowsMenuChecksAndOffersTheRepair) {
    TestGame game;
    GameRun sound(game);
    ASSERT_TRUE(sound.Start());
    const auto entries = sound.dialog.MenuEntries();
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries.back().command, PatcherDialog::MenuCommand::CheckGame);
    EXPECT_EQ(entries.back().words, OwnTextId::CheckMenuItem);
    EXPECT_TRUE(entries.back().enabled);
    EXPECT_FALSE(sound.dialog.OnMenuCommand(PatcherDialog::MenuCommand::CheckGame));
    ASSERT_EQ(sound.view.boxes.size(), 1u);
    EXPECT_EQ(sound.view.boxes[0].text, "No problems found.");
    sound.dialog.OnCloseButton();

    WriteFile(game.Script("circuits.bin"),
              game.TrackList(TestGame::BaseTracksAnd({"Harbour", "Dunes", "Gone"})));
    GameRun run(game, {}, HistoryMode::Record);
    ASSERT_TRUE(run.Start());
    run.ShowTab(DataKind::Tracks);
    ASSERT_EQ(run.Entries(IDC_ADDED_LIST).size(), 3u);
    run.view.Clear();
    run.view.answers = {IDYES};
    run.dialog.OnMenuCommand(PatcherDialog::MenuCommand::CheckGame);
    ASSERT_EQ(run.view.boxes.size(), 2u);
    EXPECT_EQ(run.view.boxes[0].style & MB_TYPEMASK, MB_YESNO);
    EXPECT_NE(run.view.boxes[0].text.find("'Gone'"), std::string::npos);
    EXPECT_EQ(run.view.boxes[0].text.find(".sav"), std::string::npos);
    EXPECT_EQ(run.view.boxes[1].text, "Problems found: 1, mended: 1, left: 0.");
    EXPECT_EQ(run.Entries(IDC_ADDED_LIST), (Names{"<Inst.> Harbour", "<Inst.> Dunes"}));
}

} // namespace
} // namespace zav::test
