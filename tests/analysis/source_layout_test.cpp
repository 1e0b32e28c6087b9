// RecogniseSourceLayout on real folders: the disc's layout and a lone track or car folder, at the
// top or inside one top folder, and what an unknown folder is reported to hold.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "analysis/source_layout.h"
#include "support/host_file_system.h"
#include "support/list_bytes.h"
#include "support/temp_dir.h"

namespace zav::test {
namespace {

class SourceLayoutTest : public ::testing::Test {
protected:
    SourceLayout Recognise(const std::string& folder, std::string_view topName = "top") {
        return RecogniseSourceLayout(files, folder, topName);
    }
    TempDir dir;
    HostFileSystem files{dir / "prefix"};
};

// A folder as either platform spells it: Windows joins with '\\'.
std::string Slashed(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

TEST_F(SourceLayoutTest, FindsTheDiscLayoutAtTheTopOrInsideOneFolder) {
    MakeFolders(dir / "a/VOITURES");
    EXPECT_EQ(Recognise(dir / "a").kind, SourceLayoutKind::Disc);
    EXPECT_EQ(Recognise(dir / "a").folder, dir / "a");
    // Files beside the one folder do not count; a second folder does.
    MakeFolders(dir / "b/Pack/circuits");
    WriteFile(dir / "b/readme.txt", "hello");
    EXPECT_EQ(Slashed(Recognise(dir / "b").folder), Slashed(dir / "b/Pack"));
    MakeFolders(dir / "b/Other");
    const SourceLayout two = Recognise(dir / "b");
    EXPECT_EQ(two.kind, SourceLayoutKind::Unknown);
    EXPECT_EQ(two.found, (std::vector<std::string>{"Other/", "Pack/", "readme.txt"}));
}

// Names are compared without regard to case, in both track record kinds; the top is named as
// the caller says.
TEST_F(SourceLayoutTest, FindsALoneTrackOrCarNamedByItsOwnList) {
    MakeFolders(dir / "Quarry");
    WriteFile(dir / "Quarry/circuits.bin", ListFile({TrackRecord("QUARRY", 2)}));
    const SourceLayout track = Recognise(dir / "Quarry", "Quarry");
    EXPECT_EQ(track.kind, SourceLayoutKind::LoneTrack);
    EXPECT_EQ(track.name, "Quarry");
    EXPECT_EQ(Recognise(dir / "Quarry", "Summit").kind, SourceLayoutKind::Unknown);

    MakeFolders(dir / "pack/Comet");
    WriteFile(dir / "pack/Comet/voitures.bin", ListFile({CarRecord("Comet")}));
    const SourceLayout car = Recognise(dir / "pack");
    EXPECT_EQ(car.kind, SourceLayoutKind::LoneCar);
    EXPECT_EQ(Slashed(car.folder), Slashed(dir / "pack/Comet"));
    EXPECT_EQ(car.name, "Comet");

    // A list naming another entry is no lone folder; the message shows what lies inside.
    WriteFile(dir / "pack/Comet/voitures.bin", ListFile({CarRecord("Lynx")}));
    EXPECT_EQ(Recognise(dir / "pack").found,
              (std::vector<std::string>{"Comet/", "Comet/voitures.bin"}));
    MakeFolders(dir / "empty");
    EXPECT_EQ(Recognise(dir / "empty").found, std::vector<std::string>{});
}

} // namespace
} // namespace zav::test
