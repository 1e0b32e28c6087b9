// The scan of the new tracks and cars beside the tool and their staging lists.
#include "analysis/new_data_scan.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "settings/error_report.h"
#include "support/game_run.h"

namespace zav::test {
namespace {

using Names = std::vector<std::string>;
constexpr DataKind T = DataKind::Tracks, C = DataKind::Cars;

class NewDataScan : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(run.Start());
        run.view.Clear();
    }
    Names Proposed(DataKind kind) {
        const NameTable& names = kind == C ? state.NewCarNames : state.NewTrackNames;
        Names out;
        for (std::int32_t i = 0; i < (kind == C ? state.NewCarTotal : state.NewTrackTotal); ++i) {
            out.push_back(names[static_cast<std::size_t>(i)].str());
        }
        return out;
    }
    // The staging list of `kind` after a scan, which must succeed.
    Bytes Scan(DataKind kind) {
        EXPECT_EQ(ScanNewData(run.Session(), kind), RESULT_OK);
        return ReadFile((kind == C ? state.CarStagingPath : state.TrackStagingPath).str());
    }
    // A staging list holding `records`, padded to its initial size.
    static Bytes Staged(DataKind kind, const std::vector<Bytes>& records) {
        Bytes bytes = ListFile(records);
        bytes.resize(std::max<std::size_t>(bytes.size(), kind == C ? 1028 : 4484));
        return bytes;
    }

    TestGame game;
    GameRun run{game};
    AnalysisState& state = run.State();
};

TEST_F(NewDataScan, ProposesTheSafeFoldersWhoseRecordNamesThemInListingOrder) {
    // An empty disc: the lists are their zero blocks in a private folder of the run.
    for (const char* kind : {"circuits", "voitures"}) {
        std::filesystem::remove_all(game.disc + "/" + kind);
        MakeFolders(game.disc + "/" + kind);
    }
    EXPECT_EQ(Scan(T), Bytes(4484, 0));
    EXPECT_EQ(Scan(C), Bytes(1028, 0));
    const std::string folder = run.files.TemporaryFolder();
    EXPECT_EQ(state.TrackStagingPath.str(), folder + "circuits.bin");
    EXPECT_EQ(state.CarStagingPath.str(), folder + "voitures.bin");
    EXPECT_EQ(PermissionsOf(folder), 0700u);

    // Staging record i+1 belongs to proposed slot i; folders without a matching record, with
    // unsafe names (a backslash is an ordinary character here) or repeating a name in another
    // case (both would reach the same files) are left out, the last two named in one notice.
    const Bytes foo = game.AddDiscEntry(T, "Foo", "FOO");
    game.AddDiscEntry(T, "Bar", "Baz");
    MakeFolders(game.disc + "/circuits/Empty");
    WriteFile(game.disc + "/circuits/Loose", ListFile({foo}));
    for (const char* name : {"..\\evil", "c:evil", "x\\y"}) {
        game.AddDiscEntry(T, name);
    }
    const Bytes speed = game.AddDiscEntry(T, "speed RING", "Speed Ring");
    const Bytes charlie = game.AddDiscEntry(C, "charlie");
    const Bytes alpha = game.AddDiscEntry(C, "Alpha");
    const Bytes bravo = game.AddDiscEntry(C, "bravo");
    const Bytes first = game.AddDiscEntry(C, "FOO", "FOO");
    game.AddDiscEntry(C, "foo", "foo");
    EXPECT_EQ(Scan(T), Staged(T, {foo, speed}));
    EXPECT_EQ(Proposed(T), (Names{"Foo", "Speed ring"}));
    ASSERT_EQ(run.view.boxes.size(), 1u);
    EXPECT_NE(run.view.boxes[0].text.find("..\\evil"), std::string::npos);
    EXPECT_NE(run.view.boxes[0].text.find("c:evil"), std::string::npos);
    EXPECT_EQ(Scan(C), Staged(C, {alpha, bravo, charlie, first}));
    EXPECT_EQ(Proposed(C), (Names{"Alpha", "Bravo", "Charlie", "Foo"}));
    ASSERT_EQ(run.view.boxes.size(), 2u);
    EXPECT_NE(run.view.boxes[1].text.find("foo"), std::string::npos) << run.view.boxes[1];

    // Each scan starts anew: marks go and the staging list is rewritten.
    state.NewCarFlags[1] = PROPOSED_MARKED;
    std::remove((game.disc + "/voitures/Alpha/voitures.bin").c_str());
    EXPECT_EQ(Scan(C), Staged(C, {bravo, charlie, first}));
    EXPECT_EQ(Proposed(C), (Names{"Bravo", "Charlie", "Foo"}));
    EXPECT_EQ(state.NewCarFlags[1], PROPOSED_UNMARKED);
    run.files.RemoveTemporaryFolder();
    EXPECT_FALSE(FileExists(folder));
}

// The disc's four cars sort after "Car ...": they are left out too.
TEST_F(NewDataScan, TakesTheFirstNinetySixFoldersAndNamesTheRestOnce) {
    std::vector<Bytes> records;
    for (int i = 1; i <= 100; ++i) {
        records.push_back(game.AddDiscEntry(C, "Car " + std::to_string(1000 + i).substr(1)));
    }
    records.resize(96);
    EXPECT_EQ(Scan(C), ListFile(records));
    EXPECT_EQ(state.NewCarTotal, 96);
    ASSERT_EQ(run.view.boxes.size(), 1u);
    const auto& box = run.view.boxes[0];
    for (const char* leftOut : {"Car 097", "Car 100", "Comet", "Nomad"}) {
        EXPECT_NE(box.text.find(leftOut), std::string::npos) << box.text;
    }
    EXPECT_EQ(box.text.find("Car 096"), std::string::npos) << box.text;
}

TEST_F(NewDataScan, EntryWhoseRecordCannotBeStagedIsDropped) {
    int failed = 0;
    // The write of staging record 2 fails once, as on a full disk.
    run.files.FailWhen([&](const FileOperation& operation) {
        return operation.kind == "Write" && operation.path == state.TrackStagingPath.view() &&
               operation.offset == 4 + 140 && failed++ == 0;
    });
    EXPECT_EQ(Scan(T), Staged(T, {game.DiscRecord(T, "Quarry"), game.DiscRecord(T, "Summit"),
                                  game.DiscRecord(T, "Tundra")}));
    EXPECT_GT(failed, 0);
    EXPECT_EQ(Proposed(T), (Names{"Quarry", "Summit", "Tundra"}));

    // A staging list that cannot be made proposes nothing.
    std::remove(state.TrackStagingPath.c_str());
    ASSERT_EQ(::mkdir(state.TrackStagingPath.c_str(), 0700), 0);
    EXPECT_EQ(ScanNewData(run.Session(), T), 0);
    EXPECT_EQ(state.NewTrackTotal, 0);
}

} // namespace
} // namespace zav::test
