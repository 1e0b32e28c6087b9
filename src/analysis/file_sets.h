// The data files that make up a track or a car: their size and whether they are all there.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "session/patcher_session.h"

namespace zav {

/// One file of a track or car set, named after the entry.
struct SetFile {
    std::string baseName;    ///< the entry's name, or the second record file's name
    int extensionIndex;      ///< into FileExtensions
    std::int32_t gameFolder; ///< the FOLDER_* it is installed into
    bool tested;             ///< its absence keeps the entry from being added or installed
    bool guarded;            ///< an existing game file is replaced only after the user's Yes
};

/// A track's five files in the order they are counted, tested and installed: the track file
/// (bl4 when `accelerated`, else bl3), img, meg, Name.brt and the second record file.
std::vector<SetFile> TrackSetFiles(std::string_view name, bool accelerated);
/// A car's three files: the car file (bv4 or bv3), img, meg.
std::vector<SetFile> CarSetFiles(std::string_view name, bool accelerated);
/// The files of `kind`.
std::vector<SetFile> SetFiles(DataKind kind, std::string_view name, bool accelerated);

/// The path of a set file in the entry's folder beside the tool; false when it would pass 255
/// characters.
bool SourceFilePath(const PatcherSession& session, DataKind kind, std::string_view entryName,
                    const SetFile& file, PathText& out);
/// The path of a set file in the game's data folder; false when it would pass 255 characters.
bool GameFilePath(const PatcherSession& session, const SetFile& file, PathText& out);

/// Length of the file in bytes; 0 when it cannot be opened.
std::int64_t FileLength(FileSystem& files, std::string_view path);
/// Sum of the lengths of a proposed track's five files, or of a proposed car's three.
std::int64_t TrackSetSize(PatcherSession& session, std::string_view name);
std::int64_t CarSetSize(PatcherSession& session, std::string_view name);
/// TrackSetSize or CarSetSize, as `kind` says.
std::int64_t SetSize(PatcherSession& session, DataKind kind, std::string_view name);

/// 1 when the file can be opened for reading. Otherwise shows the fixed English warning
/// ("File '%s' not found, %s '%s' won't be add", or with `forDisplay` "File '%s' not found,
/// impossible to display '%s' %s") under "Warning" with the exclamation icon, and returns 0.
int CheckFilePresent(PatcherSession& session, std::string_view path, std::string_view entryName,
                     int isCar, int forDisplay);

/// 1 when the tested files of a proposed track (track file, img, meg) are there; otherwise one
/// warning naming the first missing file, and 0. A name that could lead a path out of its
/// folder is refused with a warning of its own.
int CheckTrackSet(PatcherSession& session, std::string_view name);
int CheckCarSet(PatcherSession& session, std::string_view name);
/// CheckTrackSet or CheckCarSet, as `kind` says.
int CheckSet(PatcherSession& session, DataKind kind, std::string_view name);

/// Warns that `name` cannot be used to build paths safely; for every place that refuses one.
void WarnUnsafeName(PatcherSession& session, DataKind kind, std::string_view name);

} // namespace zav
