// Tests of the preview picture decoder: layout, colours, crops and damaged files.
#include "preview/picture_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "preview/picture_bytes.h"

namespace zav {
namespace {

using test::Bytes;
using test::Expected;
using test::Rgb;

Rgb PixelAt(const RgbImage& image, int x, int y) {
    const auto at = static_cast<std::size_t>(3 * (y * image.width + x));
    return {image.rgb[at], image.rgb[at + 1], image.rgb[at + 2]};
}

/// Palette i holds colour i: every index of a picture then has its own colour.
std::vector<std::uint16_t> IdentityPalette() {
    std::vector<std::uint16_t> palette(256);
    for (std::uint16_t i = 0; i < 256; ++i) {
        palette[i] = i;
    }
    return palette;
}

std::uint16_t CarColour(int x, int y) {
    return static_cast<std::uint16_t>((y << 9) ^ x);
}

TEST(PictureDecoder, TrackColoursTakeFiveBitsPerComponentAndIgnoreBitFifteen) {
    const std::vector<std::uint16_t> palette = {0x7FFF, 0x001F, 0x801F, 0x7C00,
                                                0x03E0, 0x4210, 0xFFFF, 0x0000};
    const Bytes bytes = test::TrackPicture(8, 1, palette, [](int x, int) { return x; });
    const RgbImage image = DecodePicture(bytes, PICTURE_TRACK);
    ASSERT_EQ(image.width, 8);
    ASSERT_EQ(image.height, 1);
    const std::vector<Rgb> expected = {{248, 248, 248}, {0, 0, 248}, {0, 0, 248},
                                       {248, 0, 0},     {0, 248, 0}, {128, 128, 128},
                                       {248, 248, 248}, {0, 0, 0}};
    for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(PixelAt(image, x, 0), expected[x]) << "x = " << x;
    }
}

TEST(PictureDecoder, TrackKeepsItsSizeAndEveryRowInPlace) {
    // 286 is not a multiple of 4: no row may pick up padding.
    for (const std::uint16_t width : {std::uint16_t{300}, std::uint16_t{286}}) {
        auto index = [](int x, int y) { return static_cast<std::uint8_t>(x * 7 + y * 13); };
        const Bytes bytes = test::TrackPicture(width, 200, IdentityPalette(), index);
        const RgbImage image = DecodePicture(bytes, PICTURE_TRACK);
        ASSERT_EQ(image.width, width);
        ASSERT_EQ(image.height, 200);
        ASSERT_EQ(image.rgb.size(), std::size_t{3} * width * 200);
        int wrong = 0;
        for (int y = 0; y < 200; ++y) {
            for (int x = 0; x < width; ++x) {
                wrong += PixelAt(image, x, y) == Expected(index(x, y)) ? 0 : 1;
            }
        }
        EXPECT_EQ(wrong, 0) << "width " << width;
    }
}

TEST(PictureDecoder, FurtherInfoAndPaletteBlocksArePassedOver) {
    Bytes bytes = test::PictureHeader(3, 2);
    test::AppendInfoBlock(bytes, 4, 2);
    test::AppendInfoBlock(bytes, 9, 9, 0xEE);
    test::AppendInfoBlock(bytes, 1, 1, 0xEE);
    test::AppendPaletteBlock(bytes, {0x001F, 0x03E0});
    test::AppendPaletteBlock(bytes, {}, 0x7C00);
    bytes.insert(bytes.end(), {0, 1, 0, 1, 1, 0, 1, 0});
    const RgbImage image = DecodePicture(bytes, PICTURE_TRACK);
    ASSERT_EQ(image.width, 4);
    ASSERT_EQ(image.height, 2);
    EXPECT_EQ(PixelAt(image, 0, 0), Expected(0x001F));
    EXPECT_EQ(PixelAt(image, 1, 0), Expected(0x03E0));
    EXPECT_EQ(PixelAt(image, 0, 1), Expected(0x03E0));
}

TEST(PictureDecoder, CarShowsTopLeft332By256AndIgnoresItsHeightField) {
    // The height field says 10, yet 256 rows are read; a 300-row file keeps its lower rows.
    const Bytes bytes = test::CarPicture(400, 10, 300, CarColour);
    const RgbImage image = DecodePicture(bytes, PICTURE_CAR);
    ASSERT_EQ(image.width, CAR_PREVIEW_WIDTH);
    ASSERT_EQ(image.height, CAR_PREVIEW_HEIGHT);
    for (const int y : {0, 1, 128, 255}) {
        for (const int x : {0, 1, 200, 331}) {
            EXPECT_EQ(PixelAt(image, x, y), Expected(CarColour(x, y))) << x << ", " << y;
        }
    }
}

TEST(PictureDecoder, NarrowCarTakesWhatEachRowHas) {
    const Bytes bytes = test::CarPicture(100, 0, 256, CarColour);
    const RgbImage image = DecodePicture(bytes, PICTURE_CAR);
    ASSERT_EQ(image.width, 100);
    ASSERT_EQ(image.height, 256);
    EXPECT_EQ(PixelAt(image, 99, 0), Expected(CarColour(99, 0)));
    EXPECT_EQ(PixelAt(image, 0, 255), Expected(CarColour(0, 255)));
}

TEST(PictureDecoder, ShortFileKeepsOnlyItsCompleteRows) {
    Bytes track = test::TrackPicture(10, 4, IdentityPalette(), [](int x, int) { return x; });
    track.resize(track.size() - 15); // two rows whole, the third half there
    const RgbImage trackImage = DecodePicture(track, PICTURE_TRACK);
    EXPECT_EQ(trackImage.width, 10);
    EXPECT_EQ(trackImage.height, 2);
    EXPECT_EQ(trackImage.rgb.size(), 60U);

    track.resize(track.size() - 16); // not one row whole
    EXPECT_TRUE(DecodePicture(track, PICTURE_TRACK).Empty());

    Bytes car = test::CarPicture(400, 256, 41, CarColour);
    car.resize(car.size() - 1);
    const RgbImage carImage = DecodePicture(car, PICTURE_CAR);
    EXPECT_EQ(carImage.width, CAR_PREVIEW_WIDTH);
    EXPECT_EQ(carImage.height, 40);
    EXPECT_EQ(PixelAt(carImage, 331, 39), Expected(CarColour(331, 39)));
}

TEST(PictureDecoder, TrackWithoutPaletteShowsIndexesAsGreys) {
    Bytes bytes = test::PictureHeader(1, 0);
    test::AppendInfoBlock(bytes, 3, 1);
    bytes.insert(bytes.end(), {0, 128, 255});
    const RgbImage image = DecodePicture(bytes, PICTURE_TRACK);
    ASSERT_EQ(image.width, 3);
    EXPECT_EQ(PixelAt(image, 0, 0), (Rgb{0, 0, 0}));
    EXPECT_EQ(PixelAt(image, 1, 0), (Rgb{128, 128, 128}));
    EXPECT_EQ(PixelAt(image, 2, 0), (Rgb{255, 255, 255}));
}

TEST(PictureDecoder, SizesThatAreMissingZeroOrTooLargeGiveNothing) {
    // No info block: the bytes after the header would read as 2 × 2 if taken for one.
    Bytes noInfo = test::PictureHeader(0, 0);
    test::AppendInfoBlock(noInfo, 2, 2);
    EXPECT_TRUE(DecodePicture(noInfo, PICTURE_TRACK).Empty());
    EXPECT_TRUE(DecodePicture(noInfo, PICTURE_CAR).Empty());

    auto fill = [](int, int) { return std::uint8_t{1}; };
    EXPECT_TRUE(DecodePicture(test::TrackPicture(0, 5, {}, fill), PICTURE_TRACK).Empty());
    EXPECT_TRUE(DecodePicture(test::TrackPicture(5, 0, {}, fill), PICTURE_TRACK).Empty());
    EXPECT_TRUE(DecodePicture(test::TrackPicture(4097, 1, {}, fill), PICTURE_TRACK).Empty());
    EXPECT_TRUE(DecodePicture(test::TrackPicture(1, 4097, {}, fill), PICTURE_TRACK).Empty());
    EXPECT_EQ(DecodePicture(test::TrackPicture(4096, 2, {}, fill), PICTURE_TRACK).width, 4096);

    auto black = [](int, int) { return std::uint16_t{0}; };
    EXPECT_TRUE(DecodePicture(test::CarPicture(0, 256, 256, black), PICTURE_CAR).Empty());
    EXPECT_TRUE(DecodePicture(test::CarPicture(4097, 256, 1, black), PICTURE_CAR).Empty());
}

TEST(PictureDecoder, BlocksRunningPastTheEndGiveNothing) {
    Bytes bytes = test::PictureHeader(2, 1); // two info blocks announced, one there
    test::AppendInfoBlock(bytes, 2, 1);
    EXPECT_TRUE(DecodePicture(bytes, PICTURE_TRACK).Empty());

    bytes = test::PictureHeader(1, 2); // the second palette block is cut short
    test::AppendInfoBlock(bytes, 2, 1);
    test::AppendPaletteBlock(bytes, {0x7FFF});
    bytes.insert(bytes.end(), 100, 0);
    EXPECT_TRUE(DecodePicture(bytes, PICTURE_TRACK).Empty());

    bytes = test::PictureHeader(1, 1);
    bytes.resize(14); // inside the first info block
    EXPECT_TRUE(DecodePicture(bytes, PICTURE_CAR).Empty());
    bytes.resize(7); // inside the header
    EXPECT_TRUE(DecodePicture(bytes, PICTURE_TRACK).Empty());
    EXPECT_TRUE(DecodePicture(Bytes{}, PICTURE_TRACK).Empty());
}

TEST(PictureDecoder, BlockCountsThatWouldWrapThirtyTwoBitsGiveNothing) {
    // 16 × 0x10000000 and 512 × 0x00800000 are 2^32: wrapped, both would put the pixels at the
    // bytes right after the header, which here make a plausible little picture.
    for (const auto& [infoCount, paletteCount] :
         {std::pair{0x10000000U, 0U}, std::pair{1U, 0x00800000U}}) {
        Bytes bytes = test::PictureHeader(infoCount, paletteCount);
        test::AppendInfoBlock(bytes, 2, 2);
        bytes.insert(bytes.end(), 4, 7);
        EXPECT_TRUE(DecodePicture(bytes, PICTURE_TRACK).Empty());
        EXPECT_TRUE(DecodePicture(bytes, PICTURE_CAR).Empty());
    }
}

TEST(PictureDecoder, OtherKindsGiveNothing) {
    const Bytes bytes = test::TrackPicture(2, 2, {0x7FFF}, [](int, int) { return 0; });
    EXPECT_TRUE(DecodePicture(bytes, 2).Empty());
    EXPECT_TRUE(DecodePicture(bytes, -1).Empty());
}

/// A file of any length that serves zero bytes beyond the header it was given and counts what is
/// asked of it, so huge files can be tried without holding them.
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
    Bytes head = test::PictureHeader(1, 0x100000);
    test::AppendInfoBlock(head, 4096, 4096);
    VirtualPicture track(head, std::int64_t{600} << 20);
    EXPECT_EQ(DecodePicture(track, PICTURE_TRACK).height, 4096);
    EXPECT_LE(track.bytesAsked, 12 + 4 + 512 + 4096 * 4096);

    // A 64 GiB car file: only its 256 rows are read.
    head = test::PictureHeader(1, 1);
    test::AppendInfoBlock(head, 4096, 0xFFFF);
    VirtualPicture car(head, std::int64_t{64} << 30);
    EXPECT_EQ(DecodePicture(car, PICTURE_CAR).height, 256);
    EXPECT_LE(car.bytesAsked, 12 + 4 + 256 * 4096 * 2);
}

} // namespace
} // namespace zav
