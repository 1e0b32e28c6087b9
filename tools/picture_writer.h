// Encoding of the game's picture files (.img): header, info block, palette, pixel rows.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace zav {

inline constexpr int PICTURE_HEADER_SIZE = 12;
inline constexpr int PICTURE_INFO_BLOCK_SIZE = 16;
inline constexpr int PICTURE_PALETTE_BLOCK_SIZE = 512;
inline constexpr int PICTURE_PALETTE_ENTRIES = 256;

using Palette555 = std::array<std::uint16_t, PICTURE_PALETTE_ENTRIES>;

/// A 5-5-5 colour (red in bits 10-14, green 5-9, blue 0-4) from 8-bit components 0-255; the low
/// three bits of each component are dropped, out-of-range components are clamped.
std::uint16_t Rgb555(int red, int green, int blue);

/// An 8-bit picture file: the header (one info block, depth 8, one palette block), the info block
/// with `width` and `height`, the palette, then `height` rows of `width` palette indexes, top row
/// first, without padding. Empty when `pixels` does not hold `width` × `height` bytes or a size
/// is outside 1 to 65535.
std::vector<std::uint8_t> EncodeIndexedPicture(int width, int height, const Palette555& palette,
                                               const std::vector<std::uint8_t>& pixels);

/// A 16-bit 5-5-5 picture file: the header (one info block, depth 16, one palette block), the
/// info block with `width` and `height`, `palette` (which readers of 16-bit pictures pass over),
/// then `height` rows of `width` little-endian pixels, top row first. Empty when `pixels` does
/// not hold `width` × `height` values or a size is outside 1 to 65535.
std::vector<std::uint8_t> EncodeDirectPicture(int width, int height, const Palette555& palette,
                                              const std::vector<std::uint16_t>& pixels);

} // namespace zav
