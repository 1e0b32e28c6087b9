// zavpatch end to end: its exit statuses, its answers to questions and what it shows, running the
// real binary on a sample game whose folder names differ in case from the names the game stores
// (version 1, accelerated executable present).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "support/test_game.h"

namespace zav::test {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

struct ProcessResult {
    int status = -1; // the exit status (0-255); -1 when killed or timed out
    std::string out, err;
};

// Runs `program` for at most 20 seconds with standard input /dev/null and the outputs collected
// apart; or, given an `answer`, on a terminal (script(1)) where it is typed, `out` then holding
// everything the terminal showed. No argument of these tests holds a quote.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& environment, const std::string& answer = "") {
    std::string command = "env " + environment + " timeout --foreground 20 '" + program + "'";
    for (const std::string& argument : arguments)
        command += " '" + argument + "'";
    command = answer.empty()
                  ? command + " </dev/null"
                  : "printf '" + answer + "\\n' | script -qec \"" + command + "\" /dev/null";
    const TempDir outputs;
    const int status =
        std::system((command + " >" + outputs / "out" + " 2>" + outputs / "err").c_str());
    const auto text = [&](const char* name) {
        const Bytes bytes = ReadFile(outputs / name);
        return std::string(bytes.begin(), bytes.end());
    };
    return {WIFEXITED(status) && WEXITSTATUS(status) != 124 ? WEXITSTATUS(status) : -1, text("out"),
            text("err")};
}

class ZavpatchTest : public ::testing::Test {
protected:
    std::string Environment(const std::string& prefix) const {
        return "TMPDIR='" + game.tmp + "' HOME='" + game.dir / "home" + "' WINEPREFIX='" + prefix +
               "'";
    }
    // Runs on the game (see RunProcess), then checks that the run left no temporary file.
    ProcessResult Run(std::vector<std::string> arguments, const std::string& answer = "") const {
        arguments.insert(arguments.begin(), {"--prefix", game.prefix, "--source", game.disc});
        ProcessResult result =
            RunProcess(ZAVPATCH_PATH, arguments, Environment("/nowhere"), answer);
        EXPECT_EQ(ListNames(game.tmp), std::vector<std::string>{});
        for (const std::string& file : FilesBelow(game.Game("")))
            EXPECT_FALSE(file.find(".zav-") != file.npos || file.ends_with(".sav")) << file;
        return result;
    }
    std::int32_t Count(const std::string& list) const {
        return GetInt32(ReadFile(game.Script(list)), 0);
    }

    TestGame game{{.version = 1, .mixedCase = true, .accelerated = true}};
};

// Without --prefix and --source, WINEPREFIX and the folder of the program.
TEST_F(ZavpatchTest, StatusPrintsTheThreeListsOfEachKindAndChangesNothing) {
    const TreeSnapshot before = SnapshotTree(game.prefix);
    const ProcessResult result = Run({"status"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_THAT(result.out, HasSubstr("Tracks\n  Present Set Data (16):\n    Alpine\n"));
    EXPECT_THAT(result.out, HasSubstr("  New Proposed Data (4):\n    Quarry\n    Riverside\n"));
    EXPECT_THAT(result.out, HasSubstr("  Added Data (2):\n    <Inst.> Harbour\n    <Inst.> Dunes\n"
                                      "Cars\n  Present Set Data (8):\n    Tolva\n"));
    EXPECT_EQ(SnapshotTree(game.prefix), before);
    std::filesystem::copy_file(ZAVPATCH_PATH, game.disc + "/zavpatch");
    const ProcessResult cars =
        RunProcess(game.disc + "/zavpatch", {"status", "cars"}, Environment(game.prefix));
    EXPECT_EQ(cars.status, 0) << cars.err;
    EXPECT_THAT(cars.out, HasSubstr("New Proposed Data (4):\n    Comet\n"));
    EXPECT_THAT(cars.out, Not(HasSubstr("Alpine")));
}

// Names match without regard to case; a start-up notice (a folder name with a drive colon is
// left out) does not make the run fail; a pipe shows no progress.
TEST_F(ZavpatchTest, InstallExitsZeroAndTellsOnStandardError) {
    game.AddDiscEntry(DataKind::Tracks, "Bad:name");
    const ProcessResult result = Run({"install", "tracks", "SUMMIT", "quarry"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_THAT(result.err,
                HasSubstr("ZAV Data Patcher: These track folders beside the tool are left out"));
    EXPECT_THAT(result.err, HasSubstr("Information: New data installed successfully.\n"));
    EXPECT_THAT(result.err, Not(HasSubstr("Installing files")));
    EXPECT_EQ(Count("circuits.bin"), 20);
    EXPECT_EQ(Run({"install", "cars", "--all"}).status, 0);
    EXPECT_EQ(Count("voiture2.bin"), 6);
}

// Without a terminal a question is answered No, and --no says No: exit 1. On a terminal the user
// answers (progress shows there); --yes says Yes. A present name is a warning: exit 1.
TEST_F(ZavpatchTest, QuestionsAreAnsweredByTheOptionsOrTheTerminalElseNo) {
    const std::string existing = game.Game("Data/Binary/Circuits") + "/QUARRY.BL4";
    const Bytes own(64, 'o'); // the game's own file
    WriteFile(existing, own);
    const ProcessResult declined = Run({"install", "tracks", "Quarry"});
    EXPECT_EQ(declined.status, 1);
    EXPECT_THAT(declined.err, HasSubstr("File in copy: File \"Quarry.bl4\" already exists."));
    EXPECT_THAT(declined.err, HasSubstr("-> No"));
    EXPECT_EQ(ReadFile(existing), own);
    ASSERT_EQ(Run({"--yes", "trash", "tracks", "Quarry"}).status, 0);
    WriteFile(existing, own);
    const ProcessResult replaced = Run({"--yes", "install", "tracks", "Quarry"});
    EXPECT_EQ(replaced.status, 0) << replaced.err;
    EXPECT_EQ(ReadFile(existing), ReadFile(game.Disc("circuits/Quarry/Quarry.bl4")));
    const ProcessResult some = Run({"install", "tracks", "quarry", "Riverside"});
    EXPECT_EQ(some.status, 1);
    EXPECT_THAT(some.err, HasSubstr("Track 'Quarry' is already installed and won't be added.\n"));
    EXPECT_EQ(Count("circuits.bin"), 20);

    const TreeSnapshot before = SnapshotTree(game.prefix);
    const ProcessResult kept = Run({"trash", "tracks", "harbour"});
    EXPECT_EQ(kept.status, 1);
    EXPECT_THAT(kept.err, HasSubstr("Warning: The 'Harbour' track will be deleted permanently."));
    EXPECT_EQ(Run({"--no", "trash", "cars", "Viper"}).status, 1);
    const ProcessResult typedNo = Run({"trash", "tracks", "Dunes"}, "n");
    EXPECT_EQ(typedNo.status, 1) << typedNo.out;
    EXPECT_THAT(typedNo.out, HasSubstr("The 'Dunes' track will be deleted permanently."));
    EXPECT_EQ(SnapshotTree(game.prefix), before);
    const ProcessResult typedYes = Run({"trash", "tracks", "Dunes"}, "y");
    EXPECT_EQ(typedYes.status, 0) << typedYes.out;
    EXPECT_THAT(typedYes.out, ::testing::ContainsRegex("Deleting files \\[.*\\] 100%"));
    EXPECT_EQ(Run({"--yes", "trash", "tracks", "HARBOUR"}).status, 0);
    EXPECT_EQ(Count("circuits.bin"), 18);
}

// Misuse and unknown names exit 2 before anything is done; stderr tells `said`; --help exits 0.
TEST_F(ZavpatchTest, UsageErrorsExitTwoAndChangeNothing) {
    const TreeSnapshot before = SnapshotTree(game.prefix);
    const std::vector<std::pair<std::vector<std::string>, std::string>> misuses = {
        {{}, "zavpatch"},
        {{"install", "tracks"}, "zavpatch"},
        {{"install", "planes", "Quarry"}, "zavpatch"},
        {{"install", "tracks", "Quarry", "--all"}, "zavpatch"},
        {{"--yes", "--no", "install", "tracks", "Quarry"}, "zavpatch"},
        {{"trash", "tracks", "Harbour", "Dunes"}, "zavpatch"},
        {{"--frobnicate", "status"}, "zavpatch"},
        {{"uninstall", "tracks", "Quarry"}, "unknown command 'uninstall'"},
        {{"--yes", "install", "tracks", "Quarry", "Nowhere"}, "'Nowhere'"},
        {{"--yes", "install", "cars", "Quarry"}, "'Quarry'"},
        {{"--yes", "install", "tracks", "Harbour"}, "'Harbour'"},
        {{"--yes", "trash", "tracks", "Alpine"}, "'Alpine'"},
        {{"--yes", "trash", "tracks", "Quarry"}, "'Quarry'"},
        {{"--yes", "trash", "cars", "Tolva"}, "'Tolva'"},
    };
    for (const auto& [arguments, said] : misuses) {
        const ProcessResult result = Run(arguments);
        SCOPED_TRACE(::testing::PrintToString(arguments));
        EXPECT_EQ(result.status, 2) << result.err;
        EXPECT_THAT(result.err, HasSubstr(said));
        EXPECT_EQ(result.out, "");
    }
    EXPECT_EQ(SnapshotTree(game.prefix), before);
    const ProcessResult help = Run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_THAT(help.out, ::testing::ContainsRegex("Exit status(.|\n)*255"));
}

TEST_F(ZavpatchTest, FatalErrorsExit255WithTheirBox) {
    MakeFolders(game.dir / "empty-prefix/drive_c/windows");
    const ProcessResult result = RunProcess(
        ZAVPATCH_PATH, {"--prefix", game.dir / "empty-prefix", "--source", game.disc, "status"},
        Environment("/nowhere"));
    EXPECT_EQ(result.status, 255);
    EXPECT_EQ(result.err, "Fatal Error: ZAV not detected\n");
    EXPECT_EQ(result.out, "");
}

// A disc folder "Évora" whose list names the track in the game's code page, where É is 0xC9.
TEST_F(ZavpatchTest, NamesOutsideAsciiAreShownAndMatchedAsUtf8) {
    const Bytes record = game.AddDiscEntry(DataKind::Tracks, "\xc3\x89vora", "\xc9VORA");
    EXPECT_THAT(Run({"status", "tracks"}).out, HasSubstr("    \xc3\x89vora\n"));
    const Bytes gameList = ReadFile(game.Script("circuits.bin"));
    const ProcessResult result = Run({"install", "tracks", "\xc3\xa9VORA"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(ReadFile(game.Script("circuits.bin")), Appended(gameList, {record}));
    EXPECT_TRUE(FileExists(game.Game("Data/Binary/Circuits/\xc3\x89vora.bl4")));
}

} // namespace
} // namespace zav::test
