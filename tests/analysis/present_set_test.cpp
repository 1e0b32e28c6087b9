// The present set read from the game's list files: base and further tracks and cars.
#include "analysis/present_set.h"

#include <gtest/gtest.h>

#include "settings/error_report.h"
#include "support/game_fixture.h"

namespace zav {
namespace {

using test::GameFixture;

std::vector<std::string> Names(const NameTable& table, std::int32_t from, std::int32_t to) {
    std::vector<std::string> names;
    for (std::int32_t s = from; s < to; ++s) {
        names.push_back(table[static_cast<std::size_t>(s)].str());
    }
    return names;
}

std::vector<std::int32_t> Flags(const FlagTable& table, std::int32_t from, std::int32_t to) {
    return {table.begin() + from, table.begin() + to};
}

class PresentSetTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(game.Locate()); }

    std::int32_t Analyse(std::int32_t kind) {
        return AnalysePresentSet(game.session, kind, errorPath);
    }

    GameFixture game;
    AnalysisState& state = game.state;
    PathText errorPath;
};

TEST_F(PresentSetTest, TracksAfterTheSixteenBaseOnesAreInstalledAndNamesNormalised) {
    game.WriteTrackList(GameFixture::BaseTracksAnd({"SPEED ring", "2fast", "\xE9tape", "oval"}));
    ASSERT_EQ(Analyse(DATA_KIND_TRACKS), RESULT_OK);
    EXPECT_EQ(state.PresentTrackTotal, 20);
    EXPECT_EQ(Names(state.PresentTrackNames, 0, 16), GameFixture::BaseTracks());
    EXPECT_EQ(Names(state.PresentTrackNames, 16, 20),
              (std::vector<std::string>{"Speed ring", "2fast", "\xC9tape", "Oval"}));
    EXPECT_EQ(Flags(state.PresentTrackFlags, 0, 16), std::vector<std::int32_t>(16, 0));
    EXPECT_EQ(Flags(state.PresentTrackFlags, 16, 20), std::vector<std::int32_t>(4, 3));
    EXPECT_EQ(state.TrackListPath, "C:\\ZAV\\Data\\Binary\\Scripts\\circuits.bin");
    EXPECT_TRUE(game.ui.boxes.empty());
}

TEST_F(PresentSetTest, ExactlySixteenTracksLeaveNoFurtherTrack) {
    state.PresentTrackFlags.fill(3); // left from an earlier analysis
    ASSERT_EQ(Analyse(DATA_KIND_TRACKS), RESULT_OK);
    EXPECT_EQ(state.PresentTrackTotal, 16);
    EXPECT_EQ(Flags(state.PresentTrackFlags, 0, 96), std::vector<std::int32_t>(96, 0));
}

TEST(PresentSetKinds, ShortTrackRecordsOfTheFirstGameVersionAreRead) {
    GameFixture game({.gameVersion = 1, .gameFolderCase = test::NameCase::Upper});
    ASSERT_NO_FATAL_FAILURE(game.Locate());
    game.WriteTrackList(GameFixture::BaseTracksAnd({"Foo"}));
    PathText errorPath;
    ASSERT_EQ(AnalysePresentSet(game.session, DATA_KIND_TRACKS, errorPath), RESULT_OK);
    EXPECT_EQ(game.state.PresentTrackTotal, 17);
    EXPECT_EQ(game.state.PresentTrackNames[16], "Foo");
}

TEST_F(PresentSetTest, BaseCarsStandOutsideTheTotalAndDuplicatesTakeTwoSlots) {
    // Among the first 8 records of voitures.bin: base names in another case, which stay base
    // cars, and one car that is not a base car. Record 9 is beyond the base list.
    game.WriteBaseCarList(
        {"TOLVA", "rusko", "Mervi", "kALTUN", "ZQ2", "Brenik", "Ostra", "phantom", "Beyond"});
    game.WriteAddedCarList({"vel", "PHANTOM", "nova"});
    ASSERT_EQ(Analyse(DATA_KIND_CARS), RESULT_OK);
    EXPECT_EQ(state.PresentCarTotal, 3);
    EXPECT_EQ(Names(state.PresentCarNames, 0, 8),
              (std::vector<std::string>{"Tolva", "Rusko", "Mervi", "Kaltun", "Zq2", "Brenik",
                                        "Ostra", "Vel"}));
    EXPECT_EQ(Names(state.PresentCarNames, 8, 11),
              (std::vector<std::string>{"Phantom", "Phantom", "Nova"}));
    EXPECT_EQ(Flags(state.PresentCarFlags, 0, 8), std::vector<std::int32_t>(8, 0));
    EXPECT_EQ(Flags(state.PresentCarFlags, 8, 11), std::vector<std::int32_t>(3, 3));
    EXPECT_EQ(state.CarListPath, "C:\\ZAV\\Data\\Binary\\Scripts\\voiture2.bin");
}

TEST_F(PresentSetTest, ShortBaseCarListGivesOnlyTheRecordsItHas) {
    game.WriteBaseCarList({"Tolva", "Ghost"});
    ASSERT_EQ(Analyse(DATA_KIND_CARS), RESULT_OK);
    EXPECT_EQ(state.PresentCarTotal, 1);
    EXPECT_EQ(state.PresentCarNames[8], "Ghost");
}

TEST_F(PresentSetTest, CountsLargerThanTheFilesAreBoundedByTheRecordsHeld) {
    auto tracks = test::ListFile(game.TrackRecordsFor(GameFixture::BaseTracksAnd({"A", "B"})), 40);
    test::WriteFile(game.TrackListHost(), tracks);
    test::WriteFile(game.AddedCarListHost(),
                    test::ListFile(GameFixture::CarRecordsFor({"One", "Two", "Three"}), 50));
    ASSERT_EQ(Analyse(DATA_KIND_TRACKS), RESULT_OK);
    ASSERT_EQ(Analyse(DATA_KIND_CARS), RESULT_OK);
    EXPECT_EQ(state.PresentTrackTotal, 18);
    EXPECT_EQ(state.PresentCarTotal, 3);
}

TEST_F(PresentSetTest, TrackListBeyondNinetySixIsCutWithOneNotice) {
    std::vector<std::string> further;
    for (int i = 1; i <= 84; ++i) {
        further.push_back("Extra " + std::to_string(i));
    }
    game.WriteTrackList(GameFixture::BaseTracksAnd(further)); // 100 tracks
    ASSERT_EQ(Analyse(DATA_KIND_TRACKS), RESULT_OK);
    ASSERT_EQ(Analyse(DATA_KIND_TRACKS), RESULT_OK); // a cancel analyses again
    EXPECT_EQ(state.PresentTrackTotal, 96);
    EXPECT_EQ(state.PresentTrackNames[95], "Extra 80");
    ASSERT_EQ(game.ui.boxes.size(), 1u);
    EXPECT_EQ(game.ui.boxes[0].caption, "ZAV Data Patcher");
    EXPECT_EQ(game.ui.boxes[0].style, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_NE(game.ui.boxes[0].text.find("100 tracks"), std::string::npos) << game.ui.boxes[0].text;
    EXPECT_NE(game.ui.boxes[0].text.find("other 4"), std::string::npos) << game.ui.boxes[0].text;
}

TEST_F(PresentSetTest, MoreThanEightyEightFurtherCarsAreCutWithOneNotice) {
    game.WriteBaseCarList({"Tolva", "Rusko", "Mervi", "Kaltun", "Zq2", "Brenik", "Ostra", "Extra"});
    std::vector<std::string> added;
    for (int i = 1; i <= 94; ++i) {
        added.push_back("Car " + std::to_string(i));
    }
    game.WriteAddedCarList(added); // 1 + 94 = 95 further cars
    ASSERT_EQ(Analyse(DATA_KIND_CARS), RESULT_OK);
    EXPECT_EQ(state.PresentCarTotal, 88);
    EXPECT_EQ(state.PresentCarNames[8], "Extra");
    EXPECT_EQ(state.PresentCarNames[95], "Car 87");
    ASSERT_EQ(game.ui.boxes.size(), 1u);
    EXPECT_EQ(game.ui.boxes[0].caption, "ZAV Data Patcher");
    EXPECT_NE(game.ui.boxes[0].text.find("95 further cars"), std::string::npos);
    EXPECT_NE(game.ui.boxes[0].text.find("other 7"), std::string::npos);
}

TEST_F(PresentSetTest, MissingListFileIsReportedWithItsPath) {
    std::remove(game.TrackListHost().c_str());
    EXPECT_EQ(Analyse(DATA_KIND_TRACKS), ERR_FILE_NOT_FOUND);
    EXPECT_EQ(errorPath, "C:\\ZAV\\Data\\Binary\\Scripts\\circuits.bin");

    std::remove(game.AddedCarListHost().c_str());
    EXPECT_EQ(Analyse(DATA_KIND_CARS), ERR_FILE_NOT_FOUND);
    EXPECT_EQ(errorPath, "C:\\ZAV\\Data\\Binary\\Scripts\\voiture2.bin");

    std::remove(game.BaseCarListHost().c_str());
    EXPECT_EQ(Analyse(DATA_KIND_CARS), ERR_FILE_NOT_FOUND);
    EXPECT_EQ(errorPath, "C:\\ZAV\\Data\\Binary\\Scripts\\voitures.bin");
}

TEST_F(PresentSetTest, AnotherKindChangesNothing) {
    state.PresentTrackTotal = 42;
    state.PresentCarTotal = 7;
    EXPECT_EQ(Analyse(2), RESULT_OK);
    EXPECT_EQ(state.PresentTrackTotal, 42);
    EXPECT_EQ(state.PresentCarTotal, 7);
}

} // namespace
} // namespace zav
