// AnalysisState: what the game has, what the disc proposes, and the paths of their list files.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "files/data_kind.h"
#include "platform/fixed_text.h"

namespace zav {

inline constexpr std::int32_t BASE_TRACK_COUNT = 16;
inline constexpr std::int32_t BASE_CAR_COUNT = 8;
inline constexpr std::int32_t MAX_SET_ENTRIES = 96;
inline constexpr std::int32_t NAME_SLOT_SIZE = 256;

/// Present flags: base (or never set), added in this run and not installed, installed.
inline constexpr std::int32_t PRESENT_BASE = 0;
inline constexpr std::int32_t PRESENT_ADDED = 2;
inline constexpr std::int32_t PRESENT_INSTALLED = 3;
/// Proposed flags: not marked, marked for adding.
inline constexpr std::int32_t PROPOSED_UNMARKED = 0;
inline constexpr std::int32_t PROPOSED_MARKED = 1;

/// The game's base cars, in the order of the game's base list.
inline constexpr std::array<std::string_view, BASE_CAR_COUNT> BaseCarNames = {
    "Tolva", "Rusko", "Mervi", "Kaltun", "Zq2", "Brenik", "Ostra", "Vel"};

using NameTable = std::array<NameText, MAX_SET_ENTRIES>;
using FlagTable = std::array<std::int32_t, MAX_SET_ENTRIES>;

/// One record for the whole run, zero at start. Entry j of "Added Data" is present track slot
/// 16 + j or present car slot 8 + j; entry i of "New Proposed Data" is proposed slot i.
/// PresentTrackTotal counts the 16 base track slots, PresentCarTotal does not count the 8 base
/// car slots.
struct AnalysisState {
    NameTable PresentTrackNames;
    FlagTable PresentTrackFlags{};
    std::int32_t PresentTrackTotal = 0;
    PathText TrackListPath;

    NameTable PresentCarNames;
    FlagTable PresentCarFlags{};
    std::int32_t PresentCarTotal = 0;
    PathText CarListPath;

    NameTable NewTrackNames;
    FlagTable NewTrackFlags{};
    std::int32_t NewTrackTotal = 0;
    PathText TrackStagingPath;

    NameTable NewCarNames;
    FlagTable NewCarFlags{};
    std::int32_t NewCarTotal = 0;
    PathText CarStagingPath;

    /// circuits.sav and voiture2.sav: the working copies of the game's lists.
    PathText TrackWorkListPath;
    PathText CarWorkListPath;

    /// 1 when an accelerated game executable is installed: the bl4/bv4 files then take the place
    /// of bl3/bv3.
    std::int32_t AcceleratedVersionPresent = 0;

    /// Records appended to the work lists by the current "Add to List".
    std::int32_t TrackRecordsAppended = 0;
    std::int32_t CarRecordsAppended = 0;
};

} // namespace zav
