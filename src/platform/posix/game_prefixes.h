// The Wine prefixes on this host that hold the game, in every place where Linux players keep them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zav {

/// The environment variables that say where prefixes live, handed in so that a search can be
/// run on any home folder. Empty means unset.
struct PrefixEnvironment {
    std::string home;          ///< HOME
    std::string winePrefix;    ///< WINEPREFIX
    std::string xdgConfigHome; ///< XDG_CONFIG_HOME (~/.config when unset or relative)
    std::string xdgDataHome;   ///< XDG_DATA_HOME (~/.local/share when unset or relative)
    std::string winePrefixes;  ///< WINE_PREFIXES, winetricks' folder (~/.local/share/wineprefixes)
};

/// The variables of this process.
PrefixEnvironment PrefixEnvironmentOfProcess();

/// What keeps a prefix, in the order a search goes through them.
enum class PrefixKind {
    WinePrefixVariable, ///< $WINEPREFIX
    Wine,               ///< ~/.wine
    Winetricks,
    Lutris,
    Bottles,
    PlayOnLinux,
    Steam, ///< Proton's prefixes of every Steam library
    Heroic,
};

/// The word for `kind` in listings: wineprefix, wine, winetricks, lutris, bottles, playonlinux,
/// steam, heroic.
std::string_view PrefixKindWord(PrefixKind kind);

/// A prefix whose Windows directory holds the game's settings file.
struct FoundPrefix {
    PrefixKind kind;
    std::string folder; ///< UTF-8 host path, absolute, lexically normal, no trailing '/'
};

/// A place that was looked at: a folder, a folder's sub-folders ("<folder>/*"), or the
/// configuration files that name prefixes ("<folder>/*.yml").
struct SearchedPlace {
    PrefixKind kind;
    std::string where; ///< UTF-8 host path, with '*' where every entry was tried
};

struct PrefixSearch {
    std::vector<FoundPrefix> prefixes; ///< in the order of PrefixKind, then of the names
    std::vector<SearchedPlace> places; ///< every place looked at, in the order they were
};

/// Every prefix named by `environment`'s places whose Windows directory (drive_c/windows, its
/// names in any case) holds the settings file Quorvex\Qvx.ini as a regular file: $WINEPREFIX,
/// ~/.wine, winetricks' prefixes, Lutris (its games' YAML files and ~/Games), Bottles (with a
/// custom bottles folder and placeholders), PlayOnLinux, Steam's Proton prefixes in every library
/// of the native, Flatpak and Snap Steam, and Heroic (its games' JSON files and its default
/// prefixes folder). Each prefix is listed once, under the first place that names it, however it
/// is spelled (canonical paths are compared).
///
/// Configuration files are read as data, never run: one that is not a regular file, is larger
/// than 1 MiB, or cannot be parsed is passed over, and so is a named prefix that is not an
/// absolute path or holds a control character. Nothing is read but the configuration files and
/// the folders on the way to each settings file; the number of entries taken from one folder and
/// of prefixes tried is bounded.
PrefixSearch FindGamePrefixes(const PrefixEnvironment& environment);

/// The prefix that `folder` (a UTF-8 host path) lies in: the nearest of the folder itself and its
/// parents (taken by name, not through links) that has a drive_c or dosdevices folder; `folder`
/// as given when none has.
std::string EnclosingPrefix(std::string_view folder);

} // namespace zav
