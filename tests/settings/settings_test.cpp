// The settings: the game and its language from a Wine prefix, data paths, texts and error reports.
#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <regex>
#include <string>

#include "platform/profile_reader.h"
#include "settings/data_paths.h"
#include "settings/error_report.h"
#include "settings/game_location.h"
#include "settings/own_texts.h"
#include "settings/string_table.h"
#include "settings/text_format.h"
#include "support/host_file_system.h"
#include "support/wine_prefix.h"

namespace zav {
namespace {

TEST(DataPathsTest, FoldersFilesExtensionsAndThe255CharacterLimit) {
    PatcherSettings settings;
    settings.GameDirectory.Assign("C:\\Games\\ZAV\\");
    settings.SourceDirectory.Assign("/media/disc");
    PathText out;
    // The path built into a text holding "stale"; "<null>" when refused and left empty.
    const auto data = [&](const char* base, int extension, std::int32_t selector,
                          const char* entry = nullptr) -> std::string {
        out.Assign("stale");
        const PathText* built = BuildDataPath(settings, base, extension, selector, entry, &out);
        return built == &out ? out.str() : built == nullptr && out.empty() ? "<null>" : "?";
    };
    const std::string binary = "C:\\Games\\ZAV\\Data\\Binary\\";
    const std::tuple<std::int32_t, const char*, std::string> cases[] = {
        {FOLDER_CIRCUITS, nullptr, binary + "Circuits\\"},
        {FOLDER_SCRIPTS, "ignored", binary + "Scripts\\"},
        {FOLDER_RECORDS, nullptr, "C:\\Games\\ZAV\\Data\\Records\\"},
        {FOLDER_GAME_ROOT, nullptr, "C:\\Games\\ZAV\\"},
        // The new data's selectors are recognised by their second byte.
        // A host folder's new-data paths are written with its own separator.
        {FOLDER_SOURCE_TRACKS, "Foo", "/media/disc/circuits/Foo/"},
        {0x2AB, "Bar", "/media/disc/voitures/Bar/"},
        {7, nullptr, ""},
    };
    for (const auto& [selector, entry, expected] : cases) {
        EXPECT_EQ(data(nullptr, EXT_NONE, selector, entry), expected) << selector;
    }
    EXPECT_EQ(data("Foo", EXT_PICTURE, FOLDER_SOURCE_TRACKS, "Foo"),
              "/media/disc/circuits/Foo/Foo.img");
    EXPECT_EQ(data("voiture2", EXT_WORK_COPY, 7) + data("x", EXT_TRACK_ANY, 7),
              "voiture2.savx.bl?");
    EXPECT_EQ(data("name", 13, 7) + data("name", -1, 7), "<null><null>");
    settings.GameDirectory.Assign("C:\\" + std::string(231, 'g') + "\\");
    EXPECT_EQ(data(nullptr, EXT_NONE, FOLDER_SCRIPTS).size(), 255u);
    EXPECT_EQ(data("x", EXT_NONE, FOLDER_SCRIPTS), "<null>");
    EXPECT_EQ(data("abc", EXT_NONE, FOLDER_RECORDS).size(), 251u);
    EXPECT_EQ(data("abcd", EXT_LIST, FOLDER_RECORDS), "<null>");
    // The program's folder is kept without trailing separators, up to 255 characters.
    EXPECT_TRUE(SetSourceDirectory(settings, "D:/Zav\\Patcher\\/"));
    EXPECT_EQ(settings.SourceDirectory, "D:\\Zav\\Patcher");
    EXPECT_EQ(data(nullptr, EXT_NONE, FOLDER_SOURCE_CARS, "A"), "D:\\Zav\\Patcher\\voitures\\A\\");
    EXPECT_FALSE(SetSourceDirectory(settings, "/" + std::string(255, 'x')));
    EXPECT_EQ(settings.SourceDirectory, "D:\\Zav\\Patcher")
        << "a refused folder leaves the old one";
    EXPECT_TRUE(SetSourceDirectory(settings, "/" + std::string(254, 'x') + "/"));
    EXPECT_EQ(data(nullptr, EXT_NONE, FOLDER_SOURCE_CARS, "A"), "<null>");
}

TEST(GameLocationTest, SectionZavWinsForTheDirectoryAndZav2_0GivesTheLanguage) {
    test::WinePrefix prefix;
    test::HostFileSystem files{prefix.path()};
    FileSystemProfile profile{files};
    PathText directory;
    const std::tuple<std::string, std::int32_t, std::string> cases[] = {
        {"[ZAV2_0]\nDirectory=D:\\ZAV2\\\n[ZAV]\nDirectory=C:\\ZAV\\\n", 1, "C:\\ZAV\\"},
        {"[ZAV]\nDirectory=\n[ZAV2_0]\nDirectory=D:\\ZAV2\\\n", 2, "D:\\ZAV2\\"},
        {"[ZAV]\nDirectory=\n[ZAV2_0]\nDirectory=\"\"\nLanguage=German\n", 0, ""},
        {"[ZAV]\nDirectory=C:\\" + std::string(297, 'd') + "\n", 1, "C:\\" + std::string(252, 'd')},
    };
    for (const auto& [text, version, expected] : cases) {
        prefix.WriteSettings(text);
        directory.Assign("stale");
        EXPECT_EQ(FindGameDirectory(files, profile, &directory), version) << text;
        EXPECT_EQ(directory.view(), expected) << text;
    }
    // A missing value gives the default, trimmed and cut; the file's name has any case and slashes.
    EXPECT_EQ(profile.GetString("ZAV", "Missing", " 0123456789 ", 5, "QUORVEX/QVX.INI"), "0123");
    // The language name chooses the block; the value is cut to 29 characters, not to the name.
    const std::pair<std::string, std::int32_t> languages[] = {
        {"[ZAV2_0]\nLanguage= FRENCH ", 96},
        {"[ZAV2_0]\nLanguage=German", 48},
        {"[ZAV]\nLanguage=French", 0}, // only section ZAV2_0 is asked
        {"[ZAV2_0]\nLanguage=French" + std::string(30, ' ') + "x", 0},
    };
    for (const auto& [text, offset] : languages) {
        prefix.WriteSettings(text + "\n");
        PatcherSettings settings;
        settings.LanguageOffset = -1;
        LoadLanguageSetting(profile, settings);
        EXPECT_EQ(settings.LanguageOffset, offset) << text;
    }
}

// The catalog reads the language from the settings file at its first use.
TEST(TextsTest, LanguagesReportsAndTextsNeverUseArgumentsAsFormatsAndAreCutTo255) {
    test::WinePrefix prefix;
    test::HostFileSystem files{prefix.path()};
    FileSystemProfile profile{files};
    PatcherSettings settings;
    std::optional<TextCatalog> catalog;
    const auto in = [&](const std::string& language) -> TextCatalog& {
        prefix.WriteSettings("[ZAV2_0]\nLanguage=" + language + "\n");
        return catalog.emplace(settings, profile);
    };
    const auto report = [&](std::int32_t code, const char* argument, bool fatal = false,
                            const std::string& language = "English") {
        return FormatErrorReport(in(language), code, argument, fatal);
    };
    std::string loaded = "stale";
    EXPECT_TRUE(in("German").LoadText(102, loaded) && loaded == "Strecken");
    EXPECT_FALSE(in("English").LoadText(101, loaded) || StringTableText(0) || StringTableText(246));
    EXPECT_EQ(loaded, "") << "missing ids give nothing";
    EXPECT_EQ(report(ERR_FILE_NOT_FOUND, "%s%n").message, "File '%s%n' not found");
    EXPECT_EQ(report(8, "%s").message + report(INT_MIN, "%s").message, "") << "unknown codes";
    EXPECT_EQ(FormatText("%s: %d of %u (%ld, %i) %", {"Copy", 3, 5L, 7LL, -2}),
              "Copy: 3 of 5 (7, -2) %");
    EXPECT_EQ(FormatText("100%% '%s' '%s' %x", {"one"}), "100% 'one' '' %x") << "missing: empty";
    EXPECT_EQ(FormatTextLimited("%d%s", {123456, "abcdef"}, 5), "12345") << "numbers stay whole";
    // A long path is shortened in its middle.
    const std::string path = "C:\\" + std::string(239, 't') + "\\circuits.bin";
    const std::string message = report(ERR_TEMP_FILE, path.c_str(), true).message;
    EXPECT_EQ(message.size(), 255u);
    EXPECT_EQ(message.substr(0, 36), "Failed to create temporary file 'C:\\");
    EXPECT_EQ(message.substr(message.size() - 14), "\\circuits.bin'") << message;
    EXPECT_NE(message.find("..."), std::string::npos);
    const ErrorReport german = report(ERR_GAME_NOT_DETECTED, nullptr, true, "German");
    EXPECT_EQ(german.message + "|" + german.caption + "|" + std::to_string(german.style),
              "ZAV not detected|Fatal Error|16");
    EXPECT_EQ(report(9, nullptr, false, "German").style, 48u) << "a warning";
    // Our own texts: the catalog's language, and in every language the same arguments in turn.
    EXPECT_EQ(in("French").Own(OwnTextId::ButtonClose), "Quitter");
    const auto argumentsOf = [](OwnTextId id, std::int32_t languageOffset) {
        const std::string text = OwnText(id, languageOffset);
        const std::regex argument("%[a-z]+");
        std::string arguments;
        for (std::sregex_iterator it(text.begin(), text.end(), argument), end; it != end; ++it) {
            arguments += it->str();
        }
        return arguments;
    };
    for (int id = 0; id < static_cast<int>(OwnTextId::Count); ++id) {
        const auto own = static_cast<OwnTextId>(id);
        EXPECT_EQ(argumentsOf(own, 48) + "|" + argumentsOf(own, 96),
                  argumentsOf(own, 0) + "|" + argumentsOf(own, 0))
            << id;
    }
}

} // namespace
} // namespace zav
