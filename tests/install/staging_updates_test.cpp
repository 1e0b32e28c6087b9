// "Add to List": marked proposed entries join the work list and the present set.
#include "install/staging_updates.h"

#include <gtest/gtest.h>

#include "settings/error_report.h"
#include "support/game_fixture.h"

namespace zav {
namespace {

using test::Bytes;
using test::GameFixture;
using test::ReadFile;

constexpr std::int32_t T = DATA_KIND_TRACKS;
constexpr std::int32_t C = DATA_KIND_CARS;
const std::vector<std::string> kScriptsFiles = {"circuits.bin", "circuits.sav", "voiture2.bin",
                                                "voiture2.sav", "voitures.bin"};

std::vector<std::string> Numbered(const std::string& stem, int count) {
    std::vector<std::string> names;
    for (int i = 1; i <= count; ++i) {
        names.push_back(stem + std::to_string(i));
    }
    return names;
}

class AddTracksTest : public ::testing::TestWithParam<std::int32_t> {};

TEST_P(AddTracksTest, AppendsTheStagedRecordsOfTheMarkedTracksByteForByte) {
    GameFixture game{{.gameVersion = GetParam()}};
    AnalysisState& state = game.state;
    for (const char* name : {"Alpha", "Bravo", "Charlie", "Delta", "Echo"}) {
        game.AddDisc(T, name);
    }
    ASSERT_NO_FATAL_FAILURE(game.StartUp());
    const Bytes gameList = ReadFile(game.Script("circuits.bin"));
    PathText argument;
    // Nothing marked changes nothing.
    ASSERT_EQ(AddSelectedTracks(game.session, argument), RESULT_OK);
    EXPECT_EQ(ReadFile(game.Script("circuits.sav")), gameList);
    EXPECT_EQ(game.ui.steps, 0);

    for (const std::size_t i : {0, 2, 4}) {
        state.NewTrackFlags[i] = PROPOSED_MARKED;
    }
    ASSERT_EQ(AddSelectedTracks(game.session, argument), RESULT_OK);
    EXPECT_EQ(ReadFile(game.Script("circuits.sav")),
              game.TrackList(GameFixture::BaseTracksAnd({"Alpha", "Charlie", "Echo"})));
    EXPECT_EQ(ReadFile(game.Script("circuits.bin")), gameList);
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

INSTANTIATE_TEST_SUITE_P(BothRecordKinds, AddTracksTest, ::testing::Values(1, 2));

TEST(AddCars, AppendAtTheEndOfTheCarWorkList) {
    // voiture2.bin naming a base car, or voitures.bin holding a further car: a position counted
    // from PresentCarTotal would fall on an earlier record.
    struct Case {
        std::vector<std::string> baseList, addedList;
        std::int32_t firstSlot;
    };
    const Case cases[] = {
        {{BaseCarNames.begin(), BaseCarNames.end()}, {"Tolva", "Alpha", "Bravo"}, 10},
        {{"Tolva", "Rusko", "Mervi", "Kaltun", "Zq2", "Brenik", "Ostra", "Ghost"},
         {"Alpha", "Bravo"},
         11}};
    for (const Case& c : cases) {
        GameFixture game;
        test::WriteFile(game.Script("voitures.bin"), GameFixture::CarList(c.baseList));
        test::WriteFile(game.Script("voiture2.bin"), GameFixture::CarList(c.addedList));
        game.AddDisc(C, "Nova");
        game.AddDisc(C, "Orca");
        ASSERT_NO_FATAL_FAILURE(game.StartUp());
        ASSERT_NO_FATAL_FAILURE(game.AddProposed(C, {"Nova", "Orca"}));
        std::vector<std::string> expected = c.addedList;
        expected.insert(expected.end(), {"Nova", "Orca"});
        EXPECT_EQ(ReadFile(game.Script("voiture2.sav")), GameFixture::CarList(expected));
        EXPECT_EQ(game.state.PresentCarNames[static_cast<std::size_t>(c.firstSlot)], "Nova");
        EXPECT_EQ(game.state.PresentCarNames[static_cast<std::size_t>(c.firstSlot + 1)], "Orca");
        EXPECT_EQ(game.state.PresentCarFlags[static_cast<std::size_t>(c.firstSlot)], PRESENT_ADDED);
        EXPECT_EQ(game.state.CarRecordsAppended, 2);
    }
}

class AddFailureTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"Alpha", "Bravo", "Charlie"}) {
            game.AddDisc(C, name);
            game.AddDisc(T, name);
        }
        ASSERT_NO_FATAL_FAILURE(game.StartUp());
        for (const std::int32_t kind : {T, C}) {
            game.MarkProposed(kind, "Alpha");
            game.MarkProposed(kind, "Charlie");
        }
        trackWorkList = ReadFile(game.Script("circuits.sav"));
        carWorkList = ReadFile(game.Script("voiture2.sav"));
    }

    std::int32_t Add(std::int32_t kind) {
        return kind == C ? AddSelectedCars(game.session, argument)
                         : AddSelectedTracks(game.session, argument);
    }
    // Nothing joined the present set, the marks stayed and the work list is as it was.
    void ExpectNothingAdded(std::int32_t kind) {
        const bool cars = kind == C;
        EXPECT_EQ(cars ? state.PresentCarTotal : state.PresentTrackTotal, cars ? 0 : 16);
        const FlagTable& marks = cars ? state.NewCarFlags : state.NewTrackFlags;
        EXPECT_EQ(marks[0], PROPOSED_MARKED);
        EXPECT_EQ(marks[2], PROPOSED_MARKED);
        if (test::FileExists(game.Script(cars ? "voiture2.sav" : "circuits.sav"))) {
            EXPECT_EQ(ReadFile(game.Script(cars ? "voiture2.sav" : "circuits.sav")),
                      cars ? carWorkList : trackWorkList);
        }
    }

    GameFixture game;
    AnalysisState& state = game.state;
    PathText argument;
    Bytes trackWorkList;
    Bytes carWorkList;
};

TEST_F(AddFailureTest, ListsThatCannotBeOpenedAddNothingAndAreNamed) {
    test::MakeReadOnly(game.Script("circuits.sav"));
    EXPECT_EQ(Add(T), ERR_UPDATE_FAILED);
    EXPECT_EQ(argument, "C:\\ZAV\\Data\\Binary\\Scripts\\circuits.sav");
    ExpectNothingAdded(T);
    EXPECT_EQ(game.ScriptsFolderNames(), kScriptsFiles);
    EXPECT_EQ(game.ui.steps, 0);

    // A missing work list is not made anew.
    std::remove(game.Script("voiture2.sav").c_str());
    EXPECT_EQ(Add(C), ERR_UPDATE_FAILED);
    EXPECT_EQ(argument, "C:\\ZAV\\Data\\Binary\\Scripts\\voiture2.sav");
    EXPECT_FALSE(test::FileExists(game.Script("voiture2.sav")));
    ExpectNothingAdded(C);

    test::WriteFile(game.Script("voiture2.sav"), carWorkList);
    std::remove(state.CarStagingPath.c_str());
    EXPECT_EQ(Add(C), ERR_UPDATE_FAILED);
    EXPECT_EQ(argument, state.CarStagingPath);
    ExpectNothingAdded(C);
}

TEST_F(AddFailureTest, UnreadableStagingRecordLeavesItsEntryOutAndSaysSo) {
    // The car staging list loses its later records after the scan.
    test::WriteFile(state.CarStagingPath.str(), GameFixture::CarList({"Alpha"}));
    ASSERT_EQ(Add(C), RESULT_OK);
    EXPECT_EQ(ReadFile(game.Script("voiture2.sav")), GameFixture::CarList({"Alpha"}));
    EXPECT_EQ(state.PresentCarTotal, 1);
    EXPECT_EQ(state.PresentCarNames[8], "Alpha");
    EXPECT_EQ(state.NewCarFlags[2], PROPOSED_UNMARKED);
    ASSERT_EQ(game.ui.boxes.size(), 1u);
    EXPECT_EQ(game.ui.boxes[0].caption, "ZAV Data Patcher");
    EXPECT_EQ(game.ui.boxes[0].style, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_NE(game.ui.boxes[0].text.find("Charlie"), std::string::npos);
    EXPECT_EQ(game.ui.steps, 2);
}

TEST_F(AddFailureTest, RecordFailingPartWayLeavesNoRecordOfTheRunToBeAppendedTwice) {
    // A count beyond the records the work list holds: the append position lies past its end.
    test::WriteFile(game.Script("circuits.sav"),
                    game.TrackList(GameFixture::BaseTracksAnd({}), 30));
    argument.Assign("something");
    EXPECT_EQ(Add(T), ERR_UNREFERENCED);
    EXPECT_TRUE(argument.empty());
    test::WriteFile(game.Script("circuits.sav"), trackWorkList);
    ExpectNothingAdded(T);

    // The second record of the run meets a full disk.
    int failed = 0;
    game.files.FailWhen([&](const test::FileOperation& operation) {
        return operation.kind == "Write" && operation.offset == 4 + 140 * 17 && failed++ == 0;
    });
    EXPECT_EQ(Add(T), ERR_UNREFERENCED);
    EXPECT_GT(failed, 0);
    EXPECT_EQ(game.ScriptsFolderNames(), kScriptsFiles);
    ExpectNothingAdded(T);
    // The marks stayed: the next run adds both, each once.
    ASSERT_EQ(Add(T), RESULT_OK);
    EXPECT_EQ(ReadFile(game.Script("circuits.sav")),
              game.TrackList(GameFixture::BaseTracksAnd({"Alpha", "Charlie"})));
}

TEST(AddCap, EntriesBeyondTheSlotsAreLeftOutWithOneNotice) {
    GameFixture game;
    std::vector<std::string> tracks = Numbered("Extra ", 78); // 94 tracks with the base ones
    std::vector<std::string> cars = Numbered("Car ", 87);     // 88 further slots
    test::WriteFile(game.Script("circuits.bin"),
                    game.TrackList(GameFixture::BaseTracksAnd(tracks)));
    test::WriteFile(game.Script("voiture2.bin"), GameFixture::CarList(cars));
    for (const char* name : {"Alpha", "Bravo", "Charlie"}) {
        game.AddDisc(T, name);
        game.AddDisc(C, name);
    }
    ASSERT_NO_FATAL_FAILURE(game.StartUp());
    for (const char* name : {"Alpha", "Bravo", "Charlie"}) {
        game.MarkProposed(T, name);
        game.MarkProposed(C, name);
    }
    PathText argument;
    ASSERT_EQ(AddSelectedTracks(game.session, argument), RESULT_OK);
    EXPECT_EQ(game.state.PresentTrackTotal, 96);
    EXPECT_EQ(game.state.PresentTrackNames[95], "Bravo");
    EXPECT_EQ(game.state.NewTrackFlags[2], PROPOSED_UNMARKED);
    tracks.insert(tracks.end(), {"Alpha", "Bravo"});
    EXPECT_EQ(ReadFile(game.Script("circuits.sav")),
              game.TrackList(GameFixture::BaseTracksAnd(tracks)));
    ASSERT_EQ(game.ui.boxes.size(), 1u);
    EXPECT_EQ(game.ui.boxes[0].caption, "ZAV Data Patcher");
    EXPECT_EQ(game.ui.boxes[0].style, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_NE(game.ui.boxes[0].text.find("Charlie"), std::string::npos);

    ASSERT_EQ(AddSelectedCars(game.session, argument), RESULT_OK);
    EXPECT_EQ(game.state.PresentCarTotal, 88);
    EXPECT_EQ(game.state.PresentCarNames[95], "Alpha");
    cars.push_back("Alpha");
    EXPECT_EQ(ReadFile(game.Script("voiture2.sav")), GameFixture::CarList(cars));
    ASSERT_EQ(game.ui.boxes.size(), 2u);
    EXPECT_NE(game.ui.boxes[1].text.find("Bravo"), std::string::npos);
}

} // namespace
} // namespace zav
