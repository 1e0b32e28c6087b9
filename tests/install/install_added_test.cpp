// "Install New": the added entries' files copied into the game and the work list over its list.
#include "install/install_added.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "settings/data_paths.h"
#include "settings/error_report.h"
#include "support/game_fixture.h"

namespace zav {
namespace {

using test::Bytes;
using test::GameFixture;
using test::JournalLines;
using test::ListFile;
using test::ReadFile;

const std::vector<std::string> kScriptsFiles = {"circuits.bin", "circuits.sav", "voiture2.bin",
                                                "voiture2.sav", "voitures.bin"};

unsigned OrdinaryPermissions() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666u & ~static_cast<unsigned>(mask);
}

// Every file under `folder` whose name holds `part`.
std::vector<std::string> FilesNamedLike(const std::string& folder, std::string_view part) {
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (entry.path().filename().string().find(part) != std::string::npos) {
            found.push_back(entry.path().string());
        }
    }
    return found;
}

// The files an install copies, in their order: the track or car file of the game's variant,
// img, meg, and for a track its two record files.
std::vector<std::string> InstalledFiles(std::int32_t kind, const std::string& name,
                                        bool accelerated) {
    std::vector<std::string> files = kind == DATA_KIND_CARS ? GameFixture::CarFileNames(name)
                                                            : GameFixture::TrackFileNames(name);
    files.erase(files.begin() + (accelerated ? 0 : 1));
    return files;
}

class InstallTest : public ::testing::Test {
protected:
    // The journal lines of one entry's install: a step and a pause before its files, each file
    // copied (never over an existing one), given normal attributes and followed by a step (and
    // for a car a pause); the Resson folder made before the meg file, as fix.MEG is not there.
    std::vector<std::string> EntryLines(std::int32_t kind, const std::string& name) const {
        std::vector<std::string> lines = {"step", "pause 40"};
        for (const std::string& file : InstalledFiles(kind, name, false)) {
            const std::int32_t folder = GameFixture::GameFolderOf(file);
            const std::string destination = GameFixture::GameFilePath(folder, file);
            if (folder == FOLDER_RESSON) {
                lines.push_back("mkdir C:\\ZAV\\Data\\Binary\\Resson\\");
            }
            lines.push_back("copy " + game.SourcePath(kind, name, file) + " -> " + destination);
            lines.push_back("attributes " + destination + " 0x80");
            lines.push_back("step");
            if (kind == DATA_KIND_CARS) {
                lines.push_back("pause 40");
            }
        }
        return lines;
    }

    std::int32_t Install(std::int32_t kind) {
        return kind == DATA_KIND_CARS ? InstallAddedCars(game.session, argument)
                                      : InstallAddedTracks(game.session, argument);
    }

    // The entry's files are in the game with the disc's bytes; the other variant of its track or
    // car file is not.
    void ExpectInstalled(std::int32_t kind, const std::string& name, bool accelerated = false) {
        for (const std::string& file : InstalledFiles(kind, name, accelerated)) {
            EXPECT_EQ(ReadFile(game.GameFileHost(GameFixture::GameFolderOf(file), file)),
                      GameFixture::DiscContent(name, file))
                << file;
        }
        const std::string other = InstalledFiles(kind, name, !accelerated).front();
        EXPECT_FALSE(test::FileExists(game.GameFileHost(GameFixture::GameFolderOf(other), other)));
    }

    void ExpectListWrittenFromWorkList(std::int32_t kind, const Bytes& expected) {
        const bool cars = kind == DATA_KIND_CARS;
        EXPECT_EQ(ReadFile(cars ? game.AddedCarListHost() : game.TrackListHost()), expected);
        EXPECT_EQ(ReadFile(cars ? game.CarWorkListHost() : game.TrackWorkListHost()), expected);
        EXPECT_EQ(game.ScriptsFolderNames(), kScriptsFiles);
    }

    GameFixture game;
    AnalysisState& state = game.state;
    PathText argument;
};

TEST_F(InstallTest, TracksGoInFileOrderWithSixStepsAndOnePauseEach) {
    game.AddDiscTrack("Foo");
    game.AddDiscTrack("X");
    ASSERT_NO_FATAL_FAILURE(game.StartUp());
    ASSERT_NO_FATAL_FAILURE(game.AddProposed(DATA_KIND_TRACKS, {"Foo", "X"}));

    ASSERT_EQ(Install(DATA_KIND_TRACKS), RESULT_OK);
    std::vector<std::string> expected = EntryLines(DATA_KIND_TRACKS, "Foo");
    const auto second = EntryLines(DATA_KIND_TRACKS, "X");
    expected.insert(expected.end(), second.begin(), second.end());
    ASSERT_GE(game.journal.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(game.journal.begin(),
                                       game.journal.begin() + static_cast<long>(expected.size())),
              expected);
    EXPECT_EQ(game.ui.steps, 12);
    EXPECT_EQ(game.ui.pauses, (std::vector<int>{40, 40}));
    EXPECT_TRUE(game.ui.boxes.empty());

    ExpectInstalled(DATA_KIND_TRACKS, "Foo");
    ExpectInstalled(DATA_KIND_TRACKS, "X"); // its record files are X.brt and -.brt
    EXPECT_EQ(state.PresentTrackFlags[16], PRESENT_INSTALLED);
    EXPECT_EQ(state.PresentTrackFlags[17], PRESENT_INSTALLED);
    ExpectListWrittenFromWorkList(
        DATA_KIND_TRACKS, ListFile(game.TrackRecordsFor(GameFixture::BaseTracksAnd({"Foo", "X"}))));
}

TEST_F(InstallTest, GameListIsReplacedByARenamedSyncedCopyOfTheWorkList) {
    ASSERT_NO_FATAL_FAILURE(game.StartUp());
    ASSERT_EQ(Install(DATA_KIND_TRACKS), RESULT_OK);
    // Nothing was added: no file copied, no step, and the game's list still written.
    ASSERT_EQ(game.journal.size(), 3u) << ::testing::PrintToString(game.journal);
    const std::string scripts = "C:\\ZAV\\Data\\Binary\\Scripts\\";
    const std::string prefix = "copy " + scripts + "circuits.sav -> " + scripts;
    ASSERT_EQ(game.journal[0].rfind(prefix, 0), 0u) << game.journal[0];
    const std::string sibling = game.journal[0].substr(prefix.size() - scripts.size());
    EXPECT_EQ(sibling.find('\\', scripts.size()), std::string::npos); // beside the list
    EXPECT_EQ(game.journal[1], "sync " + sibling);
    EXPECT_EQ(game.journal[2], "rename " + sibling + " -> " + scripts + "circuits.bin");
    EXPECT_EQ(game.ui.steps, 0);
    ExpectListWrittenFromWorkList(DATA_KIND_TRACKS,
                                  ListFile(game.TrackRecordsFor(GameFixture::BaseTracks())));
}

TEST_F(InstallTest, AcceleratedGameGetsTheBl4AndBv4Files) {
    game.AddDiscTrack("Foo");
    game.AddDiscCar("Nova");
    ASSERT_NO_FATAL_FAILURE(game.StartUp());
    state.AcceleratedVersionPresent = 1;
    ASSERT_NO_FATAL_FAILURE(game.AddProposed(DATA_KIND_TRACKS, {"Foo"}));
    ASSERT_NO_FATAL_FAILURE(game.AddProposed(DATA_KIND_CARS, {"Nova"}));
    ASSERT_EQ(Install(DATA_KIND_TRACKS), RESULT_OK);
    ASSERT_EQ(Install(DATA_KIND_CARS), RESULT_OK);
    ExpectInstalled(DATA_KIND_TRACKS, "Foo", true);
    ExpectInstalled(DATA_KIND_CARS, "Nova", true);
}

TEST_F(InstallTest, CarsTakeFourStepsAndFourPausesAndOnlyVoiture2IsWritten) {
    game.WriteAddedCarList({"Tolva", "Alpha"});
    game.AddDiscCar("Nova");
    game.AddDiscCar("Orca");
    ASSERT_NO_FATAL_FAILURE(game.StartUp());
    const Bytes baseList = ReadFile(game.BaseCarListHost());
    ASSERT_NO_FATAL_FAILURE(game.AddProposed(DATA_KIND_CARS, {"Nova", "Orca"}));

    ASSERT_EQ(Install(DATA_KIND_CARS), RESULT_OK);
    std::vector<std::string> expected = EntryLines(DATA_KIND_CARS, "Nova");
    const auto second = EntryLines(DATA_KIND_CARS, "Orca");
    expected.insert(expected.end(), second.begin(), second.end());
    ASSERT_GE(game.journal.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(game.journal.begin(),
                                       game.journal.begin() + static_cast<long>(expected.size())),
              expected);
    EXPECT_EQ(game.ui.steps, 8);
    EXPECT_EQ(game.ui.pauses, std::vector<int>(8, 40));
    ExpectInstalled(DATA_KIND_CARS, "Nova");
    ExpectInstalled(DATA_KIND_CARS, "Orca");
    EXPECT_EQ(state.PresentCarFlags[9], PRESENT_INSTALLED);
    EXPECT_EQ(state.PresentCarFlags[10], PRESENT_INSTALLED);
    ExpectListWrittenFromWorkList(
        DATA_KIND_CARS, ListFile(GameFixture::CarRecordsFor({"Tolva", "Alpha", "Nova", "Orca"})));
    EXPECT_EQ(ReadFile(game.BaseCarListHost()), baseList);
}

TEST_F(InstallTest, ExistingGameFilesAreReplacedOnlyOnYesAndAllEndWritable) {
    game.AddDiscTrack("Foo");
    // The disc is read-only; its files must not stay read-only in the game.
    test::MakeReadOnly(game.DiscFileHost(DATA_KIND_TRACKS, "Foo", "Foo.meg"));
    const std::string oldBl3 = game.GameFileHost(FOLDER_CIRCUITS, "Foo.bl3");
    const std::string oldImg = game.GameFileHost(FOLDER_MIMG, "Foo.img");
    const std::string oldBrt = game.GameFileHost(FOLDER_RECORDS, "Foo.brt");
    for (const std::string& path : {oldBl3, oldImg, oldBrt}) {
        test::WriteFile(path, "old");
    }
    test::MakeReadOnly(oldImg);
    test::MakeReadOnly(oldBrt);
    test::SetLocalWriteTime(game.DiscFileHost(DATA_KIND_TRACKS, "Foo", "Foo.bl3"), 1997, 11, 3, 9,
                            5, 3);
    test::SetLocalWriteTime(oldBl3, 2003, 12, 24, 23, 59, 58);
    ASSERT_NO_FATAL_FAILURE(game.StartUp());
    ASSERT_NO_FATAL_FAILURE(game.AddProposed(DATA_KIND_TRACKS, {"Foo"}));

    game.ui.answers = {IDYES, IDNO};
    ASSERT_EQ(Install(DATA_KIND_TRACKS), RESULT_OK);
    ASSERT_EQ(game.ui.boxes.size(), 2u); // bl3 and img; the brt file is never asked about
    EXPECT_EQ(game.ui.boxes[0].text,
              "File \"Foo.bl3\" already exists. Would you like to replace\n\n"
              "\tNew Proposed \"Foo.bl3\" last modified 9:5:3, 11/3/1997\n\n\t\tby\n\n"
              "\tAlready present \"Foo.bl3\" last modified 23:59:58, 12/24/2003 ?");
    EXPECT_EQ(game.ui.boxes[1].caption, "File in copy");
    EXPECT_NE(game.ui.boxes[1].text.find("\"Foo.img\""), std::string::npos);
    EXPECT_EQ(ReadFile(oldBl3), GameFixture::DiscContent("Foo", "Foo.bl3"));
    EXPECT_EQ(ReadFile(oldImg), test::AsBytes("old"));
    EXPECT_EQ(ReadFile(oldBrt), test::AsBytes("old"));
    EXPECT_EQ(state.PresentTrackFlags[16], PRESENT_INSTALLED);
    for (const std::string& file : InstalledFiles(DATA_KIND_TRACKS, "Foo", false)) {
        EXPECT_EQ(test::PermissionsOf(game.GameFileHost(GameFixture::GameFolderOf(file), file)),
                  OrdinaryPermissions())
            << file;
    }
}

TEST_F(InstallTest, TrackWithAMissingFileLeavesThePresentSetAndTheWorkList) {
    for (const char* name : {"Alpha", "Bravo", "Charlie"}) {
        game.AddDiscTrack(name);
    }
    ASSERT_NO_FATAL_FAILURE(game.StartUp());
    ASSERT_NO_FATAL_FAILURE(game.AddProposed(DATA_KIND_TRACKS, {"Alpha", "Bravo", "Charlie"}));
    std::remove(game.DiscFileHost(DATA_KIND_TRACKS, "Bravo", "Bravo.img").c_str());

    ASSERT_EQ(Install(DATA_KIND_TRACKS), RESULT_OK);
    ASSERT_EQ(game.ui.boxes.size(), 1u);
    EXPECT_EQ(game.ui.boxes[0].text, "File '" +
                                         game.SourcePath(DATA_KIND_TRACKS, "Bravo", "Bravo.img") +
                                         "' not found, track 'Bravo' won't be add");
    EXPECT_EQ(state.PresentTrackTotal, 18);
    EXPECT_EQ(state.PresentTrackNames[17], "Charlie");
    EXPECT_EQ(state.PresentTrackFlags[17], PRESENT_INSTALLED);
    EXPECT_EQ(state.NewTrackTotal, 3);
    EXPECT_EQ(game.ui.steps, 12);
    EXPECT_FALSE(test::FileExists(game.GameFileHost(FOLDER_CIRCUITS, "Bravo.bl3")));
    ExpectInstalled(DATA_KIND_TRACKS, "Charlie");
    // Bravo's record left the work list as a deletion does: Charlie moved down and the file
    // kept its length, its last slot still holding Charlie's record beyond the count.
    ExpectListWrittenFromWorkList(
        DATA_KIND_TRACKS,
        ListFile(game.TrackRecordsFor(GameFixture::BaseTracksAnd({"Alpha", "Charlie", "Charlie"})),
                 18));
}

TEST_F(InstallTest, CarWithAMissingFileLeavesTheWorkListByName) {
    // The added-car list starts with a base car, so records and slots are not in step.
    game.WriteAddedCarList({"Tolva", "Alpha"});
    game.AddDiscCar("Nova");
    game.AddDiscCar("Orca");
    ASSERT_NO_FATAL_FAILURE(game.StartUp());
    ASSERT_NO_FATAL_FAILURE(game.AddProposed(DATA_KIND_CARS, {"Nova", "Orca"}));
    std::remove(game.DiscFileHost(DATA_KIND_CARS, "Nova", "Nova.meg").c_str());

    ASSERT_EQ(Install(DATA_KIND_CARS), RESULT_OK);
    EXPECT_EQ(game.ui.boxes.size(), 1u);
    EXPECT_EQ(state.PresentCarTotal, 2);
    EXPECT_EQ(state.PresentCarNames[9], "Orca");
    EXPECT_EQ(game.ui.steps, 4);
    ExpectListWrittenFromWorkList(
        DATA_KIND_CARS,
        ListFile(GameFixture::CarRecordsFor({"Tolva", "Alpha", "Orca", "Orca"}), 3));
}

TEST_F(InstallTest, InstalledEntriesArePassedOver) {
    game.AddDiscTrack("Foo");
    game.AddDiscTrack("Bar");
    ASSERT_NO_FATAL_FAILURE(game.StartUp());
    ASSERT_NO_FATAL_FAILURE(game.AddProposed(DATA_KIND_TRACKS, {"Foo"}));
    ASSERT_EQ(Install(DATA_KIND_TRACKS), RESULT_OK);
    ASSERT_NO_FATAL_FAILURE(game.AddProposed(DATA_KIND_TRACKS, {"Bar"}));
    ASSERT_EQ(Install(DATA_KIND_TRACKS), RESULT_OK);
    for (const std::string& line : JournalLines(game.journal, "copy")) {
        EXPECT_EQ(line.find("Foo"), std::string::npos) << line;
    }
    EXPECT_EQ(game.ui.steps, 6);
    ExpectListWrittenFromWorkList(
        DATA_KIND_TRACKS,
        ListFile(game.TrackRecordsFor(GameFixture::BaseTracksAnd({"Foo", "Bar"}))));
}

TEST_F(InstallTest, MissingRessonFolderIsCreatedBeforeTheMegFile) {
    game.AddDiscCar("Nova");
    ASSERT_NO_FATAL_FAILURE(game.StartUp());
    ASSERT_NO_FATAL_FAILURE(game.AddProposed(DATA_KIND_CARS, {"Nova"}));
    std::filesystem::remove(game.GameFolderHost(FOLDER_RESSON));
    ASSERT_EQ(Install(DATA_KIND_CARS), RESULT_OK);
    ExpectInstalled(DATA_KIND_CARS, "Nova");
    EXPECT_EQ(test::ListNames(game.GameFolderHost(FOLDER_RESSON)),
              std::vector<std::string>{"Nova.meg"});
}

TEST(InstallFolderCase, ShortRecordGameWithFoldersOfAnotherCaseAndFixMegInItsResson) {
    GameFixture game({.gameVersion = 1, .gameFolderCase = test::NameCase::Upper});
    game.AddDiscTrack("foo", "FOO", test::NameCase::Upper);
    test::WriteFile(game.GameFileHost(FOLDER_RESSON, "FIX.meg"), "marker");
    ASSERT_NO_FATAL_FAILURE(game.StartUp());
    ASSERT_NO_FATAL_FAILURE(game.AddProposed(DATA_KIND_TRACKS, {"Foo"}));
    PathText argument;
    ASSERT_EQ(InstallAddedTracks(game.session, argument), RESULT_OK);
    EXPECT_TRUE(JournalLines(game.journal, "mkdir").empty());
    EXPECT_EQ(ReadFile(game.GameFileHost(FOLDER_RESSON, "Foo.meg")),
              GameFixture::DiscContent("foo", "foo.meg"));
    EXPECT_EQ(ReadFile(game.GameFileHost(FOLDER_RECORDS, "-oo.brt")),
              GameFixture::DiscContent("foo", "-oo.brt"));
    EXPECT_EQ(ReadFile(game.TrackListHost()),
              ListFile(game.TrackRecordsFor(GameFixture::BaseTracksAnd({"FOO"}))));
}

TEST_F(InstallTest, ReadOnlyGameListIsNotWrittenAndNamedInTheFailure) {
    game.AddDiscTrack("Foo");
    game.AddDiscCar("Nova");
    ASSERT_NO_FATAL_FAILURE(game.StartUp());
    ASSERT_NO_FATAL_FAILURE(game.AddProposed(DATA_KIND_TRACKS, {"Foo"}));
    ASSERT_NO_FATAL_FAILURE(game.AddProposed(DATA_KIND_CARS, {"Nova"}));
    const Bytes trackList = ReadFile(game.TrackListHost());
    const Bytes carList = ReadFile(game.AddedCarListHost());
    test::MakeReadOnly(game.TrackListHost());
    test::MakeReadOnly(game.AddedCarListHost());

    EXPECT_EQ(Install(DATA_KIND_TRACKS), ERR_UPDATE_FAILED);
    EXPECT_EQ(argument, "C:\\ZAV\\Data\\Binary\\Scripts\\circuits.bin");
    EXPECT_EQ(Install(DATA_KIND_CARS), ERR_UPDATE_FAILED);
    EXPECT_EQ(argument, "C:\\ZAV\\Data\\Binary\\Scripts\\voiture2.bin");
    EXPECT_EQ(ReadFile(game.TrackListHost()), trackList);
    EXPECT_EQ(ReadFile(game.AddedCarListHost()), carList);
    EXPECT_EQ(game.ScriptsFolderNames(), kScriptsFiles);
    // The data files stay installed.
    EXPECT_EQ(state.PresentTrackFlags[16], PRESENT_INSTALLED);
    ExpectInstalled(DATA_KIND_TRACKS, "Foo");
}

TEST_F(InstallTest, FailedListWriteLeavesNoCopyBesideItEvenFromAReadOnlyWorkList) {
    ASSERT_NO_FATAL_FAILURE(game.StartUp());
    test::MakeReadOnly(game.TrackWorkListHost());
    test::MakeReadOnly(game.TrackListHost());
    EXPECT_EQ(Install(DATA_KIND_TRACKS), ERR_UPDATE_FAILED);
    EXPECT_EQ(game.ScriptsFolderNames(), kScriptsFiles);
}

TEST_F(InstallTest, UnreadableStatusEndsTheCommandWithTheGameListUntouched) {
    for (const char* name : {"Alpha", "Bravo", "Charlie"}) {
        game.AddDiscTrack(name);
    }
    ASSERT_NO_FATAL_FAILURE(game.StartUp());
    ASSERT_NO_FATAL_FAILURE(game.AddProposed(DATA_KIND_TRACKS, {"Alpha", "Bravo", "Charlie"}));
    const Bytes trackList = ReadFile(game.TrackListHost());
    // A folder where Bravo's track file should go: the copy fails and its status is no file's.
    test::MakeFolders(game.GameFileHost(FOLDER_CIRCUITS, "Bravo.bl3"));

    EXPECT_EQ(Install(DATA_KIND_TRACKS), RESULT_FILE_ERROR);
    EXPECT_EQ(argument, "C:\\ZAV\\Data\\Binary\\Circuits\\Bravo.bl3");
    EXPECT_EQ(state.PresentTrackFlags[16], PRESENT_INSTALLED);
    EXPECT_EQ(state.PresentTrackFlags[17], PRESENT_ADDED);
    EXPECT_EQ(state.PresentTrackFlags[18], PRESENT_ADDED);
    ExpectInstalled(DATA_KIND_TRACKS, "Alpha");
    EXPECT_FALSE(test::FileExists(game.GameFileHost(FOLDER_CIRCUITS, "Charlie.bl3")));
    EXPECT_TRUE(game.ui.boxes.empty());
    EXPECT_EQ(game.ui.steps, 7);
    EXPECT_EQ(ReadFile(game.TrackListHost()), trackList);
    EXPECT_EQ(game.ScriptsFolderNames(), kScriptsFiles);
}

TEST_F(InstallTest, MissingDataFolderEndsTheCommandNamingTheFile) {
    game.AddDiscCar("Nova");
    ASSERT_NO_FATAL_FAILURE(game.StartUp());
    ASSERT_NO_FATAL_FAILURE(game.AddProposed(DATA_KIND_CARS, {"Nova"}));
    std::filesystem::remove(game.GameFolderHost(FOLDER_MIMG));
    EXPECT_EQ(Install(DATA_KIND_CARS), RESULT_FILE_ERROR);
    EXPECT_EQ(argument, "C:\\ZAV\\Data\\Binary\\Mimg\\Nova.img");
    EXPECT_FALSE(test::FileExists(game.GameFolderHost(FOLDER_MIMG)));
    EXPECT_EQ(state.PresentCarFlags[8], PRESENT_ADDED);
}

TEST_F(InstallTest, AddedNameThatCouldLeadElsewhereIsDroppedUntouched) {
    // Bait where "..\evil" would lead from the disc's circuits folder.
    for (const char* file : {"evil.bl3", "evil.img", "evil.meg", "evil.brt", "-.brt"}) {
        test::WriteFile(game.DiscHost() + "/" + file, "bait");
    }
    ASSERT_NO_FATAL_FAILURE(game.StartUp());
    state.PresentTrackNames[16].Assign("..\\evil");
    state.PresentTrackFlags[16] = PRESENT_ADDED;
    state.PresentTrackTotal = 17;
    test::WriteFile(game.TrackWorkListHost(),
                    ListFile(game.TrackRecordsFor(GameFixture::BaseTracksAnd({"..\\evil"}))));

    ASSERT_EQ(Install(DATA_KIND_TRACKS), RESULT_OK);
    EXPECT_EQ(state.PresentTrackTotal, 16);
    EXPECT_EQ(game.ui.boxes.size(), 1u);
    EXPECT_TRUE(JournalLines(game.journal, "copy " + game.DiscHost()).empty());
    EXPECT_TRUE(FilesNamedLike(game.GameFolderHost(FOLDER_GAME_ROOT), "evil").empty());
    ExpectListWrittenFromWorkList(
        DATA_KIND_TRACKS,
        ListFile(game.TrackRecordsFor(GameFixture::BaseTracksAnd({"..\\evil"})), 16));
}

} // namespace
} // namespace zav
