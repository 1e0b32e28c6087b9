// The game's list files change only by a whole new file renamed over them, and end up holding
// exactly what the install and deletion algorithms define.
#include <gtest/gtest.h>

#include <filesystem>

#include "game_run.h"
#include "support/list_bytes.h"

namespace zav::test {
namespace {

using Kind = FileOperationKind;

bool Writes(const FileOperation& operation, const std::string& path) {
    return (operation.kind == Kind::Write && operation.path == path) ||
           (operation.kind == Kind::Copy && operation.target == path);
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
            EXPECT_TRUE(operation.kind != Kind::Open || operation.mode == OpenMode::ReadOnly);
            EXPECT_TRUE(operation.kind != Kind::Delete && operation.kind != Kind::SetAttributes &&
                        operation.kind != Kind::Rename)
                << "the list is deleted, changed or moved away";
        }
        EXPECT_FALSE(Writes(operation, list)) << "the list is written in place";
        if (operation.kind != Kind::Rename || operation.target != list) {
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
            if (earlier.kind == Kind::SyncFile && earlier.path == copy && earlier.succeeded &&
                sync == i) {
                sync = j;
            }
            EXPECT_FALSE(Writes(earlier, copy) && sync == i)
                << "the copy is written after its last sync: " << Describe(earlier);
            if (earlier.kind == Kind::Copy && earlier.target == copy) {
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
    AtomicListUpdate() { CopySample(dir_.path(), GetParam()); }

    Bytes File(const std::string& relative) const { return ReadFile(dir_ / relative); }
    Bytes WorkList(std::int32_t kind) const {
        std::string list = ListOf(kind);
        return File(list.replace(list.size() - 3, 3, "sav"));
    }
    std::size_t Size(std::int32_t kind) const { return RecordSize(kind, GetParam()); }
    // The renames over each game list that the run's log shows.
    void CheckLog(GameRun& run, int trackRenames, int carRenames) {
        const AnalysisState& state = run.Analysis();
        const auto& log = run.Files().Log();
        EXPECT_EQ(CheckReplacements(log, state.TrackListPath.str()), trackRenames);
        EXPECT_EQ(CheckReplacements(log, state.CarListPath.str()), carRenames);
        std::string baseCars = state.CarListPath.str();
        EXPECT_EQ(CheckReplacements(log, baseCars.replace(baseCars.size() - 12, 12, "voitures.bin")),
                  0);
        EXPECT_FALSE(run.View().ReportedFailureSince(0)) << run.View().BoxesSince(0);
    }
    void Start(GameRun& run) {
        ASSERT_TRUE(run.Start());
        run.Files().Restart();
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
};

TEST_P(AtomicListUpdate, StartUpAndAddToListLeaveTheGameListsAlone) {
    GameRun run(dir_.path());
    ASSERT_TRUE(run.Start());
    for (const auto& [kind, name] : {std::pair{DATA_KIND_TRACKS, "Tundra"}, {DATA_KIND_CARS, "Lynx"}}) {
        run.ShowTab(kind);
        ASSERT_TRUE(run.SelectProposed({name}));
        run.Dialog().OnAddToList();
    }
    run.Dialog().OnCloseButton();
    CheckLog(run, 0, 0);
}

TEST_P(AtomicListUpdate, InstallAndDeletionWriteWhatTheirAlgorithmsDefine) {
    for (const std::int32_t kind : {DATA_KIND_TRACKS, DATA_KIND_CARS}) {
        SCOPED_TRACE(kind);
        const bool cars = kind == DATA_KIND_CARS;
        const TreeSnapshot before = SnapshotTree(dir_.path());
        const Bytes& list = before.at(ListOf(kind));
        const std::vector<std::string> names = cars ? std::vector<std::string>{"Comet", "Nomad"}
                                                    : std::vector<std::string>{"Quarry", "Tundra"};
        {
            GameRun run(dir_.path());
            Start(run);
            AddAndInstall(run, kind, names);
            CheckLog(run, cars ? 0 : 1, cars ? 1 : 0);
            const Bytes expected = ListWithAppended(
                list,
                {DiscRecord(before, kind, names[0], GetParam()),
                 DiscRecord(before, kind, names[1], GetParam())},
                Size(kind));
            EXPECT_EQ(File(ListOf(kind)), expected);
            EXPECT_EQ(WorkList(kind), expected);
            run.Dialog().OnCloseButton();
        }
        // A deletion moves the later records forward and keeps the length.
        const Bytes installed = File(ListOf(kind));
        const std::string name = cars ? "Falcon" : "Harbour";
        const std::int64_t index = RecordIndexOfName(installed, kind, GetParam(), name);
        ASSERT_GT(index, 0);
        ASSERT_LT(index, GetInt32(installed, 0)) << "a later record must move";
        GameRun run(dir_.path());
        Start(run);
        Trash(run, kind, name);
        CheckLog(run, cars ? 0 : 1, cars ? 1 : 0);
        const Bytes expected = ListWithDeleted(installed, index, Size(kind));
        EXPECT_EQ(File(ListOf(kind)), expected);
        EXPECT_EQ(expected.size(), installed.size());
        EXPECT_EQ(WorkList(kind), expected);
        run.Dialog().OnCloseButton();
    }
}

TEST_P(AtomicListUpdate, InstallWritesTheWorkListWithTheRecordOfADroppedEntryDeleted) {
    // Riverside lost its picture after the scan: it is dropped from the work list at install, and
    // the game's list gets the work list as it stands, its last record's old bytes included.
    const std::int32_t kind = DATA_KIND_TRACKS;
    const TreeSnapshot before = SnapshotTree(dir_.path());
    const Bytes& list = before.at(TRACK_LIST);
    GameRun run(dir_.path());
    ASSERT_TRUE(run.Start());
    run.ShowTab(kind);
    ASSERT_TRUE(run.SelectProposed({"Quarry", "Riverside", "Summit"}));
    run.Dialog().OnAddToList();
    std::filesystem::remove(dir_ / "disc/circuits/Riverside/Riverside.img");
    run.Dialog().OnInstallNew();
    std::vector<Bytes> records;
    for (const char* name : {"Quarry", "Riverside", "Summit"}) {
        records.push_back(DiscRecord(before, kind, name, GetParam()));
    }
    const Bytes appended = ListWithAppended(list, records, Size(kind));
    EXPECT_EQ(File(TRACK_LIST), ListWithDeleted(appended, GetInt32(list, 0) + 2, Size(kind)));
    EXPECT_EQ(run.Further(kind, PRESENT_INSTALLED),
              (std::vector<std::string>{"Harbour", "Dunes", "Quarry", "Summit"}));
    run.Dialog().OnCloseButton();
}

TEST_P(AtomicListUpdate, InstallThenDeleteOfTheSameEntryGivesBackTheOldRecords) {
    // The list keeps its grown length, with the installed record's bytes behind the count.
    const std::int32_t kind = DATA_KIND_CARS;
    const TreeSnapshot before = SnapshotTree(dir_.path());
    const Bytes& list = before.at(CAR_LIST);
    GameRun run(dir_.path());
    Start(run);
    AddAndInstall(run, kind, {"Mistral"});
    Trash(run, kind, "Mistral");
    CheckLog(run, 0, 2);
    const Bytes appended =
        ListWithAppended(list, {DiscRecord(before, kind, "Mistral", GetParam())}, Size(kind));
    const Bytes after = File(CAR_LIST);
    EXPECT_EQ(after, ListWithDeleted(appended, GetInt32(list, 0) + 1, Size(kind)));
    EXPECT_EQ(Bytes(after.begin(), after.begin() + static_cast<long>(list.size())), list);
    run.Dialog().OnCloseButton();
}

INSTANTIATE_TEST_SUITE_P(GameVersions, AtomicListUpdate, testing::Values(1, 2),
                         [](const testing::TestParamInfo<int>& param) {
                             return "Version" + std::to_string(param.param);
                         });

} // namespace
} // namespace zav::test
