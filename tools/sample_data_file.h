// The contents of the data files that the patcher copies without reading (bl3, bv3, meg, brt...).
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace zav {

/// Largest --data-size the generator accepts: every file is built in memory before it is written.
inline constexpr std::int64_t SAMPLE_MAX_DATA_SIZE = 64LL * 1024 * 1024;

/// The size of data file `fileName` for a requested size `baseSize` (0 to SAMPLE_MAX_DATA_SIZE):
/// `baseSize` plus 0 to 96 bytes chosen by the name, so the files of one entry differ in size.
/// 0 stays 0.
std::int64_t SampleDataSize(std::int64_t baseSize, std::string_view fileName);

/// `size` bytes (0 to SAMPLE_MAX_DATA_SIZE + 96; a size outside gives an empty file): a text line
/// naming the file and its entry ("ZAV sample data: Harbour.bl3 of track Harbour\n", cut when
/// the file is shorter), then every byte value in turn, starting at one chosen by the name.
std::vector<std::uint8_t> SampleDataFile(std::string_view fileName, std::string_view entryKind,
                                         std::string_view entryName, std::int64_t size);

} // namespace zav
