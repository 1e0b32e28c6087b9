// Builders of list-file bytes, written independently of the classes under test.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "support/temp_dir.h"

namespace zav::test {

/// A 128-byte car record: the name XORed with 0xB7, its masked terminator, then `filler`.
Bytes CarRecord(std::string_view name, std::uint8_t filler = 0x11);

/// A track record of kind 1 (128 bytes) or 2 (140 bytes): the name XORed with 0x9D at offset 20
/// with its masked terminator, the other texts empty (a single 0x9D), the flag and values set.
Bytes TrackRecord(std::string_view name, int kind, std::int32_t flag = 1, std::int32_t value1 = 7,
                  std::int32_t value2 = 9);

/// A list file: the count (or `countOverride`), then the records one after another.
Bytes ListFile(const std::vector<Bytes>& records, std::int64_t countOverride = -1);

void PutInt32(Bytes& bytes, std::size_t offset, std::int32_t value);
std::int32_t GetInt32(const Bytes& bytes, std::size_t offset);

} // namespace zav::test
