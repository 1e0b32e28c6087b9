// Replacing and editing a list file through a copy beside it, renamed over it in one step.
#include "install/list_replacement.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include "platform/posix/posix_file_system.h"
#include "support/game_fixture.h"

namespace zav {
namespace {

using test::AsBytes;
using test::ReadFile;

class ListReplacementTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::WriteFile(dir / "lists/target.bin", "old list");
        test::WriteFile(dir / "lists/source.sav", "new list");
    }

    test::TempDir dir;
    PosixFileSystem files{dir.path()};
    std::string target = dir / "lists/target.bin";
};

TEST_F(ListReplacementTest, ReplacementSwapsWholeFilesSoAReaderOfTheOldOneKeepsIt) {
    // A reader that opened the old list holds the old file, whole, after the replacement.
    ASSERT_EQ(::link(target.c_str(), (dir / "held.bin").c_str()), 0);
    ASSERT_TRUE(ReplaceFileAtomically(files, dir / "lists/source.sav", target));
    EXPECT_EQ(ReadFile(target), AsBytes("new list"));
    EXPECT_EQ(ReadFile(dir / "held.bin"), AsBytes("old list"));
    EXPECT_EQ(test::ListNames(dir / "lists"),
              (std::vector<std::string>{"source.sav", "target.bin"}));
}

TEST_F(ListReplacementTest, EditWorksOnACopyBesideTheTarget) {
    std::string edited;
    ASSERT_TRUE(EditFileAtomically(files, target, [&](std::string_view copy) {
        edited = std::string(copy);
        EXPECT_EQ(ReadFile(target), AsBytes("old list")); // untouched while the edit runs
        test::WriteFile(std::string(copy), "edited");
        return true;
    }));
    EXPECT_EQ(edited.substr(0, edited.find_last_of('/')), dir / "lists");
    EXPECT_EQ(ReadFile(target), AsBytes("edited"));
    EXPECT_FALSE(test::FileExists(edited));
}

TEST_F(ListReplacementTest, FailedEditLeavesTheTargetAndNoCopy) {
    EXPECT_FALSE(EditFileAtomically(files, target, [&](std::string_view copy) {
        test::WriteFile(std::string(copy), "half written");
        return false;
    }));
    EXPECT_EQ(ReadFile(target), AsBytes("old list"));
    EXPECT_EQ(test::ListNames(dir / "lists"),
              (std::vector<std::string>{"source.sav", "target.bin"}));
}

TEST_F(ListReplacementTest, MissingSourceOrTargetChangesNothing) {
    EXPECT_FALSE(ReplaceFileAtomically(files, dir / "lists/none.sav", target));
    EXPECT_FALSE(
        EditFileAtomically(files, dir / "lists/none.bin", [](std::string_view) { return true; }));
    EXPECT_EQ(ReadFile(target), AsBytes("old list"));
    EXPECT_EQ(test::ListNames(dir / "lists"),
              (std::vector<std::string>{"source.sav", "target.bin"}));
}

} // namespace
} // namespace zav
