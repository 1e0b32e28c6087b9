// Selections in the dialog's lists: the commands they make active, the space lines, tabs and the
// preview of "Display ->".
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
    EXPECT_THAT(run.view.ranges, IsEmpty());
    EXPECT_FALSE(run.dialog.Ended());
}

TEST_F(Selection, TabsAreFoundByTheirTextIgnoringCaseAndAnUnknownOneChangesNothing) {
    run.ShowTab(DataKind::Cars);
    for (const auto& [text, tab] : {std::pair<const char*, std::optional<DataKind>>{"TRACKS", DataKind::Tracks}, {"Options", std::nullopt}}) {
        run.view.RemoveAllTabs();
        run.view.InsertTab(0, text);
        run.dialog.OnSelchangeTab();
        EXPECT_EQ(run.dialog.CurrentTab(), tab);
        EXPECT_THAT(run.Entries(IDC_ADDED_LIST), ElementsAre("<Inst.> Harbour", "<Inst.> Dunes"));
    }
}

// A selection of 5000 bytes (4 Kb, rounded down) is kept only when the drive holds it (nullopt:
// the query failed). 2 GiB and 4 GiB + 1 KiB wrap to a negative or tiny 32-bit count; 16 TiB to
// zero.
TEST(SelectionSpace, SelectionIsKeptOnlyWhenTheDriveHoldsIt) {
    constexpr std::uint64_t MB = 1048576, GB = 1024 * MB;
    for (const std::optional<std::uint64_t> free : {std::optional<std::uint64_t>(5000),
                                                    {4999},
                                                    {},
                                                    {2 * GB},
                                                    {4 * GB + 1024},
                                                    {4 * GB + 100},
                                                    {16384 * GB}}) {
        TestGame game;
        game.AddDiscEntry(DataKind::Tracks, "Big", {}, 1000);
        GameRun run(game);
        run.files.SetFreeSpace(free);
        ASSERT_TRUE(run.Start());
        run.ClickNew("Big");
        SCOPED_TRACE(free.value_or(0));
        EXPECT_THAT(run.view.boxes, IsEmpty());
        if (free.value_or(0) >= 5000) {
            EXPECT_THAT(run.Selected(IDC_NEW_LIST), ElementsAre("Big"));
            EXPECT_EQ(run.Pictures()[0], 173);
            EXPECT_EQ(std::ranges::find(run.files.Log(), "FreeSpace", &FileOperation::kind)->path,
                      "C:\\");
            EXPECT_EQ(run.view.ControlText(IDC_REQUIRED_SPACE),
                      "Space required for new data : 4 Kb");
            EXPECT_EQ(run.view.ControlText(IDC_FREE_SPACE),
                      "Free space available on your drive : " + std::to_string(*free / MB) + " Mb");
        } else {
            EXPECT_THAT(run.Selected(IDC_NEW_LIST), IsEmpty());
            EXPECT_EQ(run.Pictures(), ALL_INACTIVE);
            EXPECT_EQ(run.view.ControlText(IDC_REQUIRED_SPACE), "");
            EXPECT_EQ(run.view.ControlText(IDC_FREE_SPACE), "");
        }
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
    const auto listsEnabled = [&](bool enabled) {
        for (const std::int32_t control : {IDC_NEW_LIST, IDC_ADDED_LIST, IDC_TAB}) {
            EXPECT_EQ(run.view.IsEnabled(control), enabled) << control;
        }
    };
    listsEnabled(false);
    const Bytes workList = ReadFile(game.Script("circuits.sav"));
    run.view.Clear();
    run.dialog.OnAddToList();
    run.dialog.OnInstallNew();
    run.dialog.OnCancel();
    run.dialog.OnTrash();
    EXPECT_THAT(run.view.events, IsEmpty());
    EXPECT_EQ(ReadFile(game.Script("circuits.sav")), workList);

    run.dialog.OnDisplay();
    EXPECT_THAT(run.view.sizes, ElementsAre(COMPACT));
    EXPECT_EQ(run.dialog.State().PreviewShown, 0);
    listsEnabled(true);
    EXPECT_THAT(run.Selected(IDC_NEW_LIST), ElementsAre("Summit"));
    EXPECT_EQ(run.Pictures(), (ButtonRow{173, 168, 170, 179, 169}));
    // Every paint draws the last preview again (the compact window hides it).
    run.view.Clear();
    run.dialog.OnPaint(false);
    EXPECT_THAT(run.view.drawings, ElementsAre(std::pair{355, 100}));

    run.ShowTab(DataKind::Cars);
    run.ClickNew("Mistral");
    run.view.Clear();
    run.dialog.OnDisplay();
    EXPECT_THAT(run.view.sizes, ElementsAre(CAR_PREVIEW));
    EXPECT_EQ(run.dialog.State().PreviewPath.str(), game.DiscPath("voitures/Mistral/Mistral.img"));
    EXPECT_THAT(run.view.drawings, ElementsAre(std::pair{355, 45}));
}

TEST_F(Selection, MissingPictureWarnsAndReturnsToTheCompactLayout) {
    for (const auto& [kind, folder, name, word] :
         {std::tuple{DataKind::Tracks, "circuits", "Riverside", "track"},
          std::tuple{DataKind::Cars, "voitures", "Nomad", "car"}}) {
        const std::string picture = std::string(folder) + "/" + name + "/" + name + ".img";
        std::filesystem::remove(game.Disc(picture));
        run.ShowTab(kind);
        run.ClickNew(name);
        run.view.Clear();
        run.dialog.OnDisplay();
        EXPECT_THAT(run.view.boxes,
                    ElementsAre("Warning 48: File '" + game.DiscPath(picture) +
                                "' not found, impossible to display '" + name + "' " + word));
        EXPECT_EQ(run.view.sizes.back(), COMPACT);
        EXPECT_THAT(run.view.drawings, IsEmpty());
        EXPECT_THAT(run.Selected(IDC_NEW_LIST), ElementsAre(name));
        EXPECT_EQ(run.Pictures(), (ButtonRow{173, 168, 177, 179, 176}));
        EXPECT_TRUE(run.view.IsEnabled(IDC_NEW_LIST));
    }
}

} // namespace
} // namespace zav::test
