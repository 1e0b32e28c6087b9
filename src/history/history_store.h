// The game's history folder: reading its entries, appending to a manifest, bounding its size.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "history/history_entry.h"
#include "platform/file_system.h"
#include "session/change_journal.h"

namespace zav {

/// The history folder of the game in `gameDirectory` (trailing backslash), with a trailing
/// backslash.
std::string HistoryFolder(std::string_view gameDirectory);

/// The highest number an entry can have: the folder names of the history have six to nine
/// digits, and writer and reader agree on them.
inline constexpr int LAST_ENTRY_NUMBER = 999999999;

/// The folder name of entry `number` ("000042"; "1234567" past six digits).
std::string EntryFolderName(int number);
/// The number of the entry folder `name`: six to nine digits, 1 to LAST_ENTRY_NUMBER; nullopt
/// for any other name.
std::optional<int> EntryNumber(std::string_view name);

/// Why the history of the game in `gameDirectory` cannot be kept, as far as the host tells
/// without changing anything (see JournalProblem).
JournalProblem CheckHistoryFolder(FileSystem& files, std::string_view gameDirectory);

/// Every entry of the game's history, newest (highest number) first; an entry whose manifest is
/// missing or holds no whole line (nothing was recorded) is left out, one whose manifest cannot be
/// read or trusted is in with its `damage` (CheckEntryPaths). Empty when there is no history, or
/// when its folder is a link.
std::vector<HistoryEntry> ReadHistory(FileSystem& files, std::string_view gameDirectory);

/// Appends `text` to the manifest in `entryFolder`, forced to disk with `sync`; false when it could
/// not be written whole.
bool AppendToManifest(FileSystem& files, std::string_view entryFolder, std::string_view text,
                      bool sync);

/// Keeps the saved copies of the newest HISTORY_KEPT_ENTRIES entries still undoable, as long as
/// they hold at most HISTORY_KEPT_BYTES in all; the older ones lose theirs and are marked pruned
/// (they stay listed, no longer undoable). Undone entries do not count; damaged ones are left be.
void PruneHistory(FileSystem& files, std::string_view gameDirectory);

/// The files the tool created or replaced when it installed `name` of `kind`, from the newest
/// entry (not undone) that added or removed that name: nullopt when none did, or the newest one
/// removed it.
std::optional<std::vector<std::string>> FilesInstalledFor(const std::vector<HistoryEntry>& history,
                                                          DataKind kind, std::string_view name);

} // namespace zav
