// The dialog's start-up, its fatal errors, the lock against a second run, and the ways it ends.
#include <gmock/gmock.h>

#include <filesystem>

#include "support/game_run.h"

namespace zav::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// A disc folder with a drive colon is left out with a notice; the dialog runs. The analysis runs
// behind the wait text, gone before the window takes its size.
TEST(StartUp, ShowsTheTracksCompactWithEveryCommandInactive) {
    TestGame game;
    WriteFile(game.Script("circuits.sav"), std::string_view("left by a run that did not end"));
    game.AddDiscEntry(DataKind::Tracks, "Bad:name");
    GameRun run(game);
    ASSERT_TRUE(run.Start());
    EXPECT_EQ(run.Pictures(), ALL_INACTIVE);
    EXPECT_THAT(run.view.events,
                ElementsAre(::testing::StartsWith("wait "), "box", "wait closed", "resize"));
    EXPECT_THAT(run.view.sizes, ElementsAre(COMPACT));
    EXPECT_THAT(run.Entries(IDC_NEW_LIST), ElementsAre("Quarry", "Riverside", "Summit", "Tundra"));
    // Working copies of the game's lists, a stale one replaced; the two staging lists.
    EXPECT_EQ(ReadFile(game.Script("circuits.sav")), ReadFile(game.Script("circuits.bin")));
    EXPECT_EQ(ReadFile(game.Script("voiture2.sav")), ReadFile(game.Script("voiture2.bin")));
    EXPECT_EQ(FilesBelow(game.tmp).size(), 2u);
}

// Each fatal start-up: a box, exit status -1, and nothing left behind.
TEST(StartUp, FatalErrorsEndWithABoxAndExitStatusMinusOne) {
    const std::string scripts = "'C:\\Games\\ZAV\\Data\\Binary\\Scripts\\";
    const std::string longFolder = "C:\\" + std::string(230, 'g') + "\\";
    for (const std::string spoilt : {"Qvx.ini", "voiture2.bin", "circuits.sav", "Directory"}) {
        TestGame game;
        std::string said = "File " + scripts + spoilt + "' not found";
        if (spoilt == "Directory") { // no list of the game can be named within 255 characters
            WriteFile(game.prefix + "/drive_c/windows/Quorvex/Qvx.ini",
                      "[ZAV2_0]\nDirectory=" + longFolder + "\n");
            said = "The game's folder '" + longFolder +
                   "' is too long: the paths of the game's lists in it would pass 255 characters, "
                   "the most the game's paths hold. Move the game to a folder with a shorter path.";
        } else if (spoilt == "circuits.sav") { // a folder cannot be replaced (a read-only file can)
            MakeFolders(game.Script(spoilt));
            said = "Failed to create temporary file " + scripts + spoilt + "'";
        } else if (spoilt == "Qvx.ini") {
            std::filesystem::remove(game.prefix + "/drive_c/windows/Quorvex/Qvx.ini");
            said = "ZAV not detected";
        } else {
            std::filesystem::remove(game.Script(spoilt));
        }
        const auto before = FilesBelow(game.prefix);
        GameRun run(game);
        EXPECT_FALSE(run.Start());
        EXPECT_THAT(run.view.boxes, ElementsAre("Fatal Error 16: " + said));
        EXPECT_THAT(run.view.exits, ElementsAre(-1));
        EXPECT_EQ(FilesBelow(game.prefix), before) << spoilt;
    }
}

// The run that holds the game removes what a killed run left: the tool's temporaries in the data
// folders and nothing else. A second run is refused while the first holds the game and touches
// nothing; Close (end result 1) and the window's close box (exit 0) leave no temporary file.
TEST(StartUp, OnlyTheRunHoldingTheGameCleansUpAndEndingsRemoveTheTemporaryFiles) {
    TestGame game;
    const std::vector<std::string> ours = {game.Script(".zav-new-4242-1.tmp"),
                                           game.Game("Data/Records") + "/.zav-copy-Zz9Yy8"};
    const std::vector<std::string> others = {game.Script("zav-new-notes.txt"),
                                             game.Game(".zav-new-1-1.tmp")}; // no data folder
    for (const std::string& path : {ours[0], ours[1], others[0], others[1]}) {
        WriteFile(path, std::string_view("left"));
    }
    MakeReadOnly(ours[0]); // a copy of a read-only file is read-only itself
    GameRun first(game);
    ASSERT_TRUE(first.Start());
    first.AddToList({"Quarry"});
    EXPECT_FALSE(FileExists(ours[0]) || FileExists(ours[1]));
    EXPECT_TRUE(FileExists(others[0]) && FileExists(others[1]));
    WriteFile(ours[0], std::string_view("the first run's replacement"));
    const TreeSnapshot before = SnapshotTree(game.dir.path());
    GameRun second(game);
    EXPECT_FALSE(second.Start());
    EXPECT_THAT(second.view.exits, ElementsAre(-1));
    EXPECT_EQ(SnapshotTree(game.dir.path()), before);
    const auto gone = [&] {
        EXPECT_FALSE(FileExists(game.Script("circuits.sav")) ||
                     FileExists(game.Script("voiture2.sav")));
        EXPECT_THAT(ListNames(game.tmp), IsEmpty());
    };
    const Bytes gameList = ReadFile(game.Script("circuits.bin"));
    first.dialog.OnCloseButton();
    gone();
    EXPECT_THAT(first.view.ends, ElementsAre(1));
    EXPECT_EQ(ReadFile(game.Script("circuits.bin")), gameList);
    GameRun third(game);
    ASSERT_TRUE(third.Start());
    third.dialog.OnClose();
    EXPECT_THAT(third.view.exits, ElementsAre(0));
    gone();
}

} // namespace
} // namespace zav::test
