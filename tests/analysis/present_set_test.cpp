// The present set read from the game's list files: base and further tracks and cars.
#include "analysis/present_set.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "settings/error_report.h"
#include "support/game_fixture.h"

namespace zav {
namespace {

using test::GameFixture;
using Names = std::vector<std::string>;
using Flags = std::vector<std::int32_t>;

Names NamesOf(const NameTable& table, std::int32_t to) {
    Names names;
    std::transform(table.begin(), table.begin() + to, std::back_inserter(names),
                   [](const NameText& name) { return name.str(); });
    return names;
}

class PresentSetTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(game.Locate()); }

    std::int32_t Analyse(DataKind kind) {
        return AnalysePresentSet(game.session, kind, errorPath);
    }
    void WriteCars(const Names& base, const Names& added, std::int64_t count = -1) {
        test::WriteFile(game.Script("voitures.bin"), GameFixture::CarList(base));
        test::WriteFile(game.Script("voiture2.bin"), GameFixture::CarList(added, count));
    }

    GameFixture game;
    AnalysisState& state = game.state;
    PathText errorPath;
};

TEST_F(PresentSetTest, BaseCarsStandOutsideTheTotalAndDuplicatesTakeTwoSlots) {
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
    EXPECT_EQ(state.CarListPath, "C:\\ZAV\\Data\\Binary\\Scripts\\voiture2.bin");

    // A short base list gives only the records it has.
    WriteCars({"Tolva", "Ghost"}, {});
    ASSERT_EQ(Analyse(DataKind::Cars), RESULT_OK);
    EXPECT_EQ(state.PresentCarTotal, 1);
    EXPECT_EQ(state.PresentCarNames[8], "Ghost");
}

TEST_F(PresentSetTest, ListsBeyondTheirSlotsAreCutWithOneNoticeEach) {
    // Tracks after the 16 base ones are installed, their names normalised; the count is larger
    // than the 100 records the file holds.
    Names tracks = {"SPEED ring", "2fast", "\xE9tape"};
    const Names extras = test::Numbered("Extra ", 81);
    tracks.insert(tracks.end(), extras.begin(), extras.end());
    test::WriteFile(game.Script("circuits.bin"),
                    game.TrackList(GameFixture::BaseTracksAnd(tracks), 140));
    state.PresentTrackFlags.fill(3); // left from an earlier analysis
    ASSERT_EQ(Analyse(DataKind::Tracks), RESULT_OK);
    ASSERT_EQ(Analyse(DataKind::Tracks), RESULT_OK); // a cancel analyses again: no second notice
    EXPECT_EQ(state.PresentTrackTotal, 96);
    EXPECT_EQ(NamesOf(state.PresentTrackNames, 19),
              GameFixture::BaseTracksAnd({"Speed ring", "2fast", "\xC9tape"}));
    EXPECT_EQ(state.PresentTrackNames[95], "Extra 77");
    Flags flags(96, 3);
    std::fill_n(flags.begin(), 16, 0);
    EXPECT_EQ(Flags(state.PresentTrackFlags.begin(), state.PresentTrackFlags.begin() + 96), flags);
    EXPECT_EQ(state.TrackListPath, "C:\\ZAV\\Data\\Binary\\Scripts\\circuits.bin");
    ASSERT_EQ(game.ui.boxes.size(), 1u);
    EXPECT_EQ(game.ui.boxes[0].caption, "ZAV Data Patcher");
    EXPECT_EQ(game.ui.boxes[0].style, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_NE(game.ui.boxes[0].text.find("100 tracks"), std::string::npos) << game.ui.boxes[0].text;
    EXPECT_NE(game.ui.boxes[0].text.find("other 4"), std::string::npos) << game.ui.boxes[0].text;

    // 1 further car in the base list and 94 added: 95 further cars for 88 slots.
    WriteCars({"Tolva", "Rusko", "Mervi", "Kaltun", "Zq2", "Brenik", "Ostra", "Extra"},
              test::Numbered("Car ", 94));
    ASSERT_EQ(Analyse(DataKind::Cars), RESULT_OK);
    EXPECT_EQ(state.PresentCarTotal, 88);
    EXPECT_EQ(state.PresentCarNames[8], "Extra");
    EXPECT_EQ(state.PresentCarNames[95], "Car 87");
    ASSERT_EQ(game.ui.boxes.size(), 2u);
    EXPECT_NE(game.ui.boxes[1].text.find("95 further cars"), std::string::npos);
    EXPECT_NE(game.ui.boxes[1].text.find("other 7"), std::string::npos);
}

TEST_F(PresentSetTest, MissingListFileIsReportedWithItsPath) {
    for (const auto& [file, kind] : {std::pair{"circuits.bin", DataKind::Tracks},
                                     {"voiture2.bin", DataKind::Cars},
                                     {"voitures.bin", DataKind::Cars}}) {
        std::remove(game.Script(file).c_str());
        EXPECT_EQ(Analyse(kind), ERR_FILE_NOT_FOUND);
        EXPECT_EQ(errorPath, "C:\\ZAV\\Data\\Binary\\Scripts\\" + std::string(file));
    }
}

} // namespace
} // namespace zav
