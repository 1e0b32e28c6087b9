// "Add to List" below the dialog: where records go in the work lists, the tables' room, failures.
#include "install/staging_updates.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "settings/error_report.h"
#include "support/game_run.h"

namespace zav::test {
namespace {

using Names = std::vector<std::string>;
constexpr DataKind T = DataKind::Tracks, C = DataKind::Cars;

// Marks proposed entries 0 and 2 (Quarry and Summit, Comet and Mistral), and 1 when asked.
void Mark(AnalysisState& state, bool second = false) {
    for (const std::size_t i : {0u, 2u, second ? 1u : 0u}) {
        state.NewTrackFlags[i] = state.NewCarFlags[i] = PROPOSED_MARKED;
    }
}

// voiture2.bin naming a base car, or voitures.bin holding a further car: a position counted from
// PresentCarTotal would fall on an earlier record.
TEST(AddSelected, CarsAppendAtTheEndOfTheCarWorkList) {
    for (const auto& [further, added, slot] :
         {std::tuple<const char*, Names, std::size_t>{"Vel", {"Tolva", "Delta", "Echo"}, 10},
          {"Ghost", {"Delta", "Echo"}, 11}}) {
        TestGame game;
        WriteFile(game.Script("voitures.bin"),
                  TestGame::CarList(
                      {"Tolva", "Rusko", "Mervi", "Kaltun", "Zq2", "Brenik", "Ostra", further}));
        WriteFile(game.Script("voiture2.bin"), TestGame::CarList(added));
        GameRun run(game);
        ASSERT_TRUE(run.Start());
        Mark(run.State());
        CommandReport report;
        ASSERT_EQ(AddSelectedCars(run.Session(), report), RESULT_OK);
        EXPECT_EQ(ReadFile(game.Script("voiture2.sav")),
                  Appended(TestGame::CarList(added),
                           {game.DiscRecord(C, "Comet"), game.DiscRecord(C, "Mistral")}));
        EXPECT_EQ(run.State().PresentCarNames[slot + 1], "Mistral");
        EXPECT_EQ(run.State().PresentCarFlags[slot], PRESENT_ADDED);
    }
}

TEST(AddSelected, FailuresAddNothingAndTheNextRunAppends) {
    TestGame game;
    GameRun run(game);
    ASSERT_TRUE(run.Start());
    AnalysisState& state = run.State();
    Mark(state);
    run.view.Clear();
    const std::string trackWork = game.Script("circuits.sav");
    const Bytes tracks = ReadFile(trackWork);
    // Nothing joined the present set, the marks stayed, the work list is unchanged.
    const auto nothingAdded = [&] {
        EXPECT_EQ(state.PresentTrackTotal, 18);
        EXPECT_EQ(state.NewTrackFlags[0] + state.NewTrackFlags[2], 2 * PROPOSED_MARKED);
        EXPECT_EQ(ReadFile(trackWork), tracks);
    };
    CommandReport report;
    MakeReadOnly(trackWork);
    EXPECT_EQ(AddSelectedTracks(run.Session(), report), ERR_UPDATE_FAILED);
    EXPECT_EQ(report.argument, "C:\\Games\\ZAV\\Data\\Binary\\Scripts\\circuits.sav");
    nothingAdded();
    std::filesystem::permissions(trackWork, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
    // The second record of the run meets a full disk; the marks stay, and the next run appends
    // both staged records, each once.
    int failed = 0;
    run.files.FailWhen([&](const FileOperation& operation) {
        return operation.kind == "Write" && operation.offset == 4 + 140 * 19 && failed++ == 0;
    });
    EXPECT_EQ(AddSelectedTracks(run.Session(), report), ERR_UNREFERENCED);
    EXPECT_GT(failed, 0);
    EXPECT_TRUE(report.argument.empty());
    nothingAdded();
    ASSERT_EQ(AddSelectedTracks(run.Session(), report), RESULT_OK);
    const Bytes added =
        Appended(tracks, {game.DiscRecord(T, "Quarry"), game.DiscRecord(T, "Summit")});
    EXPECT_EQ(ReadFile(trackWork), added);
    EXPECT_EQ(ReadFile(game.Script("circuits.bin")), tracks);
    EXPECT_EQ(state.PresentTrackNames[19], "Summit");
    EXPECT_EQ(state.NewTrackFlags[2], PROPOSED_UNMARKED);
    ASSERT_EQ(AddSelectedTracks(run.Session(), report), RESULT_OK); // nothing marked now
    EXPECT_EQ(ReadFile(trackWork), added);
}

// 94 tracks, two slots left: Summit is left out, named, and unmarked.
TEST(AddSelected, EntriesBeyondTheSlotsAreLeftOutWithOneNotice) {
    TestGame game;
    const Names tracks = TestGame::BaseTracksAnd(Numbered("Extra ", 78));
    WriteFile(game.Script("circuits.bin"), game.TrackList(tracks));
    GameRun run(game);
    ASSERT_TRUE(run.Start());
    Mark(run.State(), true);
    run.view.Clear();
    CommandReport report;
    ASSERT_EQ(AddSelectedTracks(run.Session(), report), RESULT_OK);
    EXPECT_EQ(run.State().PresentTrackNames[95], "Riverside");
    EXPECT_EQ(run.State().NewTrackFlags[2], PROPOSED_UNMARKED);
    EXPECT_EQ(ReadFile(game.Script("circuits.sav")),
              Appended(game.TrackList(tracks),
                       {game.DiscRecord(T, "Quarry"), game.DiscRecord(T, "Riverside")}));
    ASSERT_EQ(run.view.boxes.size(), 1u);
    EXPECT_NE(run.view.boxes[0].text.find("Summit"), std::string::npos);
}

} // namespace
} // namespace zav::test
