// Mending what the game's check found, one finding at a time, through the game's history.
#pragma once

#include <cstdint>

#include "analysis/game_check.h"
#include "session/patcher_session.h"

namespace zav {

struct RepairResult {
    std::int32_t mended = 0;
    std::int32_t left = 0; ///< findings not mended: not mendable, declined or failed
};

/// Mends the mendable findings of `check`, temporaries first, then the records of each list from
/// the last to the first (so the record numbers of the others stay true). With `ask`, each is
/// asked about through the session's Ui (Yes/No) and mended only after Yes. A record leaves the
/// game's list in one atomic replacement, and only while it still names the finding's entry; a
/// temporary is deleted (a read-only one made writable first). No data file is ever deleted.
/// The changes form one command "repair" of the session's journal, so that one undo reverts them;
/// a record whose files were all gone is noted as a removed entry. A mend that fails is told in a
/// warning naming the file and why, and counts as left.
RepairResult RepairGame(PatcherSession& session, const GameCheck& check, bool ask);

} // namespace zav
