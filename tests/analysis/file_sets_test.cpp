// Track and car file sets: their sizes and the check that their files are there.
#include "analysis/file_sets.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/game_fixture.h"

namespace zav {
namespace {

using test::Bytes;
using test::GameFixture;

constexpr DataKind T = DataKind::Tracks;
constexpr DataKind C = DataKind::Cars;

class FileSetsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(game.Locate()); }

    void Write(DataKind kind, std::string_view folder, std::string_view file,
               std::size_t size) {
        test::WriteFile(game.DiscFileHost(kind, folder, file), Bytes(size, 0x5A));
    }
    void Remove(DataKind kind, std::string_view folder, std::string_view file) {
        std::remove(game.DiscFileHost(kind, folder, file).c_str());
    }
    // The one warning shown: `file` of entry `name` is missing, the command `ending`.
    void ExpectMissing(DataKind kind, std::string_view name, std::string_view file,
                       const std::string& ending) {
        ASSERT_EQ(game.ui.boxes.size(), 1u);
        EXPECT_EQ(game.ui.boxes[0].text,
                  "File '" + game.SourcePath(kind, name, file) + "' not found, " + ending);
        EXPECT_EQ(game.ui.boxes[0].caption, "Warning");
        EXPECT_EQ(game.ui.boxes[0].style, 0x30u);
        game.ui.boxes.clear();
    }

    GameFixture game;
};

TEST_F(FileSetsTest, SetSizesAddTheirFilesWhateverTheirCaseAndBeyondTwoGibibytes) {
    // The table holds the normalised name "Foo"; the disc spells the files otherwise.
    for (const auto& [file, size] : {std::pair{"FOO.BL3", 100},
                                     {"foo.img", 200},
                                     {"Foo.MEG", 300},
                                     {"fOO.brt", 40},
                                     {"-OO.brt", 50},
                                     {"circuits.bin", 144}}) {
        Write(T, "FOO", file, size);
    }
    EXPECT_EQ(TrackSetSize(game.session, "Foo"), 690);
    // The accelerated game's set holds the bl4 file in place of the bl3 file.
    game.state.AcceleratedVersionPresent = 1;
    Write(T, "FOO", "foo.bl4", 1000);
    EXPECT_EQ(TrackSetSize(game.session, "Foo"), 1590);
    game.state.AcceleratedVersionPresent = 0;

    // A missing file counts as nothing.
    Write(C, "Foo", "Foo.bv3", 1000);
    Write(C, "Foo", "Foo.bv4", 7);
    Write(C, "Foo", "Foo.img", 24);
    EXPECT_EQ(CarSetSize(game.session, "Foo"), 1024);
    EXPECT_EQ(CarSetSize(game.session, "Nothing"), 0);

    const std::string host = game.DiscFileHost(T, "Big", "Big.bl3");
    test::WriteFile(host, Bytes{});
    const std::int64_t length = (std::int64_t{3} << 30) + 5;
    std::filesystem::resize_file(host, static_cast<std::uintmax_t>(length)); // sparse: no space
    EXPECT_EQ(FileLength(game.files, host), length);
    EXPECT_EQ(TrackSetSize(game.session, "Big"), length);
    EXPECT_EQ(FileLength(game.files, host + ".missing"), 0);
}

TEST_F(FileSetsTest, ChecksWarnOnceNamingTheFirstMissingFile) {
    // Record files are optional.
    game.AddDisc(T, "Foo", {}, true);
    Remove(T, "Foo", "FOO.BRT");
    Remove(T, "Foo", "-OO.BRT");
    EXPECT_EQ(CheckTrackSet(game.session, "Foo"), 1);
    EXPECT_TRUE(game.ui.boxes.empty());

    game.AddDisc(T, "Bar");
    Remove(T, "Bar", "Bar.bl3");
    Remove(T, "Bar", "Bar.img");
    EXPECT_EQ(CheckTrackSet(game.session, "Bar"), 0);
    ExpectMissing(T, "Bar", "Bar.bl3", "track 'Bar' won't be add");

    game.AddDisc(C, "Foo");
    Remove(C, "Foo", "Foo.meg");
    EXPECT_EQ(CheckCarSet(game.session, "Foo"), 0);
    ExpectMissing(C, "Foo", "Foo.meg", "car 'Foo' won't be add");

    // The accelerated game needs the bl4 file, not the standard one.
    game.AddDisc(T, "Acc");
    Remove(T, "Acc", "Acc.bl4");
    game.state.AcceleratedVersionPresent = 1;
    EXPECT_EQ(CheckTrackSet(game.session, "Acc"), 0);
    ExpectMissing(T, "Acc", "Acc.bl4", "track 'Acc' won't be add");

    Remove(C, "Foo", "Foo.img");
    EXPECT_EQ(CheckFilePresent(game.session, game.SourcePath(C, "Foo", "Foo.img"), "Foo", 1, 1), 0);
    ExpectMissing(C, "Foo", "Foo.img", "impossible to display 'Foo' car");
}

} // namespace
} // namespace zav
