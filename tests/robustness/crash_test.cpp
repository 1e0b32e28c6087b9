// zavpatch killed (SIGKILL) after one of its file operations: the game's lists are whole, nothing
// the user had is lost, and the next run starts cleanly and can finish the job.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>

#include "robustness/invariants.h"

namespace zav::test {
namespace {

#ifdef ZAV_ZAVPATCH_PATH

// Runs zavpatch on `game`, killed after operation `killAfter` (0: not killed); -1 for a kill,
// else the exit status. Its staging folder and its error output lie in the game's tmp/.
int RunZavpatch(const TestGame& game, const std::vector<std::string>& arguments,
                std::int64_t killAfter) {
    // No path or argument here holds a quote.
    std::string command =
        "exec env TMPDIR='" + game.tmp + "' ZAV_TEST_KILL_AFTER_OPS=" + std::to_string(killAfter) +
        " '" ZAV_ZAVPATCH_PATH "' --prefix '" + game.prefix + "' --source '" + game.disc + "'";
    for (const std::string& argument : arguments) {
        command += " '" + argument + "'";
    }
    const int raw =
        std::system((command + " </dev/null >/dev/null 2>'" + game.tmp + "/stderr.txt'").c_str());
    if (WIFSIGNALED(raw) && WTERMSIG(raw) == SIGKILL) {
        return -1;
    }
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -2;
}

std::string ErrorLog(const TestGame& game) {
    const Bytes bytes = ReadFile(game.tmp + "/stderr.txt");
    return std::string(bytes.begin(), bytes.end());
}

class CrashTest : public testing::TestWithParam<int> {};

TEST_P(CrashTest, KilledAfterAnOperationTheGameStaysWholeAndTheNextRunFinishes) {
    const SweepCommand& command = SWEEP_COMMANDS[GetParam()];
    const bool changesList = command.verb != Verb::StartUp;
    const std::string& list = ListOf(command.kind);

    TreeSnapshot before;
    TreeSnapshot reference;
    {
        const auto game = command.FreshGame();
        before = GameAndDisc(*game);
        ASSERT_EQ(RunZavpatch(*game, command.Arguments(), 0), 0) << ErrorLog(*game);
        reference = GameAndDisc(*game);
        ASSERT_EQ(reference.at(list) != before.at(list), changesList);
    }
    // The number of the run's operations: the last kill point that still kills it.
    const auto killed = [&](std::int64_t killAfter) {
        return RunZavpatch(*command.FreshGame(), command.Arguments(), killAfter) == -1;
    };
    std::int64_t operations = 0;
    std::int64_t beyond = 1;
    while (killed(beyond)) {
        operations = beyond;
        beyond *= 2;
    }
    while (beyond - operations > 1) {
        const std::int64_t middle = (operations + beyond) / 2;
        (killed(middle) ? operations : beyond) = middle;
    }
    ASSERT_GT(operations, 0);

    const std::map<std::string, Bytes> expected =
        changesList ? std::map<std::string, Bytes>{{list, reference.at(list)}}
                    : std::map<std::string, Bytes>{};
    int listReplaced = 0;
    int temporariesLeft = 0;
    int failures = 0;
    const auto points =
        SweepPoints(operations, SWEEP_EVERYTHING ? 40 : 4, SWEEP_EVERYTHING ? 56 : 6);
    for (const std::int64_t killAfter : points) {
        const auto game = command.FreshGame();
        ASSERT_EQ(RunZavpatch(*game, command.Arguments(), killAfter), -1);
        const TreeSnapshot afterKill = GameAndDisc(*game);
        std::vector<std::string> problems = GameProblems(command, before, afterKill, expected);
        listReplaced += changesList && afterKill.at(list) == reference.at(list) ? 1 : 0;
        temporariesLeft += std::ranges::any_of(afterKill, [](const auto& entry) {
            return IsToolFile(entry.first) && !entry.first.ends_with(".sav");
        });

        // The next run starts (a stale lock, working copies or temporaries do not stop it) and
        // either does the job or finds it done.
        const int again = RunZavpatch(*game, command.Arguments(), 0);
        const TreeSnapshot afterNext = GameAndDisc(*game);
        if (again < 0 || again == 255) {
            problems.push_back("the next run did not start: " + ErrorLog(*game));
        }
        if (afterNext.at(list) != reference.at(list)) {
            problems.push_back(list + " is not the command's result after the next run");
        }
        for (const auto& [path, bytes] : afterNext) {
            if (path.starts_with("prefix/") && IsToolFile(path)) {
                problems.push_back(path + " is left after the next run");
            }
        }
        // An install is finished by the next run; a deletion whose record went before the kill is
        // no longer offered, and its data files that were not yet deleted stay.
        for (const std::string& path : command.verb == Verb::InstallNew
                                           ? DifferingPaths(afterNext, reference)
                                           : std::vector<std::string>{}) {
            problems.push_back(path + " differs from an install that was not killed");
        }
        if (!problems.empty()) {
            std::string text;
            for (const std::string& problem : problems) {
                text += "  " + problem + "\n";
            }
            ADD_FAILURE() << command.label << " killed after operation " << killAfter << ":\n"
                          << text;
            if (++failures == 5) {
                break;
            }
        }
    }
    std::printf("[ kills ] %s: %zu of %lld points; list replaced before the kill in %d, "
                "temporaries left by %d\n",
                command.label, points.size(), static_cast<long long>(operations), listReplaced,
                temporariesLeft);
    // The points tried in full cover the replacement of the list: some kills come before it,
    // some after, and some leave a temporary behind.
    if (changesList && SWEEP_EVERYTHING) {
        EXPECT_GT(listReplaced, 0);
        EXPECT_LT(listReplaced, std::ssize(points));
        EXPECT_GT(temporariesLeft, 0);
    }
}

// The commands of the version 2 game; the start-up on read-only lists leaves working copies that
// must not stop the next run.
INSTANTIATE_TEST_SUITE_P(Commands, CrashTest, testing::Values(1, 2, 4, 5, 7),
                         [](const testing::TestParamInfo<int>& param) {
                             return std::string(SWEEP_COMMANDS[param.param].label);
                         });

#endif

} // namespace
} // namespace zav::test
