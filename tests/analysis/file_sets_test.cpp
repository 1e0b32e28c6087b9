// Track and car file sets on the disc: their sizes and the check that their files are there.
#include "analysis/file_sets.h"

#include <gmock/gmock.h>

#include <filesystem>

#include "support/game_run.h"

namespace zav::test {
namespace {

class FileSets : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(run.Start());
        run.view.Clear();
    }
    void Write(const std::string& relative, std::size_t size) {
        WriteFile(game.disc + "/" + relative, Bytes(size, 0x5A));
    }
    TestGame game;
    GameRun run{game};
};

// The table holds the normalised name "Foo"; the disc spells the files otherwise. A missing file
// counts as nothing; the accelerated game's set holds the bl4 file in place of the bl3 file.
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
    run.State().AcceleratedVersionPresent = 1;
    Write("circuits/FOO/foo.bl4", 1000);
    EXPECT_EQ(TrackSetSize(run.Session(), "Foo"), 1590);
    Write("voitures/Foo/Foo.bv3", 7);
    Write("voitures/Foo/Foo.bv4", 1000);
    Write("voitures/Foo/Foo.img", 24);
    EXPECT_EQ(CarSetSize(run.Session(), "Foo"), 1024);
    EXPECT_EQ(CarSetSize(run.Session(), "Nothing"), 0);
    const std::string big = game.disc + "/circuits/Big/Big.bl4";
    const std::int64_t length = (std::int64_t{3} << 30) + 5;
    WriteFile(big, Bytes{});
    std::filesystem::resize_file(big, static_cast<std::uintmax_t>(length)); // sparse: no space
    EXPECT_EQ(TrackSetSize(run.Session(), "Big"), length);
}

// Record files are optional; the accelerated game needs the bl4 file, not the standard one.
TEST_F(FileSets, ChecksWarnOnceNamingTheFirstMissingFile) {
    const auto remove = [&](const std::string& relative) {
        std::filesystem::remove(game.disc + "/" + relative);
    };
    const auto warned = [&](const std::string& relative, const std::string& entry) {
        EXPECT_THAT(run.view.boxes,
                    ::testing::ElementsAre("Warning 48: File '" + game.DiscPath(relative) +
                                           "' not found, " + entry + "' won't be add"));
        run.view.Clear();
    };
    remove("circuits/Quarry/Quarry.brt");
    remove("circuits/Quarry/-uarry.brt");
    EXPECT_EQ(CheckTrackSet(run.Session(), "Quarry"), 1);
    EXPECT_TRUE(run.view.boxes.empty());
    remove("circuits/Summit/Summit.bl3");
    remove("circuits/Summit/Summit.img");
    EXPECT_EQ(CheckTrackSet(run.Session(), "Summit"), 0);
    warned("circuits/Summit/Summit.bl3", "track 'Summit");
    remove("voitures/Comet/Comet.meg");
    EXPECT_EQ(CheckCarSet(run.Session(), "Comet"), 0);
    warned("voitures/Comet/Comet.meg", "car 'Comet");
    remove("circuits/Tundra/Tundra.bl4");
    EXPECT_EQ(CheckTrackSet(run.Session(), "Tundra"), 1);
    run.State().AcceleratedVersionPresent = 1;
    EXPECT_EQ(CheckTrackSet(run.Session(), "Tundra"), 0);
    warned("circuits/Tundra/Tundra.bl4", "track 'Tundra");
}

} // namespace
} // namespace zav::test
