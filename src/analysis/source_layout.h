// Where in a folder of new data (a disc, a downloaded pack) the tracks and cars lie.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace zav {

enum class SourceLayoutKind {
    Disc,      ///< a folder holding circuits/ or voitures/ (or both)
    LoneTrack, ///< one track's folder: its own circuits.bin names it
    LoneCar,   ///< one car's folder: its own voitures.bin names it
    Unknown,   ///< neither
};

struct SourceLayout {
    SourceLayoutKind kind = SourceLayoutKind::Unknown;
    /// The folder holding circuits/ and voitures/, or the lone entry's folder; a path of the
    /// FileSystem, spelled as the folder it was found in.
    std::string folder;
    /// The lone entry's name: its folder's name, or the name given for the top.
    std::string name;
    /// Unknown only: what lies at the top, a folder's name ending in '/', and inside the one
    /// folder at the top if there is one ("Pack/readme.txt"); listing order.
    std::vector<std::string> found;
};

/// The layout of the new data in `folder` (a path of `files`), at its top or else inside the one
/// folder at its top (files beside that folder do not count): the disc's layout when it holds a
/// folder circuits or voitures (names matched without regard to case); else one track or car,
/// when the folder's own circuits.bin (or voitures.bin) names it in its first record. The top
/// is named `topName` for that test (a pack's top has no folder name of its own); a folder
/// inside is named by its own name. A name that could not stand as one folder name is never
/// taken. Unknown also when `folder` cannot be listed.
SourceLayout RecogniseSourceLayout(FileSystem& files, std::string_view folder,
                                   std::string_view topName);

} // namespace zav
