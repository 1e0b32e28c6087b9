// zavpatch killed (SIGKILL) after each of its file operations in turn: the game's lists are whole,
// nothing the user had is lost, and the next run starts cleanly and can finish the job.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>

#include "game_run.h"

extern char** environ;

namespace zav::test {
namespace {

// What a killed run left: the run that then holds the game removes the tool's temporaries from the
// data folders, and a run refused because another holds the game touches none.
TEST(KilledRunLeftovers, TheRunHoldingTheGameRemovesOnlyTheToolsTemporaries) {
    TempDir dir;
    CopySample(dir.path());
    const std::string game = dir / GAME;
    const std::vector<std::string> ours = {game + "Data/Binary/Scripts/.zav-new-4242-1.tmp",
                                           game + "Data/Binary/Mimg/.zav-copy-Ab12Cd",
                                           game + "Data/Records/.zav-copy-Zz9Yy8"};
    const std::vector<std::string> others = {game + "Data/Binary/Scripts/zav-new-notes.txt",
                                             game + ".zav-new-1-1.tmp"}; // not a data folder
    for (const std::string& path : ours) {
        WriteFile(path, "half a file");
    }
    for (const std::string& path : others) {
        WriteFile(path, "the user's");
    }
    ::chmod(ours[0].c_str(), 0444); // a copy of a read-only file is read-only itself
    GameRun first(dir.path());
    ASSERT_TRUE(first.Start());
    for (const std::string& path : ours) {
        EXPECT_FALSE(FileExists(path)) << path;
    }
    for (const std::string& path : others) {
        EXPECT_TRUE(FileExists(path)) << path;
    }
    EXPECT_FALSE(first.View().ReportedFailureSince(0));

    WriteFile(ours[0], "the first run's replacement");
    GameRun second(dir.path());
    EXPECT_FALSE(second.Start());
    EXPECT_TRUE(second.Dialog().Ended());
    EXPECT_TRUE(second.View().ReportedFailureSince(0));
    EXPECT_TRUE(FileExists(ours[0]));
    first.Dialog().OnCloseButton();
}

#ifdef ZAV_ZAVPATCH_PATH

struct CrashCommand {
    const char* label;
    std::vector<std::string> arguments; // after --prefix and --source
    std::string list;                   // the list it changes, or empty
    std::string trashed;                // the entry whose files may go, or empty
    bool readOnlyLists = false;
};

const CrashCommand kCrashCommands[] = {
    {"InstallTracks", {"--yes", "install", "tracks", "Quarry", "Summit"}, TRACK_LIST, ""},
    {"InstallCars", {"--yes", "install", "cars", "Comet", "Lynx"}, CAR_LIST, ""},
    {"TrashTrack", {"--yes", "trash", "tracks", "Harbour"}, TRACK_LIST, "Harbour"},
    {"TrashCar", {"--yes", "trash", "cars", "Falcon"}, CAR_LIST, "Falcon"},
    // A start-up that copies read-only lists: the working copies it leaves must not stop the next.
    {"StartUpOnReadOnlyLists", {"status"}, "", "", true},
};

// Runs zavpatch on the copy in `root`, killed after operation `killAfter` (0: not killed); -1 for
// a kill, else the exit status. Its staging folder and its error output lie in the copy's tmp/.
int RunZavpatch(const std::string& root, const std::vector<std::string>& arguments,
                std::int64_t killAfter) {
    // env(1) runs it with our environment but its own TMPDIR and kill point (0: none).
    std::vector<std::string> words = {"/usr/bin/env",
                                      "TMPDIR=" + root + "/tmp",
                                      "ZAV_TEST_KILL_AFTER_OPS=" + std::to_string(killAfter),
                                      ZAV_ZAVPATCH_PATH,
                                      "--prefix",
                                      root + "/prefix",
                                      "--source",
                                      root + "/disc"};
    words.insert(words.end(), arguments.begin(), arguments.end());
    MakeFolders(root + "/tmp");
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, (root + "/tmp/stderr.txt").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t child = -1;
    const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int raw = 0;
    if (spawned != 0 || ::waitpid(child, &raw, 0) != child) {
        return -2;
    }
    if (WIFSIGNALED(raw) && WTERMSIG(raw) == SIGKILL) {
        return -1;
    }
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -2;
}

// The copy's game and disc, without its staging folder.
TreeSnapshot GameAndDisc(const std::string& root) {
    TreeSnapshot snapshot = SnapshotTree(root);
    std::erase_if(snapshot, [](const auto& entry) { return entry.first.starts_with("tmp/"); });
    return snapshot;
}

std::string ErrorLog(const TempDir& dir) {
    const Bytes bytes = ReadFile(dir / "tmp/stderr.txt");
    return std::string(bytes.begin(), bytes.end());
}

class CrashTest : public testing::TestWithParam<int> {};

TEST_P(CrashTest, KilledAfterAnyOperationTheGameStaysWholeAndTheNextRunFinishes) {
    const CrashCommand& command = kCrashCommands[GetParam()];
    const bool changesList = !command.list.empty();
    const bool install = changesList && command.trashed.empty();
    const std::string list = changesList ? command.list : TRACK_LIST;
    // The entries an install copies: the words after "--yes install kind".
    const std::vector<std::string> entries =
        install ? std::vector<std::string>(command.arguments.begin() + 3, command.arguments.end())
                : std::vector<std::string>{};

    TreeSnapshot before;
    TreeSnapshot reference;
    {
        TempDir dir;
        CopySample(dir.path(), 2, command.readOnlyLists);
        before = GameAndDisc(dir.path());
        ASSERT_EQ(RunZavpatch(dir.path(), command.arguments, 0), 0) << ErrorLog(dir);
        reference = GameAndDisc(dir.path());
        ASSERT_EQ(reference.at(list) != before.at(list), changesList);
    }
    const std::map<std::string, Bytes> expected =
        changesList ? std::map<std::string, Bytes>{{list, reference.at(list)}}
                    : std::map<std::string, Bytes>{};
    int kills = 0;
    int listReplaced = 0;
    int temporariesLeft = 0;
    int failures = 0;
    for (std::int64_t killAfter = 1; failures < 5; ++killAfter) {
        if (killAfter % SWEEP_STEP != 0) {
            continue;
        }
        TempDir dir;
        CopySample(dir.path(), 2, command.readOnlyLists);
        const int status = RunZavpatch(dir.path(), command.arguments, killAfter);
        if (status != -1) {
            EXPECT_EQ(status, 0) << "run with all operations done: " << ErrorLog(dir);
            break;
        }
        ++kills;
        const TreeSnapshot afterKill = GameAndDisc(dir.path());
        std::vector<std::string> problems =
            GameProblems(before, afterKill, expected, command.trashed, entries);
        listReplaced += changesList && afterKill.at(list) == reference.at(list) ? 1 : 0;
        temporariesLeft += std::any_of(afterKill.begin(), afterKill.end(), [](const auto& entry) {
            return IsToolFile(entry.first) && !entry.first.ends_with(".sav");
        });

        // The next run starts (a stale lock, working copies or temporaries do not stop it) and
        // either does the job or finds it done.
        const int again = RunZavpatch(dir.path(), command.arguments, 0);
        const TreeSnapshot afterNext = GameAndDisc(dir.path());
        if (again < 0 || again == 255) {
            problems.push_back("the next run did not start: " + ErrorLog(dir));
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
        for (const std::string& path :
             install ? DifferingPaths(afterNext, reference) : std::vector<std::string>{}) {
            problems.push_back(path + " differs from an install that was not killed");
        }
        if (!problems.empty()) {
            ++failures;
            std::string text;
            for (const std::string& problem : problems) {
                text += "  " + problem + "\n";
            }
            ADD_FAILURE() << command.label << " killed after operation " << killAfter << ":\n"
                          << text;
        }
    }
    std::printf("[ kills ] %s: %d kills; list replaced before the kill in %d, temporaries left by "
                "%d\n",
                command.label, kills, listReplaced, temporariesLeft);
    if (changesList) {
        EXPECT_GT(listReplaced, 0);
        EXPECT_LT(listReplaced, kills);
        EXPECT_GT(temporariesLeft, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Commands, CrashTest,
                         testing::Range(0, static_cast<int>(std::size(kCrashCommands))),
                         [](const testing::TestParamInfo<int>& param) {
                             return std::string(kCrashCommands[param.param].label);
                         });

#endif

} // namespace
} // namespace zav::test
