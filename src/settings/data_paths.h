// Every path of the system: the game's data folders, the new data beside the tool, file names.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "platform/fixed_text.h"
#include "settings/patcher_settings.h"

namespace zav {

/// Folder selectors: 0 to 6 name the game's data folders (DataFolders); the two source
/// selectors are recognised by bits 8 to 15 alone, the low byte is ignored.
inline constexpr std::int32_t FOLDER_CIRCUITS = 0;
inline constexpr std::int32_t FOLDER_VOITURES = 1;
inline constexpr std::int32_t FOLDER_SCRIPTS = 2;
inline constexpr std::int32_t FOLDER_MIMG = 3;
inline constexpr std::int32_t FOLDER_RESSON = 4;
inline constexpr std::int32_t FOLDER_RECORDS = 5;
inline constexpr std::int32_t FOLDER_GAME_ROOT = 6;
inline constexpr std::int32_t FOLDER_SOURCE_TRACKS = 0x100;
inline constexpr std::int32_t FOLDER_SOURCE_CARS = 0x200;

/// The game's data folders, relative to GameDirectory, by selector.
inline constexpr std::array<std::string_view, 7> DataFolders = {"Data\\Binary\\Circuits\\",
                                                                "Data\\Binary\\Voitures\\",
                                                                "Data\\Binary\\Scripts\\",
                                                                "Data\\Binary\\Mimg\\",
                                                                "Data\\Binary\\Resson\\",
                                                                "Data\\Records\\",
                                                                ""};

/// Extension indexes of FileExtensions.
inline constexpr int EXT_NONE = 0;
inline constexpr int EXT_TRACK_ANY = 1;
inline constexpr int EXT_TRACK_STANDARD = 2;
inline constexpr int EXT_TRACK_ACCELERATED = 3;
inline constexpr int EXT_CAR_ANY = 4;
inline constexpr int EXT_CAR_STANDARD = 5;
inline constexpr int EXT_CAR_ACCELERATED = 6;
inline constexpr int EXT_LIST = 7;
inline constexpr int EXT_PICTURE = 8;
inline constexpr int EXT_SOUND = 9;
inline constexpr int EXT_RECORDS = 10;
inline constexpr int EXT_PROGRAM = 11;
inline constexpr int EXT_WORK_COPY = 12;

/// File extensions by index; index 0 appends nothing, not even the dot. "bl?" and "bv?" hold a
/// literal question mark.
inline constexpr std::array<std::string_view, 13> FileExtensions = {
    "", "bl?", "bl3", "bl4", "bv?", "bv3", "bv4", "bin", "img", "meg", "brt", "exe", "sav"};

/// The separator of the paths built under `folder`: '/' under a POSIX host folder (one that
/// starts with '/'), '\' under a Windows one. The game's own folders are always Windows ones.
char PathSeparatorUnder(std::string_view folder);

/// Builds a folder into `out` (overwritten): the source track or car folder, with `entryName`
/// and a separator after it when given, written with the source folder's separator; or
/// GameDirectory followed by a data folder; or an empty text for any other selector. Returns `out`;
/// null when `out` is null, or when the path would be longer than 255 characters (then `out` is
/// left empty).
PathText* BuildFolderPath(const PatcherSettings& settings, std::int32_t selector,
                          const char* entryName, PathText* out);

/// Appends "." and FileExtensions[extensionIndex] unless the index is 0. 1; 0 (and `path`
/// unchanged) when the index is outside the table or the path would pass 255 characters.
int AppendExtension(PathText& path, int extensionIndex);

/// Builds a file path into `out`: the folder of BuildFolderPath, `baseName` when given, the
/// extension. Returns `out`; null when `out` is null or the path would pass 255 characters
/// (then `out` is left empty).
PathText* BuildDataPath(const PatcherSettings& settings, const char* baseName, int extensionIndex,
                        std::int32_t selector, const char* entryName, PathText* out);

} // namespace zav
