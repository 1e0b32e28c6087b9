// The start-up, "Install New" and "Trash" with their file operations failing in turn: the game's
// lists stay whole, change only by an atomic replacement, and nothing the user had is lost.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>

#include "analysis/set_tables.h"
#include "robustness/invariants.h"
#include "support/game_run.h"

namespace zav::test {
namespace {

enum class Verb { StartUp, InstallNew, Trash };

struct Command {
    const char* label;
    Verb verb;
    std::int32_t kind;
    std::vector<std::string> names;
    std::int64_t trashedRecord = 0; // the trashed entry's record in the game's list
    int version = 2;
    bool readOnlyLists = false;
};

const Command kCommands[] = {
    {"StartUp", Verb::StartUp, DATA_KIND_TRACKS, {}},
    {"StartUpOnReadOnlyLists", Verb::StartUp, DATA_KIND_TRACKS, {}, 0, 2, true},
    {"InstallTracks", Verb::InstallNew, DATA_KIND_TRACKS, {"Quarry", "Summit"}},
    {"InstallTracksVersion1", Verb::InstallNew, DATA_KIND_TRACKS, {"Quarry", "Tundra"}, 0, 1},
    {"InstallCars", Verb::InstallNew, DATA_KIND_CARS, {"Comet", "Mistral"}},
    {"TrashTrack", Verb::Trash, DATA_KIND_TRACKS, {"Harbour"}, 17},
    {"TrashTrackVersion1", Verb::Trash, DATA_KIND_TRACKS, {"Harbour"}, 17, 1},
    {"TrashCar", Verb::Trash, DATA_KIND_CARS, {"Falcon"}, 1},
};

std::size_t RecordSize(const Command& command) {
    return command.kind == DATA_KIND_TRACKS && command.version == 2 ? 140 : 128;
}

bool Writes(const FileOperation& operation, const std::string& path) {
    return (operation.kind == "Write" && operation.path == path) ||
           (operation.kind == "Copy" && operation.target == path);
}

// Only a rename may change `list`: of a temporary beside it, made by a copy that may replace
// nothing and forced to disk after its last write. Returns the number of such renames.
int CheckReplacements(const std::vector<FileOperation>& log, const std::string& list) {
    const std::string temporaries =
        list.substr(0, list.find_last_of('\\') + 1) + std::string(TEMPORARY_NAME_PREFIX);
    int renames = 0;
    for (std::size_t i = 0; i < log.size(); ++i) {
        const FileOperation& operation = log[i];
        SCOPED_TRACE(Describe(operation));
        EXPECT_FALSE(operation.path == list &&
                     (operation.kind == "Delete" || operation.kind == "SetAttributes" ||
                      operation.kind == "Rename" ||
                      (operation.kind == "Open" && operation.mode != OpenMode::ReadOnly)));
        EXPECT_FALSE(Writes(operation, list)) << "written in place";
        if (operation.kind == "Rename" && operation.target == list) {
            ++renames;
            const std::string& copy = operation.path;
            EXPECT_TRUE(copy.starts_with(temporaries)) << copy;
            bool synced = false;
            std::size_t j = i;
            while (j-- > 0 && !(log[j].kind == "Copy" && log[j].target == copy)) {
                synced |= log[j].kind == "SyncFile" && log[j].path == copy && log[j].succeeded;
                EXPECT_FALSE(Writes(log[j], copy) && !synced) << "written after its last sync";
            }
            EXPECT_TRUE(synced) << "renamed unsynced";
            EXPECT_TRUE(j < i && log[j].failIfExists) << "not made here, or made over a file";
        }
    }
    return renames;
}

std::vector<std::string> Installed(GameRun& run, std::int32_t kind) {
    const PresentSetView present = PresentSet(run.State(), kind);
    std::vector<std::string> names;
    for (std::int32_t s = present.firstFurther; s < present.End(); ++s) {
        if (present.flags[static_cast<std::size_t>(s)] == PRESENT_INSTALLED) {
            names.push_back(present.names[static_cast<std::size_t>(s)].str());
        }
    }
    return names;
}

/// What one run of a command did, and what the next run of the program found.
struct CommandRun {
    TreeSnapshot before, after, afterNextRun;
    std::vector<FileOperation> log;
    std::vector<std::string> coreLists;  // ALL_LISTS as the core names them
    std::set<std::string> injectedPaths; // relative to the game's folder
    bool started = true, reported = false, succeeded = false;
    std::vector<std::string> installedAfter;
    std::string problemsOfNextRun, explanation; // the failed operations and the boxes shown
};

CommandRun RunCommand(const Command& command, std::int64_t failAt, FaultMode mode) {
    TestGame game({.version = command.version});
    for (const std::string& list : ALL_LISTS) {
        if (command.readOnlyLists) {
            MakeReadOnly(game.dir / list);
        }
    }
    CommandRun result;
    {
        GameRun run(game);
        if (command.verb != Verb::StartUp) {
            EXPECT_TRUE(run.Start());
            run.ShowTab(command.kind);
            command.verb == Verb::Trash ? run.Click(IDC_ADDED_LIST, command.names.front())
                                        : run.AddToList(command.names);
            EXPECT_TRUE(command.verb == Verb::Trash || run.dialog.State().InstallEnabled == 1);
        }
        const std::size_t firstBox = run.view.boxes.size();
        result.before = GameAndDisc(game);
        run.view.answers = {IDYES};
        run.files.Restart();
        run.files.FailAt(failAt, mode);
        command.verb == Verb::StartUp      ? void(result.started = run.Start())
        : command.verb == Verb::InstallNew ? run.dialog.OnInstallNew()
                                           : run.dialog.OnTrash();
        run.files.Disarm();
        result.log = run.files.Log();
        const std::string cars = run.State().CarListPath.str();
        result.coreLists = {run.State().TrackListPath.str(), cars,
                            cars.substr(0, cars.size() - 12) + "voitures.bin"};
        const auto relative = [&](const std::string& corePath) {
            std::error_code error;
            const auto canonical = [&](const std::string& path) {
                return std::filesystem::weakly_canonical(path, error);
            };
            return canonical(run.host.HostPath(corePath))
                .lexically_relative(canonical(game.dir.path()))
                .generic_string();
        };
        for (const FileOperation& operation : result.log) {
            if (operation.injected) {
                result.explanation += "  injected: " + Describe(operation) + "\n";
                result.injectedPaths.insert(relative(operation.path));
                result.injectedPaths.insert(relative(operation.target));
            }
        }
        const auto& boxes = run.view.boxes;
        result.reported = run.view.ReportedFailureSince(firstBox);
        result.succeeded = std::any_of(
            boxes.begin() + static_cast<long>(firstBox), boxes.end(),
            [](const auto& box) { return (box.style & MB_ICONMASK) == MB_ICONINFORMATION; });
        for (std::size_t i = firstBox; i < boxes.size(); ++i) {
            result.explanation += "  box: " + boxes[i].caption + ": " + boxes[i].text + "\n";
        }
        result.installedAfter = Installed(run, command.kind);
        result.after = GameAndDisc(game);
        if (!run.dialog.Ended()) {
            run.dialog.OnCloseButton();
        }
    }
    // A later run on the same game must start, and its "Close" leaves no temporaries behind.
    GameRun next(game);
    if (next.Start()) {
        next.dialog.OnCloseButton();
    } else {
        result.problemsOfNextRun = "the next run did not start";
    }
    result.afterNextRun = GameAndDisc(game);
    return result;
}

// The game's list as the command's own algorithm leaves it: without the trashed entry's record,
// or with the added entries' records appended and those dropped for missing files deleted.
std::map<std::string, Bytes> ExpectedList(const Command& command, const CommandRun& run) {
    if (command.verb == Verb::StartUp) {
        return {};
    }
    const std::string& list = ListOf(command.kind);
    const Bytes& before = run.before.at(list);
    if (command.verb == Verb::Trash) {
        return {{list, Deleted(before, command.trashedRecord, RecordSize(command))}};
    }
    const std::string disc = command.kind == DATA_KIND_CARS ? "voitures" : "circuits";
    std::vector<Bytes> records;
    for (const std::string& name : command.names) {
        records.push_back(RecordAt(run.before.at("disc/" + disc + "/" + name + "/" + disc + ".bin"),
                                   1, RecordSize(command)));
    }
    Bytes bytes = Appended(before, records);
    std::int64_t record = GetInt32(before, 0);
    for (const std::string& name : command.names) {
        ++record;
        if (std::ranges::count(run.installedAfter, name) == 0) {
            bytes = Deleted(bytes, record--, RecordSize(command));
        }
    }
    return {{list, bytes}};
}

std::vector<std::string> Problems(const Command& command, const CommandRun& run,
                                  const CommandRun& reference) {
    const auto expected = ExpectedList(command, run);
    std::vector<std::string> problems =
        GameProblems(run.before, run.after, expected,
                     command.verb == Verb::Trash ? command.names.front() : "", command.names);
    for (const std::string& list : ALL_LISTS) {
        const Bytes& want = expected.contains(list) ? expected.at(list) : run.before.at(list);
        if (!run.reported && run.after.contains(list) && run.after.at(list) != want) {
            problems.push_back(list + " was not written, and no failure was reported");
        }
        if (!run.afterNextRun.contains(list) || run.afterNextRun.at(list) != run.after.at(list)) {
            problems.push_back(list + " changed in the next run of the program");
        }
    }
    // With no failure reported the run ends as the run without faults did, except for the files
    // a failed operation named: an unreported data-file copy or deletion shows in its file.
    if (!run.reported) {
        if (command.verb == Verb::StartUp ? !run.started : !run.succeeded) {
            problems.push_back("the command neither succeeded nor reported a failure");
        }
        for (const std::string& path : DifferingPaths(run.after, reference.after)) {
            if (!IsToolFile(path) && !run.injectedPaths.contains(path)) {
                problems.push_back(path + " differs from the run without faults, unreported");
            }
        }
    }
    if (!run.problemsOfNextRun.empty()) {
        problems.push_back(run.problemsOfNextRun);
    }
    for (const auto& [path, bytes] : run.afterNextRun) {
        if (path.starts_with("prefix/") && IsToolFile(path)) {
            problems.push_back(path + " is left after the next run");
        }
    }
    return problems;
}

std::string Explain(const CommandRun& run, const std::vector<std::string>& problems) {
    std::string text = run.explanation;
    for (const std::string& problem : problems) {
        text += "  problem: " + problem + "\n";
    }
    return text;
}

class FaultInjection : public testing::TestWithParam<std::tuple<int, FaultMode>> {};

TEST_P(FaultInjection, EveryFailingOperationLeavesTheGameWholeAndTheNextRunClean) {
    const Command& command = kCommands[std::get<0>(GetParam())];
    const FaultMode mode = std::get<1>(GetParam());

    // The run without faults: its list holds what the algorithm defines (no problem), and only
    // "Install New" and "Trash" change a list, by one atomic replacement.
    const CommandRun reference = RunCommand(command, 0, mode);
    const auto referenceProblems = Problems(command, reference, reference);
    ASSERT_TRUE(!reference.reported && referenceProblems.empty())
        << Explain(reference, referenceProblems);
    const bool replaces = command.verb != Verb::StartUp;
    for (std::size_t i = 0; i < std::size(ALL_LISTS); ++i) {
        EXPECT_EQ(CheckReplacements(reference.log, reference.coreLists[i]),
                  replaces && ALL_LISTS[i] == ListOf(command.kind) ? 1 : 0)
            << ALL_LISTS[i];
    }
    if (command.verb == Verb::InstallNew) {
        for (const std::string& name : command.names) {
            ASSERT_EQ(std::ranges::count(reference.installedAfter, name), 1) << name;
        }
    }
    const auto operations = std::ssize(reference.log);
    ASSERT_GT(operations, 0);

    int failures = 0;
    const auto points = SweepPoints(operations, SWEEP_EVERYTHING ? 32 : 4,
                                    SWEEP_EVERYTHING ? 48 : 8);
    for (const std::int64_t failAt : points) {
        const CommandRun run = RunCommand(command, failAt, mode);
        ASSERT_FALSE(run.injectedPaths.empty()) << "operation " << failAt << " never came";
        const std::vector<std::string> problems = Problems(command, run, reference);
        if (!problems.empty()) {
            ADD_FAILURE() << command.label << ", operation " << failAt << " of " << operations
                          << " failing:\n"
                          << Explain(run, problems);
            if (++failures == 5) {
                break;
            }
        }
    }
    std::printf("[ fault points ] %s: %lld operations, %zu failed in turn\n", command.label,
                static_cast<long long>(operations), points.size());
    EXPECT_TRUE(RunCommand(command, operations + 1, mode).injectedPaths.empty())
        << "the operations are not counted the same way from run to run";
}

INSTANTIATE_TEST_SUITE_P(Commands, FaultInjection,
                         testing::Combine(testing::Range(0, static_cast<int>(std::size(kCommands))),
                                          testing::Values(FaultMode::Once, FaultMode::FromThenOn)),
                         [](const testing::TestParamInfo<FaultInjection::ParamType>& param) {
                             return std::string(kCommands[std::get<0>(param.param)].label) +
                                    (std::get<1>(param.param) == FaultMode::Once
                                         ? "FailingOnce"
                                         : "FailingFromThenOn");
                         });

} // namespace
} // namespace zav::test
