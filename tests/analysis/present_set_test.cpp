// The present set read from the game's list files: base and further tracks and cars.
#include "analysis/present_set.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "settings/error_report.h"
#include "support/game_run.h"

namespace zav::test {
namespace {

using Names = std::vector<std::string>;
using Flags = std::vector<std::int32_t>;

Names NamesOf(const NameTable& table, std::int32_t to) {
    Names names;
    std::transform(table.begin(), table.begin() + to, std::back_inserter(names),
                   [](const NameText& name) { return name.str(); });
    return names;
}

class PresentSetAnalysis : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(run.Start());
        run.view.Clear();
    }
    std::int32_t Analyse(DataKind kind) {
        PathText errorPath;
        return AnalysePresentSet(run.Session(), kind, errorPath);
    }
    void WriteCars(const Names& base, const Names& added, std::int64_t count = -1) {
        WriteFile(game.Script("voitures.bin"), TestGame::CarList(base));
        WriteFile(game.Script("voiture2.bin"), TestGame::CarList(added, count));
    }

    TestGame game;
    GameRun run{game};
    AnalysisState& state = run.State();
};

TEST_F(PresentSetAnalysis, BaseCarsStandOutsideTheTotalAndDuplicatesTakeTwoSlots) {
    // Among the first 8 records of voitures.bin: base names in another case, which stay base
    // cars, and one car that is not a base car. Record 9 is beyond the base list.
    WriteCars({"TOLVA", "rusko", "Mervi", "kALTUN", "ZQ2", "Brenik", "Ostra", "phantom", "Beyond"},
              {"vel", "PHANTOM", "nova"}, 50);
    ASSERT_EQ(Analyse(DataKind::Cars), RESULT_OK);
    EXPECT_EQ(state.PresentCarTotal, 3);
    EXPECT_EQ(NamesOf(state.PresentCarNames, 11),
              (Names{"Tolva", "Rusko", "Mervi", "Kaltun", "Zq2", "Brenik", "Ostra", "Vel",
                     "Phantom", "Phantom", "Nova"}));
    EXPECT_EQ(Flags(state.PresentCarFlags.begin(), state.PresentCarFlags.begin() + 11),
              (Flags{0, 0, 0, 0, 0, 0, 0, 0, 3, 3, 3}));

    // A short base list gives only the records it has.
    WriteCars({"Tolva", "Ghost"}, {});
    ASSERT_EQ(Analyse(DataKind::Cars), RESULT_OK);
    EXPECT_EQ(state.PresentCarTotal, 1);
    EXPECT_EQ(state.PresentCarNames[8], "Ghost");
}

TEST_F(PresentSetAnalysis, ListsBeyondTheirSlotsAreCutWithOneNoticeEach) {
    // Tracks after the 16 base ones are installed, their names normalised; the count is larger
    // than the 100 records the file holds.
    Names tracks = {"SPEED ring", "2fast", "\xE9tape"};
    const Names extras = Numbered("Extra ", 81);
    tracks.insert(tracks.end(), extras.begin(), extras.end());
    WriteFile(game.Script("circuits.bin"), game.TrackList(TestGame::BaseTracksAnd(tracks), 140));
    state.PresentTrackFlags.fill(3); // left from an earlier analysis
    ASSERT_EQ(Analyse(DataKind::Tracks), RESULT_OK);
    ASSERT_EQ(Analyse(DataKind::Tracks), RESULT_OK); // a cancel analyses again: no second notice
    EXPECT_EQ(state.PresentTrackTotal, 96);
    EXPECT_EQ(NamesOf(state.PresentTrackNames, 19),
              TestGame::BaseTracksAnd({"Speed ring", "2fast", "\xC9tape"}));
    EXPECT_EQ(state.PresentTrackNames[95], "Extra 77");
    Flags flags(96, 3);
    std::fill_n(flags.begin(), 16, 0);
    EXPECT_EQ(Flags(state.PresentTrackFlags.begin(), state.PresentTrackFlags.begin() + 96), flags);
    ASSERT_EQ(run.view.boxes.size(), 1u);
    EXPECT_NE(run.view.boxes[0].text.find("100 tracks"), std::string::npos) << run.view.boxes[0];
    EXPECT_NE(run.view.boxes[0].text.find("other 4"), std::string::npos) << run.view.boxes[0];

    // 1 further car in the base list and 94 added: 95 further cars for 88 slots.
    WriteCars({"Tolva", "Rusko", "Mervi", "Kaltun", "Zq2", "Brenik", "Ostra", "Extra"},
              Numbered("Car ", 94));
    ASSERT_EQ(Analyse(DataKind::Cars), RESULT_OK);
    EXPECT_EQ(state.PresentCarTotal, 88);
    EXPECT_EQ(state.PresentCarNames[8], "Extra");
    EXPECT_EQ(state.PresentCarNames[95], "Car 87");
    ASSERT_EQ(run.view.boxes.size(), 2u);
    EXPECT_NE(run.view.boxes[1].text.find("95 further cars"), std::string::npos);
    EXPECT_NE(run.view.boxes[1].text.find("other 7"), std::string::npos);
}

} // namespace
} // namespace zav::test
