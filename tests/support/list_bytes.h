// Builders of list-file bytes, written independently of the classes under test.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

#include "support/temp_dir.h"

namespace zav::test {
inline void PutInt32(Bytes& bytes, std::size_t offset, std::int32_t value) {
    for (std::size_t i = 0; i < 4; ++i)
        bytes.at(offset + i) =
            static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> 8 * i);
}
inline std::int32_t GetInt32(const Bytes& bytes, std::size_t offset) {
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < 4; ++i)
        bits |= static_cast<std::uint32_t>(bytes.at(offset + i)) << (8 * i);
    return static_cast<std::int32_t>(bits);
}
/// `text` with every byte XORed with `mask`, then the masked terminator (a byte equal to `mask`).
inline Bytes Masked(std::string_view text, std::uint8_t mask) {
    Bytes bytes;
    for (const char c : text)
        bytes.push_back(static_cast<std::uint8_t>(static_cast<std::uint8_t>(c) ^ mask));
    bytes.push_back(mask);
    return bytes;
}
/// A 128-byte car record: the name XORed with 0xB7, its masked terminator, then `filler`.
inline Bytes CarRecord(std::string_view name, std::uint8_t filler = 0x11) {
    Bytes record(128, filler);
    std::ranges::copy(Masked(name, 0xB7), record.begin());
    return record;
}
/// Every field of a track record. Texts other than the name are stored as given (the game keeps
/// them unmasked for the tool's purposes) and end with 0x9D; `text4` exists in kind 2 only.
struct TrackFields {
    std::string_view text1{}, name{}, text2{}, text3{}, text4{};
    std::int32_t flag = 0, value1 = 0;
    std::uint8_t byte1 = 0, byte2 = 0;
    std::int32_t value2 = 0;
};
/// A track record of `kind` (1: 128 bytes, 2: 140 bytes) holding `fields`; bytes no field covers
/// hold `filler`.
inline Bytes TrackRecordOf(const TrackFields& fields, int kind, std::uint8_t filler = 0x00) {
    const std::size_t more = kind == 2 ? 12 : 0; // the fields behind text4 move by its length
    Bytes record(128 + more, filler);
    const auto putText = [&record](std::size_t offset, std::string_view text) {
        std::ranges::copy(text, record.begin() + static_cast<std::ptrdiff_t>(offset));
        record.at(offset + text.size()) = 0x9D;
    };
    putText(0, fields.text1);
    std::ranges::copy(Masked(fields.name, 0x9D), record.begin() + 20);
    putText(84, fields.text2);
    putText(97, fields.text3);
    if (kind == 2)
        putText(110, fields.text4);
    PutInt32(record, 112 + more, fields.flag);
    PutInt32(record, 116 + more, fields.value1);
    record.at(120 + more) = fields.byte1;
    record.at(121 + more) = fields.byte2;
    PutInt32(record, 124 + more, fields.value2);
    return record;
}
/// A track record of kind 1 or 2: the name XORed with 0x9D at offset 20 with its masked
/// terminator, the other texts empty (a single 0x9D), the flag and values set.
inline Bytes TrackRecord(std::string_view name, int kind, std::int32_t flag = 1,
                         std::int32_t value1 = 7, std::int32_t value2 = 9) {
    return TrackRecordOf({.name = name,
                          .flag = flag,
                          .value1 = value1,
                          .byte1 = 0x21,
                          .byte2 = 0x22,
                          .value2 = value2},
                         kind);
}
/// A list file: the count (or `countOverride`), then the records one after another.
inline Bytes ListFile(const std::vector<Bytes>& records, std::int64_t countOverride = -1) {
    Bytes bytes(4, 0);
    PutInt32(bytes, 0,
             static_cast<std::int32_t>(countOverride >= 0 ? countOverride : std::ssize(records)));
    for (const Bytes& record : records)
        bytes.insert(bytes.end(), record.begin(), record.end());
    return bytes;
}
/// The `size` bytes of record `index` (from 1) of list-file bytes; empty beyond the file.
inline Bytes RecordAt(const Bytes& file, std::int64_t index, std::size_t size) {
    const std::size_t start = 4 + static_cast<std::size_t>(index - 1) * size;
    return start + size > file.size() ? Bytes{}
                                      : Bytes(file.data() + start, file.data() + start + size);
}
/// `list` with `records` (all of one size) written from the place behind its counted records,
/// over any stale record there, and its count raised: what appending to a list file does.
inline Bytes Appended(Bytes list, const std::vector<Bytes>& records) {
    const std::int32_t count = GetInt32(list, 0);
    std::size_t at = records.empty() ? 0 : 4 + records.front().size() * std::size_t(count);
    for (const Bytes& record : records) {
        list.resize(std::max(list.size(), at + record.size()));
        std::ranges::copy(record, list.begin() + static_cast<std::ptrdiff_t>(at));
        at += record.size();
    }
    PutInt32(list, 0, count + static_cast<std::int32_t>(records.size()));
    return list;
}
/// `list` without record `index` (from 1): later records move up, the count drops, and the file
/// keeps its length, the old last record staying behind as a stale copy.
inline Bytes Deleted(const Bytes& list, std::int64_t index, std::size_t size) {
    Bytes result = list;
    const std::int32_t count = GetInt32(list, 0);
    const auto at = [&](std::int64_t i) { return static_cast<std::ptrdiff_t>(4 + i * size); };
    std::copy(list.begin() + at(index), list.begin() + at(count), result.begin() + at(index - 1));
    PutInt32(result, 0, count - 1);
    return result;
}
} // namespace zav::test
