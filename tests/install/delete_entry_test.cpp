// "Trash": a further track or car removed from the game's list, its data files and the tables.
#include "install/delete_entry.h"

#include <gtest/gtest.h>

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

class DeleteTest : public ::testing::Test {
protected:
    // The game's data files of a track or car, as an earlier install left them.
    void PutGameFiles(std::int32_t kind, const std::string& hostName) {
        const auto files = kind == DATA_KIND_CARS ? GameFixture::CarFileNames(hostName)
                                                  : GameFixture::TrackFileNames(hostName);
        for (const std::string& file : files) {
            test::WriteFile(game.GameFileHost(GameFixture::GameFolderOf(file), file), file);
        }
    }

    bool GameFileThere(std::int32_t folder, const std::string& file) const {
        return test::FileExists(game.GameFileHost(folder, file));
    }

    // The journal without the list replacement's own lines: steps, pauses and deletions.
    std::vector<std::string> StepsAndDeletions() const {
        std::vector<std::string> lines;
        for (const std::string& line : game.journal) {
            if (line == "step" || line.rfind("pause", 0) == 0 || line.rfind("delete", 0) == 0) {
                lines.push_back(line);
            }
        }
        return lines;
    }

    GameFixture game;
    AnalysisState& state = game.state;
};

TEST_F(DeleteTest, TrackRecordLeavesTheListWhichKeepsItsLength) {
    game.WriteTrackList(GameFixture::BaseTracksAnd({"Foo", "Bar"}));
    PutGameFiles(DATA_KIND_TRACKS, "Foo");
    PutGameFiles(DATA_KIND_TRACKS, "Bar");
    ASSERT_NO_FATAL_FAILURE(game.StartUp());
    const std::size_t length = ReadFile(game.TrackListHost()).size();

    ASSERT_EQ(DeleteTrack(game.session, 16), RESULT_OK);
    const Bytes expected =
        ListFile(game.TrackRecordsFor(GameFixture::BaseTracksAnd({"Bar", "Bar"})), 17);
    ASSERT_EQ(expected.size(), length);
    EXPECT_EQ(ReadFile(game.TrackListHost()), expected);
    EXPECT_EQ(ReadFile(game.TrackWorkListHost()), expected);
    EXPECT_EQ(game.ScriptsFolderNames(), kScriptsFiles);

    const auto gamePath = [](std::int32_t folder, const char* file) {
        return "delete " + GameFixture::GameFilePath(folder, file);
    };
    EXPECT_EQ(StepsAndDeletions(), (std::vector<std::string>{"step",
                                                             "pause 40",
                                                             "step",
                                                             "pause 40",
                                                             gamePath(FOLDER_CIRCUITS, "Foo.bl3"),
                                                             "step",
                                                             "pause 40",
                                                             gamePath(FOLDER_MIMG, "Foo.img"),
                                                             "step",
                                                             "pause 40",
                                                             gamePath(FOLDER_RESSON, "Foo.meg"),
                                                             "step",
                                                             "pause 40",
                                                             gamePath(FOLDER_RECORDS, "Foo.brt"),
                                                             "step",
                                                             "pause 40",
                                                             gamePath(FOLDER_RECORDS, "-oo.brt"),
                                                             "step",
                                                             "pause 40",
                                                             "step",
                                                             "pause 40"}));
    // Foo.bl4 belongs to the accelerated game only; Bar's files stay.
    EXPECT_EQ(test::ListNames(game.GameFolderHost(FOLDER_CIRCUITS)),
              (std::vector<std::string>{"Bar.bl3", "Bar.bl4", "Foo.bl4"}));
    EXPECT_EQ(test::ListNames(game.GameFolderHost(FOLDER_MIMG)),
              std::vector<std::string>{"Bar.img"});
    EXPECT_EQ(test::ListNames(game.GameFolderHost(FOLDER_RESSON)),
              std::vector<std::string>{"Bar.meg"});
    EXPECT_EQ(test::ListNames(game.GameFolderHost(FOLDER_RECORDS)),
              (std::vector<std::string>{"-ar.brt", "Bar.brt"}));

    EXPECT_EQ(state.PresentTrackTotal, 17);
    EXPECT_EQ(state.PresentTrackNames[16], "Bar");
    EXPECT_EQ(state.PresentTrackFlags[16], PRESENT_INSTALLED);
    EXPECT_TRUE(state.PresentTrackNames[17].empty());
    EXPECT_EQ(state.PresentTrackFlags[17], PRESENT_BASE);
}

TEST_F(DeleteTest, GameListIsEditedOnACopyRenamedOverIt) {
    game.WriteTrackList(GameFixture::BaseTracksAnd({"Foo"}));
    ASSERT_NO_FATAL_FAILURE(game.StartUp());
    ASSERT_EQ(DeleteTrack(game.session, 16), RESULT_OK);
    const std::string list = "C:\\ZAV\\Data\\Binary\\Scripts\\circuits.bin";
    const auto copies = JournalLines(game.journal, "copy " + list + " -> ");
    ASSERT_EQ(copies.size(), 1u);
    const std::string sibling = copies[0].substr(("copy " + list + " -> ").size());
    EXPECT_EQ(JournalLines(game.journal, "sync"), std::vector<std::string>{"sync " + sibling});
    EXPECT_EQ(JournalLines(game.journal, "rename"),
              std::vector<std::string>{"rename " + sibling + " -> " + list});
    // The last further track gone: only the base tracks are left.
    EXPECT_EQ(state.PresentTrackTotal, 16);
    EXPECT_EQ(ReadFile(game.TrackListHost()),
              ListFile(game.TrackRecordsFor(GameFixture::BaseTracksAnd({"Foo"})), 16));
}

TEST_F(DeleteTest, AcceleratedGameLosesBothTrackFiles) {
    game.WriteTrackList(GameFixture::BaseTracksAnd({"Foo"}));
    PutGameFiles(DATA_KIND_TRACKS, "Foo");
    ASSERT_NO_FATAL_FAILURE(game.StartUp());
    state.AcceleratedVersionPresent = 1;
    ASSERT_EQ(DeleteTrack(game.session, 16), RESULT_OK);
    for (const int folder : {FOLDER_CIRCUITS, FOLDER_MIMG, FOLDER_RESSON, FOLDER_RECORDS}) {
        EXPECT_TRUE(test::ListNames(game.GameFolderHost(folder)).empty()) << folder;
    }
    EXPECT_EQ(game.ui.steps, 8);
}

TEST_F(DeleteTest, TrackWhoseFilesAreAlreadyGoneIsStillDeleted) {
    game.WriteTrackList(GameFixture::BaseTracksAnd({"Foo"}));
    ASSERT_NO_FATAL_FAILURE(game.StartUp());
    EXPECT_EQ(DeleteTrack(game.session, 16), RESULT_OK);
    EXPECT_EQ(game.ui.steps, 8);
}

TEST_F(DeleteTest, CarIsFoundByItsNameWhateverItsStoredCase) {
    // "élan" in the list and on disk, "Élan" in the tables.
    game.WriteAddedCarList({"Alpha", "\xE9lan", "bRAVO"});
    PutGameFiles(DATA_KIND_CARS, "\xC3\xA9lan");
    PutGameFiles(DATA_KIND_CARS, "Alpha");
    ASSERT_NO_FATAL_FAILURE(game.StartUp());
    ASSERT_EQ(state.PresentCarNames[9], "\xC9lan");
    const std::size_t length = ReadFile(game.AddedCarListHost()).size();

    ASSERT_EQ(DeleteCar(game.session, 9), RESULT_OK);
    const Bytes expected = ListFile(GameFixture::CarRecordsFor({"Alpha", "bRAVO", "bRAVO"}), 2);
    ASSERT_EQ(expected.size(), length);
    EXPECT_EQ(ReadFile(game.AddedCarListHost()), expected);
    EXPECT_EQ(ReadFile(game.CarWorkListHost()), expected);
    EXPECT_EQ(test::ListNames(game.GameFolderHost(FOLDER_VOITURES)),
              (std::vector<std::string>{"Alpha.bv3", "Alpha.bv4", "\xC3\xA9lan.bv4"}));
    EXPECT_EQ(test::ListNames(game.GameFolderHost(FOLDER_MIMG)),
              std::vector<std::string>{"Alpha.img"});
    EXPECT_EQ(test::ListNames(game.GameFolderHost(FOLDER_RESSON)),
              std::vector<std::string>{"Alpha.meg"});
    EXPECT_EQ(game.ui.steps, 6);
    EXPECT_EQ(game.ui.pauses, std::vector<int>(6, 40));
    EXPECT_EQ(state.PresentCarTotal, 2);
    EXPECT_EQ(state.PresentCarNames[9], "Bravo");
    EXPECT_TRUE(state.PresentCarNames[10].empty());
    EXPECT_EQ(state.PresentCarFlags[10], PRESENT_BASE);

    ASSERT_EQ(DeleteCar(game.session, 9), RESULT_OK);
    EXPECT_EQ(ReadFile(game.AddedCarListHost()),
              ListFile(GameFixture::CarRecordsFor({"Alpha", "bRAVO", "bRAVO"}), 1));
}

TEST_F(DeleteTest, CarOnlyInTheBaseListIsRefusedWithNothingChanged) {
    game.WriteBaseCarList({"Tolva", "Rusko", "Mervi", "Kaltun", "Zq2", "Brenik", "Ostra", "Ghost"});
    game.WriteAddedCarList({"Alpha"});
    PutGameFiles(DATA_KIND_CARS, "Ghost");
    ASSERT_NO_FATAL_FAILURE(game.StartUp());
    const Bytes addedList = ReadFile(game.AddedCarListHost());
    ASSERT_EQ(state.PresentCarNames[8], "Ghost");

    EXPECT_EQ(DeleteCar(game.session, 8), ERR_CAR_IN_BASE_LIST);
    EXPECT_EQ(ReadFile(game.AddedCarListHost()), addedList);
    EXPECT_EQ(ReadFile(game.CarWorkListHost()), addedList);
    EXPECT_EQ(game.ScriptsFolderNames(), kScriptsFiles);
    EXPECT_EQ(test::ListNames(game.GameFolderHost(FOLDER_VOITURES)),
              (std::vector<std::string>{"Ghost.bv3", "Ghost.bv4"}));
    EXPECT_TRUE(GameFileThere(FOLDER_MIMG, "Ghost.img"));
    EXPECT_TRUE(GameFileThere(FOLDER_RESSON, "Ghost.meg"));
    EXPECT_EQ(state.PresentCarTotal, 2);
    EXPECT_EQ(state.PresentCarNames[8], "Ghost");
}

TEST_F(DeleteTest, BaseSlotsAreRefusedUntouched) {
    ASSERT_NO_FATAL_FAILURE(game.StartUp());
    EXPECT_EQ(DeleteTrack(game.session, 15), ERR_UNREFERENCED);
    EXPECT_EQ(DeleteCar(game.session, 7), ERR_UNREFERENCED);
    EXPECT_TRUE(game.journal.empty());
    EXPECT_EQ(state.PresentTrackTotal, 16);
}

TEST_F(DeleteTest, TrackListChangedSinceTheAnalysisIsRefused) {
    game.WriteTrackList(GameFixture::BaseTracksAnd({"Foo", "Bar"}));
    PutGameFiles(DATA_KIND_TRACKS, "Foo");
    ASSERT_NO_FATAL_FAILURE(game.StartUp());
    game.WriteTrackList(GameFixture::BaseTracksAnd({"Other", "Foo", "Bar"}));
    const Bytes changed = ReadFile(game.TrackListHost());

    EXPECT_EQ(DeleteTrack(game.session, 16), ERR_UPDATE_FAILED);
    EXPECT_EQ(ReadFile(game.TrackListHost()), changed);
    EXPECT_TRUE(GameFileThere(FOLDER_CIRCUITS, "Foo.bl3"));
    EXPECT_EQ(state.PresentTrackTotal, 18);
    EXPECT_EQ(game.ScriptsFolderNames(), kScriptsFiles);
}

TEST_F(DeleteTest, ReadOnlyGameListsAreRefusedWithoutALeftoverCopy) {
    game.WriteTrackList(GameFixture::BaseTracksAnd({"Foo"}));
    game.WriteAddedCarList({"Alpha"});
    PutGameFiles(DATA_KIND_TRACKS, "Foo");
    PutGameFiles(DATA_KIND_CARS, "Alpha");
    ASSERT_NO_FATAL_FAILURE(game.StartUp());
    test::MakeReadOnly(game.TrackListHost());
    test::MakeReadOnly(game.AddedCarListHost());
    const Bytes trackList = ReadFile(game.TrackListHost());
    const Bytes carList = ReadFile(game.AddedCarListHost());

    EXPECT_EQ(DeleteTrack(game.session, 16), ERR_UPDATE_FAILED);
    EXPECT_EQ(DeleteCar(game.session, 8), ERR_UPDATE_FAILED);
    EXPECT_EQ(ReadFile(game.TrackListHost()), trackList);
    EXPECT_EQ(ReadFile(game.AddedCarListHost()), carList);
    EXPECT_EQ(game.ScriptsFolderNames(), kScriptsFiles);
    EXPECT_TRUE(GameFileThere(FOLDER_CIRCUITS, "Foo.bl3"));
    EXPECT_TRUE(GameFileThere(FOLDER_VOITURES, "Alpha.bv3"));
    EXPECT_EQ(state.PresentTrackTotal, 17);
    EXPECT_EQ(state.PresentCarTotal, 1);
}

TEST_F(DeleteTest, WorkListThatCannotBeRefreshedStopsBeforeTheDataFiles) {
    game.WriteTrackList(GameFixture::BaseTracksAnd({"Foo"}));
    PutGameFiles(DATA_KIND_TRACKS, "Foo");
    ASSERT_NO_FATAL_FAILURE(game.StartUp());
    const Bytes workList = ReadFile(game.TrackWorkListHost());
    test::MakeReadOnly(game.TrackWorkListHost());

    EXPECT_EQ(DeleteTrack(game.session, 16), ERR_UPDATE_FAILED);
    // The game's list lost the record; the rest is as it was.
    EXPECT_EQ(test::GetInt32(ReadFile(game.TrackListHost()), 0), 16);
    EXPECT_EQ(ReadFile(game.TrackWorkListHost()), workList);
    EXPECT_TRUE(GameFileThere(FOLDER_CIRCUITS, "Foo.bl3"));
    EXPECT_EQ(state.PresentTrackTotal, 17);
    EXPECT_EQ(game.ScriptsFolderNames(), kScriptsFiles);
}

TEST_F(DeleteTest, NamesThatCouldLeadElsewhereAreRefusedUntouched) {
    game.WriteTrackList(GameFixture::BaseTracksAnd({"..\\evil"}));
    game.WriteAddedCarList({"..\\evil"});
    // Where the data files of "..\evil" would be looked for: one folder above each data folder.
    const std::string binary = game.GameFolderHost(FOLDER_GAME_ROOT) + "/Data/Binary/";
    const std::vector<std::string> bait = {
        binary + "evil.bl3", binary + "evil.bv3", binary + "evil.img", binary + "evil.meg",
        game.GameFolderHost(FOLDER_GAME_ROOT) + "/Data/evil.brt"};
    for (const std::string& path : bait) {
        test::WriteFile(path, "bait");
    }
    ASSERT_NO_FATAL_FAILURE(game.StartUp());
    const Bytes trackList = ReadFile(game.TrackListHost());
    const Bytes carList = ReadFile(game.AddedCarListHost());

    EXPECT_EQ(DeleteTrack(game.session, 16), RESULT_REPORTED);
    EXPECT_EQ(DeleteCar(game.session, 8), RESULT_REPORTED);
    ASSERT_EQ(game.ui.boxes.size(), 2u);
    EXPECT_EQ(game.ui.boxes[0].caption, "ZAV Data Patcher");
    EXPECT_EQ(game.ui.boxes[0].style, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_NE(game.ui.boxes[0].text.find("..\\evil"), std::string::npos);
    for (const std::string& path : bait) {
        EXPECT_TRUE(test::FileExists(path)) << path;
    }
    EXPECT_EQ(ReadFile(game.TrackListHost()), trackList);
    EXPECT_EQ(ReadFile(game.AddedCarListHost()), carList);
    EXPECT_EQ(game.ui.steps, 0);
    EXPECT_EQ(state.PresentTrackTotal, 17);
}

} // namespace
} // namespace zav
