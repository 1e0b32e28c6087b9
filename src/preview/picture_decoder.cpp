// Decoding of the preview picture files: 8-bit palette tracks and 16-bit 5-5-5 cars.
#include "preview/picture_decoder.h"

#include <algorithm>
#include <array>
#include <vector>

namespace zav {

namespace {

using Palette = std::array<std::uint16_t, PICTURE_PALETTE_ENTRIES>;

/// What the header and the first info block say, with the offsets worked out in 64 bits so that
/// no block count can wrap them.
struct PictureHeader {
    std::int64_t paletteBlockCount = 0;
    std::int64_t paletteOffset = 0;
    std::int64_t pixelOffset = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

std::uint32_t ReadU32(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

std::uint16_t ReadU16(const std::uint8_t* bytes) {
    return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
}

bool ReadExactly(PictureSource& source, std::int64_t offset, std::uint8_t* buffer,
                 std::int64_t count) {
    return source.ReadAt(offset, buffer, count) == count;
}

/// The header when the file holds all its blocks and gives a size; nothing otherwise.
bool ReadHeader(PictureSource& source, PictureHeader& header) {
    const std::int64_t fileSize = source.Size();
    std::array<std::uint8_t, PICTURE_HEADER_SIZE> counts{};
    if (fileSize < 0 || !ReadExactly(source, 0, counts.data(), PICTURE_HEADER_SIZE)) {
        return false;
    }
    const std::int64_t infoBlockCount = ReadU32(counts.data());
    header.paletteBlockCount = ReadU32(counts.data() + 8);
    if (infoBlockCount == 0) {
        return false; // no size given
    }
    header.paletteOffset = PICTURE_HEADER_SIZE + PICTURE_INFO_BLOCK_SIZE * infoBlockCount;
    header.pixelOffset =
        header.paletteOffset + PICTURE_PALETTE_BLOCK_SIZE * header.paletteBlockCount;
    if (header.pixelOffset > fileSize) {
        return false; // the blocks run past the end of the file
    }
    std::array<std::uint8_t, 4> size{};
    if (!ReadExactly(source, PICTURE_HEADER_SIZE, size.data(), 4)) {
        return false;
    }
    header.width = ReadU16(size.data());
    header.height = ReadU16(size.data() + 2);
    return true;
}

bool SideIsSane(std::int32_t side) {
    return side > 0 && side <= PICTURE_MAX_SIDE;
}

void PutColour(std::uint16_t colour, std::uint8_t* rgb) {
    rgb[0] = static_cast<std::uint8_t>(((colour >> 10) & 0x1F) << 3);
    rgb[1] = static_cast<std::uint8_t>(((colour >> 5) & 0x1F) << 3);
    rgb[2] = static_cast<std::uint8_t>((colour & 0x1F) << 3);
}

/// Reads up to `rows` rows of `rowBytes` bytes at `offset`; keeps the complete rows only.
std::vector<std::uint8_t> ReadRows(PictureSource& source, std::int64_t offset,
                                   std::int64_t rowBytes, std::int32_t& rows) {
    const std::int64_t available = std::max<std::int64_t>(source.Size() - offset, 0);
    rows = static_cast<std::int32_t>(std::min<std::int64_t>(rows, available / rowBytes));
    if (rows <= 0) {
        rows = 0;
        return {};
    }
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(rowBytes * rows));
    const std::int64_t got = source.ReadAt(offset, pixels.data(), rowBytes * rows);
    rows = static_cast<std::int32_t>(std::max<std::int64_t>(got, 0) / rowBytes);
    return pixels;
}

RgbImage MakeImage(std::int32_t width, std::int32_t height) {
    RgbImage image;
    if (width > 0 && height > 0) {
        image.width = width;
        image.height = height;
        image.rgb.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
    }
    return image;
}

/// The first palette block's colours, or a grey ramp when the file has no palette block.
std::array<std::array<std::uint8_t, 3>, PICTURE_PALETTE_ENTRIES>
ReadColourTable(PictureSource& source, const PictureHeader& header) {
    std::array<std::array<std::uint8_t, 3>, PICTURE_PALETTE_ENTRIES> table{};
    if (header.paletteBlockCount == 0) {
        for (std::size_t i = 0; i < table.size(); ++i) {
            const auto grey = static_cast<std::uint8_t>(i);
            table[i] = {grey, grey, grey};
        }
        return table;
    }
    std::array<std::uint8_t, PICTURE_PALETTE_BLOCK_SIZE> block{};
    // The block lies inside the file (ReadHeader made sure of it).
    source.ReadAt(header.paletteOffset, block.data(), PICTURE_PALETTE_BLOCK_SIZE);
    for (std::size_t i = 0; i < table.size(); ++i) {
        PutColour(ReadU16(block.data() + 2 * i), table[i].data());
    }
    return table;
}

RgbImage DecodeTrack(PictureSource& source, const PictureHeader& header) {
    if (!SideIsSane(header.width) || !SideIsSane(header.height)) {
        return {};
    }
    const auto table = ReadColourTable(source, header);
    std::int32_t rows = header.height;
    const std::vector<std::uint8_t> indexes =
        ReadRows(source, header.pixelOffset, header.width, rows);
    RgbImage image = MakeImage(header.width, rows);
    for (std::size_t i = 0; i < image.rgb.size() / 3; ++i) {
        const auto& colour = table[indexes[i]];
        std::copy(colour.begin(), colour.end(),
                  image.rgb.begin() + static_cast<std::ptrdiff_t>(3 * i));
    }
    return image;
}

RgbImage DecodeCar(PictureSource& source, const PictureHeader& header) {
    if (!SideIsSane(header.width)) {
        return {};
    }
    const std::int64_t rowBytes = 2 * static_cast<std::int64_t>(header.width);
    std::int32_t rows = CAR_PREVIEW_HEIGHT;
    const std::vector<std::uint8_t> pixels = ReadRows(source, header.pixelOffset, rowBytes, rows);
    RgbImage image = MakeImage(std::min(header.width, CAR_PREVIEW_WIDTH), rows);
    std::uint8_t* out = image.rgb.data();
    for (std::int32_t y = 0; y < image.height; ++y) {
        const std::uint8_t* row = pixels.data() + rowBytes * y;
        for (std::int32_t x = 0; x < image.width; ++x, out += 3) {
            PutColour(ReadU16(row + 2 * x), out);
        }
    }
    return image;
}

} // namespace

RgbImage DecodePicture(PictureSource& source, DataKind kind) {
    PictureHeader header;
    if (!ReadHeader(source, header)) {
        return {};
    }
    return kind == DataKind::Cars ? DecodeCar(source, header) : DecodeTrack(source, header);
}

RgbImage DecodePicture(std::span<const std::uint8_t> bytes, DataKind kind) {
    MemoryPictureSource source(bytes);
    return DecodePicture(source, kind);
}

} // namespace zav
