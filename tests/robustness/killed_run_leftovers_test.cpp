// The start-up removes what a killed run left beside the game's files, once it holds the game.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "game_run.h"

namespace zav::test {
namespace {

class StaleTemporaries : public testing::Test {
protected:
    StaleTemporaries() { Sample().CopyTo(dir_.path()); }

    static const SampleGameTemplate& Sample() {
        static const SampleGameTemplate sample(SmallSample(2));
        return sample;
    }

    TempDir dir_;
    SampleGamePaths paths_{dir_.path()};
};

TEST_F(StaleTemporaries, StartUpRemovesTheToolsTemporariesFromTheGameFolders) {
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

TEST_F(StaleTemporaries, ARunRefusedBecauseAnotherHoldsTheGameLeavesItsTemporaries) {
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

} // namespace
} // namespace zav::test
