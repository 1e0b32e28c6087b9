// The game's list files change only by a whole new file renamed over them, and end up holding
// exactly what the install and deletion algorithms define.
#include <gtest/gtest.h>

#include "game_run.h"
#include "support/list_bytes.h"

namespace zav::test {
namespace {

bool Writes(const FileOperation& operation, const std::string& path) {
    return (operation.kind == "Write" && operation.path == path) ||
           (operation.kind == "Copy" && operation.target == path);
}

// Checks every operation of `log` that could change `list`: only a rename may, of a file beside
// it that was made in this log, completely written, then forced to disk, and not touched again.
// Returns the number of such renames.
int CheckReplacements(const std::vector<FileOperation>& log, const std::string& list) {
    const std::string folder = list.substr(0, list.find_last_of('\\') + 1);
    int renames = 0;
    for (std::size_t i = 0; i < log.size(); ++i) {
        const FileOperation& operation = log[i];
        SCOPED_TRACE(Describe(operation));
        if (operation.path == list) {
            EXPECT_TRUE(operation.kind != "Open" || operation.mode == OpenMode::ReadOnly);
            EXPECT_TRUE(operation.kind != "Delete" && operation.kind != "SetAttributes" &&
                        operation.kind != "Rename")
                << "the list is deleted, changed or moved away";
        }
        EXPECT_FALSE(Writes(operation, list)) << "the list is written in place";
        if (operation.kind != "Rename" || operation.target != list) {
            continue;
        }
        ++renames;
        const std::string& copy = operation.path;
        EXPECT_TRUE(copy.starts_with(folder + std::string(TEMPORARY_NAME_PREFIX))) << copy;
        // Back from the rename: the sync, then nothing written after it, then the copy's making.
        std::size_t sync = i;
        std::size_t made = i;
        for (std::size_t j = i; j-- > 0;) {
            const FileOperation& earlier = log[j];
            if (earlier.kind == "SyncFile" && earlier.path == copy && earlier.succeeded &&
                sync == i) {
                sync = j;
            }
            EXPECT_FALSE(Writes(earlier, copy) && sync == i)
                << "the copy is written after its last sync: " << Describe(earlier);
            if (earlier.kind == "Copy" && earlier.target == copy) {
                EXPECT_TRUE(earlier.failIfExists) << "the copy may replace another file";
                made = j;
                break;
            }
        }
        EXPECT_LT(sync, i) << "the copy is renamed without being forced to disk";
        EXPECT_LT(made, sync) << "the copy is not made in this command";
        for (std::size_t j = i + 1; j < log.size(); ++j) {
            EXPECT_NE(log[j].path, copy) << "the copy is used after its rename";
        }
    }
    return renames;
}

class AtomicListUpdate : public testing::TestWithParam<int> {};

TEST_P(AtomicListUpdate, ListsAreReplacedWholeAndHoldWhatTheAlgorithmsDefine) {
    const int version = GetParam();
    TempDir dir;
    CopySample(dir.path(), version);
    const TreeSnapshot before = SnapshotTree(dir.path());
    GameRun run(dir.path());
    ASSERT_TRUE(run.Start());
    // The start-up and "Add to List" leave the game's lists alone; "Install New" and "Trash"
    // replace one list each.
    const std::vector<FileOperation> startUp = run.Files().Log();
    EXPECT_EQ(CheckReplacements(startUp, run.Analysis().TrackListPath.str()), 0);
    EXPECT_EQ(CheckReplacements(startUp, run.Analysis().CarListPath.str()), 0);
    for (const std::int32_t kind : {DATA_KIND_TRACKS, DATA_KIND_CARS}) {
        SCOPED_TRACE(kind);
        const bool cars = kind == DATA_KIND_CARS;
        const std::string list =
            cars ? run.Analysis().CarListPath.str() : run.Analysis().TrackListPath.str();
        const std::size_t size = RecordSize(kind, version);
        const std::vector<std::string> names = cars ? std::vector<std::string>{"Comet", "Nomad"}
                                                    : std::vector<std::string>{"Quarry", "Tundra"};
        run.Files().Restart();
        run.ShowTab(kind);
        ASSERT_TRUE(run.SelectProposed(names));
        run.Dialog().OnAddToList();
        EXPECT_EQ(CheckReplacements(run.Files().Log(), list), 0);
        run.Dialog().OnInstallNew();
        Bytes expected = ListWithAppended(before.at(ListOf(kind)),
                                          {DiscRecord(before, kind, names[0], version),
                                           DiscRecord(before, kind, names[1], version)},
                                          size);
        EXPECT_EQ(ReadFile(dir / ListOf(kind)), expected);

        // A deletion moves the later records forward and keeps the length.
        const std::int64_t index =
            RecordIndexOfName(expected, kind, version, cars ? "Falcon" : "Harbour");
        ASSERT_GT(index, 0);
        ASSERT_LT(index, GetInt32(expected, 0)) << "a later record must move";
        ASSERT_TRUE(run.SelectAdded(cars ? "Falcon" : "Harbour"));
        run.Dialog().OnTrash();
        expected = ListWithDeleted(expected, index, size);
        EXPECT_EQ(ReadFile(dir / ListOf(kind)), expected);
        std::string workList = ListOf(kind);
        EXPECT_EQ(ReadFile(dir / workList.replace(workList.size() - 3, 3, "sav")), expected);
        EXPECT_EQ(CheckReplacements(run.Files().Log(), list), 2);
        std::string baseCars = run.Analysis().CarListPath.str();
        baseCars.replace(baseCars.size() - 12, 12, "voitures.bin");
        EXPECT_EQ(CheckReplacements(run.Files().Log(), baseCars), 0);
    }
    EXPECT_FALSE(run.View().ReportedFailureSince(0)) << run.View().BoxesSince(0);
    run.Dialog().OnCloseButton();
}

INSTANTIATE_TEST_SUITE_P(GameVersions, AtomicListUpdate, testing::Values(1, 2),
                         [](const testing::TestParamInfo<int>& param) {
                             return "Version" + std::to_string(param.param);
                         });

} // namespace
} // namespace zav::test
