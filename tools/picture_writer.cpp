// Picture files in the game's layout.
#include "tools/picture_writer.h"

#include <algorithm>

namespace zav {
namespace {

constexpr int kMaxSide = 65535;

void Put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

bool SizeFits(int width, int height, std::size_t pixelCount) {
    return width >= 1 && height >= 1 && width <= kMaxSide && height <= kMaxSide &&
           pixelCount == static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
}

// Header, the one info block and the one palette block shared by both depths. The word at offset
// 4, which the patcher does not read, holds the depth so the file describes itself.
std::vector<std::uint8_t> Head(int width, int height, int depth, const Palette555& palette,
                               std::size_t pixelBytes) {
    std::vector<std::uint8_t> out;
    out.reserve(static_cast<std::size_t>(PICTURE_HEADER_SIZE + PICTURE_INFO_BLOCK_SIZE +
                                         PICTURE_PALETTE_BLOCK_SIZE) +
                pixelBytes);
    Put32(out, 1);
    Put32(out, static_cast<std::uint32_t>(depth));
    Put32(out, 1);
    Put16(out, static_cast<std::uint32_t>(width));
    Put16(out, static_cast<std::uint32_t>(height));
    out.resize(out.size() + static_cast<std::size_t>(PICTURE_INFO_BLOCK_SIZE - 4), 0);
    for (const std::uint16_t colour : palette) {
        Put16(out, colour);
    }
    return out;
}

} // namespace

std::uint16_t Rgb555(int red, int green, int blue) {
    const auto five = [](int component) {
        return static_cast<std::uint32_t>(std::clamp(component, 0, 255)) >> 3;
    };
    return static_cast<std::uint16_t>((five(red) << 10) | (five(green) << 5) | five(blue));
}

std::vector<std::uint8_t> EncodeIndexedPicture(int width, int height, const Palette555& palette,
                                               const std::vector<std::uint8_t>& pixels) {
    if (!SizeFits(width, height, pixels.size())) {
        return {};
    }
    std::vector<std::uint8_t> out = Head(width, height, 8, palette, pixels.size());
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

std::vector<std::uint8_t> EncodeDirectPicture(int width, int height, const Palette555& palette,
                                              const std::vector<std::uint16_t>& pixels) {
    if (!SizeFits(width, height, pixels.size())) {
        return {};
    }
    std::vector<std::uint8_t> out = Head(width, height, 16, palette, 2 * pixels.size());
    for (const std::uint16_t pixel : pixels) {
        Put16(out, pixel);
    }
    return out;
}

} // namespace zav
