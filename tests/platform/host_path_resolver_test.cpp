// HostPathResolver in a real Wine prefix whose folders differ in case from the game's names.
#include "platform/posix/host_path_resolver.h"

#include <gtest/gtest.h>

#include "support/wine_prefix.h"

namespace zav {
namespace {

class HostPathResolverTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::WriteFile(prefix / "drive_c/games/zav/DATA/Binary/SCRIPTS/Circuits.BIN", "list");
        test::MakeFolders(prefix / "drive_c/games/zav/DATA/Binary/Voitures");
    }

    test::WinePrefix prefix;
    HostPathResolver resolver{prefix.path()};
};

TEST_F(HostPathResolverTest, TheGamesNamesFindFoldersAndFilesOfAnotherCase) {
    EXPECT_EQ(resolver.Resolve("C:\\Games\\ZAV\\Data\\Binary\\Scripts\\circuits.bin"),
              prefix / "dosdevices/c:/games/zav/DATA/Binary/SCRIPTS/Circuits.BIN");
    EXPECT_EQ(resolver.Resolve("c:/GAMES/zav/data\\binary/scripts"),
              prefix / "dosdevices/c:/games/zav/DATA/Binary/SCRIPTS")
        << "both separators, any drive letter case";
    EXPECT_EQ(resolver.Resolve("C:\\\\Games\\.\\ZAV\\\\"), prefix / "dosdevices/c:/games/zav");
}

TEST_F(HostPathResolverTest, AnExactMatchWinsOverOneOfAnotherCase) {
    test::MakeFolders(prefix / "drive_c/games/zav/DATA/binary");
    EXPECT_EQ(resolver.Resolve("C:\\games\\zav\\DATA\\binary"),
              prefix / "dosdevices/c:/games/zav/DATA/binary");
    EXPECT_EQ(resolver.Resolve("C:\\games\\zav\\DATA\\Binary"),
              prefix / "dosdevices/c:/games/zav/DATA/Binary");
    EXPECT_EQ(resolver.Resolve("C:\\games\\zav\\DATA\\BINARY"),
              prefix / "dosdevices/c:/games/zav/DATA/Binary")
        << "otherwise the first in name order";
}

TEST_F(HostPathResolverTest, ANewFileOrFolderKeepsTheCaseGiven) {
    EXPECT_EQ(resolver.Resolve("C:\\Games\\ZAV\\Data\\Binary\\Scripts\\Circuits.sav"),
              prefix / "dosdevices/c:/games/zav/DATA/Binary/SCRIPTS/Circuits.sav");
    EXPECT_EQ(resolver.Resolve("C:\\Games\\New\\Binary\\Scripts"),
              prefix / "dosdevices/c:/games/New/Binary/Scripts")
        << "after a missing folder nothing below it is looked for";
}

TEST_F(HostPathResolverTest, DrivesAreTheLinksOfDosdevicesAndCFallsBackToDriveC) {
    test::TempDir disc;
    test::WriteFile(disc / "Circuits/Foo/foo.img", "picture");
    prefix.LinkDrive('d', disc.path());
    EXPECT_EQ(resolver.Resolve("D:\\circuits\\FOO\\Foo.img"),
              prefix / "dosdevices/d:/Circuits/Foo/foo.img");
    EXPECT_EQ(resolver.Resolve("e:\\anything"), std::nullopt);
    EXPECT_EQ(resolver.Resolve("1:\\anything"), std::nullopt);

    test::WinePrefix bare(false);
    test::MakeFolders(bare / "drive_c/Games");
    HostPathResolver noLinks(bare.path());
    EXPECT_EQ(noLinks.Resolve("C:\\GAMES\\zav"), bare / "drive_c/Games/zav");
    EXPECT_EQ(noLinks.Resolve("D:\\x"), std::nullopt);
}

TEST_F(HostPathResolverTest, HostPathsAreResolvedFromTheRootInUtf8) {
    test::TempDir source;
    test::MakeFolders(source / "Caf\xC3\xA9/Circuits");
    EXPECT_EQ(resolver.Resolve(source.path() + "\\caf\xE9\\circuits\\Foo\\Foo.img"),
              source / "Caf\xC3\xA9/Circuits/Foo/Foo.img");
}

TEST_F(HostPathResolverTest, DotDotNeverLeavesTheDriveAndLooksUpWhatFollows) {
    EXPECT_EQ(resolver.Resolve("C:\\..\\..\\Games"), prefix / "dosdevices/c:/games");
    EXPECT_EQ(resolver.Resolve("C:\\Games\\ZAV\\..\\ZAV\\data"),
              prefix / "dosdevices/c:/games/zav/DATA");
    EXPECT_EQ(resolver.Resolve("C:\\Missing\\..\\Games\\ZAV"), prefix / "dosdevices/c:/games/zav");
}

} // namespace
} // namespace zav
