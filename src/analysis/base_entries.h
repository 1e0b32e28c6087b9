// Base entries: the tracks and cars the game itself brings, whose data files no added entry owns.
#pragma once

#include <string_view>

#include "analysis/patcher_session.h"

namespace zav {

/// Whether `name` (ignoring case) stands for an entry of the game's own: one of the 16 base
/// tracks, or for cars one of the 8 base cars or any record of the game's voitures.bin (its
/// first 8 records are the game's base list; a hand-edited file may hold more). The present set
/// must have been analysed. A voitures.bin that cannot be read adds no names.
bool IsBaseEntryName(PatcherSession& session, DataKind kind, std::string_view name);

} // namespace zav
