// DeleteTrack / DeleteCar: one further track or car removed from the game.
#pragma once

#include <cstdint>

#include "session/patcher_session.h"

namespace zav {

/// Pause after each progress step of a deletion.
inline constexpr int DELETE_STEP_PAUSE_MS = 40;

/// Deletes the further track in present slot `slot` (16 or more), in 8 progress steps with a
/// 40 ms pause each: its record (record slot + 1) leaves the game's circuits.bin in one atomic
/// step (the later records move forward, the file keeps its length), the work list is refreshed
/// from the game's list, the track's data files are deleted from the game's folders (bl4 when an
/// accelerated game is installed, bl3, img, meg and the two record files, a read-only one with
/// its attribute cleared; when the session's history knows the track's install, only the files
/// that install created or replaced), and the slot leaves the present set.
/// Returns -1 when deleted; ERR_UNREFERENCED (0) for a slot outside the further tracks (nothing
/// touched); ERR_UPDATE_FAILED (5) when the game's list or the work list could not be updated, or
/// when record slot + 1 does not name the track (nothing deleted then); RESULT_REPORTED when the
/// track's name could lead a path outside the game's folders (the user has been told; nothing
/// touched); RESULT_FILES_KEPT when a base track bears the name: the record went as above, the
/// data files stay; RESULT_FILES_LEFT when a data file stays that could not be deleted (the user
/// has been warned, naming it and why; the record is gone, the other files too).
std::int32_t DeleteTrack(PatcherSession& session, std::int32_t slot);

/// The same for the further car in present slot `slot` (8 or more), in 6 steps: its record leaves
/// voiture2.bin by name (ignoring case). Also returns ERR_CAR_IN_BASE_LIST (12) when voiture2.bin
/// has no record of that name (the car stands in the game's base-car list): nothing changes.
/// RESULT_FILES_KEPT when a base car or a record of the game's voitures.bin bears the name.
std::int32_t DeleteCar(PatcherSession& session, std::int32_t slot);
/// DeleteTrack or DeleteCar, as `kind` says; when a list could not be updated for a cause the
/// file system names, the report's detail says which file and why.
std::int32_t DeleteEntry(PatcherSession& session, DataKind kind, std::int32_t slot,
                         CommandReport& report);

} // namespace zav
