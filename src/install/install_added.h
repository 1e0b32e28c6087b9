// InstallAddedTracks / InstallAddedCars: the added entries' files into the game, and the work
// list over the game's list.
#pragma once

#include <cstdint>

#include "session/patcher_session.h"

namespace zav {

/// Pause after install progress steps.
inline constexpr int INSTALL_STEP_PAUSE_MS = 40;

/// Walks the further tracks; each added one (flag 2) whose tested files are present beside the
/// tool is installed: one progress step and a 40 ms pause, then the track file (bl4 or bl3),
/// img and meg copied (an existing game file replaced only after the user's Yes; the Resson
/// folder created when it lacks fix.MEG) and the two record files copied unless present, each
/// destination then given normal attributes, one progress step after each file; the flag
/// becomes 3. An added track with a missing file is dropped from the present set and from the
/// work list. Then the work list replaces the game's circuits.bin in one atomic step.
/// Returns -1 when the game's list was written; ERR_UPDATE_FAILED with the game list's path as the
/// report's argument when it could not be; RESULT_FILE_ERROR with a file's path and cause in the
/// report when a file's status could not be read during a replacement question, or when the file
/// could not be created or replaced (the command ends at once: the game's list is not written,
/// the remaining tracks keep flag 2).
std::int32_t InstallAddedTracks(PatcherSession& session, CommandReport& report);

/// The same for cars (three files, four steps per car each followed by a 40 ms pause; a dropped
/// car leaves the work list by name); the game's voiture2.bin is replaced.
std::int32_t InstallAddedCars(PatcherSession& session, CommandReport& report);
/// InstallAddedTracks or InstallAddedCars, as `kind` says.
std::int32_t InstallAdded(PatcherSession& session, DataKind kind, CommandReport& report);

/// Before a meg file is copied: creates the game's Resson folder unless it holds fix.MEG
/// (its last level only; the outcome is not checked).
void EnsureRessonFolder(PatcherSession& session);

} // namespace zav
