// Fixed and generated names of the disc's proposed entries.
#include "tools/sample_names.h"

#include <cstddef>

namespace zav {
namespace {

constexpr std::array<std::string_view, 4> kFixedTrackNames = {"Quarry", "Riverside", "Summit",
                                                              "Tundra"};
constexpr std::array<std::string_view, 12> kTrackHeads = {"Ash",   "Bram",    "Cole",  "Dun",
                                                          "Elder", "Frost",   "Glen",  "Hazel",
                                                          "Iron",  "Juniper", "Kings", "Lark"};
constexpr std::array<std::string_view, 10> kTrackTails = {
    "ford", "mere", "wick", "dale", "holm", "stead", "brook", "crest", "field", "gate"};

constexpr std::array<std::string_view, 4> kFixedCarNames = {"Comet", "Lynx", "Mistral", "Nomad"};
constexpr std::array<std::string_view, 12> kCarHeads = {"Arc",   "Bolt",  "Cinder", "Drift",
                                                        "Ember", "Flint", "Gale",   "Hawk",
                                                        "Ion",   "Jet",   "Kite",   "Lumen"};
constexpr std::array<std::string_view, 10> kCarTails = {"star",  "wing",  "fire", "storm", "runner",
                                                        "blade", "spark", "tail", "claw",  "line"};

// Heads and tails give 120 words, more than the generated indexes need; the head changes with
// every index so neighbouring entries look different at a glance.
template <std::size_t Fixed, std::size_t Heads, std::size_t Tails>
std::string GeneratedName(int index, const std::array<std::string_view, Fixed>& fixed,
                          const std::array<std::string_view, Heads>& heads,
                          const std::array<std::string_view, Tails>& tails) {
    static_assert(Heads * Tails + Fixed >= SAMPLE_MAX_PROPOSED);
    if (index < 0 || index >= SAMPLE_MAX_PROPOSED) {
        return {};
    }
    const auto position = static_cast<std::size_t>(index);
    if (position < Fixed) {
        return std::string(fixed[position]);
    }
    const std::size_t serial = position - Fixed;
    return std::string(heads[serial % Heads]) + std::string(tails[serial / Heads]);
}

} // namespace

std::string ProposedTrackName(int index) {
    return GeneratedName(index, kFixedTrackNames, kTrackHeads, kTrackTails);
}

std::string ProposedCarName(int index) {
    return GeneratedName(index, kFixedCarNames, kCarHeads, kCarTails);
}

} // namespace zav
