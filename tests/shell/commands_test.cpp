// The dialog's commands on the sample game: Add to List, Install New, Trash, Cancel, error reports.
#include <gmock/gmock.h>

#include "support/game_run.h"

namespace zav::test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;

class Commands : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(run.Start()); }
    TestGame game;
    GameRun run{game};
};

// Entries go in the proposed order after the earlier additions, in the full layout. Names are
// compared with every present entry, the base ones included, and cars with every record of the
// game's voitures.bin too.
TEST(AddToList, AppendsAndRefusesEntriesNamedLikeAPresentOne) {
    TestGame game;
    game.AddDiscEntry(DataKind::Tracks, "ALPINE");         // a base track
    game.AddDiscEntry(DataKind::Tracks, "dunes", "DUNES"); // an installed further track
    game.AddDiscEntry(DataKind::Cars, "Tolva", "TOLVA");   // a base car
    game.AddDiscEntry(DataKind::Cars, "falcon", "Falcon"); // an added car
    std::vector<std::string> gameCars(BaseCarNames.begin(), BaseCarNames.end());
    gameCars.emplace_back("Mistral"); // beyond the game's base list
    WriteFile(game.Script("voitures.bin"), TestGame::CarList(gameCars));
    GameRun run(game);
    ASSERT_TRUE(run.Start());
    const Bytes trackList = ReadFile(game.Script("circuits.bin"));
    const Bytes carList = ReadFile(game.Script("voiture2.bin"));
    run.ClickNew("Tundra");
    run.ClickNew("Quarry");
    run.view.Clear();
    run.dialog.OnAddToList();
    EXPECT_THAT(run.view.sizes, ElementsAre(FULL, COMPACT));
    EXPECT_EQ(run.Pictures(), PENDING);
    run.AddToList({"Alpine", "Dunes", "Summit"});
    run.ShowTab(DataKind::Cars);
    run.AddToList({"Falcon", "Tolva", "Mistral"});
    const auto refused = [](const std::string& text) {
        return "ZAV Data Patcher 48: " + text + " is already installed and won't be added.";
    };
    EXPECT_THAT(run.view.boxes, ElementsAre(refused("Track 'Alpine'"), refused("Track 'Dunes'"),
                                            refused("Car 'Falcon'"), refused("Car 'Mistral'"),
                                            refused("Car 'Tolva'")));
    EXPECT_EQ(ReadFile(game.Script("circuits.sav")),
              Appended(trackList, {game.DiscRecord(DataKind::Tracks, "Quarry"),
                                   game.DiscRecord(DataKind::Tracks, "Tundra"),
                                   game.DiscRecord(DataKind::Tracks, "Summit")}));
    EXPECT_EQ(ReadFile(game.Script("circuits.bin")), trackList); // the game's list waits
    EXPECT_EQ(ReadFile(game.Script("voiture2.sav")), carList);
    run.ShowTab(DataKind::Tracks);
    EXPECT_THAT(run.Entries(IDC_ADDED_LIST),
                ElementsAre("<Inst.> Harbour", "<Inst.> Dunes", "<Temp.> Quarry", "<Temp.> Tundra",
                            "<Temp.> Summit"));
}

// Install New: 6 steps per track, 4 per car; the added-car list is written, never the base one.
TEST_F(Commands, InstallNewWritesTheGameListAndCopiesTheFiles) {
    const Bytes baseCars = ReadFile(game.Script("voitures.bin"));
    using Row = std::tuple<DataKind, std::vector<std::string>, std::string, int>;
    for (const auto& [kind, names, list, steps] :
         {Row{DataKind::Tracks, {"Quarry", "Summit"}, "circuits", 12},
          Row{DataKind::Cars, {"Comet"}, "voiture2", 4}}) {
        run.ShowTab(kind);
        run.AddToList(names);
        run.view.Clear();
        run.dialog.OnInstallNew();
        EXPECT_EQ(run.view.steps, steps);
        EXPECT_THAT(run.view.boxes,
                    ElementsAre("Information 64: New data installed successfully."));
        EXPECT_THAT(run.Entries(IDC_ADDED_LIST), Contains("<Inst.> " + names.back()));
        EXPECT_EQ(ReadFile(game.Script(list + ".sav")), ReadFile(game.Script(list + ".bin")));
        EXPECT_EQ(run.Pictures(), ALL_INACTIVE);
    }
    EXPECT_EQ(ReadFile(game.Script("voitures.bin")), baseCars);
    // A game list that cannot be written is named with the cause and kept; the window returns to
    // its idle state.
    run.AddToList({"Lynx"});
    MakeReadOnly(game.Script("voiture2.bin"));
    const Bytes gameList = ReadFile(game.Script("voiture2.bin"));
    run.view.Clear();
    run.dialog.OnInstallNew();
    EXPECT_THAT(run.view.boxes,
                ElementsAre("ZAV Data Patcher 48: Unable to update "
                            "'C:\\Games\\ZAV\\Data\\Binary\\Scripts\\voiture2.bin' file\n\n"
                            "The file 'C:\\Games\\ZAV\\Data\\Binary\\Scripts\\voiture2.bin' "
                            "cannot be replaced: it is read-only."));
    EXPECT_EQ(ReadFile(game.Script("voiture2.bin")), gameList);
    EXPECT_EQ(run.Pictures(), ALL_INACTIVE);
}

// A replacement the user said Yes to that then fails ends the command at its box: no second
// report, and the window keeps its full layout and its lists as they were.
TEST_F(Commands, InstallNewEndsAtTheBoxOfAFailedReplacement) {
    WriteFile(game.Game("Data/Binary/Mimg/Quarry.img"), std::string_view("old"));
    run.AddToList({"Quarry"});
    const auto lists = std::pair(run.Entries(IDC_NEW_LIST), run.Entries(IDC_ADDED_LIST));
    run.files.FailWhen([](const FileOperation& operation) {
        return operation.kind == "Copy" && !operation.failIfExists;
    });
    run.view.Clear();
    run.view.answers = {IDYES};
    run.dialog.OnInstallNew();
    ASSERT_EQ(run.view.boxes.size(), 2u);
    EXPECT_EQ(run.view.boxes[1], "ZAV Data Patcher 16: The file "
                                 "'C:\\Games\\ZAV\\Data\\Binary\\Mimg\\Quarry.img' cannot be "
                                 "replaced: no space is left on its drive.");
    EXPECT_THAT(run.view.sizes, ElementsAre(FULL));
    EXPECT_EQ(std::pair(run.Entries(IDC_NEW_LIST), run.Entries(IDC_ADDED_LIST)), lists);
}

// A disk that is full already refuses the first byte of a write: the boxes name that cause, for
// the work list Add to List appends to, and for the history a replacement the user said Yes to
// must first be recorded in.
TEST(InstallNew, AWriteRefusedForWantOfSpaceIsNamedAsSuch) {
    TestGame game;
    WriteFile(game.Game("Data/Binary/Mimg/Quarry.img"), std::string_view("old"));
    GameRun run(game, {}, HistoryMode::Record);
    ASSERT_TRUE(run.Start());
    const auto fullDiskFor = [&](std::string_view path) {
        run.files.FailWhen(
            [path](const FileOperation& operation) {
                return operation.kind == "Write" && operation.path.find(path) != std::string::npos;
            },
            FileOperationVerdict::NoSpace);
    };
    fullDiskFor(TEMPORARY_NAME_PREFIX); // the copy of circuits.sav that takes the record
    run.AddToList({"Quarry"});
    EXPECT_THAT(run.view.boxes,
                ElementsAre("ZAV Data Patcher 48: Unreferenced error\n\ncircuits.bin: a record "
                            "cannot be written to its working copy. The file "
                            "'C:\\Games\\ZAV\\Data\\Binary\\Scripts\\circuits.sav' cannot "
                            "be replaced: no space is left on its drive."));
    run.files.FailWhen({});
    run.AddToList({"Quarry"});
    fullDiskFor(MANIFEST_FILE_NAME);
    run.view.Clear();
    run.view.answers = {IDYES};
    run.dialog.OnInstallNew();
    ASSERT_EQ(run.view.boxes.size(), 2u);
    EXPECT_EQ(run.view.boxes[1], "ZAV Data Patcher 16: The file "
                                 "'C:\\Games\\ZAV\\Data\\Binary\\Mimg\\Quarry.img' cannot be "
                                 "replaced: no space is left on its drive.");
}

// A list whose count promises more records than it holds cannot take new ones: the report keeps
// its fixed text and says what is wrong with which file.
TEST(AddToList, DamagedListIsNamedBelowTheErrorText) {
    TestGame game;
    WriteFile(game.Script("circuits.bin"), game.TrackList(TestGame::BaseTracksAnd({"Dunes"}), 20));
    GameRun run(game);
    ASSERT_TRUE(run.Start());
    run.AddToList({"Quarry"});
    EXPECT_THAT(run.view.boxes, ElementsAre("ZAV Data Patcher 48: Unreferenced error\n\n"
                                            "circuits.bin: its count says 20 records, the file "
                                            "holds 17."));
}

// Trash answered No changes nothing; Yes takes the record out of the game's list (the later ones
// move up): 8 steps for a track, 6 for a car. A list changed since the start is not touched.
TEST_F(Commands, TrashAnsweredNoKeepsAndYesDeletesTheRecordAndTheFiles) {
    for (const auto& [kind, name, word, list, record, size, steps] :
         {std::tuple{DataKind::Tracks, "Harbour", "track", "circuits", 17, 140, 8},
          std::tuple{DataKind::Cars, "Falcon", "car", "voiture2", 1, 128, 6}}) {
        const std::string gameListPath = game.Script(list + std::string(".bin"));
        const Bytes gameList = ReadFile(gameListPath);
        const TreeSnapshot before = SnapshotTree(game.prefix);
        run.ShowTab(kind);
        run.view.Clear();
        run.Trash(name, IDNO);
        EXPECT_THAT(run.view.boxes,
                    ElementsAre("Warning 52: The '" + std::string(name) + "' " + word +
                                " will be deleted permanently.\n\nDo you want to continue?"));
        EXPECT_EQ(SnapshotTree(game.prefix), before);
        run.view.Clear();
        run.Trash(name, IDYES);
        EXPECT_EQ(run.view.steps, steps);
        EXPECT_EQ(ReadFile(gameListPath), Deleted(gameList, record, size));
        EXPECT_EQ(ReadFile(game.Script(list + std::string(".sav"))), ReadFile(gameListPath));
    }
    run.ShowTab(DataKind::Tracks);
    WriteFile(game.Script("circuits.bin"), game.TrackList(TestGame::BaseTracksAnd({"Other"})));
    const TreeSnapshot before = SnapshotTree(game.prefix);
    run.Trash("Dunes", IDYES);
    EXPECT_EQ(run.view.boxes.back(), "ZAV Data Patcher 48: Unable to update 'Dunes' file");
    EXPECT_EQ(SnapshotTree(game.prefix), before);
    EXPECT_EQ(run.Pictures(), ALL_INACTIVE);
}

// An added entry named like one of the game's own loses its record, never the files that entry
// uses: a track named like a base track, a car that voitures.bin holds beyond its base list.
TEST(Trash, KeepsTheFilesOfABaseEntryOfTheSameName) {
    TestGame game;
    std::vector<std::string> gameCars(BaseCarNames.begin(), BaseCarNames.end());
    gameCars.emplace_back("Falcon");
    WriteFile(game.Script("voitures.bin"), TestGame::CarList(gameCars));
    WriteFile(game.Script("circuits.bin"), game.TrackList(TestGame::BaseTracksAnd({"ALPINE"})));
    WriteFile(game.Game("Data/Binary/Circuits/Alpine.bl3"), std::string_view("base"));
    GameRun run(game);
    ASSERT_TRUE(run.Start());
    run.view.Clear();
    run.Trash("Alpine", IDYES);
    run.ShowTab(DataKind::Cars);
    run.Trash("Falcon", IDYES);
    const auto kept = [](const std::string& name, const std::string& kind) {
        return "Information 64: '" + name + "' was removed from the game's list. Its data files " +
               "were kept because a base " + kind + " of that name uses them.";
    };
    ASSERT_EQ(run.view.boxes.size(), 4u);
    EXPECT_EQ(run.view.boxes[1], kept("Alpine", "track"));
    EXPECT_EQ(run.view.boxes[3], kept("Falcon", "car"));
    EXPECT_EQ(GetInt32(ReadFile(game.Script("circuits.bin")), 0), 16);
    EXPECT_EQ(GetInt32(ReadFile(game.Script("voiture2.bin")), 0), 1);
    EXPECT_TRUE(FileExists(game.Game("Data/Binary/Circuits/Alpine.bl3")));
    EXPECT_TRUE(FileExists(game.Game("Data/Binary/Voitures/Falcon.bv3")));
}

// Cancel restores the shown kind only and never closes.
TEST_F(Commands, CancelRestoresTheShownKindOnly) {
    const Bytes trackList = ReadFile(game.Script("circuits.bin"));
    run.ShowTab(DataKind::Cars);
    run.AddToList({"Lynx"});
    const Bytes carWorkList = ReadFile(game.Script("voiture2.sav"));
    run.ShowTab(DataKind::Tracks);
    run.AddToList({"Quarry", "Tundra"});
    run.dialog.OnCancel();
    EXPECT_EQ(ReadFile(game.Script("circuits.sav")), trackList);
    EXPECT_THAT(run.Entries(IDC_ADDED_LIST), ElementsAre("<Inst.> Harbour", "<Inst.> Dunes"));
    EXPECT_EQ(run.Pictures(), ALL_INACTIVE);
    EXPECT_FALSE(run.dialog.Ended());
    EXPECT_EQ(ReadFile(game.Script("voiture2.sav")), carWorkList);
    run.ShowTab(DataKind::Cars);
    EXPECT_EQ(run.Pictures(), PENDING);
}

} // namespace
} // namespace zav::test
