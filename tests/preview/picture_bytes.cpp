// Byte builders for preview picture files.
#include "preview/picture_bytes.h"

namespace zav::test {

namespace {

void AppendU32(Bytes& bytes, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        bytes.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

} // namespace

Bytes PictureHeader(std::uint32_t infoBlockCount, std::uint32_t paletteBlockCount) {
    Bytes bytes;
    AppendU32(bytes, infoBlockCount);
    AppendU32(bytes, 0);
    AppendU32(bytes, paletteBlockCount);
    return bytes;
}

void AppendU16(Bytes& bytes, std::uint16_t value) {
    bytes.push_back(static_cast<std::uint8_t>(value));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

void AppendInfoBlock(Bytes& bytes, std::uint16_t width, std::uint16_t height, std::uint8_t filler) {
    AppendU16(bytes, width);
    AppendU16(bytes, height);
    bytes.insert(bytes.end(), 12, filler);
}

void AppendPaletteBlock(Bytes& bytes, const std::vector<std::uint16_t>& colours,
                        std::uint16_t rest) {
    for (std::size_t i = 0; i < 256; ++i) {
        AppendU16(bytes, i < colours.size() ? colours[i] : rest);
    }
}

Bytes TrackPicture(std::uint16_t width, std::uint16_t height,
                   const std::vector<std::uint16_t>& palette,
                   const std::function<std::uint8_t(int, int)>& index) {
    Bytes bytes = PictureHeader(1, 1);
    AppendInfoBlock(bytes, width, height);
    AppendPaletteBlock(bytes, palette);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bytes.push_back(index(x, y));
        }
    }
    return bytes;
}

Bytes CarPicture(std::uint16_t width, std::uint16_t heightField, int rows,
                 const std::function<std::uint16_t(int, int)>& colour) {
    Bytes bytes = PictureHeader(1, 1);
    AppendInfoBlock(bytes, width, heightField);
    AppendPaletteBlock(bytes, {}, 0x7C00);
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < width; ++x) {
            AppendU16(bytes, colour(x, y));
        }
    }
    return bytes;
}

Rgb Expected(std::uint16_t colour) {
    return {((colour >> 10) & 31) * 8, ((colour >> 5) & 31) * 8, (colour & 31) * 8};
}

} // namespace zav::test
