// Placeholder until the decoder lands: the image type the window draws.
#pragma once

#include <cstdint>
#include <vector>

namespace zav {

struct RgbImage {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint8_t> rgb;
};

} // namespace zav
