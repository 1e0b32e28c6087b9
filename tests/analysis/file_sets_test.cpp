// Track and car file sets on the disc: their sizes and the check that their files are there.
#include "analysis/file_sets.h"

#include <gmock/gmock.h>

#include <filesystem>

#include "support/game_run.h"

namespace zav::test {
namespace {

constexpr DataKind T = DataKind::Tracks, C = DataKind::Cars;

class FileSets : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(run.Start());
        run.view.Clear();
    }
    void Write(const std::string& relative, std::size_t size) {
        WriteFile(game.disc + "/" + relative, Bytes(size, 0x5A));
    }
    void Remove(const std::string& relative) { std::remove((game.disc + "/" + relative).c_str()); }
    // The one warning shown names `relative`, missing, for entry `name`.
    void ExpectMissing(const std::string& relative, const std::string& name, const char* kind) {
        EXPECT_THAT(run.view.boxes, ::testing::ElementsAre(
                                        "Warning 48: File '" + game.DiscPath(relative) +
                                        "' not found, " + kind + " '" + name + "' won't be add"));
        run.view.Clear();
    }

    TestGame game;
    GameRun run{game};
};

// The table holds the normalised name "Foo"; the disc spells the files otherwise. A missing file
// counts as nothing.
TEST_F(FileSets, SetSizesAddTheirFilesWhateverTheirCaseAndBeyondTwoGibibytes) {
    for (const auto& [file, size] : {std::pair{"FOO.BL3", 100},
                                     {"foo.img", 200},
                                     {"Foo.MEG", 300},
                                     {"fOO.brt", 40},
                                     {"-OO.brt", 50},
                                     {"circuits.bin", 144}}) {
        Write("circuits/FOO/" + std::string(file), size);
    }
    EXPECT_EQ(TrackSetSize(run.Session(), "Foo"), 690);
    // The accelerated game's set holds the bl4 file in place of the bl3 file.
    run.State().AcceleratedVersionPresent = 1;
    Write("circuits/FOO/foo.bl4", 1000);
    EXPECT_EQ(TrackSetSize(run.Session(), "Foo"), 1590);
    Write("voitures/Foo/Foo.bv3", 7);
    Write("voitures/Foo/Foo.bv4", 1000);
    Write("voitures/Foo/Foo.img", 24);
    EXPECT_EQ(CarSetSize(run.Session(), "Foo"), 1024);
    EXPECT_EQ(CarSetSize(run.Session(), "Nothing"), 0);

    const std::string big = game.disc + "/circuits/Big/Big.bl4";
    WriteFile(big, Bytes{});
    const std::int64_t length = (std::int64_t{3} << 30) + 5;
    std::filesystem::resize_file(big, static_cast<std::uintmax_t>(length)); // sparse: no space
    EXPECT_EQ(FileLength(run.files, big), length);
    EXPECT_EQ(TrackSetSize(run.Session(), "Big"), length);
    EXPECT_EQ(FileLength(run.files, big + ".missing"), 0);
}

// Record files are optional; the accelerated game needs the bl4 file, not the standard one.
TEST_F(FileSets, ChecksWarnOnceNamingTheFirstMissingFile) {
    Remove("circuits/Quarry/Quarry.brt");
    Remove("circuits/Quarry/-uarry.brt");
    EXPECT_EQ(CheckTrackSet(run.Session(), "Quarry"), 1);
    EXPECT_TRUE(run.view.boxes.empty());

    Remove("circuits/Summit/Summit.bl3");
    Remove("circuits/Summit/Summit.img");
    EXPECT_EQ(CheckTrackSet(run.Session(), "Summit"), 0);
    ExpectMissing("circuits/Summit/Summit.bl3", "Summit", "track");

    Remove("voitures/Comet/Comet.meg");
    EXPECT_EQ(CheckCarSet(run.Session(), "Comet"), 0);
    ExpectMissing("voitures/Comet/Comet.meg", "Comet", "car");

    Remove("circuits/Tundra/Tundra.bl4");
    EXPECT_EQ(CheckTrackSet(run.Session(), "Tundra"), 1);
    run.State().AcceleratedVersionPresent = 1;
    EXPECT_EQ(CheckTrackSet(run.Session(), "Tundra"), 0);
    ExpectMissing("circuits/Tundra/Tundra.bl4", "Tundra", "track");
}

} // namespace
} // namespace zav::test
