// The overwrite question of the guarded copy and the file error when a status cannot be read.
#include "install/guarded_copy.h"

#include <gtest/gtest.h>

#include "settings/data_paths.h"
#include "support/game_fixture.h"

namespace zav {
namespace {

using test::Bytes;
using test::GameFixture;
using test::ReadFile;

class GuardedCopyTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(game.Locate());
        game.AddDisc(DATA_KIND_TRACKS, "Foo");
        test::WriteFile(game.GameFileHost(FOLDER_CIRCUITS, "Foo.bl3"), "old game file");
        test::SetLocalWriteTime(game.DiscFileHost(DATA_KIND_TRACKS, "Foo", "Foo.bl3"), 1997, 11, 3,
                                9, 5, 3);
        test::SetLocalWriteTime(game.GameFileHost(FOLDER_CIRCUITS, "Foo.bl3"), 2000, 1, 1, 0, 0, 0);
    }

    bool Copy() { return GuardedCopy(game.session, source, destination, errorPath); }

    GameFixture game;
    std::string source = game.SourcePath(DATA_KIND_TRACKS, "Foo", "Foo.bl3");
    std::string destination = "C:\\ZAV\\Data\\Binary\\Circuits\\Foo.bl3";
    PathText errorPath;
};

TEST_F(GuardedCopyTest, AsksWithBothLocalTimesAndReplacesOnlyOnYes) {
    game.ui.answers = {IDNO, IDYES};
    EXPECT_TRUE(Copy());
    EXPECT_EQ(ReadFile(game.GameFileHost(FOLDER_CIRCUITS, "Foo.bl3")),
              test::AsBytes("old game file"));
    game.ui.boxes.clear();
    EXPECT_TRUE(Copy());
    ASSERT_EQ(game.ui.boxes.size(), 1u);
    EXPECT_EQ(game.ui.boxes[0].text,
              "File \"Foo.bl3\" already exists. Would you like to replace\n\n"
              "\tNew Proposed \"Foo.bl3\" last modified 9:5:3, 11/3/1997\n\n\t\tby\n\n"
              "\tAlready present \"Foo.bl3\" last modified 0:0:0, 1/1/2000 ?");
    EXPECT_EQ(game.ui.boxes[0].caption, "File in copy");
    EXPECT_EQ(game.ui.boxes[0].style, MB_YESNO);
    EXPECT_EQ(ReadFile(game.GameFileHost(FOLDER_CIRCUITS, "Foo.bl3")),
              GameFixture::DiscContent("Foo", "Foo.bl3"));
}

TEST_F(GuardedCopyTest, UnreadableStatusIsAFileErrorNamingTheFile) {
    std::remove(game.DiscFileHost(DATA_KIND_TRACKS, "Foo", "Foo.bl3").c_str());
    EXPECT_FALSE(Copy());
    EXPECT_EQ(errorPath, source);
    EXPECT_EQ(FileErrorMessage(game.files, source), "The file '" + source + "' cannot be found.");

    game.AddDisc(DATA_KIND_TRACKS, "Foo");
    std::remove(game.GameFileHost(FOLDER_CIRCUITS, "Foo.bl3").c_str());
    test::MakeFolders(game.GameFileHost(FOLDER_CIRCUITS, "Foo.bl3"));
    EXPECT_FALSE(Copy());
    EXPECT_EQ(errorPath, destination);
    EXPECT_TRUE(game.ui.boxes.empty());
}

} // namespace
} // namespace zav
