// The paths the tool would build when they pass the 255-character limit, so they can be named.
#pragma once

#include <cstdint>
#include <string>

#include "settings/patcher_settings.h"

namespace zav {

/// The path BuildDataPath builds from the same arguments, at whatever length: what a message
/// names when BuildDataPath refuses it for passing 255 characters. Empty for a selector that
/// names no folder and no `baseName`.
std::string FullDataPath(const PatcherSettings& settings, const std::string& baseName,
                         int extensionIndex, std::int32_t selector, const std::string& entryName);

/// Whether GameDirectory leaves room for the game's lists, their working copies and the run's
/// lock file in its list folder: without it no path of the game can be built at all.
bool GameFolderHoldsItsLists(const PatcherSettings& settings);

} // namespace zav
