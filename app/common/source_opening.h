// Opening the new data the user named: a folder in any known layout, or a downloaded pack.
#pragma once

#include <string>

#include "platform/archive_unpacker.h"
#include "program_start.h"

namespace zav {

/// What OpenSource made of the source.
struct OpenedSource {
    /// False for a pack that cannot be used (nothing of it is then proposed).
    bool usable = true;
    /// What the user is told, code page 1252, in the game's language; empty when all is well
    /// (or when the source folder is missing, which SourceFolderProblem tells).
    std::string notice;
};

/// Makes `folders`' source the folder holding circuits/ and voitures/ that the new-data scan
/// reads, so that the scan, a dry run and the history never see where it came from:
/// - a pack (any file that is not a folder) is unpacked into the folder "pack" of the run's
///   temporary folder (UnpackArchive with `limits`); one that is refused leaves the source as it
///   was, with the reason;
/// - in the folder or the unpacked pack, the layout is recognised (RecogniseSourceLayout, a
///   pack's top named as the pack without its extensions): the disc's layout is used where it
///   was found; a lone track or car folder is laid out as a disc in the temporary folder's
///   "lone", whose circuits/ or voitures/ holds a folder of that name with links to its files;
///   anything else gets a notice of what was expected and what was found (not for the program's
///   own folder, for which the front ends' usual notice tells), and for a pack is not usable.
/// A dry run unpacks too: the temporary folder is a real one then, and goes with `program`.
OpenedSource OpenSource(StartFolders& folders, ProgramFileSystem& program,
                        const UnpackLimits& limits = {});

/// The message for a pack that was not unpacked, in the language of `languageOffset`, naming
/// `pack` (code page 1252). Empty when `result` is Done.
std::string UnpackNotice(const UnpackResult& result, const std::string& pack,
                         std::int32_t languageOffset);

} // namespace zav
