// The game's list files change only by a whole new file renamed over them, and end up holding
// exactly what the install and deletion algorithms define.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "game_run.h"
#include "list_algorithm.h"
#include "support/list_bytes.h"

namespace zav::test {
namespace {

// Where `path` (a core path) ends: its folder, backslash included.
std::string_view FolderOf(std::string_view path) {
    return path.substr(0, path.find_last_of('\\') + 1);
}

std::string_view NameOf(std::string_view path) {
    return path.substr(path.find_last_of('\\') + 1);
}

bool Writes(const FileOperation& operation, const std::string& path) {
    return (operation.kind == FileOperationKind::Write && operation.path == path) ||
           (operation.kind == FileOperationKind::Copy && operation.target == path);
}

// Checks every operation of `log` that could change `list`: only a rename may, of a file beside
// it that was made in this log, completely written, then forced to disk, and not touched again.
// Returns the number of such renames.
int CheckReplacements(const std::vector<FileOperation>& log, const std::string& list) {
    int renames = 0;
    for (std::size_t i = 0; i < log.size(); ++i) {
        const FileOperation& operation = log[i];
        const bool onList = operation.path == list;
        SCOPED_TRACE(Describe(operation));
        if (operation.kind == FileOperationKind::Open && onList) {
            EXPECT_EQ(operation.mode, OpenMode::ReadOnly) << "the list is opened for writing";
        }
        EXPECT_FALSE(Writes(operation, list)) << "the list is written in place";
        EXPECT_FALSE(onList && (operation.kind == FileOperationKind::Delete ||
                                operation.kind == FileOperationKind::SetAttributes ||
                                operation.kind == FileOperationKind::Rename))
            << "the list is deleted, changed or moved away";
        if (operation.kind != FileOperationKind::Rename || operation.target != list) {
            continue;
        }
        ++renames;
        const std::string& copy = operation.path;
        EXPECT_EQ(FolderOf(copy), FolderOf(list)) << "the new list is not made beside the old";
        EXPECT_EQ(NameOf(copy).substr(0, TEMPORARY_NAME_PREFIX.size()), TEMPORARY_NAME_PREFIX);
        // Back from the rename: the sync, then nothing written after it, then the copy's making.
        std::size_t sync = i;
        std::size_t made = i;
        for (std::size_t j = i; j-- > 0;) {
            const FileOperation& earlier = log[j];
            if (earlier.kind == FileOperationKind::SyncFile && earlier.path == copy &&
                earlier.succeeded && sync == i) {
                sync = j;
            }
            if (Writes(earlier, copy) && sync == i) {
                ADD_FAILURE() << "the copy is written after its last sync: " << Describe(earlier);
            }
            if (earlier.kind == FileOperationKind::Copy && earlier.target == copy) {
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

class AtomicListUpdate : public testing::TestWithParam<int> {
protected:
    AtomicListUpdate() : sample_(SmallSample(GetParam())) { sample_.CopyTo(dir_.path()); }

    Bytes GameList(std::int32_t kind) const {
        return ReadFile(paths_.GameFile(kind == DATA_KIND_CARS ? GAME_CAR_LIST : GAME_TRACK_LIST));
    }
    Bytes WorkList(std::int32_t kind) const {
        return ReadFile(paths_.Scripts() +
                        (kind == DATA_KIND_CARS ? "/voiture2.sav" : "/circuits.sav"));
    }
    std::size_t RecordSize(std::int32_t kind) const {
        return kind == DATA_KIND_CARS ? CAR_RECORD_SIZE : TrackRecordSize(GetParam());
    }
    // Record 1 of the disc's list of entry `name`.
    Bytes DiscRecord(std::int32_t kind, const std::string& name) const {
        const std::string list = kind == DATA_KIND_CARS ? "/voitures/" + name + "/voitures.bin"
                                                        : "/circuits/" + name + "/circuits.bin";
        return RecordAt(ReadFile(paths_.Disc() + list), 1, RecordSize(kind));
    }
    std::int64_t RecordIndex(std::int32_t kind, const Bytes& list, const std::string& name) const {
        const bool cars = kind == DATA_KIND_CARS;
        return RecordIndexOfName(list, RecordSize(kind), cars ? CAR_NAME_OFFSET : TRACK_NAME_OFFSET,
                                 cars ? CAR_NAME_MASK : TRACK_NAME_MASK, name);
    }
    // Every list the game has, by its core path, with the renames over it that `log` made.
    void CheckLog(GameRun& run, int expectedTrackRenames, int expectedCarRenames) {
        const AnalysisState& state = run.Analysis();
        const std::vector<FileOperation>& log = run.Files().Log();
        EXPECT_EQ(CheckReplacements(log, state.TrackListPath.str()), expectedTrackRenames);
        EXPECT_EQ(CheckReplacements(log, state.CarListPath.str()), expectedCarRenames);
        std::string baseCars = state.CarListPath.str();
        baseCars.replace(baseCars.size() - 12, 12, "voitures.bin");
        EXPECT_EQ(CheckReplacements(log, baseCars), 0);
    }

    void AddAndInstall(GameRun& run, std::int32_t kind, const std::vector<std::string>& names) {
        run.ShowTab(kind);
        ASSERT_TRUE(run.SelectProposed(names));
        run.Dialog().OnAddToList();
        run.Dialog().OnInstallNew();
    }

    void Trash(GameRun& run, std::int32_t kind, const std::string& name) {
        run.ShowTab(kind);
        ASSERT_TRUE(run.SelectAdded(name));
        run.Dialog().OnTrash();
    }

    TempDir dir_;
    SampleGameTemplate sample_;
    SampleGamePaths paths_{dir_.path()};
};

TEST_P(AtomicListUpdate, StartUpAndAddToListLeaveTheGameListsAlone) {
    GameRun run(dir_.path());
    ASSERT_TRUE(run.Start());
    for (const std::int32_t kind : {DATA_KIND_TRACKS, DATA_KIND_CARS}) {
        run.ShowTab(kind);
        ASSERT_TRUE(run.SelectProposed(kind == DATA_KIND_CARS
                                           ? std::vector<std::string>{"Lynx"}
                                           : std::vector<std::string>{"Tundra"}));
        run.Dialog().OnAddToList();
    }
    run.Dialog().OnCloseButton();
    CheckLog(run, 0, 0);
    EXPECT_FALSE(run.View().ReportedFailureSince(0)) << run.View().BoxesSince(0);
}

TEST_P(AtomicListUpdate, InstallWritesTheOldListWithTheStagedRecordsAppended) {
    for (const std::int32_t kind : {DATA_KIND_TRACKS, DATA_KIND_CARS}) {
        SCOPED_TRACE(kind);
        const Bytes before = GameList(kind);
        const std::vector<std::string> names = kind == DATA_KIND_CARS
                                                   ? std::vector<std::string>{"Comet", "Nomad"}
                                                   : std::vector<std::string>{"Quarry", "Tundra"};
        GameRun run(dir_.path());
        ASSERT_TRUE(run.Start());
        run.Files().Restart();
        AddAndInstall(run, kind, names);
        CheckLog(run, kind == DATA_KIND_TRACKS ? 1 : 0, kind == DATA_KIND_CARS ? 1 : 0);
        EXPECT_FALSE(run.View().ReportedFailureSince(0)) << run.View().BoxesSince(0);
        const Bytes expected = ListWithAppended(
            before, {DiscRecord(kind, names[0]), DiscRecord(kind, names[1])}, RecordSize(kind));
        EXPECT_EQ(GameList(kind), expected);
        EXPECT_EQ(WorkList(kind), expected);
        run.Dialog().OnCloseButton();
    }
}

TEST_P(AtomicListUpdate, InstallWritesTheWorkListWithTheRecordOfADroppedEntryDeleted) {
    // Riverside lost its picture after the scan: it is dropped from the work list at install, and
    // the game's list gets the work list as it stands, its last record's old bytes included.
    const std::int32_t kind = DATA_KIND_TRACKS;
    const Bytes before = GameList(kind);
    GameRun run(dir_.path());
    ASSERT_TRUE(run.Start());
    run.ShowTab(kind);
    ASSERT_TRUE(run.SelectProposed({"Quarry", "Riverside", "Summit"}));
    run.Dialog().OnAddToList();
    std::filesystem::remove(paths_.Disc() + "/circuits/Riverside/Riverside.img");
    run.Dialog().OnInstallNew();
    const std::size_t size = RecordSize(kind);
    const Bytes appended = ListWithAppended(
        before,
        {DiscRecord(kind, "Quarry"), DiscRecord(kind, "Riverside"), DiscRecord(kind, "Summit")},
        size);
    const Bytes expected = ListWithDeleted(appended, GetInt32(before, 0) + 2, size);
    EXPECT_EQ(expected.size(), appended.size());
    EXPECT_EQ(GameList(kind), expected);
    EXPECT_EQ(FurtherEntries(run.Analysis(), kind, PRESENT_INSTALLED),
              (std::vector<std::string>{"Harbour", "Dunes", "Quarry", "Summit"}));
    run.Dialog().OnCloseButton();
}

TEST_P(AtomicListUpdate, DeletionMovesTheLaterRecordsForwardAndKeepsTheLength) {
    for (const std::int32_t kind : {DATA_KIND_TRACKS, DATA_KIND_CARS}) {
        SCOPED_TRACE(kind);
        const std::string name = kind == DATA_KIND_CARS ? "Falcon" : "Harbour";
        const Bytes before = GameList(kind);
        const std::int64_t index = RecordIndex(kind, before, name);
        ASSERT_GT(index, 0);
        ASSERT_LT(index, GetInt32(before, 0)) << "a later record must move";
        GameRun run(dir_.path());
        ASSERT_TRUE(run.Start());
        run.Files().Restart();
        Trash(run, kind, name);
        CheckLog(run, kind == DATA_KIND_TRACKS ? 1 : 0, kind == DATA_KIND_CARS ? 1 : 0);
        EXPECT_FALSE(run.View().ReportedFailureSince(0)) << run.View().BoxesSince(0);
        const Bytes expected = ListWithDeleted(before, index, RecordSize(kind));
        EXPECT_EQ(GameList(kind), expected);
        EXPECT_EQ(GameList(kind).size(), before.size());
        EXPECT_EQ(WorkList(kind), expected);
        run.Dialog().OnCloseButton();
    }
}

TEST_P(AtomicListUpdate, InstallThenDeleteOfTheSameEntryGivesBackTheOldRecords) {
    // The list keeps its grown length, with the installed record's bytes behind the count.
    const std::int32_t kind = DATA_KIND_CARS;
    const Bytes before = GameList(kind);
    GameRun run(dir_.path());
    ASSERT_TRUE(run.Start());
    run.Files().Restart();
    AddAndInstall(run, kind, {"Mistral"});
    Trash(run, kind, "Mistral");
    CheckLog(run, 0, 2);
    const Bytes appended = ListWithAppended(before, {DiscRecord(kind, "Mistral")}, CAR_RECORD_SIZE);
    const Bytes after = GameList(kind);
    EXPECT_EQ(after, ListWithDeleted(appended, GetInt32(before, 0) + 1, CAR_RECORD_SIZE));
    EXPECT_EQ(Bytes(after.begin(), after.begin() + static_cast<long>(before.size())), before);
    run.Dialog().OnCloseButton();
}

INSTANTIATE_TEST_SUITE_P(GameVersions, AtomicListUpdate, testing::Values(1, 2),
                         [](const testing::TestParamInfo<int>& param) {
                             return "Version" + std::to_string(param.param);
                         });

} // namespace
} // namespace zav::test
