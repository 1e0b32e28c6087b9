// Present and proposed table views.
#include "analysis/set_tables.h"

#include <algorithm>

#include "analysis/new_data_scan.h"
#include "platform/codepage.h"
#include "settings/data_paths.h"

namespace zav {

std::int32_t PresentSetView::FreeSlots() const {
    const std::int32_t end = End();
    return end >= MAX_SET_ENTRIES ? 0 : MAX_SET_ENTRIES - std::max(end, firstFurther);
}

bool PresentSetView::Append(std::string_view name, std::int32_t flag) {
    const std::int32_t slot = End();
    if (slot < 0 || slot >= MAX_SET_ENTRIES) {
        return false;
    }
    names[static_cast<std::size_t>(slot)].AssignCut(name);
    flags[static_cast<std::size_t>(slot)] = flag;
    ++total;
    return true;
}

void PresentSetView::Remove(std::int32_t slot) {
    const std::int32_t end = End();
    if (slot < 0 || slot >= end || end > MAX_SET_ENTRIES) {
        return;
    }
    for (std::int32_t s = slot; s + 1 < end; ++s) {
        names[static_cast<std::size_t>(s)] = names[static_cast<std::size_t>(s + 1)];
        flags[static_cast<std::size_t>(s)] = flags[static_cast<std::size_t>(s + 1)];
    }
    names[static_cast<std::size_t>(end - 1)].Clear();
    flags[static_cast<std::size_t>(end - 1)] = PRESENT_BASE;
    --total;
}

std::int32_t PresentSetView::CountFlag(std::int32_t flag) const {
    std::int32_t count = 0;
    for (std::int32_t s = firstFurther; s < End() && s < MAX_SET_ENTRIES; ++s) {
        if (flags[static_cast<std::size_t>(s)] == flag) {
            ++count;
        }
    }
    return count;
}

PresentSetView PresentSet(AnalysisState& state, DataKind kind) {
    if (kind == DataKind::Cars) {
        return {state.PresentCarNames, state.PresentCarFlags, state.PresentCarTotal, BASE_CAR_COUNT,
                false};
    }
    return {state.PresentTrackNames, state.PresentTrackFlags, state.PresentTrackTotal,
            BASE_TRACK_COUNT, true};
}

ProposedSetView ProposedSet(AnalysisState& state, DataKind kind) {
    if (kind == DataKind::Cars) {
        return {state.NewCarNames, state.NewCarFlags, state.NewCarTotal, state.CarStagingPath};
    }
    return {state.NewTrackNames, state.NewTrackFlags, state.NewTrackTotal, state.TrackStagingPath};
}

KindTables Tables(AnalysisState& state, DataKind kind) {
    if (kind == DataKind::Cars) {
        return {PresentSet(state, kind), ProposedSet(state, kind), state.CarListPath,
                state.CarWorkListPath, state.CarRecordsAppended};
    }
    return {PresentSet(state, kind), ProposedSet(state, kind), state.TrackListPath,
            state.TrackWorkListPath, state.TrackRecordsAppended};
}

const KindFacts& Facts(DataKind kind) {
    static constexpr KindFacts tracks{"track", "circuits.bin", FOLDER_SOURCE_TRACKS,
                                      TRACK_STAGING_INITIAL_SIZE};
    static constexpr KindFacts cars{"car", "voitures.bin", FOLDER_SOURCE_CARS,
                                    CAR_STAGING_INITIAL_SIZE};
    return kind == DataKind::Cars ? cars : tracks;
}

std::int32_t CountNamed(const NameTable& names, std::int32_t first, std::int32_t end,
                        std::string_view name) {
    std::int32_t count = 0;
    for (std::int32_t i = std::max(first, 0); i < end && i < MAX_SET_ENTRIES; ++i) {
        count += EqualsIgnoringCaseCp1252(names[static_cast<std::size_t>(i)].view(), name) ? 1 : 0;
    }
    return count;
}

std::int32_t FindNamed(const NameTable& names, std::int32_t first, std::int32_t end,
                       std::string_view name) {
    for (std::int32_t i = std::max(first, 0); i < end && i < MAX_SET_ENTRIES; ++i) {
        if (EqualsIgnoringCaseCp1252(names[static_cast<std::size_t>(i)].view(), name)) {
            return i;
        }
    }
    return -1;
}

std::string_view KindWord(DataKind kind) {
    return Facts(kind).word;
}

} // namespace zav
