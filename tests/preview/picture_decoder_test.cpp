// The preview picture decoder. A picture: info and palette block counts (u32, u32 unused, u32),
// 16-byte info blocks (width, height), 512-byte palettes of 15-bit colours, then 8-bit indexes
// (track) or 15-bit colours (car).
#include "preview/picture_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>

#include "support/temp_dir.h" // Bytes

namespace zav {
namespace {

using test::Bytes;
using Rgb = std::array<int, 3>;
using PixelFn = std::function<int(int, int)>;
constexpr DataKind T = DataKind::Tracks, C = DataKind::Cars;

// The game's rule: 5 bits a component, times 8, bit 15 ignored.
Rgb Expected(int colour) {
    return {((colour >> 10) & 31) * 8, ((colour >> 5) & 31) * 8, (colour & 31) * 8};
}

Rgb PixelAt(const RgbImage& image, int x, int y) {
    const auto at = static_cast<std::size_t>(3 * (y * image.width + x));
    return {image.rgb[at], image.rgb[at + 1], image.rgb[at + 2]};
}

// `value` little-endian in `size` bytes.
void Put(Bytes& bytes, std::uint32_t value, int size = 2) {
    for (int i = 0; i < size; ++i) {
        bytes.push_back(std::uint8_t(value >> 8 * i));
    }
}

// The header, an info block (width, height) for each of `infos`, then a palette for each of
// `palettes`: the colours given, then red up to 256.
Bytes Head(std::uint32_t infoBlocks, std::uint32_t paletteBlocks,
           const std::vector<std::array<std::uint16_t, 2>>& infos,
           const std::vector<std::vector<std::uint16_t>>& palettes = {}) {
    Bytes bytes;
    for (const std::uint32_t value : {infoBlocks, 0U, paletteBlocks}) {
        Put(bytes, value, 4);
    }
    for (const auto& [width, height] : infos) {
        Put(bytes, width | std::uint32_t{height} << 16, 4);
        bytes.insert(bytes.end(), 12, 0xEE);
    }
    for (const auto& colours : palettes) {
        for (std::size_t i = 0; i < 256; ++i) {
            Put(bytes, i < colours.size() ? colours[i] : 0x7C00);
        }
    }
    return bytes;
}

const PixelFn CarColour = [](int x, int y) { return (y << 9) ^ x; };
const PixelFn Diagonal = [](int x, int y) { return (x * 7 + y * 13) & 0xFF; };

// One info block and palette, then `rows` rows (the height field's by default) of pixels.
Bytes Picture(DataKind kind, std::uint16_t width, std::uint16_t height, int rows = -1,
              const PixelFn& pixel = Diagonal, const std::vector<std::uint16_t>& palette = {}) {
    Bytes bytes = Head(1, 1, {{width, height}}, {palette});
    for (int y = 0; y < (rows < 0 ? height : rows); ++y) {
        for (int x = 0; x < width; ++x) {
            kind == C ? Put(bytes, pixel(x, y)) : bytes.push_back(std::uint8_t(pixel(x, y)));
        }
    }
    return bytes;
}

TEST(PictureDecoder, EveryPixelComesFromItsPlaceInTheFile) {
    // Colours of every component value, some with bit 15 set.
    std::vector<std::uint16_t> palette = {0x7FFF, 0x001F, 0x801F, 0x4210};
    for (int i = 4; i < 256; ++i) {
        palette.push_back(static_cast<std::uint16_t>(i * 0x9E37));
    }
    const PixelFn trackColour = [&](int x, int y) { return palette[Diagonal(x, y)]; };
    // 286: no row may pick up padding. A car shows its top-left 332 × 256 whatever its height
    // field says.
    const std::tuple<DataKind, Bytes, int, int, PixelFn> cases[] = {
        {T, Picture(T, 286, 200, -1, Diagonal, palette), 286, 200, trackColour},
        {C, Picture(C, 400, 10, 300, CarColour), 332, 256, CarColour},
    };
    for (const auto& [kind, bytes, width, height, colour] : cases) {
        const RgbImage image = DecodePicture(bytes, kind);
        ASSERT_EQ(std::pair(image.width, image.height), std::pair(width, height));
        ASSERT_EQ(image.rgb.size(), std::size_t{3} * width * height);
        int right = 0;
        for (int i = 0; i < width * height; ++i) {
            right += PixelAt(image, i % width, i / width) == Expected(colour(i % width, i / width));
        }
        EXPECT_EQ(right, width * height) << "width " << width;
    }
}

TEST(PictureDecoder, ShortDamagedAndOddFiles) {
    const auto cut = [](Bytes bytes, std::size_t by) {
        bytes.resize(bytes.size() - by);
        return bytes;
    };
    const auto with = [](Bytes bytes, std::initializer_list<std::uint8_t> pixels) {
        bytes.insert(bytes.end(), pixels);
        return bytes;
    };
    const Bytes firstOfThree = Head(3, 2, {{4, 1}, {9, 9}, {1, 1}}, {{0x001F, 0x03E0}, {}});
    // 16 × 0x10000000 and 512 × 0x00800000 are 2^32: wrapped, either count would put the pixels
    // right after the header, where they make a plausible little picture.
    const std::tuple<const char*, Bytes, DataKind, int, int, Rgb> cases[] = {
        {"first palette of three", with(firstOfThree, {0, 1, 0, 1}), T, 4, 1, Expected(0x03E0)},
        {"no palette: greys", with(Head(1, 0, {{3, 1}}), {0, 128, 255}), T, 3, 1, {128, 128, 128}},
        {"2.5 rows", cut(Picture(T, 10, 4), 15), T, 10, 2, {248, 0, 0}},
        {"not one row whole", cut(Picture(T, 10, 4), 31), T, 0, 0, {}},
        {"car cut in row 41", cut(Picture(C, 400, 256, 41, CarColour), 1), C, 332, 40, {0, 0, 8}},
        {"too wide", Picture(T, 4097, 1), T, 0, 0, {}},
        {"widest", Picture(T, 4096, 2), T, 4096, 2, {248, 0, 0}},
        {"no info block", Head(0, 0, {{2, 2}}), T, 0, 0, {}},
        {"second palette cut", cut(Head(1, 2, {{2, 1}}, {{}, {}}), 412), T, 0, 0, {}},
        {"info count wraps", with(Head(0x10000000, 0, {{2, 2}}), {7, 7, 7, 7}), T, 0, 0, {}},
        {"palette count wraps", with(Head(1, 0x00800000, {{2, 2}}), {7, 7, 7, 7}), C, 0, 0, {}},
    };
    for (const auto& [what, bytes, kind, width, height, pixel10] : cases) {
        const RgbImage image = DecodePicture(bytes, kind);
        EXPECT_EQ(std::pair(image.width, image.height), std::pair(width, height)) << what;
        if (image.width > 1 && image.height > 0) {
            EXPECT_EQ(PixelAt(image, 1, 0), pixel10) << what;
        }
    }
}

// The only guard against reading a huge file whole: a source of any length that serves zeros
// beyond its head and counts the bytes asked for.
TEST(PictureDecoder, ReadsOnlyThePartsThePictureUses) {
    struct Virtual final : PictureSource {
        Virtual(Bytes h, std::int64_t s) : head(std::move(h)), size(s) {}
        std::int64_t Size() override { return size; }
        std::int64_t ReadAt(std::int64_t at, std::uint8_t* buffer, std::int64_t count) override {
            asked += count;
            std::fill_n(buffer, count, 0);
            const std::int64_t from = std::min(at, std::ssize(head));
            std::copy_n(head.begin() + from, std::min(count, std::ssize(head) - from), buffer);
            return std::clamp<std::int64_t>(size - at, 0, count);
        }
        Bytes head;
        std::int64_t size, asked = 0;
    };
    // 2^20 palette blocks (512 MiB) in front of a 4096 × 4096 track in a 600 MiB file.
    Virtual track{Head(1, 0x100000, {{4096, 4096}}), std::int64_t{600} << 20};
    EXPECT_EQ(DecodePicture(track, T).height, 4096);
    EXPECT_LE(track.asked, 12 + 4 + 512 + 4096 * 4096);
    Virtual car{Head(1, 1, {{4096, 0xFFFF}}), std::int64_t{64} << 30}; // only 256 rows read
    EXPECT_EQ(DecodePicture(car, C).height, 256);
    EXPECT_LE(car.asked, 12 + 4 + 256 * 4096 * 2);
}

} // namespace
} // namespace zav
