// zavpatch end to end: its exit statuses, its answers to questions and what it shows, running the
// real binary on a sample game whose folder names differ in case from the names the game stores
// (version 1, accelerated executable present).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <ranges>

#include "support/test_game.h"

namespace zav::test {
namespace {
using ::testing::HasSubstr;
using ::testing::Not;
struct ProcessResult {
    int status = -1; // the exit status (0-255); -1 when killed or timed out
    std::string out, err;
};
// Runs `program` for at most 20 seconds, no stream on a terminal: input /dev/null, outputs
// collected apart; or, given an `answer`, on a terminal (script(1)) where it is typed and
// `redirect` applies, `out` then holding all the terminal showed. `arguments` are split at spaces;
// none holds a quote.
ProcessResult RunProcess(const std::string& program, const std::string& arguments,
                         const std::string& environment, const std::string& answer = "",
                         const std::string& redirect = "") {
    std::string command = "env " + environment + " timeout --foreground 20 '" + program + "'";
    for (const auto word : std::views::split(arguments, ' '))
        command += word.empty() ? "" : " '" + std::string(word.begin(), word.end()) + "'";
    command = answer.empty() ? command + " </dev/null"
                             : "printf '" + answer + "\\n' | script -qec \"" + command + redirect +
                                   "\" /dev/null";
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
    // Runs `command` on the game (see RunProcess), expecting exit
    // `status` and `said` in what it showed (standard error, or the terminal when answering), and
    // no temporary file left behind.
    ProcessResult Expect(int status, const std::string& command, const std::string& said = "",
                         const std::string& answer = "") const {
        SCOPED_TRACE(command);
        ProcessResult result = RunProcess(
            ZAVPATCH_PATH, "--prefix " + game.prefix + " --source " + source + " " + command,
            Environment("/nowhere"), answer);
        EXPECT_EQ(result.status, status) << result.err << result.out;
        EXPECT_THAT(answer.empty() ? result.err : result.out, HasSubstr(said));
        EXPECT_EQ(ListNames(game.tmp), std::vector<std::string>{});
        for (const std::string& file : FilesBelow(game.Game("")))
            EXPECT_FALSE(file.find(".zav-") != file.npos || file.ends_with(".sav")) << file;
        return result;
    }
    std::int32_t Count(const std::string& l) const { return GetInt32(ReadFile(game.Script(l)), 0); }
    TestGame game{{.version = 1, .mixedCase = true, .accelerated = true}};
    std::string source = game.disc; // what Expect gives as --source
};

// Without --prefix and --source, WINEPREFIX and the folder of the program.
TEST_F(ZavpatchTest, StatusPrintsTheThreeListsOfEachKindAndChangesNothing) {
    const TreeSnapshot before = SnapshotTree(game.prefix);
    const ProcessResult result = Expect(0, "status");
    EXPECT_EQ(result.err, "");
    EXPECT_THAT(result.out, HasSubstr("Tracks\n  Present Set Data (16):\n    Alpine\n"));
    EXPECT_THAT(result.out, HasSubstr("  New Proposed Data (4):\n    Quarry\n    Riverside\n"));
    EXPECT_THAT(result.out, HasSubstr("  Added Data (2):\n    <Inst.> Harbour\n    <Inst.> Dunes\n"
                                      "Cars\n  Present Set Data (8):\n    Tolva\n"));
    EXPECT_EQ(SnapshotTree(game.prefix), before);
    std::filesystem::copy_file(ZAVPATCH_PATH, game.disc + "/zavpatch");
    const ProcessResult cars =
        RunProcess(game.disc + "/zavpatch", "status cars", Environment(game.prefix));
    EXPECT_EQ(cars.status, 0) << cars.err;
    EXPECT_THAT(cars.out, HasSubstr("New Proposed Data (4):\n    Comet\n"));
    EXPECT_THAT(cars.out, Not(HasSubstr("Alpine")));

    // Beside no disc, the working folder is the next place; in neither, status says how to name
    // one, and lists nothing silently.
    const std::string empty = game.dir / "empty";
    MakeFolders(empty);
    const std::string elsewhere = "USER=zav-test-nobody " + Environment(game.prefix);
    const ProcessResult working =
        RunProcess(ZAVPATCH_PATH, "status tracks", "-C '" + game.disc + "' " + elsewhere);
    EXPECT_THAT(working.out, HasSubstr("New Proposed Data (4):\n    Quarry\n"));
    const ProcessResult none =
        RunProcess(ZAVPATCH_PATH, "status tracks", "-C '" + empty + "' " + elsewhere);
    EXPECT_EQ(none.status, 0) << none.err;
    EXPECT_THAT(none.out, HasSubstr("New Proposed Data (0):"));
    EXPECT_THAT(none.err, HasSubstr("No new tracks or cars can be proposed"));
    EXPECT_THAT(none.err, HasSubstr("with --source, or in the window with \"Open disc or pack"));
}

// Names match without regard to case; a start-up notice (a folder name with a drive colon is
// left out) does not make the run fail; a pipe shows no progress.
TEST_F(ZavpatchTest, InstallExitsZeroAndTellsOnStandardError) {
    game.AddDiscEntry(DataKind::Tracks, "Bad:name");
    const ProcessResult result = Expect(0, "install tracks SUMMIT quarry",
                                        "These track folders beside the tool are left out");
    EXPECT_EQ(result.out, "");
    EXPECT_THAT(result.err, HasSubstr("Information: New data installed successfully.\n"));
    EXPECT_THAT(result.err, Not(HasSubstr("Installing files")));
    EXPECT_EQ(Count("circuits.bin"), 20);
    // A selection larger than the game's file system holds (a sparse 8 TiB file) is refused with
    // both sizes; what it needs counts the history's saved copy of the list it replaces.
    game.AddDiscEntry(DataKind::Tracks, "Vast");
    std::filesystem::resize_file(game.Disc("circuits/Vast/Vast.img"), 8ull << 40);
    EXPECT_THAT(Expect(1, "install tracks Vast", "in the game's folder '").err,
                ::testing::ContainsRegex("87960930[0-9]+ bytes \\(8192\\.0 GiB\\) "
                                         "required, [0-9]+ bytes.* free; nothing was added"));
    Expect(0, "install cars --all");
    EXPECT_EQ(Count("voiture2.bin"), 6);
}

// Without a terminal a question is answered No, and --no says No: exit 1. On a terminal, whatever
// the redirections, the user answers (progress shows there); --yes says Yes. A present name is a
// warning: exit 1.
TEST_F(ZavpatchTest, QuestionsAreAnsweredByTheOptionsOrTheTerminalElseNo) {
    const std::string existing = game.Game("Data/Binary/Circuits") + "/QUARRY.BL4";
    const Bytes own(64, 'o'); // the game's own file
    WriteFile(existing, own);
    Expect(1, "install tracks Quarry", "File \"Quarry.bl4\" already exists.");
    EXPECT_EQ(ReadFile(existing), own);
    Expect(0, "--yes trash tracks Quarry");
    WriteFile(existing, own);
    Expect(0, "--yes install tracks Quarry", "-> Yes");
    EXPECT_EQ(ReadFile(existing), ReadFile(game.Disc("circuits/Quarry/Quarry.bl4")));
    Expect(1, "install tracks quarry Riverside", "'Quarry' is already installed");
    EXPECT_EQ(Count("circuits.bin"), 20);
    const TreeSnapshot before = SnapshotTree(game.prefix);
    Expect(1, "trash tracks harbour", "The 'Harbour' track will be deleted permanently.");
    Expect(1, "--no trash cars Viper", "-> No");
    const ProcessResult asked =
        RunProcess(ZAVPATCH_PATH, "--prefix " + game.prefix + " trash tracks Dunes",
                   Environment("/nowhere"), "n", " 2>" + game.dir / "err");
    EXPECT_EQ(asked.status, 1);
    EXPECT_THAT(asked.out, ::testing::ContainsRegex("Dunes' track will(.|\n)*Yes or No\\? \\["));
    const Bytes err = ReadFile(game.dir / "err"); // the record; the question went to the terminal
    EXPECT_THAT(std::string(err.begin(), err.end()), HasSubstr("-> No (answered on the terminal)"));
    EXPECT_EQ(SnapshotTree(game.prefix), before);
    const ProcessResult typedYes = Expect(0, "trash tracks Dunes", "Deleting files [", "y");
    EXPECT_THAT(typedYes.out, HasSubstr("] 100%"));
    Expect(0, "--yes trash tracks HARBOUR", "'Harbour' was successfully deleted");
    EXPECT_EQ(Count("circuits.bin"), 18);
}

// A game this user cannot write (another user's, for root): status shows it; a command stops with
// the fatal error that names the working copy it cannot make in its Scripts folder.
TEST_F(ZavpatchTest, StatusShowsAGameThatCannotBeWrittenWhereCommandsStop) {
    ::chmod(game.Script("").c_str(), 0555);
    ::chmod(game.dir.path().c_str(), 0755);
    ::chmod(game.tmp.c_str(), 0777);
    const std::string other =
        ::getuid() ? "" : " setpriv --reuid=65534 --regid=65534 --clear-groups";
    const ProcessResult status =
        RunProcess(ZAVPATCH_PATH, "--source " + game.disc + " status tracks",
                   Environment(game.prefix) + other);
    EXPECT_EQ(status.status, 0) << status.err;
    EXPECT_THAT(status.out, HasSubstr("  Added Data (2):\n    <Inst.> Harbour\n"));
    const ProcessResult refused =
        RunProcess(ZAVPATCH_PATH, "--yes --source " + game.disc + " install tracks Quarry",
                   Environment(game.prefix) + other);
    EXPECT_EQ(refused.status, 255);
    EXPECT_THAT(refused.err, HasSubstr("\\Data\\Binary\\Scripts\\circuits.sav'"));
    // The dry run ends as the real run does, and a fatal end leaves no temporary folder.
    for (const char* command : {"install tracks Quarry", "trash tracks Harbour"}) {
        const ProcessResult real =
            RunProcess(ZAVPATCH_PATH, "--yes --source " + game.disc + " " + command,
                       Environment(game.prefix) + other);
        const ProcessResult dry =
            RunProcess(ZAVPATCH_PATH, "--dry-run --yes --source " + game.disc + " " + command,
                       Environment(game.prefix) + other);
        EXPECT_EQ(std::pair(dry.status, dry.err), std::pair(real.status, real.err)) << command;
    }
    EXPECT_EQ(ListNames(game.tmp), std::vector<std::string>{});
}

// check changes nothing, also on a game this user cannot write, and refuses a dry run; repair
// asks, shows its plan in a dry run, mends, and undo takes the repair back.
TEST_F(ZavpatchTest, CheckFindsRepairMendsAndUndoRevertsTheRepair) {
    EXPECT_EQ(Expect(0, "check").out, "No problems found.\n");
    Expect(2, "--dry-run check", "--dry-run is meaningless");
    for (const char* file : {"Data/Binary/Circuits/Dunes.bl3", "Data/Binary/Circuits/Dunes.bl4",
                             "Data/Binary/Mimg/Dunes.img", "Data/Binary/Resson/Dunes.meg",
                             "Data/Records/Dunes.brt", "Data/Records/-unes.brt"})
        ASSERT_TRUE(std::filesystem::remove(game.Game(file))) << file;
    const TreeSnapshot planted = SnapshotTree(game.prefix);
    ::chmod(game.Script("").c_str(), 0555);
    ::chmod(game.dir.path().c_str(), 0755);
    ::chmod(game.tmp.c_str(), 0777);
    const std::string other =
        ::getuid() ? "" : " setpriv --reuid=65534 --regid=65534 --clear-groups";
    const ProcessResult check = RunProcess(ZAVPATCH_PATH, "--source " + game.disc + " check",
                                           Environment(game.prefix) + other);
    EXPECT_EQ(check.status, 1) << check.err;
    EXPECT_EQ(check.out, "The track 'Dunes' of 'C:\\Games\\ZAV\\Data\\Binary\\Scripts\\"
                         "circuits.bin' lacks data files, and the game fails when it is chosen: "
                         "'C:\\Games\\ZAV\\Data\\Binary\\Circuits\\Dunes.bl4', "
                         "'C:\\Games\\ZAV\\Data\\Binary\\Mimg\\Dunes.img', "
                         "'C:\\Games\\ZAV\\Data\\Binary\\Resson\\Dunes.meg'.\n");
    ::chmod(game.Script("").c_str(), 0755);
    Expect(1, "--no repair", "Problems found: 1, mended: 0, left: 1.");
    EXPECT_THAT(Expect(0, "--dry-run --yes repair").out,
                HasSubstr("   18 -> 17 records: - Dunes\n"));
    EXPECT_EQ(SnapshotTree(game.prefix), planted);
    Expect(0, "--yes repair", "Problems found: 1, mended: 1, left: 0.");
    EXPECT_EQ(Count("circuits.bin"), 17);
    Expect(0, "check");
    Expect(0, "undo", "repair");
    EXPECT_EQ(Count("circuits.bin"), 18);
    std::filesystem::remove(game.Script("voiture2.bin"));
    Expect(255, "check", "voiture2.bin' not found");
}

// Misuse and unknown names exit 2 before anything is done, telling why; --help exits 0.
TEST_F(ZavpatchTest, UsageErrorsExitTwoAndChangeNothing) {
    const TreeSnapshot before = SnapshotTree(game.prefix);
    for (const char* command : {"", "install tracks", "install planes Quarry",
                                "--frobnicate status", "install tracks Quarry --all",
                                "--yes --no install tracks Quarry", "trash tracks Harbour Dunes"})
        EXPECT_EQ(Expect(2, command, "zavpatch").out, "");
    EXPECT_EQ(Expect(2, "uninstall tracks Quarry", "unknown command 'uninstall'").out, "");
    Expect(2, "--yes install tracks Quarry Nowhere", "'Nowhere'");
    Expect(2, "--yes install cars Quarry", "'Quarry'");
    Expect(2, "--yes trash tracks Alpine", "'Alpine'");
    EXPECT_EQ(SnapshotTree(game.prefix), before);
    EXPECT_THAT(Expect(0, "--help").out, ::testing::ContainsRegex("Exit status(.|\n)*255"));
}

TEST_F(ZavpatchTest, FatalErrorsExit255WithTheirBox) {
    MakeFolders(game.dir / "empty-prefix/drive_c/windows");
    const ProcessResult result =
        RunProcess(ZAVPATCH_PATH,
                   "--prefix " + game.dir / "empty-prefix" + " --source " + game.disc + " status",
                   Environment("/nowhere"));
    EXPECT_EQ(result.status, 255);
    EXPECT_EQ(result.err, "Fatal Error: ZAV not detected\nLooked for the settings file '" +
                              game.dir / "empty-prefix/drive_c/windows/Quorvex/Qvx.ini" +
                              "' (its name in any case), key Directory of section [ZAV] or "
                              "[ZAV2_0], in the Wine prefix '" +
                              game.dir / "empty-prefix" + "'.\n");
    EXPECT_EQ(result.out, "");
}

// Output that went nowhere is a run that failed, told on standard error.
TEST_F(ZavpatchTest, LostOutputExitsOne) {
    for (const char* redirection : {">/dev/full", ">&-"}) {
        const TempDir outputs;
        const std::string command = "'" ZAVPATCH_PATH "' --prefix '" + game.prefix + "' status " +
                                    redirection + " 2>" + outputs / "err";
        const int status = std::system(command.c_str());
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << redirection;
        const Bytes err = ReadFile(outputs / "err");
        EXPECT_THAT(std::string(err.begin(), err.end()), HasSubstr("standard output"));
    }
}

// A temporary folder that cannot be made is fatal, a missing source folder leaves all undone: each
// message names the folder and why, and nothing is looked up in lists that could not be read.
TEST_F(ZavpatchTest, UnusableFoldersAreNamedWithTheirCause) {
    WriteFile(game.dir / "file", Bytes{});
    const std::string missing = game.dir / "missing";
    struct Case {
        std::string tmp, source, command;
        int status;
        std::string said;
    } const cases[] = {
        {missing, game.disc, "install tracks Summit", 255,
         "'" + missing + "' cannot be used: No such"},
        {game.dir / "file", game.disc, "status", 255, "/file' cannot be used: it is not a folder"},
        {game.tmp, missing, "install tracks --all", 1,
         "'" + missing + "' of the new data cannot be"},
    };
    const TreeSnapshot before = SnapshotTree(game.prefix);
    for (const Case& c : cases) {
        const ProcessResult result =
            RunProcess(ZAVPATCH_PATH, "--source " + c.source + " " + c.command,
                       "TMPDIR='" + c.tmp + "' WINEPREFIX='" + game.prefix + "'");
        EXPECT_EQ(result.status, c.status) << result.err;
        EXPECT_THAT(result.err, HasSubstr(c.said));
    }
    EXPECT_EQ(SnapshotTree(game.prefix), before);
}

// A name the game's code page cannot write is answered as typed; a program in a folder of such a
// name still shows and undoes the game's history, which reads no new data (status does: exit 2).
TEST_F(ZavpatchTest, NamesAndProgramFoldersOutsideTheCodePage) {
    Expect(2, "install tracks Quarry 東京",
           "zavpatch: '東京': the game cannot hold this track name, which has characters outside "
           "its code page (Western European, 1252).\n");
    Expect(2, "trash cars 東京", "'東京': the game cannot hold this car name");
    Expect(0, "install tracks Summit");
    const std::string folder = game.dir / "東京";
    MakeFolders(folder);
    std::filesystem::copy_file(ZAVPATCH_PATH, folder + "/zavpatch");
    const auto run = [&](const std::string& command) {
        return RunProcess(folder + "/zavpatch", command, Environment(game.prefix));
    };
    const ProcessResult history = run("history");
    EXPECT_EQ(history.status, 0) << history.err;
    EXPECT_THAT(history.out, HasSubstr("added: Summit (tracks)"));
    const ProcessResult undo = run("undo");
    EXPECT_EQ(undo.status, 0) << undo.err;
    EXPECT_EQ(Count("circuits.bin"), 18);
    EXPECT_EQ(run("status").status, 2);
}

// A dry run prints its plan and exits as the real run, changing nothing; the real run is listed
// by history and taken back by undo, which then finds nothing left (exit 1).
TEST_F(ZavpatchTest, DryRunPlansTheRunWhichHistoryListsAndUndoRevertsOnce) {
    WriteFile(game.Game("Data/Binary/Mimg/Quarry.img"), std::string_view("the user's"));
    const TreeSnapshot before = SnapshotTree(game.dir.path());
    const ProcessResult plan = Expect(1, "--dry-run install tracks Quarry", "-> No");
    EXPECT_THAT(plan.out, ::testing::StartsWith("copy     " + game.Disc("circuits/Quarry") +
                                                "/QUARRY.BL4 -> /"));
    EXPECT_THAT(plan.out, ::testing::ContainsRegex("/Quarry.bl4 +new, 71 bytes\n"));
    EXPECT_THAT(plan.out, ::testing::ContainsRegex("\nkeep +/.*/Quarry.img +answered No\n"));
    EXPECT_THAT(plan.out, ::testing::ContainsRegex("\nlist +/.*/Circuits.BIN +18 -> 19 records: "
                                                   "\\+ Quarry\n$"));
    EXPECT_EQ(SnapshotTree(game.dir.path()), before);
    Expect(1, "install tracks Quarry", "-> No");
    EXPECT_THAT(Expect(0, "history").out,
                HasSubstr("  install tracks\n  added: Quarry (tracks)\n  created: Quarry.bl4, "));
    Expect(0, "undo", "Undone: 1  ");
    Expect(1, "undo", "There is no change left to undo.");
    TreeSnapshot after = SnapshotTree(game.dir.path());
    std::erase_if(after, [](const auto& file) {
        return file.first.find("PatcherHistory") != std::string::npos;
    });
    EXPECT_EQ(after, before);
}

// A history folder that is a file stops install before its first change (exit 1, naming the
// folder and the cause); --no-history runs without it and says so. A saved copy that became a
// link is refused by undo, naming it (exit 1).
TEST_F(ZavpatchTest, AnUnusableHistoryStopsInstallAndASavedCopyThatIsALinkStopsUndo) {
    const std::string history = game.Game("") + "/PatcherHistory";
    WriteFile(history, std::string_view("not a folder"));
    const TreeSnapshot before = SnapshotTree(game.dir.path());
    Expect(1, "install tracks Quarry",
           "PatcherHistory': it is a file, not a folder. Nothing was changed.");
    EXPECT_EQ(SnapshotTree(game.dir.path()), before);
    Expect(0, "--no-history install tracks Quarry", "--no-history: this run's changes are not");
    std::filesystem::remove(history);
    WriteFile(game.Game("Data/Binary/Mimg/Riverside.img"), std::string_view("the user's"));
    Expect(0, "--yes install tracks Riverside");
    const std::string copy = history + "/000001/1";
    ASSERT_TRUE(std::filesystem::exists(copy));
    const std::string secret = game.dir / "secret";
    WriteFile(secret, ReadFile(copy));
    std::filesystem::remove(copy);
    std::filesystem::create_symlink(secret, copy);
    const TreeSnapshot installed = SnapshotTree(game.dir.path());
    Expect(1, "undo", "PatcherHistory/000001/1 of 'C:\\Games\\ZAV\\Data\\");
    EXPECT_EQ(SnapshotTree(game.dir.path()), installed);
}

// A manifest naming a file outside the game: history lists the entry as damaged, undo refuses it
// naming the entry and the line (exit 1) and deletes nothing, not even the older entry's files.
TEST_F(ZavpatchTest, UndoRefusesAHistoryEntryThatReachesOutsideTheGame) {
    Expect(0, "install tracks Quarry");
    const std::string notes = game.prefix + "/drive_c/notes.txt";
    WriteFile(notes, std::string_view("the user's"));
    const std::string entry = game.Game("PatcherHistory") + "/000002";
    std::filesystem::create_directories(entry);
    WriteFile(entry + "/entry.txt", std::string_view("zav-patcher-history\t1\ncommand\tx\n"
                                                     "created\tC:\\notes.txt\n"));
    const TreeSnapshot before = SnapshotTree(game.dir.path());
    EXPECT_THAT(Expect(0, "history").out,
                HasSubstr("2    x  (damaged: line 3: 'C:\\notes.txt' lies outside"));
    Expect(1, "undo", "Change 2 cannot be undone: its history ");
    EXPECT_EQ(SnapshotTree(game.dir.path()), before);
}

// A German game hears why undo refused in German: its track list was changed after the install.
TEST_F(ZavpatchTest, UndoTellsWhyItRefusedInTheGamesLanguage) {
    for (const auto& file : std::filesystem::recursive_directory_iterator(game.prefix)) {
        std::string name = file.path().filename(); // spelled in another case on disk
        std::ranges::transform(name, name.begin(), [](char c) { return std::tolower(c); });
        if (name == "qvx.ini") {
            const Bytes english = ReadFile(file.path());
            std::string text(english.begin(), english.end());
            WriteFile(file.path(), text.replace(text.find("English"), 7, "German"));
        }
    }
    Expect(0, "install tracks Quarry");
    Bytes list = ReadFile(game.Script("circuits.bin"));
    list.push_back(0);
    WriteFile(game.Script("circuits.bin"), list);
    Expect(1, "undo",
           "' wurde seit \xc3\x84nderung 1 ver\xc3\xa4ndert; nichts wurde "
           "r\xc3\xbc"
           "ckg\xc3\xa4ngig gemacht.");
}

// A disc folder "Évora" whose list names the track in the game's code page, where É is 0xC9.
TEST_F(ZavpatchTest, NamesOutsideAsciiAreShownAndMatchedAsUtf8) {
    const Bytes record = game.AddDiscEntry(DataKind::Tracks, "\xc3\x89vora", "\xc9VORA");
    EXPECT_THAT(Expect(0, "status tracks").out, HasSubstr("    \xc3\x89vora\n"));
    const Bytes gameList = ReadFile(game.Script("circuits.bin"));
    Expect(0, "install tracks \xc3\xa9VORA");
    EXPECT_EQ(ReadFile(game.Script("circuits.bin")), Appended(gameList, {record}));
    EXPECT_TRUE(FileExists(game.Game("Data/Binary/Circuits/\xc3\x89vora.bl4")));
}

// Without --prefix and $WINEPREFIX: the one game found is used; with several, commands exit 2
// listing them, and --prefix takes any folder inside the prefix; none: "games" exits 1 and every
// fatal "ZAV not detected" names the places looked at.
TEST_F(ZavpatchTest, TheGameIsFoundInTheUsersPrefixesUnlessSeveralAre) {
    const std::string home = game.dir / "home";
    const std::string environment = "-u WINEPREFIX -u XDG_CONFIG_HOME -u XDG_DATA_HOME -u "
                                    "WINE_PREFIXES TMPDIR='" +
                                    game.tmp + "' HOME='" + home + "'";
    const auto run = [&](const std::string& command) {
        return RunProcess(ZAVPATCH_PATH, "--source " + game.disc + " " + command, environment);
    };
    MakeFolders(home);
    ProcessResult result = run("games");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_THAT(result.err,
                HasSubstr("ZAV was not found in any Wine prefix. Looked in:\n  wine: " + home +
                          "/.wine\n  winetricks: " + home + "/.local/share/wineprefixes/*\n"));
    result = run("history");
    EXPECT_EQ(result.status, 255);
    EXPECT_THAT(result.err, HasSubstr("No other Wine prefix holds it either. Looked in:\n"));
    EXPECT_THAT(result.err,
                HasSubstr("  steam: " + home + "/.steam/steam/steamapps/compatdata/*/pfx"));

    const std::string tricks = home + "/.local/share/wineprefixes/zav";
    MakeFolders(home + "/.local/share/wineprefixes");
    std::filesystem::create_directory_symlink(game.prefix, tricks);
    result = run("games");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "winetricks\t" + tricks + "\tC:\\Games\\ZAV\\\t1\tEnglish\n");
    result = run("status tracks");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_THAT(result.out, HasSubstr("  Added Data (2):\n    <Inst.> Harbour\n"));

    WriteFile(home + "/.wine/drive_c/windows/Quorvex/Qvx.ini",
              "[ZAV2_0]\r\nDirectory=D:\\Jeux\tZAV\\\r\nLanguage=French\r\n");
    const std::string both = "wine\t" + home + "/.wine\tD:\\Jeux?ZAV\\\t2\tFrench\n" +
                             "winetricks\t" + tricks + "\tC:\\Games\\ZAV\\\t1\tEnglish\n";
    EXPECT_EQ(run("games").out, both);
    const TreeSnapshot before = SnapshotTree(game.prefix);
    result = run("--yes install tracks Quarry");
    EXPECT_EQ(result.status, 2);
    EXPECT_THAT(result.err, HasSubstr("several Wine prefixes; name the one to work on with "
                                      "--prefix:\n  wine\t" +
                                      home + "/.wine\t"));
    EXPECT_THAT(result.err, HasSubstr("\n  winetricks\t" + tricks + "\t"));
    EXPECT_EQ(SnapshotTree(game.prefix), before);
    EXPECT_EQ(run("--prefix " + game.Game("Data") + " status cars").status, 0);
    result = RunProcess(ZAVPATCH_PATH, "--source " + game.disc + " status cars",
                        environment + " WINEPREFIX='" + game.prefix + "'");
    EXPECT_EQ(result.status, 0) << result.err;
}

// The disc inside one top folder, as packs are made, in every format: the game gets the bytes
// the folder gives it. A pack unpacks into the run's temporary folder, which goes at the end.
TEST_F(ZavpatchTest, EachPackFormatInstallsWhatTheFolderInstalls) {
    const auto installAll = [this] {
        Expect(0, "--yes install tracks --all");
        Expect(0, "--yes install cars --all");
        return SnapshotTree(game.Game("Data"));
    };
    const TreeSnapshot before = SnapshotTree(game.Game("Data"));
    const TreeSnapshot installed = installAll();
    ASSERT_EQ(std::system(("cp -r '" + game.disc + "' '" + game.dir / "NewData" + "'").c_str()), 0);
    for (const std::string format : {"zip", "7z", "tar", "tar.gz", "tar.xz", "tar.bz2"}) {
        SCOPED_TRACE(format);
        source = game.disc;
        Expect(0, "undo");
        Expect(0, "undo");
        ASSERT_EQ(SnapshotTree(game.Game("Data")), before);
        source = game.dir / "Pack." + format;
        const std::string pack = format == "zip" || format == "7z"
                                     ? "7z a -bso0 '" + source + "' NewData"
                                     : "bsdtar -a -cf '" + source + "' NewData";
        ASSERT_EQ(std::system(("cd '" + game.dir.path() + "' && " + pack).c_str()), 0);
        EXPECT_EQ(installAll(), installed);
    }
}

// A lone track folder given as it is, a pack of a lone car without a top folder (named as the
// pack), a dry run of a pack; packs that cannot be used are named with the cause, unused.
TEST_F(ZavpatchTest, LoneFoldersAndPacksAreOpenedAndBadPacksAreNamed) {
    source = game.Disc("circuits/Quarry");
    Expect(0, "install tracks Quarry");
    EXPECT_EQ(Count("circuits.bin"), 19);
    source = game.dir / "Comet.zip";
    ASSERT_EQ(
        std::system(("cd '" + game.Disc("voitures/Comet") + "' && 7z a -bso0 '" + source + "' '*'")
                        .c_str()),
        0);
    const TreeSnapshot before = SnapshotTree(game.prefix);
    EXPECT_THAT(Expect(0, "--dry-run install cars COMET").out,
                ::testing::ContainsRegex("\ncopy +/.*/lone/voitures/Comet/.* -> /"));
    EXPECT_EQ(SnapshotTree(game.prefix), before);
    Expect(0, "install cars Comet");
    EXPECT_EQ(Count("voiture2.bin"), 3);
    const TreeSnapshot installed = SnapshotTree(game.prefix);
    const std::string made = "cd '" + game.dir.path() + "' && mkdir -p bad/NewData && ";
    const struct {
        std::string name, make, said;
    } packs[] = {
        {"link.tar", "ln -s /etc/passwd bad/NewData/link && bsdtar -cf link.tar -C bad NewData",
         "was refused: its entry 'NewData/link' is a link. Nothing of it was used."},
        {"readme.zip", "echo hi > readme.txt && 7z a -bso0 readme.zip readme.txt",
         "holds no new data in a layout this tool knows. Expected, at its top or inside one top "
         "folder: the folders circuits and voitures of a disc, or one track or car folder whose "
         "own circuits.bin or voitures.bin names it. Found: readme.txt."},
        {"notes.zip", "echo plain > notes.zip",
         "is neither a folder nor a pack this tool can open"},
    };
    for (const auto& bad : packs) {
        source = game.dir / bad.name;
        ASSERT_EQ(std::system((made + bad.make).c_str()), 0);
        EXPECT_THAT(Expect(1, "status").err, HasSubstr("'" + source + "'"));
        Expect(1, "install cars Lynx", bad.said);
    }
    EXPECT_EQ(SnapshotTree(game.prefix), installed);
}
} // namespace
} // namespace zav::test
