// zavpatch end to end: the real binary on a generated Wine prefix and disc whose folder names
// differ in case from the names the game stores, for both game versions.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "cli/child_process.h"
#include "support/list_bytes.h"
#include "support/sample_setup.h"
#include "support/temp_dir.h"

namespace zav::test {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

const std::string kZavpatch = ZAVPATCH_PATH;

Bytes Text(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

// The list of `list` with `records` appended and its count raised.
Bytes Appended(Bytes list, const std::vector<Bytes>& records) {
    const std::int32_t count = GetInt32(list, 0);
    for (const Bytes& record : records) {
        list.insert(list.end(), record.begin(), record.end());
    }
    PutInt32(list, 0, count + static_cast<std::int32_t>(records.size()));
    return list;
}

// The list of `list` without record `index` (from 1): the later records move forward, the
// count drops, and the file keeps its length with the old last record behind the count.
Bytes Deleted(const Bytes& list, std::int32_t index, std::size_t recordSize) {
    Bytes result = list;
    const std::int32_t count = GetInt32(list, 0);
    const auto start =
        static_cast<std::ptrdiff_t>(4 + static_cast<std::size_t>(index) * recordSize);
    const auto end = static_cast<std::ptrdiff_t>(4 + static_cast<std::size_t>(count) * recordSize);
    std::copy(list.begin() + start, list.begin() + end,
              result.begin() + start - static_cast<std::ptrdiff_t>(recordSize));
    PutInt32(result, 0, count - 1);
    return result;
}

struct Variant {
    int version;
    bool accelerated;
};

std::string VariantName(const ::testing::TestParamInfo<Variant>& info) {
    return "Version" + std::to_string(info.param.version) +
           (info.param.accelerated ? "Accelerated" : "");
}

class ZavpatchTest : public ::testing::TestWithParam<Variant> {
protected:
    void SetUp() override {
        tmp_ = temp_ / "tmp";
        MakeFolders(tmp_);
        MakeFolders(temp_ / "home");
        SampleOptions options;
        options.version = GetParam().version;
        options.accelerated = GetParam().accelerated;
        options.mixedCase = true;
        options.dataSize = 150;
        game_ = WriteSample(temp_ / "sample", options);
    }

    EnvironmentChanges Environment() const {
        return {{"TMPDIR", tmp_}, {"HOME", temp_ / "home"}, {"WINEPREFIX", temp_ / "nowhere"}};
    }

    std::vector<std::string> WithFolders(std::vector<std::string> arguments) const {
        arguments.insert(arguments.begin(), {"--prefix", game_.prefix, "--source", game_.disc});
        return arguments;
    }

    ProcessResult Run(const std::vector<std::string>& arguments) const {
        return RunProcess(kZavpatch, WithFolders(arguments), Environment());
    }

    // Runs, then checks that the run left no temporary file anywhere.
    ProcessResult RunClean(const std::vector<std::string>& arguments) const {
        ProcessResult result = Run(arguments);
        ExpectNoTemporaryFiles();
        return result;
    }

    void ExpectNoTemporaryFiles() const {
        EXPECT_THAT(FilesBelow(tmp_), IsEmpty());
        EXPECT_THAT(ListNames(tmp_), IsEmpty());
        for (const std::string& file : FilesBelow(game_.Game(""))) {
            const std::string name = fs::path(file).filename().string();
            std::string lower = name;
            std::transform(lower.begin(), lower.end(), lower.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            EXPECT_FALSE(lower == "circuits.sav" || lower == "voiture2.sav") << file;
            EXPECT_FALSE(name.starts_with(".zav")) << file;
        }
    }

    std::string TrackList() const { return game_.Scripts("circuits.bin"); }
    std::string CarList() const { return game_.Scripts("voiture2.bin"); }
    std::string GameFile(const std::string& relative) const { return game_.Game(relative); }
    Bytes DiscFile(const std::string& relative) const { return ReadFile(game_.Disc(relative)); }

    std::size_t RecordSize() const { return GetParam().version == 1 ? 128 : 140; }
    Bytes DiscTrackRecord(const std::string& name) const {
        const Bytes list = DiscFile("circuits/" + name + "/circuits.bin");
        return Bytes(list.begin() + 4,
                     list.begin() + 4 + static_cast<std::ptrdiff_t>(RecordSize()));
    }
    Bytes DiscCarRecord(const std::string& name) const {
        const Bytes list = DiscFile("voitures/" + name + "/voitures.bin");
        return Bytes(list.begin() + 4, list.begin() + 4 + 128);
    }
    std::string TrackFileExtension() const { return GetParam().accelerated ? ".bl4" : ".bl3"; }
    std::string OtherTrackFileExtension() const { return GetParam().accelerated ? ".bl3" : ".bl4"; }

    /// Every file of the game with its bytes, to show that a run changed nothing.
    std::vector<std::pair<std::string, Bytes>> Snapshot() const {
        std::vector<std::pair<std::string, Bytes>> files;
        for (const std::string& file : FilesBelow(game_.prefix + "/drive_c")) {
            files.emplace_back(file, ReadFile(game_.prefix + "/drive_c/" + file));
        }
        return files;
    }

    TempDir temp_;
    std::string tmp_;
    SampleLayout game_;
};

INSTANTIATE_TEST_SUITE_P(Games, ZavpatchTest,
                         ::testing::Values(Variant{1, false}, Variant{2, false}, Variant{2, true}),
                         VariantName);

TEST_P(ZavpatchTest, StatusPrintsTheThreeListsOfEachKindAndChangesNothing) {
    const auto before = Snapshot();
    const ProcessResult result = RunClean({"status"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_THAT(result.out, HasSubstr("Tracks\n  Present Set Data (16):\n    Alpine\n"));
    EXPECT_THAT(result.out, HasSubstr("  New Proposed Data (4):\n    Quarry\n    Riverside\n"
                                      "    Summit\n    Tundra\n"));
    EXPECT_THAT(result.out,
                HasSubstr("  Added Data (2):\n    <Inst.> Harbour\n    <Inst.> Dunes\n"));
    EXPECT_THAT(result.out, HasSubstr("Cars\n  Present Set Data (8):\n    Tolva\n"));
    EXPECT_THAT(result.out, HasSubstr("  New Proposed Data (4):\n    Comet\n    Lynx\n"));
    EXPECT_THAT(result.out,
                HasSubstr("  Added Data (2):\n    <Inst.> Falcon\n    <Inst.> Viper\n"));
    EXPECT_EQ(Snapshot(), before);
}

TEST_P(ZavpatchTest, StatusOfOneKindPrintsThatKindOnly) {
    const ProcessResult result = RunClean({"status", "cars"});
    EXPECT_EQ(result.status, 0);
    EXPECT_THAT(result.out, HasSubstr("<Inst.> Falcon"));
    EXPECT_THAT(result.out, Not(HasSubstr("Alpine")));
}

TEST_P(ZavpatchTest, InstallingTracksAppendsTheirRecordsInProposedOrderAndCopiesTheirFiles) {
    const Bytes gameList = ReadFile(TrackList());
    const ProcessResult result = RunClean({"install", "tracks", "SUMMIT", "quarry"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_THAT(result.err, HasSubstr("Information: New data installed successfully.\n"));
    EXPECT_THAT(result.err, Not(HasSubstr("Installing files"))) << "no progress bar on a pipe";
    EXPECT_EQ(ReadFile(TrackList()),
              Appended(gameList, {DiscTrackRecord("Quarry"), DiscTrackRecord("Summit")}));
    for (const std::string name : {"Quarry", "Summit"}) {
        const std::string disc = "circuits/" + name + "/";
        EXPECT_EQ(ReadFile(GameFile("Data/Binary/Circuits/" + name + TrackFileExtension())),
                  DiscFile(disc + name + TrackFileExtension()));
        EXPECT_FALSE(
            FileExists(GameFile("Data/Binary/Circuits/" + name + OtherTrackFileExtension())));
        EXPECT_EQ(ReadFile(GameFile("Data/Binary/Mimg/" + name + ".img")),
                  DiscFile(disc + name + ".img"));
        EXPECT_EQ(ReadFile(GameFile("Data/Binary/Resson/" + name + ".meg")),
                  DiscFile(disc + name + ".meg"));
        EXPECT_EQ(ReadFile(GameFile("Data/Records/" + name + ".brt")),
                  DiscFile(disc + name + ".brt"));
        const std::string second = "-" + name.substr(1) + ".brt";
        EXPECT_EQ(ReadFile(GameFile("Data/Records/" + second)), DiscFile(disc + second));
    }
    const ProcessResult status = RunClean({"status", "tracks"});
    EXPECT_THAT(status.out, HasSubstr("<Inst.> Dunes\n    <Inst.> Quarry\n    <Inst.> Summit\n"));
}

TEST_P(ZavpatchTest, InstallingEveryCarWritesTheAddedCarListOnly) {
    const Bytes gameList = ReadFile(CarList());
    const Bytes baseList = ReadFile(game_.Scripts("voitures.bin"));
    const ProcessResult result = RunClean({"install", "cars", "--all"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(ReadFile(CarList()),
              Appended(gameList, {DiscCarRecord("Comet"), DiscCarRecord("Lynx"),
                                  DiscCarRecord("Mistral"), DiscCarRecord("Nomad")}));
    EXPECT_EQ(ReadFile(game_.Scripts("voitures.bin")), baseList);
    const std::string carFile = GetParam().accelerated ? ".bv4" : ".bv3";
    for (const std::string name : {"Comet", "Lynx", "Mistral", "Nomad"}) {
        const std::string disc = "voitures/" + name + "/";
        EXPECT_EQ(ReadFile(GameFile("Data/Binary/Voitures/" + name + carFile)),
                  DiscFile(disc + name + carFile));
        EXPECT_EQ(ReadFile(GameFile("Data/Binary/Mimg/" + name + ".img")),
                  DiscFile(disc + name + ".img"));
        EXPECT_EQ(ReadFile(GameFile("Data/Binary/Resson/" + name + ".meg")),
                  DiscFile(disc + name + ".meg"));
    }
}

TEST_P(ZavpatchTest, EntryAlreadyInstalledIsReportedAndExitsOne) {
    ASSERT_EQ(RunClean({"install", "tracks", "Tundra"}).status, 0);
    const auto before = Snapshot();
    const ProcessResult result = RunClean({"install", "tracks", "tundra"});
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(result.err,
                HasSubstr("ZAV Data Patcher: Track 'Tundra' is already installed and won't be "
                          "added.\n"));
    EXPECT_EQ(Snapshot(), before);
}

TEST_P(ZavpatchTest, EntryWithAMissingFileIsLeftOutAndTheOthersInstalled) {
    fs::remove(game_.Disc("circuits/Quarry/Quarry.meg"));
    const Bytes gameList = ReadFile(TrackList());
    const ProcessResult result = RunClean({"install", "tracks", "Quarry", "Riverside"});
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(result.err, HasSubstr("Warning: File '" + game_.disc +
                                      "\\circuits\\Quarry\\Quarry.meg' not found, track "
                                      "'Quarry' won't be add\n"));
    EXPECT_EQ(ReadFile(TrackList()), Appended(gameList, {DiscTrackRecord("Riverside")}));
    EXPECT_FALSE(FileExists(GameFile("Data/Binary/Circuits/Quarry" + TrackFileExtension())));
}

TEST_P(ZavpatchTest, ReplacingAGameFileIsAnsweredNoWithoutATerminal) {
    const std::string existing =
        GameFile("Data/Binary/Circuits") + "/QUARRY" + (GetParam().accelerated ? ".BL4" : ".BL3");
    WriteFile(existing, std::string_view("the game's own file"));
    const Bytes gameList = ReadFile(TrackList());
    const ProcessResult result = RunClean({"install", "tracks", "Quarry"});
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(result.err, HasSubstr("File in copy: File \"Quarry" + TrackFileExtension() +
                                      "\" already exists. Would you like to replace"));
    EXPECT_THAT(result.err, HasSubstr("-> No"));
    EXPECT_EQ(ReadFile(existing), Text("the game's own file"));
    // The track is installed with the game's own file.
    EXPECT_EQ(ReadFile(TrackList()), Appended(gameList, {DiscTrackRecord("Quarry")}));
}

TEST_P(ZavpatchTest, ReplacingAGameFileFollowsYesAndNo) {
    const std::string existing = GameFile("Data/Binary/Mimg") + "/quarry.IMG";
    WriteFile(existing, std::string_view("old picture"));
    EXPECT_EQ(RunClean({"--no", "install", "tracks", "Quarry"}).status, 1);
    EXPECT_EQ(ReadFile(existing), Text("old picture"));
    ASSERT_EQ(RunClean({"--yes", "trash", "tracks", "Quarry"}).status, 0);

    WriteFile(existing, std::string_view("old picture"));
    const ProcessResult result = RunClean({"--yes", "install", "tracks", "Quarry"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_THAT(result.err, HasSubstr("-> Yes"));
    EXPECT_EQ(ReadFile(existing), DiscFile("circuits/Quarry/Quarry.img"));
}

TEST_P(ZavpatchTest, TrashIsAnsweredNoWithoutATerminalAndChangesNothing) {
    const auto before = Snapshot();
    const ProcessResult result = RunClean({"trash", "tracks", "harbour"});
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(result.err, HasSubstr("Warning: The 'Harbour' track will be deleted permanently."));
    EXPECT_THAT(result.err, HasSubstr("-> No"));
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(RunClean({"--no", "trash", "cars", "Viper"}).status, 1);
    EXPECT_EQ(Snapshot(), before);
}

TEST_P(ZavpatchTest, TrashWithYesDeletesTheTrackAndKeepsTheListsLength) {
    const Bytes gameList = ReadFile(TrackList());
    const ProcessResult result = RunClean({"--yes", "trash", "tracks", "HARBOUR"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_THAT(
        result.err,
        HasSubstr("Information: 'Harbour' was successfully deleted from your hard disk.\n"));
    EXPECT_EQ(ReadFile(TrackList()), Deleted(gameList, 17, RecordSize()));
    EXPECT_FALSE(FileExists(GameFile("Data/Binary/Circuits/Harbour.bl3")));
    EXPECT_FALSE(FileExists(GameFile("Data/Binary/Circuits/Harbour.bl4")));
    EXPECT_FALSE(FileExists(GameFile("Data/Binary/Mimg/Harbour.img")));
    EXPECT_FALSE(FileExists(GameFile("Data/Binary/Resson/Harbour.meg")));
    EXPECT_FALSE(FileExists(GameFile("Data/Records/Harbour.brt")));
    EXPECT_FALSE(FileExists(GameFile("Data/Records/-arbour.brt")));
    EXPECT_TRUE(FileExists(GameFile("Data/Binary/Circuits/Dunes.bl3")));
}

TEST_P(ZavpatchTest, TrashWithYesDeletesTheCarFromTheAddedCarList) {
    const Bytes gameList = ReadFile(CarList());
    const Bytes baseList = ReadFile(game_.Scripts("voitures.bin"));
    const ProcessResult result = RunClean({"--yes", "trash", "cars", "falcon"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(ReadFile(CarList()), Deleted(gameList, 1, 128));
    EXPECT_EQ(ReadFile(game_.Scripts("voitures.bin")), baseList);
    EXPECT_FALSE(FileExists(GameFile("Data/Binary/Voitures/Falcon.bv3")));
    EXPECT_FALSE(FileExists(GameFile("Data/Binary/Mimg/Falcon.img")));
    EXPECT_FALSE(FileExists(GameFile("Data/Binary/Resson/Falcon.meg")));
    EXPECT_TRUE(FileExists(GameFile("Data/Binary/Voitures/Viper.bv3")));
}

TEST_P(ZavpatchTest, InstalledThenTrashedTrackLeavesTheListAsItWasWithAStaleRecord) {
    const Bytes gameList = ReadFile(TrackList());
    ASSERT_EQ(RunClean({"install", "tracks", "Riverside"}).status, 0);
    ASSERT_EQ(RunClean({"--yes", "trash", "tracks", "Riverside"}).status, 0);
    const Bytes list = ReadFile(TrackList());
    EXPECT_EQ(list, Deleted(Appended(gameList, {DiscTrackRecord("Riverside")}), 19, RecordSize()));
    EXPECT_FALSE(FileExists(GameFile("Data/Binary/Circuits/Riverside" + TrackFileExtension())));
}

TEST_P(ZavpatchTest, QuestionsAreAskedOnATerminal) {
    const auto withFolders = WithFolders({"trash", "tracks", "Dunes"});
    const ProcessResult declined =
        RunOnTerminal(kZavpatch, withFolders, Environment(), "[Y/n]", "n");
    EXPECT_EQ(declined.status, 1) << declined.out;
    EXPECT_THAT(declined.out, HasSubstr("The 'Dunes' track will be deleted permanently."));
    EXPECT_TRUE(FileExists(GameFile("Data/Binary/Circuits/Dunes.bl3")));

    const ProcessResult accepted =
        RunOnTerminal(kZavpatch, withFolders, Environment(), "[Y/n]", "y");
    EXPECT_EQ(accepted.status, 0) << accepted.out;
    EXPECT_THAT(accepted.out, HasSubstr("Deleting files [")) << "progress shows on a terminal";
    EXPECT_THAT(accepted.out, HasSubstr("] 100%"));
    EXPECT_FALSE(FileExists(GameFile("Data/Binary/Circuits/Dunes.bl3")));
    ExpectNoTemporaryFiles();
}

TEST_P(ZavpatchTest, FileErrorDuringInstallEndsTheCommandButTheRunStillCloses) {
    fs::remove_all(GameFile("Data/Binary/Mimg"));
    const Bytes gameList = ReadFile(TrackList());
    const ProcessResult result = RunClean({"--yes", "install", "tracks", "Quarry"});
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(result.err, HasSubstr("C:\\Games\\ZAV\\Data\\Binary\\Mimg\\Quarry.img"));
    EXPECT_THAT(result.err, Not(HasSubstr("installed successfully")));
    EXPECT_EQ(ReadFile(TrackList()), gameList);
}

TEST_P(ZavpatchTest, UsageErrorsExitTwoAndChangeNothing) {
    const auto before = Snapshot();
    const std::vector<std::vector<std::string>> misuses = {
        {},
        {"install", "tracks"},
        {"install", "planes", "Quarry"},
        {"install", "tracks", "Quarry", "--all"},
        {"--yes", "--no", "install", "tracks", "Quarry"},
        {"trash", "tracks"},
        {"trash", "tracks", "Harbour", "Dunes"},
        {"--frobnicate", "status"},
        {"uninstall", "tracks", "Quarry"},
    };
    for (const auto& arguments : misuses) {
        const ProcessResult result = RunClean(arguments);
        EXPECT_EQ(result.status, 2) << ::testing::PrintToString(arguments) << "\n" << result.err;
        EXPECT_THAT(result.err, HasSubstr("zavpatch")) << ::testing::PrintToString(arguments);
        EXPECT_EQ(result.out, "") << ::testing::PrintToString(arguments);
    }
    EXPECT_EQ(Snapshot(), before);
}

TEST_P(ZavpatchTest, NamesNotInTheirListExitTwoBeforeAnythingIsDone) {
    const auto before = Snapshot();
    const std::vector<std::vector<std::string>> unknown = {
        {"--yes", "install", "tracks", "Quarry", "Nowhere"},
        {"--yes", "install", "cars", "Quarry"},
        {"--yes", "install", "tracks", "Harbour"},
        {"--yes", "trash", "tracks", "Alpine"},
        {"--yes", "trash", "tracks", "Quarry"},
        {"--yes", "trash", "cars", "Tolva"},
    };
    for (const auto& arguments : unknown) {
        const ProcessResult result = RunClean(arguments);
        EXPECT_EQ(result.status, 2) << ::testing::PrintToString(arguments) << "\n" << result.err;
        EXPECT_THAT(result.err, HasSubstr("'" + arguments.back() + "'"))
            << ::testing::PrintToString(arguments);
    }
    EXPECT_EQ(Snapshot(), before);
}

TEST_P(ZavpatchTest, HelpExplainsTheCommandsAndExitStatuses) {
    const ProcessResult result = RunClean({"--help"});
    EXPECT_EQ(result.status, 0);
    for (const std::string word : {"status", "install", "trash", "--all", "--prefix", "--source",
                                   "--yes", "--no", "Exit status", "255", "not a terminal"}) {
        EXPECT_THAT(result.out, HasSubstr(word));
    }
    EXPECT_THAT(result.out, testing::ContainsRegex("\n +0 +[a-z]"));
    EXPECT_THAT(result.out, testing::ContainsRegex("\n +1 +[a-z]"));
    EXPECT_THAT(result.out, testing::ContainsRegex("\n +2 +[a-z]"));
}

TEST_P(ZavpatchTest, PrefixWithoutTheGameIsFatal) {
    MakeFolders(temp_ / "empty-prefix/drive_c/windows");
    const ProcessResult result = RunProcess(
        kZavpatch, {"--prefix", temp_ / "empty-prefix", "--source", game_.disc, "status"},
        Environment());
    EXPECT_EQ(result.status, 255);
    EXPECT_EQ(result.err, "Fatal Error: ZAV not detected\n");
    EXPECT_EQ(result.out, "");
}

TEST_P(ZavpatchTest, MissingTrackListIsFatalAndNamesIt) {
    fs::remove(TrackList());
    const ProcessResult result = Run({"--yes", "install", "tracks", "Quarry"});
    EXPECT_EQ(result.status, 255);
    EXPECT_EQ(
        result.err,
        "Fatal Error: File 'C:\\Games\\ZAV\\Data\\Binary\\Scripts\\circuits.bin' not found\n");
    EXPECT_FALSE(FileExists(GameFile("Data/Binary/Circuits/Quarry" + TrackFileExtension())));
}

TEST_P(ZavpatchTest, SecondRunOnTheSameGameIsRefusedAndTouchesNothing) {
    const std::string scripts = GameFile("Data/Binary/Scripts");
    const int held = ::open(scripts.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);
    const auto before = Snapshot();
    const ProcessResult result = Run({"--yes", "install", "tracks", "Quarry"});
    EXPECT_EQ(result.status, 255);
    EXPECT_THAT(result.err, HasSubstr("Fatal Error: "));
    EXPECT_THAT(result.err, HasSubstr("already running"));
    EXPECT_EQ(Snapshot(), before);
    ::close(held);
    ExpectNoTemporaryFiles();

    EXPECT_EQ(RunClean({"status"}).status, 0);
}

// Behaviour that does not depend on the game's version: one variant is enough.
class ZavpatchDefaultsTest : public ZavpatchTest {};

INSTANTIATE_TEST_SUITE_P(Games, ZavpatchDefaultsTest, ::testing::Values(Variant{2, false}),
                         VariantName);

TEST_P(ZavpatchDefaultsTest, PrefixComesFromWineprefixAndSourceIsTheProgramsFolder) {
    const std::string copy = game_.disc + "/zavpatch";
    fs::copy_file(kZavpatch, copy);
    EnvironmentChanges environment = Environment();
    environment.back() = {"WINEPREFIX", game_.prefix};
    const ProcessResult result = RunProcess(copy, {"status", "tracks"}, environment);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_THAT(result.out, HasSubstr("New Proposed Data (4):\n    Quarry\n"));
    ExpectNoTemporaryFiles();
}

TEST_P(ZavpatchDefaultsTest, NoticeOfTheStartUpDoesNotMakeADoneCommandLookUndone) {
    // A track folder whose name holds a drive colon is left out with a notice at start-up.
    WriteFile(game_.Disc("circuits") + "/Bad:name/circuits.bin",
              ListFile({TrackRecord("Bad:name", 2)}));
    const Bytes carList = ReadFile(CarList());
    const ProcessResult result = RunClean({"install", "cars", "Lynx"});
    EXPECT_THAT(result.err, HasSubstr("ZAV Data Patcher: These track folders beside the tool are "
                                      "left out"));
    EXPECT_THAT(result.err, HasSubstr("Information: New data installed successfully."));
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(ReadFile(CarList()), Appended(carList, {DiscCarRecord("Lynx")}));
}

TEST_P(ZavpatchDefaultsTest, NamesOutsideAsciiAreShownAndMatchedAsUtf8) {
    // A disc folder "Évora" whose list names the track in the game's code page, where É is 0xC9.
    const std::string folder = game_.Disc("circuits") + "/\xc3\x89vora";
    Bytes record = TrackRecord("\xc9VORA", 2);
    WriteFile(folder + "/circuits.bin", ListFile({record}));
    for (const char* extension : {".bl3", ".img", ".meg", ".brt"}) {
        WriteFile(folder + "/\xc3\x89vora" + extension, std::string_view("data"));
    }
    WriteFile(folder + "/-vora.brt", std::string_view("data"));

    const ProcessResult status = RunClean({"status", "tracks"});
    EXPECT_THAT(status.out, HasSubstr("    \xc3\x89vora\n"));
    const Bytes gameList = ReadFile(TrackList());
    const ProcessResult result = RunClean({"install", "tracks", "\xc3\xa9VORA"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(ReadFile(TrackList()), Appended(gameList, {record}));
    EXPECT_EQ(ReadFile(GameFile("Data/Binary/Circuits/\xc3\x89vora.bl3")), Text("data"));
}

} // namespace
} // namespace zav::test
