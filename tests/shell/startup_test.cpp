// The dialog's start-up, its fatal errors, the lock against a second run, and the ways it ends.
#include "shell/dialog_fixture.h"

namespace zav::test {
namespace {

namespace fs = std::filesystem;
using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using ::testing::StartsWith;

// A disc folder with a drive colon is left out with a notice; the dialog runs.
TEST_F(DialogTest, StartShowsTheTracksCompactWithEveryCommandInactive) {
    WriteFile(Script("circuits.sav"), std::string_view("left over from a run that did not end"));
    AddDiscTrack("Bad:name", "Bad:name");
    ASSERT_TRUE(Start());
    EXPECT_EQ(view_.Title(), "ZAV Data Patcher");
    EXPECT_EQ(view_.Icon(), 199);
    EXPECT_THAT(view_.Tabs(), ElementsAre("Tracks", "Cars"));
    EXPECT_EQ(view_.ControlText(IDC_NEW_LABEL), "New Proposed Data");
    EXPECT_EQ(view_.Picture(IDC_CLOSE), 171);
    EXPECT_EQ(Pictures(), ALL_INACTIVE);
    ASSERT_EQ(view_.boxes.size(), 1u);
    EXPECT_THAT(view_.boxes[0], StartsWith("ZAV Data Patcher 48: These track folders beside the "
                                           "tool are left out"));
    // The analysis runs behind the wait text, gone before the window takes its size.
    EXPECT_THAT(view_.events,
                ElementsAre("wait Please be patient while available tracks and cars are being "
                            "analyzed...",
                            "box", "wait closed", "resize"));
    EXPECT_THAT(view_.sizes, ElementsAre(COMPACT));
    EXPECT_EQ(view_.WindowRectangle().left, 100);

    EXPECT_EQ(Entries(IDC_PRESENT_LIST).size(), 16u);
    EXPECT_EQ(Entries(IDC_PRESENT_LIST)[0], "Alpine");
    EXPECT_THAT(Entries(IDC_ADDED_LIST), ElementsAreArray(kAddedTracks));
    EXPECT_THAT(Entries(IDC_NEW_LIST), ElementsAreArray(kProposedTracks));
    ShowTab(DataKind::Cars);
    EXPECT_EQ(Entries(IDC_PRESENT_LIST).size(), 8u);
    EXPECT_THAT(Entries(IDC_ADDED_LIST), ElementsAreArray(kAddedCars));
    EXPECT_THAT(Entries(IDC_NEW_LIST), ElementsAre("Comet", "Lynx", "Mistral", "Nomad"));

    // Working copies of the game's lists, a stale one replaced.
    EXPECT_EQ(ReadFile(Script("circuits.sav")), ReadFile(Script("circuits.bin")));
    EXPECT_EQ(ReadFile(Script("voiture2.sav")), ReadFile(Script("voiture2.bin")));
    EXPECT_EQ(FilesBelow(tmp_).size(), 2u); // the staging lists
}

// Each fatal start-up: a box, exit status -1, and no working copy left behind.
class FatalStartTest : public DialogTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(FatalStartTest, EndsWithABoxAndExitStatusMinusOne) {
    const std::string spoilt = GetParam();
    const std::string path = "'C:\\Games\\ZAV\\Data\\Binary\\Scripts\\" + spoilt + "'";
    std::string said = "File " + path + " not found";
    if (spoilt == "circuits.sav") { // a folder cannot be replaced (a read-only file can)
        MakeFolders(Script(spoilt));
        said = "Failed to create temporary file " + path;
    } else if (spoilt.ends_with(".ini")) {
        fs::remove(FindIgnoringCase(game_.prefix, spoilt));
        said = "ZAV not detected";
    } else {
        fs::remove(Script(spoilt));
    }
    const auto before = FilesBelow(game_.prefix);
    EXPECT_FALSE(Start());
    EXPECT_THAT(view_.boxes, ElementsAre("Fatal Error 16: " + said));
    EXPECT_THAT(view_.exits, ElementsAre(-1));
    EXPECT_TRUE(dialog_->Ended());
    EXPECT_FALSE(FileExists(Script("voiture2.sav")));
    EXPECT_EQ(FilesBelow(game_.prefix), before);
}

INSTANTIATE_TEST_SUITE_P(Causes, FatalStartTest,
                         ::testing::Values("drive_c/windows/Quorvex/Qvx.ini", "circuits.bin",
                                           "voitures.bin", "voiture2.bin", "circuits.sav"));

// true: a source folder too long for a path; false: an empty one. Neither becomes the host's root.
class UnusableSourceTest : public DialogTest, public ::testing::WithParamInterface<bool> {};

TEST_P(UnusableSourceTest, IsRefused) {
    std::string source;
    while (GetParam() && source.size() <= 260) {
        source += "/" + std::string(40, 'n');
    }
    if (GetParam()) {
        source = temp_ / "sample/disc" + source;
        MakeFolders(source);
    }
    dialog_ = MakeDialog(view_, source);
    ASSERT_TRUE(dialog_->OnInitDialog());
    EXPECT_THAT(files_->listedFolders, Each(StartsWith("C:\\Games\\ZAV\\")));
    EXPECT_THAT(view_.boxes, ElementsAre("ZAV Data Patcher 48: New data files not found"));
    EXPECT_THAT(Entries(IDC_NEW_LIST), IsEmpty());
    ShowTab(DataKind::Cars);
    EXPECT_THAT(Entries(IDC_NEW_LIST), IsEmpty());
    EXPECT_THAT(Entries(IDC_ADDED_LIST), ElementsAreArray(kAddedCars));
}

INSTANTIATE_TEST_SUITE_P(Folders, UnusableSourceTest, ::testing::Values(true, false));

class AcceleratedTest : public DialogTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(AcceleratedTest, AnyOfTheFiveExecutablesInAnyCaseIsDetected) {
    const std::string name = GetParam();
    if (!name.empty()) {
        WriteFile(game_.Game("") + "/" + name, std::string_view("MZ"));
    }
    ASSERT_TRUE(Start());
    EXPECT_EQ(dialog_->Session().analysis.AcceleratedVersionPresent, name.empty() ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(Names, AcceleratedTest,
                         ::testing::Values("", "wzav3dfx.exe", "zavx3dfx.exe", "zavfxm64.exe",
                                           "wzavd3d5.exe", "zavd3d5x.exe", "WZAV3DFX.EXE",
                                           "ZavFxM64.Exe"));

// The lock refuses a second run until the first ends; Close (end result 1) and the window's
// close box (exit 0) leave no temporary file.
TEST_F(StartedTest, SecondRunIsRefusedAndEndingsRemoveTheTemporaryFiles) {
    AddToList({"Quarry"});
    const Bytes gameList = ReadFile(Script("circuits.bin"));
    const Bytes workList = ReadFile(Script("circuits.sav"));
    const auto temporary = FilesBelow(tmp_);
    FakeView second;
    EXPECT_FALSE(MakeDialog(second)->OnInitDialog());
    ASSERT_EQ(second.boxes.size(), 1u);
    EXPECT_THAT(second.boxes[0],
                ::testing::AllOf(StartsWith("Fatal Error 16: "), ::testing::HasSubstr("running")));
    EXPECT_THAT(second.exits, ElementsAre(-1));
    EXPECT_EQ(ReadFile(Script("circuits.sav")), workList);
    EXPECT_EQ(FilesBelow(tmp_), temporary);

    const auto gone = [&] {
        EXPECT_FALSE(FileExists(Script("circuits.sav")));
        EXPECT_FALSE(FileExists(Script("voiture2.sav")));
        EXPECT_THAT(ListNames(tmp_), IsEmpty());
    };
    dialog_->OnCloseButton();
    gone();
    EXPECT_THAT(view_.ends, ElementsAre(1));
    EXPECT_THAT(view_.exits, IsEmpty());
    EXPECT_EQ(ReadFile(Script("circuits.bin")), gameList);

    FakeView third;
    auto closed = MakeDialog(third);
    ASSERT_TRUE(closed->OnInitDialog());
    EXPECT_THAT(third.boxes, IsEmpty());
    closed->OnClose();
    EXPECT_THAT(third.exits, ElementsAre(0));
    EXPECT_THAT(third.ends, IsEmpty());
    gone();
}

} // namespace
} // namespace zav::test
