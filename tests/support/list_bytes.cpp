// List-file byte builders for the tests.
#include "support/list_bytes.h"

#include <algorithm>

namespace zav::test {
namespace {

void PutText(Bytes& record, std::size_t offset, std::string_view text) {
    std::copy(text.begin(), text.end(), record.begin() + static_cast<std::ptrdiff_t>(offset));
    record.at(offset + text.size()) = 0x9D;
}

} // namespace

void PutInt32(Bytes& bytes, std::size_t offset, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i) {
        bytes.at(offset + i) = static_cast<std::uint8_t>(bits >> (8 * i));
    }
}

std::int32_t GetInt32(const Bytes& bytes, std::size_t offset) {
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        bits |= static_cast<std::uint32_t>(bytes.at(offset + i)) << (8 * i);
    }
    return static_cast<std::int32_t>(bits);
}

Bytes Masked(std::string_view text, std::uint8_t mask) {
    Bytes bytes;
    for (const char c : text) {
        bytes.push_back(static_cast<std::uint8_t>(static_cast<std::uint8_t>(c) ^ mask));
    }
    bytes.push_back(mask);
    return bytes;
}

Bytes CarRecord(std::string_view name, std::uint8_t filler) {
    Bytes record(128, filler);
    const Bytes masked = Masked(name, 0xB7);
    std::copy(masked.begin(), masked.end(), record.begin());
    return record;
}

Bytes TrackRecord(std::string_view name, int kind, std::int32_t flag, std::int32_t value1,
                  std::int32_t value2) {
    TrackFields fields;
    fields.name = name;
    fields.flag = flag;
    fields.value1 = value1;
    fields.byte1 = 0x21;
    fields.byte2 = 0x22;
    fields.value2 = value2;
    return TrackRecordOf(fields, kind);
}

Bytes TrackRecordOf(const TrackFields& fields, int kind, std::uint8_t filler) {
    const bool longKind = kind == 2;
    Bytes record(longKind ? 140 : 128, filler);
    PutText(record, 0, fields.text1);
    const Bytes name = Masked(fields.name, 0x9D);
    std::copy(name.begin(), name.end(), record.begin() + 20);
    PutText(record, 84, fields.text2);
    PutText(record, 97, fields.text3);
    if (longKind) {
        PutText(record, 110, fields.text4);
    }
    PutInt32(record, longKind ? 124 : 112, fields.flag);
    PutInt32(record, longKind ? 128 : 116, fields.value1);
    record.at(longKind ? 132 : 120) = fields.byte1;
    record.at(longKind ? 133 : 121) = fields.byte2;
    PutInt32(record, longKind ? 136 : 124, fields.value2);
    return record;
}

Bytes ListFile(const std::vector<Bytes>& records, std::int64_t countOverride) {
    Bytes bytes(4, 0);
    PutInt32(bytes, 0,
             static_cast<std::int32_t>(
                 countOverride >= 0 ? countOverride : static_cast<std::int64_t>(records.size())));
    for (const Bytes& record : records) {
        bytes.insert(bytes.end(), record.begin(), record.end());
    }
    return bytes;
}

Bytes RecordAt(const Bytes& file, std::int64_t index, std::size_t size) {
    const std::size_t start = 4 + static_cast<std::size_t>(index - 1) * size;
    if (start + size > file.size()) {
        return {};
    }
    return Bytes(file.begin() + static_cast<std::ptrdiff_t>(start),
                 file.begin() + static_cast<std::ptrdiff_t>(start + size));
}

Bytes Appended(Bytes list, const std::vector<Bytes>& records) {
    const std::int32_t count = GetInt32(list, 0);
    std::size_t at = records.empty() ? 0 : 4 + records.front().size() * std::size_t(count);
    for (const Bytes& record : records) {
        list.resize(std::max(list.size(), at + record.size()));
        std::copy(record.begin(), record.end(), list.begin() + static_cast<std::ptrdiff_t>(at));
        at += record.size();
    }
    PutInt32(list, 0, count + static_cast<std::int32_t>(records.size()));
    return list;
}

Bytes Deleted(const Bytes& list, std::int64_t index, std::size_t size) {
    Bytes result = list;
    const std::int32_t count = GetInt32(list, 0);
    const auto at = [&](std::int64_t i) { return static_cast<std::ptrdiff_t>(4 + i * size); };
    std::copy(list.begin() + at(index), list.begin() + at(count), result.begin() + at(index - 1));
    PutInt32(result, 0, count - 1);
    return result;
}

} // namespace zav::test
