// zavpatch killed (SIGKILL) after one of its file operations: the game's lists are whole, nothing
// the user had is lost, and the next run starts cleanly and can finish the job.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <unistd.h>

#include <cstdlib>

#include "robustness/invariants.h"

namespace zav::test {
namespace {

#ifdef ZAV_ZAVPATCH_PATH

// Runs the command through zavpatch on `game`, sent `signal` after operation `killAfter` (0: not
// sent); -1 when that signal ended it, else the exit status.
int RunZavpatch(const TestGame& game, const SweepCommand& command, std::int64_t killAfter,
                int signal = SIGKILL, bool undo = false) {
    // No path or argument here holds a quote.
    std::string line =
        "exec env TMPDIR='" + game.tmp + "' ZAV_TEST_KILL_SIGNAL=" + std::to_string(signal) +
        " ZAV_TEST_KILL_AFTER_OPS=" + std::to_string(killAfter) +
        " '" ZAV_ZAVPATCH_PATH "' --prefix '" + game.prefix + "' --source '" + game.disc + "' ";
    line += undo ? "undo"
            : command.verb == Verb::StartUp
                ? "status"
                : std::string(command.verb == Verb::Trash ? "--yes trash " : "--yes install ") +
                      (command.kind == DataKind::Cars ? "cars" : "tracks");
    for (const std::string& name : undo ? std::vector<std::string>{} : command.names)
        line += " '" + name + "'";
    const int raw = std::system((line + " </dev/null >/dev/null 2>&1").c_str());
    return WIFSIGNALED(raw) && WTERMSIG(raw) == signal ? -1
           : WIFEXITED(raw)                            ? WEXITSTATUS(raw)
                                                       : -2;
}
class CrashTest : public testing::TestWithParam<int> {};

// The number of operations of the command's run: the last kill point that still kills it.
std::int64_t OperationsOf(const SweepCommand& command) {
    const auto killed = [&](std::int64_t at) {
        return RunZavpatch(*FreshGame(command), command, at) == -1;
    };
    std::int64_t operations = 0, beyond = 1;
    for (; killed(beyond); beyond *= 2)
        operations = beyond;
    while (beyond - operations > 1)
        (killed((operations + beyond) / 2) ? operations : beyond) = (operations + beyond) / 2;
    return operations;
}

// A run killed after any of its operations is taken back by undo, and so is an undo killed in
// turn by the next undo: the game and the disc are as before the run.
TEST_P(CrashTest, KilledThenUndoneTheGameIsAsBefore) {
    const SweepCommand& command = SWEEP_COMMANDS[GetParam()];
    if (command.verb == Verb::StartUp)
        GTEST_SKIP() << "the start-up changes nothing to undo";
    const auto points = SweepPoints(OperationsOf(command), 12, 20);
    int failures = 0;
    for (std::size_t i = 0; i < points.size() && failures < 3; ++i) {
        const auto game = FreshGame(command);
        const TreeSnapshot before = GameAndDisc(*game);
        ASSERT_EQ(RunZavpatch(*game, command, points[i]), -1);
        const std::int64_t undoKill = points[(i * 7) % points.size()] % 40 + 1;
        const int killedUndo = RunZavpatch(*game, command, undoKill, SIGKILL, true);
        const int undo = RunZavpatch(*game, command, 0, SIGKILL, true);
        const auto differing = DifferingPaths(GameAndDisc(*game), before);
        if ((killedUndo != -1 && killedUndo > 1) || undo > 1 || !differing.empty())
            ++failures, ADD_FAILURE()
                            << command.label << " killed after operation " << points[i]
                            << ", undo killed after " << undoKill << " (" << killedUndo
                            << "), undo " << undo << ":\n  " << testing::PrintToString(differing);
    }
}

TEST_P(CrashTest, KilledAfterAnOperationTheGameStaysWholeAndTheNextRunFinishes) {
    const SweepCommand& command = SWEEP_COMMANDS[GetParam()];
    const bool changesList = command.verb != Verb::StartUp;
    const std::string& list = ListOf(command.kind);
    TreeSnapshot before, reference;
    {
        const auto game = FreshGame(command);
        before = GameAndDisc(*game);
        ASSERT_EQ(RunZavpatch(*game, command, 0), 0);
        reference = GameAndDisc(*game);
        ASSERT_EQ(reference.at(list) != before.at(list), changesList);
    }
    const std::int64_t operations = OperationsOf(command);
    ASSERT_GT(operations, 0);
    const std::map<std::string, Bytes> expected{{list, reference.at(list)}};
    int listReplaced = 0, temporariesLeft = 0, failures = 0;
    const auto points = SweepPoints(operations, 40, 56);
    for (auto point = points.begin(); point != points.end() && failures < 5; ++point) {
        const auto game = FreshGame(command);
        ASSERT_EQ(RunZavpatch(*game, command, *point), -1);
        const TreeSnapshot afterKill = GameAndDisc(*game);
        std::vector<std::string> problems = GameProblems(command, before, afterKill, expected);
        listReplaced += changesList && afterKill.at(list) == reference.at(list);
        temporariesLeft += std::ranges::any_of(std::views::keys(afterKill), [](const auto& path) {
            return IsToolFile(path) && !path.ends_with(".sav");
        });
        // The next run starts (a stale lock, working copies or temporaries do not stop it) and
        // either does the job or finds it done: an install is finished; a deletion whose record
        // went before the kill is no longer offered, and its data files not yet deleted stay.
        const int again = RunZavpatch(*game, command, 0);
        const TreeSnapshot afterNext = GameAndDisc(*game);
        if (again < 0 || again == 255)
            problems.push_back("the next run did not start");
        if (afterNext.at(list) != reference.at(list))
            problems.push_back(list + " is not the command's result after the next run");
        AddLeftovers(afterNext, problems);
        if (!ListNames(game->tmp).empty())
            problems.push_back("the killed run's temporary folder is left after the next run");
        if (command.verb == Verb::InstallNew)
            for (const std::string& path : DifferingPaths(afterNext, reference))
                problems.push_back(path + " differs from an install that was not killed");
        if (!problems.empty() && ++failures)
            ADD_FAILURE() << command.label << " killed after operation " << *point << ":\n  "
                          << testing::PrintToString(problems);
    }
    // The points cover the replacement of the list: some kills come before it, some after, and
    // some leave a temporary behind.
    if (changesList && points.size() > 10) {
        EXPECT_GT(listReplaced, 0);
        EXPECT_LT(listReplaced, std::ssize(points));
        EXPECT_GT(temporariesLeft, 0);
    }
}

// A stop signal after any operation lets the command end and closes the run, which then ends by
// that signal: the game's lists old or new, no working copy or temporary left, in the game or in
// TMPDIR, where the folder of a run still going stays.
TEST_P(CrashTest, SignalledAfterAnOperationTheRunCleansUpAndEnds) {
    const SweepCommand& command = SWEEP_COMMANDS[GetParam()];
    const auto reference = FreshGame(command);
    const TreeSnapshot before = GameAndDisc(*reference);
    ASSERT_EQ(RunZavpatch(*reference, command, 0), 0);
    const std::map<std::string, Bytes> expected{
        {ListOf(command.kind), GameAndDisc(*reference).at(ListOf(command.kind))}};
    const std::string live = "zav-patcher-" + std::to_string(::getpid()) + "-abcdef";
    int ended = -1, point = 1;
    for (; ended == -1 && !HasFailure(); point += 7) {
        const auto game = FreshGame(command);
        MakeFolders(game->tmp + "/" + live);
        ended = RunZavpatch(*game, command, point, std::array{SIGINT, SIGTERM, SIGHUP}[point % 3]);
        const TreeSnapshot after = GameAndDisc(*game);
        std::vector<std::string> problems = GameProblems(command, before, after, expected);
        AddLeftovers(after, problems);
        EXPECT_EQ(ListNames(game->tmp), std::vector{live}) << "signalled after " << point;
        EXPECT_EQ(problems, std::vector<std::string>{}) << "signalled after " << point;
    }
    EXPECT_TRUE(ended == 0 && point > 20) << "the signals were not caught: " << point;
}

// The commands of the version 2 game; the start-up on read-only lists leaves working copies that
// must not stop the next run.
INSTANTIATE_TEST_SUITE_P(Commands, CrashTest, testing::Values(1, 2, 4, 5, 7),
                         [](const auto& param) { return SWEEP_COMMANDS[param.param].label; });

#endif

} // namespace
} // namespace zav::test
