// The dialog's start-up, its refusal of a second run on the same game, and the ways it ends.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "settings/error_report.h"
#include "shell/dialog_fixture.h"
#include "support/list_bytes.h"

namespace zav::test {
namespace {

namespace fs = std::filesystem;
using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using ::testing::StartsWith;
using ::testing::UnorderedElementsAre;

const std::vector<std::string> kBaseTracks = {
    "Alpine", "Bayside", "Canyon",  "Delta",  "Estuary", "Fjord",  "Glacier", "Highland",
    "Island", "Jungle",  "Kestrel", "Lagoon", "Meadow",  "Nordic", "Oasis",   "Prairie"};
const std::vector<std::string> kBaseCars = {"Tolva", "Rusko",  "Mervi", "Kaltun",
                                            "Zq2",   "Brenik", "Ostra", "Vel"};

using StartUpTest = DialogTest;

TEST_F(StartUpTest, SetsLabelsTitleIconTabsAndTheCloseButton) {
    ASSERT_TRUE(Start());
    EXPECT_EQ(view_.ControlText(IDC_PRESENT_LABEL), "Present Set Data");
    EXPECT_EQ(view_.ControlText(IDC_NEW_LABEL), "New Proposed Data");
    EXPECT_EQ(view_.ControlText(IDC_ADDED_LABEL), "Added Data");
    EXPECT_EQ(view_.Title(), "ZAV Data Patcher");
    EXPECT_EQ(view_.Icon(), 199);
    EXPECT_THAT(view_.Tabs(), ElementsAre("Tracks", "Cars"));
    EXPECT_EQ(view_.CurrentTabIndex(), 0);
    EXPECT_EQ(view_.Picture(IDC_CLOSE), 171);
    EXPECT_EQ(view_.ControlText(IDC_FREE_SPACE), "");
    EXPECT_EQ(view_.ControlText(IDC_REQUIRED_SPACE), "");
    EXPECT_EQ(Shell().MainWindow, view_.Handle());
    EXPECT_EQ(Shell().ProgressBar, IDC_PROGRESS);
    EXPECT_FALSE(Dialog().Ended());
    EXPECT_THAT(view_.boxes, IsEmpty());
}

TEST_F(StartUpTest, ShrinksOnceToTheCompactLayoutOfTheInitialRectangle) {
    ASSERT_TRUE(Start());
    const WindowRect& initial = Shell().InitialWindowRect;
    EXPECT_EQ(initial.left, 100);
    EXPECT_EQ(initial.top, 100);
    EXPECT_EQ(initial.right, 460);
    EXPECT_EQ(initial.bottom, 600);
    EXPECT_THAT(view_.sizes, ElementsAre(COMPACT));
    const WindowRect now = view_.WindowRectangle();
    EXPECT_EQ(now.left, 100);
    EXPECT_EQ(now.top, 100);
}

TEST_F(StartUpTest, ShowsTheWaitTextWhileAnalysingAndClosesItBeforeTheWindowAppears) {
    ASSERT_TRUE(Start());
    EXPECT_THAT(view_.waitTextsShown,
                ElementsAre("Please be patient while available tracks and cars are being "
                            "analyzed..."));
    EXPECT_EQ(view_.waitDialogsClosed, 1);
    EXPECT_EQ(view_.WaitText(), "");
    EXPECT_THAT(view_.events, ElementsAre("wait-shown", "wait-closed", "resize"));
}

TEST_F(StartUpTest, FillsTheListsWithTheTracksAndLeavesEveryCommandInactive) {
    ASSERT_TRUE(Start());
    EXPECT_THAT(Entries(IDC_PRESENT_LIST), ElementsAreArray(kBaseTracks));
    EXPECT_THAT(Entries(IDC_ADDED_LIST), ElementsAre("<Inst.> Harbour", "<Inst.> Dunes"));
    EXPECT_THAT(Entries(IDC_NEW_LIST), ElementsAre("Quarry", "Riverside", "Summit", "Tundra"));
    EXPECT_EQ(Pictures(), ALL_INACTIVE);
    EXPECT_EQ(Flags(), (std::array<std::int32_t, 5>{0, 0, 0, 0, 0}));
}

TEST_F(StartUpTest, CarsTabShowsBaseCarsAddedCarsAndProposedCars) {
    ASSERT_TRUE(Start());
    ShowTab(DATA_KIND_CARS);
    EXPECT_THAT(Entries(IDC_PRESENT_LIST), ElementsAreArray(kBaseCars));
    EXPECT_THAT(Entries(IDC_ADDED_LIST), ElementsAre("<Inst.> Falcon", "<Inst.> Viper"));
    EXPECT_THAT(Entries(IDC_NEW_LIST), ElementsAre("Comet", "Lynx", "Mistral", "Nomad"));
}

TEST_F(StartUpTest, WorkingCopiesHoldTheGameListsBytesAndStagingListsLiveInAPrivateFolder) {
    ASSERT_TRUE(Start());
    ASSERT_TRUE(FileExists(TrackWorkList()));
    ASSERT_TRUE(FileExists(CarWorkList()));
    EXPECT_EQ(ReadFile(TrackWorkList()), ReadFile(TrackList()));
    EXPECT_EQ(ReadFile(CarWorkList()), ReadFile(CarList()));

    const auto folders = TemporaryFolders();
    ASSERT_EQ(folders.size(), 1u);
    EXPECT_THAT(TemporaryFiles(),
                ElementsAre(folders[0] + "/circuits.bin", folders[0] + "/voitures.bin"));
    const Bytes staging = ReadFile(tmp_ + "/" + folders[0] + "/circuits.bin");
    ASSERT_GE(staging.size(), 4u + 2u * 140u);
    EXPECT_EQ(GetInt32(staging, 0), 4);
    EXPECT_EQ(Bytes(staging.begin() + 4, staging.begin() + 144), DiscTrackRecord("Quarry"));
}

TEST_F(StartUpTest, WorkingCopyLeftByAnEarlierRunIsReplaced) {
    WriteFile(TrackWorkList(), std::string_view("left over from a run that did not end"));
    ASSERT_TRUE(Start());
    EXPECT_EQ(ReadFile(TrackWorkList()), ReadFile(TrackList()));
}

TEST_F(StartUpTest, WorkingCopyThatCannotBeReplacedIsFatal) {
    // A folder in its place (a read-only file left by an earlier run is made writable and
    // replaced).
    MakeFolders(TrackWorkList());
    EXPECT_FALSE(Start());
    ASSERT_EQ(view_.boxes.size(), 1u);
    EXPECT_EQ(view_.boxes[0].text,
              "Failed to create temporary file 'C:\\Games\\ZAV\\Data\\Binary\\Scripts\\"
              "circuits.sav'");
    EXPECT_EQ(view_.boxes[0].caption, "Fatal Error");
    EXPECT_EQ(view_.boxes[0].style, 0x10u);
    EXPECT_THAT(view_.exitCodes, ElementsAre(-1));
    EXPECT_FALSE(FileExists(CarWorkList()));
}

// true: a source folder too long for a path; false: an empty one.
class UnusableSourceTest : public DialogTest, public ::testing::WithParamInterface<bool> {};

TEST_P(UnusableSourceTest, SourceFolderIsRefusedRatherThanReplacedByTheHostsRoot) {
    std::string source;
    if (GetParam()) {
        source = temp_ / "sample/disc";
        while (source.size() <= 260) {
            source += "/" + std::string(40, 'n');
        }
        MakeFolders(source);
    }
    dialog_ = std::make_unique<PatcherDialog>(*files_, *profile_, view_, source);
    ASSERT_TRUE(dialog_->OnInitDialog());
    // Nothing is looked for outside the game's folders (where the start-up clears a killed run's
    // temporaries), the host's root least of all.
    EXPECT_THAT(files_->listedFolders, Each(StartsWith("C:\\Games\\ZAV\\")));
    ASSERT_EQ(view_.boxes.size(), 1u);
    EXPECT_EQ(view_.boxes[0].text, "New data files not found");
    EXPECT_EQ(view_.boxes[0].caption, "ZAV Data Patcher");
    EXPECT_EQ(view_.boxes[0].style, 0x30u);
    EXPECT_THAT(Entries(IDC_NEW_LIST), IsEmpty());
    ShowTab(DATA_KIND_CARS);
    EXPECT_THAT(Entries(IDC_NEW_LIST), IsEmpty());
    // The game's own entries can still be looked at and deleted.
    EXPECT_THAT(Entries(IDC_ADDED_LIST), ElementsAre("<Inst.> Falcon", "<Inst.> Viper"));
    EXPECT_THAT(view_.sizes, ElementsAre(COMPACT));
    Dialog().OnCloseButton();
    EXPECT_FALSE(FileExists(TrackWorkList()));
    EXPECT_THAT(TemporaryFiles(), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Folders, UnusableSourceTest, ::testing::Values(true, false));

TEST_F(StartUpTest, NoAcceleratedExecutableChoosesTheStandardFiles) {
    ASSERT_TRUE(Start());
    EXPECT_EQ(Analysis().AcceleratedVersionPresent, 0);
}

class AcceleratedDetectionTest : public DialogTest,
                                 public ::testing::WithParamInterface<std::string> {};

TEST_P(AcceleratedDetectionTest, AnyOfTheFiveExecutablesInAnyCaseIsDetected) {
    WriteFile(game_.Game("") + "/" + GetParam(), std::string_view("MZ"));
    ASSERT_TRUE(Start());
    EXPECT_EQ(Analysis().AcceleratedVersionPresent, 1);
}

INSTANTIATE_TEST_SUITE_P(Names, AcceleratedDetectionTest,
                         ::testing::Values("wzav3dfx.exe", "zavx3dfx.exe", "zavfxm64.exe",
                                           "wzavd3d5.exe", "zavd3d5x.exe", "WZAV3DFX.EXE",
                                           "ZavFxM64.Exe", "ZAVD3D5X.exe"));

TEST_F(StartUpTest, GameNotDetectedIsFatalAndWritesNothing) {
    fs::remove(FindIgnoringCase(game_.prefix, "drive_c/windows/Quorvex/Qvx.ini"));
    const auto before = FilesBelow(game_.prefix);
    EXPECT_FALSE(Start());
    ASSERT_EQ(view_.boxes.size(), 1u);
    EXPECT_EQ(view_.boxes[0].text, "ZAV not detected");
    EXPECT_EQ(view_.boxes[0].caption, "Fatal Error");
    EXPECT_EQ(view_.boxes[0].style, 0x10u);
    EXPECT_THAT(view_.exitCodes, ElementsAre(-1));
    EXPECT_TRUE(Dialog().Ended());
    EXPECT_THAT(view_.waitTextsShown, IsEmpty());
    EXPECT_THAT(view_.sizes, IsEmpty());
    EXPECT_EQ(FilesBelow(game_.prefix), before);
    EXPECT_THAT(TemporaryFiles(), IsEmpty());
}

class MissingListTest : public DialogTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(MissingListTest, MissingGameListIsFatalAndNamesTheFile) {
    fs::remove(game_.Scripts(GetParam()));
    EXPECT_FALSE(Start());
    ASSERT_EQ(view_.boxes.size(), 1u);
    EXPECT_EQ(view_.boxes[0].text,
              "File 'C:\\Games\\ZAV\\Data\\Binary\\Scripts\\" + GetParam() + "' not found");
    EXPECT_EQ(view_.boxes[0].caption, "Fatal Error");
    EXPECT_EQ(view_.boxes[0].style, 0x10u);
    EXPECT_THAT(view_.exitCodes, ElementsAre(-1));
    EXPECT_TRUE(Dialog().Ended());
    EXPECT_FALSE(FileExists(TrackWorkList()));
    EXPECT_FALSE(FileExists(CarWorkList()));
}

INSTANTIATE_TEST_SUITE_P(Lists, MissingListTest,
                         ::testing::Values("circuits.bin", "voitures.bin", "voiture2.bin"));

TEST_F(StartUpTest, SecondRunOnTheSameGameIsRefusedAndTouchesNothing) {
    ASSERT_TRUE(Start());
    AddToList({"Quarry"});
    const Bytes firstRunsWorkList = ReadFile(TrackWorkList());
    ASSERT_NE(firstRunsWorkList, ReadFile(TrackList()));
    const auto temporaryBefore = TemporaryFiles();

    FakeView secondView;
    auto second = MakeDialog(secondView);
    EXPECT_FALSE(second->OnInitDialog());
    ASSERT_EQ(secondView.boxes.size(), 1u);
    EXPECT_NE(secondView.boxes[0].text.find("already running"), std::string::npos)
        << secondView.boxes[0].text;
    EXPECT_EQ(secondView.boxes[0].caption, "Fatal Error");
    EXPECT_EQ(secondView.boxes[0].style, 0x10u);
    EXPECT_THAT(secondView.exitCodes, ElementsAre(-1));
    EXPECT_TRUE(second->Ended());
    EXPECT_THAT(secondView.waitTextsShown, IsEmpty());
    EXPECT_EQ(ReadFile(TrackWorkList()), firstRunsWorkList);
    EXPECT_EQ(TemporaryFiles(), temporaryBefore);

    // Once the first run has closed, the game is free again.
    Dialog().OnCloseButton();
    FakeView thirdView;
    auto third = MakeDialog(thirdView);
    EXPECT_TRUE(third->OnInitDialog());
    EXPECT_THAT(thirdView.boxes, IsEmpty());
    third->OnCloseButton();
}

TEST_F(StartUpTest, RunThatWasKilledDoesNotBlockTheNextOne) {
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(ready[0]);
        FakeView childView;
        auto childDialog = MakeDialog(childView);
        const char started = childDialog->OnInitDialog() ? 'y' : 'n';
        (void)!::write(ready[1], &started, 1);
        for (;;) {
            ::pause();
        }
    }
    ::close(ready[1]);
    char started = 0;
    ASSERT_EQ(::read(ready[0], &started, 1), 1);
    ::close(ready[0]);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_EQ(started, 'y');

    ASSERT_TRUE(Start());
    EXPECT_THAT(view_.boxes, IsEmpty());
    EXPECT_EQ(ReadFile(TrackWorkList()), ReadFile(TrackList()));
}

class FrenchStartUpTest : public DialogTest {
protected:
    FrenchStartUpTest() { options_.language = "French"; }
};

TEST_F(FrenchStartUpTest, TabsAndLabelsAreLocalisedAndTheTabsStillChooseTheKind) {
    ASSERT_TRUE(Start());
    EXPECT_THAT(view_.Tabs(), ElementsAre("Circuits", "Automobiles"));
    EXPECT_EQ(view_.ControlText(IDC_PRESENT_LABEL), "Fichiers install\xe9s");
    EXPECT_EQ(view_.ControlText(IDC_ADDED_LABEL), "Fichiers ajout\xe9s");
    EXPECT_EQ(Dialog().CurrentTab(), DATA_KIND_TRACKS);
    ShowTab(DATA_KIND_CARS);
    EXPECT_EQ(Dialog().CurrentTab(), DATA_KIND_CARS);
    EXPECT_THAT(Entries(IDC_ADDED_LIST), ElementsAre("<Inst.> Falcon", "<Inst.> Viper"));
    ClickAdded("Viper");
    Dialog().OnTrash();
    ASSERT_EQ(view_.boxes.size(), 1u);
    EXPECT_EQ(view_.boxes[0].caption, "Avertissement");
    EXPECT_EQ(view_.boxes[0].text, "La voiture 'Viper' va \xeatre supprim\xe9"
                                   "e de votre disque dur.\n\nVoulez-vous continuer?");
}

using EndingTest = DialogTest;

TEST_F(EndingTest, CloseDeletesTheFourTemporaryFilesAndEndsWithOk) {
    ASSERT_TRUE(Start());
    AddToList({"Quarry"});
    ShowTab(DATA_KIND_CARS);
    AddToList({"Comet"});
    const Bytes gameTracks = ReadFile(TrackList());
    view_.ClearRecords();

    Dialog().OnCloseButton();
    EXPECT_FALSE(FileExists(TrackWorkList()));
    EXPECT_FALSE(FileExists(CarWorkList()));
    EXPECT_THAT(TemporaryFolders(), IsEmpty());
    EXPECT_THAT(view_.endDialogResults, ElementsAre(1));
    EXPECT_THAT(view_.exitCodes, IsEmpty());
    EXPECT_TRUE(Dialog().Ended());
    EXPECT_EQ(ReadFile(TrackList()), gameTracks);
    EXPECT_THAT(FilesBelow(game_.Game("Data/Binary/Scripts")),
                UnorderedElementsAre(fs::path(TrackList()).filename().string(),
                                     fs::path(CarList()).filename().string(),
                                     fs::path(game_.Scripts("voitures.bin")).filename().string()));
}

TEST_F(EndingTest, ClosingTheWindowDeletesTheSameFilesAndExitsWithZero) {
    ASSERT_TRUE(Start());
    Dialog().OnClose();
    EXPECT_FALSE(FileExists(TrackWorkList()));
    EXPECT_FALSE(FileExists(CarWorkList()));
    EXPECT_THAT(TemporaryFolders(), IsEmpty());
    EXPECT_THAT(view_.exitCodes, ElementsAre(0));
    EXPECT_THAT(view_.endDialogResults, IsEmpty());
    EXPECT_TRUE(Dialog().Ended());
}

TEST_F(EndingTest, FatalReportLeavesTheTemporaryFilesBehind) {
    ASSERT_TRUE(Start());
    EXPECT_EQ(Dialog().ReportError(ERR_GAME_NOT_DETECTED, nullptr, true), 0);
    ASSERT_EQ(view_.boxes.size(), 1u);
    EXPECT_EQ(view_.boxes[0].text, "ZAV not detected");
    EXPECT_EQ(view_.boxes[0].caption, "Fatal Error");
    EXPECT_EQ(view_.boxes[0].style, 0x10u);
    EXPECT_THAT(view_.exitCodes, ElementsAre(-1));
    EXPECT_THAT(view_.events, ElementsAre("wait-shown", "wait-closed", "resize", "box", "exit"));
    EXPECT_TRUE(Dialog().Ended());
    EXPECT_TRUE(FileExists(TrackWorkList()));
    EXPECT_TRUE(FileExists(CarWorkList()));
    EXPECT_EQ(TemporaryFiles().size(), 2u);
}

TEST_F(EndingTest, SystemCommandsWithTheAboutCodeOpenTheAboutBoxOnly) {
    ASSERT_TRUE(Start());
    Dialog().OnSysCommand(0x0010);
    Dialog().OnSysCommand(0x0012);
    EXPECT_EQ(view_.aboutBoxes, 2);
    Dialog().OnSysCommand(0x0020);
    Dialog().OnSysCommand(0xF060);
    EXPECT_EQ(view_.aboutBoxes, 2);
    EXPECT_FALSE(Dialog().Ended());
}

TEST_F(EndingTest, MinimisedPaintDrawsTheIconAndNoPreview) {
    ASSERT_TRUE(Start());
    Dialog().OnPaint(true);
    EXPECT_EQ(view_.iconsDrawn, 1);
    Dialog().OnPaint(false);
    EXPECT_THAT(view_.drawings, IsEmpty());
}

} // namespace
} // namespace zav::test
