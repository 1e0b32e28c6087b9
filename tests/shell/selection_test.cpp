// Selections in the dialog's lists: what they show, which commands they make active, the space
// lines, tabs and the preview mode of "Display ->".
#include <gtest/gtest.h>

#include <filesystem>

#include "shell/dialog_fixture.h"

namespace zav::test {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr std::uint64_t MB = 1048576;
constexpr std::uint64_t GB = 1024 * MB;

using Flags5 = std::array<std::int32_t, 5>;

class ListContentTest : public DialogTest {};

TEST_F(ListContentTest, ProposedEntriesFollowTheDiscFoldersAndTheirListsNotTheFolderNames) {
    AddDiscTrack("aardvark", "AARDVARK");
    AddDiscTrack("Bogus", "Elsewhere"); // its list names another track
    WriteFile(game_.Disc("circuits") + "/Crater", std::string_view("a file, not a folder"));
    ASSERT_TRUE(Start());
    EXPECT_THAT(Entries(IDC_NEW_LIST),
                ElementsAre("Aardvark", "Quarry", "Riverside", "Summit", "Tundra"));
}

TEST_F(ListContentTest, ProposedTrackAlreadyInTheGameIsStillProposed) {
    AddDiscTrack("Harbour", "Harbour");
    ASSERT_TRUE(Start());
    EXPECT_THAT(Entries(IDC_NEW_LIST),
                ElementsAre("Harbour", "Quarry", "Riverside", "Summit", "Tundra"));
}

TEST_F(ListContentTest, AddedEntriesFollowInstalledOnesWithTheTemporaryMark) {
    ASSERT_TRUE(Start());
    AddToList({"Summit", "Quarry"});
    EXPECT_THAT(Entries(IDC_ADDED_LIST), ElementsAre("<Inst.> Harbour", "<Inst.> Dunes",
                                                     "<Temp.> Quarry", "<Temp.> Summit"));
    // The proposed entries stay where they are, with nothing selected.
    EXPECT_THAT(Entries(IDC_NEW_LIST), ElementsAre("Quarry", "Riverside", "Summit", "Tundra"));
    EXPECT_THAT(SelectedEntries(IDC_NEW_LIST), IsEmpty());
}

TEST_F(ListContentTest, GameWithOnlyBaseEntriesShowsAnEmptyAddedList) {
    // A track list of the 16 base records and an empty added-car list.
    Bytes tracks = ReadFile(TrackList());
    tracks.resize(4 + 16 * static_cast<std::size_t>(RecordSize()));
    tracks[0] = 16;
    WriteFile(TrackList(), tracks);
    WriteFile(CarList(), Bytes(4, 0));
    ASSERT_TRUE(Start());
    EXPECT_EQ(Entries(IDC_PRESENT_LIST).size(), 16u);
    EXPECT_THAT(Entries(IDC_ADDED_LIST), IsEmpty());
    ShowTab(DATA_KIND_CARS);
    EXPECT_EQ(Entries(IDC_PRESENT_LIST).size(), 8u);
    EXPECT_THAT(Entries(IDC_ADDED_LIST), IsEmpty());
}

class ButtonStateTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        ASSERT_TRUE(Start());
    }
};

TEST_F(ButtonStateTest, OneProposedEntryMakesAddAndDisplayActive) {
    ClickNew("Quarry");
    EXPECT_EQ(Flags(), (Flags5{1, 1, 0, 0, 0}));
    EXPECT_EQ(Pictures(), (ButtonRow{173, 168, 177, 179, 176}));
}

TEST_F(ButtonStateTest, SecondProposedEntryTurnsDisplayOffButKeepsAdd) {
    ClickNew("Quarry");
    ClickNew("Tundra");
    EXPECT_EQ(Flags(), (Flags5{1, 0, 0, 0, 0}));
    EXPECT_EQ(Pictures(), (ButtonRow{173, 175, 177, 179, 176}));
}

TEST_F(ButtonStateTest, DeselectingTheLastProposedEntryTurnsBothOff) {
    ClickNew("Quarry");
    ClickNew("Quarry", false);
    EXPECT_EQ(Flags(), (Flags5{0, 0, 0, 0, 0}));
    EXPECT_EQ(Pictures(), ALL_INACTIVE);
}

TEST_F(ButtonStateTest, AddedEntryClearsTheProposedSelectionAndMakesTrashActive) {
    ClickNew("Quarry");
    ClickNew("Summit");
    ClickAdded("Dunes");
    EXPECT_THAT(SelectedEntries(IDC_NEW_LIST), IsEmpty());
    EXPECT_THAT(SelectedEntries(IDC_ADDED_LIST), ElementsAre("<Inst.> Dunes"));
    EXPECT_EQ(Flags(), (Flags5{0, 0, 0, 1, 0}));
    EXPECT_EQ(Pictures(), (ButtonRow{180, 175, 177, 172, 176}));
}

TEST_F(ButtonStateTest, ProposedEntryClearsTheAddedSelectionAndTurnsTrashOff) {
    ClickAdded("Harbour");
    ClickNew("Riverside");
    EXPECT_THAT(SelectedEntries(IDC_ADDED_LIST), IsEmpty());
    EXPECT_EQ(Flags(), (Flags5{1, 1, 0, 0, 0}));
}

TEST_F(ButtonStateTest, TrashStaysInactiveWhileAnEntryWaitsForInstallation) {
    AddToList({"Quarry"});
    EXPECT_EQ(Flags(), (Flags5{0, 0, 1, 0, 1}));
    EXPECT_EQ(Pictures(), (ButtonRow{180, 175, 170, 179, 169}));
    ClickAdded("Harbour");
    EXPECT_EQ(Flags(), (Flags5{0, 0, 1, 0, 1}));
    EXPECT_EQ(Pictures(), (ButtonRow{180, 175, 170, 179, 169}));
}

TEST_F(ButtonStateTest, PendingCarsDoNotBlockTrashOnTheTracksTab) {
    ShowTab(DATA_KIND_CARS);
    AddToList({"Lynx"});
    ClickAdded("Falcon");
    EXPECT_EQ(Flags(), (Flags5{0, 0, 1, 0, 1}));
    ShowTab(DATA_KIND_TRACKS);
    ClickAdded("Harbour");
    EXPECT_EQ(Flags(), (Flags5{0, 0, 0, 1, 0}));
    EXPECT_EQ(Pictures(), (ButtonRow{180, 175, 177, 172, 176}));
}

TEST_F(ButtonStateTest, SwitchingTabsDropsSelectionsAndFollowsTheNewKind) {
    AddToList({"Quarry"});
    ClickNew("Summit");
    ShowTab(DATA_KIND_CARS);
    EXPECT_THAT(Entries(IDC_NEW_LIST), ElementsAre("Comet", "Lynx", "Mistral", "Nomad"));
    EXPECT_THAT(SelectedEntries(IDC_NEW_LIST), IsEmpty());
    EXPECT_EQ(Flags(), (Flags5{0, 0, 0, 0, 0}));
    EXPECT_EQ(view_.ControlText(IDC_REQUIRED_SPACE), "");
    ShowTab(DATA_KIND_TRACKS);
    EXPECT_THAT(SelectedEntries(IDC_NEW_LIST), IsEmpty());
    EXPECT_EQ(Flags(), (Flags5{0, 0, 1, 0, 1}));
}

TEST_F(ButtonStateTest, TabTextIsComparedWithoutRegardToCase) {
    ShowTab(DATA_KIND_CARS);
    view_.RemoveAllTabs();
    view_.InsertTab(0, "TRACKS");
    Dialog().OnSelchangeTab();
    EXPECT_EQ(Dialog().CurrentTab(), DATA_KIND_TRACKS);
    EXPECT_THAT(Entries(IDC_ADDED_LIST), ElementsAre("<Inst.> Harbour", "<Inst.> Dunes"));
}

TEST_F(ButtonStateTest, UnknownTabLeavesTheListsAsTheyAre) {
    AddToList({"Quarry"});
    view_.RemoveAllTabs();
    view_.InsertTab(0, "Options");
    Dialog().OnSelchangeTab();
    EXPECT_EQ(Dialog().CurrentTab(), -1);
    EXPECT_EQ(Entries(IDC_ADDED_LIST).size(), 3u);
    EXPECT_EQ(Shell().InstallEnabled, 0);
    EXPECT_EQ(Shell().CancelEnabled, 1);
}

TEST_F(ButtonStateTest, CommandsWhoseFlagIsOffDoNothing) {
    view_.ClearRecords();
    Dialog().OnAddToList();
    Dialog().OnInstallNew();
    Dialog().OnTrash();
    Dialog().OnCancel();
    Dialog().OnDisplay();
    EXPECT_THAT(view_.events, IsEmpty());
    EXPECT_THAT(view_.pictures, IsEmpty());
    EXPECT_THAT(view_.progressRanges, IsEmpty());
    EXPECT_FALSE(Dialog().Ended());
}

class SpaceLineTest : public DialogTest {};

TEST_F(SpaceLineTest, LinesShowTheSelectionsSizeInKbAndTheDrivesFreeSpaceInMb) {
    files_->freeBytes = 5 * GB + 3 * MB + 7;
    ASSERT_TRUE(Start());
    ClickNew("Quarry");
    ClickNew("Summit");
    const std::int64_t required = DiscTrackSetSize("Quarry") + DiscTrackSetSize("Summit");
    EXPECT_EQ(view_.ControlText(IDC_REQUIRED_SPACE),
              "Space required for new data : " + std::to_string(required / 1024) + " Kb");
    EXPECT_EQ(view_.ControlText(IDC_FREE_SPACE), "Free space available on your drive : 5123 Mb");
    EXPECT_EQ(files_->freeSpaceQueries.back(), "C:\\");
}

TEST_F(SpaceLineTest, RequiredSpaceCountsTheStandardTrackFileAndRoundsDown) {
    files_->freeBytes = MB - 1;
    // Five files of 1019 + 1 + 1 + 1 + 1 bytes: 1023 bytes in all; the bl4 file does not count.
    AddDiscTrack("Tiny", "Tiny", 1);
    WriteFile(game_.Disc("circuits") + "/Tiny/Tiny.bl3", Bytes(1019, 1));
    WriteFile(game_.Disc("circuits") + "/Tiny/Tiny.bl4", Bytes(50000, 1));
    AddDiscTrack("Small", "Small", 1);
    WriteFile(game_.Disc("circuits") + "/Small/Small.bl3", Bytes(1020, 1));
    ASSERT_TRUE(Start());

    ClickNew("Tiny");
    EXPECT_EQ(view_.ControlText(IDC_REQUIRED_SPACE), "Space required for new data : 0 Kb");
    EXPECT_EQ(view_.ControlText(IDC_FREE_SPACE), "Free space available on your drive : 0 Mb");
    ClickNew("Tiny", false);
    ClickNew("Small");
    EXPECT_EQ(view_.ControlText(IDC_REQUIRED_SPACE), "Space required for new data : 1 Kb");
    EXPECT_THAT(SelectedEntries(IDC_NEW_LIST), ElementsAre("Small"));
}

TEST_F(SpaceLineTest, DeselectingTheLastEntryStillWritesBothLines) {
    files_->freeBytes = 2 * MB;
    ASSERT_TRUE(Start());
    ClickNew("Quarry");
    ClickNew("Quarry", false);
    EXPECT_EQ(view_.ControlText(IDC_REQUIRED_SPACE), "Space required for new data : 0 Kb");
    EXPECT_EQ(view_.ControlText(IDC_FREE_SPACE), "Free space available on your drive : 2 Mb");
}

TEST_F(SpaceLineTest, FreeSpaceOneByteShortDropsTheSelectionAndEmptiesTheLines) {
    ASSERT_TRUE(Start());
    const auto required = static_cast<std::uint64_t>(DiscTrackSetSize("Quarry"));
    files_->freeBytes = required;
    ClickNew("Quarry");
    EXPECT_THAT(SelectedEntries(IDC_NEW_LIST), ElementsAre("Quarry"));

    ClickNew("Quarry", false);
    files_->freeBytes = required - 1;
    view_.ClearRecords();
    ClickNew("Quarry");
    EXPECT_THAT(view_.boxes, IsEmpty());
    EXPECT_THAT(Entries(IDC_NEW_LIST), ElementsAre("Quarry", "Riverside", "Summit", "Tundra"));
    EXPECT_THAT(SelectedEntries(IDC_NEW_LIST), IsEmpty());
    EXPECT_EQ(view_.ControlText(IDC_REQUIRED_SPACE), "");
    EXPECT_EQ(view_.ControlText(IDC_FREE_SPACE), "");
    EXPECT_EQ(Flags(), (Flags5{0, 0, 0, 0, 0}));
}

TEST_F(SpaceLineTest, FailedFreeSpaceQueryCountsAsAFullDrive) {
    files_->freeBytes = std::nullopt;
    ASSERT_TRUE(Start());
    ClickNew("Quarry");
    EXPECT_THAT(SelectedEntries(IDC_NEW_LIST), IsEmpty());
    EXPECT_EQ(Shell().AddEnabled, 0);
}

class LargeDriveTest : public DialogTest, public ::testing::WithParamInterface<std::uint64_t> {};

TEST_P(LargeDriveTest, DrivesWithMoreThanTwoGigabytesFreeKeepTheSelection) {
    files_->freeBytes = GetParam();
    ASSERT_TRUE(Start());
    ClickNew("Quarry");
    ClickNew("Summit");
    EXPECT_THAT(SelectedEntries(IDC_NEW_LIST), ElementsAre("Quarry", "Summit"));
    EXPECT_EQ(Shell().AddEnabled, 1);
    EXPECT_EQ(view_.ControlText(IDC_FREE_SPACE),
              "Free space available on your drive : " + std::to_string(GetParam() / MB) + " Mb");
}

// 2 GiB and 4 GiB + 1 KiB wrap to a negative or tiny 32-bit count; 16 TiB to zero.
INSTANTIATE_TEST_SUITE_P(Sizes, LargeDriveTest,
                         ::testing::Values(2 * GB, 4 * GB + 1024, 4 * GB + 100, 16384 * GB));

class PreviewTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        ASSERT_TRUE(Start());
    }
};

TEST_F(PreviewTest, DisplayWidensToTheTrackPreviewAndDrawsThePicture) {
    ClickNew("Summit");
    view_.ClearRecords();
    Dialog().OnDisplay();
    EXPECT_THAT(view_.sizes, ElementsAre(TRACK_PREVIEW));
    EXPECT_EQ(Shell().PreviewShown, 1);
    EXPECT_EQ(Shell().PreviewIndex, 2);
    EXPECT_EQ(Shell().PreviewPath.str(), DiscPath("circuits", "Summit", "Summit.img"));
    EXPECT_EQ(Flags(), (Flags5{0, 1, 0, 0, 0}));
    EXPECT_EQ(Pictures(), (ButtonRow{180, 174, 177, 179, 176}));
    EXPECT_FALSE(view_.IsEnabled(IDC_NEW_LIST));
    EXPECT_FALSE(view_.IsEnabled(IDC_ADDED_LIST));
    EXPECT_FALSE(view_.IsEnabled(IDC_TAB));
    EXPECT_THAT(view_.boxes, IsEmpty());
    ASSERT_EQ(view_.drawings.size(), 1u);
    EXPECT_EQ(view_.drawings[0].x, 355);
    EXPECT_EQ(view_.drawings[0].y, 100);
    EXPECT_GT(view_.drawings[0].width, 0);
    EXPECT_GT(view_.drawings[0].height, 0);
}

TEST_F(PreviewTest, OnlyDisplayAndCloseActWhileThePreviewIsShown) {
    AddToList({"Tundra"});
    ClickNew("Summit");
    Dialog().OnDisplay();
    const Bytes workList = ReadFile(TrackWorkList());
    view_.ClearRecords();
    Dialog().OnAddToList();
    Dialog().OnInstallNew();
    Dialog().OnCancel();
    Dialog().OnTrash();
    EXPECT_THAT(view_.events, IsEmpty());
    EXPECT_EQ(ReadFile(TrackWorkList()), workList);
    EXPECT_EQ(Shell().PreviewShown, 1);
}

TEST_F(PreviewTest, PreviewShowsTheSelectedEntryWhenTheFocusStayedOnADeselectedOne) {
    ClickNew("Quarry");
    ClickNew("Tundra");
    ClickNew("Tundra", false); // the list's focus stays on Tundra
    ASSERT_EQ(Shell().DisplayEnabled, 1);
    Dialog().OnDisplay();
    EXPECT_EQ(Shell().PreviewPath.str(), DiscPath("circuits", "Quarry", "Quarry.img"));
    Dialog().OnDisplay();
    EXPECT_THAT(SelectedEntries(IDC_NEW_LIST), ElementsAre("Quarry"));
    EXPECT_EQ(Shell().DisplayEnabled, 1);
}

TEST_F(PreviewTest, DisplayAgainReturnsToCompactWithTheEntrySelectedAgain) {
    AddToList({"Tundra"});
    ClickNew("Summit");
    Dialog().OnDisplay();
    view_.ClearRecords();
    Dialog().OnDisplay();
    EXPECT_THAT(view_.sizes, ElementsAre(COMPACT));
    EXPECT_EQ(Shell().PreviewShown, 0);
    EXPECT_TRUE(view_.IsEnabled(IDC_NEW_LIST));
    EXPECT_TRUE(view_.IsEnabled(IDC_ADDED_LIST));
    EXPECT_TRUE(view_.IsEnabled(IDC_TAB));
    EXPECT_THAT(SelectedEntries(IDC_NEW_LIST), ElementsAre("Summit"));
    EXPECT_EQ(Flags(), (Flags5{1, 1, 1, 0, 1}));
    EXPECT_EQ(Pictures(), (ButtonRow{173, 168, 170, 179, 169}));
}

TEST_F(PreviewTest, CarPreviewIsWiderAndDrawnHigher) {
    ShowTab(DATA_KIND_CARS);
    ClickNew("Mistral");
    view_.ClearRecords();
    Dialog().OnDisplay();
    EXPECT_THAT(view_.sizes, ElementsAre(CAR_PREVIEW));
    EXPECT_EQ(Shell().PreviewPath.str(), DiscPath("voitures", "Mistral", "Mistral.img"));
    ASSERT_EQ(view_.drawings.size(), 1u);
    EXPECT_EQ(view_.drawings[0].x, 355);
    EXPECT_EQ(view_.drawings[0].y, 45);
}

TEST_F(PreviewTest, MissingPictureWarnsAndReturnsToCompactWithTheEntrySelected) {
    fs::remove(game_.Disc("circuits/Riverside/Riverside.img"));
    ClickNew("Riverside");
    view_.ClearRecords();
    Dialog().OnDisplay();
    const std::string path = DiscPath("circuits", "Riverside", "Riverside.img");
    ASSERT_EQ(view_.boxes.size(), 1u);
    EXPECT_EQ(view_.boxes[0].text,
              "File '" + path + "' not found, impossible to display 'Riverside' track");
    EXPECT_EQ(view_.boxes[0].caption, "Warning");
    EXPECT_EQ(view_.boxes[0].style, 0x30u);
    EXPECT_THAT(view_.sizes, ElementsAre(TRACK_PREVIEW, COMPACT));
    EXPECT_THAT(view_.drawings, IsEmpty());
    EXPECT_EQ(Shell().PreviewShown, 0);
    EXPECT_THAT(SelectedEntries(IDC_NEW_LIST), ElementsAre("Riverside"));
    EXPECT_EQ(Pictures(), (ButtonRow{173, 168, 177, 179, 176}));
    EXPECT_TRUE(view_.IsEnabled(IDC_NEW_LIST));
}

TEST_F(PreviewTest, MissingCarPictureNamesTheCar) {
    ShowTab(DATA_KIND_CARS);
    fs::remove(game_.Disc("voitures/Nomad/Nomad.img"));
    ClickNew("Nomad");
    Dialog().OnDisplay();
    ASSERT_EQ(view_.boxes.size(), 1u);
    EXPECT_EQ(view_.boxes[0].text, "File '" + DiscPath("voitures", "Nomad", "Nomad.img") +
                                       "' not found, impossible to display 'Nomad' car");
}

TEST_F(PreviewTest, PaintDrawsTheLastPreviewAfterThePreviewEnded) {
    ClickNew("Quarry");
    Dialog().OnDisplay();
    Dialog().OnDisplay();
    view_.ClearRecords();
    Dialog().OnPaint(false);
    ASSERT_EQ(view_.drawings.size(), 1u);
    EXPECT_EQ(view_.drawings[0].x, 355);
    EXPECT_EQ(view_.drawings[0].y, 100);
    EXPECT_EQ(view_.iconsDrawn, 0);
}

} // namespace
} // namespace zav::test
