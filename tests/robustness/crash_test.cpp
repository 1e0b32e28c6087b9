// zavpatch killed (SIGKILL) after each of its file operations in turn: the game's lists are whole,
// nothing the user had is lost, and the next run starts cleanly and can finish the job.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "game_run.h"

extern char** environ;

namespace zav::test {
namespace {

#ifdef ZAV_ZAVPATCH_PATH

struct CrashCommand {
    const char* label;
    std::vector<std::string> arguments; // after --prefix and --source
    const char* listPath; // the game list it changes, relative to the game folder, or null
    const char* trashed;  // the entry whose files may go, or null
    bool readOnlyLists;   // the game's lists read-only, as a game installed from a disc has them
};

const CrashCommand kCrashCommands[] = {
    {"InstallTracks",
     {"--yes", "install", "tracks", "Quarry", "Summit"},
     GAME_TRACK_LIST.data(),
     nullptr,
     false},
    {"InstallCars",
     {"--yes", "install", "cars", "Comet", "Lynx"},
     GAME_CAR_LIST.data(),
     nullptr,
     false},
    {"TrashTrack",
     {"--yes", "trash", "tracks", "Harbour"},
     GAME_TRACK_LIST.data(),
     "Harbour",
     false},
    {"TrashCar", {"--yes", "trash", "cars", "Falcon"}, GAME_CAR_LIST.data(), "Falcon", false},
    // Killed at every point of a start-up that copies read-only lists: the working copies it
    // leaves must not stop the next run.
    {"StartUpOnReadOnlyLists", {"status"}, nullptr, nullptr, true},
};

/// Kills during the start-up of a command, which reads the game and writes only the tool's own
/// files, are made at every KILL_STRIDE-th operation; every operation after it is a kill point.
constexpr std::int64_t KILL_STRIDE = 4;
/// Operations of "Close": the two working copies, the two staging lists, the staging folder.
constexpr std::int64_t CLOSE_OPERATIONS = 5;

const SampleGameTemplate& Sample() {
    static const SampleGameTemplate sample(SmallSample(2));
    return sample;
}

struct ExitStatus {
    bool killed = false;
    int code = -1;
};

// Runs zavpatch on the copy in `root`, killed after operation `killAfter` (0: not killed). Its
// staging folder lies in the copy's folder, so a killed run's goes with the copy.
ExitStatus RunZavpatch(const std::string& root, const std::vector<std::string>& arguments,
                       std::int64_t killAfter, const std::string& errorLog) {
    std::vector<std::string> words = {ZAV_ZAVPATCH_PATH, "--prefix", root + "/prefix", "--source",
                                      root + "/disc"};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);

    std::vector<std::string> variables;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        const std::string_view text(*variable);
        if (text.rfind("ZAV_TEST_KILL_AFTER_OPS=", 0) != 0 && text.rfind("TMPDIR=", 0) != 0) {
            variables.emplace_back(text);
        }
    }
    variables.push_back("TMPDIR=" + root + "/tmp");
    MakeFolders(root + "/tmp");
    if (killAfter > 0) {
        variables.push_back("ZAV_TEST_KILL_AFTER_OPS=" + std::to_string(killAfter));
    }
    std::vector<char*> envp;
    for (std::string& variable : variables) {
        envp.push_back(variable.data());
    }
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, errorLog.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    pid_t child = -1;
    const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ExitStatus status;
    int raw = 0;
    if (spawned != 0 || ::waitpid(child, &raw, 0) != child) {
        return status;
    }
    status.killed = WIFSIGNALED(raw) && WTERMSIG(raw) == SIGKILL;
    status.code = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return status;
}

// The copy's files, without its staging folder.
TreeSnapshot GameAndDisc(const std::string& root) {
    TreeSnapshot snapshot;
    for (const char* part : {"prefix", "disc"}) {
        for (auto& [path, bytes] : SnapshotTree(root + "/" + part)) {
            snapshot[std::string(part) + "/" + path] = std::move(bytes);
        }
    }
    return snapshot;
}

// A fresh copy of the sample in `root`, its lists read-only when the command asks for it.
void CopySample(const std::string& root, const CrashCommand& command) {
    Sample().CopyTo(root);
    if (command.readOnlyLists) {
        for (const std::string_view list : {GAME_TRACK_LIST, GAME_CAR_LIST, GAME_BASE_CAR_LIST}) {
            ::chmod((root + "/prefix/drive_c/Games/ZAV/" + std::string(list)).c_str(), 0444);
        }
    }
}

bool IsToolFile(const std::string& path) {
    return IsToolTemporary(path) ||
           (path.size() > 4 && path.compare(path.size() - 4, 4, ".sav") == 0);
}

bool IsEntryFile(const std::string& path, const std::string& name) {
    std::string stem = path.substr(path.find_last_of('/') + 1);
    stem = stem.substr(0, stem.find('.'));
    return stem == name || stem == "-" + name.substr(1);
}

class CrashTest : public testing::TestWithParam<int> {
protected:
    void SetUp() override { log_ = logDir_ / "stderr.txt"; }

    std::string ErrorLog() const { return ReadFileText(log_); }
    static std::string ReadFileText(const std::string& path) {
        const Bytes bytes = ReadFile(path);
        return std::string(bytes.begin(), bytes.end());
    }

    // The problems with the state a kill left, compared with the state before the run and the
    // state after a run that was not killed.
    std::vector<std::string> CheckAfterKill(const CrashCommand& command, const TreeSnapshot& before,
                                            const TreeSnapshot& reference,
                                            const TreeSnapshot& after) const {
        std::vector<std::string> problems;
        const std::string list =
            command.listPath == nullptr ? std::string() : GameRun::GameRelative(command.listPath);
        for (const std::string_view other : {GAME_TRACK_LIST, GAME_CAR_LIST, GAME_BASE_CAR_LIST}) {
            const std::string path = GameRun::GameRelative(other);
            const auto found = after.find(path);
            if (found == after.end()) {
                problems.push_back(path + " is gone");
            } else if (found->second != before.at(path) &&
                       (path != list || found->second != reference.at(path))) {
                problems.push_back(path + " is neither its old self nor the command's result");
            }
        }
        for (const auto& [path, bytes] : before) {
            if (path == list || IsToolFile(path)) {
                continue;
            }
            const auto found = after.find(path);
            if (found == after.end()) {
                if (command.trashed == nullptr || path.rfind("prefix/", 0) != 0 ||
                    !IsEntryFile(path, command.trashed)) {
                    problems.push_back(path + " is gone");
                }
            } else if (found->second != bytes) {
                problems.push_back(path + " was changed");
            }
        }
        for (const auto& [path, bytes] : after) {
            if (before.count(path) == 0 && !IsToolFile(path) &&
                (reference.count(path) == 0 || reference.at(path) != bytes)) {
                problems.push_back(path + " appeared and is not what the command makes");
            }
        }
        return problems;
    }

    TempDir logDir_;
    std::string log_;
};

TEST_P(CrashTest, KilledAfterAnyOperationTheGameStaysWholeAndTheNextRunFinishes) {
    const CrashCommand& command = kCrashCommands[GetParam()];
    const bool changesList = command.listPath != nullptr;
    const bool install = changesList && command.trashed == nullptr;
    // The list the command changes; for a command that changes none, the track list.
    const std::string list =
        GameRun::GameRelative(changesList ? command.listPath : GAME_TRACK_LIST);

    TreeSnapshot before;
    TreeSnapshot reference;
    {
        TempDir dir;
        CopySample(dir.path(), command);
        before = GameAndDisc(dir.path());
        const ExitStatus status = RunZavpatch(dir.path(), command.arguments, 0, log_);
        ASSERT_FALSE(status.killed);
        ASSERT_EQ(status.code, 0) << ErrorLog();
        reference = GameAndDisc(dir.path());
        ASSERT_EQ(reference.at(list) != before.at(list), changesList);
    }
    // The start-up's length: the operations of a run that only shows the lists, less its "Close".
    std::int64_t startUp = 0;
    {
        TempDir dir;
        CopySample(dir.path(), command);
        std::int64_t killed = 0;
        std::int64_t finished = 1;
        while (RunZavpatch(dir.path(), {"status"}, finished, log_).killed) {
            killed = finished;
            finished *= 2;
        }
        while (finished - killed > 1) {
            const std::int64_t middle = (killed + finished) / 2;
            (RunZavpatch(dir.path(), {"status"}, middle, log_).killed ? killed : finished) = middle;
        }
        startUp = killed - CLOSE_OPERATIONS;
    }

    int kills = 0;
    int listReplaced = 0;
    int temporariesLeft = 0;
    int failures = 0;
    for (std::int64_t killAfter = 1; failures < 5; ++killAfter) {
        const std::int64_t stride =
            (changesList && killAfter < startUp ? KILL_STRIDE : 1) * SWEEP_STEP;
        if (killAfter % stride != 0) {
            continue;
        }
        TempDir dir;
        CopySample(dir.path(), command);
        const ExitStatus status = RunZavpatch(dir.path(), command.arguments, killAfter, log_);
        if (!status.killed) {
            EXPECT_EQ(status.code, 0) << "run with all operations done: " << ErrorLog();
            ASSERT_GT(killAfter, startUp);
            break;
        }
        ++kills;
        const TreeSnapshot afterKill = GameAndDisc(dir.path());
        std::vector<std::string> problems = CheckAfterKill(command, before, reference, afterKill);
        listReplaced += changesList && afterKill.at(list) == reference.at(list) ? 1 : 0;
        for (const auto& [path, bytes] : afterKill) {
            if (IsToolTemporary(path)) {
                ++temporariesLeft;
                break;
            }
        }

        // The next run starts (a stale lock, working copies or temporaries do not stop it) and
        // either does the job or finds it done.
        const ExitStatus again = RunZavpatch(dir.path(), command.arguments, 0, log_);
        const TreeSnapshot afterNext = GameAndDisc(dir.path());
        if (again.killed || again.code == 255 || again.code < 0) {
            problems.push_back("the next run did not start: " + ErrorLog());
        }
        if (afterNext.at(list) != reference.at(list)) {
            problems.push_back(list + " is not the command's result after the next run");
        }
        for (const auto& [path, bytes] : afterNext) {
            if (path.rfind("prefix/", 0) == 0 && IsToolFile(path)) {
                problems.push_back(path + " is left after the next run");
            }
        }
        // An install is finished by the next run; a deletion whose record went before the kill is
        // no longer offered, and its data files that were not yet deleted stay.
        if (install) {
            for (const std::string& path : DifferingPaths(afterNext, reference)) {
                problems.push_back(path + " differs from an install that was not killed");
            }
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
    std::printf("[ kills ] %s: %d kills (after one in %lld of the start-up's %lld operations, one "
                "in %lld after it); the list replaced before the kill in %d, temporaries left "
                "by %d\n",
                command.label, kills,
                static_cast<long long>((changesList ? KILL_STRIDE : 1) * SWEEP_STEP),
                static_cast<long long>(startUp), static_cast<long long>(SWEEP_STEP), listReplaced,
                temporariesLeft);
    RecordProperty("kills", kills);
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
