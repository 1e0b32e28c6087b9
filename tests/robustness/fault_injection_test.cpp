// The start-up, "Install New" and "Trash" with their file operations failing in turn: the game's
// lists stay whole, change only by an atomic replacement, and nothing the user had is lost.
#include <gtest/gtest.h>

#include <filesystem>

#include "robustness/invariants.h"
#include "support/game_run.h"

namespace zav::test {
namespace {
bool Writes(const FileOperation& op, const std::string& path) {
    return (op.kind == "Write" && op.path == path) || (op.kind == "Copy" && op.target == path);
}
// Only a rename may change `list`: of a temporary beside it, made by a copy that may replace
// nothing and forced to disk after its last write. Returns the number of such renames.
int CheckReplacements(const std::vector<FileOperation>& log, const std::string& list) {
    const std::string temporaries =
        list.substr(0, list.find_last_of('\\') + 1) + std::string(TEMPORARY_NAME_PREFIX);
    int renames = 0;
    for (std::size_t i = 0; i < log.size(); ++i) {
        const FileOperation& op = log[i];
        SCOPED_TRACE(std::string(op.kind) + " " + op.path + " " + op.target);
        EXPECT_FALSE(op.path == list &&
                     (op.kind == "Delete" || op.kind == "SetAttributes" || op.kind == "Rename" ||
                      (op.kind == "Open" && op.mode != OpenMode::ReadOnly)));
        EXPECT_FALSE(Writes(op, list)) << "written in place";
        if (op.kind != "Rename" || op.target != list)
            continue;
        ++renames;
        EXPECT_TRUE(op.path.starts_with(temporaries)) << op.path;
        bool synced = false;
        std::size_t j = i;
        while (j-- > 0 && !(log[j].kind == "Copy" && log[j].target == op.path)) {
            synced |= log[j].kind == "SyncFile" && log[j].path == op.path && log[j].succeeded;
            EXPECT_FALSE(Writes(log[j], op.path) && !synced) << "written after its last sync";
        }
        EXPECT_TRUE(synced) << "renamed unsynced";
        EXPECT_TRUE(j < i && log[j].failIfExists) << "not made here, or made over a file";
    }
    return renames;
}
// What one run of a command did, and what the next run of the program found.
struct CommandRun {
    TreeSnapshot before, after, afterNextRun;
    std::vector<FileOperation> log;
    std::set<std::string> injectedPaths; // relative to the game's folder
    // succeeded: the start-up started, or the command told the job was done.
    bool succeeded = false, reported = false, nextRunStarted = false;
    std::vector<std::string> added; // "Added Data" afterwards
};
CommandRun RunCommand(const SweepCommand& command, std::int64_t failAt, FaultMode mode,
                      HistoryMode history) {
    const auto game = FreshGame(command);
    CommandRun result;
    {
        GameRun run(*game, {}, history);
        if (command.verb != Verb::StartUp) {
            EXPECT_TRUE(run.Start());
            run.ShowTab(command.kind);
            command.verb == Verb::Trash ? run.Click(IDC_ADDED_LIST, command.names[0])
                                        : run.AddToList(command.names);
        }
        const std::size_t firstBox = run.view.boxes.size();
        result.before = GameAndDisc(*game);
        run.view.answers = {IDYES};
        run.files.Restart();
        run.files.FailAt(failAt, mode);
        command.verb == Verb::StartUp      ? void(result.succeeded = run.Start())
        : command.verb == Verb::InstallNew ? run.dialog.OnInstallNew()
                                           : run.dialog.OnTrash();
        run.files.Disarm();
        result.log = run.files.Log();
        for (const FileOperation& op : result.log) {
            for (const std::string& path : {op.path, op.target})
                if (op.injected && !path.empty())
                    result.injectedPaths.insert(
                        std::filesystem::weakly_canonical(run.host.HostPath(path))
                            .lexically_relative(std::filesystem::weakly_canonical(game->dir.path()))
                            .generic_string());
        }
        for (std::size_t i = firstBox; i < run.view.boxes.size(); ++i)
            result.succeeded |= (run.view.boxes[i].style & MB_ICONMASK) == MB_ICONINFORMATION;
        result.reported = run.view.ReportedFailureSince(firstBox);
        result.added = run.Entries(IDC_ADDED_LIST);
        result.after = GameAndDisc(*game);
        if (!run.dialog.Ended())
            run.dialog.OnCloseButton();
    }
    // A later run on the same game must start, and its "Close" leaves no temporaries behind.
    GameRun next(*game);
    if ((result.nextRunStarted = next.Start()))
        next.dialog.OnCloseButton();
    result.afterNextRun = GameAndDisc(*game);
    return result;
}
// The game's list as the command's own algorithm leaves it: without the trashed entry's record
// (Harbour is the 17th track, Falcon the first added car), or with the added entries' records
// appended, less those dropped for a missing file.
std::map<std::string, Bytes> ExpectedList(const SweepCommand& command, const CommandRun& run) {
    const std::string& list = ListOf(command.kind);
    const std::size_t size = command.kind == DataKind::Tracks && command.version == 2 ? 140 : 128;
    const bool cars = command.kind == DataKind::Cars;
    if (command.verb == Verb::StartUp)
        return {};
    if (command.verb == Verb::Trash)
        return {{list, Deleted(run.before.at(list), cars ? 1 : 17, size)}};
    const std::string disc = cars ? "voitures" : "circuits";
    std::vector<Bytes> records;
    for (const std::string& name : command.names)
        records.push_back(
            RecordAt(run.before.at("disc/" + disc + "/" + name + "/" + disc + ".bin"), 1, size));
    Bytes bytes = Appended(run.before.at(list), records);
    std::int64_t record = GetInt32(run.before.at(list), 0);
    for (const std::string& name : command.names)
        if (++record && std::ranges::count(run.added, "<Inst.> " + name) == 0)
            bytes = Deleted(bytes, record--, size);
    return {{list, bytes}};
}
std::vector<std::string> Problems(const SweepCommand& command, const CommandRun& run,
                                  const CommandRun& reference) {
    const auto expected = ExpectedList(command, run);
    std::vector<std::string> problems = GameProblems(command, run.before, run.after, expected);
    for (const std::string& list : ALL_LISTS) {
        const Bytes& want = expected.contains(list) ? expected.at(list) : run.before.at(list);
        if (!run.reported && run.after.contains(list) && run.after.at(list) != want)
            problems.push_back(list + " was not written, and no failure was reported");
        if (!run.afterNextRun.contains(list) || run.afterNextRun.at(list) != run.after.at(list))
            problems.push_back(list + " changed in the next run of the program");
    }
    // With no failure reported the run ends as the run without faults did, except for the files
    // a failed operation named: an unreported data-file copy or deletion shows in its file.
    if (!run.reported && !run.succeeded)
        problems.push_back("the command neither succeeded nor reported a failure");
    for (const std::string& path : DifferingPaths(run.after, reference.after))
        if (!run.reported && !IsToolFile(path) && !run.injectedPaths.contains(path))
            problems.push_back(path + " differs from the run without faults, unreported");
    if (!run.nextRunStarted)
        problems.push_back("the next run did not start");
    AddLeftovers(run.afterNextRun, problems);
    return problems;
}
// With the history on, its own saved copies and manifest lines fail in turn too.
class FaultInjection : public testing::TestWithParam<std::tuple<int, FaultMode, HistoryMode>> {};

TEST_P(FaultInjection, EveryFailingOperationLeavesTheGameWholeAndTheNextRunClean) {
    const auto [index, mode, history] = GetParam();
    const SweepCommand& command = SWEEP_COMMANDS[index];
    // The run without faults: its list holds what the algorithm defines (no problem), and only
    // "Install New" and "Trash" change a list, by one atomic replacement.
    const CommandRun reference = RunCommand(command, 0, mode, history);
    ASSERT_FALSE(reference.reported);
    ASSERT_EQ(Problems(command, reference, reference), std::vector<std::string>{});
    for (const std::string& list : ALL_LISTS)
        EXPECT_EQ(CheckReplacements(reference.log, "C:\\Games\\ZAV\\Data\\Binary\\Scripts\\" +
                                                       list.substr(list.rfind('/') + 1)),
                  command.verb != Verb::StartUp && list == ListOf(command.kind))
            << list;
    for (const std::string& name :
         command.verb == Verb::InstallNew ? command.names : std::vector<std::string>{})
        ASSERT_EQ(std::ranges::count(reference.added, "<Inst.> " + name), 1) << name;
    const auto operations = std::ssize(reference.log);
    const auto points = SweepPoints(operations, 32, 48);
    int failures = 0;
    for (auto point = points.begin(); point != points.end() && failures < 5; ++point) {
        const CommandRun run = RunCommand(command, *point, mode, history);
        ASSERT_FALSE(run.injectedPaths.empty()) << "operation " << *point << " never came";
        const auto problems = Problems(command, run, reference);
        if (!problems.empty() && ++failures)
            ADD_FAILURE() << command.label << ", operation " << *point << " of " << operations
                          << " failing:\n"
                          << testing::PrintToString(problems);
    }
    EXPECT_TRUE(RunCommand(command, operations + 1, mode, history).injectedPaths.empty())
        << "the operations are not counted the same way from run to run";
}

std::string SweepName(const testing::TestParamInfo<FaultInjection::ParamType>& param) {
    return SWEEP_COMMANDS[std::get<0>(param.param)].label +
           std::string(std::get<1>(param.param) == FaultMode::Once ? "FailingOnce"
                                                                   : "FailingFromThenOn") +
           std::string(std::get<2>(param.param) == HistoryMode::Record ? "WithHistory" : "");
}
INSTANTIATE_TEST_SUITE_P(Commands, FaultInjection,
                         testing::Combine(testing::Range(0, int(std::size(SWEEP_COMMANDS))),
                                          testing::Values(FaultMode::Once, FaultMode::FromThenOn),
                                          testing::Values(HistoryMode::None)),
                         SweepName);
// With the history the single failures reach each of its calls; that is what it adds.
INSTANTIATE_TEST_SUITE_P(Recorded, FaultInjection,
                         testing::Combine(testing::Range(0, int(std::size(SWEEP_COMMANDS))),
                                          testing::Values(FaultMode::Once),
                                          testing::Values(HistoryMode::Record)),
                         SweepName);
} // namespace
} // namespace zav::test
