// Removing the temporaries that a killed run left in the game's folders.
#pragma once

#include <string_view>

#include "session/patcher_session.h"

namespace zav {

/// Deletes the files whose names start with TEMPORARY_NAME_PREFIX from the game's list folder
/// ("Data\Binary\Scripts\") and its data folders: the copies that a run killed in the middle of a
/// list replacement or a file copy left behind. A read-only one is made writable first. Only to
/// be called while this run holds the game's lock, since the temporaries of a run still working
/// on the game must stay; the lock file stays too. Files that cannot be removed stay, without a
/// message.
void RemoveStaleTemporaries(PatcherSession& session);

} // namespace zav
