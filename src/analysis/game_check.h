// The game's check: what earlier installs and hand edits left wrong in its lists and folders.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "files/data_kind.h"
#include "platform/file_system.h"
#include "settings/patcher_settings.h"
#include "settings/texts.h"

namespace zav {

/// What a finding says is wrong.
enum class FindingKind {
    MissingFiles,     ///< a record of an added entry whose data files (`files`) are missing
    UnlistedFiles,    ///< data files of an entry (`files`) that no record of the game names
    RepeatedRecord,   ///< record `record` of `list` repeats the name of record `firstRecord`
    CarOfTheGame,     ///< a car of voiture2.bin that is a base car, or is in `otherList`
    DamagedCount,     ///< `list` states `firstRecord` records and holds `held`
    UnusableRecord,   ///< record `record` of `list` names nothing a path can be built from
    Temporary,        ///< a temporary (`files`) that a run of this tool left in the game
    SavedCopyMissing, ///< history entry `record` (its folder `list`) lacks the copies of `files`
};

/// One thing found wrong. Paths are core paths (code page 1252).
struct GameFinding {
    FindingKind kind = FindingKind::MissingFiles;
    DataKind dataKind = DataKind::Tracks;
    std::string name; ///< the entry's name as its list or its files spell it
    std::string list; ///< the list concerned
    std::int32_t record = 0;
    std::int32_t firstRecord = 0;
    std::int32_t held = 0;
    std::string otherList;
    std::vector<std::string> files;
    /// Whether a repair can mend it without losing anything of the user's: a record whose data
    /// files are all gone, a later record of a repeated name in a list of added entries, a
    /// temporary of a run that is gone.
    bool mendable = false;
};

struct GameCheckOptions {
    /// An accelerated game executable is installed: tracks and cars use their bl4/bv4 file.
    bool accelerated = false;
    /// No run of the tool holds the game (this one holds its lock): temporaries are stale.
    bool lookForTemporaries = false;
    /// Files of this run that look like temporaries (its working copies), core paths.
    std::vector<std::string> ownFiles;
};

struct GameCheck {
    /// The list that cannot be opened (the game cannot be checked); empty when all could.
    std::string unreadableList;
    std::vector<GameFinding> findings;

    [[nodiscard]] bool Readable() const { return unreadableList.empty(); }
    [[nodiscard]] std::int32_t Mendable() const;
};

/// Reads the game's three lists and its data folders and returns what is wrong; never writes.
/// `settings` names the game (GameDirectory, GameVersion). Findings come in this order: the
/// damaged lists, the records of circuits.bin, voitures.bin and voiture2.bin in record order,
/// the unlisted file sets, the temporaries. A list that does not open stops the check
/// (GameCheck::unreadableList).
GameCheck CheckGameFiles(FileSystem& files, const PatcherSettings& settings,
                         const GameCheckOptions& options);

/// The finding as one line for the user, in the game's language.
std::string DescribeFinding(TextCatalog& texts, const GameFinding& finding);

} // namespace zav
