// The history's edges on a real game folder: links and modes of what it saves, a history folder
// that cannot be used, entry numbers past six digits, the room undo and install need, and the
// names files come back under.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "history/history_store.h"
#include "history/undo.h"
#include "support/game_run.h"

namespace zav::test {
namespace {

namespace fs = std::filesystem;
const std::string GAME = "C:\\Games\\ZAV\\";
const std::string IMG = "Data/Binary/Mimg/Quarry.img";

// Installs Quarry answering Yes to every question, through the history.
void InstallQuarry(const TestGame& game) {
    GameRun run(game, {}, HistoryMode::Record);
    ASSERT_TRUE(run.Start());
    run.AddToList({"Quarry"});
    run.view.answers = {IDYES, IDYES, IDYES};
    run.dialog.OnInstallNew();
    run.dialog.OnCloseButton();
}

std::string Manifest(const TestGame& game, const std::string& entry = "000001") {
    const Bytes bytes = ReadFile(game.Game("PatcherHistory") + "/" + entry + "/entry.txt");
    return {bytes.begin(), bytes.end()};
}

std::string LinkText(const std::string& hostPath) {
    std::error_code error;
    return fs::is_symlink(fs::symlink_status(hostPath)) ? fs::read_symlink(hostPath, error).native()
                                                        : std::string();
}

// A user's Quarry.img that is a link to a private file: the history keeps the link's text, not a
// copy of what it leads to, and undo makes the link again; the private file is never touched.
TEST(HistoryLinks, ALinkInTheGameIsSavedAndRestoredAsALink) {
    TestGame game;
    const std::string secret = game.dir / "private.img";
    WriteFile(secret, std::string_view("private bytes"));
    ::chmod(secret.c_str(), 0600);
    ASSERT_EQ(::symlink(secret.c_str(), game.Game(IMG).c_str()), 0);
    ASSERT_EQ(ReadFile(game.Game(IMG)).size(), 13U) << "the link leads to the private file";
    InstallQuarry(game);
    ASSERT_EQ(LinkText(game.Game(IMG)), "") << "the install put a file in the link's place";
    EXPECT_NE(Manifest(game).find("link\tC:\\Games\\ZAV\\Data\\Binary\\Mimg\\Quarry.img\t" +
                                  secret + "\n"),
              std::string::npos)
        << Manifest(game);
    for (const auto& [path, bytes] : SnapshotTree(game.Game("PatcherHistory")))
        EXPECT_NE(std::string(bytes.begin(), bytes.end()), "private bytes") << path;
    PosixFileSystem host(game.prefix);
    ASSERT_EQ(UndoNewest(host, GAME, 0).result, UndoOutcome::Result::Done);
    EXPECT_EQ(LinkText(game.Game(IMG)), secret);
    EXPECT_EQ(ReadFile(secret).size(), 13U);
    EXPECT_EQ(PermissionsOf(secret), 0600U);
}

// A saved copy replaced by a link to a private file is refused, naming it, and nothing changes;
// a private file's saved copy is as private as the file.
TEST(HistoryLinks, ASavedCopyIsNeverReadThroughALinkAndKeepsItsFilesPrivacy) {
    TestGame game;
    WriteFile(game.Game(IMG), std::string_view("the user's own"));
    ::chmod(game.Game(IMG).c_str(), 0600);
    InstallQuarry(game);
    const std::string manifest = Manifest(game);
    const std::size_t at = manifest.rfind("saved\t", manifest.find("\\Quarry.img\t"));
    ASSERT_NE(at, std::string::npos) << manifest;
    const std::string copy = manifest.substr(at + 6, manifest.find('\t', at + 6) - at - 6);
    const std::string copyPath = game.Game("PatcherHistory") + "/000001/" + copy;
    EXPECT_EQ(PermissionsOf(copyPath), 0600U);
    const std::string secret = game.dir / "secret";
    WriteFile(secret, ReadFile(copyPath)); // the same bytes: only the link gives it away
    fs::remove(copyPath);
    fs::create_symlink(secret, copyPath);
    const TreeSnapshot before = SnapshotTree(game.prefix), data = SnapshotTree(game.Game("Data"));
    PosixFileSystem host(game.prefix);
    const UndoOutcome outcome = UndoNewest(host, GAME, 0);
    EXPECT_EQ(outcome.result, UndoOutcome::Result::Refused);
    EXPECT_EQ(outcome.path, GAME + "PatcherHistory\\000001\\" + copy);
    EXPECT_NE(outcome.reason.find("is a link"), std::string::npos) << outcome.reason;
    EXPECT_EQ(SnapshotTree(game.prefix), before);
    // An entry, or the whole history, that is a link is not read either.
    fs::remove(copyPath);
    WriteFile(copyPath, ReadFile(secret));
    const std::string history = game.Game("PatcherHistory");
    fs::rename(history + "/000001", game.dir / "entry");
    fs::create_directory_symlink(game.dir / "entry", history + "/000001");
    const UndoOutcome entryLink = UndoNewest(host, GAME, 0);
    EXPECT_NE(entryLink.reason.find("(the entry is a link"), std::string::npos) << entryLink.reason;
    fs::remove(history + "/000001");
    fs::rename(history, game.dir / "history");
    fs::create_directory_symlink(game.dir / "history", history);
    const UndoOutcome historyLink = UndoNewest(host, GAME, 0);
    EXPECT_EQ(historyLink.path, GAME + "PatcherHistory");
    EXPECT_TRUE(ReadHistory(host, GAME).empty());
    EXPECT_EQ(SnapshotTree(game.Game("Data")), data);
}

// Each kind of history folder that cannot be used stops the install before its first change,
// with a box naming the folder and the cause; without the history the install goes ahead.
TEST(HistoryFolder, OneThatCannotBeUsedStopsTheCommandBeforeItsFirstChange) {
    const auto readOnly = [](const std::string& folder) {
        fs::create_directories(folder);
        // Root may write anywhere but on a read-only mount.
        if (::geteuid() == 0)
            return std::system(("mount -t tmpfs -o ro,size=64k none '" + folder + "' 2>/dev/null")
                                   .c_str()) == 0;
        fs::permissions(folder, fs::perms(0555));
        return true;
    };
    struct Case {
        const char* name;
        std::function<bool(const TestGame&, const std::string&)> make;
        const char* cause;
    };
    const std::vector<Case> cases = {
        {"file",
         [](const TestGame&, const std::string& folder) {
             WriteFile(folder, std::string_view("x"));
             return true;
         },
         "it is a file, not a folder"},
        {"link",
         [](const TestGame& game, const std::string& folder) {
             fs::create_directories(game.dir / "elsewhere");
             fs::create_directory_symlink(game.dir / "elsewhere", folder);
             return true;
         },
         "it is a link"},
        {"read-only", [&](const TestGame&, const std::string& folder) { return readOnly(folder); },
         "you may not write there"},
        {"full",
         [](const TestGame&, const std::string& folder) {
             fs::create_directories(folder + "/999999999");
             return true;
         },
         "it holds the last entry number"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestGame game;
        const std::string folder = game.Game("PatcherHistory");
        struct Unmount {
            std::string folder;
            ~Unmount() {
                if (!folder.empty())
                    (void)std::system(("umount '" + folder + "' 2>/dev/null").c_str());
            }
        } unmount{std::string(c.name) == "read-only" && ::geteuid() == 0 ? folder : ""};
        if (!c.make(game, folder)) {
            ADD_FAILURE() << "no read-only folder could be made";
            continue;
        }
        const TreeSnapshot before = SnapshotTree(game.prefix);
        {
            GameRun run(game, {}, HistoryMode::Record);
            EXPECT_FALSE(run.Start());
            EXPECT_TRUE(run.dialog.StoppedByHistory());
            ASSERT_EQ(run.view.boxes.size(), 1U);
            EXPECT_NE(run.view.boxes[0].text.find("'" + GAME + "PatcherHistory': " + c.cause),
                      std::string::npos)
                << run.view.boxes[0];
        }
        EXPECT_EQ(SnapshotTree(game.prefix), before);
        if (fs::exists(game.dir / "elsewhere")) {
            EXPECT_TRUE(fs::is_empty(game.dir / "elsewhere")) << "written through the link";
        }
        {
            GameRun run(game, {}, HistoryMode::None);
            ASSERT_TRUE(run.Start());
            run.AddToList({"Quarry"});
            run.dialog.OnInstallNew();
            EXPECT_TRUE(fs::exists(game.Game("Data/Binary/Circuits/Quarry.bl3")));
        }
    }
}

// Writer and reader share the names of entries past six digits: the entry after 999999 is seen
// by history and undone by undo.
TEST(HistoryFolder, TheEntryAfter999999IsSeenAndUndone) {
    TestGame game;
    const std::string old = game.Game("PatcherHistory") + "/999999";
    fs::create_directories(old);
    WriteFile(old + "/entry.txt", std::string_view("zav-patcher-history\t1\ncommand\told\nsealed\n"
                                                   "undone\n"));
    InstallQuarry(game);
    ASSERT_TRUE(fs::exists(game.Game("PatcherHistory") + "/1000000/entry.txt"));
    PosixFileSystem host(game.prefix);
    const auto history = ReadHistory(host, GAME);
    ASSERT_EQ(history.size(), 2U);
    EXPECT_EQ(history[0].number, 1000000);
    const UndoOutcome outcome = UndoNewest(host, GAME, 0);
    EXPECT_EQ(outcome.result, UndoOutcome::Result::Done);
    EXPECT_EQ(outcome.entry.number, 1000000);
    EXPECT_FALSE(fs::exists(game.Game("Data/Binary/Circuits/Quarry.bl3")));
}

// Undo of a Trash on a drive without room for the five files it brings back changes nothing and
// says how much it needs, how much there is and where; with the room it brings them back under
// the names they had on the disk.
TEST(UndoSpace, UndoAsksForTheRoomItNeedsAndBringsFilesBackUnderTheirNames) {
    TestGame game;
    const std::string dunes = game.Game("Data/Binary/Circuits/Dunes.bl3");
    const std::string spelled = fs::path(dunes).parent_path() / "Dunes.BL3";
    fs::rename(dunes, spelled);
    {
        GameRun run(game, {}, HistoryMode::Record);
        ASSERT_TRUE(run.Start());
        run.Trash("Dunes", IDYES);
        run.dialog.OnCloseButton();
    }
    ASSERT_FALSE(fs::exists(spelled));
    const TreeSnapshot trashed = SnapshotTree(game.prefix);
    PosixFileSystem host(game.prefix);
    FaultInjectingFileSystem small(host);
    small.SetFreeSpace(4096);
    const UndoOutcome refused = UndoNewest(small, GAME, 0);
    EXPECT_EQ(refused.result, UndoOutcome::Result::Refused);
    EXPECT_NE(refused.reason.find("bytes free in C:\\Games\\ZAV\\Data\\"), std::string::npos)
        << refused.reason;
    EXPECT_NE(refused.reason.find(", which has 4096;"), std::string::npos) << refused.reason;
    EXPECT_EQ(SnapshotTree(game.prefix), trashed);
    small.SetFreeSpace(std::nullopt);
    ASSERT_EQ(UndoNewest(small, GAME, 0).result, UndoOutcome::Result::Done);
    const auto names = ListNames(fs::path(dunes).parent_path());
    EXPECT_NE(std::find(names.begin(), names.end(), "Dunes.BL3"), names.end());
    EXPECT_EQ(std::find(names.begin(), names.end(), "Dunes.bl3"), names.end());
}

// The room an install needs counts the saved copies of the game files it replaces: a drive that
// holds the new files but not those copies refuses the selection while the history records.
TEST(UndoSpace, AnInstallsFreeSpaceCountsTheSavedCopiesOfWhatItReplaces) {
    TestGame game;
    WriteFile(game.Game(IMG), Bytes(300 * 1024, 0x33));
    for (const HistoryMode mode : {HistoryMode::None, HistoryMode::Record}) {
        SCOPED_TRACE(mode == HistoryMode::None ? "without history" : "with history");
        GameRun run(game, {}, mode);
        ASSERT_TRUE(run.Start());
        run.files.SetFreeSpace(200 * 1024);
        run.ClickNew("Quarry");
        EXPECT_EQ(run.Selected(IDC_NEW_LIST).size(), mode == HistoryMode::None ? 1U : 0U);
    }
}

} // namespace
} // namespace zav::test
