// The start-up, "Add to List", "Install New" and "Trash" with each of their file operations failing
// in turn: the game's lists stay whole and nothing the user had is lost.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <memory>
#include <set>

#include "game_run.h"
#include "list_algorithm.h"
#include "platform/ui.h"
#include "support/list_bytes.h"

namespace zav::test {
namespace {

enum class Verb { StartUp, AddToList, InstallNew, Trash };

struct CommandSpec {
    const char* label;
    Verb verb;
    std::int32_t kind;
    std::vector<std::string> names;
    /// The game's lists read-only, as a game installed from a disc has them.
    bool readOnlyLists = false;
};

const CommandSpec kCommands[] = {
    {"StartUp", Verb::StartUp, DATA_KIND_TRACKS, {}},
    {"StartUpOnReadOnlyLists", Verb::StartUp, DATA_KIND_TRACKS, {}, true},
    {"AddTracks", Verb::AddToList, DATA_KIND_TRACKS, {"Quarry", "Summit"}},
    {"AddCars", Verb::AddToList, DATA_KIND_CARS, {"Comet", "Mistral"}},
    {"InstallTracks", Verb::InstallNew, DATA_KIND_TRACKS, {"Quarry", "Summit"}},
    {"InstallCars", Verb::InstallNew, DATA_KIND_CARS, {"Comet", "Mistral"}},
    {"TrashTrack", Verb::Trash, DATA_KIND_TRACKS, {"Harbour"}},
    {"TrashCar", Verb::Trash, DATA_KIND_CARS, {"Falcon"}},
};

constexpr int kVersion = 2;

const SampleGameTemplate& Sample() {
    static const SampleGameTemplate sample(SmallSample(kVersion));
    return sample;
}

/// What one run of a command did, and what the next run of the program found.
struct CommandRun {
    TreeSnapshot before;
    TreeSnapshot after;
    TreeSnapshot afterNextRun;
    std::int64_t operations = 0;
    std::vector<FileOperation> injected;
    std::set<std::string> injectedPaths; // relative to the copy's folder
    bool started = true;
    bool reported = false;
    bool succeeded = false;
    std::string boxes;
    std::vector<std::string> installedBefore;
    /// The entries added to the work list when "Install New" was pressed, in slot order.
    std::vector<std::string> addedForInstall;
    std::vector<std::string> installedAfter;
    std::string nextRunProblem;
};

void Prepare(GameRun& run, const CommandSpec& spec) {
    run.ShowTab(spec.kind);
    if (spec.verb == Verb::Trash) {
        ASSERT_TRUE(run.SelectAdded(spec.names.front()));
        return;
    }
    ASSERT_TRUE(run.SelectProposed(spec.names));
    if (spec.verb == Verb::InstallNew) {
        run.Dialog().OnAddToList();
        ASSERT_EQ(run.Dialog().State().InstallEnabled, 1);
    }
}

void Execute(GameRun& run, const CommandSpec& spec, CommandRun& result) {
    switch (spec.verb) {
    case Verb::StartUp:
        result.started = run.Start();
        return;
    case Verb::AddToList:
        run.Dialog().OnAddToList();
        return;
    case Verb::InstallNew:
        run.Dialog().OnInstallNew();
        return;
    case Verb::Trash:
        run.Dialog().OnTrash();
        return;
    }
}

// After a failed "Add to List" the user tries again and installs: whatever the failure left in the
// work list must not reach the game's list.
void AddAgainAndInstall(GameRun& run, const CommandSpec& spec, CommandRun& result) {
    run.ShowTab(spec.kind);
    std::vector<std::string> proposedAgain;
    for (const std::string& name : spec.names) {
        const auto added = FurtherEntries(run.Analysis(), spec.kind, PRESENT_ADDED);
        if (std::find(added.begin(), added.end(), name) == added.end()) {
            proposedAgain.push_back(name);
        }
    }
    if (!proposedAgain.empty() && run.SelectProposed(proposedAgain)) {
        run.Dialog().OnAddToList();
    }
    run.ShowTab(spec.kind);
    result.addedForInstall = FurtherEntries(run.Analysis(), spec.kind, PRESENT_ADDED);
    if (run.Dialog().State().InstallEnabled != 0) {
        run.Dialog().OnInstallNew();
    }
}

// A later run of the program on the same game: it must start, and its "Close" leaves the game's
// folders without the tool's temporaries.
std::string NextRun(const std::string& root) {
    GameRun run(root);
    if (!run.Start()) {
        return "the next run did not start: " + run.View().BoxesSince(0);
    }
    run.Dialog().OnCloseButton();
    return {};
}

CommandRun RunCommand(const CommandSpec& spec, std::int64_t failAt, FaultMode mode) {
    TempDir dir;
    Sample().CopyTo(dir.path());
    if (spec.readOnlyLists) {
        for (const std::string_view list : {GAME_TRACK_LIST, GAME_CAR_LIST, GAME_BASE_CAR_LIST}) {
            ::chmod(SampleGamePaths(dir.path()).GameFile(list).c_str(), 0444);
        }
    }
    CommandRun result;
    {
        GameRun run(dir.path());
        if (spec.verb != Verb::StartUp) {
            EXPECT_TRUE(run.Start()) << run.View().BoxesSince(0);
            Prepare(run, spec);
        }
        const std::size_t firstBox = run.View().Boxes().size();
        result.before = run.Snapshot();
        result.installedBefore = FurtherEntries(run.Analysis(), spec.kind, PRESENT_INSTALLED);
        result.addedForInstall = FurtherEntries(run.Analysis(), spec.kind, PRESENT_ADDED);
        FaultInjectingFileSystem& files = run.Files();
        files.Restart();
        if (failAt > 0) {
            files.FailAt(failAt, mode);
        }
        Execute(run, spec, result);
        files.Disarm();
        result.operations = files.Count();
        result.injected = files.Injected();
        for (const FileOperation& operation : result.injected) {
            result.injectedPaths.insert(run.Relative(operation.path));
            if (!operation.target.empty()) {
                result.injectedPaths.insert(run.Relative(operation.target));
            }
        }
        result.reported = run.View().ReportedFailureSince(firstBox);
        for (std::size_t i = firstBox; i < run.View().Boxes().size(); ++i) {
            result.succeeded = result.succeeded ||
                               (run.View().Boxes()[i].style & MB_ICONMASK) == MB_ICONINFORMATION;
        }
        result.boxes = run.View().BoxesSince(firstBox);
        if (spec.verb == Verb::AddToList) {
            AddAgainAndInstall(run, spec, result);
        }
        result.installedAfter = FurtherEntries(run.Analysis(), spec.kind, PRESENT_INSTALLED);
        result.after = run.Snapshot();
        if (!run.Dialog().Ended()) {
            run.Dialog().OnCloseButton();
        }
    }
    result.nextRunProblem = NextRun(dir.path());
    result.afterNextRun = SnapshotTree(dir.path());
    return result;
}

bool IsWorkingCopy(const std::string& path) {
    return path.size() > 4 && path.compare(path.size() - 4, 4, ".sav") == 0;
}

bool IsToolFile(const std::string& path) {
    return IsToolTemporary(path) || IsWorkingCopy(path);
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string FileName(const std::string& path) {
    return path.substr(path.find_last_of('/') + 1);
}

std::string Stem(const std::string& path) {
    const std::string name = FileName(path);
    return name.substr(0, name.find('.'));
}

// Whether `path` is one of the game's data files of entry `name` (N.* or the second record
// file -xx.brt).
bool IsEntryFile(const std::string& path, const std::string& name) {
    const std::string stem = Lower(Stem(path));
    return stem == Lower(name) || (name.size() > 1 && stem == "-" + Lower(name.substr(1)));
}

std::string DiscFolder(std::int32_t kind) {
    return kind == DATA_KIND_CARS ? "disc/voitures/" : "disc/circuits/";
}

std::string ListOf(std::int32_t kind) {
    return GameRun::GameRelative(kind == DATA_KIND_CARS ? GAME_CAR_LIST : GAME_TRACK_LIST);
}

std::size_t RecordSizeOf(std::int32_t kind) {
    return kind == DATA_KIND_CARS ? CAR_RECORD_SIZE : TrackRecordSize(kVersion);
}

// The game's list of `kind` as the command's own algorithm leaves it: for a deletion the list
// without the entry's record; for an install the work list, which is the old list with the records
// of the added entries appended and then those of the entries dropped for missing files deleted.
Bytes ExpectedList(const CommandSpec& spec, const CommandRun& run) {
    const Bytes& before = run.before.at(ListOf(spec.kind));
    const std::size_t size = RecordSizeOf(spec.kind);
    if (spec.verb == Verb::Trash) {
        const bool cars = spec.kind == DATA_KIND_CARS;
        const std::int64_t index =
            RecordIndexOfName(before, size, cars ? CAR_NAME_OFFSET : TRACK_NAME_OFFSET,
                              cars ? CAR_NAME_MASK : TRACK_NAME_MASK, spec.names.front());
        return ListWithDeleted(before, index, size);
    }
    const std::string listName = spec.kind == DATA_KIND_CARS ? "voitures.bin" : "circuits.bin";
    std::vector<Bytes> records;
    for (const std::string& name : run.addedForInstall) {
        records.push_back(
            RecordAt(run.before.at(DiscFolder(spec.kind) + name + "/" + listName), 1, size));
    }
    Bytes list = ListWithAppended(before, records, size);
    std::vector<std::string> inList = run.addedForInstall;
    for (const std::string& name : run.addedForInstall) {
        if (std::find(run.installedAfter.begin(), run.installedAfter.end(), name) ==
            run.installedAfter.end()) {
            const auto at = std::find(inList.begin(), inList.end(), name);
            list = ListWithDeleted(list, GetInt32(before, 0) + (at - inList.begin()) + 1, size);
            inList.erase(at);
        }
    }
    return list;
}

bool ChangesList(const CommandSpec& spec) {
    return spec.verb != Verb::StartUp;
}

void CheckLists(const CommandSpec& spec, const CommandRun& run,
                std::vector<std::string>& problems) {
    for (const std::string_view list : {GAME_TRACK_LIST, GAME_CAR_LIST, GAME_BASE_CAR_LIST}) {
        const std::string path = GameRun::GameRelative(list);
        const Bytes& before = run.before.at(path);
        const auto after = run.after.find(path);
        if (after == run.after.end()) {
            problems.push_back(path + " is gone");
            continue;
        }
        const bool commandList = ChangesList(spec) && path == ListOf(spec.kind);
        const Bytes expected = commandList ? ExpectedList(spec, run) : before;
        if (after->second != before && after->second != expected) {
            problems.push_back(path + " is neither its old self nor the command's result");
        }
        if (!run.reported && after->second != expected) {
            problems.push_back(path + " was not written, and no failure was reported");
        }
        const auto later = run.afterNextRun.find(path);
        if (later == run.afterNextRun.end() || later->second != after->second) {
            problems.push_back(path + " changed in the next run of the program");
        }
    }
}

// Nothing the user had is lost or changed, except the files of an entry they agreed to delete; a
// file that is new in the game is a whole copy of its source.
void CheckNothingLost(const CommandSpec& spec, const CommandRun& run,
                      std::vector<std::string>& problems) {
    for (const auto& [path, bytes] : run.before) {
        if (IsToolFile(path) || path == ListOf(spec.kind)) {
            continue;
        }
        const auto after = run.after.find(path);
        const bool deletable = spec.verb == Verb::Trash && path.rfind("prefix/", 0) == 0 &&
                               IsEntryFile(path, spec.names.front());
        if (after == run.after.end() ? !deletable : after->second != bytes) {
            problems.push_back(path + (after == run.after.end() ? " is gone" : " was changed"));
        }
    }
    for (const auto& [path, bytes] : run.after) {
        if (IsToolFile(path) || run.before.count(path) != 0) {
            continue;
        }
        bool wholeCopy = false;
        for (const std::string& name : spec.names) {
            const auto source =
                run.before.find(DiscFolder(spec.kind) + name + "/" + FileName(path));
            wholeCopy = wholeCopy || (source != run.before.end() && source->second == bytes);
        }
        if (!wholeCopy) {
            problems.push_back(path + " appeared and is no whole copy of a source file");
        }
    }
}

// With no failure reported, the run ends as the run without faults did, except for the files a
// failed operation named: an unreported data-file copy or deletion shows in its file.
void CheckUnreported(const CommandSpec& spec, const CommandRun& run, const CommandRun& reference,
                     std::vector<std::string>& problems) {
    if (run.reported) {
        return;
    }
    if (spec.verb == Verb::StartUp ? !run.started
                                   : (spec.verb != Verb::AddToList && !run.succeeded)) {
        problems.push_back("the command neither succeeded nor reported a failure");
    }
    for (const std::string& path : DifferingPaths(run.after, reference.after)) {
        if (!IsToolFile(path) && run.injectedPaths.count(path) == 0) {
            problems.push_back(path + " differs from the run without faults, unreported");
        }
    }
}

void CheckNextRun(const CommandRun& run, std::vector<std::string>& problems) {
    if (!run.nextRunProblem.empty()) {
        problems.push_back(run.nextRunProblem);
    }
    for (const auto& [path, bytes] : run.afterNextRun) {
        if (path.rfind("prefix/", 0) == 0 && IsToolFile(path)) {
            problems.push_back(path + " is left after the next run");
        }
    }
}

std::vector<std::string> Problems(const CommandSpec& spec, const CommandRun& run,
                                  const CommandRun& reference) {
    std::vector<std::string> problems;
    CheckLists(spec, run, problems);
    CheckNothingLost(spec, run, problems);
    CheckUnreported(spec, run, reference, problems);
    CheckNextRun(run, problems);
    return problems;
}

std::string Explain(const CommandRun& run, const std::vector<std::string>& problems) {
    std::string text;
    for (const FileOperation& operation : run.injected) {
        text += "  injected: " + Describe(operation) + "\n";
    }
    for (const std::string& problem : problems) {
        text += "  problem: " + problem + "\n";
    }
    return text + "  boxes:\n" + run.boxes;
}

class FaultInjection : public testing::TestWithParam<std::tuple<int, FaultMode>> {};

TEST_P(FaultInjection, EveryFailingOperationLeavesTheGameWholeAndTheNextRunClean) {
    const CommandSpec& spec = kCommands[std::get<0>(GetParam())];
    const FaultMode mode = std::get<1>(GetParam());

    const CommandRun reference = RunCommand(spec, 0, mode);
    ASSERT_FALSE(reference.reported) << reference.boxes;
    ASSERT_TRUE(reference.injected.empty());
    const std::vector<std::string> referenceProblems = Problems(spec, reference, reference);
    ASSERT_TRUE(referenceProblems.empty()) << Explain(reference, referenceProblems);
    if (spec.verb == Verb::InstallNew || spec.verb == Verb::AddToList) {
        ASSERT_EQ(reference.installedAfter.size(),
                  reference.installedBefore.size() + spec.names.size());
    }
    if (ChangesList(spec)) {
        ASSERT_NE(reference.after.at(ListOf(spec.kind)), reference.before.at(ListOf(spec.kind)));
    }
    ASSERT_GT(reference.operations, 0);

    int failures = 0;
    int tried = 0;
    for (std::int64_t failAt = 1; failAt <= reference.operations && failures < 5; ++failAt) {
        if ((failAt - 1) % SWEEP_STEP != 0 && failAt != reference.operations) {
            continue;
        }
        ++tried;
        const CommandRun run = RunCommand(spec, failAt, mode);
        ASSERT_FALSE(run.injected.empty()) << "operation " << failAt << " never came";
        const std::vector<std::string> problems = Problems(spec, run, reference);
        if (!problems.empty()) {
            ++failures;
            ADD_FAILURE() << spec.label << ", operation " << failAt << " of "
                          << reference.operations << " failing:\n"
                          << Explain(run, problems);
        }
    }
    std::printf("[ fault points ] %s, %s: %lld operations, %d failed in turn\n", spec.label,
                mode == FaultMode::Once ? "once" : "from then on",
                static_cast<long long>(reference.operations), tried);
    RecordProperty("fault_points", tried);
    const CommandRun beyond = RunCommand(spec, reference.operations + 1, mode);
    EXPECT_TRUE(beyond.injected.empty()) << "the command's operations are not counted the same "
                                            "way from run to run";
}

std::string CaseName(const testing::TestParamInfo<FaultInjection::ParamType>& info) {
    return std::string(kCommands[std::get<0>(info.param)].label) +
           (std::get<1>(info.param) == FaultMode::Once ? "FailingOnce" : "FailingFromThenOn");
}

INSTANTIATE_TEST_SUITE_P(Commands, FaultInjection,
                         testing::Combine(testing::Range(0, static_cast<int>(std::size(kCommands))),
                                          testing::Values(FaultMode::Once, FaultMode::FromThenOn)),
                         CaseName);

} // namespace
} // namespace zav::test
