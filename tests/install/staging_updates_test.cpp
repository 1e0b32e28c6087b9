// "Add to List": marked proposed entries join the work list and the present set.
#include "install/staging_updates.h"

#include <gtest/gtest.h>

#include "settings/error_report.h"
#include "support/game_fixture.h"

namespace zav {
namespace {

using test::Bytes;
using test::GameFixture;
using test::ListFile;
using test::ReadFile;

class AddTracksTest : public ::testing::TestWithParam<std::int32_t> {
protected:
    void SetUp() override {
        for (const char* name : {"Alpha", "Bravo", "Charlie", "Delta", "Echo"}) {
            game.AddDiscTrack(name);
        }
        ASSERT_NO_FATAL_FAILURE(game.StartUp());
        ASSERT_EQ(state.NewTrackTotal, 5);
    }

    std::int32_t Add() {
        state.TrackRecordsAppended = 0;
        return AddSelectedTracks(game.session, argument);
    }

    GameFixture game{{.gameVersion = GetParam()}};
    AnalysisState& state = game.state;
    PathText argument;
    const Bytes gameList = ReadFile(game.TrackListHost());
};

TEST_P(AddTracksTest, AppendsTheStagedRecordsOfTheMarkedTracksByteForByte) {
    for (const std::int32_t i : {0, 2, 4}) {
        state.NewTrackFlags[static_cast<std::size_t>(i)] = PROPOSED_MARKED;
    }
    ASSERT_EQ(Add(), RESULT_OK);
    EXPECT_EQ(
        ReadFile(game.TrackWorkListHost()),
        ListFile(game.TrackRecordsFor(GameFixture::BaseTracksAnd({"Alpha", "Charlie", "Echo"}))));
    EXPECT_EQ(ReadFile(game.TrackListHost()), gameList);
    EXPECT_EQ(state.TrackRecordsAppended, 3);
    EXPECT_EQ(state.PresentTrackTotal, 19);
    for (const auto& [slot, name] : {std::pair{16, "Alpha"}, {17, "Charlie"}, {18, "Echo"}}) {
        EXPECT_EQ(state.PresentTrackNames[slot], name);
        EXPECT_EQ(state.PresentTrackFlags[slot], PRESENT_ADDED);
    }
    EXPECT_EQ(
        std::vector<std::int32_t>(state.NewTrackFlags.begin(), state.NewTrackFlags.begin() + 5),
        std::vector<std::int32_t>(5, PROPOSED_UNMARKED));
    EXPECT_EQ(state.NewTrackTotal, 5);
    EXPECT_EQ(game.ui.steps, 6);
    EXPECT_EQ(game.ui.pauses, std::vector<int>(6, 150));
    EXPECT_TRUE(game.ui.boxes.empty());
}

TEST_P(AddTracksTest, NothingMarkedChangesNothing) {
    ASSERT_EQ(Add(), RESULT_OK);
    EXPECT_EQ(ReadFile(game.TrackWorkListHost()), gameList);
    EXPECT_EQ(state.PresentTrackTotal, 16);
    EXPECT_EQ(game.ui.steps, 0);
}

INSTANTIATE_TEST_SUITE_P(BothRecordKinds, AddTracksTest, ::testing::Values(1, 2));

TEST(AddCars, AppendAtTheEndOfTheWorkListWhenItHoldsABaseCar) {
    // voiture2.bin names a base car, which the present set does not count: a position counted
    // from PresentCarTotal would fall on Bravo's record.
    GameFixture game;
    game.WriteAddedCarList({"Tolva", "Alpha", "Bravo"});
    game.AddDiscCar("Nova");
    ASSERT_NO_FATAL_FAILURE(game.StartUp());
    ASSERT_EQ(game.state.PresentCarTotal, 2);
    ASSERT_NO_FATAL_FAILURE(game.AddProposed(DATA_KIND_CARS, {"Nova"}));
    EXPECT_EQ(ReadFile(game.CarWorkListHost()),
              ListFile(GameFixture::CarRecordsFor({"Tolva", "Alpha", "Bravo", "Nova"})));
    EXPECT_EQ(game.state.PresentCarNames[10], "Nova");
    EXPECT_EQ(game.state.PresentCarFlags[10], PRESENT_ADDED);
    EXPECT_EQ(game.state.CarRecordsAppended, 1);
}

TEST(AddCars, AppendAtTheEndOfTheWorkListWhenTheBaseListHoldsAFurtherCar) {
    GameFixture game;
    game.WriteBaseCarList({"Tolva", "Rusko", "Mervi", "Kaltun", "Zq2", "Brenik", "Ostra", "Ghost"});
    game.WriteAddedCarList({"Alpha", "Bravo"});
    game.AddDiscCar("Nova");
    game.AddDiscCar("Orca");
    ASSERT_NO_FATAL_FAILURE(game.StartUp());
    ASSERT_EQ(game.state.PresentCarTotal, 3);
    ASSERT_NO_FATAL_FAILURE(game.AddProposed(DATA_KIND_CARS, {"Nova", "Orca"}));
    EXPECT_EQ(ReadFile(game.CarWorkListHost()),
              ListFile(GameFixture::CarRecordsFor({"Alpha", "Bravo", "Nova", "Orca"})));
    EXPECT_EQ(game.state.PresentCarTotal, 5);
    EXPECT_EQ(game.state.PresentCarNames[11], "Nova");
    EXPECT_EQ(game.state.PresentCarNames[12], "Orca");
}

class AddFailureTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"Alpha", "Bravo", "Charlie"}) {
            game.AddDiscCar(name);
            game.AddDiscTrack(name);
        }
        ASSERT_NO_FATAL_FAILURE(game.StartUp());
        game.MarkProposed(DATA_KIND_TRACKS, "Alpha");
        game.MarkProposed(DATA_KIND_TRACKS, "Charlie");
        game.MarkProposed(DATA_KIND_CARS, "Alpha");
        game.MarkProposed(DATA_KIND_CARS, "Charlie");
        trackWorkList = ReadFile(game.TrackWorkListHost());
        carWorkList = ReadFile(game.CarWorkListHost());
    }

    void ExpectNothingAdded(std::int32_t kind) {
        const bool cars = kind == DATA_KIND_CARS;
        EXPECT_EQ(cars ? state.PresentCarTotal : state.PresentTrackTotal, cars ? 0 : 16);
        const FlagTable& marks = cars ? state.NewCarFlags : state.NewTrackFlags;
        EXPECT_EQ(marks[0], PROPOSED_MARKED);
        EXPECT_EQ(marks[2], PROPOSED_MARKED);
    }

    GameFixture game;
    AnalysisState& state = game.state;
    PathText argument;
    Bytes trackWorkList;
    Bytes carWorkList;
};

TEST_F(AddFailureTest, WorkListThatCannotBeOpenedAddsNothing) {
    test::MakeReadOnly(game.TrackWorkListHost());
    EXPECT_EQ(AddSelectedTracks(game.session, argument), ERR_UPDATE_FAILED);
    EXPECT_EQ(argument, state.TrackWorkListPath);
    EXPECT_EQ(argument, "C:\\ZAV\\Data\\Binary\\Scripts\\circuits.sav");
    ExpectNothingAdded(DATA_KIND_TRACKS);
    EXPECT_EQ(ReadFile(game.TrackWorkListHost()), trackWorkList);
    EXPECT_EQ(game.ScriptsFolderNames(),
              (std::vector<std::string>{"circuits.bin", "circuits.sav", "voiture2.bin",
                                        "voiture2.sav", "voitures.bin"}));
    EXPECT_EQ(game.ui.steps, 0);
}

TEST_F(AddFailureTest, MissingWorkListIsNotMadeAnewAndAddsNothing) {
    std::remove(game.CarWorkListHost().c_str());
    EXPECT_EQ(AddSelectedCars(game.session, argument), ERR_UPDATE_FAILED);
    EXPECT_EQ(argument, "C:\\ZAV\\Data\\Binary\\Scripts\\voiture2.sav");
    EXPECT_FALSE(test::FileExists(game.CarWorkListHost()));
    ExpectNothingAdded(DATA_KIND_CARS);
}

TEST_F(AddFailureTest, StagingListThatCannotBeOpenedAddsNothing) {
    std::remove(state.CarStagingPath.c_str());
    EXPECT_EQ(AddSelectedCars(game.session, argument), ERR_UPDATE_FAILED);
    EXPECT_EQ(argument, state.CarStagingPath);
    ExpectNothingAdded(DATA_KIND_CARS);
    EXPECT_EQ(ReadFile(game.CarWorkListHost()), carWorkList);
    EXPECT_EQ(game.ui.steps, 0);
}

TEST_F(AddFailureTest, UnreadableStagingRecordLeavesItsEntryOutAndSaysSo) {
    // The car staging list loses its later records after the scan.
    test::WriteFile(state.CarStagingPath.str(), ListFile(GameFixture::CarRecordsFor({"Alpha"})));
    ASSERT_EQ(AddSelectedCars(game.session, argument), RESULT_OK);
    EXPECT_EQ(ReadFile(game.CarWorkListHost()), ListFile(GameFixture::CarRecordsFor({"Alpha"})));
    EXPECT_EQ(state.PresentCarTotal, 1);
    EXPECT_EQ(state.PresentCarNames[8], "Alpha");
    EXPECT_EQ(state.NewCarFlags[2], PROPOSED_UNMARKED);
    ASSERT_EQ(game.ui.boxes.size(), 1u);
    EXPECT_EQ(game.ui.boxes[0].caption, "ZAV Data Patcher");
    EXPECT_EQ(game.ui.boxes[0].style, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_NE(game.ui.boxes[0].text.find("Charlie"), std::string::npos);
    EXPECT_EQ(game.ui.steps, 2);
}

TEST_F(AddFailureTest, RecordThatCannotBeWrittenEndsTheRunWithNothingAdded) {
    // A count beyond the records the work list holds: the append position lies past its end.
    test::WriteFile(game.TrackWorkListHost(),
                    ListFile(game.TrackRecordsFor(GameFixture::BaseTracks()), 30));
    argument.Assign("something");
    EXPECT_EQ(AddSelectedTracks(game.session, argument), ERR_UNREFERENCED);
    EXPECT_TRUE(argument.empty());
    ExpectNothingAdded(DATA_KIND_TRACKS);
}

TEST_F(AddFailureTest, RecordFailingPartWayLeavesNoRecordOfTheRunToBeAppendedTwice) {
    // The second record of the run meets a full disk.
    bool failed = false;
    game.files.failWrite = [&](std::string_view, std::int64_t offset) {
        if (!failed && offset == 4 + 140 * 17) {
            failed = true;
            return true;
        }
        return false;
    };
    EXPECT_EQ(AddSelectedTracks(game.session, argument), ERR_UNREFERENCED);
    EXPECT_TRUE(failed);
    EXPECT_EQ(ReadFile(game.TrackWorkListHost()), trackWorkList);
    EXPECT_EQ(game.ScriptsFolderNames(),
              (std::vector<std::string>{"circuits.bin", "circuits.sav", "voiture2.bin",
                                        "voiture2.sav", "voitures.bin"}));
    ExpectNothingAdded(DATA_KIND_TRACKS);

    // The marks stayed: the next run adds both, each once.
    ASSERT_EQ(AddSelectedTracks(game.session, argument), RESULT_OK);
    EXPECT_EQ(ReadFile(game.TrackWorkListHost()),
              ListFile(game.TrackRecordsFor(GameFixture::BaseTracksAnd({"Alpha", "Charlie"}))));
}

TEST(AddCap, TracksBeyondNinetySixSlotsAreLeftOutWithOneNotice) {
    GameFixture game;
    std::vector<std::string> further;
    for (int i = 1; i <= 78; ++i) {
        further.push_back("Extra " + std::to_string(i));
    }
    game.WriteTrackList(GameFixture::BaseTracksAnd(further)); // 94 tracks
    for (const char* name : {"Alpha", "Bravo", "Charlie"}) {
        game.AddDiscTrack(name);
    }
    ASSERT_NO_FATAL_FAILURE(game.StartUp());
    for (const char* name : {"Alpha", "Bravo", "Charlie"}) {
        game.MarkProposed(DATA_KIND_TRACKS, name);
    }
    PathText argument;
    ASSERT_EQ(AddSelectedTracks(game.session, argument), RESULT_OK);
    EXPECT_EQ(game.state.PresentTrackTotal, 96);
    EXPECT_EQ(game.state.PresentTrackNames[95], "Bravo");
    EXPECT_EQ(game.state.NewTrackFlags[2], PROPOSED_UNMARKED);
    further.insert(further.end(), {"Alpha", "Bravo"});
    EXPECT_EQ(ReadFile(game.TrackWorkListHost()),
              ListFile(game.TrackRecordsFor(GameFixture::BaseTracksAnd(further))));
    ASSERT_EQ(game.ui.boxes.size(), 1u);
    EXPECT_EQ(game.ui.boxes[0].caption, "ZAV Data Patcher");
    EXPECT_EQ(game.ui.boxes[0].style, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_NE(game.ui.boxes[0].text.find("Charlie"), std::string::npos);
}

TEST(AddCap, CarsBeyondEightyEightFurtherSlotsAreLeftOut) {
    GameFixture game;
    std::vector<std::string> added;
    for (int i = 1; i <= 87; ++i) {
        added.push_back("Car " + std::to_string(i));
    }
    game.WriteAddedCarList(added);
    game.AddDiscCar("Alpha");
    game.AddDiscCar("Bravo");
    ASSERT_NO_FATAL_FAILURE(game.StartUp());
    game.MarkProposed(DATA_KIND_CARS, "Alpha");
    game.MarkProposed(DATA_KIND_CARS, "Bravo");
    PathText argument;
    ASSERT_EQ(AddSelectedCars(game.session, argument), RESULT_OK);
    EXPECT_EQ(game.state.PresentCarTotal, 88);
    EXPECT_EQ(game.state.PresentCarNames[95], "Alpha");
    added.push_back("Alpha");
    EXPECT_EQ(ReadFile(game.CarWorkListHost()), ListFile(GameFixture::CarRecordsFor(added)));
    ASSERT_EQ(game.ui.boxes.size(), 1u);
    EXPECT_NE(game.ui.boxes[0].text.find("Bravo"), std::string::npos);
}

} // namespace
} // namespace zav
