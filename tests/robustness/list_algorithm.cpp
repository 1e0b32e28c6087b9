// Expected list-file bytes, computed without the list-file classes.
#include "list_algorithm.h"

#include <algorithm>
#include <cctype>

#include "support/list_bytes.h"

namespace zav::test {

Bytes ListWithAppended(const Bytes& list, const std::vector<Bytes>& records,
                       std::size_t recordSize) {
    Bytes result = list;
    const std::int32_t count = GetInt32(list, 0);
    for (std::size_t i = 0; i < records.size(); ++i) {
        const std::size_t at = 4 + recordSize * (static_cast<std::size_t>(count) + i);
        if (result.size() < at + recordSize) {
            result.resize(at + recordSize);
        }
        std::copy(records[i].begin(), records[i].begin() + static_cast<long>(recordSize),
                  result.begin() + static_cast<long>(at));
    }
    PutInt32(result, 0, count + static_cast<std::int32_t>(records.size()));
    return result;
}

Bytes ListWithDeleted(const Bytes& list, std::int64_t index, std::size_t recordSize) {
    Bytes result = list;
    const std::int32_t count = GetInt32(list, 0);
    for (std::int64_t i = index; i < count; ++i) {
        const std::size_t from = 4 + recordSize * static_cast<std::size_t>(i);
        std::copy(list.begin() + static_cast<long>(from),
                  list.begin() + static_cast<long>(from + recordSize),
                  result.begin() + static_cast<long>(from - recordSize));
    }
    PutInt32(result, 0, count - 1);
    return result;
}

std::int64_t RecordIndexOfName(const Bytes& list, std::size_t recordSize, std::size_t nameOffset,
                               std::uint8_t mask, std::string_view name) {
    const std::int32_t count = GetInt32(list, 0);
    for (std::int64_t index = 1; index <= count; ++index) {
        const std::size_t start = 4 + recordSize * static_cast<std::size_t>(index - 1) + nameOffset;
        std::size_t n = 0;
        while (start + n < list.size() && n < name.size() &&
               std::tolower(list[start + n] ^ mask) ==
                   std::tolower(static_cast<unsigned char>(name[n]))) {
            ++n;
        }
        if (n == name.size() && start + n < list.size() && list[start + n] == mask) {
            return index;
        }
    }
    return -1;
}

std::size_t TrackRecordSize(int version) {
    return version == 1 ? 128 : 140;
}

} // namespace zav::test
