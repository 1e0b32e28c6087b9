// Builders of list-file bytes, written independently of the classes under test.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "support/temp_dir.h"

namespace zav::test {

/// `text` with every byte XORed with `mask`, then the masked terminator (a byte equal to `mask`).
Bytes Masked(std::string_view text, std::uint8_t mask);

/// A 128-byte car record: the name XORed with 0xB7, its masked terminator, then `filler`.
Bytes CarRecord(std::string_view name, std::uint8_t filler = 0x11);

/// A track record of kind 1 (128 bytes) or 2 (140 bytes): the name XORed with 0x9D at offset 20
/// with its masked terminator, the other texts empty (a single 0x9D), the flag and values set.
Bytes TrackRecord(std::string_view name, int kind, std::int32_t flag = 1, std::int32_t value1 = 7,
                  std::int32_t value2 = 9);

/// Every field of a track record. Texts other than the name are stored as given (the game keeps
/// them unmasked for the tool's purposes) and end with 0x9D; `text4` exists in kind 2 only.
struct TrackFields {
    std::string_view text1;
    std::string_view name;
    std::string_view text2;
    std::string_view text3;
    std::string_view text4;
    std::int32_t flag = 0;
    std::int32_t value1 = 0;
    std::uint8_t byte1 = 0;
    std::uint8_t byte2 = 0;
    std::int32_t value2 = 0;
};

/// A track record of `kind` holding `fields`; bytes no field covers hold `filler`.
Bytes TrackRecordOf(const TrackFields& fields, int kind, std::uint8_t filler = 0x00);

/// A list file: the count (or `countOverride`), then the records one after another.
Bytes ListFile(const std::vector<Bytes>& records, std::int64_t countOverride = -1);

/// The `size` bytes of record `index` (from 1) of list-file bytes.
Bytes RecordAt(const Bytes& file, std::int64_t index, std::size_t size);

/// `list` with `records` (all of one size) written from the place behind its counted records,
/// over any stale record there, and its count raised: what appending to a list file does.
Bytes Appended(Bytes list, const std::vector<Bytes>& records);

/// `list` without record `index` (from 1): later records move up, the count drops, and the file
/// keeps its length, the old last record staying behind as a stale copy.
Bytes Deleted(const Bytes& list, std::int64_t index, std::size_t size);

void PutInt32(Bytes& bytes, std::size_t offset, std::int32_t value);
std::int32_t GetInt32(const Bytes& bytes, std::size_t offset);

} // namespace zav::test
