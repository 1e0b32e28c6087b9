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

class CommandTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        ASSERT_TRUE(Start());
    }
    void Trash(const std::string& name, int answer) {
        ClickAdded(name);
        view_.Clear();
        view_.answers = {answer};
        Dialog().OnTrash();
    }
};

TEST_F(CommandTest, AddToListAppendsToTheWorkingListInTheFullLayout) {
    const Bytes gameList = ReadFile(TrackList());
    ClickNew("Tundra");
    ClickNew("Quarry");
    view_.Clear();
    Dialog().OnAddToList();
    EXPECT_THAT(view_.sizes, ElementsAre(FULL, COMPACT));
    EXPECT_EQ(view_.ControlText(IDC_STATUS), "Preparing Add Files");
    EXPECT_THAT(view_.progressUpper, ElementsAre(4)); // two steps per entry, each with a pause
    EXPECT_EQ(view_.progressSteps, 4);
    EXPECT_THAT(view_.pauses, ElementsAre(150, 150, 150, 150));
    EXPECT_THAT(view_.boxes, IsEmpty());
    EXPECT_EQ(Pictures(), (ButtonRow{180, 175, 170, 179, 169}));
    AddToList({"Summit"});
    // In the proposed order, after the earlier additions; the game's list waits for Install.
    EXPECT_EQ(ReadFile(TrackWorkList()),
              Appended(gameList, {DiscTrackRecord("Quarry"), DiscTrackRecord("Tundra"),
                                  DiscTrackRecord("Summit")}));
    EXPECT_EQ(ReadFile(TrackList()), gameList);
    EXPECT_THAT(Entries(IDC_ADDED_LIST),
                ElementsAre("<Inst.> Harbour", "<Inst.> Dunes", "<Temp.> Quarry", "<Temp.> Tundra",
                            "<Temp.> Summit"));
    EXPECT_THAT(Entries(IDC_NEW_LIST), ElementsAreArray(kProposedTracks));
    EXPECT_THAT(Selected(IDC_NEW_LIST), IsEmpty());
}

class AddRefusalTest : public CommandTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        AddDiscTrack("ALPINE", "ALPINE"); // a base track
        AddDiscTrack("dunes", "DUNES");   // an installed further track
        AddDiscCar("Tolva", "TOLVA");     // a base car
        AddDiscCar("falcon", "Falcon");   // an added car
        ASSERT_TRUE(Start());
    }
};

// Tracks are compared with every present track, cars with the added cars only.
TEST_F(AddRefusalTest, EntriesNamedLikeAPresentOneAreRefused) {
    const Bytes trackList = ReadFile(TrackList());
    const Bytes carList = ReadFile(CarList());
    AddToList({"Alpine", "Dunes", "Quarry"});
    ShowTab(DATA_KIND_CARS);
    AddToList({"Falcon", "Tolva"});
    const auto refused = [](const std::string& text) {
        return ShownBox{text + " is already installed and won't be added.", "ZAV Data Patcher",
                        0x30};
    };
    EXPECT_THAT(view_.boxes, ElementsAre(refused("Track 'Alpine'"), refused("Track 'Dunes'"),
                                         refused("Car 'Falcon'")));
    EXPECT_THAT(view_.progressUpper, ElementsAre(2, 2));
    EXPECT_EQ(ReadFile(TrackWorkList()), Appended(trackList, {DiscTrackRecord("Quarry")}));
    EXPECT_EQ(ReadFile(CarWorkList()), Appended(carList, {DiscCarRecord("Tolva")}));
}

TEST_F(AddRefusalTest, RefusalOfEveryEntryRunsNothingAndClearsPendingAdditions) {
    AddToList({"Quarry"});
    const Bytes workList = ReadFile(TrackWorkList());
    view_.Clear();
    AddToList({"Alpine"});
    EXPECT_EQ(view_.boxes.size(), 1u);
    EXPECT_THAT(view_.progressUpper, IsEmpty());
    EXPECT_EQ(ReadFile(TrackWorkList()), workList);
    EXPECT_EQ(Pictures(), (ButtonRow{180, 175, 170, 179, 176})); // Install stays, Cancel goes
    AddToList({"Summit"});
    EXPECT_EQ(Pictures(), (ButtonRow{180, 175, 170, 179, 169}));
}

TEST_F(CommandTest, InstallNewCopiesTheTracksFilesAndWritesTheGameList) {
    const Bytes gameList = ReadFile(TrackList());
    AddToList({"Quarry", "Summit"});
    view_.Clear();
    Dialog().OnInstallNew();
    EXPECT_THAT(view_.progressUpper, ElementsAre(12));
    EXPECT_EQ(view_.progressSteps, 12);
    EXPECT_EQ(view_.ControlText(IDC_STATUS), "Installing files");
    EXPECT_THAT(view_.events, ElementsAre("resize", "resize", "box"));
    EXPECT_THAT(view_.sizes, ElementsAre(FULL, COMPACT));
    EXPECT_THAT(view_.boxes,
                ElementsAre(ShownBox{"New data installed successfully.", "Information", 0x40}));
    const Bytes expected =
        Appended(gameList, {DiscTrackRecord("Quarry"), DiscTrackRecord("Summit")});
    EXPECT_EQ(ReadFile(TrackList()), expected);
    EXPECT_EQ(ReadFile(TrackWorkList()), expected);
    for (const std::string name : {"Quarry", "Summit"}) {
        const std::vector<std::pair<std::string, std::string>> files = {
            {"Binary/Circuits/", name + ".bl3"},
            {"Binary/Mimg/", name + ".img"},
            {"Binary/Resson/", name + ".meg"},
            {"Records/", name + ".brt"},
            {"Records/", "-" + name.substr(1) + ".brt"}};
        for (const auto& [folder, file] : files) {
            EXPECT_EQ(ReadFile(GameFile("Data/" + folder + file)),
                      DiscFile("circuits/" + name + "/" + file))
                << file;
        }
        EXPECT_FALSE(FileExists(GameFile("Data/Binary/Circuits/" + name + ".bl4")));
    }
    EXPECT_THAT(Entries(IDC_ADDED_LIST), ElementsAre("<Inst.> Harbour", "<Inst.> Dunes",
                                                     "<Inst.> Quarry", "<Inst.> Summit"));
    EXPECT_EQ(Pictures(), ALL_INACTIVE);
}

TEST_F(CommandTest, InstallNewOfACarWritesTheAddedCarListNeverTheBaseList) {
    const Bytes gameList = ReadFile(CarList());
    const Bytes baseList = ReadFile(game_.Scripts("voitures.bin"));
    ShowTab(DATA_KIND_CARS);
    AddToList({"Comet"});
    view_.Clear();
    Dialog().OnInstallNew();
    EXPECT_THAT(view_.progressUpper, ElementsAre(4));
    EXPECT_EQ(ReadFile(CarList()), Appended(gameList, {DiscCarRecord("Comet")}));
    EXPECT_EQ(ReadFile(game_.Scripts("voitures.bin")), baseList);
    for (const std::string file : {"Voitures/Comet.bv3", "Mimg/Comet.img", "Resson/Comet.meg"}) {
        EXPECT_EQ(ReadFile(GameFile("Data/Binary/" + file)),
                  DiscFile("voitures/Comet/" + file.substr(file.find('/') + 1)));
    }
    EXPECT_THAT(Entries(IDC_ADDED_LIST), Contains("<Inst.> Comet"));
}

TEST_F(CommandTest, GameListThatCannotBeWrittenIsNamedInTheReport) {
    AddToList({"Quarry"});
    fs::permissions(TrackList(),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const Bytes gameList = ReadFile(TrackList());
    view_.Clear();
    Dialog().OnInstallNew();
    EXPECT_THAT(view_.boxes, ElementsAre(ShownBox{"Unable to update "
                                                  "'C:\\Games\\ZAV\\Data\\Binary\\Scripts\\"
                                                  "circuits.bin' file",
                                                  "ZAV Data Patcher", 0x30}));
    EXPECT_EQ(ReadFile(TrackList()), gameList);
    EXPECT_EQ(view_.sizes.back(), COMPACT);
}

// Trash of a track or car: its record leaves the game's list, the later ones move up, and its
// files go.
struct TrashCase {
    std::int32_t kind;
    std::string name, word, list;
    std::int32_t record;
    std::size_t recordSize;
    std::int32_t steps;
    std::vector<std::string> files, kept;
};

class TrashTest : public CommandTest, public ::testing::WithParamInterface<TrashCase> {};

TEST_P(TrashTest, AnsweredYesDeletesTheRecordAndTheFiles) {
    const TrashCase& c = GetParam();
    const Bytes gameList = ReadFile(game_.Scripts(c.list));
    ShowTab(c.kind);
    Trash(c.name, IDYES);
    EXPECT_THAT(view_.boxes,
                ElementsAre(ShownBox{"The '" + c.name + "' " + c.word +
                                         " will be deleted permanently.\n\nDo you want to "
                                         "continue?",
                                     "Warning", 0x34},
                            ShownBox{"'" + c.name +
                                         "' was successfully deleted from your hard "
                                         "disk.",
                                     "Information", 0x40}));
    EXPECT_THAT(view_.progressUpper, ElementsAre(c.steps));
    EXPECT_EQ(view_.progressSteps, c.steps);
    EXPECT_THAT(view_.sizes, ElementsAre(FULL, COMPACT));
    const Bytes expected = Deleted(gameList, c.record, c.recordSize);
    EXPECT_EQ(ReadFile(game_.Scripts(c.list)), expected);
    EXPECT_EQ(ReadFile(game_.Scripts(c.list.substr(0, c.list.size() - 3) + "sav")), expected);
    for (const std::string& file : c.files) {
        EXPECT_FALSE(FileExists(GameFile("Data/" + file))) << file;
    }
    for (const std::string& file : c.kept) {
        EXPECT_TRUE(FileExists(GameFile("Data/" + file))) << file;
    }
    EXPECT_EQ(Entries(IDC_ADDED_LIST).size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, TrashTest,
    ::testing::Values(TrashCase{DATA_KIND_TRACKS,
                                "Harbour",
                                "track",
                                "circuits.bin",
                                17,
                                140,
                                8,
                                {"Binary/Circuits/Harbour.bl3", "Binary/Mimg/Harbour.img",
                                 "Binary/Resson/Harbour.meg", "Records/Harbour.brt",
                                 "Records/-arbour.brt"},
                                {"Binary/Circuits/Dunes.bl3", "Records/-unes.brt"}},
                      TrashCase{DATA_KIND_CARS,
                                "Falcon",
                                "car",
                                "voiture2.bin",
                                1,
                                128,
                                6,
                                {"Binary/Voitures/Falcon.bv3", "Binary/Mimg/Falcon.img",
                                 "Binary/Resson/Falcon.meg"},
                                {"Binary/Voitures/Viper.bv3"}}),
    [](const auto& test) { return test.param.name; });

TEST_F(CommandTest, TrashDoesNotTrustAListChangedSinceTheStart) {
    // Another program swapped the two further tracks: record 17 now names Dunes.
    Bytes list = ReadFile(TrackList());
    const auto size = static_cast<std::ptrdiff_t>(RecordSize());
    std::swap_ranges(list.begin() + 4 + 16 * size, list.begin() + 4 + 17 * size,
                     list.begin() + 4 + 17 * size);
    WriteFile(TrackList(), list);
    const auto before = FilesBelow(GameFile(""));
    Trash("Harbour", IDYES);
    ASSERT_EQ(view_.boxes.size(), 2u);
    EXPECT_EQ(view_.boxes[1],
              (ShownBox{"Unable to update 'Harbour' file", "ZAV Data Patcher", 0x30}));
    EXPECT_EQ(ReadFile(TrackList()), list);
    EXPECT_EQ(FilesBelow(GameFile("")), before);
}

class UnsafeNameTest : public CommandTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        // A further track whose name would lead its paths out of the game's folders.
        WriteFile(TrackList(), Appended(ReadFile(TrackList()),
                                        {TrackRecord("..\\..\\Windows", options_.version)}));
        ASSERT_TRUE(Start());
    }
};

TEST_F(UnsafeNameTest, TrashOfAnUnsafeNameIsToldOnceAndTouchesNothing) {
    const auto before = FilesBelow(game_.prefix + "/drive_c");
    const Bytes list = ReadFile(TrackList());
    Trash("..\\..\\windows", IDYES);
    // The question, then the operation's own warning; no second report of the same failure.
    ASSERT_EQ(view_.boxes.size(), 2u);
    EXPECT_THAT(view_.boxes[1].text, HasSubstr("path separator"));
    EXPECT_EQ(ReadFile(TrackList()), list);
    EXPECT_EQ(FilesBelow(game_.prefix + "/drive_c"), before);
    EXPECT_EQ(Pictures(), ALL_INACTIVE);
}

TEST_F(CommandTest, CancelRestoresTheShownKindOnlyAndNeverCloses) {
    const Bytes trackList = ReadFile(TrackList());
    ShowTab(DATA_KIND_CARS);
    AddToList({"Lynx"});
    const Bytes carWorkList = ReadFile(CarWorkList());
    ShowTab(DATA_KIND_TRACKS);
    AddToList({"Quarry", "Tundra"});
    Dialog().OnCancel();
    EXPECT_EQ(ReadFile(TrackWorkList()), trackList);
    EXPECT_THAT(Entries(IDC_ADDED_LIST), ElementsAreArray(kAddedTracks));
    EXPECT_THAT(Entries(IDC_NEW_LIST), ElementsAreArray(kProposedTracks));
    EXPECT_EQ(Pictures(), ALL_INACTIVE);
    EXPECT_FALSE(Dialog().Ended());
    EXPECT_THAT(view_.endResults, IsEmpty());
    EXPECT_EQ(ReadFile(CarWorkList()), carWorkList);
    ShowTab(DATA_KIND_CARS);
    EXPECT_THAT(Entries(IDC_ADDED_LIST), Contains("<Temp.> Lynx"));
    EXPECT_EQ(Pictures(), (ButtonRow{180, 175, 170, 179, 169}));
    ShowTab(DATA_KIND_TRACKS);
    AddToList({"Quarry"}); // a cancelled entry can be added again
    EXPECT_EQ(ReadFile(TrackWorkList()), Appended(trackList, {DiscTrackRecord("Quarry")}));
}

TEST_F(CommandTest, CancelWithTheGameListGoneIsFatalAndLeavesTheTemporaryFiles) {
    AddToList({"Quarry"});
    fs::remove(TrackList());
    view_.Clear();
    Dialog().OnCancel();
    EXPECT_THAT(view_.boxes,
                ElementsAre(ShownBox{"File 'C:\\Games\\ZAV\\Data\\Binary\\Scripts\\circuits.bin' "
                                     "not found",
                                     "Fatal Error", 0x10}));
    EXPECT_THAT(view_.exitCodes, ElementsAre(-1));
    EXPECT_TRUE(Dialog().Ended());
    EXPECT_TRUE(FileExists(TrackWorkList()));
    EXPECT_EQ(TemporaryFiles().size(), 2u);
}

TEST_F(CommandTest, NonFatalReportResetsTheWindowButDisplayKeepsItsPicture) {
    AddToList({"Summit"});
    ClickNew("Quarry");
    view_.Clear();
    EXPECT_EQ(Dialog().ReportError(9, nullptr, false), 1);
    EXPECT_THAT(view_.boxes, ElementsAre(ShownBox{"", "ZAV Data Patcher", 0x30}));
    EXPECT_EQ(Pictures(), (ButtonRow{180, 168, 177, 179, 176}));
    EXPECT_EQ(Shell().TrackAddPending, 0);
    EXPECT_THAT(view_.sizes, ElementsAre(COMPACT));
    EXPECT_FALSE(Dialog().Ended());

    // An operation that told the user itself: the window is only reset.
    AddToList({"Summit"});
    view_.Clear();
    EXPECT_EQ(Dialog().ReportError(RESULT_REPORTED, nullptr, false), 1);
    EXPECT_THAT(view_.boxes, IsEmpty());
    EXPECT_EQ(Pictures(), ALL_INACTIVE);
}

TEST_F(CommandTest, ReportClosesThePreviewAndShortensLongPaths) {
    ClickNew("Quarry");
    Dialog().OnDisplay();
    Dialog().ReportError(ERR_UPDATE_FAILED, "circuits.bin", false);
    EXPECT_EQ(view_.boxes.back().text, "Unable to update 'circuits.bin' file");
    EXPECT_EQ(view_.sizes.back(), COMPACT);

    const std::string path = "C:\\" + std::string(240, 'x') + "\\circuits.bin";
    Dialog().ReportError(ERR_FILE_NOT_FOUND, path.c_str(), false);
    EXPECT_LE(view_.boxes.back().text.size(), 255u);
    EXPECT_TRUE(view_.boxes.back().text.starts_with("File 'C:\\"));
    EXPECT_TRUE(view_.boxes.back().text.ends_with("circuits.bin' not found"));
}

} // namespace
} // namespace zav::test
