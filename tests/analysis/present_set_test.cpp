// The present set read from the game's list files: base and further tracks and cars.
#include "analysis/present_set.h"

#include <gmock/gmock.h>

#include "settings/error_report.h"
#include "support/game_run.h"

namespace zav::test {
namespace {

using Names = std::vector<std::string>;
using Flags = std::vector<std::int32_t>;
using ::testing::AllOf;
using ::testing::HasSubstr;

class PresentSetAnalysis : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(run.Start());
        run.view.Clear();
    }
    void Analyse(DataKind kind) {
        CommandReport report;
        ASSERT_EQ(AnalysePresentSet(run.Session(), kind, report), RESULT_OK);
    }
    TestGame game;
    GameRun run{game};
    AnalysisState& state = run.State();
};

// Among the first 8 records of voitures.bin: base names in another case, which stay base cars,
// and one car that is not a base car. Record 9 is beyond the base list.
TEST_F(PresentSetAnalysis, BaseCarsStandOutsideTheTotalAndDuplicatesTakeTwoSlots) {
    WriteFile(game.Script("voitures.bin"),
              TestGame::CarList({"TOLVA", "rusko", "Mervi", "kALTUN", "ZQ2", "Brenik", "Ostra",
                                 "phantom", "Beyond"}));
    WriteFile(game.Script("voiture2.bin"), TestGame::CarList({"vel", "PHANTOM", "nova"}, 50));
    Analyse(DataKind::Cars);
    EXPECT_EQ(state.PresentCarTotal, 3);
    Names names;
    for (std::size_t i = 0; i < 11; ++i) {
        names.push_back(state.PresentCarNames[i].str());
    }
    EXPECT_EQ(names, (Names{"Tolva", "Rusko", "Mervi", "Kaltun", "Zq2", "Brenik", "Ostra", "Vel",
                            "Phantom", "Phantom", "Nova"}));
    EXPECT_EQ(Flags(state.PresentCarFlags.begin(), state.PresentCarFlags.begin() + 11),
              (Flags{0, 0, 0, 0, 0, 0, 0, 0, 3, 3, 3}));
}

// Tracks after the 16 base ones are installed; the count is larger than the 100 records the
// file holds. 1 further car in the base list and 94 added: 95 further cars for 88 slots.
TEST_F(PresentSetAnalysis, ListsBeyondTheirSlotsAreCutWithOneNoticeEach) {
    WriteFile(game.Script("circuits.bin"),
              game.TrackList(TestGame::BaseTracksAnd(Numbered("Extra ", 84)), 140));
    state.PresentTrackFlags.fill(3); // left from an earlier analysis
    Analyse(DataKind::Tracks);
    Analyse(DataKind::Tracks); // a cancel analyses again: no second notice
    EXPECT_EQ(state.PresentTrackTotal, 96);
    EXPECT_EQ(state.PresentTrackNames[95], "Extra 80");
    EXPECT_EQ(state.PresentTrackFlags[15] + state.PresentTrackFlags[16], 3);
    WriteFile(game.Script("voitures.bin"), TestGame::CarList({"Tolva", "Rusko", "Mervi", "Kaltun",
                                                              "Zq2", "Brenik", "Ostra", "Extra"}));
    WriteFile(game.Script("voiture2.bin"), TestGame::CarList(Numbered("Car ", 94)));
    Analyse(DataKind::Cars);
    EXPECT_EQ(state.PresentCarTotal, 88);
    EXPECT_EQ(state.PresentCarNames[95], "Car 87");
    ASSERT_EQ(run.view.boxes.size(), 2u);
    EXPECT_THAT(run.view.boxes[0].text, AllOf(HasSubstr("100 tracks"), HasSubstr("other 4")));
    EXPECT_THAT(run.view.boxes[1].text, AllOf(HasSubstr("95 further cars"), HasSubstr("other 7")));
}

// A list too short for its count, or with a negative count, ends the start-up as a damaged list
// named below the fixed text, never as a set of nameless entries.
TEST(PresentSet, ListsTooShortForTheirCountAreDamaged) {
    for (const auto& [list, bytes, wrong] :
         {std::tuple{"circuits.bin", Bytes{},
                     "it is 0 bytes long, too short to hold its count of "
                     "records."},
          std::tuple{"voitures.bin", Bytes{1, 0, 0},
                     "it is 3 bytes long, too short to hold its "
                     "count of records."},
          std::tuple{"voiture2.bin", Bytes{},
                     "it is 0 bytes long, too short to hold its count of "
                     "records."},
          std::tuple{"circuits.bin", Bytes{0xFF, 0xFF, 0xFF, 0xFF},
                     "its count says -1 records, the file holds 0."}}) {
        TestGame game;
        WriteFile(game.Script(list), bytes);
        GameRun run(game);
        EXPECT_FALSE(run.Start());
        EXPECT_THAT(run.view.boxes,
                    ::testing::ElementsAre("Fatal Error 16: Unreferenced error\n\n" +
                                           std::string(list) + ": " + wrong));
        EXPECT_THAT(run.view.exits, ::testing::ElementsAre(-1));
    }
}

} // namespace
} // namespace zav::test
