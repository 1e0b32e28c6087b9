// The preview picture decoder and DrawPreview: layout, colours, crops and damaged files.
// A picture file: info and palette block counts (u32, u32 unused, u32), 16-byte info blocks
// (width, height), 512-byte palettes of 15-bit colours, then 8-bit indexes (track) or 15-bit
// colours (car).
#include "preview/draw_preview.h"
#include "preview/picture_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>

#include "platform/posix/posix_file_system.h"
#include "support/temp_dir.h"

namespace zav {
namespace {

using test::Bytes;

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
};

Rgb Expected(std::uint16_t colour) {
    return {((colour >> 10) & 31) * 8, ((colour >> 5) & 31) * 8, (colour & 31) * 8};
}

Rgb PixelAt(const RgbImage& image, int x, int y) {
    const auto at = static_cast<std::size_t>(3 * (y * image.width + x));
    return {image.rgb[at], image.rgb[at + 1], image.rgb[at + 2]};
}

void Append16(Bytes& bytes, std::uint16_t value) {
    bytes.insert(bytes.end(),
                 {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8)});
}

Bytes Header(std::uint32_t infoBlocks, std::uint32_t paletteBlocks) {
    Bytes bytes;
    for (const std::uint32_t value : {infoBlocks, 0U, paletteBlocks}) {
        Append16(bytes, static_cast<std::uint16_t>(value));
        Append16(bytes, static_cast<std::uint16_t>(value >> 16));
    }
    return bytes;
}

void AppendInfo(Bytes& bytes, std::uint16_t width, std::uint16_t height, std::uint8_t filler = 0) {
    Append16(bytes, width);
    Append16(bytes, height);
    bytes.insert(bytes.end(), 12, filler);
}

void AppendPalette(Bytes& bytes, const std::vector<std::uint16_t>& colours,
                   std::uint16_t rest = 0) {
    for (std::size_t i = 0; i < 256; ++i) {
        Append16(bytes, i < colours.size() ? colours[i] : rest);
    }
}

Bytes TrackPicture(std::uint16_t width, std::uint16_t height,
                   const std::vector<std::uint16_t>& palette,
                   const std::function<std::uint8_t(int, int)>& index) {
    Bytes bytes = Header(1, 1);
    AppendInfo(bytes, width, height);
    AppendPalette(bytes, palette);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bytes.push_back(index(x, y));
        }
    }
    return bytes;
}

// One info block (`width`, `heightField`), a palette of junk, then `rows` rows of colours.
Bytes CarPicture(std::uint16_t width, std::uint16_t heightField, int rows,
                 const std::function<std::uint16_t(int, int)>& colour) {
    Bytes bytes = Header(1, 1);
    AppendInfo(bytes, width, heightField);
    AppendPalette(bytes, {}, 0x7C00);
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < width; ++x) {
            Append16(bytes, colour(x, y));
        }
    }
    return bytes;
}

std::uint16_t CarColour(int x, int y) {
    return static_cast<std::uint16_t>((y << 9) ^ x);
}
std::uint8_t Diagonal(int x, int y) {
    return static_cast<std::uint8_t>(x * 7 + y * 13);
}

// Colours of every component value, some with bit 15 set (which the game ignores).
std::vector<std::uint16_t> MixedPalette() {
    std::vector<std::uint16_t> palette = {0x7FFF, 0x001F, 0x801F, 0x7C00, 0x03E0, 0x4210, 0xFFFF};
    for (int i = 7; i < 256; ++i) {
        palette.push_back(static_cast<std::uint16_t>(i * 0x9E37));
    }
    return palette;
}

TEST(PictureDecoder, TrackKeepsItsSizeItsColoursAndEveryRowInPlace) {
    const auto byX = [](int x, int) { return static_cast<std::uint8_t>(x); };
    const RgbImage two = DecodePicture(TrackPicture(2, 1, {0x801F, 0x4210}, byX), PICTURE_TRACK);
    EXPECT_EQ(PixelAt(two, 0, 0), (Rgb{0, 0, 248})) << "5 bits a component, bit 15 ignored";
    EXPECT_EQ(PixelAt(two, 1, 0), (Rgb{128, 128, 128}));
    const std::vector<std::uint16_t> palette = MixedPalette();
    // 286 is not a multiple of 4: no row may pick up padding.
    for (const std::uint16_t width : {std::uint16_t{300}, std::uint16_t{286}}) {
        const RgbImage image =
            DecodePicture(TrackPicture(width, 200, palette, Diagonal), PICTURE_TRACK);
        ASSERT_EQ(image.width, width);
        ASSERT_EQ(image.height, 200);
        ASSERT_EQ(image.rgb.size(), std::size_t{3} * width * 200);
        int wrong = 0;
        for (int y = 0; y < 200; ++y) {
            for (int x = 0; x < width; ++x) {
                wrong += PixelAt(image, x, y) == Expected(palette[Diagonal(x, y)]) ? 0 : 1;
            }
        }
        EXPECT_EQ(wrong, 0) << "width " << width;
    }
}

TEST(PictureDecoder, FurtherBlocksArePassedOverAndNoPaletteMeansGreys) {
    Bytes bytes = Header(3, 2);
    AppendInfo(bytes, 4, 2);
    AppendInfo(bytes, 9, 9, 0xEE);
    AppendInfo(bytes, 1, 1, 0xEE);
    AppendPalette(bytes, {0x001F, 0x03E0});
    AppendPalette(bytes, {}, 0x7C00);
    bytes.insert(bytes.end(), {0, 1, 0, 1, 1, 0, 1, 0});
    RgbImage image = DecodePicture(bytes, PICTURE_TRACK);
    ASSERT_EQ(image.width, 4);
    ASSERT_EQ(image.height, 2);
    EXPECT_EQ(PixelAt(image, 1, 0), Expected(0x03E0));
    EXPECT_EQ(PixelAt(image, 0, 1), Expected(0x03E0));
    EXPECT_EQ(PixelAt(image, 1, 1), Expected(0x001F));

    bytes = Header(1, 0);
    AppendInfo(bytes, 3, 1);
    bytes.insert(bytes.end(), {0, 128, 255});
    image = DecodePicture(bytes, PICTURE_TRACK);
    ASSERT_EQ(image.width, 3);
    EXPECT_EQ(PixelAt(image, 1, 0), (Rgb{128, 128, 128}));
    EXPECT_EQ(PixelAt(image, 2, 0), (Rgb{255, 255, 255}));
}

TEST(PictureDecoder, CarShowsTopLeft332By256WhateverItsHeightField) {
    // The height field says 10, yet 256 rows are read; a 300-row file keeps its lower rows.
    RgbImage image = DecodePicture(CarPicture(400, 10, 300, CarColour), PICTURE_CAR);
    ASSERT_EQ(image.width, CAR_PREVIEW_WIDTH);
    ASSERT_EQ(image.height, CAR_PREVIEW_HEIGHT);
    for (const int y : {0, 1, 128, 255}) {
        for (const int x : {0, 1, 200, 331}) {
            EXPECT_EQ(PixelAt(image, x, y), Expected(CarColour(x, y))) << x << ", " << y;
        }
    }
    image = DecodePicture(CarPicture(100, 0, 256, CarColour), PICTURE_CAR);
    ASSERT_EQ(image.width, 100) << "a narrow car takes what each row has";
    ASSERT_EQ(image.height, 256);
    EXPECT_EQ(PixelAt(image, 99, 0), Expected(CarColour(99, 0)));
    EXPECT_EQ(PixelAt(image, 0, 255), Expected(CarColour(0, 255)));
}

TEST(PictureDecoder, ShortFileKeepsOnlyItsCompleteRows) {
    Bytes track = TrackPicture(10, 4, MixedPalette(), [](int x, int) { return x; });
    track.resize(track.size() - 15); // two rows whole, the third half there
    const RgbImage trackImage = DecodePicture(track, PICTURE_TRACK);
    EXPECT_EQ(trackImage.width, 10);
    EXPECT_EQ(trackImage.height, 2);
    EXPECT_EQ(trackImage.rgb.size(), 60U);
    track.resize(track.size() - 16); // not one row whole
    EXPECT_TRUE(DecodePicture(track, PICTURE_TRACK).Empty());

    Bytes car = CarPicture(400, 256, 41, CarColour);
    car.resize(car.size() - 1);
    const RgbImage carImage = DecodePicture(car, PICTURE_CAR);
    EXPECT_EQ(carImage.width, CAR_PREVIEW_WIDTH);
    EXPECT_EQ(carImage.height, 40);
    EXPECT_EQ(PixelAt(carImage, 331, 39), Expected(CarColour(331, 39)));
}

TEST(PictureDecoder, DamagedFilesGiveNothing) {
    const auto fill = [](int, int) { return std::uint8_t{1}; };
    const auto black = [](int, int) { return std::uint16_t{0}; };
    Bytes infoCut = Header(1, 1);
    infoCut.resize(14);
    struct Case {
        const char* what;
        Bytes bytes;
        bool carToo = true;
    };
    std::vector<Case> cases = {
        {"0 wide", TrackPicture(0, 5, {}, fill)},
        {"0 high", TrackPicture(5, 0, {}, fill), false},
        {"too wide", TrackPicture(4097, 1, {}, fill)},
        {"too high", TrackPicture(1, 4097, {}, fill), false},
        {"car 0 wide", CarPicture(0, 256, 256, black)},
        {"car too wide", CarPicture(4097, 256, 1, black)},
        {"inside the info block", infoCut},
        {"inside the header", Bytes(7, 1)},
        {"empty", Bytes{}},
    };
    // No info block: the bytes after the header would read as 2 × 2 if taken for one.
    cases.push_back({"no info block", Header(0, 0)});
    AppendInfo(cases.back().bytes, 2, 2);
    cases.push_back({"second info block missing", Header(2, 1)});
    AppendInfo(cases.back().bytes, 2, 1);
    cases.push_back({"second palette cut", Header(1, 2)});
    AppendInfo(cases.back().bytes, 2, 1);
    AppendPalette(cases.back().bytes, {0x7FFF});
    cases.back().bytes.resize(cases.back().bytes.size() + 100);
    // 16 × 0x10000000 and 512 × 0x00800000 are 2^32: wrapped, both would put the pixels right
    // after the header, which here make a plausible little picture.
    for (const auto& [info, palette] : {std::pair{0x10000000U, 0U}, std::pair{1U, 0x00800000U}}) {
        cases.push_back({"counts wrap 32 bits", Header(info, palette)});
        AppendInfo(cases.back().bytes, 2, 2);
        cases.back().bytes.resize(cases.back().bytes.size() + 4, 7);
    }
    for (const Case& c : cases) {
        EXPECT_TRUE(DecodePicture(c.bytes, PICTURE_TRACK).Empty()) << c.what;
        EXPECT_TRUE(!c.carToo || DecodePicture(c.bytes, PICTURE_CAR).Empty()) << c.what;
    }
    EXPECT_EQ(DecodePicture(TrackPicture(4096, 2, {}, fill), PICTURE_TRACK).width, 4096);
    EXPECT_TRUE(DecodePicture(TrackPicture(2, 2, {}, fill), 2).Empty()) << "no such kind";
    EXPECT_TRUE(DecodePicture(TrackPicture(2, 2, {}, fill), -1).Empty());
}

/// A file of any length that serves zeros beyond the head it was given and counts what is asked.
class VirtualPicture final : public PictureSource {
public:
    VirtualPicture(Bytes head, std::int64_t size) : head_(std::move(head)), size_(size) {}
    std::int64_t Size() override { return size_; }
    std::int64_t ReadAt(std::int64_t offset, std::uint8_t* buffer, std::int64_t count) override {
        const std::int64_t taken = std::clamp<std::int64_t>(size_ - offset, 0, count);
        for (std::int64_t i = 0; i < taken; ++i) {
            const auto at = static_cast<std::size_t>(offset + i);
            buffer[i] = at < head_.size() ? head_[at] : 0;
        }
        bytesAsked += count;
        return taken;
    }
    std::int64_t bytesAsked = 0;

private:
    Bytes head_;
    std::int64_t size_;
};

TEST(PictureDecoder, ReadsOnlyThePartsThePictureUses) {
    // 2^20 palette blocks (512 MiB) in front of a 4096 × 4096 track in a 600 MiB file.
    Bytes head = Header(1, 0x100000);
    AppendInfo(head, 4096, 4096);
    VirtualPicture track(head, std::int64_t{600} << 20);
    EXPECT_EQ(DecodePicture(track, PICTURE_TRACK).height, 4096);
    EXPECT_LE(track.bytesAsked, 12 + 4 + 512 + 4096 * 4096);
    // A 64 GiB car file: only its 256 rows are read.
    head = Header(1, 1);
    AppendInfo(head, 4096, 0xFFFF);
    VirtualPicture car(head, std::int64_t{64} << 30);
    EXPECT_EQ(DecodePicture(car, PICTURE_CAR).height, 256);
    EXPECT_LE(car.bytesAsked, 12 + 4 + 256 * 4096 * 2);
}

class RecordingCanvas final : public PreviewCanvas {
public:
    void DrawImage(std::int32_t x, std::int32_t y, const RgbImage& image) override {
        calls.push_back({x, y, image.width, image.height, image.rgb[2]});
    }
    std::vector<std::array<int, 5>> calls; // x, y, width, height, first pixel's blue
};

TEST(DrawPreview, TrackAndCarGoFiveLeftOfTheInitialEdgeAndDownByAFifthOrNineHundredths) {
    test::TempDir dir;
    PosixFileSystem files{dir.path()};
    RecordingCanvas canvas;
    test::WriteFile(dir / "Foo.img", TrackPicture(300, 200, {0x7FFF}, [](int, int) { return 0; }));
    test::WriteFile(dir / "car.img",
                    CarPicture(400, 256, 256, [](int, int) { return std::uint16_t{0x001F}; }));
    test::WriteFile(dir / "empty.img", Bytes{});
    EXPECT_EQ(DrawPreview(files, canvas, 360, 500, PICTURE_TRACK, dir / "Foo.img"), 1);
    EXPECT_EQ(DrawPreview(files, canvas, 360, 500, PICTURE_CAR, dir / "car.img"), 1);
    EXPECT_EQ(canvas.calls, (std::vector<std::array<int, 5>>{{355, 100, 300, 200, 248},
                                                             {355, 45, 332, 256, 248}}));

    canvas.calls.clear();
    EXPECT_EQ(DrawPreview(files, canvas, 360, 500, PICTURE_TRACK, dir / "none.img"), 0);
    EXPECT_EQ(DrawPreview(files, canvas, 360, 500, PICTURE_CAR, dir.path()), 0) << "a folder";
    EXPECT_EQ(DrawPreview(files, canvas, 360, 500, PICTURE_TRACK, dir / "empty.img"), 1)
        << "a file without a picture opens but draws nothing";
    EXPECT_EQ(DrawPreview(files, canvas, 360, 500, 7, dir / "empty.img"), 1);
    EXPECT_TRUE(canvas.calls.empty());

    EXPECT_EQ(PreviewOrigin(PICTURE_TRACK, 360, 499).y, 99) << "rounded down";
    EXPECT_EQ(PreviewOrigin(PICTURE_CAR, 360, 499).y, 44);
    EXPECT_EQ(PreviewOrigin(PICTURE_CAR, 360, 2000000000).y, 180000000) << "no overflow";
    EXPECT_EQ(PreviewOrigin(PICTURE_TRACK, 360, 2000000000).y, 400000000);
}

} // namespace
} // namespace zav
