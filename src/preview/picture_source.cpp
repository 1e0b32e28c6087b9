// The in-memory picture source.
#include "preview/picture_source.h"

#include <algorithm>
#include <cstring>

namespace zav {

std::int64_t MemoryPictureSource::Size() {
    return static_cast<std::int64_t>(bytes_.size());
}

std::int64_t MemoryPictureSource::ReadAt(std::int64_t offset, std::uint8_t* buffer,
                                         std::int64_t count) {
    const auto size = static_cast<std::int64_t>(bytes_.size());
    if (offset < 0 || count < 0) {
        return -1;
    }
    if (offset >= size) {
        return 0;
    }
    const std::int64_t taken = std::min(count, size - offset);
    std::memcpy(buffer, bytes_.data() + offset, static_cast<std::size_t>(taken));
    return taken;
}

} // namespace zav
