// AddSelectedTracks / AddSelectedCars: marked proposed entries join the work list and the
// present set.
#pragma once

#include <cstdint>

#include "session/patcher_session.h"

namespace zav {

/// Pause after each progress step of "Add to List".
inline constexpr int ADD_STEP_PAUSE_MS = 150;

/// For every marked proposed track (flag 1), in ascending order: its staging record is appended
/// at the end of the track work list (one progress step and pause each); then each such track
/// joins the present set with flag 2 and its mark is cleared (one step and pause each).
/// Only as many tracks as the present tables have room for are taken; the others lose their mark
/// and the user is told which. A track whose staging record cannot be read is not added either
/// (its mark is cleared and the user is told), so every added track has its record in the work
/// list.
/// Returns -1 when done; ERR_UPDATE_FAILED with the path as the report's argument when the work
/// list or the staging list cannot be opened (nothing is added); ERR_UNREFERENCED with an empty
/// argument and the report's detail naming the list when a record cannot be written (nothing of
/// this run joins the present set or the work list, and the marks stay set). The work list changes
/// in one step, by a copy renamed over it.
std::int32_t AddSelectedTracks(PatcherSession& session, CommandReport& report);

/// The same for cars, with the car work list and the car staging list.
std::int32_t AddSelectedCars(PatcherSession& session, CommandReport& report);
/// AddSelectedTracks or AddSelectedCars, as `kind` says.
std::int32_t AddSelected(PatcherSession& session, DataKind kind, CommandReport& report);

} // namespace zav
