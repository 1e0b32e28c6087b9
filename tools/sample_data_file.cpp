// Recognisable filler for the sample's opaque data files.
#include "tools/sample_data_file.h"

#include <algorithm>
#include <string>

#include "tools/name_hash.h"

namespace zav {
namespace {

constexpr std::int64_t kMaxVariation = 96;

} // namespace

std::int64_t SampleDataSize(std::int64_t baseSize, std::string_view fileName) {
    if (baseSize <= 0) {
        return 0;
    }
    return baseSize + static_cast<std::int64_t>(NameHash(fileName) % (kMaxVariation + 1));
}

std::vector<std::uint8_t> SampleDataFile(std::string_view fileName, std::string_view entryKind,
                                         std::string_view entryName, std::int64_t size) {
    if (size <= 0 || size > SAMPLE_MAX_DATA_SIZE + kMaxVariation) {
        return {};
    }
    const std::string header = "ZAV sample data: " + std::string(fileName) + " of " +
                               std::string(entryKind) + " " + std::string(entryName) + "\n";
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    const std::size_t headerLength = std::min(header.size(), bytes.size());
    std::copy_n(header.begin(), headerLength, bytes.begin());
    // Every byte value appears, zero and 0xFF included, so a copy that mangles any byte shows.
    const std::uint32_t start = NameHash(fileName);
    for (std::size_t i = headerLength; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>((start + i) & 0xFF);
    }
    return bytes;
}

} // namespace zav
