// The bytes of the game's list files as the sample writes them: car records, track records, lists.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace zav {

/// A car list record (128 bytes): `name` masked with 0xB7 and its masked terminator at offset 0,
/// then zeros and a few made-up values that depend on `serial`. A name longer than 127
/// characters is cut so its terminator stays inside the record.
std::vector<std::uint8_t> SampleCarRecord(std::string_view name, int serial);

/// A track list record of `kind` 1 (128 bytes) or 2 (140 bytes): `name` masked with 0x9D at
/// offset 20 (cut to 63 characters), the other texts short masked words, and made-up values that
/// depend on `serial`. Empty for another kind.
std::vector<std::uint8_t> SampleTrackRecord(std::string_view name, int kind, int serial);

/// A list file: the 32-bit little-endian count of `records`, then the records one after another.
std::vector<std::uint8_t> SampleListFile(const std::vector<std::vector<std::uint8_t>>& records);

} // namespace zav
