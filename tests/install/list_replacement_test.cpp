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
        test::WriteFile(target, "old list");
        test::WriteFile(dir / "lists/source.sav", "new list");
    }
    // The target holds `bytes` and no copy is left beside it.
    void Expect(const std::string& bytes) {
        EXPECT_EQ(ReadFile(target), AsBytes(bytes));
        EXPECT_EQ(test::ListNames(dir / "lists"),
                  (std::vector<std::string>{"source.sav", "target.bin"}));
    }

    test::TempDir dir;
    PosixFileSystem files{dir.path()};
    std::string target = dir / "lists/target.bin";
};

TEST_F(ListReplacementTest, ReplacementSwapsWholeFilesSoAReaderOfTheOldOneKeepsIt) {
    ASSERT_EQ(::link(target.c_str(), (dir / "held.bin").c_str()), 0);
    ASSERT_TRUE(ReplaceFileAtomically(files, dir / "lists/source.sav", target));
    Expect("new list");
    EXPECT_EQ(ReadFile(dir / "held.bin"), AsBytes("old list"));
}

TEST_F(ListReplacementTest, EditWorksOnACopyBesideTheTargetAndAFailedOneLeavesNoTrace) {
    EXPECT_FALSE(EditFileAtomically(files, target, [&](std::string_view copy) {
        test::WriteFile(std::string(copy), "half written");
        return false;
    }));
    Expect("old list");
    EXPECT_FALSE(ReplaceFileAtomically(files, dir / "lists/none.sav", target));
    EXPECT_FALSE(
        EditFileAtomically(files, dir / "lists/none.bin", [](std::string_view) { return true; }));
    Expect("old list");

    ASSERT_TRUE(EditFileAtomically(files, target, [&](std::string_view copy) {
        EXPECT_EQ(std::string(copy).substr(0, copy.find_last_of('/')), dir / "lists");
        EXPECT_EQ(ReadFile(target), AsBytes("old list")); // untouched while the edit runs
        test::WriteFile(std::string(copy), "edited");
        return true;
    }));
    Expect("edited");
}

} // namespace
} // namespace zav
