// PatcherSettings: where the game and the new data are, which version and which language.
#pragma once

#include <cstdint>

#include "platform/fixed_text.h"

namespace zav {

/// Set once at start-up and read by every part that builds a path or loads a text.
struct PatcherSettings {
    /// The game's folder exactly as the settings file stores it, ending with a backslash.
    PathText GameDirectory;
    /// 0 not detected, 1 found in section "ZAV", 2 in section "ZAV2_0"; also the record kind of
    /// every track list.
    std::int32_t GameVersion = 0;
    /// The folder holding "circuits" and "voitures" with the new data; no trailing separator.
    PathText SourceDirectory;
    /// Added to every English string id to reach the chosen language's block.
    std::int32_t LanguageOffset = 0;
};

} // namespace zav
