// The scan of the new tracks and cars beside the tool and their staging lists.
#include "analysis/new_data_scan.h"

#include <gmock/gmock.h>

#include <filesystem>

#include "settings/error_report.h"
#include "support/game_run.h"

namespace zav::test {
namespace {

using Names = std::vector<std::string>;
using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::Not;
constexpr DataKind T = DataKind::Tracks, C = DataKind::Cars;

class NewDataScan : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(run.Start());
        run.view.Clear();
    }
    // The staging list and the proposed names of `kind` after a scan, which must succeed.
    std::pair<Bytes, Names> Scan(DataKind kind) {
        EXPECT_EQ(ScanNewData(run.Session(), kind), RESULT_OK);
        const bool cars = kind == C;
        Names names;
        for (std::int32_t i = 0; i < (cars ? state.NewCarTotal : state.NewTrackTotal); ++i) {
            names.push_back((cars ? state.NewCarNames : state.NewTrackNames)[std::size_t(i)].str());
        }
        return {ReadFile((cars ? state.CarStagingPath : state.TrackStagingPath).str()), names};
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

// An empty disc gives lists of zero blocks in a private folder of the run. Then staging record i+1
// belongs to proposed slot i; folders without a matching record, with unsafe names (a backslash is
// an ordinary character here) or repeating a name in another case (both would reach the same
// files) are left out, the last two named in one notice. Each scan starts anew.
TEST_F(NewDataScan, ProposesTheSafeFoldersWhoseRecordNamesThemInListingOrder) {
    for (const char* kind : {"circuits", "voitures"}) {
        std::filesystem::remove_all(game.disc + "/" + kind);
        MakeFolders(game.disc + "/" + kind);
    }
    EXPECT_EQ(Scan(T).first, Bytes(4484, 0));
    const std::string folder = run.files.TemporaryFolder();
    EXPECT_EQ(state.TrackStagingPath.str(), folder + "circuits.bin");
#ifndef _WIN32 // a user's own temporary folder is private on Windows already
    EXPECT_EQ(PermissionsOf(folder), 0700u);
#endif
    const Bytes foo = game.AddDiscEntry(T, "Foo", "FOO");
    game.AddDiscEntry(T, "Bar", "Baz");
    MakeFolders(game.disc + "/circuits/Empty");
    WriteFile(game.disc + "/circuits/Loose", ListFile({foo}));
#ifndef _WIN32 // names Windows cannot give a folder
    for (const char* name : {"..\\evil", "c:evil", "x\\y"}) {
        game.AddDiscEntry(T, name);
    }
#endif
    const Bytes speed = game.AddDiscEntry(T, "speed RING", "Speed Ring");
    const Bytes charlie = game.AddDiscEntry(C, "charlie");
    const Bytes alpha = game.AddDiscEntry(C, "Alpha");
    const Bytes first = game.AddDiscEntry(C, "FOO", "FOO");
#ifndef _WIN32 // on Windows it is the folder FOO itself
    game.AddDiscEntry(C, "foo", "foo");
#endif
    EXPECT_EQ(Scan(T), std::pair(Staged(T, {foo, speed}), Names{"Foo", "Speed ring"}));
    EXPECT_EQ(Scan(C),
              std::pair(Staged(C, {alpha, charlie, first}), Names{"Alpha", "Charlie", "Foo"}));
#ifndef _WIN32
    ASSERT_EQ(run.view.boxes.size(), 2u);
    EXPECT_THAT(run.view.boxes[0].text, AllOf(HasSubstr("..\\evil"), HasSubstr("c:evil")));
    EXPECT_THAT(run.view.boxes[1].text, HasSubstr("foo"));
#else
    EXPECT_THAT(run.view.boxes, ::testing::IsEmpty());
#endif
    state.NewCarFlags[1] = PROPOSED_MARKED;
    std::remove((game.disc + "/voitures/Alpha/voitures.bin").c_str());
    EXPECT_EQ(Scan(C), std::pair(Staged(C, {charlie, first}), Names{"Charlie", "Foo"}));
    EXPECT_EQ(state.NewCarFlags[1], PROPOSED_UNMARKED);
}

#ifndef _WIN32 // links of the host's own kind
// A folder linked in from elsewhere on the disc is proposed, its list read through a link to a file
// anywhere; a link to a folder outside the disc is not followed, and named: also one to a sibling
// folder whose name begins with the disc's.
TEST_F(NewDataScan, FollowsLinkedFoldersWithinTheDiscOnly) {
    const TempDir outside;
    namespace fs = std::filesystem;
    fs::create_directory(game.disc + "2");
    for (const auto& [name, to] : {std::pair("Spare", game.disc + "/spare"),
                                   {"Away", outside / "a"},
                                   {"Twin", game.disc + "2/twin"}}) {
        game.AddDiscEntry(T, name);
        fs::rename(game.disc + "/circuits/" + name, to);
        fs::create_directory_symlink(to, game.disc + "/circuits/" + name);
    }
    fs::rename(game.disc + "/spare/circuits.bin", outside / "list");
    fs::create_symlink(outside / "list", game.disc + "/spare/circuits.bin");
    EXPECT_THAT(Scan(T).second,
                AllOf(::testing::Contains("Spare"), Not(::testing::Contains("Away")),
                      Not(::testing::Contains("Twin"))));
    EXPECT_THAT(run.view.boxes.at(0).text,
                AllOf(HasSubstr("Away"), HasSubstr("Twin"), HasSubstr("not followed")));
}
#endif

// The disc's four cars sort after "Car ...": they are left out too.
TEST_F(NewDataScan, TakesTheFirstNinetySixFoldersAndNamesTheRestOnce) {
    std::vector<Bytes> records;
    for (int i = 1; i <= 100; ++i) {
        records.push_back(game.AddDiscEntry(C, "Car " + std::to_string(1000 + i).substr(1)));
    }
    records.resize(96);
    EXPECT_EQ(Scan(C).first, ListFile(records));
    EXPECT_EQ(state.NewCarTotal, 96);
    ASSERT_EQ(run.view.boxes.size(), 1u);
    EXPECT_THAT(run.view.boxes[0].text, AllOf(HasSubstr("Car 097"), HasSubstr("Car 100"),
                                              HasSubstr("Nomad"), Not(HasSubstr("Car 096"))));
}

// The write of staging record 2 fails once, as on a full disk: that entry alone is dropped.
TEST_F(NewDataScan, EntryWhoseRecordCannotBeStagedIsDropped) {
    int failed = 0;
    run.files.FailWhen([&](const FileOperation& operation) {
        return operation.kind == "Write" && operation.path == state.TrackStagingPath.view() &&
               operation.offset == 4 + 140 && failed++ == 0;
    });
    const auto record = [&](const char* name) { return game.DiscRecord(T, name); };
    EXPECT_EQ(Scan(T), std::pair(Staged(T, {record("Quarry"), record("Summit"), record("Tundra")}),
                                 Names{"Quarry", "Summit", "Tundra"}));
    EXPECT_GT(failed, 0);
}

} // namespace
} // namespace zav::test
