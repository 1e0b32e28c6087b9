// The search for the game's Wine prefixes, on a fake home folder holding every prefix manager's
// folders and configuration files.
#include "platform/posix/game_prefixes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "platform/posix/prefix_manager_files.h"
#include "support/temp_dir.h"

namespace zav {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Pair;
namespace fs = std::filesystem;

class GamePrefixesTest : public ::testing::Test {
protected:
    // A prefix with the game's settings file (its Windows directory's names spelled as given).
    std::string Plant(const std::string& relative,
                      const std::string& settings = "drive_c/windows/Quorvex/Qvx.ini") const {
        const std::string prefix = home / relative;
        test::WriteFile(prefix + "/" + settings, "[ZAV2_0]\r\nDirectory=C:\\Games\\ZAV\\\r\n");
        return prefix;
    }
    void Write(const std::string& relative, std::string_view text) const {
        test::WriteFile(home / relative, text);
    }
    std::vector<std::pair<std::string, std::string>> Found() const {
        std::vector<std::pair<std::string, std::string>> found;
        for (const FoundPrefix& prefix : FindGamePrefixes(environment).prefixes) {
            found.emplace_back(PrefixKindWord(prefix.kind), prefix.folder);
        }
        return found;
    }
    const test::TempDir home;
    PrefixEnvironment environment{.home = home.path(),
                                  .winePrefix = {},
                                  .xdgConfigHome = home / "cfg",
                                  .xdgDataHome = {},
                                  .winePrefixes = {}};
};

// Each place of each kind, in the search's order; a prefix that several places name (by a link,
// a second spelling or another manager's file) is listed once, under the first place.
TEST_F(GamePrefixesTest, EveryKindOfPlaceFindsTheGamePlantedThere) {
    environment.winePrefix = Plant("elsewhere/variable");
    Plant(".wine", "drive_c/WINDOWS/quorvex/QVX.INI");
    Plant(".local/share/wineprefixes/tricks");
    Plant(".local/share/wineprefixes/no-game", "drive_c/windows/Quorvex/other.ini");
    Write("cfg/lutris/games/zav-1.yml", "game:\n  exe: zav.exe\n  prefix: ~/lutris/zav  # ours\n"
                                        "wine:\n  prefix: /nowhere\n");
    Write("cfg/lutris/games/again.yml", "game:\n  prefix: '" + home / ".wine/" + "'\n");
    Plant("lutris/zav");
    Plant("Games/zav-library");
    Write(".var/app/net.lutris.Lutris/data/lutris/games/flat.yml",
          "game:\n    prefix: \"" + Plant("flat-lutris") + "\"\n");
    Plant(".local/share/bottles/bottles/Zav");
    Write(".local/share/bottles/data.yml", "custom_bottles_path: ~/MyBottles\n");
    Plant("MyBottles/Custom");
    Write(".local/share/bottles/bottles/Moved/placeholder.yml", "Path: ~/moved/Moved\n");
    Plant("moved/Moved");
    Plant(".var/app/com.usebottles.bottles/data/bottles/bottles/Flat");
    Plant(".PlayOnLinux/wineprefix/ZAV");
    Plant(".local/share/Steam/steamapps/compatdata/2001/pfx");
    fs::create_directories(home / ".steam");
    fs::create_directory_symlink(home / ".local/share/Steam", home / ".steam/steam");
    Write(".local/share/Steam/steamapps/libraryfolders.vdf",
          "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"" + home / ".local/share/Steam" +
              "\"\n\t\t\"apps\" { \"2001\" \"1\" }\n\t}\n\t\"1\"\n\t{\n\t\t\"path\"\t\t\"" +
              home / "library2" + "\"\n\t}\n}\n");
    Plant("library2/steamapps/compatdata/2002/pfx");
    Plant("snap/steam/common/.local/share/Steam/steamapps/compatdata/2003/pfx");
    Write("cfg/heroic/GamesConfig/zav.json",
          R"({"zav": {"wineVersion": {"bin": "/x"}, "winePrefix": "~\/heroic\u002Dzav"}})");
    Plant("heroic-zav");
    Plant("Games/Heroic/Prefixes/default/Zav");
    EXPECT_THAT(
        Found(),
        ElementsAre(
            Pair("wineprefix", home / "elsewhere/variable"), Pair("wine", home / ".wine"),
            Pair("winetricks", home / ".local/share/wineprefixes/tricks"),
            Pair("lutris", home / "lutris/zav"), Pair("lutris", home / "flat-lutris"),
            Pair("lutris", home / "Games/zav-library"), Pair("bottles", home / "moved/Moved"),
            Pair("bottles", home / ".local/share/bottles/bottles/Zav"),
            Pair("bottles", home / "MyBottles/Custom"),
            Pair("bottles", home / ".var/app/com.usebottles.bottles/data/bottles/bottles/Flat"),
            Pair("playonlinux", home / ".PlayOnLinux/wineprefix/ZAV"),
            Pair("steam", home / ".steam/steam/steamapps/compatdata/2001/pfx"),
            Pair("steam", home / "library2/steamapps/compatdata/2002/pfx"),
            Pair("steam",
                 home / "snap/steam/common/.local/share/Steam/steamapps/compatdata/2003/pfx"),
            Pair("heroic", home / "heroic-zav"),
            Pair("heroic", home / "Games/Heroic/Prefixes/default/Zav")));
    const PrefixSearch search = FindGamePrefixes(environment);
    std::vector<std::string> places;
    for (const SearchedPlace& place : search.places) {
        places.push_back(std::string(PrefixKindWord(place.kind)) + ": " + place.where);
    }
    EXPECT_THAT(places, Contains("lutris: " + home / "cfg/lutris/games/*.yml"));
    EXPECT_THAT(places, Contains("steam: " + home / "library2/steamapps/compatdata/*/pfx"));
    EXPECT_THAT(places, Contains("heroic: " + home / ".var/app/com.heroicgameslauncher.hgl/config/"
                                                     "heroic/GamesConfig/*.json"));
}

// A damaged, oversized or hostile configuration file is passed over, and the search goes on.
TEST_F(GamePrefixesTest, DamagedConfigurationFilesArePassedOver) {
    const std::string game = Plant("game");
    Write("cfg/lutris/games/a-binary.yml", std::string("\0\xff\xfe{[game:\n\x01", 12));
    Write("cfg/lutris/games/b-open.yml", "game:\n  prefix: \"" + game + "\n");
    Write("cfg/lutris/games/c-large.yml",
          "game:\n  prefix: " + game + "\n" + std::string(PREFIX_MANAGER_FILE_LIMIT, '#'));
    Write("cfg/lutris/games/d-relative.yml", "game:\n  prefix: game\n");
    Write("cfg/lutris/games/e-escape.yml", "game:\n  prefix: \"" + game + "\\n\"\n");
    ASSERT_EQ(::mkfifo((home / "cfg/lutris/games/f-fifo.yml").c_str(), 0600), 0);
    Write(".local/share/Steam/steamapps/libraryfolders.vdf", "\"libraryfolders\" { \"1\" \"");
    Write("cfg/heroic/GamesConfig/a.json", R"({"a": {"winePrefix": "\uD800)" + game + "\"}}");
    Plant("new\nline");
    Write("cfg/heroic/GamesConfig/b.json", R"({"b": {"winePrefix": ")" + home / "new\\nline\"}}");
    Write("cfg/heroic/GamesConfig/c.json", R"({"c": {"winePrefix": 12, "x": ")" + game);
    Plant(".local/share/wineprefixes/folder", "drive_c/windows/Quorvex/Qvx.ini/inside");
    Write(".local/share/bottles/data.yml", "custom_bottles_path: |\n  " + home.path() + "\n");
    EXPECT_EQ(Found(), (std::vector<std::pair<std::string, std::string>>{}));
    Write("cfg/lutris/games/g-good.yml", "game:\n  prefix: " + game + "\n");
    EXPECT_THAT(Found(), ElementsAre(Pair("lutris", game)));
}

TEST(PrefixManagerFilesTest, ReadTheValuesTheirManagersWrite) {
    EXPECT_EQ(YamlScalar("a: 1\ngame:\n  'prefix': 'it''s'\n", "game", "prefix"), "it's");
    EXPECT_EQ(YamlScalar("game:\n  args:\n    prefix: /deeper\n  x: 1\n", "game", "prefix"),
              std::nullopt);
    EXPECT_EQ(YamlScalar("Path: /p # c\r\n", "", "Path"), "/p");
    EXPECT_EQ(YamlScalar("  Path: /indented\n", "", "Path"), std::nullopt);
    // The older form of the library list, comments, and an unterminated block after the folders.
    EXPECT_THAT(VdfLibraryFolders("// c\n\"LibraryFolders\" { \"TimeNextStatsReport\" \"1\" "
                                  "\"1\" \"/old\" \"2\" { \"path\" \"/a\\\\b\" } \"3\" {"),
                ElementsAre("/old", "/a\\b"));
    EXPECT_THAT(
        JsonStringMembers(R"({"k": "\u00e9\ud83d\ude00", "v": "k", "k": ["x"], "k":"y"})", "k"),
        ElementsAre("\xC3\xA9\xF0\x9F\x98\x80", "y"));
}

TEST(EnclosingPrefixTest, WalksUpFromAnyFolderInsideAPrefix) {
    const test::TempDir root;
    test::MakeFolders(root / "prefix/drive_c/Games/ZAV/Data");
    test::MakeFolders(root / "prefix/dosdevices");
    fs::create_directory_symlink("../drive_c", root / "prefix/dosdevices/c:");
    for (const char* inside :
         {"prefix", "prefix/", "prefix/drive_c", "prefix/drive_c/Games/ZAV/Data",
          "prefix/dosdevices/c:/Games/ZAV", "prefix/drive_c/missing"})
        EXPECT_EQ(EnclosingPrefix(root / inside), root / "prefix") << inside;
    EXPECT_EQ(EnclosingPrefix(root / "outside"), root / "outside");
}

} // namespace
} // namespace zav
