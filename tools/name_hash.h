// A stable hash of a name: the sample generator's one source of variety between entries.
#pragma once

#include <cstdint>
#include <string_view>

namespace zav {

/// 32-bit FNV-1a hash of `text`. The same text gives the same value on every run and host, so
/// everything derived from it (colours, shapes, sizes, spellings) is reproducible.
constexpr std::uint32_t NameHash(std::string_view text) {
    std::uint32_t hash = 2166136261u;
    for (const char c : text) {
        hash ^= static_cast<std::uint8_t>(c);
        hash *= 16777619u;
    }
    return hash;
}

} // namespace zav
