// Selections in the dialog's lists: the commands they make active, space lines, tabs and preview.
#include <gmock/gmock.h>

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
    const ButtonRow one{173, 168, 177, 179, 176}, two{173, 175, 177, 179, 176},
        trash{180, 175, 177, 172, 176};
    const std::vector<std::tuple<const char*, std::function<void()>, ButtonRow>> steps = {
        {"one proposed entry", [&] { run.ClickNew("Quarry"); }, one},
        {"two: no preview", [&] { run.ClickNew("Tundra"); }, two},
        {"back to one", [&] { run.ClickNew("Tundra", false); }, one},
        {"none", [&] { run.ClickNew("Quarry", false); }, ALL_INACTIVE},
        {"added entry", [&] { run.Click(IDC_ADDED_LIST, "Dunes"); }, trash},
        {"proposed drop it", [&] { run.ClickNew("Quarry"), run.ClickNew("Tundra"); }, two},
        {"added drops both, the last too", [&] { run.Click(IDC_ADDED_LIST, "Harbour"); }, trash},
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
    // Nothing stays selected, and the commands of inactive buttons do nothing.
    EXPECT_TRUE(run.Selected(IDC_NEW_LIST).empty() && run.Selected(IDC_ADDED_LIST).empty());
    run.ShowTab(DataKind::Cars);
    run.view.Clear();
    for (auto command :
         {&PatcherDialog::OnAddToList, &PatcherDialog::OnTrash, &PatcherDialog::OnDisplay,
          &PatcherDialog::OnInstallNew, &PatcherDialog::OnCancel}) {
        (run.dialog.*command)();
    }
    EXPECT_THAT(run.view.events, IsEmpty());
    EXPECT_FALSE(run.dialog.Ended());
}

// A selection of 5000 bytes (4 Kb, rounded down) is kept only when the drive holds it (nullopt:
// the query failed). 2 GiB and 4 GiB + 100 would wrap to a negative or tiny 32-bit count.
TEST(SelectionSpace, SelectionIsKeptOnlyWhenTheDriveHoldsIt) {
    constexpr std::uint64_t GB = 1024 * 1048576;
    for (const std::optional<std::uint64_t> free :
         {std::optional<std::uint64_t>(5000), {4999}, {}, {2 * GB}, {4 * GB + 100}}) {
        TestGame game;
        game.AddDiscEntry(DataKind::Tracks, "Big", {}, 1000);
        GameRun run(game);
        run.files.SetFreeSpace(free);
        ASSERT_TRUE(run.Start());
        run.ClickNew("Big");
        SCOPED_TRACE(free.value_or(0));
        const bool kept = free.value_or(0) >= 5000;
        EXPECT_EQ(run.Selected(IDC_NEW_LIST).size(), kept ? 1u : 0u);
        EXPECT_EQ(run.view.ControlText(IDC_REQUIRED_SPACE),
                  kept ? "Space required for new data : 4 Kb" : "");
        // Asked of the game's folder, whose file system may not be its drive root's.
        const auto asked = std::find_if(run.files.Log().begin(), run.files.Log().end(),
                                        [](const auto& op) { return op.kind == "FreeSpace"; });
        ASSERT_NE(asked, run.files.Log().end());
        EXPECT_EQ(asked->path, run.Session().settings.GameDirectory.str());
    }
}

// The preview shows the selected entry though the caret stayed on a deselected one; while it
// shows, only Display is lit.
TEST_F(Selection, DisplayShowsTheSelectedEntrysPreviewAndLocksTheLists) {
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
    EXPECT_FALSE(run.view.IsEnabled(IDC_NEW_LIST) || run.view.IsEnabled(IDC_ADDED_LIST) ||
                 run.view.IsEnabled(IDC_TAB));
    run.dialog.OnDisplay();
    EXPECT_THAT(run.view.sizes, ElementsAre(TRACK_PREVIEW, COMPACT));
    EXPECT_TRUE(run.view.IsEnabled(IDC_NEW_LIST) && run.view.IsEnabled(IDC_TAB));
    EXPECT_THAT(run.Selected(IDC_NEW_LIST), ElementsAre("Summit"));
    EXPECT_EQ(run.Pictures(), (ButtonRow{173, 168, 170, 179, 169}));
}

} // namespace
} // namespace zav::test
