// AnalysePresentSet: what the installed game has, read from its list files.
#pragma once

#include <cstdint>

#include "session/command_report.h"
#include "session/patcher_session.h"

namespace zav {

/// Rebuilds the present tables of `kind` from the game's lists in its Scripts folder: for tracks
/// circuits.bin (the first 16 records are the base tracks, later ones get flag 3); for cars the 8
/// base names, then every name among the first 8 records of voitures.bin and every record of
/// voiture2.bin that is not a base name (compared with the base names only, so a car in both
/// takes two slots). Names are normalised. A list with more entries than the tables hold is
/// taken as far as it fits, and the user is told once what was left out.
/// Returns -1 when done, ERR_FILE_NOT_FOUND (4) with the list's path in `report.argument` when a
/// list cannot be opened, or ERR_UNREFERENCED with the damage in `report.detail` when a list is
/// too short for its count or states a negative one.
std::int32_t AnalysePresentSet(PatcherSession& session, DataKind kind, CommandReport& report);

} // namespace zav
