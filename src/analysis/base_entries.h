// Base entries: the tracks and cars the game itself brings, whose data files no added entry owns.
#pragma once

#include <string_view>

#include "files/data_kind.h"
#include "files/name_list_file.h"
#include "session/patcher_session.h"

namespace zav {

/// Whether `name` (ignoring case) stands for an entry of the game's own: one of the 16 base
/// tracks, or for cars one of the 8 base cars or any record of the game's voitures.bin (its
/// first 8 records are the game's base list; a hand-edited file may hold more). The present set
/// must have been analysed. A voitures.bin that cannot be read adds no names.
bool IsBaseEntryName(PatcherSession& session, DataKind kind, std::string_view name);

/// The first record of the car list `list` (1 to the records it holds) that stands for the entry
/// `entryName` (see SameEntryName), with its unmasked name in `stored`; 0 when none does.
std::int32_t FindCarRecordByEntryName(NameListFile& list, std::string_view entryName,
                                      char (&stored)[NAME_SLOT_SIZE]);

} // namespace zav
