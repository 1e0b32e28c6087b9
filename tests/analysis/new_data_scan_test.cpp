// The scan of the new tracks and cars beside the tool and their staging lists.
#include "analysis/new_data_scan.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "settings/error_report.h"
#include "support/game_fixture.h"

namespace zav {
namespace {

using test::Bytes;
using test::GameFixture;
using test::PaddedList;
using test::ReadFile;

std::vector<std::string> ProposedNames(const AnalysisState& state, std::int32_t kind) {
    const bool cars = kind == DATA_KIND_CARS;
    const NameTable& names = cars ? state.NewCarNames : state.NewTrackNames;
    const std::int32_t total = cars ? state.NewCarTotal : state.NewTrackTotal;
    std::vector<std::string> out;
    for (std::int32_t i = 0; i < total; ++i) {
        out.push_back(names[static_cast<std::size_t>(i)].str());
    }
    return out;
}

class NewDataScanTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(game.Locate()); }

    GameFixture game;
    AnalysisState& state = game.state;
};

TEST_F(NewDataScanTest, ProposesTheFoldersWhoseRecordNamesThem) {
    const Bytes foo = game.AddDiscTrack("Foo", "FOO");
    game.AddDiscTrack("Bar", "Baz");
    test::MakeFolders(game.DiscFileHost(DATA_KIND_TRACKS, "Empty", ""));
    test::WriteFile(game.DiscFileHost(DATA_KIND_TRACKS, "", "Loose"), test::ListFile({foo}));
    const Bytes speed = game.AddDiscTrack("speed RING", "Speed Ring");

    ASSERT_EQ(ScanNewData(game.session, DATA_KIND_TRACKS), RESULT_OK);
    EXPECT_EQ(ProposedNames(state, DATA_KIND_TRACKS),
              (std::vector<std::string>{"Foo", "Speed ring"}));
    EXPECT_EQ(ReadFile(state.TrackStagingPath.str()), PaddedList({foo, speed}, 4484));
    EXPECT_TRUE(game.ui.boxes.empty());
}

TEST_F(NewDataScanTest, StagingRecordsFollowTheListingOrderAndEachScanStartsAnew) {
    const Bytes charlie = game.AddDiscCar("charlie");
    const Bytes alpha = game.AddDiscCar("Alpha");
    const Bytes bravo = game.AddDiscCar("bravo");
    ASSERT_EQ(ScanNewData(game.session, DATA_KIND_CARS), RESULT_OK);
    EXPECT_EQ(ProposedNames(state, DATA_KIND_CARS),
              (std::vector<std::string>{"Alpha", "Bravo", "Charlie"}));
    EXPECT_EQ(ReadFile(state.CarStagingPath.str()), PaddedList({alpha, bravo, charlie}, 1028));

    state.NewCarFlags[1] = PROPOSED_MARKED;
    std::remove(game.DiscFileHost(DATA_KIND_CARS, "Alpha", "voitures.bin").c_str());
    ASSERT_EQ(ScanNewData(game.session, DATA_KIND_CARS), RESULT_OK);
    EXPECT_EQ(ProposedNames(state, DATA_KIND_CARS), (std::vector<std::string>{"Bravo", "Charlie"}));
    EXPECT_EQ(state.NewCarFlags[1], PROPOSED_UNMARKED);
    EXPECT_EQ(ReadFile(state.CarStagingPath.str()), PaddedList({bravo, charlie}, 1028));
}

TEST_F(NewDataScanTest, ShortTrackRecordsAreStagedInTheirOwnKind) {
    GameFixture first({.gameVersion = 1});
    ASSERT_NO_FATAL_FAILURE(first.Locate());
    const Bytes foo = first.AddDiscTrack("Foo");
    ASSERT_EQ(ScanNewData(first.session, DATA_KIND_TRACKS), RESULT_OK);
    ASSERT_EQ(foo.size(), 128u);
    EXPECT_EQ(ReadFile(first.state.TrackStagingPath.str()), PaddedList({foo}, 4484));
}

TEST_F(NewDataScanTest, StagingListsLiveInAPrivateFolderOfTheRun) {
    ASSERT_EQ(ScanNewData(game.session, DATA_KIND_TRACKS), RESULT_OK);
    ASSERT_EQ(ScanNewData(game.session, DATA_KIND_CARS), RESULT_OK);
    const std::string folder = game.files.TemporaryFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(state.TrackStagingPath.str(), folder + "circuits.bin");
    EXPECT_EQ(state.CarStagingPath.str(), folder + "voitures.bin");
    EXPECT_EQ(test::PermissionsOf(folder), 0700u);
    // Nothing was proposed: the lists are their zero blocks, count 0.
    EXPECT_EQ(ReadFile(state.TrackStagingPath.str()), Bytes(4484, 0));
    EXPECT_EQ(ReadFile(state.CarStagingPath.str()), Bytes(1028, 0));

    game.files.RemoveTemporaryFolder();
    EXPECT_FALSE(test::FileExists(folder));
}

TEST(NewDataScanCase, DiscFoldersAndListFilesOfAnyCaseAreFound) {
    GameFixture game({.discFolderCase = test::NameCase::Upper});
    ASSERT_NO_FATAL_FAILURE(game.Locate());
    const Bytes foo = game.AddDiscTrack("foo");
    const Bytes car = game.AddDiscCar("ZOOM");
    ASSERT_EQ(ScanNewData(game.session, DATA_KIND_TRACKS), RESULT_OK);
    ASSERT_EQ(ScanNewData(game.session, DATA_KIND_CARS), RESULT_OK);
    EXPECT_EQ(ProposedNames(game.state, DATA_KIND_TRACKS), std::vector<std::string>{"Foo"});
    EXPECT_EQ(ProposedNames(game.state, DATA_KIND_CARS), std::vector<std::string>{"Zoom"});
    EXPECT_EQ(ReadFile(game.state.CarStagingPath.str()), PaddedList({car}, 1028));
}

TEST_F(NewDataScanTest, TakesTheFirstNinetySixFoldersAndNamesTheRestOnce) {
    std::vector<Bytes> records;
    for (int i = 1; i <= 100; ++i) {
        records.push_back(game.AddDiscCar("Car " + std::to_string(1000 + i).substr(1)));
    }
    ASSERT_EQ(ScanNewData(game.session, DATA_KIND_CARS), RESULT_OK);
    EXPECT_EQ(state.NewCarTotal, 96);
    EXPECT_EQ(state.NewCarNames[95], "Car 096");
    records.resize(96);
    EXPECT_EQ(ReadFile(state.CarStagingPath.str()), test::ListFile(records));
    ASSERT_EQ(game.ui.boxes.size(), 1u);
    const auto& box = game.ui.boxes[0];
    EXPECT_EQ(box.caption, "ZAV Data Patcher");
    EXPECT_EQ(box.style, MB_OK | MB_ICONEXCLAMATION);
    for (const char* leftOut : {"Car 097", "Car 098", "Car 099", "Car 100"}) {
        EXPECT_NE(box.text.find(leftOut), std::string::npos) << box.text;
    }
    EXPECT_EQ(box.text.find("Car 096"), std::string::npos) << box.text;
}

TEST_F(NewDataScanTest, FolderNamesThatCouldLeadElsewhereAreLeftOutWithOneNotice) {
    // On this file system a backslash is an ordinary character of a folder name.
    game.AddDiscTrack("..\\evil");
    game.AddDiscTrack("c:evil");
    game.AddDiscTrack("x\\y");
    const Bytes good = game.AddDiscTrack("Good");
    ASSERT_EQ(ScanNewData(game.session, DATA_KIND_TRACKS), RESULT_OK);
    EXPECT_EQ(ProposedNames(state, DATA_KIND_TRACKS), std::vector<std::string>{"Good"});
    EXPECT_EQ(ReadFile(state.TrackStagingPath.str()), PaddedList({good}, 4484));
    ASSERT_EQ(game.ui.boxes.size(), 1u);
    EXPECT_EQ(game.ui.boxes[0].caption, "ZAV Data Patcher");
    EXPECT_NE(game.ui.boxes[0].text.find("..\\evil"), std::string::npos);
    EXPECT_NE(game.ui.boxes[0].text.find("c:evil"), std::string::npos);
}

TEST_F(NewDataScanTest, AFolderRepeatingAnEarlierNameInAnotherCaseIsLeftOut) {
    // Both would be named "Foo" by the tool and reach the same files.
    const Bytes first = game.AddDiscCar("FOO", "FOO");
    game.AddDiscCar("foo", "foo");
    const Bytes other = game.AddDiscCar("Other");
    ASSERT_EQ(ScanNewData(game.session, DATA_KIND_CARS), RESULT_OK);
    EXPECT_EQ(ProposedNames(state, DATA_KIND_CARS), (std::vector<std::string>{"Foo", "Other"}));
    EXPECT_EQ(ReadFile(state.CarStagingPath.str()), PaddedList({first, other}, 1028));
    ASSERT_EQ(game.ui.boxes.size(), 1u);
    EXPECT_NE(game.ui.boxes[0].text.find("foo"), std::string::npos) << game.ui.boxes[0].text;
}

TEST_F(NewDataScanTest, EntryWhoseRecordCannotBeStagedIsDropped) {
    const Bytes a = game.AddDiscTrack("A");
    game.AddDiscTrack("B");
    const Bytes c = game.AddDiscTrack("C");
    bool failed = false;
    game.files.failWrite = [&](std::string_view path, std::int64_t offset) {
        // The write of staging record 2 fails once, as on a full disk.
        if (!failed && path == state.TrackStagingPath.view() && offset == 4 + 140) {
            failed = true;
            return true;
        }
        return false;
    };
    ASSERT_EQ(ScanNewData(game.session, DATA_KIND_TRACKS), RESULT_OK);
    EXPECT_TRUE(failed);
    EXPECT_EQ(ProposedNames(state, DATA_KIND_TRACKS), (std::vector<std::string>{"A", "C"}));
    EXPECT_EQ(ReadFile(state.TrackStagingPath.str()), PaddedList({a, c}, 4484));
}

TEST_F(NewDataScanTest, StagingListThatCannotBeCreatedProposesNothing) {
    game.AddDiscCar("Alpha");
    ASSERT_EQ(ScanNewData(game.session, DATA_KIND_CARS), RESULT_OK);
    ASSERT_EQ(state.NewCarTotal, 1);
    std::remove(state.CarStagingPath.c_str());
    ASSERT_EQ(::mkdir(state.CarStagingPath.c_str(), 0700), 0);
    EXPECT_EQ(ScanNewData(game.session, DATA_KIND_CARS), 0);
    EXPECT_EQ(state.NewCarTotal, 0);
}

TEST_F(NewDataScanTest, MissingSourceFolderProposesNothing) {
    EXPECT_EQ(ScanNewData(game.session, DATA_KIND_CARS), RESULT_OK);
    EXPECT_EQ(state.NewCarTotal, 0);
    EXPECT_EQ(ReadFile(state.CarStagingPath.str()), Bytes(1028, 0));
    EXPECT_EQ(ScanNewData(game.session, 5), RESULT_OK);
}

} // namespace
} // namespace zav
