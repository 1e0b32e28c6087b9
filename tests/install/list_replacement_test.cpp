// Replacing and editing a list file through a copy beside it, renamed over it in one step.
#include "install/list_replacement.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include "platform/posix/posix_file_system.h"
#include "support/game_fixture.h"

namespace zav {
namespace {

TEST(ListReplacement, WholeFilesAreSwappedAndAFailedEditLeavesNoTrace) {
    test::TempDir dir;
    PosixFileSystem files{dir.path()};
    const std::string target = dir / "lists/target.bin";
    test::WriteFile(target, "old list");
    test::WriteFile(dir / "lists/source.sav", "new list");
    // The target holds `bytes` and no copy is left beside it.
    const auto expect = [&](const char* bytes) {
        EXPECT_EQ(test::ReadFile(target), test::AsBytes(bytes));
        EXPECT_EQ(test::ListNames(dir / "lists"),
                  (std::vector<std::string>{"source.sav", "target.bin"}));
    };
    EXPECT_FALSE(EditFileAtomically(files, target, [&](std::string_view copy) {
        test::WriteFile(std::string(copy), "half written");
        return false;
    }));
    EXPECT_FALSE(ReplaceFileAtomically(files, dir / "lists/none.sav", target));
    EXPECT_FALSE(
        EditFileAtomically(files, dir / "lists/none.bin", [](std::string_view) { return true; }));
    expect("old list");

    ASSERT_TRUE(EditFileAtomically(files, target, [&](std::string_view copy) {
        EXPECT_EQ(std::string(copy).substr(0, copy.find_last_of('/')), dir / "lists");
        EXPECT_EQ(test::ReadFile(target), test::AsBytes("old list")); // untouched meanwhile
        test::WriteFile(std::string(copy), "edited");
        return true;
    }));
    expect("edited");
    // A reader holding the old file keeps it.
    ASSERT_EQ(::link(target.c_str(), (dir / "held.bin").c_str()), 0);
    ASSERT_TRUE(ReplaceFileAtomically(files, dir / "lists/source.sav", target));
    expect("new list");
    EXPECT_EQ(test::ReadFile(dir / "held.bin"), test::AsBytes("edited"));
}

} // namespace
} // namespace zav
