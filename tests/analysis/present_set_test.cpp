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

std::vector<std::string> Numbered(const std::string& stem, int count) {
    std::vector<std::string> names;
    for (int i = 1; i <= count; ++i) {
        names.push_back(stem + std::to_string(i));
    }
    return names;
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
    test::WriteFile(game.Script("circuits.bin"), game.TrackList(GameFixture::BaseTracksAnd(
                                                     {"SPEED ring", "2fast", "\xE9tape"})));
    state.PresentTrackFlags.fill(3); // left from an earlier analysis
    ASSERT_EQ(Analyse(DATA_KIND_TRACKS), RESULT_OK);
    EXPECT_EQ(state.PresentTrackTotal, 19);
    EXPECT_EQ(Names(state.PresentTrackNames, 0, 19),
              GameFixture::BaseTracksAnd({"Speed ring", "2fast", "\xC9tape"}));
    EXPECT_EQ(Flags(state.PresentTrackFlags, 0, 16), std::vector<std::int32_t>(16, 0));
    std::vector<std::int32_t> further(80, 0);
    further[0] = further[1] = further[2] = 3;
    EXPECT_EQ(Flags(state.PresentTrackFlags, 16, 96), further);
    EXPECT_EQ(state.TrackListPath, "C:\\ZAV\\Data\\Binary\\Scripts\\circuits.bin");
    EXPECT_TRUE(game.ui.boxes.empty());
}

TEST(PresentSetKinds, ShortTrackRecordsOfTheFirstGameVersionAreRead) {
    GameFixture game({.gameVersion = 1, .gameFolderCase = test::NameCase::Upper});
    ASSERT_NO_FATAL_FAILURE(game.Locate());
    test::WriteFile(game.Script("circuits.bin"),
                    game.TrackList(GameFixture::BaseTracksAnd({"Foo"})));
    PathText errorPath;
    ASSERT_EQ(AnalysePresentSet(game.session, DATA_KIND_TRACKS, errorPath), RESULT_OK);
    EXPECT_EQ(game.state.PresentTrackTotal, 17);
    EXPECT_EQ(game.state.PresentTrackNames[16], "Foo");
}

TEST_F(PresentSetTest, BaseCarsStandOutsideTheTotalAndDuplicatesTakeTwoSlots) {
    // Among the first 8 records of voitures.bin: base names in another case, which stay base
    // cars, and one car that is not a base car. Record 9 is beyond the base list.
    test::WriteFile(game.Script("voitures.bin"),
                    GameFixture::CarList({"TOLVA", "rusko", "Mervi", "kALTUN", "ZQ2", "Brenik",
                                          "Ostra", "phantom", "Beyond"}));
    test::WriteFile(game.Script("voiture2.bin"), GameFixture::CarList({"vel", "PHANTOM", "nova"}));
    ASSERT_EQ(Analyse(DATA_KIND_CARS), RESULT_OK);
    EXPECT_EQ(state.PresentCarTotal, 3);
    EXPECT_EQ(Names(state.PresentCarNames, 0, 11),
              (std::vector<std::string>{"Tolva", "Rusko", "Mervi", "Kaltun", "Zq2", "Brenik",
                                        "Ostra", "Vel", "Phantom", "Phantom", "Nova"}));
    EXPECT_EQ(Flags(state.PresentCarFlags, 0, 11),
              (std::vector<std::int32_t>{0, 0, 0, 0, 0, 0, 0, 0, 3, 3, 3}));
    EXPECT_EQ(state.CarListPath, "C:\\ZAV\\Data\\Binary\\Scripts\\voiture2.bin");

    // A short base list gives only the records it has.
    test::WriteFile(game.Script("voitures.bin"), GameFixture::CarList({"Tolva", "Ghost"}));
    test::WriteFile(game.Script("voiture2.bin"), GameFixture::CarList({}));
    ASSERT_EQ(Analyse(DATA_KIND_CARS), RESULT_OK);
    EXPECT_EQ(state.PresentCarTotal, 1);
    EXPECT_EQ(state.PresentCarNames[8], "Ghost");
}

TEST_F(PresentSetTest, CountsLargerThanTheFilesAreBoundedByTheRecordsHeld) {
    test::WriteFile(game.Script("circuits.bin"),
                    game.TrackList(GameFixture::BaseTracksAnd({"A", "B"}), 40));
    test::WriteFile(game.Script("voiture2.bin"), GameFixture::CarList({"One", "Two", "Three"}, 50));
    ASSERT_EQ(Analyse(DATA_KIND_TRACKS), RESULT_OK);
    ASSERT_EQ(Analyse(DATA_KIND_CARS), RESULT_OK);
    EXPECT_EQ(state.PresentTrackTotal, 18);
    EXPECT_EQ(state.PresentCarTotal, 3);
}

TEST_F(PresentSetTest, ListsBeyondTheirSlotsAreCutWithOneNoticeEach) {
    test::WriteFile(game.Script("circuits.bin"),
                    game.TrackList(GameFixture::BaseTracksAnd(Numbered("Extra ", 84))));
    ASSERT_EQ(Analyse(DATA_KIND_TRACKS), RESULT_OK);
    ASSERT_EQ(Analyse(DATA_KIND_TRACKS), RESULT_OK); // a cancel analyses again: no second notice
    EXPECT_EQ(state.PresentTrackTotal, 96);
    EXPECT_EQ(state.PresentTrackNames[95], "Extra 80");
    ASSERT_EQ(game.ui.boxes.size(), 1u);
    EXPECT_EQ(game.ui.boxes[0].caption, "ZAV Data Patcher");
    EXPECT_EQ(game.ui.boxes[0].style, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_NE(game.ui.boxes[0].text.find("100 tracks"), std::string::npos) << game.ui.boxes[0].text;
    EXPECT_NE(game.ui.boxes[0].text.find("other 4"), std::string::npos) << game.ui.boxes[0].text;

    // 1 further car in the base list and 94 added: 95 further cars for 88 slots.
    test::WriteFile(game.Script("voitures.bin"),
                    GameFixture::CarList(
                        {"Tolva", "Rusko", "Mervi", "Kaltun", "Zq2", "Brenik", "Ostra", "Extra"}));
    test::WriteFile(game.Script("voiture2.bin"), GameFixture::CarList(Numbered("Car ", 94)));
    game.ForgetUi();
    ASSERT_EQ(Analyse(DATA_KIND_CARS), RESULT_OK);
    EXPECT_EQ(state.PresentCarTotal, 88);
    EXPECT_EQ(state.PresentCarNames[8], "Extra");
    EXPECT_EQ(state.PresentCarNames[95], "Car 87");
    ASSERT_EQ(game.ui.boxes.size(), 1u);
    EXPECT_NE(game.ui.boxes[0].text.find("95 further cars"), std::string::npos);
    EXPECT_NE(game.ui.boxes[0].text.find("other 7"), std::string::npos);
}

TEST_F(PresentSetTest, MissingListFileIsReportedWithItsPathAndAnotherKindChangesNothing) {
    for (const auto& [file, kind] : {std::pair{"circuits.bin", DATA_KIND_TRACKS},
                                     {"voiture2.bin", DATA_KIND_CARS},
                                     {"voitures.bin", DATA_KIND_CARS}}) {
        std::remove(game.Script(file).c_str());
        EXPECT_EQ(Analyse(kind), ERR_FILE_NOT_FOUND);
        EXPECT_EQ(errorPath, "C:\\ZAV\\Data\\Binary\\Scripts\\" + std::string(file));
    }
    state.PresentTrackTotal = 42;
    state.PresentCarTotal = 7;
    EXPECT_EQ(Analyse(2), RESULT_OK);
    EXPECT_EQ(state.PresentTrackTotal, 42);
    EXPECT_EQ(state.PresentCarTotal, 7);
}

} // namespace
} // namespace zav
