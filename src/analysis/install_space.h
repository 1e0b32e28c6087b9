// The disk space an install needs in the game's folder, the history's saved copies included.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "session/patcher_session.h"

namespace zav {

/// Bytes the install of the proposed entries `names` of `kind` writes on the game's drive: their
/// files (SetSize) and, while the session's journal records, the saved copies the history makes
/// of what the install replaces: the game files of those names that are there already and the
/// game's list of `kind`.
std::int64_t InstallSpaceNeeded(PatcherSession& session, DataKind kind,
                                const std::vector<std::string>& names);

} // namespace zav
