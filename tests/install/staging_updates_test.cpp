// "Add to List" below the dialog: where the records go in the work lists, the room in the tables,
// and the failures that add nothing, or only the records that could be read.
#include "install/staging_updates.h"

#include <gtest/gtest.h>

#include "settings/error_report.h"
#include "support/game_run.h"

namespace zav::test {
namespace {

using Names = std::vector<std::string>;
constexpr DataKind T = DataKind::Tracks, C = DataKind::Cars;

// Marks the first and third proposed entries (Quarry and Summit, Comet and Mistral) and the
// second too when asked.
void Mark(AnalysisState& state, bool second = false) {
    for (const std::size_t i : {std::size_t{0}, std::size_t{2}, std::size_t{second ? 1u : 0u}}) {
        state.NewTrackFlags[i] = state.NewCarFlags[i] = PROPOSED_MARKED;
    }
}

// voiture2.bin naming a base car, or voitures.bin holding a further car: a position counted from
// PresentCarTotal would fall on an earlier record.
TEST(AddSelected, CarsAppendAtTheEndOfTheCarWorkList) {
    const std::tuple<Names, Names, std::size_t> cases[] = {
        {{"Tolva", "Rusko", "Mervi", "Kaltun", "Zq2", "Brenik", "Ostra", "Vel"},
         {"Tolva", "Delta", "Echo"},
         10},
        {{"Tolva", "Rusko", "Mervi", "Kaltun", "Zq2", "Brenik", "Ostra", "Ghost"},
         {"Delta", "Echo"},
         11}};
    for (const auto& [baseList, addedList, slot] : cases) {
        TestGame game;
        WriteFile(game.Script("voitures.bin"), TestGame::CarList(baseList));
        WriteFile(game.Script("voiture2.bin"), TestGame::CarList(addedList));
        GameRun run(game);
        ASSERT_TRUE(run.Start());
        Mark(run.State());
        PathText argument;
        ASSERT_EQ(AddSelectedCars(run.Session(), argument), RESULT_OK);
        EXPECT_EQ(ReadFile(game.Script("voiture2.sav")),
                  Appended(TestGame::CarList(addedList),
                           {game.DiscRecord(C, "Comet"), game.DiscRecord(C, "Mistral")}));
        EXPECT_EQ(run.State().PresentCarNames[slot + 1], "Mistral");
        EXPECT_EQ(run.State().PresentCarFlags[slot], PRESENT_ADDED);
    }
}

TEST(AddSelected, FailuresAddNothingOrOnlyTheRecordsReadAndTheNextRunAppends) {
    TestGame game;
    GameRun run(game);
    ASSERT_TRUE(run.Start());
    AnalysisState& state = run.State();
    Mark(state);
    run.view.Clear();
    const std::string trackWork = game.Script("circuits.sav"),
                      carWork = game.Script("voiture2.sav");
    const Bytes tracks = ReadFile(trackWork), cars = ReadFile(carWork);
    // Nothing joined the present set, the marks stayed, the work list is unchanged.
    const auto nothingAdded = [&](DataKind kind) {
        const bool isCars = kind == C;
        EXPECT_EQ(isCars ? state.PresentCarTotal : state.PresentTrackTotal, isCars ? 2 : 18);
        const FlagTable& marks = isCars ? state.NewCarFlags : state.NewTrackFlags;
        EXPECT_EQ(marks[0] + marks[2], 2 * PROPOSED_MARKED);
        if (FileExists(isCars ? carWork : trackWork)) {
            EXPECT_EQ(ReadFile(isCars ? carWork : trackWork), isCars ? cars : tracks);
        }
    };
    PathText argument;
    MakeReadOnly(trackWork);
    EXPECT_EQ(AddSelectedTracks(run.Session(), argument), ERR_UPDATE_FAILED);
    EXPECT_EQ(argument, "C:\\Games\\ZAV\\Data\\Binary\\Scripts\\circuits.sav");
    nothingAdded(T);
    EXPECT_EQ(run.view.steps, 0);

    // The car staging list lost its later records after the scan: Mistral is left out, named.
    WriteFile(state.CarStagingPath.str(), ListFile({game.DiscRecord(C, "Comet")}));
    ASSERT_EQ(AddSelectedCars(run.Session(), argument), RESULT_OK);
    EXPECT_EQ(ReadFile(carWork), Appended(cars, {game.DiscRecord(C, "Comet")}));
    EXPECT_EQ(state.PresentCarTotal, 3);
    EXPECT_EQ(state.PresentCarNames[10], "Comet");
    EXPECT_EQ(state.NewCarFlags[2], PROPOSED_UNMARKED);
    ASSERT_EQ(run.view.boxes.size(), 1u);
    EXPECT_NE(run.view.boxes[0].text.find("Mistral"), std::string::npos);
    EXPECT_EQ(run.view.steps, 2);

    // A count beyond the records the work list holds: the append position lies past its end.
    std::remove(trackWork.c_str());
    WriteFile(trackWork, game.TrackList(TestGame::BaseTracksAnd({}), 30));
    argument.Assign("something");
    EXPECT_EQ(AddSelectedTracks(run.Session(), argument), ERR_UNREFERENCED);
    EXPECT_TRUE(argument.empty());
    WriteFile(trackWork, tracks);
    nothingAdded(T);

    // The second record of the run meets a full disk; the marks stay, and the next run appends
    // both staged records, each once.
    int failed = 0;
    run.files.FailWhen([&](const FileOperation& operation) {
        return operation.kind == "Write" && operation.offset == 4 + 140 * 19 && failed++ == 0;
    });
    EXPECT_EQ(AddSelectedTracks(run.Session(), argument), ERR_UNREFERENCED);
    EXPECT_GT(failed, 0);
    nothingAdded(T);
    run.view.Clear();
    ASSERT_EQ(AddSelectedTracks(run.Session(), argument), RESULT_OK);
    const Bytes added =
        Appended(tracks, {game.DiscRecord(T, "Quarry"), game.DiscRecord(T, "Summit")});
    EXPECT_EQ(ReadFile(trackWork), added);
    EXPECT_EQ(ReadFile(game.Script("circuits.bin")), tracks);
    EXPECT_EQ(state.TrackRecordsAppended, 2);
    EXPECT_EQ(state.PresentTrackNames[19], "Summit");
    EXPECT_EQ(state.NewTrackFlags[2], PROPOSED_UNMARKED);
    EXPECT_EQ(run.view.steps, 4);
    ASSERT_EQ(AddSelectedTracks(run.Session(), argument), RESULT_OK); // nothing marked now
    EXPECT_EQ(ReadFile(trackWork), added);
    EXPECT_EQ(run.view.steps, 4);
}

TEST(AddSelected, EntriesBeyondTheSlotsAreLeftOutWithOneNotice) {
    TestGame game;
    const Names tracks = TestGame::BaseTracksAnd(Numbered("Extra ", 78)); // 94 tracks
    const Names cars = Numbered("Car ", 87);                              // 88 further slots
    WriteFile(game.Script("circuits.bin"), game.TrackList(tracks));
    WriteFile(game.Script("voiture2.bin"), TestGame::CarList(cars));
    GameRun run(game);
    ASSERT_TRUE(run.Start());
    Mark(run.State(), true);
    run.view.Clear();
    PathText argument;
    ASSERT_EQ(AddSelectedTracks(run.Session(), argument), RESULT_OK);
    EXPECT_EQ(run.State().PresentTrackTotal, 96);
    EXPECT_EQ(run.State().PresentTrackNames[95], "Riverside");
    EXPECT_EQ(run.State().NewTrackFlags[2], PROPOSED_UNMARKED);
    EXPECT_EQ(ReadFile(game.Script("circuits.sav")),
              Appended(game.TrackList(tracks),
                       {game.DiscRecord(T, "Quarry"), game.DiscRecord(T, "Riverside")}));
    ASSERT_EQ(AddSelectedCars(run.Session(), argument), RESULT_OK);
    EXPECT_EQ(run.State().PresentCarTotal, 88);
    EXPECT_EQ(run.State().PresentCarNames[95], "Comet");
    EXPECT_EQ(ReadFile(game.Script("voiture2.sav")),
              Appended(TestGame::CarList(cars), {game.DiscRecord(C, "Comet")}));
    ASSERT_EQ(run.view.boxes.size(), 2u);
    EXPECT_NE(run.view.boxes[0].text.find("Summit"), std::string::npos);
    EXPECT_NE(run.view.boxes[1].text.find("Lynx"), std::string::npos);
}

} // namespace
} // namespace zav::test
