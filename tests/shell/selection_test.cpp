// Selections in the dialog's lists: the commands they make active, space lines, tabs and preview.
#include <gmock/gmock.h>

#include <filesystem>
#include <functional>

#include "support/game_run.h"

namespace zav::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class Selection : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(run.Start()); }
    TestGame game;
    GameRun run{game};
};

// One session, click by click: the buttons each click lights, and what stays selected.
TEST_F(Selection, ButtonsFollowTheSelectionsAndPendingAdditions) {
    const ButtonRow one{173, 168, 177, 179, 176}, trash{180, 175, 177, 172, 176};
    const std::vector<std::tuple<const char*, std::function<void()>, ButtonRow>> steps = {
        {"one proposed entry", [&] { run.ClickNew("Quarry"); }, one},
        {"two: no preview", [&] { run.ClickNew("Tundra"); }, {173, 175, 177, 179, 176}},
        {"back to one", [&] { run.ClickNew("Tundra", false); }, one},
        {"none", [&] { run.ClickNew("Quarry", false); }, ALL_INACTIVE},
        {"added entry", [&] { run.Click(IDC_ADDED_LIST, "Dunes"); }, trash},
        {"proposed drops it", [&] { run.ClickNew("Riverside"); }, one},
        {"added drops that", [&] { run.Click(IDC_ADDED_LIST, "Harbour"); }, trash},
        {"add to list", [&] { run.AddToList({"Quarry"}); }, PENDING},
        {"no trash while pending", [&] { run.Click(IDC_ADDED_LIST, "Harbour"); }, PENDING},
        {"other tab", [&] { run.ShowTab(DataKind::Cars); }, ALL_INACTIVE},
        {"trash of a car", [&] { run.Click(IDC_ADDED_LIST, "Falcon"); }, trash},
        {"back", [&] { run.ShowTab(DataKind::Tracks); }, PENDING},
    };
    for (const auto& [what, act, pictures] : steps) {
        act();
        EXPECT_EQ(run.Pictures(), pictures) << what;
    }
    EXPECT_THAT(run.Selected(IDC_NEW_LIST), IsEmpty());
    EXPECT_THAT(run.Selected(IDC_ADDED_LIST), IsEmpty());
    // Commands of inactive buttons do nothing.
    run.view.Clear();
    run.dialog.OnAddToList();
    run.dialog.OnTrash();
    run.dialog.OnDisplay();
    run.ShowTab(DataKind::Cars);
    run.dialog.OnInstallNew();
    run.dialog.OnCancel();
    EXPECT_THAT(run.view.events, IsEmpty());
    EXPECT_FALSE(run.dialog.Ended());
}

// A selection of 5000 bytes (4 Kb, rounded down) is kept only when the drive holds it (nullopt:
// the query failed). 2 GiB and 4 GiB + 100 would wrap to a negative or tiny 32-bit count.
TEST(SelectionSpace, SelectionIsKeptOnlyWhenTheDriveHoldsIt) {
    constexpr std::uint64_t MB = 1048576, GB = 1024 * MB;
    for (const std::optional<std::uint64_t> free :
         {std::optional<std::uint64_t>(5000), {4999}, {}, {2 * GB}, {4 * GB + 100}}) {
        TestGame game;
        game.AddDiscEntry(DataKind::Tracks, "Big", {}, 1000);
        GameRun run(game);
        run.files.SetFreeSpace(free);
        ASSERT_TRUE(run.Start());
        run.ClickNew("Big");
        SCOPED_TRACE(free.value_or(0));
        EXPECT_THAT(run.view.boxes, IsEmpty());
        const bool kept = free.value_or(0) >= 5000;
        EXPECT_EQ(run.Selected(IDC_NEW_LIST).size(), kept ? 1u : 0u);
        EXPECT_EQ(run.Pictures()[0], kept ? 173 : 180);
        EXPECT_EQ(run.view.ControlText(IDC_REQUIRED_SPACE),
                  kept ? "Space required for new data : 4 Kb" : "");
        EXPECT_EQ(run.view.ControlText(IDC_FREE_SPACE),
                  kept
                      ? "Free space available on your drive : " + std::to_string(*free / MB) + " Mb"
                      : "");
    }
}

// While the preview shows, only Display acts; it shows the selected entry though the caret
// stayed on a deselected one, and a car's preview is wider and drawn higher.
TEST_F(Selection, DisplayShowsTheSelectedEntrysPreviewAndOnlyDisplayActs) {
    run.AddToList({"Tundra"});
    run.ClickNew("Summit");
    run.ClickNew("Quarry");
    run.ClickNew("Quarry", false);
    run.view.Clear();
    run.dialog.OnDisplay();
    EXPECT_THAT(run.view.sizes, ElementsAre(TRACK_PREVIEW));
    EXPECT_EQ(run.dialog.State().PreviewPath.str(), game.DiscPath("circuits/Summit/Summit.img"));
    EXPECT_THAT(run.view.drawings, ElementsAre(std::pair{355, 100}));
    EXPECT_EQ(run.Pictures(), (ButtonRow{180, 174, 177, 179, 176}));
    const auto listsEnabled = [&] {
        return run.view.IsEnabled(IDC_NEW_LIST) + run.view.IsEnabled(IDC_ADDED_LIST) +
               run.view.IsEnabled(IDC_TAB);
    };
    EXPECT_EQ(listsEnabled(), 0);
    run.view.Clear();
    run.dialog.OnAddToList();
    run.dialog.OnInstallNew();
    run.dialog.OnCancel();
    run.dialog.OnTrash();
    EXPECT_THAT(run.view.events, IsEmpty());
    run.dialog.OnDisplay();
    EXPECT_THAT(run.view.sizes, ElementsAre(COMPACT));
    EXPECT_EQ(listsEnabled(), 3);
    EXPECT_THAT(run.Selected(IDC_NEW_LIST), ElementsAre("Summit"));
    EXPECT_EQ(run.Pictures(), (ButtonRow{173, 168, 170, 179, 169}));
    run.ShowTab(DataKind::Cars);
    run.ClickNew("Mistral");
    run.view.Clear();
    run.dialog.OnDisplay();
    EXPECT_THAT(run.view.sizes, ElementsAre(CAR_PREVIEW));
    EXPECT_THAT(run.view.drawings, ElementsAre(std::pair{355, 45}));
    // A missing picture: a warning, the compact layout again, the selection kept.
    std::filesystem::remove(game.Disc("voitures/Nomad/Nomad.img"));
    run.dialog.OnDisplay();
    run.ClickNew("Mistral", false);
    run.ClickNew("Nomad");
    run.view.Clear();
    run.dialog.OnDisplay();
    EXPECT_THAT(run.view.boxes,
                ElementsAre("Warning 48: File '" + game.DiscPath("voitures/Nomad/Nomad.img") +
                            "' not found, impossible to display 'Nomad' car"));
    EXPECT_EQ(run.view.sizes.back(), COMPACT);
    EXPECT_THAT(run.view.drawings, IsEmpty());
    EXPECT_THAT(run.Selected(IDC_NEW_LIST), ElementsAre("Nomad"));
    EXPECT_EQ(run.Pictures(), (ButtonRow{173, 168, 177, 179, 176}));
}

} // namespace
} // namespace zav::test
