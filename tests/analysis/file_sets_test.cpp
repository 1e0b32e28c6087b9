// Track and car file sets on the disc: their sizes and the check that their files are there.
#include "analysis/file_sets.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <filesystem>

#include "settings/game_location.h"
#include "support/game_run.h"

namespace zav::test {
namespace {

// The table holds the normalised name "Foo"; the disc spells the files otherwise. A missing file
// counts as nothing; the accelerated game's set holds the bl4 file in place of the bl3 file.
TEST(FileSets, SetSizesAddTheirFilesWhateverTheirCaseAndBeyondTwoGibibytes) {
    TestGame game;
    GameRun run(game);
    ASSERT_TRUE(run.Start());
    const std::pair<const char*, std::size_t> files[] = {
        {"circuits/FOO/FOO.BL3", 100}, {"circuits/FOO/foo.img", 200},
        {"circuits/FOO/Foo.MEG", 300}, {"circuits/FOO/fOO.brt", 40},
        {"circuits/FOO/-OO.brt", 50},  {"circuits/FOO/circuits.bin", 144},
        {"voitures/Foo/Foo.bv3", 7},   {"voitures/Foo/Foo.bv4", 1000},
        {"voitures/Foo/Foo.img", 24}};
    for (const auto& [file, size] : files) {
        WriteFile(game.disc + "/" + file, Bytes(size, 0x5A));
    }
    EXPECT_EQ(TrackSetSize(run.Session(), "Foo"), 690);
    run.State().AcceleratedVersionPresent = 1;
    WriteFile(game.disc + "/circuits/FOO/foo.bl4", Bytes(1000, 0x5A));
    EXPECT_EQ(TrackSetSize(run.Session(), "Foo"), 1590);
    EXPECT_EQ(CarSetSize(run.Session(), "Foo"), 1024);
    const std::string big = game.disc + "/circuits/Big/Big.bl4";
    const std::int64_t length = (std::int64_t{3} << 30) + 5;
    WriteFile(big, Bytes{});
    std::filesystem::resize_file(big, static_cast<std::uintmax_t>(length)); // sparse: no space
    EXPECT_EQ(TrackSetSize(run.Session(), "Big"), length);
}

// Record files are optional; the accelerated game needs the bl4 file, not the standard one; the
// one warning names the first missing file.
TEST(FileSets, ChecksWarnOnceNamingTheFirstMissingFile) {
    TestGame game;
    GameRun run(game);
    ASSERT_TRUE(run.Start());
    for (const char* file : {"Quarry/Quarry.brt", "Quarry/-uarry.brt", "Summit/Summit.bl3",
                             "Summit/Summit.img", "Tundra/Tundra.bl4"}) {
        std::filesystem::remove(game.disc + "/circuits/" + file);
    }
    std::filesystem::remove(game.disc + "/voitures/Comet/Comet.meg");
    run.view.Clear();
    EXPECT_EQ(CheckTrackSet(run.Session(), "Quarry"), 1);
    EXPECT_EQ(CheckTrackSet(run.Session(), "Tundra"), 1);
    EXPECT_EQ(CheckTrackSet(run.Session(), "Summit"), 0);
    EXPECT_EQ(CheckCarSet(run.Session(), "Comet"), 0);
    run.State().AcceleratedVersionPresent = 1;
    EXPECT_EQ(CheckTrackSet(run.Session(), "Tundra"), 0);
    const auto warning = [&](const std::string& file, const std::string& entry) {
        return "Warning 48: File '" + game.DiscPath(file) + "' not found, " + entry +
               "' won't be add";
    };
    EXPECT_THAT(run.view.boxes,
                ::testing::ElementsAre(warning("circuits/Summit/Summit.bl3", "track 'Summit"),
                                       warning("voitures/Comet/Comet.meg", "car 'Comet"),
                                       warning("circuits/Tundra/Tundra.bl4", "track 'Tundra")));
}

// A track whose files' paths take exactly 255 characters, on the disc and in the game, is taken;
// one more character in either and it is refused, the file, its path and the limit named.
TEST(FileSets, PathsOfUpTo255CharactersAreTakenLongerOnesRefusedByName) {
    TestGame game;
    GameRun run(game);
    ASSERT_TRUE(run.Start());
    // <source>/circuits/<name>/<name>.bl3: 15 characters and the source besides the two names.
    const std::string top = game.dir / "s";
    const std::size_t room = 255 - 15 - top.size();
    const std::string source = top + std::string(room % 2, 's'), name(room / 2, 'n');
    ASSERT_GT(name.size(), 50u);
    for (const char* extension : {".bl3", ".img", ".meg"}) {
        WriteFile(source + "/circuits/" + name + "/" + name + extension, "data");
    }
    const std::string longest = source + "/circuits/" + name + "/" + name + ".bl3";
    ASSERT_EQ(longest.size(), 255u);
    PatcherSettings& settings = run.Session().settings;
    settings.GameDirectory.Assign("C:\\G\\");
    run.view.Clear();
    ASSERT_TRUE(SetSourceDirectory(settings, Utf8ToCp1252(source).value()));
    EXPECT_EQ(CheckTrackSet(run.Session(), name), 1);
    ASSERT_TRUE(SetSourceDirectory(settings, Utf8ToCp1252(source + "s").value()));
    EXPECT_EQ(CheckTrackSet(run.Session(), name), 0);
    const auto refused = [](const std::string& entry, std::string path) {
#ifdef _WIN32
        std::replace(path.begin(), path.end(), '/', '\\'); // the paths the game is given
#endif
        return "Warning 48: Track '" + entry + "' won't be added: its file '" + path +
               "' would have a path of " + std::to_string(path.size()) +
               " characters, and the game's paths hold at most 255.";
    };
    EXPECT_THAT(run.view.boxes, ::testing::ElementsAre(
                                    refused(name, source + "s" + longest.substr(source.size()))));
    // The game's side: its folder, Data\Binary\Circuits\ (21), Quarry.bl3 (10).
    ASSERT_TRUE(SetSourceDirectory(settings, Utf8ToCp1252(game.disc).value()));
    const std::string folder = "C:\\" + std::string(255 - 31 - 4, 'g') + "\\";
    settings.GameDirectory.Assign(folder);
    run.view.Clear();
    EXPECT_EQ(CheckTrackSet(run.Session(), "Quarry"), 1);
    settings.GameDirectory.Assign("C:\\" + std::string(255 - 31 - 3, 'g') + "\\");
    EXPECT_EQ(CheckTrackSet(run.Session(), "Quarry"), 0);
    EXPECT_THAT(run.view.boxes, ::testing::ElementsAre(
                                    refused("Quarry", settings.GameDirectory.str() +
                                                          "Data\\Binary\\Circuits\\Quarry.bl3")));
}

// Names that Windows cannot give a file are refused before any file is looked at; names that
// only resemble them are not (they are refused later, for their missing files).
TEST(FileSets, NamesWindowsCannotHoldAreRefused) {
    TestGame game;
    GameRun run(game);
    ASSERT_TRUE(run.Start());
    for (const std::string name : {"CON", "prn", "Aux", "nul.txt", "COM1", "lpt9.bl3", "Why?",
                                   "Star*", "Pi|pe", "<Tag>", "Say\"", "Dot.", "Space "}) {
        run.view.Clear();
        EXPECT_EQ(CheckCarSet(run.Session(), name), 0) << name;
        EXPECT_THAT(run.view.boxes,
                    ::testing::ElementsAre("ZAV Data Patcher 48: The name of car '" + name +
                                           "' cannot be used for files on Windows (a device name "
                                           "such as CON, NUL, COM1 or LPT1, with or without an "
                                           "extension; one of the characters ? * | < > \" :; or "
                                           "a dot or space at its end), so it won't be added."));
    }
    for (const std::string name : {"COM0", "Console", "LPT10", "Nul-Track", ".Dot"}) {
        run.view.Clear();
        EXPECT_EQ(CheckCarSet(run.Session(), name), 0) << name;
        ASSERT_EQ(run.view.boxes.size(), 1u);
        EXPECT_THAT(run.view.boxes[0].text, ::testing::HasSubstr("not found")) << name;
    }
}

} // namespace
} // namespace zav::test
