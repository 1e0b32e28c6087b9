// What the game's list files must hold after an install or a deletion, built from bytes alone.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "support/temp_dir.h"

namespace zav::test {

/// `list` with `records` appended: the count raised by their number, each record written at
/// byte 4 + recordSize × (its index − 1), over whatever the file held there.
Bytes ListWithAppended(const Bytes& list, const std::vector<Bytes>& records,
                       std::size_t recordSize);

/// `list` without record `index` (from 1): the later records one place forward, the count
/// lowered by one, the length kept, so the last record's old bytes stay behind the new end.
Bytes ListWithDeleted(const Bytes& list, std::int64_t index, std::size_t recordSize);

/// Index (from 1) of the first record whose name at `nameOffset`, stored XORed with `mask` and
/// ended by a byte equal to `mask`, equals `name` ignoring ASCII case; -1 when none.
std::int64_t RecordIndexOfName(const Bytes& list, std::size_t recordSize, std::size_t nameOffset,
                               std::uint8_t mask, std::string_view name);

/// Record sizes and name placement of the two list formats.
inline constexpr std::size_t CAR_RECORD_SIZE = 128;
inline constexpr std::size_t CAR_NAME_OFFSET = 0;
inline constexpr std::uint8_t CAR_NAME_MASK = 0xB7;
inline constexpr std::size_t TRACK_NAME_OFFSET = 20;
inline constexpr std::uint8_t TRACK_NAME_MASK = 0x9D;
/// 128 bytes for version 1, 140 for version 2.
std::size_t TrackRecordSize(int version);

} // namespace zav::test
