// One entry of the game's change history and its manifest, the text file that describes it.
//
// The history lives in the folder PatcherHistory of the game's folder (beside Data), so every
// build of the tool on that game shares it and it goes when the game goes. Each entry is a folder
// named by its number (000001, 000002, ...), holding the manifest entry.txt and the saved copies
// of the files the run replaced or deleted, named 1, 2, ... (a saved copy keeps the bytes, the
// read-only attribute and the last-write time of the file it was taken from).
//
// The manifest is a journal of lines in code page 1252, fields separated by a tab, written in
// this order:
//   zav-patcher-history <TAB> 1          format and version
//   date <TAB> 2026-12-07 18:40:12       local time the run began to change the game
//   command <TAB> install tracks         what the user asked for
//   saved <TAB> 3 <TAB> C:\...\Quarry.img <TAB> size <TAB> hash   a file about to be replaced or
//                                        deleted; its saved copy and the copy's fingerprint (the
//                                        fingerprint is missing from manifests of older builds)
//   link <TAB> C:\...\Quarry.img <TAB> ../private/q.img   a symbolic link about to be replaced
//                                        or deleted, with its text: undo makes the link again, and
//                                        nothing is ever read through it (older builds skip the
//                                        line and leave such a file as the run left it)
//   created <TAB> C:\...\Quarry.bl3      a file about to be created
//   folder <TAB> C:\...\Resson           a folder about to be created
//   added|removed <TAB> tracks|cars <TAB> Quarry   an entry the run added or removed
//   after <TAB> C:\... <TAB> size <TAB> hash       a touched file as the run left it (hash in hex)
//   gone <TAB> C:\...                    a touched file the run left absent
//   sealed                               the run ended; the after lines are complete
//   undoing                              an undo began: the game is between states
//   undone                               the undo finished
//   pruned                               the saved copies were removed to bound the history
// A saved copy is forced to disk before its line, and its line before the change. Paths are in
// the core's form ("C:\Games\ZAV\..."), so Linux and Windows builds read each other's entries. A
// reader skips lines it does not know and a last line without its line end (a killed write).
//
// The manifest is input like any file in the game's folder: a line of a known kind whose fields
// are malformed, a path outside the game's Data folder or a saved copy not named by a plain number
// makes the whole entry damaged, and a damaged entry is listed but never acted upon. No field the
// tool writes holds a tab or a line end (the recorder refuses such paths and the tool such names),
// so no name can change another line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "files/data_kind.h"
#include "history/content_hash.h"

namespace zav {

inline constexpr std::string_view HISTORY_FOLDER_NAME = "PatcherHistory";
inline constexpr std::string_view MANIFEST_FILE_NAME = "entry.txt";
inline constexpr std::string_view MANIFEST_FORMAT = "zav-patcher-history";
inline constexpr int MANIFEST_VERSION = 1;
/// The saved copies of this many newest entries are kept, at most HISTORY_KEPT_BYTES in all.
inline constexpr int HISTORY_KEPT_ENTRIES = 20;
inline constexpr std::int64_t HISTORY_KEPT_BYTES = std::int64_t{1} << 30;

/// A file or folder an entry's run changed, in the order it first changed it.
struct TouchedPath {
    std::string path;      ///< core path
    std::string savedCopy; ///< name of its saved copy in the entry's folder; empty: it was absent
    bool folder = false;   ///< a folder the run created
    bool afterKnown = false;
    std::optional<ContentFingerprint> after; ///< when afterKnown: as the run left it, or absent
    std::optional<ContentFingerprint> copyFingerprint; ///< of the saved copy, when recorded
    std::optional<std::string> linkTarget; ///< the text of the link the path was before the run
    int line = 0; ///< the manifest line that named it first, counted from 1

    /// Whether the path held a file or a link before the run (undo brings it back).
    [[nodiscard]] bool Existed() const { return !savedCopy.empty() || linkTarget.has_value(); }
};

struct NamedEntry {
    DataKind kind = DataKind::Tracks;
    std::string name;
};

struct HistoryEntry {
    int number = 0;
    std::string folder; ///< core path of the entry's folder, ending in a backslash
    std::string date;   ///< "YYYY-MM-DD HH:MM:SS", local time
    std::string command;
    std::vector<NamedEntry> added;
    std::vector<NamedEntry> removed;
    std::vector<TouchedPath> touched;
    bool sealed = false;
    bool undoing = false;
    bool undone = false;
    bool pruned = false;
    /// Why the manifest cannot be trusted, naming its line ("line 4: ..."); empty when it is sound.
    std::string damage;

    /// Whether undo may still revert it: sound, not undone, and its saved copies are kept.
    [[nodiscard]] bool Undoable() const { return damage.empty() && !undone && !pruned; }
};

/// The manifest's first lines for a run that began at `date` with `command`.
std::string ManifestHeader(std::string_view date, std::string_view command);
/// One manifest line: the fields joined by tabs, with its line end. Tabs and line ends inside a
/// field become spaces.
std::string ManifestLine(std::initializer_list<std::string_view> fields);
/// The entry the manifest text describes; nullopt when the text holds no whole line (a run killed
/// before it recorded anything). A text that is no manifest of a known version, or a known line
/// with malformed fields, gives an entry whose `damage` says why.
std::optional<HistoryEntry> ParseManifest(std::string_view text);

/// Marks `entry` damaged unless every path it names lies inside the Data folder of the game in
/// `gameDirectory` (a core path) and every saved copy is named by a plain number: the history is
/// input, and undo and Trash act only on the game's own files.
void CheckEntryPaths(HistoryEntry& entry, std::string_view gameDirectory);

/// Whether `text` can be a manifest field exactly: no tab, line end or other control character.
bool IsManifestField(std::string_view text);

/// "tracks" or "cars".
std::string_view KindPlural(DataKind kind);

/// The current local time as "YYYY-MM-DD HH:MM:SS".
std::string LocalTimestamp();

} // namespace zav
