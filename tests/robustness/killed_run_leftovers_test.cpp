// What a killed run leaves in the game's folders does not keep the next run from starting, and the
// tool's temporaries go once the next run holds the game.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "game_run.h"

namespace zav::test {
namespace {

class KilledRunLeftovers : public testing::Test {
protected:
    KilledRunLeftovers() { Sample().CopyTo(dir_.path()); }

    static const SampleGameTemplate& Sample() {
        static const SampleGameTemplate sample(SmallSample(2));
        return sample;
    }

    TempDir dir_;
    SampleGamePaths paths_{dir_.path()};
};

TEST_F(KilledRunLeftovers, StartUpRemovesTheToolsTemporariesFromTheGameFolders) {
    const std::string listCopy = paths_.Scripts() + "/.zav-new-4242-1.tmp";
    const std::string dataCopy = paths_.GameFile("Data/Binary/Mimg/.zav-copy-Ab12Cd");
    const std::string recordCopy = paths_.GameFile("Data/Records/.zav-copy-Zz9Yy8");
    WriteFile(listCopy, "half a list");
    WriteFile(dataCopy, "half a picture");
    WriteFile(recordCopy, "half a record");
    // A copy of a read-only file is read-only itself.
    ::chmod(listCopy.c_str(), 0444);
    const std::string notOurs = paths_.Scripts() + "/zav-new-notes.txt";
    const std::string elsewhere = paths_.GameFile(".zav-new-1-1.tmp");
    WriteFile(notOurs, "the user's");
    WriteFile(elsewhere, "outside the data folders");

    GameRun run(dir_.path());
    ASSERT_TRUE(run.Start());
    EXPECT_FALSE(FileExists(listCopy));
    EXPECT_FALSE(FileExists(dataCopy));
    EXPECT_FALSE(FileExists(recordCopy));
    EXPECT_TRUE(FileExists(notOurs));
    EXPECT_TRUE(FileExists(elsewhere));
    EXPECT_FALSE(run.View().ReportedFailureSince(0));
    run.Dialog().OnCloseButton();
}

TEST_F(KilledRunLeftovers, ARunRefusedBecauseAnotherHoldsTheGameLeavesItsTemporaries) {
    GameRun first(dir_.path());
    ASSERT_TRUE(first.Start());
    // The first run's list replacement in progress.
    const std::string inProgress = paths_.Scripts() + "/.zav-new-77-3.tmp";
    WriteFile(inProgress, "being written");

    GameRun second(dir_.path());
    EXPECT_FALSE(second.Start());
    EXPECT_TRUE(second.Dialog().Ended());
    EXPECT_TRUE(second.View().ReportedFailureSince(0));
    EXPECT_TRUE(FileExists(inProgress));
    first.Dialog().OnCloseButton();
}

TEST_F(KilledRunLeftovers, AReadOnlyWorkingCopyIsReplacedAtStartUp) {
    // A game installed from a disc keeps its lists read-only, and the working copy made of one is
    // read-only until the start-up clears its attributes; a run killed in between leaves it so.
    const std::string list = paths_.GameFile(GAME_TRACK_LIST);
    const std::string workCopy = paths_.Scripts() + "/circuits.sav";
    WriteFile(workCopy, "an older work list");
    ::chmod(workCopy.c_str(), 0444);
    ::chmod(list.c_str(), 0444);

    GameRun run(dir_.path());
    ASSERT_TRUE(run.Start()) << run.View().BoxesSince(0);
    EXPECT_EQ(ReadFile(workCopy), ReadFile(list));
    run.Dialog().OnCloseButton();
    EXPECT_FALSE(FileExists(workCopy));
}

} // namespace
} // namespace zav::test
