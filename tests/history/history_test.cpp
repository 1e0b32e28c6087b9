// The dry run, the history and undo, over the dialog's real commands on a real game folder.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "history/content_hash.h"
#include "history/history_store.h"
#include "history/undo.h"
#include "support/game_run.h"

namespace zav::test {
namespace {

namespace fs = std::filesystem;
constexpr DataKind T = DataKind::Tracks;
const std::string IMG = "Data/Binary/Mimg/Quarry.img";

// A game in which the user has an image of Quarry's name.
struct UserGame : TestGame {
    UserGame() { WriteFile(Game(IMG), std::string_view("the user's picture")); }
};

// Every file below `folder` with its bytes, last-write time (to the nanosecond) and mode, by
// relative path; the history's own folder is left out.
struct FileState {
    Bytes bytes;
    std::int64_t modified = 0;
    unsigned mode = 0;
    bool operator==(const FileState&) const = default;
};
std::map<std::string, FileState> Snapshot(const std::string& folder) {
    std::map<std::string, FileState> files;
    for (const auto& [path, bytes] : SnapshotTree(folder)) {
        struct stat info {};
        ::lstat((folder + "/" + path).c_str(), &info);
        if (path.find("PatcherHistory/") == std::string::npos)
            files[path] = {bytes, info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec,
                           info.st_mode};
    }
    return files;
}

// A run of the dialog on `game`: installs Quarry and Summit answering `replaceImg` to the
// question on Quarry.img, or trashes Harbour; then closes.
void RunCommand(GameRun& run, bool install, int replaceImg) {
    ASSERT_TRUE(run.Start());
    if (install) {
        run.AddToList({"Quarry", "Summit"});
        run.view.answers = {replaceImg};
        run.dialog.OnInstallNew();
    } else {
        run.Trash("Harbour", IDYES);
    }
    run.dialog.OnCloseButton();
}

std::string GameDirectory(GameRun& run) {
    return run.Session().settings.GameDirectory.str();
}

// The dry run leaves every byte and date of the game, the disc and the temporary folder as they
// were, and plans exactly the files the real run then creates, replaces and deletes; a file kept
// by a No is planned as kept.
TEST(DryRun, ChangesNothingAndPlansWhatTheRealRunDoes) {
    for (const bool install : {true, false}) {
        SCOPED_TRACE(install ? "install" : "trash");
        UserGame game;
        const auto before = Snapshot(game.dir.path());
        std::map<std::string, PlannedChange::Kind> planned;
        {
            GameRun dry(game, {}, HistoryMode::DryRun);
            RunCommand(dry, install, IDNO);
            for (const PlannedChange& change : dry.stack.DryRun()->Plan()) {
                const fs::path host = fs::weakly_canonical(dry.host.HostPath(change.path));
                const std::string path = fs::relative(host, fs::canonical(game.dir.path()));
                if (!path.starts_with("prefix/drive_c/Games/ZAV/PatcherHistory"))
                    planned[path] = change.kind; // the history's own files are no part of the game
            }
        }
        EXPECT_EQ(Snapshot(game.dir.path()), before);
        {
            GameRun real(game, {}, HistoryMode::Record);
            RunCommand(real, install, IDNO);
        }
        const auto after = Snapshot(game.dir.path());
        std::map<std::string, PlannedChange::Kind> done;
        for (const auto& [path, state] : after)
            if (!before.contains(path))
                done[path] = PlannedChange::Kind::Create;
            else if (before.at(path).bytes != state.bytes)
                done[path] = PlannedChange::Kind::Replace;
        for (const auto& [path, state] : before)
            if (!after.contains(path))
                done[path] = PlannedChange::Kind::Delete;
        const std::string img = "prefix/drive_c/Games/ZAV/" + IMG;
        if (install) {
            EXPECT_EQ(planned[img], PlannedChange::Kind::Keep);
            planned.erase(img);
        }
        EXPECT_EQ(planned, done);
        EXPECT_EQ(done.size(), install ? 10U : 6U);
    }
}

// Install (replacing a read-only file of the user's) then trash, undone newest first, give the
// game back byte for byte with the dates and attributes of every file; then nothing is left.
TEST(Undo, InstallAndTrashUndoneNewestFirstGiveTheGameBack) {
    UserGame game;
    MakeReadOnly(game.Game(IMG));
    const auto start = Snapshot(game.prefix);
    std::string gameDirectory;
    {
        GameRun run(game, {}, HistoryMode::Record);
        RunCommand(run, true, IDYES);
        gameDirectory = GameDirectory(run);
    }
    const auto installed = Snapshot(game.prefix);
    ASSERT_NE(installed.size(), start.size());
    {
        GameRun run(game, {}, HistoryMode::Record);
        RunCommand(run, false, IDYES);
    }
    ASSERT_NE(Snapshot(game.prefix), installed);
    PosixFileSystem host(game.prefix);
    EXPECT_EQ(UndoNewest(host, gameDirectory, 0).result, UndoOutcome::Result::Done);
    EXPECT_EQ(Snapshot(game.prefix), installed);
    const UndoOutcome second = UndoNewest(host, gameDirectory, 0);
    EXPECT_EQ(second.result, UndoOutcome::Result::Done);
    EXPECT_EQ(second.entry.command, "install tracks");
    EXPECT_EQ(Snapshot(game.prefix), start);
    EXPECT_EQ(UndoNewest(host, gameDirectory, 0).result, UndoOutcome::Result::NothingToUndo);
}

// A file the change wrote that was edited since stops the undo before it changes anything.
TEST(Undo, RefusesWhenATouchedFileChangedSince) {
    UserGame game;
    std::string gameDirectory;
    {
        GameRun run(game, {}, HistoryMode::Record);
        RunCommand(run, true, IDYES);
        gameDirectory = GameDirectory(run);
    }
    WriteFile(game.Game("Data/Records/-ummit.brt"), std::string_view("edited"));
    const auto edited = Snapshot(game.prefix);
    PosixFileSystem host(game.prefix);
    const UndoOutcome outcome = UndoNewest(host, gameDirectory, 0);
    EXPECT_EQ(outcome.result, UndoOutcome::Result::Refused);
    EXPECT_EQ(outcome.path, gameDirectory + "Data\\Records\\-ummit.brt");
    EXPECT_EQ(Snapshot(game.prefix), edited);
}

// Of a long file only samples are hashed: an edit between them is told by its last-write time.
TEST(Undo, RefusesAnEditBetweenTheSamplesOfALongFile) {
    UserGame game;
    game.AddDiscEntry(T, "Quarry", {}, 2 * FINGERPRINT_WHOLE_LIMIT);
    std::string gameDirectory;
    {
        GameRun run(game, {}, HistoryMode::Record);
        RunCommand(run, true, IDYES);
        gameDirectory = GameDirectory(run);
    }
    const std::string file = game.Game("Data/Binary/Circuits/Quarry.bl3");
    const std::string path = gameDirectory + "Data\\Binary\\Circuits\\Quarry.bl3";
    PosixFileSystem host(game.prefix);
    const auto installed = FingerprintFile(host, path);
    const auto written = fs::last_write_time(file);
    Bytes bytes = ReadFile(file);
    bytes.at(FINGERPRINT_EDGE + 2 * FINGERPRINT_PROBE) ^= 0xFF; // behind the first probe
    WriteFile(file, bytes);
    fs::last_write_time(file, written);
    ASSERT_EQ(FingerprintFile(host, path), installed) << "the edit lies between the samples";
    fs::last_write_time(file, written + std::chrono::seconds(1));
    const UndoOutcome outcome = UndoNewest(host, gameDirectory, 0);
    EXPECT_EQ(outcome.result, UndoOutcome::Result::Refused);
    EXPECT_EQ(outcome.path, path);
}

// Before a file is deleted, its saved copy and the manifest's line naming it are on the disk.
TEST(History, TheSavedCopyIsForcedToDiskBeforeTheChangeBegins) {
    UserGame game;
    PosixFileSystem host(game.prefix);
    FaultInjectingFileSystem beneath(host);
    HistoryRecorder history(beneath, true);
    history.OpenGame("C:\\Games\\ZAV\\");
    history.BeginCommand("trash tracks");
    const std::string image = "C:\\Games\\ZAV\\Data\\Binary\\Mimg\\Quarry.img";
    beneath.Restart();
    ASSERT_TRUE(history.DeleteFile(image));
    std::vector<std::string> calls;
    std::string copy;
    for (const FileOperation& operation : beneath.Log()) {
        if (operation.kind == "Copy")
            copy = operation.target;
        if (operation.kind == "Copy" || operation.kind == "SyncFile" ||
            operation.kind == "HandleSync" || operation.kind == "Delete")
            calls.push_back(std::string(operation.kind) + " " +
                            (operation.kind == "HandleSync" ? "" : operation.path));
    }
    EXPECT_EQ(calls, (std::vector<std::string>{"Copy " + image, "SyncFile " + copy, "HandleSync ",
                                               "Delete " + image}));
    EXPECT_FALSE(FileExists(game.Game(IMG)));
}

// The history knows what the install put there: Trash leaves the image the user kept by a No
// (without a history, Trash deletes it with the rest).
TEST(TrashWithHistory, KeepsTheFileTheUserKeptByANo) {
    for (const HistoryMode mode : {HistoryMode::Record, HistoryMode::None}) {
        UserGame game;
        const Bytes image = ReadFile(game.Game(IMG));
        {
            GameRun run(game, {}, mode);
            RunCommand(run, true, IDNO);
        }
        GameRun run(game, {}, mode);
        ASSERT_TRUE(run.Start());
        run.Trash("Quarry", IDYES);
        EXPECT_FALSE(FileExists(game.Game("Data/Binary/Circuits/Quarry.bl3")));
        EXPECT_EQ(FileExists(game.Game(IMG)), mode == HistoryMode::Record);
        if (mode == HistoryMode::Record) {
            EXPECT_EQ(ReadFile(game.Game(IMG)), image);
        }
    }
}

// The window's "Undo last change...": the question shows what will be undone; after Yes the lists
// show the game as before the install; then there is nothing left to undo.
TEST(Undo, TheDialogAsksWithASummaryThenReloadsTheLists) {
    UserGame game;
    GameRun run(game, {}, HistoryMode::Record);
    ASSERT_TRUE(run.Start());
    EXPECT_FALSE(run.dialog.CanUndo());
    run.AddToList({"Quarry"});
    run.view.answers = {IDYES};
    run.dialog.OnInstallNew();
    ASSERT_TRUE(run.dialog.CanUndo());
    run.view.Clear();
    run.view.answers = {IDYES};
    run.dialog.OnUndoLastChange();
    ASSERT_EQ(run.view.boxes.size(), 2U);
    EXPECT_NE(run.view.boxes[0].text.find("install tracks\n  added: Quarry (tracks)\n"),
              std::string::npos)
        << run.view.boxes[0];
    EXPECT_EQ(run.view.boxes[1].text, "Change 1 was undone.");
    EXPECT_EQ(run.Entries(IDC_ADDED_LIST),
              (std::vector<std::string>{"<Inst.> Harbour", "<Inst.> Dunes"}));
    EXPECT_EQ(run.Entries(IDC_NEW_LIST).front(), "Quarry");
    EXPECT_FALSE(run.dialog.CanUndo());
}

// The newest entry's manifest as an attacker or a damaged disk leaves it: undo refuses it, naming
// the entry and the line, changes nothing (not the file outside the game either), never reverts
// the older entry instead, and the history lists it as damaged.
TEST(Undo, RefusesAManifestThatIsDamagedOrReachesOutsideTheGame) {
    UserGame game;
    std::string gameDirectory;
    {
        GameRun run(game, {}, HistoryMode::Record);
        RunCommand(run, true, IDYES);
        gameDirectory = GameDirectory(run);
    }
    const std::string outside = game.prefix + "/drive_c/notes.txt";
    WriteFile(outside, std::string_view("the user's notes"));
    const std::string entry = game.Game("PatcherHistory") + "/000002/";
    fs::create_directories(entry);
    WriteFile(entry + "1", std::string_view("bytes of the manifest's choosing"));
    const std::string list = gameDirectory + "Data\\Binary\\Scripts\\circuits.bin";
    const std::string head = "zav-patcher-history\t1\ndate\t2026-12-07 18:40:12\ncommand\tx\n";
    for (const auto& [body, line] : std::vector<std::pair<std::string, std::string>>{
             {"created\tC:\\notes.txt\n", "line 4"},
             {"created\tZ:\\home\\user\\notes.txt\n", "line 4"},
             {"created\tC:\\windows\\Quorvex\\Qvx.ini\n", "line 4"},
             {"saved\t1\tC:\\notes.txt\n", "line 4"},
             {"created\t" + gameDirectory + "Data\\..\\PatcherHistory\\000001\\entry.txt\n",
              "line 4"},
             {"created\t" + gameDirectory + "Data\\x\nsaved\t..\\000001\\1\t" + list + "\n",
              "line 5"},
             {"saved\t01\t" + list + "\n", "line 4"},
             {"saved\t1\t" + list + "\t9\tnot-a-hash\n", "line 4"},
             {"after\t" + list + "\t12\n", "line 4"},
             {"", "line 1"}}) {
        SCOPED_TRACE(body);
        WriteFile(entry + "entry.txt", body.empty() ? "garbage\n" + head : head + body);
        const auto before = Snapshot(game.prefix);
        PosixFileSystem host(game.prefix);
        const UndoOutcome outcome = UndoNewest(host, gameDirectory, 0);
        EXPECT_EQ(outcome.result, UndoOutcome::Result::Refused);
        EXPECT_EQ(outcome.entry.number, 2);
        EXPECT_NE(outcome.reason.find("Change 2 "), std::string::npos) << outcome.reason;
        EXPECT_NE(outcome.reason.find(line + ": "), std::string::npos) << outcome.reason;
        EXPECT_EQ(Snapshot(game.prefix), before);
        const auto history = ReadHistory(host, gameDirectory);
        ASSERT_EQ(history.size(), 2U);
        EXPECT_NE(DescribeEntry(history[0]).find("(damaged: " + line), std::string::npos);
        EXPECT_TRUE(history[1].Undoable());
        EXPECT_FALSE(FilesInstalledFor(history, T, "Quarry")->empty());
    }
}

// Each saved copy's size and fingerprint are in its line: a copy cut short is refused, naming it,
// and the game keeps its list; a manifest of an older build, without them, is still undone.
TEST(Undo, RefusesASavedCopyThatIsNotAsSavedAndReadsOlderManifests) {
    UserGame game;
    std::string gameDirectory;
    {
        GameRun run(game, {}, HistoryMode::Record);
        RunCommand(run, true, IDYES);
        gameDirectory = GameDirectory(run);
    }
    const std::string manifest = game.Game("PatcherHistory") + "/000001/entry.txt";
    const Bytes written = ReadFile(manifest);
    const std::string text(written.begin(), written.end());
    const std::size_t at = text.find("\\circuits.bin\t");
    ASSERT_NE(at, std::string::npos) << text;
    const std::size_t start = text.rfind("\nsaved\t", at) + 7;
    const std::string copy = text.substr(start, text.find('\t', start) - start);
    const std::string copyPath = game.Game("PatcherHistory") + "/000001/" + copy;
    const Bytes saved = ReadFile(copyPath);
    fs::resize_file(copyPath, 100);
    const auto installed = Snapshot(game.prefix);
    PosixFileSystem host(game.prefix);
    const UndoOutcome refused = UndoNewest(host, gameDirectory, 0);
    EXPECT_EQ(refused.result, UndoOutcome::Result::Refused);
    EXPECT_EQ(refused.path, gameDirectory + "PatcherHistory\\000001\\" + copy);
    EXPECT_EQ(Snapshot(game.prefix), installed);
    WriteFile(copyPath, saved);
    // An older build wrote "saved <TAB> copy <TAB> path" alone.
    std::string old;
    for (std::size_t cut = 0; cut < text.size();) {
        const std::size_t end = text.find('\n', cut) + 1;
        std::string line = text.substr(cut, end - cut);
        if (line.starts_with("saved\t"))
            line = line.substr(0, line.find('\t', line.find('\t', 6) + 1)) + "\n";
        old += line;
        cut = end;
    }
    ASSERT_NE(old, text);
    WriteFile(manifest, old);
    EXPECT_EQ(UndoNewest(host, gameDirectory, 0).result, UndoOutcome::Result::Done);
}

// Of 22 entries whose two newest are undone, the 20 still undoable keep their saved copies.
TEST(History, PruningCountsOnlyTheEntriesStillUndoable) {
    TestGame game;
    const std::string history = game.Game("PatcherHistory");
    for (int number = 1; number <= 22; ++number) {
        const std::string folder = history + "/" + EntryFolderName(number) + "/";
        fs::create_directories(folder);
        WriteFile(folder + "1", std::string_view("copy"));
        WriteFile(folder + "entry.txt",
                  "zav-patcher-history\t1\nsaved\t1\tC:\\Games\\ZAV\\Data\\f" +
                      std::to_string(number) + "\nsealed\n" + (number > 20 ? "undone\n" : ""));
    }
    PosixFileSystem host(game.prefix);
    PruneHistory(host, "C:\\Games\\ZAV\\");
    for (const HistoryEntry& entry : ReadHistory(host, "C:\\Games\\ZAV\\"))
        EXPECT_FALSE(entry.pruned) << entry.number;
    EXPECT_TRUE(FileExists(history + "/000001/1"));
}

// A shared list stays shared: the install's list keeps the old one's mode, and so does undo's.
TEST(Undo, TheReplacedListKeepsItsMode) {
    UserGame game;
    const std::string list = game.Script("circuits.bin");
    fs::permissions(list, fs::perms(0660));
    std::string gameDirectory;
    {
        GameRun run(game, {}, HistoryMode::Record);
        RunCommand(run, true, IDYES);
        gameDirectory = GameDirectory(run);
    }
    EXPECT_EQ(PermissionsOf(list), 0660U);
    PosixFileSystem host(game.prefix);
    ASSERT_EQ(UndoNewest(host, gameDirectory, 0).result, UndoOutcome::Result::Done);
    EXPECT_EQ(PermissionsOf(list), 0660U);
}

} // namespace
} // namespace zav::test
