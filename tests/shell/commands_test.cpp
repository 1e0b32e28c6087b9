// The dialog's commands on the sample game: "Add to List", "Install New", "Trash", "Cancel", and
// the error report that returns the window to its idle state.
#include "settings/error_report.h"
#include "shell/dialog_fixture.h"

namespace zav::test {
namespace {

namespace fs = std::filesystem;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

class CommandTest : public StartedTest {
protected:
    void Trash(const std::string& name, int answer) {
        Click(IDC_ADDED_LIST, name);
        view_.Clear();
        view_.answers = {answer};
        dialog_->OnTrash();
    }
};

// Entries go in the proposed order after the earlier additions, two paused steps each, in the
// full layout. Tracks are compared with every present track, cars with the added cars only.
TEST_F(DialogTest, AddToListAppendsAndRefusesEntriesNamedLikeAPresentOne) {
    AddDiscTrack("ALPINE", "ALPINE"); // a base track
    AddDiscTrack("dunes", "DUNES");   // an installed further track
    for (const auto& [folder, name] : {std::pair{"Tolva", "TOLVA"}, {"falcon", "Falcon"}}) {
        const std::string base = game_.Disc("voitures") + "/" + folder + "/";
        WriteFile(base + "voitures.bin", ListFile({CarRecord(name)}));
        for (const char* extension : {".bv3", ".img", ".meg"}) {
            WriteFile(base + name + extension, Bytes(64, 0x5B));
        }
    }
    ASSERT_TRUE(Start());
    const Bytes trackList = ReadFile(Script("circuits.bin"));
    const Bytes carList = ReadFile(Script("voiture2.bin"));
    ClickNew("Tundra");
    ClickNew("Quarry");
    view_.Clear();
    dialog_->OnAddToList();
    EXPECT_THAT(view_.sizes, ElementsAre(FULL, COMPACT));
    EXPECT_EQ(view_.ControlText(IDC_STATUS), "Preparing Add Files");
    EXPECT_THAT(view_.ranges, ElementsAre(4));
    EXPECT_EQ(view_.steps, 4);
    EXPECT_EQ(view_.pausedMs, 600);
    EXPECT_THAT(view_.boxes, IsEmpty());
    EXPECT_EQ(Pictures(), PENDING);
    EXPECT_THAT(Selected(IDC_NEW_LIST), IsEmpty());

    view_.Clear();
    AddToList({"Alpine", "Dunes", "Summit"});
    ShowTab(DataKind::Cars);
    AddToList({"Falcon", "Tolva"});
    const auto refused = [](const std::string& text) {
        return "ZAV Data Patcher 48: " + text + " is already installed and won't be added.";
    };
    EXPECT_THAT(view_.boxes, ElementsAre(refused("Track 'Alpine'"), refused("Track 'Dunes'"),
                                         refused("Car 'Falcon'")));
    EXPECT_THAT(view_.ranges, ElementsAre(2, 2));
    EXPECT_EQ(ReadFile(Script("circuits.sav")),
              Appended(trackList, {DiscTrack("Quarry"), DiscTrack("Tundra"), DiscTrack("Summit")}));
    EXPECT_EQ(ReadFile(Script("circuits.bin")), trackList); // the game's list waits for Install
    EXPECT_EQ(ReadFile(Script("voiture2.sav")), Appended(carList, {DiscCar("Tolva")}));
    ShowTab(DataKind::Tracks);
    EXPECT_THAT(Entries(IDC_ADDED_LIST),
                ElementsAre("<Inst.> Harbour", "<Inst.> Dunes", "<Temp.> Quarry", "<Temp.> Tundra",
                            "<Temp.> Summit"));

    // Refusing every entry runs nothing: Install stays lit, Cancel goes out.
    const Bytes workList = ReadFile(Script("circuits.sav"));
    view_.Clear();
    AddToList({"Alpine"});
    EXPECT_EQ(view_.boxes.size(), 1u);
    EXPECT_THAT(view_.ranges, IsEmpty());
    EXPECT_EQ(ReadFile(Script("circuits.sav")), workList);
    EXPECT_EQ(Pictures(), (ButtonRow{180, 175, 170, 179, 176}));
    AddToList({"Riverside"});
    EXPECT_EQ(Pictures(), PENDING);
}

// Install New: 6 steps per track, 4 per car; the added-car list is written, never the base one.
TEST_F(CommandTest, InstallNewWritesTheGameListAndCopiesTheFiles) {
    const Bytes baseCars = ReadFile(Script("voitures.bin"));
    for (const auto& [kind, names, list, steps, file] :
         {std::tuple{DataKind::Tracks, std::vector<std::string>{"Quarry", "Summit"}, "circuits", 12,
                     "Binary/Circuits/Summit.bl3"},
          std::tuple{DataKind::Cars, std::vector<std::string>{"Comet"}, "voiture2", 4,
                     "Binary/Voitures/Comet.bv3"}}) {
        const Bytes gameList = ReadFile(Script(list + std::string(".bin")));
        ShowTab(kind);
        AddToList(names);
        view_.Clear();
        dialog_->OnInstallNew();
        EXPECT_THAT(view_.ranges, ElementsAre(steps));
        EXPECT_EQ(view_.steps, steps);
        EXPECT_EQ(view_.ControlText(IDC_STATUS), "Installing files");
        EXPECT_THAT(view_.events, ElementsAre("resize", "resize", "box"));
        EXPECT_THAT(view_.sizes, ElementsAre(FULL, COMPACT));
        EXPECT_THAT(view_.boxes, ElementsAre("Information 64: New data installed successfully."));
        std::vector<Bytes> records;
        for (const std::string& name : names) {
            records.push_back(kind == DataKind::Tracks ? DiscTrack(name) : DiscCar(name));
            EXPECT_THAT(Entries(IDC_ADDED_LIST), Contains("<Inst.> " + name));
        }
        const Bytes expected = Appended(gameList, records);
        EXPECT_EQ(ReadFile(Script(list + std::string(".bin"))), expected);
        EXPECT_EQ(ReadFile(Script(list + std::string(".sav"))), expected);
        EXPECT_TRUE(FileExists(game_.Game("Data/" + std::string(file))));
        EXPECT_EQ(Pictures(), ALL_INACTIVE);
    }
    EXPECT_EQ(ReadFile(Script("voitures.bin")), baseCars);
}

// Trash answered No changes nothing; Yes takes the record out of the game's list (the later ones
// move up) and deletes the entry's files: 8 steps for a track, 6 for a car.
TEST_F(CommandTest, TrashAnsweredNoKeepsAndYesDeletesTheRecordAndTheFiles) {
    for (const auto& [kind, name, word, list, record, size, steps, file, kept] :
         {std::tuple{DataKind::Tracks, "Harbour", "track", "circuits", 17, 140, 8,
                     "Records/-arbour.brt", "Records/-unes.brt"},
          std::tuple{DataKind::Cars, "Falcon", "car", "voiture2", 1, 128, 6,
                     "Binary/Voitures/Falcon.bv3", "Binary/Voitures/Viper.bv3"}}) {
        const std::string gameListPath = Script(list + std::string(".bin"));
        const Bytes gameList = ReadFile(gameListPath);
        const auto before = FilesBelow(game_.prefix);
        const std::string question = "Warning 52: The '" + std::string(name) + "' " + word +
                                     " will be deleted permanently.\n\nDo you want to continue?";
        ShowTab(kind);
        Trash(name, IDNO);
        EXPECT_THAT(view_.boxes, ElementsAre(question));
        EXPECT_EQ(view_.steps, 0);
        EXPECT_EQ(FilesBelow(game_.prefix), before);
        EXPECT_EQ(ReadFile(gameListPath), gameList);

        Trash(name, IDYES);
        EXPECT_THAT(view_.boxes, ElementsAre(question, "Information 64: '" + std::string(name) +
                                                           "' was successfully deleted from "
                                                           "your hard disk."));
        EXPECT_THAT(view_.ranges, ElementsAre(steps));
        EXPECT_EQ(view_.steps, steps);
        EXPECT_THAT(view_.sizes, ElementsAre(FULL, COMPACT));
        const Bytes expected = Deleted(gameList, record, size);
        EXPECT_EQ(ReadFile(gameListPath), expected);
        EXPECT_EQ(ReadFile(Script(list + std::string(".sav"))), expected);
        EXPECT_FALSE(FileExists(game_.Game("Data/" + std::string(file))));
        EXPECT_TRUE(FileExists(game_.Game("Data/" + std::string(kept))));
        EXPECT_EQ(Entries(IDC_ADDED_LIST).size(), 1u);
    }
}

// A further track whose name would lead its paths out of the game's folders, and a list changed
// since the start, are refused without touching anything.
TEST_F(DialogTest, TrashOfAnUnsafeNameOrAChangedListTouchesNothing) {
    WriteFile(Script("circuits.bin"),
              Appended(ReadFile(Script("circuits.bin")), {TrackRecord("..\\..\\Windows", 2)}));
    ASSERT_TRUE(Start());
    const auto before = FilesBelow(game_.prefix + "/drive_c");
    Bytes list = ReadFile(Script("circuits.bin"));
    Click(IDC_ADDED_LIST, "..\\..\\windows");
    view_.answers = {IDYES};
    dialog_->OnTrash();
    // The question, then the operation's own warning; no second report of the same failure.
    ASSERT_EQ(view_.boxes.size(), 2u);
    EXPECT_THAT(view_.boxes[1], HasSubstr("path separator"));
    EXPECT_EQ(Pictures(), ALL_INACTIVE);

    // Another program swapped the two further tracks: record 17 now names Dunes.
    std::swap_ranges(list.begin() + 4 + 16 * 140, list.begin() + 4 + 17 * 140,
                     list.begin() + 4 + 17 * 140);
    WriteFile(Script("circuits.bin"), list);
    Click(IDC_ADDED_LIST, "Harbour");
    view_.Clear();
    view_.answers = {IDYES};
    dialog_->OnTrash();
    ASSERT_EQ(view_.boxes.size(), 2u);
    EXPECT_EQ(view_.boxes[1], "ZAV Data Patcher 48: Unable to update 'Harbour' file");
    EXPECT_EQ(ReadFile(Script("circuits.bin")), list);
    EXPECT_EQ(FilesBelow(game_.prefix + "/drive_c"), before);
}

TEST_F(CommandTest, CancelRestoresTheShownKindOnlyAndNeverCloses) {
    const Bytes trackList = ReadFile(Script("circuits.bin"));
    ShowTab(DataKind::Cars);
    AddToList({"Lynx"});
    const Bytes carWorkList = ReadFile(Script("voiture2.sav"));
    ShowTab(DataKind::Tracks);
    AddToList({"Quarry", "Tundra"});
    dialog_->OnCancel();
    EXPECT_EQ(ReadFile(Script("circuits.sav")), trackList);
    EXPECT_THAT(Entries(IDC_ADDED_LIST), ElementsAreArray(kAddedTracks));
    EXPECT_THAT(Entries(IDC_NEW_LIST), ElementsAreArray(kProposedTracks));
    EXPECT_EQ(Pictures(), ALL_INACTIVE);
    EXPECT_FALSE(dialog_->Ended());
    EXPECT_THAT(view_.ends, IsEmpty());
    EXPECT_EQ(ReadFile(Script("voiture2.sav")), carWorkList);
    ShowTab(DataKind::Cars);
    EXPECT_THAT(Entries(IDC_ADDED_LIST), Contains("<Temp.> Lynx"));
    EXPECT_EQ(Pictures(), PENDING);
    ShowTab(DataKind::Tracks);
    AddToList({"Quarry"}); // a cancelled entry can be added again
    EXPECT_EQ(ReadFile(Script("circuits.sav")), Appended(trackList, {DiscTrack("Quarry")}));

    // With the game's list gone Cancel is fatal and leaves the temporary files.
    fs::remove(Script("circuits.bin"));
    view_.Clear();
    dialog_->OnCancel();
    EXPECT_THAT(view_.boxes,
                ElementsAre("Fatal Error 16: File "
                            "'C:\\Games\\ZAV\\Data\\Binary\\Scripts\\circuits.bin' not found"));
    EXPECT_THAT(view_.exits, ElementsAre(-1));
    EXPECT_TRUE(dialog_->Ended());
    EXPECT_TRUE(FileExists(Script("circuits.sav")));
    EXPECT_EQ(FilesBelow(tmp_).size(), 2u);
}

TEST_F(CommandTest, ReportResetsTheWindowAndClosesThePreview) {
    AddToList({"Summit"});
    ClickNew("Quarry");
    view_.Clear();
    EXPECT_EQ(dialog_->ReportError(9, nullptr, false), 1);
    EXPECT_THAT(view_.boxes, ElementsAre("ZAV Data Patcher 48: "));
    EXPECT_EQ(Pictures(), (ButtonRow{180, 168, 177, 179, 176})); // Display keeps its picture
    EXPECT_EQ(dialog_->State().TrackAddPending, 0);
    EXPECT_THAT(view_.sizes, ElementsAre(COMPACT));
    EXPECT_FALSE(dialog_->Ended());

    // An operation that told the user itself: the window is only reset.
    AddToList({"Summit"});
    view_.Clear();
    EXPECT_EQ(dialog_->ReportError(RESULT_REPORTED, nullptr, false), 1);
    EXPECT_THAT(view_.boxes, IsEmpty());
    EXPECT_EQ(Pictures(), ALL_INACTIVE);

    ClickNew("Quarry");
    dialog_->OnDisplay();
    dialog_->ReportError(ERR_UPDATE_FAILED, "circuits.bin", false);
    EXPECT_EQ(view_.boxes.back(), "ZAV Data Patcher 48: Unable to update 'circuits.bin' file");
    EXPECT_EQ(view_.sizes.back(), COMPACT);

    // A game list that cannot be written is named in the report and left as it was.
    AddToList({"Quarry"});
    fs::permissions(Script("circuits.bin"),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const Bytes gameList = ReadFile(Script("circuits.bin"));
    view_.Clear();
    dialog_->OnInstallNew();
    EXPECT_THAT(view_.boxes,
                ElementsAre("ZAV Data Patcher 48: Unable to update "
                            "'C:\\Games\\ZAV\\Data\\Binary\\Scripts\\circuits.bin' file"));
    EXPECT_EQ(ReadFile(Script("circuits.bin")), gameList);
    EXPECT_EQ(view_.sizes.back(), COMPACT);
}

} // namespace
} // namespace zav::test
