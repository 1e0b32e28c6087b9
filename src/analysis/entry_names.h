// The rules for track and car names: normalisation, safety as a path component, record files.
#pragma once

#include <string>
#include <string_view>

#include "platform/fixed_text.h"

namespace zav {

/// Lower-cases the ASCII letters of `name`, then turns a lower-case first letter (a-z, or a code
/// page 1252 letter 0xE0-0xFE other than 0xF7) into its capital: "SPEED ring" becomes
/// "Speed ring", "2fast" stays "2fast".
void NormaliseName(NameText& name);

/// Whether two names stand for the same entry: equal once both are normalised, ignoring the case
/// of ASCII letters. Table names are normalised and list records are not, so "élan" in a list is
/// the entry "Élan" of the tables.
bool SameEntryName(std::string_view a, std::string_view b);

/// Whether `name` can stand as one folder or file name component: not empty, not "." or "..",
/// and free of '\', '/', ':' and control characters (tabs, line ends). Names come from the game's
/// lists and from the disc, so a name that fails could lead a path out of the folder it is meant
/// for.
bool IsSafeEntryName(std::string_view name);

/// The base name of a track's second record file: the name with its first character replaced
/// by '-' ("Foo" gives "-oo", "X" gives "-").
std::string SecondRecordFileName(std::string_view name);

} // namespace zav
