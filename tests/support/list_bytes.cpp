// List-file byte builders for the tests.
#include "support/list_bytes.h"

namespace zav::test {

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

Bytes CarRecord(std::string_view name, std::uint8_t filler) {
    Bytes record(128, filler);
    for (std::size_t i = 0; i < name.size(); ++i) {
        record.at(i) = static_cast<std::uint8_t>(name[i]) ^ 0xB7;
    }
    record.at(name.size()) = 0xB7;
    return record;
}

Bytes TrackRecord(std::string_view name, int kind, std::int32_t flag, std::int32_t value1,
                  std::int32_t value2) {
    const bool longKind = kind == 2;
    Bytes record(longKind ? 140 : 128, 0x00);
    record.at(0) = 0x9D;  // Text1
    for (std::size_t i = 0; i < name.size(); ++i) {
        record.at(20 + i) = static_cast<std::uint8_t>(name[i]) ^ 0x9D;
    }
    record.at(20 + name.size()) = 0x9D;
    record.at(84) = 0x9D; // Text2
    record.at(97) = 0x9D; // Text3
    if (longKind) {
        record.at(110) = 0x9D; // Text4
    }
    PutInt32(record, longKind ? 124 : 112, flag);
    PutInt32(record, longKind ? 128 : 116, value1);
    record.at(longKind ? 132 : 120) = 0x21;
    record.at(longKind ? 133 : 121) = 0x22;
    PutInt32(record, longKind ? 136 : 124, value2);
    return record;
}

Bytes ListFile(const std::vector<Bytes>& records, std::int64_t countOverride) {
    Bytes bytes(4, 0);
    PutInt32(bytes, 0, static_cast<std::int32_t>(countOverride >= 0 ? countOverride
                                                                      : static_cast<std::int64_t>(records.size())));
    for (const Bytes& record : records) {
        bytes.insert(bytes.end(), record.begin(), record.end());
    }
    return bytes;
}

} // namespace zav::test
