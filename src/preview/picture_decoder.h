// DecodePicture: a track's or car's preview picture file turned into an RGB image.
#pragma once

#include <cstdint>
#include <span>

#include "files/data_kind.h"
#include "preview/picture_source.h"
#include "preview/rgb_image.h"

namespace zav {

/// A car picture is shown as the top-left 332 × 256 pixels of the file's picture.
inline constexpr std::int32_t CAR_PREVIEW_WIDTH = 332;
inline constexpr std::int32_t CAR_PREVIEW_HEIGHT = 256;

/// Largest width and height a picture file may give; a larger one is taken for a broken file.
inline constexpr std::int32_t PICTURE_MAX_SIDE = 4096;

/// File layout: a header of three 32-bit counts, the info blocks (the first one starts with the
/// 16-bit width and height), the palette blocks (the first holds 256 16-bit colours), then the
/// pixel rows, top row first.
inline constexpr std::int64_t PICTURE_HEADER_SIZE = 12;
inline constexpr std::int64_t PICTURE_INFO_BLOCK_SIZE = 16;
inline constexpr std::int64_t PICTURE_PALETTE_BLOCK_SIZE = 512;
inline constexpr std::int32_t PICTURE_PALETTE_ENTRIES = 256;

/// Decodes the picture file read through `source` as the picture of a track or of a car.
///
/// A track picture is `width` × `height` palette indexes; a car picture is 256 rows of `width`
/// 16-bit colours (its height field is not used), shown as its left 332 columns at most. Colours
/// hold red in bits 10-14, green in 5-9 and blue in 0-4 (bit 15 is ignored); a 5-bit component
/// c becomes c × 8. Only the first info block and the first palette block are read.
///
/// Never fails loudly; damaged files give less or nothing:
/// - an empty image for a file without info blocks, a width or height of 0 or above
///   PICTURE_MAX_SIDE (for cars only the width counts), or blocks that run past the end of the
///   file;
/// - a file that ends inside its pixels gives only its complete rows (an empty image when not one
///   row is complete); nothing is made up for the missing ones;
/// - a track picture without a palette block shows its indexes as greys (index i as i, i, i).
/// At most the 12-byte header, 4 bytes of the first info block, the first palette block and
/// the pixels the picture needs (PICTURE_MAX_SIDE² 16-bit pixels at most) are read.
RgbImage DecodePicture(PictureSource& source, DataKind kind);

/// The same for a file held in memory.
RgbImage DecodePicture(std::span<const std::uint8_t> bytes, DataKind kind);

} // namespace zav
