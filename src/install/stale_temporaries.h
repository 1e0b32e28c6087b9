// Removing the temporaries that a killed run left in the game's folders.
#pragma once

#include <string_view>

#include "session/patcher_session.h"

namespace zav {

/// The file in the game's list folder that every run locks while it works on the game. It is
/// named like the tool's temporaries, so that one a killed run left counts as the tool's, but it
/// is never removed as one: the run that holds it removes it as it lets go.
inline constexpr std::string_view GAME_LOCK_FILE_NAME = ".zav-lock";

/// Deletes the files whose names start with TEMPORARY_NAME_PREFIX from the game's list folder
/// ("Data\Binary\Scripts\") and its data folders: the copies that a run killed in the middle of a
/// list replacement or a file copy left behind. A read-only one is made writable first. Only to
/// be called while this run holds the game's lock, since the temporaries of a run still working
/// on the game must stay; the lock file stays too. Files that cannot be removed stay, without a
/// message.
void RemoveStaleTemporaries(PatcherSession& session);

} // namespace zav
