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
        test::MakeFolders(prefix / "drive_c/games/zav/DATA/binary");
    }

    test::WinePrefix prefix;
    HostPathResolver resolver{prefix.path()};
};

TEST_F(HostPathResolverTest, GamePathsFindHostNamesOfAnyCase) {
    const std::string c = prefix / "dosdevices/c:/games/zav/";
    const std::pair<const char*, std::string> cases[] = {
        {"C:\\Games\\ZAV\\Data\\Binary\\Scripts\\circuits.bin",
         c + "DATA/Binary/SCRIPTS/Circuits.BIN"},
        {"c:/GAMES/zav/data\\Binary/scripts", c + "DATA/Binary/SCRIPTS"}, // both separators
        {"C:\\\\Games\\.\\ZAV\\\\", prefix / "dosdevices/c:/games/zav"},
        {"C:\\games\\zav\\DATA\\binary", c + "DATA/binary"}, // an exact match wins
        {"C:\\games\\zav\\DATA\\BINARY", c + "DATA/Binary"}, // else the first in name order
        // A new name keeps the case given; below a missing folder nothing is looked for.
        {"C:\\Games\\ZAV\\Data\\Binary\\Scripts\\Circuits.sav",
         c + "DATA/Binary/SCRIPTS/Circuits.sav"},
        {"C:\\Games\\New\\Binary", prefix / "dosdevices/c:/games/New/Binary"},
        // ".." never leaves the drive, and what follows it is looked up again.
        {"C:\\..\\..\\Games", prefix / "dosdevices/c:/games"},
        {"C:\\Missing\\..\\Games\\ZAV\\data", c + "DATA"},
    };
    for (const auto& [path, expected] : cases) {
        EXPECT_EQ(resolver.Resolve(path), expected) << path;
    }
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

} // namespace
} // namespace zav
