// The games installed on this host, and which of them a run works on when none is named.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#ifndef _WIN32
#include "platform/posix/game_prefixes.h"
#endif

namespace zav {

/// A game whose settings file names its folder.
struct FoundGame {
    std::string kind;   ///< where it was found: a PrefixKindWord; "windows" on Windows
    std::string prefix; ///< the prefix folder, a UTF-8 host path; the Windows directory on Windows
    std::string gameFolder;   ///< its folder as its settings file names it, code page 1252
    std::int32_t version = 0; ///< 1 or 2: the section that named the folder
    std::string language;     ///< "Language" of [ZAV2_0], code page 1252; empty when none
};

struct GameSearch {
    std::vector<FoundGame> games;
    std::vector<std::string> places; ///< every place looked at, "kind: where", UTF-8
};

/// Every game of the places of this process's environment, each read through its settings file
/// (a prefix whose settings file names no game folder is left out); on Windows, the one game of
/// the Windows directory, if any.
GameSearch FindGames();

#ifndef _WIN32
/// The same for the places `environment` names.
GameSearch FindGames(const PrefixEnvironment& environment);
#endif

/// The line of `game` in a listing, UTF-8 without a newline: kind, prefix, game folder, version
/// and language (English when the settings file names none), separated by tabs. Control
/// characters of the settings file's values show as '?', so a line is always five fields.
std::string GameLine(const FoundGame& game);

/// How a run came to its prefix.
enum class PrefixOrigin {
    Named,        ///< --prefix, or any folder inside a prefix
    Environment,  ///< $WINEPREFIX
    OneFound,     ///< the one game the search found
    NoneFound,    ///< no game anywhere: ~/.wine, so that "ZAV not detected" names it
    SeveralFound, ///< several games: the user must choose
    Chosen,       ///< the window asked: one of several found, or the prefix of a folder named
};

struct PrefixChoice {
    PrefixOrigin origin = PrefixOrigin::Named;
    std::string prefix; ///< a UTF-8 host path; empty for SeveralFound and on Windows
    GameSearch search;  ///< the search, for NoneFound and SeveralFound
};

/// The prefix a run works in: `named` (UTF-8, the --prefix given) taken up to the prefix it lies
/// in (EnclosingPrefix); else $WINEPREFIX when set and not empty; else the one game found. On
/// Windows, where there are no prefixes, always Named and empty.
PrefixChoice ChoosePrefix(std::string_view named);

#ifndef _WIN32
/// The same for the variables of `environment`.
PrefixChoice ChoosePrefix(std::string_view named, const PrefixEnvironment& environment);

/// Whether the settings file of `prefix` (a UTF-8 host path) names the game's folder, as
/// FindGames reads it.
bool HoldsGame(const std::string& prefix);
#endif

/// The sentence that adds the places looked at to "ZAV not detected" when the search found no
/// game (code page 1252, in the language of `languageOffset`); empty for any other choice.
std::string PlacesLookedNotice(const PrefixChoice& choice, std::int32_t languageOffset = 0);

/// The games found, for a run that must be told which to work on (code page 1252).
std::string SeveralGamesNotice(const GameSearch& search, std::int32_t languageOffset = 0);

/// That no game was found, and where the search looked (code page 1252).
std::string NoGameFoundNotice(const GameSearch& search, std::int32_t languageOffset = 0);

} // namespace zav
