// What the two list-file fuzz targets share: the input's layout and the choice of record indexes.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "files/record_list_file.h"
#include "fuzz_input.h"

namespace zav::fuzz {

/// The input of a list-file target: a 16-bit length L, then L bytes of operations, then the
/// bytes of the list file the operations work on.
struct ListFuzzInput {
    FuzzInput operations;
    std::vector<std::uint8_t> file;
};

inline ListFuzzInput SplitListInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput whole(data, size);
    const std::size_t wanted = whole.Uint16(); // read before Remaining() is asked
    const std::size_t length = std::min(wanted, whole.Remaining());
    const std::size_t start = size - whole.Remaining();
    FuzzInput operations(data + start, length);
    FuzzInput rest(data + start + length, size - start - length);
    return {operations, rest.Rest()};
}

/// A record index near the edges that matter: around 0, around the count, the extremes, or a
/// small number.
inline std::int32_t ChooseIndex(FuzzInput& input, std::int32_t count) {
    const std::uint8_t choice = input.Byte();
    std::int64_t index = 0;
    switch (choice % 8) {
    case 0:
        index = -1;
        break;
    case 1:
        index = 0;
        break;
    case 2:
    case 3:
    case 4:
        index = static_cast<std::int64_t>(count) + choice % 8 - 2;
        break;
    case 5:
        index = choice % 2 == 0 ? INT32_MAX : INT32_MIN;
        break;
    default:
        index = 1 + choice / 8;
        break;
    }
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(index, INT32_MIN, INT32_MAX));
}

/// The 32-bit count at the start of a list file's bytes; 0 when the file is shorter.
inline std::int32_t CountField(const std::vector<std::uint8_t>& file) {
    return file.size() < 4 ? 0 : ReadInt32(file.data());
}

} // namespace zav::fuzz
