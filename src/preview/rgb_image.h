// RgbImage: a decoded picture, ready to be drawn.
#pragma once

#include <cstdint>
#include <vector>

namespace zav {

/// A picture of `width` × `height` pixels, 3 bytes each (red, green, blue), rows top-down and
/// without padding: pixel (x, y) starts at byte 3 × (y × width + x). Empty when width or height
/// is 0.
struct RgbImage {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint8_t> rgb;

    [[nodiscard]] bool Empty() const { return width <= 0 || height <= 0; }
};

} // namespace zav
