// Track and car file sets: their sizes and the check that their files are there.
#include "analysis/file_sets.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/game_fixture.h"

namespace zav {
namespace {

using test::Bytes;
using test::GameFixture;
using test::NameCase;

class FileSetsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(game.Locate()); }

    void WriteSized(std::int32_t kind, std::string_view folder, std::string_view file,
                    std::size_t size) {
        test::WriteFile(game.DiscFileHost(kind, folder, file), Bytes(size, 0x5A));
    }

    GameFixture game;
};

TEST_F(FileSetsTest, TrackSetSizeAddsItsFiveFilesWhateverTheirCase) {
    // The table holds the normalised name "Foo"; the disc spells the files otherwise.
    WriteSized(DATA_KIND_TRACKS, "FOO", "FOO.BL3", 100);
    WriteSized(DATA_KIND_TRACKS, "FOO", "foo.img", 200);
    WriteSized(DATA_KIND_TRACKS, "FOO", "Foo.MEG", 300);
    WriteSized(DATA_KIND_TRACKS, "FOO", "fOO.brt", 40);
    WriteSized(DATA_KIND_TRACKS, "FOO", "-OO.brt", 50);
    WriteSized(DATA_KIND_TRACKS, "FOO", "circuits.bin", 144);
    EXPECT_EQ(TrackSetSize(game.session, "Foo"), 690);

    // The accelerated game's set holds the bl4 file in place of the bl3 file.
    game.state.AcceleratedVersionPresent = 1;
    EXPECT_EQ(TrackSetSize(game.session, "Foo"), 590);
    WriteSized(DATA_KIND_TRACKS, "FOO", "foo.bl4", 1000);
    EXPECT_EQ(TrackSetSize(game.session, "Foo"), 1590);
}

TEST_F(FileSetsTest, CarSetSizeCountsAMissingFileAsNothing) {
    WriteSized(DATA_KIND_CARS, "Foo", "Foo.bv3", 1000);
    WriteSized(DATA_KIND_CARS, "Foo", "Foo.bv4", 7);
    WriteSized(DATA_KIND_CARS, "Foo", "Foo.img", 24);
    EXPECT_EQ(CarSetSize(game.session, "Foo"), 1024);
    EXPECT_EQ(CarSetSize(game.session, "Nothing"), 0);
}

TEST_F(FileSetsTest, FileLengthCountsFilesBeyondTwoGibibytes) {
    const std::string host = game.DiscFileHost(DATA_KIND_TRACKS, "Big", "Big.bl3");
    test::WriteFile(host, Bytes{});
    const std::int64_t length = (std::int64_t{3} << 30) + 5;
    std::filesystem::resize_file(host, static_cast<std::uintmax_t>(length)); // sparse: no space
    EXPECT_EQ(FileLength(game.files, host), length);
    EXPECT_EQ(TrackSetSize(game.session, "Big"), length);
    EXPECT_EQ(FileLength(game.files, host + ".missing"), 0);
}

TEST_F(FileSetsTest, TrackCheckPassesWithoutRecordFiles) {
    game.AddDiscTrack("Foo", {}, NameCase::Upper);
    std::remove(game.DiscFileHost(DATA_KIND_TRACKS, "Foo", "FOO.BRT").c_str());
    std::remove(game.DiscFileHost(DATA_KIND_TRACKS, "Foo", "-OO.BRT").c_str());
    EXPECT_EQ(CheckTrackSet(game.session, "Foo"), 1);
    EXPECT_TRUE(game.ui.boxes.empty());
}

TEST_F(FileSetsTest, TrackCheckWarnsOnceNamingTheFirstMissingFile) {
    game.AddDiscTrack("Foo");
    std::remove(game.DiscFileHost(DATA_KIND_TRACKS, "Foo", "Foo.bl3").c_str());
    std::remove(game.DiscFileHost(DATA_KIND_TRACKS, "Foo", "Foo.img").c_str());
    EXPECT_EQ(CheckTrackSet(game.session, "Foo"), 0);
    ASSERT_EQ(game.ui.boxes.size(), 1u);
    EXPECT_EQ(game.ui.boxes[0].text, "File '" +
                                         game.SourcePath(DATA_KIND_TRACKS, "Foo", "Foo.bl3") +
                                         "' not found, track 'Foo' won't be add");
    EXPECT_EQ(game.ui.boxes[0].caption, "Warning");
    EXPECT_EQ(game.ui.boxes[0].style, 0x30u);
}

TEST_F(FileSetsTest, AcceleratedTrackWithOnlyItsStandardFileFailsItsCheck) {
    game.AddDiscTrack("Foo");
    std::remove(game.DiscFileHost(DATA_KIND_TRACKS, "Foo", "Foo.bl4").c_str());
    game.state.AcceleratedVersionPresent = 1;
    EXPECT_EQ(CheckTrackSet(game.session, "Foo"), 0);
    ASSERT_EQ(game.ui.boxes.size(), 1u);
    EXPECT_NE(game.ui.boxes[0].text.find("Foo.bl4'"), std::string::npos);
}

TEST_F(FileSetsTest, CarCheckNamesTheMissingMegFile) {
    game.AddDiscCar("Foo");
    std::remove(game.DiscFileHost(DATA_KIND_CARS, "Foo", "Foo.meg").c_str());
    EXPECT_EQ(CheckCarSet(game.session, "Foo"), 0);
    ASSERT_EQ(game.ui.boxes.size(), 1u);
    EXPECT_EQ(game.ui.boxes[0].text, "File '" + game.SourcePath(DATA_KIND_CARS, "Foo", "Foo.meg") +
                                         "' not found, car 'Foo' won't be add");
    EXPECT_EQ(game.ui.boxes[0].caption, "Warning");
    EXPECT_EQ(game.ui.boxes[0].style, 0x30u);
}

TEST_F(FileSetsTest, DisplayCheckHasItsOwnWording) {
    const std::string path = game.SourcePath(DATA_KIND_CARS, "Foo", "Foo.img");
    EXPECT_EQ(CheckFilePresent(game.session, path, "Foo", 1, 1), 0);
    ASSERT_EQ(game.ui.boxes.size(), 1u);
    EXPECT_EQ(game.ui.boxes[0].text,
              "File '" + path + "' not found, impossible to display 'Foo' car");
    EXPECT_EQ(game.ui.boxes[0].caption, "Warning");
    EXPECT_EQ(game.ui.boxes[0].style, 0x30u);
}

TEST_F(FileSetsTest, NamesThatCouldLeadElsewhereAreRefusedUnread) {
    // Files where "..\evil" would lead: circuits\..\evil\..\evil.bl3 is the disc's evil.bl3.
    for (const char* file : {"evil.bl3", "evil.img", "evil.meg"}) {
        test::WriteFile(game.DiscHost() + "/" + file, "bait");
    }
    for (const char* name : {"..\\evil", "..", ".", "a/b", "c:evil"}) {
        game.ui.boxes.clear();
        EXPECT_EQ(CheckTrackSet(game.session, name), 0) << name;
        EXPECT_EQ(CheckCarSet(game.session, name), 0) << name;
        EXPECT_EQ(TrackSetSize(game.session, name), 0) << name;
        ASSERT_EQ(game.ui.boxes.size(), 2u) << name;
        EXPECT_EQ(game.ui.boxes[0].caption, "ZAV Data Patcher");
        EXPECT_NE(game.ui.boxes[0].text.find(name), std::string::npos);
    }
}

} // namespace
} // namespace zav
