// Byte builders for preview picture files, written from the file layout alone.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "support/temp_dir.h"

namespace zav::test {

/// Header of a picture file: the info and palette block counts (the middle field is 0).
Bytes PictureHeader(std::uint32_t infoBlockCount, std::uint32_t paletteBlockCount);
void AppendU16(Bytes& bytes, std::uint16_t value);
/// An info block: width, height, then 12 bytes of `filler`.
void AppendInfoBlock(Bytes& bytes, std::uint16_t width, std::uint16_t height,
                     std::uint8_t filler = 0);
/// A palette block: `colours` first, the rest of the 256 entries `rest`.
void AppendPaletteBlock(Bytes& bytes, const std::vector<std::uint16_t>& colours,
                        std::uint16_t rest = 0);

/// A whole track picture: one info block, one palette block, `width` × `height` indexes from
/// `index` (x, y).
Bytes TrackPicture(std::uint16_t width, std::uint16_t height,
                   const std::vector<std::uint16_t>& palette,
                   const std::function<std::uint8_t(int, int)>& index);

/// A whole car picture: one info block (`width`, `heightField`), one palette block of junk, then
/// `rows` rows of `width` 16-bit colours from `colour` (x, y).
Bytes CarPicture(std::uint16_t width, std::uint16_t heightField, int rows,
                 const std::function<std::uint16_t(int, int)>& colour);

/// The 8-bit intensities a 16-bit colour stands for.
struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
};
Rgb Expected(std::uint16_t colour);

} // namespace zav::test
