// "Add to List": marked proposed entries join the work list and the present set.
#include "install/staging_updates.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "settings/error_report.h"
#include "support/game_fixture.h"

namespace zav {
namespace {

using test::Bytes;
using test::GameFixture;
using test::ReadFile;
using Names = std::vector<std::string>;

constexpr DataKind T = DataKind::Tracks;
constexpr DataKind C = DataKind::Cars;

// A game whose disc holds Alpha, Bravo and Charlie of both kinds, started up (after `setUp`) with
// `marked` marked in both kinds.
class AddTest : public ::testing::Test {
protected:
    void StartUp(const Names& marked, const std::function<void(GameFixture&)>& setUp = {}) {
        game.emplace();
        if (setUp) {
            setUp(*game);
        }
        for (const char* name : {"Alpha", "Bravo", "Charlie"}) {
            game->AddDisc(C, name);
            game->AddDisc(T, name);
        }
        ASSERT_NO_FATAL_FAILURE(game->StartUp());
        for (const std::string& name : marked) {
            game->MarkProposed(T, name);
            game->MarkProposed(C, name);
        }
        workLists = {WorkList(T), WorkList(C)};
    }
    std::int32_t Add(DataKind kind) {
        return kind == C ? AddSelectedCars(game->session, argument)
                         : AddSelectedTracks(game->session, argument);
    }
    std::string WorkListPath(DataKind kind) const {
        return game->Script(kind == C ? "voiture2.sav" : "circuits.sav");
    }
    Bytes WorkList(DataKind kind) const { return ReadFile(WorkListPath(kind)); }
    // Nothing joined the present set, Alpha and Charlie stayed marked, the work list is unchanged.
    void ExpectNothingAdded(DataKind kind) {
        const bool cars = kind == C;
        EXPECT_EQ(cars ? state().PresentCarTotal : state().PresentTrackTotal, cars ? 0 : 16);
        const FlagTable& marks = cars ? state().NewCarFlags : state().NewTrackFlags;
        EXPECT_EQ(marks[0], PROPOSED_MARKED);
        EXPECT_EQ(marks[2], PROPOSED_MARKED);
        if (test::FileExists(WorkListPath(kind))) {
            EXPECT_EQ(WorkList(kind), workLists[cars ? 1 : 0]);
        }
    }
    void ExpectOneNoticeNaming(std::size_t box, const char* name) {
        ASSERT_EQ(game->ui.boxes.size(), box + 1);
        EXPECT_EQ(game->ui.boxes[box].caption, "ZAV Data Patcher");
        EXPECT_EQ(game->ui.boxes[box].style, MB_OK | MB_ICONEXCLAMATION);
        EXPECT_NE(game->ui.boxes[box].text.find(name), std::string::npos);
    }
    AnalysisState& state() { return game->state; }

    std::optional<GameFixture> game;
    PathText argument;
    std::vector<Bytes> workLists;
};

TEST_F(AddTest, CarsAppendAtTheEndOfTheCarWorkList) {
    // voiture2.bin naming a base car, or voitures.bin holding a further car: a position counted
    // from PresentCarTotal would fall on an earlier record.
    const std::tuple<Names, Names, std::size_t> cases[] = {
        {{BaseCarNames.begin(), BaseCarNames.end()}, {"Tolva", "Delta", "Echo"}, 10},
        {{"Tolva", "Rusko", "Mervi", "Kaltun", "Zq2", "Brenik", "Ostra", "Ghost"},
         {"Delta", "Echo"},
         11}};
    for (const auto& [baseList, addedList, slot] : cases) {
        ASSERT_NO_FATAL_FAILURE(StartUp({"Alpha", "Charlie"}, [&](GameFixture& g) {
            test::WriteFile(g.Script("voitures.bin"), GameFixture::CarList(baseList));
            test::WriteFile(g.Script("voiture2.bin"), GameFixture::CarList(addedList));
        }));
        ASSERT_EQ(Add(C), RESULT_OK);
        Names expected = addedList;
        expected.insert(expected.end(), {"Alpha", "Charlie"});
        EXPECT_EQ(WorkList(C), GameFixture::CarList(expected));
        EXPECT_EQ(state().PresentCarNames[slot], "Alpha");
        EXPECT_EQ(state().PresentCarNames[slot + 1], "Charlie");
        EXPECT_EQ(state().PresentCarFlags[slot], PRESENT_ADDED);
        EXPECT_EQ(state().CarRecordsAppended, 2);
    }
}

TEST_F(AddTest, FailuresAddNothingOrOnlyTheRecordsReadAndTheNextRunAppends) {
    ASSERT_NO_FATAL_FAILURE(StartUp({"Alpha", "Charlie"}));
    test::MakeReadOnly(WorkListPath(T));
    EXPECT_EQ(Add(T), ERR_UPDATE_FAILED);
    EXPECT_EQ(argument, "C:\\ZAV\\Data\\Binary\\Scripts\\circuits.sav");
    ExpectNothingAdded(T);
    EXPECT_EQ(game->ui.steps, 0);

    // A missing work list is not made anew.
    std::remove(WorkListPath(C).c_str());
    EXPECT_EQ(Add(C), ERR_UPDATE_FAILED);
    EXPECT_EQ(argument, "C:\\ZAV\\Data\\Binary\\Scripts\\voiture2.sav");
    EXPECT_FALSE(test::FileExists(WorkListPath(C)));
    ExpectNothingAdded(C);

    test::WriteFile(WorkListPath(C), workLists[1]);
    std::remove(state().CarStagingPath.c_str());
    EXPECT_EQ(Add(C), ERR_UPDATE_FAILED);
    EXPECT_EQ(argument, state().CarStagingPath);
    ExpectNothingAdded(C);

    // The car staging list loses its later records after the scan: Charlie is left out, named.
    game->ForgetUi();
    test::WriteFile(state().CarStagingPath.str(), GameFixture::CarList({"Alpha"}));
    ASSERT_EQ(Add(C), RESULT_OK);
    EXPECT_EQ(WorkList(C), GameFixture::CarList({"Alpha"}));
    EXPECT_EQ(state().PresentCarTotal, 1);
    EXPECT_EQ(state().PresentCarNames[8], "Alpha");
    EXPECT_EQ(state().NewCarFlags[2], PROPOSED_UNMARKED);
    ExpectOneNoticeNaming(0, "Charlie");
    EXPECT_EQ(game->ui.steps, 2);

    // A count beyond the records the work list holds: the append position lies past its end.
    std::remove(WorkListPath(T).c_str()); // read-only until now
    test::WriteFile(WorkListPath(T), game->TrackList(GameFixture::BaseTracksAnd({}), 30));
    argument.Assign("something");
    EXPECT_EQ(Add(T), ERR_UNREFERENCED);
    EXPECT_TRUE(argument.empty());
    test::WriteFile(WorkListPath(T), workLists[0]);
    ExpectNothingAdded(T);

    // The second record of the run meets a full disk.
    int failed = 0;
    game->files.FailWhen([&](const test::FileOperation& operation) {
        return operation.kind == "Write" && operation.offset == 4 + 140 * 17 && failed++ == 0;
    });
    EXPECT_EQ(Add(T), ERR_UNREFERENCED);
    EXPECT_GT(failed, 0);
    ExpectNothingAdded(T);
    // The marks stayed: the next run appends both staged records, each once, to the work list.
    game->ForgetUi();
    ASSERT_EQ(Add(T), RESULT_OK);
    const Bytes added = game->TrackList(GameFixture::BaseTracksAnd({"Alpha", "Charlie"}));
    EXPECT_EQ(WorkList(T), added);
    EXPECT_EQ(ReadFile(game->Script("circuits.bin")), workLists[0]);
    EXPECT_EQ(state().TrackRecordsAppended, 2);
    EXPECT_EQ(state().PresentTrackTotal, 18);
    EXPECT_EQ(state().PresentTrackNames[17], "Charlie");
    EXPECT_EQ(state().PresentTrackFlags[17], PRESENT_ADDED);
    EXPECT_EQ(state().NewTrackFlags[2], PROPOSED_UNMARKED);
    EXPECT_EQ(state().NewTrackTotal, 3);
    EXPECT_EQ(game->ui.steps, 4);
    EXPECT_EQ(game->ui.pauses, std::vector<int>(4, 150));
    EXPECT_TRUE(game->ui.boxes.empty());
    ASSERT_EQ(Add(T), RESULT_OK); // nothing marked changes nothing
    EXPECT_EQ(WorkList(T), added);
    EXPECT_EQ(game->ui.steps, 4);
}

TEST_F(AddTest, EntriesBeyondTheSlotsAreLeftOutWithOneNotice) {
    Names tracks = test::Numbered("Extra ", 78); // 94 tracks with the base ones
    Names cars = test::Numbered("Car ", 87);     // 88 further slots
    ASSERT_NO_FATAL_FAILURE(StartUp({"Alpha", "Bravo", "Charlie"}, [&](GameFixture& g) {
        test::WriteFile(g.Script("circuits.bin"), g.TrackList(GameFixture::BaseTracksAnd(tracks)));
        test::WriteFile(g.Script("voiture2.bin"), GameFixture::CarList(cars));
    }));
    ASSERT_EQ(Add(T), RESULT_OK);
    EXPECT_EQ(state().PresentTrackTotal, 96);
    EXPECT_EQ(state().PresentTrackNames[95], "Bravo");
    EXPECT_EQ(state().NewTrackFlags[2], PROPOSED_UNMARKED);
    tracks.insert(tracks.end(), {"Alpha", "Bravo"});
    EXPECT_EQ(WorkList(T), game->TrackList(GameFixture::BaseTracksAnd(tracks)));
    ExpectOneNoticeNaming(0, "Charlie");

    ASSERT_EQ(Add(C), RESULT_OK);
    EXPECT_EQ(state().PresentCarTotal, 88);
    EXPECT_EQ(state().PresentCarNames[95], "Alpha");
    cars.push_back("Alpha");
    EXPECT_EQ(WorkList(C), GameFixture::CarList(cars));
    ExpectOneNoticeNaming(1, "Bravo");
}

} // namespace
} // namespace zav
