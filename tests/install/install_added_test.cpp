// "Install New": the added entries' files copied into the game and the work list over its list.
// The game's list bytes after a plain install are checked by the fault-injection sweep.
#include "install/install_added.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "analysis/new_data_scan.h"
#include "settings/error_report.h"
#include "support/game_fixture.h"

namespace zav {
namespace {

using test::Bytes;
using test::GameFixture;
using test::ReadFile;

constexpr DataKind T = DataKind::Tracks;
constexpr DataKind C = DataKind::Cars;

// The files an install copies: the track or car file of the game's variant, img, meg, brt files.
std::vector<std::string> InstalledFiles(DataKind kind, const std::string& name, bool fast) {
    std::vector<std::string> files = GameFixture::EntryFiles(kind, name);
    files.erase(files.begin() + (fast ? 0 : 1));
    return files;
}

class InstallTest : public ::testing::Test {
protected:
    std::int32_t Install(DataKind kind) {
        return kind == C ? InstallAddedCars(game.session, argument)
                         : InstallAddedTracks(game.session, argument);
    }
    // Puts the entries on the disc, starts up and adds them to the work lists.
    void Prepare(const std::vector<std::string>& tracks, const std::vector<std::string>& cars) {
        for (const auto& [kind, names] : {std::pair{T, &tracks}, {C, &cars}}) {
            for (const std::string& name : *names) {
                game.AddDisc(kind, name);
            }
        }
        ASSERT_NO_FATAL_FAILURE(game.StartUp());
        ASSERT_NO_FATAL_FAILURE(game.AddProposed(T, tracks));
        ASSERT_NO_FATAL_FAILURE(game.AddProposed(C, cars));
    }
    std::string GameFile(const std::string& file) const {
        return game.GameFileHost(GameFixture::GameFolderOf(file), file);
    }
    // The entry's files are in the game with the disc's bytes; the other variant is not.
    void ExpectInstalled(DataKind kind, const std::string& name, bool fast = false) {
        for (const std::string& file : InstalledFiles(kind, name, fast)) {
            EXPECT_EQ(ReadFile(GameFile(file)), GameFixture::DiscContent(name, file)) << file;
        }
        EXPECT_FALSE(test::FileExists(GameFile(InstalledFiles(kind, name, !fast)[0])));
    }

    GameFixture game;
    AnalysisState& state = game.state;
    PathText argument;
};

TEST_F(InstallTest, EntriesAreCopiedStepByStep) {
    ASSERT_NO_FATAL_FAILURE(Prepare({"Foo", "X"}, {"Nova", "Orca"}));
    game.AddDisc(T, "Bar");
    ASSERT_EQ(Install(T), RESULT_OK);
    EXPECT_EQ(game.ui.steps, 12);
    EXPECT_EQ(game.ui.pauses, (std::vector<int>{40, 40}));
    EXPECT_TRUE(game.ui.boxes.empty());
    ExpectInstalled(T, "Foo");
    ExpectInstalled(T, "X"); // its record files are X.brt and -.brt
    EXPECT_EQ(state.PresentTrackFlags[17], PRESENT_INSTALLED);

    // Installed entries are passed over by the next install; the accelerated game gets bl4/bv4.
    state.AcceleratedVersionPresent = 1;
    ASSERT_EQ(ScanNewData(game.session, T), RESULT_OK);
    ASSERT_NO_FATAL_FAILURE(game.AddProposed(T, {"Bar"}));
    ASSERT_EQ(Install(T), RESULT_OK);
    EXPECT_EQ(game.ui.steps, 6);
    ExpectInstalled(T, "Bar", true);

    // Cars take four steps and pauses each.
    game.ForgetUi();
    ASSERT_EQ(Install(C), RESULT_OK);
    EXPECT_EQ(game.ui.steps, 8);
    EXPECT_EQ(game.ui.pauses, std::vector<int>(8, 40));
    ExpectInstalled(C, "Nova", true);
    ExpectInstalled(C, "Orca", true);
    EXPECT_EQ(state.PresentCarFlags[9], PRESENT_INSTALLED);
}

TEST_F(InstallTest, ExistingGameFilesAreReplacedOnlyOnYesAndAllEndWritable) {
    game.AddDisc(T, "Foo");
    // The disc is read-only; its files must not stay read-only in the game.
    test::MakeReadOnly(game.DiscFileHost(T, "Foo", "Foo.meg"));
    for (const char* file : {"Foo.bl3", "Foo.img", "Foo.brt"}) {
        test::WriteFile(GameFile(file), "old");
    }
    test::MakeReadOnly(GameFile("Foo.img"));
    test::MakeReadOnly(GameFile("Foo.brt"));
    test::SetLocalWriteTime(game.DiscFileHost(T, "Foo", "Foo.bl3"), "1997-11-03 09:05:03");
    test::SetLocalWriteTime(GameFile("Foo.bl3"), "2000-01-01 00:00:00");
    ASSERT_NO_FATAL_FAILURE(game.StartUp());
    ASSERT_NO_FATAL_FAILURE(game.AddProposed(T, {"Foo"}));

    game.ui.answers = {IDYES, IDNO};
    ASSERT_EQ(Install(T), RESULT_OK);
    ASSERT_EQ(game.ui.boxes.size(), 2u); // bl3 and img; the brt file is never asked about
    EXPECT_EQ(game.ui.boxes[0].text,
              "File \"Foo.bl3\" already exists. Would you like to replace\n\n"
              "\tNew Proposed \"Foo.bl3\" last modified 9:5:3, 11/3/1997\n\n\t\tby\n\n"
              "\tAlready present \"Foo.bl3\" last modified 0:0:0, 1/1/2000 ?");
    EXPECT_EQ(game.ui.boxes[0].caption, "File in copy");
    EXPECT_EQ(game.ui.boxes[0].style, MB_YESNO);
    EXPECT_NE(game.ui.boxes[1].text.find("\"Foo.img\""), std::string::npos);
    EXPECT_EQ(ReadFile(GameFile("Foo.bl3")), GameFixture::DiscContent("Foo", "Foo.bl3"));
    EXPECT_EQ(ReadFile(GameFile("Foo.img")), test::AsBytes("old"));
    EXPECT_EQ(ReadFile(GameFile("Foo.brt")), test::AsBytes("old"));
    EXPECT_EQ(state.PresentTrackFlags[16], PRESENT_INSTALLED);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    for (const std::string& file : InstalledFiles(T, "Foo", false)) {
        EXPECT_EQ(test::PermissionsOf(GameFile(file)), 0666u & ~mask) << file;
    }
}

TEST_F(InstallTest, EntryWithAMissingFileLeavesTheWorkListAsADeletionDoes) {
    // The added-car list starts with a base car, so car records and slots are not in step.
    test::WriteFile(game.Script("voiture2.bin"), GameFixture::CarList({"Tolva", "Alpha"}));
    ASSERT_NO_FATAL_FAILURE(Prepare({"Alpha", "Bravo", "Charlie"}, {"Nova", "Orca"}));
    std::remove(game.DiscFileHost(T, "Bravo", "Bravo.img").c_str());
    std::remove(game.DiscFileHost(C, "Nova", "Nova.meg").c_str());
    ASSERT_EQ(Install(T), RESULT_OK);
    ASSERT_EQ(game.ui.boxes.size(), 1u);
    EXPECT_EQ(game.ui.boxes[0].text, "File '" + game.SourcePath(T, "Bravo", "Bravo.img") +
                                         "' not found, track 'Bravo' won't be add");
    EXPECT_EQ(state.PresentTrackTotal, 18);
    EXPECT_EQ(state.PresentTrackNames[17], "Charlie");
    EXPECT_EQ(state.PresentTrackFlags[17], PRESENT_INSTALLED);
    EXPECT_EQ(game.ui.steps, 12);
    EXPECT_FALSE(test::FileExists(GameFile("Bravo.bl3")));
    ExpectInstalled(T, "Charlie");
    // Charlie moved down and the file kept its length, its last slot still holding Charlie.
    const Bytes tracks =
        game.TrackList(GameFixture::BaseTracksAnd({"Alpha", "Charlie", "Charlie"}), 18);
    EXPECT_EQ(ReadFile(game.Script("circuits.bin")), tracks);
    EXPECT_EQ(ReadFile(game.Script("circuits.sav")), tracks);

    game.ForgetUi();
    ASSERT_EQ(Install(C), RESULT_OK);
    EXPECT_EQ(game.ui.boxes.size(), 1u);
    EXPECT_EQ(state.PresentCarTotal, 2);
    EXPECT_EQ(state.PresentCarNames[9], "Orca");
    EXPECT_EQ(game.ui.steps, 4);
    EXPECT_EQ(ReadFile(game.Script("voiture2.bin")),
              GameFixture::CarList({"Tolva", "Alpha", "Orca", "Orca"}, 3));
}

TEST(InstallFolderCase, ShortRecordGameWithFoldersOfAnotherCase) {
    GameFixture game({.gameVersion = 1, .upperFolders = true});
    game.AddDisc(T, "foo", "FOO", true);
    ASSERT_NO_FATAL_FAILURE(game.StartUp());
    ASSERT_NO_FATAL_FAILURE(game.AddProposed(T, {"Foo"}));
    PathText argument;
    ASSERT_EQ(InstallAddedTracks(game.session, argument), RESULT_OK);
    // The existing RESSON folder is used, not a second "Resson" beside it.
    EXPECT_EQ(test::ListNames(game.GameFolderHost(FOLDER_MIMG) + "/.."),
              (std::vector<std::string>{"CIRCUITS", "MIMG", "RESSON", "SCRIPTS", "VOITURES"}));
    EXPECT_EQ(ReadFile(game.GameFileHost(FOLDER_RESSON, "Foo.meg")),
              GameFixture::DiscContent("foo", "foo.meg"));
    EXPECT_EQ(ReadFile(game.GameFileHost(FOLDER_RECORDS, "-oo.brt")),
              GameFixture::DiscContent("foo", "-oo.brt"));
}

TEST_F(InstallTest, FailuresEndTheCommandNamingTheFileOrTheGameList) {
    ASSERT_NO_FATAL_FAILURE(Prepare({"Alpha", "Bravo", "Charlie"}, {"Nova"}));
    const Bytes trackList = ReadFile(game.Script("circuits.bin"));
    const Bytes carList = ReadFile(game.Script("voiture2.bin"));
    // A folder where Bravo's track file should go: the copy fails and its status is no file's.
    test::MakeFolders(GameFile("Bravo.bl3"));
    EXPECT_EQ(Install(T), RESULT_FILE_ERROR);
    EXPECT_EQ(argument, "C:\\ZAV\\Data\\Binary\\Circuits\\Bravo.bl3");
    EXPECT_EQ(state.PresentTrackFlags[16], PRESENT_INSTALLED);
    EXPECT_EQ(state.PresentTrackFlags[17], PRESENT_ADDED);
    EXPECT_EQ(state.PresentTrackFlags[18], PRESENT_ADDED);
    ExpectInstalled(T, "Alpha");
    EXPECT_FALSE(test::FileExists(GameFile("Charlie.bl3")));
    EXPECT_TRUE(game.ui.boxes.empty());
    EXPECT_EQ(game.ui.steps, 7);

    // Read-only lists are not written and the game's is named; the data files stay installed.
    std::filesystem::remove(GameFile("Bravo.bl3"));
    for (const char* file : {"circuits.bin", "voiture2.bin", "circuits.sav"}) {
        test::MakeReadOnly(game.Script(file)); // a read-only work list leaves no copy either
    }
    EXPECT_EQ(Install(T), ERR_UPDATE_FAILED);
    EXPECT_EQ(argument, "C:\\ZAV\\Data\\Binary\\Scripts\\circuits.bin");
    EXPECT_EQ(ReadFile(game.Script("circuits.bin")), trackList);
    EXPECT_EQ(test::ListNames(game.GameFolderHost(FOLDER_SCRIPTS)),
              (std::vector<std::string>{"circuits.bin", "circuits.sav", "voiture2.bin",
                                        "voiture2.sav", "voitures.bin"}));
    EXPECT_EQ(state.PresentTrackFlags[18], PRESENT_INSTALLED);
    ExpectInstalled(T, "Charlie");

    // A missing Mimg folder is not made anew; a missing Resson folder is.
    std::filesystem::remove_all(game.GameFolderHost(FOLDER_MIMG));
    std::filesystem::remove_all(game.GameFolderHost(FOLDER_RESSON));
    EXPECT_EQ(Install(C), RESULT_FILE_ERROR);
    EXPECT_EQ(argument, "C:\\ZAV\\Data\\Binary\\Mimg\\Nova.img");
    EXPECT_FALSE(test::FileExists(game.GameFolderHost(FOLDER_MIMG)));
    EXPECT_EQ(state.PresentCarFlags[8], PRESENT_ADDED);
    test::MakeFolders(game.GameFolderHost(FOLDER_MIMG));
    EXPECT_EQ(Install(C), ERR_UPDATE_FAILED);
    EXPECT_EQ(argument, "C:\\ZAV\\Data\\Binary\\Scripts\\voiture2.bin");
    EXPECT_EQ(ReadFile(game.Script("voiture2.bin")), carList);
    ExpectInstalled(C, "Nova");
}

} // namespace
} // namespace zav
