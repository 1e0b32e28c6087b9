// zavpatch end to end: the real binary on a generated Wine prefix and disc whose folder names
// differ in case from the names the game stores (version 1, accelerated executable present).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "support/list_bytes.h"
#include "support/sample_setup.h"
#include "support/temp_dir.h"

namespace zav::test {
namespace {

namespace fs = std::filesystem;
using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

const std::string kZavpatch = ZAVPATCH_PATH;

struct ProcessResult {
    int status = -1; // the exit status (0-255); -1 when killed or timed out
    std::string out, err;
};

using EnvironmentChanges = std::vector<std::pair<std::string, std::string>>;

std::string Text(const std::string& path) {
    const Bytes bytes = ReadFile(path);
    return {bytes.begin(), bytes.end()};
}

// Runs `program` for at most 20 seconds. Without a `prompt`, standard input is /dev/null and the
// outputs are collected apart; with one, the child runs on a pseudo-terminal that types `answer`
// and Enter after each `prompt`, and `out` holds everything the terminal showed.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const EnvironmentChanges& environment, const std::string& prompt = "",
                         const std::string& answer = "") {
    std::string command = "env"; // no argument of these tests holds a quote
    for (const auto& [name, value] : environment) {
        command += " " + name + "='" + value + "'";
    }
    command += " timeout --foreground 20 '" + program + "'";
    for (const std::string& argument : arguments) {
        command += " '" + argument + "'";
    }
    ProcessResult result;
    int status = 0;
    if (prompt.empty()) {
        const TempDir outputs;
        status = std::system((command + " </dev/null >" + outputs / "out" + " 2>" + outputs / "err")
                                 .c_str());
        result.out = Text(outputs / "out");
        result.err = Text(outputs / "err");
    } else {
        int terminal = -1;
        const pid_t child = ::forkpty(&terminal, nullptr, nullptr, nullptr);
        if (child == 0) {
            ::execl("/bin/sh", "sh", "-c", command.c_str(), nullptr);
            ::_exit(127);
        }
        for (std::size_t answered = 0; child > 0;) {
            pollfd fd = {terminal, POLLIN, 0};
            char buffer[4096];
            const ssize_t got =
                ::poll(&fd, 1, 20000) > 0 ? ::read(terminal, buffer, sizeof buffer) : 0;
            if (got <= 0) {
                break; // the terminal closes (EIO) once the child has ended
            }
            result.out.append(buffer, static_cast<std::size_t>(got));
            for (auto at = result.out.find(prompt, answered); at != std::string::npos;
                 at = result.out.find(prompt, answered)) {
                (void)!::write(terminal, (answer + "\n").data(), answer.size() + 1);
                answered = at + prompt.size();
            }
        }
        ::waitpid(child, &status, 0);
        ::close(terminal);
    }
    const bool ended = WIFEXITED(status) && WEXITSTATUS(status) != 124;
    result.status = ended ? WEXITSTATUS(status) : -1;
    return result;
}

class ZavpatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        MakeFolders(tmp_);
        MakeFolders(temp_ / "home");
        game_ = WriteSample(temp_ / "sample", 1, 150, true);
    }

    EnvironmentChanges Environment() const {
        return {{"TMPDIR", tmp_}, {"HOME", temp_ / "home"}, {"WINEPREFIX", temp_ / "nowhere"}};
    }
    // Runs on the sample (see RunProcess), then checks that the run left no temporary file.
    ProcessResult Run(std::vector<std::string> arguments, const std::string& prompt = "",
                      const std::string& answer = "") const {
        arguments.insert(arguments.begin(), {"--prefix", game_.prefix, "--source", game_.disc});
        ProcessResult result = RunProcess(kZavpatch, arguments, Environment(), prompt, answer);
        ExpectNoTemporaryFiles();
        return result;
    }
    void ExpectNoTemporaryFiles() const {
        EXPECT_THAT(ListNames(tmp_), IsEmpty());
        EXPECT_THAT(FilesBelow(game_.Game("")),
                    Not(Contains(::testing::AnyOf(HasSubstr(".zav-"), HasSubstr(".sav")))));
    }

    std::string TrackList() const { return game_.Scripts("circuits.bin"); }
    Bytes DiscFile(const std::string& relative) const { return ReadFile(game_.Disc(relative)); }
    Bytes DiscRecord(const std::string& kind, const std::string& name) const {
        return RecordAt(DiscFile(kind + "/" + name + "/" + kind + ".bin"), 1, 128);
    }
    /// Every file of the game with its bytes, to show that a run changed nothing.
    std::vector<std::pair<std::string, Bytes>> Snapshot() const {
        std::vector<std::pair<std::string, Bytes>> files;
        for (const std::string& file : FilesBelow(game_.prefix + "/drive_c")) {
            files.emplace_back(file, ReadFile(game_.prefix + "/drive_c/" + file));
        }
        return files;
    }

    TempDir temp_;
    std::string tmp_ = temp_ / "tmp";
    SampleLayout game_;
};

TEST_F(ZavpatchTest, StatusPrintsTheThreeListsOfEachKindAndChangesNothing) {
    const auto before = Snapshot();
    const ProcessResult result = Run({"status"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_THAT(result.out, HasSubstr("Tracks\n  Present Set Data (16):\n    Alpine\n"));
    EXPECT_THAT(result.out, HasSubstr("  New Proposed Data (4):\n    Quarry\n    Riverside\n"));
    EXPECT_THAT(result.out, HasSubstr("  Added Data (2):\n    <Inst.> Harbour\n    <Inst.> Dunes\n"
                                      "Cars\n  Present Set Data (8):\n    Tolva\n"));
    EXPECT_EQ(Snapshot(), before);
    // Without --prefix and --source: WINEPREFIX, and the folder of the program.
    const std::string copy = game_.disc + "/zavpatch";
    fs::copy_file(kZavpatch, copy);
    EnvironmentChanges environment = Environment();
    environment.back() = {"WINEPREFIX", game_.prefix};
    const ProcessResult cars = RunProcess(copy, {"status", "cars"}, environment);
    EXPECT_EQ(cars.status, 0) << cars.err;
    EXPECT_THAT(cars.out, HasSubstr("New Proposed Data (4):\n    Comet\n"));
    EXPECT_THAT(cars.out, Not(HasSubstr("Alpine")));
    ExpectNoTemporaryFiles();
}

// A start-up notice (a folder name with a drive colon is left out) does not make the run fail.
TEST_F(ZavpatchTest, InstallMatchesNamesWithoutCaseAndWritesTheListsByteForByte) {
    WriteFile(game_.Disc("circuits") + "/Bad:name/circuits.bin",
              ListFile({TrackRecord("Bad:name", 1)}));
    const Bytes gameList = ReadFile(TrackList());
    const ProcessResult result = Run({"install", "tracks", "SUMMIT", "quarry"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_THAT(result.err, HasSubstr("ZAV Data Patcher: These track folders beside the tool are "
                                      "left out"));
    EXPECT_THAT(result.err, HasSubstr("Information: New data installed successfully.\n"));
    EXPECT_THAT(result.err, Not(HasSubstr("Installing files"))) << "no progress on a pipe";
    EXPECT_EQ(ReadFile(TrackList()), Appended(gameList, {DiscRecord("circuits", "Quarry"),
                                                         DiscRecord("circuits", "Summit")}));
    EXPECT_EQ(ReadFile(game_.Game("Data/Binary/Circuits/Summit.bl4")),
              DiscFile("circuits/Summit/Summit.bl4"));

    const Bytes carList = ReadFile(game_.Scripts("voiture2.bin"));
    ASSERT_EQ(Run({"install", "cars", "--all"}).status, 0);
    std::vector<Bytes> cars;
    for (const char* car : {"Comet", "Lynx", "Mistral", "Nomad"}) {
        cars.push_back(DiscRecord("voitures", car));
    }
    EXPECT_EQ(ReadFile(game_.Scripts("voiture2.bin")), Appended(carList, cars));
}

TEST_F(ZavpatchTest, ReplacingIsAnsweredNoWithoutATerminalAndPresentNamesExitOne) {
    const std::string existing = game_.Game("Data/Binary/Circuits") + "/QUARRY.BL4";
    const Bytes own(64, 'o'); // the game's own file
    WriteFile(existing, own);
    const ProcessResult declined = Run({"install", "tracks", "Quarry"});
    EXPECT_EQ(declined.status, 1);
    EXPECT_THAT(declined.err, HasSubstr("File in copy: File \"Quarry.bl4\" already exists. Would "
                                        "you like to replace"));
    EXPECT_THAT(declined.err, HasSubstr("-> No"));
    EXPECT_EQ(ReadFile(existing), own);

    ASSERT_EQ(Run({"--yes", "trash", "tracks", "Quarry"}).status, 0);
    WriteFile(existing, own);
    const ProcessResult result = Run({"--yes", "install", "tracks", "Quarry"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_THAT(result.err, HasSubstr("-> Yes"));
    EXPECT_EQ(ReadFile(existing), DiscFile("circuits/Quarry/Quarry.bl4"));

    // A present name exits 1 and the other entries are installed.
    const Bytes gameList = ReadFile(TrackList());
    const ProcessResult some = Run({"install", "tracks", "quarry", "Riverside"});
    EXPECT_EQ(some.status, 1);
    EXPECT_THAT(some.err, HasSubstr("ZAV Data Patcher: Track 'Quarry' is already installed and "
                                    "won't be added.\n"));
    EXPECT_EQ(ReadFile(TrackList()), Appended(gameList, {DiscRecord("circuits", "Riverside")}));
}

// Without a terminal a question is answered No, and --no says No; on a terminal the user
// answers (progress shows there); --yes says Yes.
TEST_F(ZavpatchTest, TrashAsksAndDeletesOnlyWhenAnsweredYes) {
    const auto before = Snapshot();
    const ProcessResult result = Run({"trash", "tracks", "harbour"});
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(result.err, HasSubstr("Warning: The 'Harbour' track will be deleted permanently."));
    EXPECT_THAT(result.err, HasSubstr("-> No"));
    EXPECT_EQ(Run({"--no", "trash", "cars", "Viper"}).status, 1);
    const ProcessResult declined = Run({"trash", "tracks", "Dunes"}, "[Y/n]", "n");
    EXPECT_EQ(declined.status, 1) << declined.out;
    EXPECT_THAT(declined.out, HasSubstr("The 'Dunes' track will be deleted permanently."));
    EXPECT_EQ(Snapshot(), before);

    const ProcessResult accepted = Run({"trash", "tracks", "Dunes"}, "[Y/n]", "y");
    EXPECT_EQ(accepted.status, 0) << accepted.out;
    EXPECT_THAT(accepted.out, HasSubstr("Deleting files ["));
    EXPECT_THAT(accepted.out, HasSubstr("] 100%"));
    EXPECT_FALSE(FileExists(game_.Game("Data/Binary/Circuits/Dunes.bl4")));

    const Bytes trackList = ReadFile(TrackList());
    const ProcessResult yes = Run({"--yes", "trash", "tracks", "HARBOUR"});
    EXPECT_EQ(yes.status, 0) << yes.err;
    EXPECT_THAT(yes.err, HasSubstr("Information: 'Harbour' was successfully deleted from your "
                                   "hard disk.\n"));
    EXPECT_EQ(ReadFile(TrackList()), Deleted(trackList, 17, 128));
    EXPECT_THAT(FilesBelow(game_.Game("Data/Binary")), Not(Contains(HasSubstr("Harbour"))));

    // A further car that voitures.bin holds too is listed twice in Added Data: deleting the
    // voiture2.bin one is done (0) though its namesake stays; that one can't go (code 12, 1).
    const std::string baseList = game_.Scripts("voitures.bin");
    const Bytes viper = RecordAt(ReadFile(game_.Scripts("voiture2.bin")), 2, 128);
    Bytes cars = ReadFile(baseList);
    std::copy(viper.begin(), viper.end(), cars.begin() + 4 + 7 * 128); // in place of the 8th
    WriteFile(baseList, cars);
    const ProcessResult first = Run({"--yes", "trash", "cars", "viper"});
    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_THAT(first.err, HasSubstr("'Viper' was successfully deleted"));
    const ProcessResult second = Run({"--yes", "trash", "cars", "viper"});
    EXPECT_EQ(second.status, 1) << second.err;
    EXPECT_THAT(second.err, HasSubstr("Car 'Viper' is in base list."));
}

// Misuse exits 2 before anything is done; stderr tells `said`.
TEST_F(ZavpatchTest, UsageErrorsExitTwoAndChangeNothing) {
    const auto before = Snapshot();
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
        const std::string shown = ::testing::PrintToString(arguments);
        EXPECT_EQ(result.status, 2) << shown << "\n" << result.err;
        EXPECT_THAT(result.err, HasSubstr(said)) << shown;
        EXPECT_EQ(result.out, "") << shown;
    }
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(ZavpatchTest, HelpExplainsTheCommandsAndExitStatuses) {
    const ProcessResult result = Run({"--help"});
    EXPECT_EQ(result.status, 0);
    for (const char* word : {"status", "install", "trash", "--all", "--prefix", "--source", "--yes",
                             "--no", "Exit status", "255", "not a terminal"}) {
        EXPECT_THAT(result.out, HasSubstr(word));
    }
    for (const char* status : {"\n +0 +[a-z]", "\n +1 +[a-z]", "\n +2 +[a-z]"}) {
        EXPECT_THAT(result.out, ::testing::ContainsRegex(status));
    }
    const ProcessResult install = Run({"install", "--help"});
    EXPECT_EQ(install.status, 0);
    EXPECT_THAT(install.out, HasSubstr("--all"));
}

TEST_F(ZavpatchTest, FatalErrorsExit255WithTheirBox) {
    MakeFolders(temp_ / "empty-prefix/drive_c/windows");
    ProcessResult result = RunProcess(
        kZavpatch, {"--prefix", temp_ / "empty-prefix", "--source", game_.disc, "status"},
        Environment());
    EXPECT_EQ(result.status, 255);
    EXPECT_EQ(result.err, "Fatal Error: ZAV not detected\n");
    EXPECT_EQ(result.out, "");

    // A second run on the same game (the first holds the lock on its scripts folder).
    const int held = ::open(game_.Game("Data/Binary/Scripts").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);
    const auto before = Snapshot();
    result = Run({"--yes", "install", "tracks", "Quarry"});
    EXPECT_EQ(result.status, 255);
    EXPECT_THAT(result.err, ::testing::MatchesRegex("Fatal Error: .*already running.*"));
    EXPECT_EQ(Snapshot(), before);
    ::close(held);

    fs::remove(TrackList());
    result = Run({"--yes", "install", "tracks", "Quarry"});
    EXPECT_EQ(result.status, 255);
    EXPECT_EQ(
        result.err,
        "Fatal Error: File 'C:\\Games\\ZAV\\Data\\Binary\\Scripts\\circuits.bin' not found\n");
}

TEST_F(ZavpatchTest, NamesOutsideAsciiAreShownAndMatchedAsUtf8) {
    // A disc folder "Évora" whose list names the track in the game's code page, where É is 0xC9.
    const std::string folder = game_.Disc("circuits") + "/\xc3\x89vora";
    const Bytes record = TrackRecord("\xc9VORA", 1);
    WriteFile(folder + "/circuits.bin", ListFile({record}));
    for (const char* file : {"\xc3\x89vora.bl3", "\xc3\x89vora.bl4", "\xc3\x89vora.img",
                             "\xc3\x89vora.meg", "\xc3\x89vora.brt", "-vora.brt"}) {
        WriteFile(folder + "/" + file, std::string_view("data"));
    }
    EXPECT_THAT(Run({"status", "tracks"}).out, HasSubstr("    \xc3\x89vora\n"));
    const Bytes gameList = ReadFile(TrackList());
    const ProcessResult result = Run({"install", "tracks", "\xc3\xa9VORA"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(ReadFile(TrackList()), Appended(gameList, {record}));
    EXPECT_EQ(ReadFile(game_.Game("Data/Binary/Circuits/\xc3\x89vora.bl4")),
              (Bytes{'d', 'a', 't', 'a'}));
}

} // namespace
} // namespace zav::test
