// Selections in the dialog's lists: the commands they make active, the space lines, tabs and the
// preview of "Display ->".
#include "shell/dialog_fixture.h"

namespace zav::test {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

constexpr std::uint64_t MB = 1048576, GB = 1024 * MB;

// One session, click by click: the buttons each click lights, and what stays selected.
TEST_F(StartedTest, ButtonsFollowTheSelectionsAndPendingAdditions) {
    const ButtonRow one{173, 168, 177, 179, 176}, trash{180, 175, 177, 172, 176};
    const std::vector<std::tuple<const char*, std::function<void()>, ButtonRow>> steps = {
        {"one proposed entry", [&] { ClickNew("Quarry"); }, one},
        {"two: no preview", [&] { ClickNew("Tundra"); }, {173, 175, 177, 179, 176}},
        {"back to one", [&] { ClickNew("Tundra", false); }, one},
        {"none", [&] { ClickNew("Quarry", false); }, ALL_INACTIVE},
        {"added entry", [&] { Click(IDC_ADDED_LIST, "Dunes"); }, trash},
        {"proposed drops it", [&] { ClickNew("Riverside"); }, one},
        {"added drops that", [&] { Click(IDC_ADDED_LIST, "Harbour"); }, trash},
        {"add to list", [&] { AddToList({"Quarry"}); }, PENDING},
        {"no trash while pending", [&] { Click(IDC_ADDED_LIST, "Harbour"); }, PENDING},
        {"other tab", [&] { ShowTab(DataKind::Cars); }, ALL_INACTIVE},
        {"trash of a car", [&] { Click(IDC_ADDED_LIST, "Falcon"); }, trash},
        {"back", [&] { ShowTab(DataKind::Tracks); }, PENDING},
    };
    for (const auto& [what, act, pictures] : steps) {
        act();
        EXPECT_EQ(Pictures(), pictures) << what;
    }
    EXPECT_THAT(Selected(IDC_NEW_LIST), IsEmpty());
    EXPECT_THAT(Selected(IDC_ADDED_LIST), IsEmpty());
    // Commands of inactive buttons do nothing.
    view_.Clear();
    dialog_->OnAddToList();
    dialog_->OnTrash();
    dialog_->OnDisplay();
    ShowTab(DataKind::Cars);
    dialog_->OnInstallNew();
    dialog_->OnCancel();
    EXPECT_THAT(view_.events, IsEmpty());
    EXPECT_THAT(view_.ranges, IsEmpty());
    EXPECT_FALSE(dialog_->Ended());
}

TEST_F(StartedTest, TabsAreFoundByTheirTextIgnoringCaseAndAnUnknownOneChangesNothing) {
    ShowTab(DataKind::Cars);
    for (const auto& [text, tab] : {std::pair<const char*, std::optional<DataKind>>{"TRACKS", DataKind::Tracks}, {"Options", std::nullopt}}) {
        view_.RemoveAllTabs();
        view_.InsertTab(0, text);
        dialog_->OnSelchangeTab();
        EXPECT_EQ(dialog_->CurrentTab(), tab);
        EXPECT_THAT(Entries(IDC_ADDED_LIST), ElementsAreArray(kAddedTracks));
    }
}

// A selection of 5000 bytes (4 Kb, rounded down) is kept only when the drive holds it (nullopt:
// the query failed). 2 GiB and 4 GiB + 1 KiB wrap to a negative or tiny 32-bit count; 16 TiB to zero.
class FreeSpaceTest : public DialogTest,
                      public ::testing::WithParamInterface<std::optional<std::uint64_t>> {};

TEST_P(FreeSpaceTest, SelectionIsKeptOnlyWhenTheDriveHoldsIt) {
    AddDiscTrack("Big", "Big", 1000);
    files_->freeBytes = GetParam();
    ASSERT_TRUE(Start());
    ClickNew("Big");
    EXPECT_THAT(view_.boxes, IsEmpty());
    if (GetParam().value_or(0) >= 5000) {
        EXPECT_THAT(Selected(IDC_NEW_LIST), ElementsAre("Big"));
        EXPECT_EQ(Pictures()[0], 173);
        EXPECT_EQ(files_->freeSpaceQueries.back(), "C:\\");
        EXPECT_EQ(view_.ControlText(IDC_REQUIRED_SPACE), "Space required for new data : 4 Kb");
        EXPECT_EQ(view_.ControlText(IDC_FREE_SPACE), "Free space available on your drive : " +
                                                         std::to_string(*GetParam() / MB) + " Mb");
    } else {
        EXPECT_THAT(Selected(IDC_NEW_LIST), IsEmpty());
        EXPECT_EQ(Pictures(), ALL_INACTIVE);
        EXPECT_EQ(view_.ControlText(IDC_REQUIRED_SPACE), "");
        EXPECT_EQ(view_.ControlText(IDC_FREE_SPACE), "");
    }
}

INSTANTIATE_TEST_SUITE_P(Drives, FreeSpaceTest,
                         ::testing::Values(5000, 4999, std::nullopt, 2 * GB, 4 * GB + 1024,
                                           4 * GB + 100, 16384 * GB));

TEST_F(StartedTest, DisplayShowsTheTrackPreviewAndOnlyDisplayActs) {
    AddToList({"Tundra"});
    ClickNew("Summit");
    view_.Clear();
    dialog_->OnDisplay();
    EXPECT_THAT(view_.sizes, ElementsAre(TRACK_PREVIEW));
    EXPECT_EQ(dialog_->State().PreviewPath.str(), DiscPath("circuits/Summit/Summit.img"));
    EXPECT_THAT(view_.drawings, ElementsAre(std::pair{355, 100}));
    EXPECT_EQ(Pictures(), (ButtonRow{180, 174, 177, 179, 176}));
    const auto listsEnabled = [&](bool enabled) {
        for (const std::int32_t control : {IDC_NEW_LIST, IDC_ADDED_LIST, IDC_TAB}) {
            EXPECT_EQ(view_.IsEnabled(control), enabled) << control;
        }
    };
    listsEnabled(false);
    const Bytes workList = ReadFile(Script("circuits.sav"));
    view_.Clear();
    dialog_->OnAddToList();
    dialog_->OnInstallNew();
    dialog_->OnCancel();
    dialog_->OnTrash();
    EXPECT_THAT(view_.events, IsEmpty());
    EXPECT_EQ(ReadFile(Script("circuits.sav")), workList);

    dialog_->OnDisplay();
    EXPECT_THAT(view_.sizes, ElementsAre(COMPACT));
    EXPECT_EQ(dialog_->State().PreviewShown, 0);
    listsEnabled(true);
    EXPECT_THAT(Selected(IDC_NEW_LIST), ElementsAre("Summit"));
    EXPECT_EQ(Pictures(), (ButtonRow{173, 168, 170, 179, 169}));
    // Every paint draws the last preview again (the compact window hides it).
    view_.Clear();
    dialog_->OnPaint(false);
    EXPECT_THAT(view_.drawings, ElementsAre(std::pair{355, 100}));
}

// The selected entry is shown though the caret stayed on a deselected one; a car's preview is
// wider and drawn higher.
TEST_F(StartedTest, PreviewShowsTheSelectedEntryAndCarsWider) {
    ClickNew("Quarry");
    ClickNew("Tundra");
    ClickNew("Tundra", false);
    dialog_->OnDisplay();
    EXPECT_EQ(dialog_->State().PreviewPath.str(), DiscPath("circuits/Quarry/Quarry.img"));
    dialog_->OnDisplay();
    EXPECT_THAT(Selected(IDC_NEW_LIST), ElementsAre("Quarry"));
    ShowTab(DataKind::Cars);
    ClickNew("Mistral");
    view_.Clear();
    dialog_->OnDisplay();
    EXPECT_EQ(view_.sizes.back(), CAR_PREVIEW);
    EXPECT_EQ(dialog_->State().PreviewPath.str(), DiscPath("voitures/Mistral/Mistral.img"));
    EXPECT_THAT(view_.drawings, ElementsAre(std::pair{355, 45}));
}

TEST_F(StartedTest, MissingPictureWarnsAndReturnsToTheCompactLayout) {
    for (const auto& [kind, folder, name, word] :
         {std::tuple{DataKind::Tracks, "circuits", "Riverside", "track"},
          std::tuple{DataKind::Cars, "voitures", "Nomad", "car"}}) {
        const std::string picture = std::string(folder) + "/" + name + "/" + name + ".img";
        fs::remove(game_.Disc(picture));
        ShowTab(kind);
        ClickNew(name);
        view_.Clear();
        dialog_->OnDisplay();
        EXPECT_THAT(view_.boxes,
                    ElementsAre("Warning 48: File '" + DiscPath(picture) +
                                "' not found, impossible to display '" + name + "' " + word));
        EXPECT_EQ(view_.sizes.back(), COMPACT);
        EXPECT_THAT(view_.drawings, IsEmpty());
        EXPECT_THAT(Selected(IDC_NEW_LIST), ElementsAre(name));
        EXPECT_EQ(Pictures(), (ButtonRow{173, 168, 177, 179, 176}));
        EXPECT_TRUE(view_.IsEnabled(IDC_NEW_LIST));
    }
}

} // namespace
} // namespace zav::test
