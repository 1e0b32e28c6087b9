// Undo: the game's newest recorded change reverted file by file, and the summaries that show it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "history/history_entry.h"
#include "platform/file_system.h"

namespace zav {

struct UndoOutcome {
    enum class Result {
        Done,          ///< the entry is reverted and marked undone
        NothingToUndo, ///< every entry is undone already, or there is none
        Refused,       ///< nothing changed: a touched file or a saved copy changed since, the
                       ///< entry's copies were pruned, or its manifest is damaged
        Failed,        ///< a step failed part-way; running undo again finishes the job
    } result = Result::NothingToUndo;
    HistoryEntry entry; ///< the entry undone or refused
    std::string path;   ///< the file that stopped it (Refused, Failed), a core path
    std::string reason; ///< why, as a sentence ending in a full stop, when not Done
};

/// The newest entry of the game's history that is not undone yet, damaged or not; nullopt when
/// there is none.
std::optional<HistoryEntry> NewestNotUndone(FileSystem& files, std::string_view gameDirectory);

/// Reverts the newest entry not undone of the game in `gameDirectory`. The caller holds the
/// game's lock. A damaged entry is refused, naming its manifest and line: undo never skips to an
/// older one. A saved copy whose fingerprint is recorded and no longer matches, or that is a link
/// (as is a history folder that is one), is refused, naming it. When the drive lacks the room the
/// restores need at once, nothing changes (Refused, naming the bytes needed and free and the
/// folder). A link the run replaced is made again with its recorded text. A sealed entry is first
/// checked: when a file it touched is no longer as the run left it, nothing changes (Refused,
/// naming the file). Then the entry is marked "undoing" and, newest change first, each replaced or
/// deleted file gets its saved copy back (bytes, read-only attribute and last-write time; written
/// beside it and renamed over it, so a list is always whole) and each created file is deleted; last
/// the entry is marked undone. An unsealed entry (a killed run) and an entry left "undoing" (a
/// killed undo) are reverted without the check, which brings the game back to the state before that
/// run. The reason is in the language of `languageOffset` (as OwnText takes it), code page 1252.
UndoOutcome UndoNewest(FileSystem& files, std::string_view gameDirectory,
                       std::int32_t languageOffset);

/// What undoing `entry` would do, in lines for a question or a listing: its number, date and
/// command, then the entries it added and removed and the files it created, replaced, deleted.
std::string DescribeEntry(const HistoryEntry& entry);

} // namespace zav
