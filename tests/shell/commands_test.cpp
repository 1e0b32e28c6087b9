// The dialog's commands on the sample game: "Add to List", "Install New", "Trash", "Cancel", and
// the non-fatal error report that returns the window to its idle state.
#include <gtest/gtest.h>

#include <filesystem>

#include "settings/error_report.h"
#include "shell/dialog_fixture.h"
#include "support/list_bytes.h"

namespace zav::test {
namespace {

namespace fs = std::filesystem;
using ::testing::Contains;
using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

using Flags5 = std::array<std::int32_t, 5>;

class CommandTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        ASSERT_TRUE(Start());
    }

    // The game's copy of a data file, by its folder below Data.
    std::string GameFile(const std::string& folder, const std::string& name) const {
        return game_.Game("Data/" + folder + "/" + name);
    }
    bool GameHas(const std::string& folder, const std::string& name) const {
        return FileExists(GameFile(folder, name));
    }
    Bytes DiscFile(const std::string& kindFolder, const std::string& entry,
                   const std::string& name) const {
        return ReadFile(game_.Disc(kindFolder + "/" + entry + "/" + name));
    }
};

// "Add to List".

using AddToListTest = CommandTest;

TEST_F(AddToListTest, AppendsTheStagedRecordsToTheWorkingListOnly) {
    const Bytes gameList = ReadFile(TrackList());
    view_.ClearRecords();
    AddToList({"Summit", "Quarry"});
    EXPECT_EQ(
        ReadFile(TrackWorkList()),
        WithRecordsAppended(gameList, {DiscTrackRecord("Quarry"), DiscTrackRecord("Summit")}));
    EXPECT_EQ(ReadFile(TrackList()), gameList);
    EXPECT_THAT(view_.boxes, IsEmpty());
    EXPECT_EQ(Analysis().PresentTrackTotal, 20);
    EXPECT_EQ(Shell().TrackAddPending, 1);
    EXPECT_EQ(Shell().CarAddPending, 0);
}

TEST_F(AddToListTest, RunsInTheFullLayoutWithTwoStepsPerEntry) {
    ClickNew("Quarry");
    ClickNew("Tundra");
    view_.ClearRecords();
    Dialog().OnAddToList();
    EXPECT_THAT(view_.sizes, ElementsAre(FULL, COMPACT));
    EXPECT_EQ(view_.ControlText(IDC_STATUS), "Preparing Add Files");
    EXPECT_THAT(view_.progressRanges, ElementsAre(std::pair{0, 4}));
    EXPECT_THAT(view_.progressStepSizes, ElementsAre(1));
    EXPECT_THAT(view_.progressPositions, ElementsAre(0));
    EXPECT_EQ(view_.progressSteps, 4);
    EXPECT_THAT(view_.pauses, ElementsAre(150, 150, 150, 150));
    EXPECT_EQ(Flags(), (Flags5{0, 0, 1, 0, 1}));
    EXPECT_EQ(Pictures(), (ButtonRow{180, 175, 170, 179, 169}));
}

TEST_F(AddToListTest, CarsAreAppendedToTheAddedCarWorkingList) {
    const Bytes gameList = ReadFile(CarList());
    const Bytes baseList = ReadFile(game_.Scripts("voitures.bin"));
    ShowTab(DATA_KIND_CARS);
    view_.ClearRecords();
    AddToList({"Nomad"});
    EXPECT_THAT(view_.progressRanges, ElementsAre(std::pair{0, 2}));
    EXPECT_EQ(ReadFile(CarWorkList()), WithRecordsAppended(gameList, {DiscCarRecord("Nomad")}));
    EXPECT_EQ(ReadFile(CarList()), gameList);
    EXPECT_EQ(ReadFile(game_.Scripts("voitures.bin")), baseList);
    EXPECT_THAT(Entries(IDC_ADDED_LIST),
                ElementsAre("<Inst.> Falcon", "<Inst.> Viper", "<Temp.> Nomad"));
    EXPECT_EQ(Shell().CarAddPending, 1);
    EXPECT_EQ(Shell().TrackAddPending, 0);
}

TEST_F(AddToListTest, SecondAddAppendsAfterTheFirst) {
    const Bytes gameList = ReadFile(TrackList());
    AddToList({"Tundra"});
    AddToList({"Quarry"});
    EXPECT_EQ(
        ReadFile(TrackWorkList()),
        WithRecordsAppended(gameList, {DiscTrackRecord("Tundra"), DiscTrackRecord("Quarry")}));
    EXPECT_THAT(Entries(IDC_ADDED_LIST), ElementsAre("<Inst.> Harbour", "<Inst.> Dunes",
                                                     "<Temp.> Tundra", "<Temp.> Quarry"));
}

class AddRefusalTest : public DialogTest {
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

TEST_F(AddRefusalTest, TracksNamedLikeAnyPresentTrackAreRefusedOthersAdded) {
    const Bytes gameList = ReadFile(TrackList());
    ClickNew("Alpine");
    ClickNew("Dunes");
    ClickNew("Quarry");
    view_.ClearRecords();
    Dialog().OnAddToList();
    ASSERT_EQ(view_.boxes.size(), 2u);
    EXPECT_EQ(view_.boxes[0].text, "Track 'Alpine' is already installed and won't be added.");
    EXPECT_EQ(view_.boxes[0].caption, "ZAV Data Patcher");
    EXPECT_EQ(view_.boxes[0].style, 0x30u);
    EXPECT_EQ(view_.boxes[1].text, "Track 'Dunes' is already installed and won't be added.");
    EXPECT_THAT(view_.progressRanges, ElementsAre(std::pair{0, 2}));
    EXPECT_EQ(ReadFile(TrackWorkList()),
              WithRecordsAppended(gameList, {DiscTrackRecord("Quarry")}));
    EXPECT_THAT(Entries(IDC_ADDED_LIST),
                ElementsAre("<Inst.> Harbour", "<Inst.> Dunes", "<Temp.> Quarry"));
}

TEST_F(AddRefusalTest, CarsAreComparedWithFurtherCarsOnlySoABaseCarsNameIsAdded) {
    const Bytes gameList = ReadFile(CarList());
    ShowTab(DATA_KIND_CARS);
    ClickNew("Falcon");
    ClickNew("Tolva");
    view_.ClearRecords();
    Dialog().OnAddToList();
    ASSERT_EQ(view_.boxes.size(), 1u);
    EXPECT_EQ(view_.boxes[0].text, "Car 'Falcon' is already installed and won't be added.");
    EXPECT_EQ(view_.boxes[0].caption, "ZAV Data Patcher");
    EXPECT_EQ(ReadFile(CarWorkList()), WithRecordsAppended(gameList, {DiscCarRecord("Tolva")}));
    EXPECT_THAT(Entries(IDC_ADDED_LIST),
                ElementsAre("<Inst.> Falcon", "<Inst.> Viper", "<Temp.> Tolva"));
}

TEST_F(AddRefusalTest, EveryEntryRefusedShowsTheListsAgainWithoutRunningTheCommand) {
    const Bytes workList = ReadFile(TrackWorkList());
    ClickNew("Alpine");
    view_.ClearRecords();
    Dialog().OnAddToList();
    ASSERT_EQ(view_.boxes.size(), 1u);
    EXPECT_THAT(view_.sizes, Each(COMPACT));
    EXPECT_THAT(view_.progressRanges, IsEmpty());
    EXPECT_EQ(view_.ControlText(IDC_STATUS), "static");
    EXPECT_THAT(SelectedEntries(IDC_NEW_LIST), IsEmpty());
    EXPECT_EQ(ReadFile(TrackWorkList()), workList);
}

TEST_F(AddRefusalTest, RefusalClearsPendingAdditionsButInstallStaysActive) {
    AddToList({"Quarry"});
    EXPECT_EQ(Flags(), (Flags5{0, 0, 1, 0, 1}));
    AddToList({"Alpine"});
    EXPECT_EQ(Shell().TrackAddPending, 0);
    EXPECT_EQ(Flags(), (Flags5{0, 0, 1, 0, 0}));
    AddToList({"Summit"});
    EXPECT_EQ(Flags(), (Flags5{0, 0, 1, 0, 1}));
}

TEST_F(AddToListTest, EntryWithAMissingFileIsLeftOutWithAWarning) {
    fs::remove(game_.Disc("circuits/Quarry/Quarry.meg"));
    const Bytes gameList = ReadFile(TrackList());
    ClickNew("Quarry");
    ClickNew("Summit");
    view_.ClearRecords();
    Dialog().OnAddToList();
    ASSERT_EQ(view_.boxes.size(), 1u);
    EXPECT_EQ(view_.boxes[0].text, "File '" + DiscPath("circuits", "Quarry", "Quarry.meg") +
                                       "' not found, track 'Quarry' won't be add");
    EXPECT_EQ(view_.boxes[0].caption, "Warning");
    EXPECT_EQ(view_.boxes[0].style, 0x30u);
    EXPECT_THAT(view_.progressRanges, ElementsAre(std::pair{0, 2}));
    EXPECT_EQ(ReadFile(TrackWorkList()),
              WithRecordsAppended(gameList, {DiscTrackRecord("Summit")}));
}

// "Install New".

using InstallNewTest = CommandTest;

TEST_F(InstallNewTest, InstallingTwoTracksCopiesTheirFilesWritesTheListAndSaysSo) {
    const Bytes gameList = ReadFile(TrackList());
    AddToList({"Quarry", "Summit"});
    view_.ClearRecords();
    Dialog().OnInstallNew();

    EXPECT_THAT(view_.progressRanges, ElementsAre(std::pair{0, 12}));
    EXPECT_EQ(view_.progressSteps, 12);
    EXPECT_EQ(view_.ControlText(IDC_STATUS), "Installing files");
    EXPECT_THAT(view_.sizes, ElementsAre(FULL, COMPACT));
    ASSERT_EQ(view_.boxes.size(), 1u);
    EXPECT_EQ(view_.boxes[0].text, "New data installed successfully.");
    EXPECT_EQ(view_.boxes[0].caption, "Information");
    EXPECT_EQ(view_.boxes[0].style, 0x40u);
    EXPECT_THAT(view_.events, ElementsAre("resize", "resize", "box"));

    const Bytes expected =
        WithRecordsAppended(gameList, {DiscTrackRecord("Quarry"), DiscTrackRecord("Summit")});
    EXPECT_EQ(ReadFile(TrackList()), expected);
    EXPECT_EQ(ReadFile(TrackWorkList()), expected);
    for (const std::string name : {"Quarry", "Summit"}) {
        EXPECT_EQ(ReadFile(GameFile("Binary/Circuits", name + ".bl3")),
                  DiscFile("circuits", name, name + ".bl3"));
        EXPECT_EQ(ReadFile(GameFile("Binary/Mimg", name + ".img")),
                  DiscFile("circuits", name, name + ".img"));
        EXPECT_EQ(ReadFile(GameFile("Binary/Resson", name + ".meg")),
                  DiscFile("circuits", name, name + ".meg"));
        EXPECT_EQ(ReadFile(GameFile("Records", name + ".brt")),
                  DiscFile("circuits", name, name + ".brt"));
        const std::string second = "-" + name.substr(1) + ".brt";
        EXPECT_EQ(ReadFile(GameFile("Records", second)), DiscFile("circuits", name, second));
        EXPECT_FALSE(GameHas("Binary/Circuits", name + ".bl4"));
    }
    EXPECT_THAT(Entries(IDC_ADDED_LIST), ElementsAre("<Inst.> Harbour", "<Inst.> Dunes",
                                                     "<Inst.> Quarry", "<Inst.> Summit"));
    EXPECT_EQ(Flags(), (Flags5{0, 0, 0, 0, 0}));
    EXPECT_EQ(Shell().TrackAddPending, 0);
}

TEST_F(InstallNewTest, InstallingACarWritesTheAddedCarListNeverTheBaseList) {
    const Bytes gameList = ReadFile(CarList());
    const Bytes baseList = ReadFile(game_.Scripts("voitures.bin"));
    ShowTab(DATA_KIND_CARS);
    AddToList({"Comet"});
    view_.ClearRecords();
    Dialog().OnInstallNew();
    EXPECT_THAT(view_.progressRanges, ElementsAre(std::pair{0, 4}));
    EXPECT_EQ(view_.progressSteps, 4);
    ASSERT_EQ(view_.boxes.size(), 1u);
    EXPECT_EQ(view_.boxes[0].text, "New data installed successfully.");
    EXPECT_EQ(ReadFile(CarList()), WithRecordsAppended(gameList, {DiscCarRecord("Comet")}));
    EXPECT_EQ(ReadFile(game_.Scripts("voitures.bin")), baseList);
    EXPECT_EQ(ReadFile(GameFile("Binary/Voitures", "Comet.bv3")),
              DiscFile("voitures", "Comet", "Comet.bv3"));
    EXPECT_EQ(ReadFile(GameFile("Binary/Mimg", "Comet.img")),
              DiscFile("voitures", "Comet", "Comet.img"));
    EXPECT_EQ(ReadFile(GameFile("Binary/Resson", "Comet.meg")),
              DiscFile("voitures", "Comet", "Comet.meg"));
    EXPECT_FALSE(GameHas("Binary/Voitures", "Comet.bv4"));
    EXPECT_THAT(Entries(IDC_ADDED_LIST),
                ElementsAre("<Inst.> Falcon", "<Inst.> Viper", "<Inst.> Comet"));
}

TEST_F(InstallNewTest, DeclinedReplacementKeepsTheGamesFileAndStillInstalls) {
    WriteFile(GameFile("Binary/Circuits", "") + "/QUARRY.BL3", std::string_view("the game's own"));
    AddToList({"Quarry"});
    view_.ClearRecords();
    view_.answers = {IDNO};
    Dialog().OnInstallNew();
    ASSERT_EQ(view_.boxes.size(), 2u);
    EXPECT_EQ(view_.boxes[0].caption, "File in copy");
    EXPECT_EQ(view_.boxes[0].style & 0xFu, 0x4u);
    EXPECT_EQ(view_.boxes[1].text, "New data installed successfully.");
    EXPECT_EQ(ReadFile(GameFile("Binary/Circuits", "Quarry.bl3")),
              Bytes(std::string_view("the game's own").begin(),
                    std::string_view("the game's own").end()));
    EXPECT_THAT(Entries(IDC_ADDED_LIST), Contains("<Inst.> Quarry"));
}

TEST_F(InstallNewTest, MissingDataFolderEndsTheCommandWithAFileErrorNamingTheFile) {
    const Bytes gameList = ReadFile(TrackList());
    fs::remove_all(game_.Game("Data/Binary/Mimg"));
    AddToList({"Quarry"});
    const auto addedBefore = Entries(IDC_ADDED_LIST);
    view_.ClearRecords();
    Dialog().OnInstallNew();

    ASSERT_EQ(view_.boxes.size(), 1u);
    EXPECT_NE(view_.boxes[0].text.find("C:\\Games\\ZAV\\Data\\Binary\\Mimg\\Quarry.img"),
              std::string::npos)
        << view_.boxes[0].text;
    EXPECT_EQ(view_.boxes[0].style & 0xF0u, 0x10u);
    EXPECT_EQ(ReadFile(TrackList()), gameList);
    EXPECT_TRUE(GameHas("Binary/Circuits", "Quarry.bl3"));
    // The command ended at the error: the lists were not shown again.
    EXPECT_THAT(view_.pictures, IsEmpty());
    EXPECT_EQ(Entries(IDC_ADDED_LIST), addedBefore);
    EXPECT_EQ(Analysis().PresentTrackFlags[18], PRESENT_ADDED);
    EXPECT_FALSE(Dialog().Ended());

    Dialog().OnCloseButton();
    EXPECT_FALSE(FileExists(TrackWorkList()));
    EXPECT_THAT(TemporaryFolders(), IsEmpty());
}

TEST_F(InstallNewTest, ListThatCannotBeWrittenIsReportedWithItsOwnPath) {
    AddToList({"Quarry"});
    fs::permissions(TrackList(),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const Bytes gameList = ReadFile(TrackList());
    view_.ClearRecords();
    Dialog().OnInstallNew();
    ASSERT_EQ(view_.boxes.size(), 1u);
    // The message names the list that could not be written, not the staging list.
    EXPECT_EQ(view_.boxes[0].text,
              "Unable to update 'C:\\Games\\ZAV\\Data\\Binary\\Scripts\\circuits.bin' file");
    EXPECT_EQ(view_.boxes[0].caption, "ZAV Data Patcher");
    EXPECT_EQ(view_.boxes[0].style, 0x30u);
    EXPECT_EQ(ReadFile(TrackList()), gameList);
    EXPECT_EQ(view_.sizes.back(), COMPACT);
    EXPECT_THAT(Entries(IDC_ADDED_LIST), Contains("<Inst.> Quarry"));
    EXPECT_EQ(Shell().TrackAddPending, 0);
}

class AcceleratedInstallTest : public CommandTest {
protected:
    AcceleratedInstallTest() { options_.accelerated = true; }
};

TEST_F(AcceleratedInstallTest, AcceleratedGameGetsTheBl4FileOnly) {
    AddToList({"Tundra"});
    Dialog().OnInstallNew();
    EXPECT_EQ(ReadFile(GameFile("Binary/Circuits", "Tundra.bl4")),
              DiscFile("circuits", "Tundra", "Tundra.bl4"));
    EXPECT_FALSE(GameHas("Binary/Circuits", "Tundra.bl3"));
}

// "Trash".

using TrashTest = CommandTest;

TEST_F(TrashTest, AnsweredNoChangesNothingAndDropsTheSelection) {
    const auto before = FilesBelow(game_.Game(""));
    const Bytes gameList = ReadFile(TrackList());
    ClickAdded("Harbour");
    view_.ClearRecords();
    view_.answers = {IDNO};
    Dialog().OnTrash();
    ASSERT_EQ(view_.boxes.size(), 1u);
    EXPECT_EQ(view_.boxes[0].text,
              "The 'Harbour' track will be deleted permanently.\n\nDo you want to continue?");
    EXPECT_EQ(view_.boxes[0].caption, "Warning");
    EXPECT_EQ(view_.boxes[0].style, 0x34u);
    EXPECT_EQ(view_.ControlText(IDC_STATUS), "Deleting files");
    EXPECT_THAT(view_.sizes, ElementsAre(COMPACT));
    EXPECT_EQ(view_.progressSteps, 0);
    EXPECT_EQ(ReadFile(TrackList()), gameList);
    EXPECT_EQ(FilesBelow(game_.Game("")), before);
    EXPECT_THAT(Entries(IDC_ADDED_LIST), ElementsAre("<Inst.> Harbour", "<Inst.> Dunes"));
    EXPECT_THAT(SelectedEntries(IDC_ADDED_LIST), IsEmpty());
    EXPECT_EQ(Shell().TrashEnabled, 0);
}

TEST_F(TrashTest, AnsweredYesDeletesTheTracksRecordAndFiles) {
    const Bytes gameList = ReadFile(TrackList());
    const auto size = static_cast<std::size_t>(RecordSize());
    ClickAdded("Harbour");
    view_.ClearRecords();
    view_.answers = {IDYES};
    Dialog().OnTrash();

    EXPECT_THAT(view_.progressRanges, ElementsAre(std::pair{0, 8}));
    EXPECT_EQ(view_.progressSteps, 8);
    EXPECT_THAT(view_.sizes, ElementsAre(FULL, COMPACT));
    ASSERT_EQ(view_.boxes.size(), 2u);
    EXPECT_EQ(view_.boxes[1].text, "'Harbour' was successfully deleted from your hard disk.");
    EXPECT_EQ(view_.boxes[1].caption, "Information");
    EXPECT_EQ(view_.boxes[1].style, 0x40u);

    // Record 17 goes, record 18 moves into its place and stays behind as a stale copy.
    Bytes expected = gameList;
    PutInt32(expected, 0, 17);
    std::copy(gameList.begin() + static_cast<std::ptrdiff_t>(4 + 17 * size),
              gameList.begin() + static_cast<std::ptrdiff_t>(4 + 18 * size),
              expected.begin() + static_cast<std::ptrdiff_t>(4 + 16 * size));
    EXPECT_EQ(ReadFile(TrackList()), expected);
    EXPECT_EQ(ReadFile(TrackWorkList()), expected);
    EXPECT_FALSE(GameHas("Binary/Circuits", "Harbour.bl3"));
    EXPECT_FALSE(GameHas("Binary/Mimg", "Harbour.img"));
    EXPECT_FALSE(GameHas("Binary/Resson", "Harbour.meg"));
    EXPECT_FALSE(GameHas("Records", "Harbour.brt"));
    EXPECT_FALSE(GameHas("Records", "-arbour.brt"));
    EXPECT_TRUE(GameHas("Binary/Circuits", "Dunes.bl3"));
    EXPECT_TRUE(GameHas("Records", "-unes.brt"));
    EXPECT_THAT(Entries(IDC_ADDED_LIST), ElementsAre("<Inst.> Dunes"));
}

TEST_F(TrashTest, TrashingACarDeletesItFromTheAddedCarList) {
    const Bytes gameList = ReadFile(CarList());
    ShowTab(DATA_KIND_CARS);
    ClickAdded("Falcon");
    view_.ClearRecords();
    view_.answers = {IDYES};
    Dialog().OnTrash();
    EXPECT_EQ(view_.boxes.at(0).text,
              "The 'Falcon' car will be deleted permanently.\n\nDo you want to continue?");
    EXPECT_THAT(view_.progressRanges, ElementsAre(std::pair{0, 6}));
    EXPECT_EQ(view_.progressSteps, 6);
    EXPECT_EQ(view_.boxes.at(1).text, "'Falcon' was successfully deleted from your hard disk.");
    Bytes expected = gameList;
    PutInt32(expected, 0, 1);
    std::copy(gameList.begin() + 4 + 128, gameList.begin() + 4 + 256, expected.begin() + 4);
    EXPECT_EQ(ReadFile(CarList()), expected);
    EXPECT_EQ(ReadFile(CarWorkList()), expected);
    EXPECT_FALSE(GameHas("Binary/Voitures", "Falcon.bv3"));
    EXPECT_FALSE(GameHas("Binary/Mimg", "Falcon.img"));
    EXPECT_FALSE(GameHas("Binary/Resson", "Falcon.meg"));
    EXPECT_TRUE(GameHas("Binary/Voitures", "Viper.bv3"));
    EXPECT_THAT(Entries(IDC_ADDED_LIST), ElementsAre("<Inst.> Viper"));
}

TEST_F(TrashTest, TrackInstalledInThisRunCanBeTrashedAgain) {
    const Bytes gameList = ReadFile(TrackList());
    AddToList({"Riverside"});
    Dialog().OnInstallNew();
    ClickAdded("Riverside");
    view_.answers = {IDYES};
    Dialog().OnTrash();
    EXPECT_THAT(Entries(IDC_ADDED_LIST), ElementsAre("<Inst.> Harbour", "<Inst.> Dunes"));
    const Bytes now = ReadFile(TrackList());
    EXPECT_EQ(GetInt32(now, 0), 18);
    EXPECT_EQ(Bytes(now.begin(), now.begin() + static_cast<std::ptrdiff_t>(gameList.size())),
              gameList);
    EXPECT_FALSE(GameHas("Binary/Circuits", "Riverside.bl3"));
    // Still proposed: it can be added again.
    EXPECT_THAT(Entries(IDC_NEW_LIST), Contains("Riverside"));
}

TEST_F(TrashTest, ListChangedSinceTheStartIsNotTrustedWithTheDeletion) {
    // Another program swapped the two further tracks: record 17 now names Dunes.
    Bytes list = ReadFile(TrackList());
    const auto size = static_cast<std::ptrdiff_t>(RecordSize());
    std::swap_ranges(list.begin() + 4 + 16 * size, list.begin() + 4 + 17 * size,
                     list.begin() + 4 + 17 * size);
    WriteFile(TrackList(), list);
    const auto before = FilesBelow(game_.Game(""));
    ClickAdded("Harbour");
    view_.ClearRecords();
    view_.answers = {IDYES};
    Dialog().OnTrash();
    ASSERT_EQ(view_.boxes.size(), 2u);
    EXPECT_EQ(view_.boxes[1].text, "Unable to update 'Harbour' file");
    EXPECT_EQ(view_.boxes[1].caption, "ZAV Data Patcher");
    EXPECT_EQ(view_.boxes[1].style, 0x30u);
    EXPECT_EQ(ReadFile(TrackList()), list);
    EXPECT_EQ(FilesBelow(game_.Game("")), before);
    EXPECT_EQ(view_.sizes.back(), COMPACT);
}

class UnsafeNameTest : public CommandTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        // A further track whose name would lead its paths out of the game's folders.
        Bytes list = ReadFile(TrackList());
        list = WithRecordsAppended(list, {TrackRecord("..\\..\\Windows", options_.version)});
        WriteFile(TrackList(), list);
        ASSERT_TRUE(Start());
    }
};

TEST_F(UnsafeNameTest, TrashOfAnUnsafeNameIsToldOnceAndTouchesNothing) {
    const auto before = FilesBelow(game_.prefix + "/drive_c");
    const Bytes list = ReadFile(TrackList());
    ClickAdded("..\\..\\windows");
    view_.ClearRecords();
    view_.answers = {IDYES};
    Dialog().OnTrash();
    // The question, then the operation's own warning; no second report of the same failure.
    ASSERT_EQ(view_.boxes.size(), 2u);
    EXPECT_NE(view_.boxes[1].text.find("path separator"), std::string::npos) << view_.boxes[1].text;
    EXPECT_EQ(ReadFile(TrackList()), list);
    EXPECT_EQ(FilesBelow(game_.prefix + "/drive_c"), before);
    EXPECT_EQ(Flags(), (Flags5{0, 0, 0, 0, 0}));
    EXPECT_EQ(view_.sizes.back(), COMPACT);
    EXPECT_EQ(Entries(IDC_ADDED_LIST).size(), 3u);
}

// "Cancel".

using CancelTest = CommandTest;

TEST_F(CancelTest, RestoresTheWorkingListAndTheScanOfTheShownKindOnly) {
    const Bytes trackList = ReadFile(TrackList());
    ShowTab(DATA_KIND_CARS);
    AddToList({"Lynx"});
    const Bytes carWorkList = ReadFile(CarWorkList());
    ShowTab(DATA_KIND_TRACKS);
    AddToList({"Quarry", "Tundra"});
    ASSERT_NE(ReadFile(TrackWorkList()), trackList);

    Dialog().OnCancel();
    EXPECT_EQ(ReadFile(TrackWorkList()), trackList);
    EXPECT_EQ(Analysis().PresentTrackTotal, 18);
    EXPECT_THAT(Entries(IDC_ADDED_LIST), ElementsAre("<Inst.> Harbour", "<Inst.> Dunes"));
    EXPECT_THAT(Entries(IDC_NEW_LIST), ElementsAre("Quarry", "Riverside", "Summit", "Tundra"));
    EXPECT_EQ(Analysis().NewTrackTotal, 4);
    EXPECT_EQ(Flags(), (Flags5{0, 0, 0, 0, 0}));
    EXPECT_EQ(Shell().TrackAddPending, 0);

    EXPECT_EQ(ReadFile(CarWorkList()), carWorkList);
    EXPECT_EQ(Shell().CarAddPending, 1);
    ShowTab(DATA_KIND_CARS);
    EXPECT_THAT(Entries(IDC_ADDED_LIST), Contains("<Temp.> Lynx"));
    EXPECT_EQ(Flags(), (Flags5{0, 0, 1, 0, 1}));
}

TEST_F(CancelTest, CancelledEntryCanBeAddedAgain) {
    const Bytes gameList = ReadFile(TrackList());
    AddToList({"Quarry"});
    Dialog().OnCancel();
    AddToList({"Quarry"});
    EXPECT_EQ(ReadFile(TrackWorkList()),
              WithRecordsAppended(gameList, {DiscTrackRecord("Quarry")}));
}

TEST_F(CancelTest, NeverClosesTheDialog) {
    Dialog().OnCancel();
    AddToList({"Quarry"});
    Dialog().OnCancel();
    EXPECT_FALSE(Dialog().Ended());
    EXPECT_THAT(view_.endDialogResults, IsEmpty());
    EXPECT_THAT(view_.exitCodes, IsEmpty());
}

TEST_F(CancelTest, GameListGoneIsFatalAndLeavesTheTemporaryFiles) {
    AddToList({"Quarry"});
    fs::remove(TrackList());
    view_.ClearRecords();
    Dialog().OnCancel();
    ASSERT_EQ(view_.boxes.size(), 1u);
    EXPECT_EQ(view_.boxes[0].text,
              "File 'C:\\Games\\ZAV\\Data\\Binary\\Scripts\\circuits.bin' not found");
    EXPECT_EQ(view_.boxes[0].caption, "Fatal Error");
    EXPECT_EQ(view_.boxes[0].style, 0x10u);
    EXPECT_THAT(view_.exitCodes, ElementsAre(-1));
    EXPECT_TRUE(Dialog().Ended());
    EXPECT_TRUE(FileExists(TrackWorkList()));
    EXPECT_TRUE(FileExists(CarWorkList()));
    EXPECT_EQ(TemporaryFiles().size(), 2u);
}

// The non-fatal error report.

using ReportErrorTest = CommandTest;

TEST_F(ReportErrorTest, NonFatalReportClearsTheFlagsButDisplayKeepsItsPicture) {
    AddToList({"Summit"});
    ClickNew("Quarry");
    ASSERT_EQ(Flags(), (Flags5{1, 1, 1, 0, 1}));
    view_.ClearRecords();
    EXPECT_EQ(Dialog().ReportError(9, nullptr, false), 1);
    ASSERT_EQ(view_.boxes.size(), 1u);
    EXPECT_EQ(view_.boxes[0].text, "");
    EXPECT_EQ(view_.boxes[0].caption, "ZAV Data Patcher");
    EXPECT_EQ(view_.boxes[0].style, 0x30u);
    EXPECT_EQ(Flags(), (Flags5{0, 1, 0, 0, 0}));
    EXPECT_EQ(Shell().TrackAddPending, 0);
    EXPECT_EQ(Shell().CarAddPending, 0);
    EXPECT_EQ(Pictures(), (ButtonRow{180, 168, 177, 179, 176}));
    EXPECT_THAT(view_.sizes, ElementsAre(COMPACT));
    EXPECT_FALSE(Dialog().Ended());
}

TEST_F(ReportErrorTest, ReportClosesAPreviewLayout) {
    ClickNew("Quarry");
    Dialog().OnDisplay();
    Dialog().ReportError(ERR_UPDATE_FAILED, "circuits.bin", false);
    EXPECT_EQ(view_.boxes.back().text, "Unable to update 'circuits.bin' file");
    EXPECT_EQ(view_.sizes.back(), COMPACT);
}

TEST_F(ReportErrorTest, OperationThatToldTheUserItselfOnlyResetsTheWindow) {
    AddToList({"Summit"});
    view_.ClearRecords();
    EXPECT_EQ(Dialog().ReportError(RESULT_REPORTED, nullptr, false), 1);
    EXPECT_THAT(view_.boxes, IsEmpty());
    EXPECT_EQ(Flags(), (Flags5{0, 0, 0, 0, 0}));
    EXPECT_THAT(view_.sizes, ElementsAre(COMPACT));
}

TEST_F(ReportErrorTest, LongPathIsShortenedToTheMessageLimit) {
    const std::string path = "C:\\" + std::string(240, 'x') + "\\circuits.bin";
    Dialog().ReportError(ERR_FILE_NOT_FOUND, path.c_str(), false);
    ASSERT_EQ(view_.boxes.size(), 1u);
    EXPECT_LE(view_.boxes[0].text.size(), 255u);
    EXPECT_TRUE(view_.boxes[0].text.starts_with("File 'C:\\")) << view_.boxes[0].text;
    EXPECT_TRUE(view_.boxes[0].text.ends_with("circuits.bin' not found")) << view_.boxes[0].text;
}

} // namespace
} // namespace zav::test
