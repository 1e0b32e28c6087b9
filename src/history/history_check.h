// The part of the game's check that looks at its history: entries that can no longer be undone.
#pragma once

#include <string_view>
#include <vector>

#include "analysis/game_check.h"
#include "platform/file_system.h"

namespace zav {

/// A SavedCopyMissing finding for every entry of the game's history that undo would still take
/// up but whose saved copies are gone (some or all), naming the files they were copies of. Never
/// writes; nothing when the game has no history.
std::vector<GameFinding> CheckHistoryCopies(FileSystem& files, std::string_view gameDirectory);

} // namespace zav
