// What a killed run leaves in the game's folders does not keep the next run from starting, and the
// tool's temporaries go once the next run holds the game.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "game_run.h"

namespace zav::test {
namespace {

class KilledRunLeftovers : public testing::Test {
protected:
    KilledRunLeftovers() { CopySample(dir_.path()); }

    std::string Game(const std::string& relative) const { return dir_ / (GAME + relative); }

    TempDir dir_;
    const std::string scripts_ = Game("Data/Binary/Scripts/");
};

TEST_F(KilledRunLeftovers, StartUpRemovesTheToolsTemporariesFromTheGameFolders) {
    const std::vector<std::string> ours = {scripts_ + ".zav-new-4242-1.tmp",
                                           Game("Data/Binary/Mimg/.zav-copy-Ab12Cd"),
                                           Game("Data/Records/.zav-copy-Zz9Yy8")};
    const std::vector<std::string> others = {scripts_ + "zav-new-notes.txt",
                                             Game(".zav-new-1-1.tmp")}; // outside the data folders
    for (const std::string& path : ours) {
        WriteFile(path, "half a file");
    }
    for (const std::string& path : others) {
        WriteFile(path, "the user's");
    }
    ::chmod(ours[0].c_str(), 0444); // a copy of a read-only file is read-only itself

    GameRun run(dir_.path());
    ASSERT_TRUE(run.Start());
    for (const std::string& path : ours) {
        EXPECT_FALSE(FileExists(path)) << path;
    }
    for (const std::string& path : others) {
        EXPECT_TRUE(FileExists(path)) << path;
    }
    EXPECT_FALSE(run.View().ReportedFailureSince(0));
    run.Dialog().OnCloseButton();
}

TEST_F(KilledRunLeftovers, ARunRefusedBecauseAnotherHoldsTheGameLeavesItsTemporaries) {
    GameRun first(dir_.path());
    ASSERT_TRUE(first.Start());
    const std::string inProgress = scripts_ + ".zav-new-77-3.tmp"; // the first run's replacement
    WriteFile(inProgress, "being written");
    GameRun second(dir_.path());
    EXPECT_FALSE(second.Start());
    EXPECT_TRUE(second.Dialog().Ended());
    EXPECT_TRUE(second.View().ReportedFailureSince(0));
    EXPECT_TRUE(FileExists(inProgress));
    first.Dialog().OnCloseButton();
}

TEST_F(KilledRunLeftovers, AReadOnlyWorkingCopyIsReplacedAtStartUp) {
    // A read-only list gives a read-only working copy until the start-up clears its attributes; a
    // run killed in between leaves it so.
    const std::string workCopy = scripts_ + "circuits.sav";
    WriteFile(workCopy, "an older work list");
    ::chmod(workCopy.c_str(), 0444);
    ::chmod((dir_ / TRACK_LIST).c_str(), 0444);
    GameRun run(dir_.path());
    ASSERT_TRUE(run.Start()) << run.View().BoxesSince(0);
    EXPECT_EQ(ReadFile(workCopy), ReadFile(dir_ / TRACK_LIST));
    run.Dialog().OnCloseButton();
    EXPECT_FALSE(FileExists(workCopy));
}

} // namespace
} // namespace zav::test
