// The scan of the new tracks and cars beside the tool and their staging lists.
#include "analysis/new_data_scan.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>

#include "settings/error_report.h"
#include "support/game_fixture.h"

namespace zav {
namespace {

using test::Bytes;
using test::GameFixture;
using Names = std::vector<std::string>;

constexpr DataKind T = DataKind::Tracks;
constexpr DataKind C = DataKind::Cars;

class NewDataScanTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(game.Locate()); }

    Names Proposed(DataKind kind) const {
        const NameTable& names = kind == C ? state.NewCarNames : state.NewTrackNames;
        Names out;
        for (std::int32_t i = 0; i < (kind == C ? state.NewCarTotal : state.NewTrackTotal); ++i) {
            out.push_back(names[static_cast<std::size_t>(i)].str());
        }
        return out;
    }
    // The staging list of `kind` after a scan, which must succeed.
    Bytes Scan(DataKind kind) {
        EXPECT_EQ(ScanNewData(game.session, kind), RESULT_OK);
        return test::ReadFile((kind == C ? state.CarStagingPath : state.TrackStagingPath).str());
    }
    static Bytes Staged(DataKind kind, const std::vector<Bytes>& records) {
        Bytes bytes = test::ListFile(records); // padded to the list's fixed size
        bytes.resize(std::max<std::size_t>(bytes.size(), kind == C ? 1028 : 4484));
        return bytes;
    }

    GameFixture game;
    AnalysisState& state = game.state;
};

TEST_F(NewDataScanTest, ProposesTheSafeFoldersWhoseRecordNamesThemInListingOrder) {
    // An empty disc: the lists are their zero blocks in a private folder of the run.
    EXPECT_EQ(Scan(T), Bytes(4484, 0));
    EXPECT_EQ(Scan(C), Bytes(1028, 0));
    const std::string folder = game.files.TemporaryFolder();
    EXPECT_EQ(state.TrackStagingPath.str(), folder + "circuits.bin");
    EXPECT_EQ(state.CarStagingPath.str(), folder + "voitures.bin");
    EXPECT_EQ(test::PermissionsOf(folder), 0700u);

    // Staging record i+1 belongs to proposed slot i; folders without a matching record, with
    // unsafe names (a backslash is an ordinary character here) or repeating a name in another
    // case (both would reach the same files) are left out, the last two named in one notice.
    const Bytes foo = game.AddDisc(T, "Foo", "FOO");
    game.AddDisc(T, "Bar", "Baz");
    test::MakeFolders(game.DiscFileHost(T, "Empty", ""));
    test::WriteFile(game.DiscFileHost(T, "", "Loose"), test::ListFile({foo}));
    for (const char* name : {"..\\evil", "c:evil", "x\\y"}) {
        game.AddDisc(T, name);
    }
    const Bytes speed = game.AddDisc(T, "speed RING", "Speed Ring");
    const Bytes charlie = game.AddDisc(C, "charlie");
    const Bytes alpha = game.AddDisc(C, "Alpha");
    const Bytes bravo = game.AddDisc(C, "bravo");
    const Bytes first = game.AddDisc(C, "FOO", "FOO");
    game.AddDisc(C, "foo", "foo");
    EXPECT_EQ(Scan(T), Staged(T, {foo, speed}));
    EXPECT_EQ(Proposed(T), (Names{"Foo", "Speed ring"}));
    ASSERT_EQ(game.ui.boxes.size(), 1u);
    EXPECT_EQ(game.ui.boxes[0].caption, "ZAV Data Patcher");
    EXPECT_NE(game.ui.boxes[0].text.find("..\\evil"), std::string::npos);
    EXPECT_NE(game.ui.boxes[0].text.find("c:evil"), std::string::npos);
    EXPECT_EQ(Scan(C), Staged(C, {alpha, bravo, charlie, first}));
    EXPECT_EQ(Proposed(C), (Names{"Alpha", "Bravo", "Charlie", "Foo"}));
    ASSERT_EQ(game.ui.boxes.size(), 2u);
    EXPECT_NE(game.ui.boxes[1].text.find("foo"), std::string::npos) << game.ui.boxes[1].text;

    // Each scan starts anew: marks go and the staging list is rewritten.
    state.NewCarFlags[1] = PROPOSED_MARKED;
    std::remove(game.DiscFileHost(C, "Alpha", "voitures.bin").c_str());
    EXPECT_EQ(Scan(C), Staged(C, {bravo, charlie, first}));
    EXPECT_EQ(Proposed(C), (Names{"Bravo", "Charlie", "Foo"}));
    EXPECT_EQ(state.NewCarFlags[1], PROPOSED_UNMARKED);
    game.files.RemoveTemporaryFolder();
    EXPECT_FALSE(test::FileExists(folder));
}

TEST_F(NewDataScanTest, TakesTheFirstNinetySixFoldersAndNamesTheRestOnce) {
    std::vector<Bytes> records;
    for (int i = 1; i <= 100; ++i) {
        records.push_back(game.AddDisc(C, "Car " + std::to_string(1000 + i).substr(1)));
    }
    records.resize(96);
    EXPECT_EQ(Scan(C), test::ListFile(records));
    EXPECT_EQ(state.NewCarTotal, 96);
    ASSERT_EQ(game.ui.boxes.size(), 1u);
    const auto& box = game.ui.boxes[0];
    EXPECT_EQ(box.caption, "ZAV Data Patcher");
    EXPECT_EQ(box.style, MB_OK | MB_ICONEXCLAMATION);
    for (const char* leftOut : {"Car 097", "Car 098", "Car 099", "Car 100"}) {
        EXPECT_NE(box.text.find(leftOut), std::string::npos) << box.text;
    }
    EXPECT_EQ(box.text.find("Car 096"), std::string::npos) << box.text;
}

TEST_F(NewDataScanTest, EntryWhoseRecordCannotBeStagedIsDropped) {
    const Bytes a = game.AddDisc(T, "A");
    game.AddDisc(T, "B");
    const Bytes c = game.AddDisc(T, "C");
    int failed = 0;
    // The write of staging record 2 fails once, as on a full disk.
    game.files.FailWhen([&](const test::FileOperation& operation) {
        return operation.kind == "Write" && operation.path == state.TrackStagingPath.view() &&
               operation.offset == 4 + 140 && failed++ == 0;
    });
    EXPECT_EQ(Scan(T), Staged(T, {a, c}));
    EXPECT_GT(failed, 0);
    EXPECT_EQ(Proposed(T), (Names{"A", "C"}));

    // A staging list that cannot be made proposes nothing.
    std::remove(state.TrackStagingPath.c_str());
    ASSERT_EQ(::mkdir(state.TrackStagingPath.c_str(), 0700), 0);
    EXPECT_EQ(ScanNewData(game.session, T), 0);
    EXPECT_EQ(state.NewTrackTotal, 0);
}

} // namespace
} // namespace zav
