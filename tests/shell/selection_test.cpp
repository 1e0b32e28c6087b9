// Selections in the dialog's lists: the commands they make active, the space lines, tabs and the
// preview mode of "Display ->".
#include "shell/dialog_fixture.h"

namespace zav::test {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

constexpr std::uint64_t MB = 1048576;
constexpr std::uint64_t GB = 1024 * MB;

class SelectionTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        ASSERT_TRUE(Start());
    }
};

TEST_F(DialogTest, ProposedEntriesFollowTheDiscListsNotTheFolderNames) {
    AddDiscTrack("aardvark", "AARDVARK");
    AddDiscTrack("Bogus", "Elsewhere"); // its list names another track
    AddDiscTrack("Harbour", "Harbour"); // already installed, still proposed
    WriteFile(game_.Disc("circuits") + "/Crater", std::string_view("a file, not a folder"));
    ASSERT_TRUE(Start());
    EXPECT_THAT(Entries(IDC_NEW_LIST),
                ElementsAre("Aardvark", "Harbour", "Quarry", "Riverside", "Summit", "Tundra"));
}

// One user session, step by step: what each click leaves selected and which buttons it lights.
TEST_F(SelectionTest, ButtonsFollowTheSelectionsAndPendingAdditions) {
    struct Step {
        const char* what;
        std::function<void()> act;
        ButtonRow pictures;
    };
    const std::vector<Step> steps = {
        {"one proposed entry", [&] { ClickNew("Quarry"); }, {173, 168, 177, 179, 176}},
        {"two: no preview", [&] { ClickNew("Tundra"); }, {173, 175, 177, 179, 176}},
        {"back to one", [&] { ClickNew("Tundra", false); }, {173, 168, 177, 179, 176}},
        {"none", [&] { ClickNew("Quarry", false); }, ALL_INACTIVE},
        {"added entry", [&] { ClickAdded("Dunes"); }, {180, 175, 177, 172, 176}},
        {"proposed drops it", [&] { ClickNew("Riverside"); }, {173, 168, 177, 179, 176}},
        {"added drops that", [&] { ClickAdded("Harbour"); }, {180, 175, 177, 172, 176}},
        {"add to list", [&] { AddToList({"Quarry"}); }, {180, 175, 170, 179, 169}},
        {"no trash while pending", [&] { ClickAdded("Harbour"); }, {180, 175, 170, 179, 169}},
        {"other tab", [&] { ShowTab(DATA_KIND_CARS); }, ALL_INACTIVE},
        {"trash of a car", [&] { ClickAdded("Falcon"); }, {180, 175, 177, 172, 176}},
        {"back", [&] { ShowTab(DATA_KIND_TRACKS); }, {180, 175, 170, 179, 169}},
    };
    for (const Step& step : steps) {
        step.act();
        EXPECT_EQ(Pictures(), step.pictures) << step.what;
    }
    EXPECT_THAT(Selected(IDC_NEW_LIST), IsEmpty());
    EXPECT_THAT(Selected(IDC_ADDED_LIST), IsEmpty());
    const ShellState& s = Shell();
    EXPECT_EQ((std::array{s.AddEnabled, s.DisplayEnabled, s.InstallEnabled, s.TrashEnabled,
                          s.CancelEnabled}),
              (std::array<std::int32_t, 5>{0, 0, 1, 0, 1}));
}

TEST_F(SelectionTest, TabsAreFoundByTheirTextIgnoringCaseAndAnUnknownOneChangesNothing) {
    ShowTab(DATA_KIND_CARS);
    view_.RemoveAllTabs();
    view_.InsertTab(0, "TRACKS");
    Dialog().OnSelchangeTab();
    EXPECT_EQ(Dialog().CurrentTab(), DATA_KIND_TRACKS);
    EXPECT_THAT(Entries(IDC_ADDED_LIST), ElementsAreArray(kAddedTracks));
    view_.RemoveAllTabs();
    view_.InsertTab(0, "Options");
    Dialog().OnSelchangeTab();
    EXPECT_EQ(Dialog().CurrentTab(), -1);
    EXPECT_THAT(Entries(IDC_ADDED_LIST), ElementsAreArray(kAddedTracks));
}

TEST_F(SelectionTest, CommandsOfInactiveButtonsDoNothing) {
    view_.Clear();
    Dialog().OnAddToList();
    Dialog().OnInstallNew();
    Dialog().OnTrash();
    Dialog().OnCancel();
    Dialog().OnDisplay();
    EXPECT_THAT(view_.events, IsEmpty());
    EXPECT_THAT(view_.progressUpper, IsEmpty());
    EXPECT_FALSE(Dialog().Ended());
}

TEST_F(DialogTest, SpaceLinesShowKbRequiredRoundedDownAndMbFree) {
    files_->freeBytes = 5 * GB + 3 * MB + 7;
    // 1019 + 4 bytes in five files: 1023 bytes, 0 Kb; the bl4 file does not count.
    AddDiscTrack("Tiny", "Tiny", 1);
    WriteFile(game_.Disc("circuits") + "/Tiny/Tiny.bl3", Bytes(1019, 1));
    WriteFile(game_.Disc("circuits") + "/Tiny/Tiny.bl4", Bytes(50000, 1));
    AddDiscTrack("Small", "Small", 1);
    WriteFile(game_.Disc("circuits") + "/Small/Small.bl3", Bytes(1020, 1));
    ASSERT_TRUE(Start());
    ClickNew("Tiny");
    EXPECT_EQ(view_.ControlText(IDC_REQUIRED_SPACE), "Space required for new data : 0 Kb");
    EXPECT_EQ(view_.ControlText(IDC_FREE_SPACE), "Free space available on your drive : 5123 Mb");
    EXPECT_EQ(files_->freeSpaceQueries.back(), "C:\\");
    ClickNew("Small"); // 2047 bytes in all
    EXPECT_EQ(view_.ControlText(IDC_REQUIRED_SPACE), "Space required for new data : 1 Kb");
    ClickNew("Tiny", false);
    ClickNew("Small", false);
    EXPECT_EQ(view_.ControlText(IDC_REQUIRED_SPACE), "Space required for new data : 0 Kb");
    EXPECT_EQ(view_.ControlText(IDC_FREE_SPACE), "Free space available on your drive : 5123 Mb");
}

// Free space (nullopt: the query failed) against a selection of 5000 bytes.
struct SpaceCase {
    std::optional<std::uint64_t> freeBytes;
    bool kept;
};

class FreeSpaceTest : public DialogTest, public ::testing::WithParamInterface<SpaceCase> {};

TEST_P(FreeSpaceTest, SelectionIsKeptOnlyWhenTheDriveHoldsIt) {
    AddDiscTrack("Big", "Big", 1000);
    files_->freeBytes = GetParam().freeBytes;
    ASSERT_TRUE(Start());
    ClickNew("Big");
    EXPECT_THAT(view_.boxes, IsEmpty());
    if (GetParam().kept) {
        EXPECT_THAT(Selected(IDC_NEW_LIST), ElementsAre("Big"));
        EXPECT_EQ(Pictures()[0], 173);
        EXPECT_EQ(view_.ControlText(IDC_FREE_SPACE),
                  "Free space available on your drive : " +
                      std::to_string(*GetParam().freeBytes / MB) + " Mb");
    } else {
        EXPECT_THAT(Selected(IDC_NEW_LIST), IsEmpty());
        EXPECT_EQ(Pictures(), ALL_INACTIVE);
        EXPECT_EQ(view_.ControlText(IDC_REQUIRED_SPACE), "");
        EXPECT_EQ(view_.ControlText(IDC_FREE_SPACE), "");
    }
}

// 2 GiB and 4 GiB + 1 KiB wrap to a negative or tiny 32-bit count; 16 TiB to zero.
INSTANTIATE_TEST_SUITE_P(Drives, FreeSpaceTest,
                         ::testing::Values(SpaceCase{5000, true}, SpaceCase{4999, false},
                                           SpaceCase{std::nullopt, false}, SpaceCase{2 * GB, true},
                                           SpaceCase{4 * GB + 1024, true},
                                           SpaceCase{4 * GB + 100, true},
                                           SpaceCase{16384 * GB, true}));

TEST_F(SelectionTest, DisplayShowsTheTrackPreviewAndOnlyDisplayActs) {
    AddToList({"Tundra"});
    ClickNew("Summit");
    view_.Clear();
    Dialog().OnDisplay();
    EXPECT_THAT(view_.sizes, ElementsAre(TRACK_PREVIEW));
    EXPECT_EQ(Shell().PreviewPath.str(), DiscPath("circuits/Summit/Summit.img"));
    EXPECT_THAT(view_.drawings, ElementsAre(std::pair{355, 100}));
    EXPECT_EQ(Pictures(), (ButtonRow{180, 174, 177, 179, 176}));
    for (const std::int32_t control : {IDC_NEW_LIST, IDC_ADDED_LIST, IDC_TAB}) {
        EXPECT_FALSE(view_.IsEnabled(control)) << control;
    }
    const Bytes workList = ReadFile(TrackWorkList());
    view_.Clear();
    Dialog().OnAddToList();
    Dialog().OnInstallNew();
    Dialog().OnCancel();
    Dialog().OnTrash();
    EXPECT_THAT(view_.events, IsEmpty());
    EXPECT_EQ(ReadFile(TrackWorkList()), workList);

    Dialog().OnDisplay();
    EXPECT_THAT(view_.sizes, ElementsAre(COMPACT));
    EXPECT_EQ(Shell().PreviewShown, 0);
    for (const std::int32_t control : {IDC_NEW_LIST, IDC_ADDED_LIST, IDC_TAB}) {
        EXPECT_TRUE(view_.IsEnabled(control)) << control;
    }
    EXPECT_THAT(Selected(IDC_NEW_LIST), ElementsAre("Summit"));
    EXPECT_EQ(Pictures(), (ButtonRow{173, 168, 170, 179, 169}));
    // Every paint draws the last preview again (the compact window hides it).
    view_.Clear();
    Dialog().OnPaint(false);
    EXPECT_THAT(view_.drawings, ElementsAre(std::pair{355, 100}));
}

TEST_F(SelectionTest, PreviewShowsTheSelectedEntryWhenTheFocusStayedOnADeselectedOne) {
    ClickNew("Quarry");
    ClickNew("Tundra");
    ClickNew("Tundra", false); // the list's caret stays on Tundra
    Dialog().OnDisplay();
    EXPECT_EQ(Shell().PreviewPath.str(), DiscPath("circuits/Quarry/Quarry.img"));
    Dialog().OnDisplay();
    EXPECT_THAT(Selected(IDC_NEW_LIST), ElementsAre("Quarry"));
}

TEST_F(SelectionTest, CarPreviewIsWiderAndDrawnHigher) {
    ShowTab(DATA_KIND_CARS);
    ClickNew("Mistral");
    Dialog().OnDisplay();
    EXPECT_EQ(view_.sizes.back(), CAR_PREVIEW);
    EXPECT_EQ(Shell().PreviewPath.str(), DiscPath("voitures/Mistral/Mistral.img"));
    EXPECT_THAT(view_.drawings, ElementsAre(std::pair{355, 45}));
}

TEST_F(SelectionTest, MissingPictureWarnsAndReturnsToTheCompactLayout) {
    for (const auto& [kind, folder, name, word] :
         {std::tuple{DATA_KIND_TRACKS, "circuits", "Riverside", "track"},
          std::tuple{DATA_KIND_CARS, "voitures", "Nomad", "car"}}) {
        const std::string picture = std::string(folder) + "/" + name + "/" + name + ".img";
        fs::remove(game_.Disc(picture));
        ShowTab(kind);
        ClickNew(name);
        view_.Clear();
        Dialog().OnDisplay();
        EXPECT_THAT(view_.boxes, ElementsAre(ShownBox{"File '" + DiscPath(picture) +
                                                          "' not found, impossible to display '" +
                                                          name + "' " + word,
                                                      "Warning", 0x30}));
        EXPECT_EQ(view_.sizes.back(), COMPACT);
        EXPECT_THAT(view_.drawings, IsEmpty());
        EXPECT_THAT(Selected(IDC_NEW_LIST), ElementsAre(name));
        EXPECT_EQ(Pictures(), (ButtonRow{173, 168, 177, 179, 176}));
        EXPECT_TRUE(view_.IsEnabled(IDC_NEW_LIST));
    }
}

} // namespace
} // namespace zav::test
