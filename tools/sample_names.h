// The names of the sample game's tracks and cars, and the names of the entries on its disc.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace zav {

/// The game's base cars, in the order of its base car list.
inline constexpr std::array<std::string_view, 8> SAMPLE_BASE_CAR_NAMES = {
    "Tolva", "Rusko", "Mervi", "Kaltun", "Zq2", "Brenik", "Ostra", "Vel"};

/// The 16 base tracks that open the game's track list.
inline constexpr std::array<std::string_view, 16> SAMPLE_BASE_TRACK_NAMES = {
    "Alpine", "Bayside", "Canyon",  "Delta",  "Estuary", "Fjord",  "Glacier", "Highland",
    "Island", "Jungle",  "Kestrel", "Lagoon", "Meadow",  "Nordic", "Oasis",   "Prairie"};

/// Tracks installed after the base ones (records 17 and 18 of the track list).
inline constexpr std::array<std::string_view, 2> SAMPLE_FURTHER_TRACK_NAMES = {"Harbour", "Dunes"};

/// Cars in the game's added-car list.
inline constexpr std::array<std::string_view, 2> SAMPLE_ADDED_CAR_NAMES = {"Falcon", "Viper"};

/// Most proposed tracks or cars a disc can be given; more than the tool's 96 slots on purpose.
inline constexpr int SAMPLE_MAX_PROPOSED = 120;

/// Name of proposed track `index` (0-based): four fixed words, then two-syllable words. Names of
/// indexes 0 to SAMPLE_MAX_PROPOSED - 1 differ from each other and from every name above,
/// ignoring case; they are normalised (first letter upper case, the rest lower case).
/// Empty for an index outside that range.
std::string ProposedTrackName(int index);

/// Name of proposed car `index`, with the same guarantees as ProposedTrackName.
std::string ProposedCarName(int index);

} // namespace zav
