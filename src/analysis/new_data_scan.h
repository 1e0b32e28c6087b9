// ScanNewData: the tracks and cars proposed beside the tool, and their staging lists.
#pragma once

#include <cstdint>

#include "session/patcher_session.h"

namespace zav {

/// Bytes of the zero block a new staging list starts as: the count 0 and room for records.
inline constexpr std::int64_t TRACK_STAGING_INITIAL_SIZE = 4484;
inline constexpr std::int64_t CAR_STAGING_INITIAL_SIZE = 1028;

/// Rebuilds the proposed tables of `kind` from the sub-folders of SourceDirectory\circuits or
/// \voitures, in listing order: a sub-folder is proposed when its own list file opens and its
/// record 1 names the sub-folder (ignoring case). The record of proposed entry i becomes record
/// i + 1 of the kind's staging list, created anew in the run's temporary folder; an entry whose
/// record cannot be staged is dropped, so names and records stay in step. Folder names that
/// could lead a path elsewhere are refused, and entries beyond 96 are left out, each with one
/// notice to the user. Names are normalised.
/// Returns -1 when done, 0 when the staging list cannot be created (then nothing is proposed).
std::int32_t ScanNewData(PatcherSession& session, DataKind kind);

} // namespace zav
