// "Install New" below the dialog: the files copied, the guarded copy's question, entries dropped.
#include "install/guarded_copy.h"
#include "install/install_added.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "settings/error_report.h"
#include "support/game_run.h"

namespace zav::test {
namespace {

constexpr DataKind T = DataKind::Tracks, C = DataKind::Cars;

// The accelerated game gets the bl4 file only; a one-letter track's second record file is "-.brt";
// the game's folders, spelled in another case, are used as they are; every copy ends writable.
TEST(InstallAdded, CopiesTheFilesOfTheGamesVariantIntoItsFoldersWritable) {
    TestGame game({.version = 1, .mixedCase = true, .accelerated = true});
    game.AddDiscEntry(T, "X");
    MakeReadOnly(game.Disc("circuits/X/X.meg"));
    const auto folders = [&] {
        return std::pair{ListNames(game.Game("Data")), ListNames(game.Game("Data/Binary"))};
    };
    const auto before = folders();
    GameRun run(game);
    ASSERT_TRUE(run.Start());
    run.AddToList({"X"});
    CommandReport report;
    ASSERT_EQ(InstallAddedTracks(run.Session(), report), RESULT_OK);
    EXPECT_FALSE(FileExists(game.Game("Data/Binary/Circuits/X.bl3")));
    for (const char* file : {"Binary/Circuits/X.bl4", "Binary/Mimg/X.img", "Binary/Resson/X.meg",
                             "Records/X.brt", "Records/-.brt"}) {
        const std::string path = game.Game("Data/" + std::string(file));
        EXPECT_EQ(ReadFile(path),
                  ReadFile(game.Disc("circuits/X/" + path.substr(path.rfind('/') + 1))))
            << file;
        EXPECT_TRUE(PermissionsOf(path) & 0200u) << file;
    }
    EXPECT_EQ(folders(), before);
}

// Yes replaces a game file, No keeps it; record files are never asked about nor replaced.
TEST(InstallAdded, ExistingGameFilesAreReplacedOnlyOnYes) {
    TestGame game;
    for (const char* file :
         {"Binary/Circuits/Quarry.bl3", "Binary/Mimg/Quarry.img", "Records/Quarry.brt"}) {
        WriteFile(game.Game("Data") + "/" + file, std::string_view("old"));
    }
    MakeReadOnly(game.Game("Data/Binary/Mimg/Quarry.img"));
    const auto setTime = [](const std::string& path, std::array<int, 6> t) { // local time
        std::tm when{};
        when.tm_year = t[0] - 1900, when.tm_mon = t[1] - 1, when.tm_mday = t[2];
        when.tm_hour = t[3], when.tm_min = t[4], when.tm_sec = t[5], when.tm_isdst = -1;
        const auto since = std::chrono::system_clock::from_time_t(std::mktime(&when));
        std::filesystem::last_write_time(HostPathOf(path),
                                         std::chrono::file_clock::from_sys(since));
    };
    setTime(game.Disc("circuits/Quarry/Quarry.bl3"), {1997, 11, 3, 9, 5, 3});
    setTime(game.Game("Data/Binary/Circuits/Quarry.bl3"), {2000, 1, 1, 0, 0, 0});
    GameRun run(game);
    ASSERT_TRUE(run.Start());
    run.AddToList({"Quarry"});
    run.view.Clear();
    run.view.answers = {IDYES, IDNO};
    CommandReport report;
    ASSERT_EQ(InstallAddedTracks(run.Session(), report), RESULT_OK);
    ASSERT_EQ(run.view.boxes.size(), 2u); // the Mimg file's question, answered No
    EXPECT_EQ(run.view.boxes[0],
              "File in copy 4: File \"Quarry.bl3\" already exists. Would you like to replace\n\n"
              "\tNew Proposed \"Quarry.bl3\" last modified 9:5:3, 11/3/1997\n\n\t\tby\n\n"
              "\tAlready present \"Quarry.bl3\" last modified 0:0:0, 1/1/2000 ?");
    EXPECT_EQ(ReadFile(game.Game("Data/Binary/Circuits/Quarry.bl3")),
              ReadFile(game.Disc("circuits/Quarry/Quarry.bl3")));
    for (const char* kept : {"Binary/Mimg/Quarry.img", "Records/Quarry.brt"}) {
        EXPECT_EQ(ReadFile(game.Game("Data/" + std::string(kept))), (Bytes{'o', 'l', 'd'}));
    }
}

// A Yes replaces a read-only game file; a file that still cannot be replaced ends the install
// with its path, and the game's list stays as it was.
TEST(InstallAdded, YesReplacesAReadOnlyFileOrEndsTheInstall) {
    TestGame game;
    for (const std::string name : {"Quarry", "Tundra"}) {
        WriteFile(game.Game("Data/Binary/Mimg/" + name + ".img"), std::string_view("old"));
        MakeReadOnly(game.Game("Data/Binary/Mimg/" + name + ".img"));
    }
    const Bytes tracks = ReadFile(game.Script("circuits.bin"));
    GameRun run(game);
    ASSERT_TRUE(run.Start());
    run.AddToList({"Quarry", "Tundra"});
    run.files.FailWhen([](const FileOperation& operation) {
        return operation.kind == "Copy" && !operation.failIfExists &&
               operation.target.find("Tundra") != std::string::npos;
    });
    run.view.answers = {IDYES, IDYES};
    CommandReport report;
    ASSERT_EQ(InstallAddedTracks(run.Session(), report), RESULT_FILE_ERROR);
    EXPECT_EQ(ReadFile(game.Game("Data/Binary/Mimg/Quarry.img")),
              ReadFile(game.Disc("circuits/Quarry/Quarry.img")));
    EXPECT_TRUE(report.argument.view().ends_with("Tundra.img")) << report.argument.view();
    EXPECT_EQ(ReadFile(game.Script("circuits.bin")), tracks);
    // A new file that cannot be written ends the install too, naming the real cause.
    const auto installFails = [&](const char* name, FileErrorCause cause, const char* message) {
        ASSERT_EQ(InstallAddedTracks(run.Session(), report), RESULT_FILE_ERROR);
        EXPECT_EQ(report.cause, cause);
        EXPECT_EQ(FileErrorMessage(run.files, report.argument.view(), cause),
                  "The file 'C:\\Games\\ZAV\\Data\\Binary\\" + std::string(name) +
                      "' cannot be created: " + message + ".");
    };
    run.files.FailWhen([](const FileOperation& operation) {
        return operation.kind == "Copy" && operation.target.find("Resson") != std::string::npos;
    });
    installFails("Resson\\Tundra.meg", FileErrorCause::NoSpace, "no space is left on its drive");
    run.files.FailWhen({});
    std::filesystem::remove_all(game.Game("Data/Binary/Resson"));
    std::filesystem::remove_all(game.Game("Data/Binary/Circuits"));
    installFails("Circuits\\Tundra.bl3", FileErrorCause::NotFound, "its folder does not exist");
}

// The work list loses the entry's record as a deletion does: later records move up, the file
// keeps its length. Cars leave by name: the added-car list starts with a base car here.
TEST(InstallAdded, EntryWithAMissingFileIsDroppedFromTheListAndTheTables) {
    TestGame game;
    WriteFile(game.Script("voiture2.bin"), TestGame::CarList({"Tolva", "Falcon"}));
    const Bytes tracks = ReadFile(game.Script("circuits.bin")),
                cars = ReadFile(game.Script("voiture2.bin"));
    GameRun run(game);
    ASSERT_TRUE(run.Start());
    run.AddToList({"Quarry", "Riverside", "Summit"});
    run.ShowTab(C);
    run.AddToList({"Comet", "Lynx"});
    std::remove(game.Disc("circuits/Riverside/Riverside.img").c_str());
    std::remove(game.Disc("voitures/Comet/Comet.meg").c_str());
    run.view.Clear();
    CommandReport report;
    ASSERT_EQ(InstallAddedTracks(run.Session(), report), RESULT_OK);
    ASSERT_EQ(InstallAddedCars(run.Session(), report), RESULT_OK);
    const auto record = [&](DataKind kind, const char* name) {
        return game.DiscRecord(kind, name);
    };
    EXPECT_EQ(ReadFile(game.Script("circuits.bin")),
              Deleted(Appended(tracks,
                               {record(T, "Quarry"), record(T, "Riverside"), record(T, "Summit")}),
                      20, 140));
    EXPECT_EQ(ReadFile(game.Script("voiture2.bin")),
              Deleted(Appended(cars, {record(C, "Comet"), record(C, "Lynx")}), 3, 128));
    EXPECT_EQ(run.State().PresentTrackNames[19], "Summit");
    EXPECT_EQ(run.State().PresentCarNames[9], "Lynx");
    EXPECT_EQ(run.view.boxes.size(), 2u);
}

} // namespace
} // namespace zav::test
