// Views of the present and proposed tables of one kind, so tracks and cars share their code.
#pragma once

#include <cstdint>
#include <string_view>

#include "session/analysis_state.h"

namespace zav {

/// The present tables of one kind. Further entries run from `firstFurther` to End() − 1.
struct PresentSetView {
    NameTable& names;
    FlagTable& flags;
    std::int32_t& total;
    std::int32_t firstFurther; ///< 16 for tracks, 8 for cars
    bool totalCountsBase;      ///< PresentTrackTotal counts the base slots, PresentCarTotal not

    /// One past the last slot in use.
    [[nodiscard]] std::int32_t End() const {
        return totalCountsBase ? total : firstFurther + total;
    }
    /// Room left in the tables for further entries.
    [[nodiscard]] std::int32_t FreeSlots() const;
    /// Appends a further entry; false when the tables are full.
    bool Append(std::string_view name, std::int32_t flag);
    /// Removes slot `slot`, moving the later slots one place towards the front; the freed last
    /// slot gets the empty name and flag 0.
    void Remove(std::int32_t slot);
    /// Number of further entries whose flag is `flag`.
    [[nodiscard]] std::int32_t CountFlag(std::int32_t flag) const;
};

/// The proposed tables of one kind.
struct ProposedSetView {
    NameTable& names;
    FlagTable& flags;
    std::int32_t& total;
    PathText& stagingPath;
};

PresentSetView PresentSet(AnalysisState& state, DataKind kind);
ProposedSetView ProposedSet(AnalysisState& state, DataKind kind);

/// Everything the tool keeps and knows about one kind, so that code serving both kinds asks the
/// kind's view instead of choosing between the track and car fields itself.
struct KindTables {
    PresentSetView present;   ///< base count: present.firstFurther
    ProposedSetView proposed; ///< its staging list: proposed.stagingPath
    PathText& listPath;       ///< the game's list: circuits.bin, or voiture2.bin for cars
    PathText& workListPath;   ///< its working copy: circuits.sav or voiture2.sav
    std::int32_t& recordsAppended;
};

/// The view of `kind`'s tables and paths in `state`.
KindTables Tables(AnalysisState& state, DataKind kind);

/// How many of the names in slots first to end - 1 equal `name` without regard to case.
std::int32_t CountNamed(const NameTable& names, std::int32_t first, std::int32_t end,
                        std::string_view name);
/// The first of slots first to end - 1 whose name equals `name` without regard to case, or -1.
std::int32_t FindNamed(const NameTable& names, std::int32_t first, std::int32_t end,
                       std::string_view name);

/// What never changes about one kind.
struct KindFacts {
    std::string_view word; ///< "track" or "car", as the tool's fixed warnings use it
    /// circuits.bin or voitures.bin: the list file of each new-data folder, and the staging
    /// list's name.
    std::string_view newDataListName;
    std::int32_t sourceFolder; ///< FOLDER_SOURCE_TRACKS or FOLDER_SOURCE_CARS
    std::int64_t stagingInitialSize;
};

const KindFacts& Facts(DataKind kind);

/// "track" or "car", the word the tool's fixed warnings use.
std::string_view KindWord(DataKind kind);

} // namespace zav
