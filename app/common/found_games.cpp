// Reading each found prefix's settings file, and the choice of a run's prefix.
#include "found_games.h"

#include <cstdlib>

#include "platform/codepage.h"
#include "platform/profile_reader.h"
#include "settings/game_location.h"
#include "settings/own_texts.h"
#include "settings/text_format.h"
#ifdef _WIN32
#include "platform/win32/win32_file_system.h"
#else
#include "platform/posix/posix_file_system.h"
#endif

namespace zav {
namespace {

constexpr std::size_t kLanguageBufferSize = 30; // as the game-location code reads it

// The game in the Windows directory of `files`; version 0 when its settings name none.
FoundGame ReadGame(FileSystem& files, std::string kind, std::string prefix) {
    FileSystemProfile profile(files);
    FoundGame game;
    game.kind = std::move(kind);
    game.prefix = std::move(prefix);
    PathText folder;
    game.version = FindGameDirectory(files, profile, &folder);
    game.gameFolder = std::string(folder.view());
    game.language = profile.GetString("ZAV2_0", "Language", "", kLanguageBufferSize,
                                      LANGUAGE_SETTINGS_FILE_NAME);
    return game;
}

// A UTF-8 text in the game's code page, for a message; what it cannot write shows as '?'.
std::string InCodePage(const std::string& text) {
    if (auto converted = Utf8ToCp1252(text)) {
        return *converted;
    }
    std::string shown;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            shown += text[i];
        } else if ((byte & 0xC0) != 0x80) {
            shown += '?'; // one mark for each character, not for each byte
        }
    }
    return shown;
}

std::string Shown(std::string text) {
    for (char& c : text) {
        const auto byte = static_cast<unsigned char>(c);
        c = byte < 0x20 || byte == 0x7F ? '?' : c;
    }
    return text;
}

std::string Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += (text.empty() ? "  " : "\n  ") + line;
    }
    return text;
}

std::string GameLines(const GameSearch& search) {
    std::vector<std::string> lines;
    for (const FoundGame& game : search.games) {
        lines.push_back(InCodePage(GameLine(game)));
    }
    return Lines(lines);
}

std::string PlaceLines(const GameSearch& search) {
    std::vector<std::string> lines;
    for (const std::string& place : search.places) {
        lines.push_back(InCodePage(place));
    }
    return Lines(lines);
}

} // namespace

#ifdef _WIN32
GameSearch FindGames() {
    Win32FileSystem files;
    GameSearch search;
    const std::string windows = Cp1252ToUtf8(files.WindowsDirectory());
    search.places.push_back("windows: " + windows + "\\" + Cp1252ToUtf8(SETTINGS_FILE_NAME));
    FoundGame game = ReadGame(files, "windows", windows);
    if (game.version != 0) {
        search.games.push_back(std::move(game));
    }
    return search;
}

PrefixChoice ChoosePrefix(std::string_view named) {
    return {PrefixOrigin::Named, std::string(named), {}};
}
#else
GameSearch FindGames(const PrefixEnvironment& environment) {
    const PrefixSearch prefixes = FindGamePrefixes(environment);
    GameSearch search;
    for (const SearchedPlace& place : prefixes.places) {
        search.places.push_back(std::string(PrefixKindWord(place.kind)) + ": " + place.where);
    }
    for (const FoundPrefix& prefix : prefixes.prefixes) {
        PosixFileSystem files(prefix.folder);
        FoundGame game = ReadGame(files, std::string(PrefixKindWord(prefix.kind)), prefix.folder);
        if (game.version != 0) {
            search.games.push_back(std::move(game));
        }
    }
    return search;
}

GameSearch FindGames() {
    return FindGames(PrefixEnvironmentOfProcess());
}

PrefixChoice ChoosePrefix(std::string_view named) {
    return ChoosePrefix(named, PrefixEnvironmentOfProcess());
}

bool HoldsGame(const std::string& prefix) {
    PosixFileSystem files(prefix);
    return ReadGame(files, {}, prefix).version != 0;
}

PrefixChoice ChoosePrefix(std::string_view named, const PrefixEnvironment& environment) {
    if (!named.empty()) {
        return {PrefixOrigin::Named, EnclosingPrefix(named), {}};
    }
    if (!environment.winePrefix.empty()) {
        return {PrefixOrigin::Environment, environment.winePrefix, {}};
    }
    PrefixChoice choice{PrefixOrigin::NoneFound, environment.home + "/.wine",
                        FindGames(environment)};
    if (choice.search.games.size() == 1) {
        choice.origin = PrefixOrigin::OneFound;
        choice.prefix = choice.search.games.front().prefix;
    } else if (choice.search.games.size() > 1) {
        choice.origin = PrefixOrigin::SeveralFound;
        choice.prefix.clear();
    }
    return choice;
}
#endif

std::string GameLine(const FoundGame& game) {
    const std::string language = game.language.empty() ? "English" : game.language;
    return Shown(game.kind) + '\t' + Shown(game.prefix) + '\t' +
           Shown(Cp1252ToUtf8(game.gameFolder)) + '\t' + std::to_string(game.version) + '\t' +
           Shown(Cp1252ToUtf8(language));
}

std::string PlacesLookedNotice(const PrefixChoice& choice, std::int32_t languageOffset) {
    if (choice.origin != PrefixOrigin::NoneFound) {
        return {};
    }
    return FormatText(OwnText(OwnTextId::PrefixesSearched, languageOffset),
                      {PlaceLines(choice.search)});
}

std::string SeveralGamesNotice(const GameSearch& search, std::int32_t languageOffset) {
    return FormatText(OwnText(OwnTextId::SeveralGamesFound, languageOffset), {GameLines(search)});
}

std::string NoGameFoundNotice(const GameSearch& search, std::int32_t languageOffset) {
#ifdef _WIN32
    (void)search;
    Win32FileSystem files; // its paths are code page 1252 already
    return FormatText(OwnText(OwnTextId::GameSearchNoticeWindows, languageOffset),
                      {files.WindowsDirectory() + "\\" + std::string(SETTINGS_FILE_NAME)});
#else
    return FormatText(OwnText(OwnTextId::NoGameFound, languageOffset), {PlaceLines(search)});
#endif
}

} // namespace zav
