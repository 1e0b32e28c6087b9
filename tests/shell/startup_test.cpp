// The dialog's start-up, its fatal errors, the lock against a second run, and the ways it ends.
#include <functional>

#include "shell/dialog_fixture.h"

namespace zav::test {
namespace {

namespace fs = std::filesystem;
using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using ::testing::StartsWith;

using StartUpTest = DialogTest;

TEST_F(StartUpTest, ShowsTheTracksInTheCompactLayoutWithEveryCommandInactive) {
    ASSERT_TRUE(Start());
    EXPECT_EQ(view_.ControlText(IDC_PRESENT_LABEL), "Present Set Data");
    EXPECT_EQ(view_.ControlText(IDC_NEW_LABEL), "New Proposed Data");
    EXPECT_EQ(view_.ControlText(IDC_ADDED_LABEL), "Added Data");
    EXPECT_EQ(view_.Title(), "ZAV Data Patcher");
    EXPECT_EQ(view_.Icon(), 199);
    EXPECT_THAT(view_.Tabs(), ElementsAre("Tracks", "Cars"));
    EXPECT_EQ(view_.Picture(IDC_CLOSE), 171);
    EXPECT_EQ(Pictures(), ALL_INACTIVE);
    EXPECT_EQ(view_.ControlText(IDC_FREE_SPACE), "");
    EXPECT_THAT(view_.boxes, IsEmpty());
    // The analysis runs behind the wait text, which is gone before the window takes its size.
    EXPECT_THAT(view_.waitTexts, ElementsAre("Please be patient while available tracks and cars "
                                             "are being analyzed..."));
    EXPECT_THAT(view_.events, ElementsAre("wait-shown", "wait-closed", "resize"));
    EXPECT_THAT(view_.sizes, ElementsAre(COMPACT));
    EXPECT_EQ(view_.WindowRectangle().left, 100);

    EXPECT_EQ(Entries(IDC_PRESENT_LIST).size(), 16u);
    EXPECT_EQ(Entries(IDC_PRESENT_LIST)[0], "Alpine");
    EXPECT_THAT(Entries(IDC_ADDED_LIST), ElementsAreArray(kAddedTracks));
    EXPECT_THAT(Entries(IDC_NEW_LIST), ElementsAreArray(kProposedTracks));
    ShowTab(DATA_KIND_CARS);
    EXPECT_EQ(Entries(IDC_PRESENT_LIST).size(), 8u);
    EXPECT_THAT(Entries(IDC_ADDED_LIST), ElementsAreArray(kAddedCars));
    EXPECT_THAT(Entries(IDC_NEW_LIST), ElementsAre("Comet", "Lynx", "Mistral", "Nomad"));
}

TEST_F(StartUpTest, WorkingCopiesHoldTheGameListsAndStagingListsAPrivateFolder) {
    WriteFile(TrackWorkList(), std::string_view("left over from a run that did not end"));
    ASSERT_TRUE(Start());
    EXPECT_EQ(ReadFile(TrackWorkList()), ReadFile(TrackList()));
    EXPECT_EQ(ReadFile(CarWorkList()), ReadFile(CarList()));
    const auto folders = ListNames(tmp_);
    ASSERT_EQ(folders.size(), 1u);
    EXPECT_THAT(TemporaryFiles(),
                ElementsAre(folders[0] + "/circuits.bin", folders[0] + "/voitures.bin"));
    const Bytes staging = ReadFile(tmp_ + "/" + folders[0] + "/circuits.bin");
    EXPECT_EQ(GetInt32(staging, 0), 4);
    EXPECT_EQ(RecordAt(staging, 1, RecordSize()), DiscTrackRecord("Quarry"));
}

TEST_F(StartUpTest, StartUpNoticeTellsOfLeftOutFoldersAndTheDialogRuns) {
    AddDiscTrack("Bad:name", "Bad:name");
    ASSERT_TRUE(Start());
    ASSERT_EQ(view_.boxes.size(), 1u);
    EXPECT_THAT(view_.boxes[0].text,
                StartsWith("These track folders beside the tool are left out"));
    EXPECT_EQ(view_.boxes[0].caption, "ZAV Data Patcher");
    EXPECT_THAT(Entries(IDC_NEW_LIST), ElementsAreArray(kProposedTracks));
}

// Each fatal start-up: a box, exit status -1, and no working copy left behind.
struct FatalStart {
    const char* name;
    std::function<void(const SampleLayout&)> spoil;
    std::string text;
};

class FatalStartTest : public DialogTest, public ::testing::WithParamInterface<FatalStart> {};

TEST_P(FatalStartTest, EndsWithABoxAndExitStatusMinusOne) {
    GetParam().spoil(game_);
    const auto before = FilesBelow(game_.prefix);
    EXPECT_FALSE(Start());
    EXPECT_THAT(view_.boxes, ElementsAre(ShownBox{GetParam().text, "Fatal Error", 0x10}));
    EXPECT_THAT(view_.exitCodes, ElementsAre(-1));
    EXPECT_TRUE(Dialog().Ended());
    EXPECT_FALSE(FileExists(CarWorkList()));
    if (std::string(GetParam().name) != "WorkingCopyBlocked") {
        EXPECT_EQ(FilesBelow(game_.prefix), before);
        EXPECT_FALSE(FileExists(TrackWorkList()));
    }
}

std::function<void(const SampleLayout&)> Remove(std::string relative) {
    return [relative](const SampleLayout& game) {
        fs::remove(relative.starts_with("drive_c") ? FindIgnoringCase(game.prefix, relative)
                                                   : game.Scripts(relative));
    };
}

INSTANTIATE_TEST_SUITE_P(
    Causes, FatalStartTest,
    ::testing::Values(
        FatalStart{"GameNotDetected", Remove("drive_c/windows/Quorvex/Qvx.ini"),
                   "ZAV not detected"},
        FatalStart{"TrackList", Remove("circuits.bin"),
                   "File 'C:\\Games\\ZAV\\Data\\Binary\\Scripts\\circuits.bin' not found"},
        FatalStart{"BaseCarList", Remove("voitures.bin"),
                   "File 'C:\\Games\\ZAV\\Data\\Binary\\Scripts\\voitures.bin' not found"},
        FatalStart{"AddedCarList", Remove("voiture2.bin"),
                   "File 'C:\\Games\\ZAV\\Data\\Binary\\Scripts\\voiture2.bin' not found"},
        // A folder where the working copy goes cannot be replaced (a read-only file can).
        FatalStart{"WorkingCopyBlocked",
                   [](const SampleLayout& game) { MakeFolders(game.Scripts("circuits.sav")); },
                   "Failed to create temporary file "
                   "'C:\\Games\\ZAV\\Data\\Binary\\Scripts\\circuits.sav'"}),
    [](const auto& test) { return std::string(test.param.name); });

// true: a source folder too long for a path; false: an empty one.
class UnusableSourceTest : public DialogTest, public ::testing::WithParamInterface<bool> {};

TEST_P(UnusableSourceTest, IsRefusedRatherThanReplacedByTheHostsRoot) {
    std::string source;
    if (GetParam()) {
        source = temp_ / "sample/disc";
        while (source.size() <= 260) {
            source += "/" + std::string(40, 'n');
        }
        MakeFolders(source);
    }
    dialog_ = MakeDialog(view_, source);
    ASSERT_TRUE(dialog_->OnInitDialog());
    EXPECT_THAT(files_->listedFolders, Each(StartsWith("C:\\Games\\ZAV\\")));
    EXPECT_THAT(view_.boxes,
                ElementsAre(ShownBox{"New data files not found", "ZAV Data Patcher", 0x30}));
    EXPECT_THAT(Entries(IDC_NEW_LIST), IsEmpty());
    ShowTab(DATA_KIND_CARS);
    EXPECT_THAT(Entries(IDC_NEW_LIST), IsEmpty());
    EXPECT_THAT(Entries(IDC_ADDED_LIST), ElementsAreArray(kAddedCars));
}

INSTANTIATE_TEST_SUITE_P(Folders, UnusableSourceTest, ::testing::Values(true, false));

class AcceleratedDetectionTest : public DialogTest,
                                 public ::testing::WithParamInterface<const char*> {};

TEST_P(AcceleratedDetectionTest, AnyOfTheFiveExecutablesInAnyCaseIsDetected) {
    const std::string name = GetParam();
    if (!name.empty()) {
        WriteFile(GameFile("") + "/" + name, std::string_view("MZ"));
    }
    ASSERT_TRUE(Start());
    EXPECT_EQ(Dialog().Session().analysis.AcceleratedVersionPresent, name.empty() ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(Names, AcceleratedDetectionTest,
                         ::testing::Values("", "wzav3dfx.exe", "zavx3dfx.exe", "zavfxm64.exe",
                                           "wzavd3d5.exe", "zavd3d5x.exe", "WZAV3DFX.EXE",
                                           "ZavFxM64.Exe"));

TEST_F(StartUpTest, SecondRunOnTheSameGameIsRefusedUntilTheFirstCloses) {
    ASSERT_TRUE(Start());
    AddToList({"Quarry"});
    const Bytes workList = ReadFile(TrackWorkList());
    const auto temporary = TemporaryFiles();

    FakeView second;
    auto secondDialog = MakeDialog(second);
    EXPECT_FALSE(secondDialog->OnInitDialog());
    ASSERT_EQ(second.boxes.size(), 1u);
    EXPECT_THAT(second.boxes[0].text, ::testing::HasSubstr("already running"));
    EXPECT_EQ(second.boxes[0].caption, "Fatal Error");
    EXPECT_THAT(second.exitCodes, ElementsAre(-1));
    EXPECT_EQ(ReadFile(TrackWorkList()), workList);
    EXPECT_EQ(TemporaryFiles(), temporary);

    Dialog().OnCloseButton();
    FakeView third;
    EXPECT_TRUE(MakeDialog(third)->OnInitDialog());
    EXPECT_THAT(third.boxes, IsEmpty());
}

// Close and the window's close box delete the working copies and staging lists.
TEST_F(StartUpTest, EndingsRemoveTheTemporaryFiles) {
    ASSERT_TRUE(Start());
    AddToList({"Quarry"});
    const Bytes gameList = ReadFile(TrackList());
    Dialog().OnCloseButton();
    EXPECT_THAT(view_.endResults, ElementsAre(1));
    EXPECT_THAT(view_.exitCodes, IsEmpty());
    EXPECT_FALSE(FileExists(TrackWorkList()));
    EXPECT_FALSE(FileExists(CarWorkList()));
    EXPECT_THAT(ListNames(tmp_), IsEmpty());
    EXPECT_EQ(ReadFile(TrackList()), gameList);

    FakeView second;
    auto closed = MakeDialog(second);
    ASSERT_TRUE(closed->OnInitDialog());
    closed->OnClose();
    EXPECT_THAT(second.exitCodes, ElementsAre(0));
    EXPECT_THAT(second.endResults, IsEmpty());
    EXPECT_FALSE(FileExists(TrackWorkList()));
    EXPECT_THAT(ListNames(tmp_), IsEmpty());
}

} // namespace
} // namespace zav::test
