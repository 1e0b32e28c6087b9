// Deleting a car's record from a car list by the entry's name as the tables hold it.
#pragma once

#include <string_view>

#include "files/name_list_file.h"

namespace zav {

/// Deletes the first record of `list` that stands for the entry `entryName` (a normalised table
/// name; see SameEntryName): the record's own spelling is looked up first, so a car stored as
/// "élan" goes when the tables hold "Élan". The result of NameListFile::DeleteByName: 1, -2 when
/// no record stands for the entry, 0 when a file operation failed.
int DeleteCarRecordByEntryName(NameListFile& list, std::string_view entryName);

} // namespace zav
