// The sample's picture files: header fields that agree with the file's length, and visible content.
#include "tools/sample_pictures.h"

#include <gtest/gtest.h>

#include <set>

#include "support/list_bytes.h"
#include "tools/picture_writer.h"

namespace zav {
namespace {

using test::Bytes;
using test::GetInt32;

int Get16(const Bytes& bytes, std::size_t offset) {
    return bytes.at(offset) | bytes.at(offset + 1) << 8;
}

// Where the pixel rows start, from the header's own block counts.
std::size_t PixelStart(const Bytes& picture) {
    return 12 + 16 * static_cast<std::size_t>(GetInt32(picture, 0)) +
           512 * static_cast<std::size_t>(GetInt32(picture, 8));
}

TEST(SamplePictures, TrackPictureHeaderAgreesWithItsLength) {
    for (const int width : {SAMPLE_TRACK_PICTURE_ODD_WIDTH, SAMPLE_TRACK_PICTURE_EVEN_WIDTH}) {
        const Bytes picture = DrawTrackPicture("Quarry", width);
        ASSERT_GE(picture.size(), 28u);
        EXPECT_EQ(GetInt32(picture, 0), 1);
        EXPECT_EQ(GetInt32(picture, 8), 1);
        EXPECT_EQ(Get16(picture, 12), width);
        EXPECT_EQ(Get16(picture, 14), SAMPLE_TRACK_PICTURE_HEIGHT);
        EXPECT_EQ(picture.size(), PixelStart(picture) + static_cast<std::size_t>(width) * 200u);
    }
    EXPECT_NE(SAMPLE_TRACK_PICTURE_ODD_WIDTH % 4, 0);
    EXPECT_EQ(SAMPLE_TRACK_PICTURE_EVEN_WIDTH % 4, 0);
}

TEST(SamplePictures, TrackPictureShowsRoadGrassAndStartLine) {
    const Bytes picture = DrawTrackPicture("Quarry", SAMPLE_TRACK_PICTURE_ODD_WIDTH);
    std::set<int> used(picture.begin() + static_cast<long>(PixelStart(picture)), picture.end());
    // Frame, grass in two shades, road, kerb, and the white and black of the start line.
    EXPECT_GE(used.size(), 7u);
    EXPECT_NE(DrawTrackPicture("Summit", SAMPLE_TRACK_PICTURE_ODD_WIDTH), picture);
}

TEST(SamplePictures, CarPictureIsWiderThanShownWithSomethingBeyondTheCrop) {
    const Bytes picture = DrawCarPicture("Comet");
    EXPECT_EQ(GetInt32(picture, 0), 1);
    EXPECT_EQ(Get16(picture, 12), SAMPLE_CAR_PICTURE_WIDTH);
    EXPECT_EQ(Get16(picture, 14), 256);
    const std::size_t start = PixelStart(picture);
    ASSERT_EQ(picture.size(), start + 2u * SAMPLE_CAR_PICTURE_WIDTH * 256u);
    const auto pixel = [&](int x, int y) {
        return Get16(picture,
                     start + 2u * static_cast<std::size_t>(y * SAMPLE_CAR_PICTURE_WIDTH + x));
    };
    // The background reaches the last shown column; the columns behind it are chequered.
    EXPECT_EQ(pixel(SAMPLE_CAR_SHOWN_WIDTH - 1, 0), pixel(0, 0));
    EXPECT_NE(pixel(SAMPLE_CAR_SHOWN_WIDTH, 0), pixel(0, 0));
    EXPECT_NE(pixel(SAMPLE_CAR_SHOWN_WIDTH, 0), pixel(SAMPLE_CAR_SHOWN_WIDTH, 7));
    EXPECT_NE(DrawCarPicture("Lynx"), picture);
}

TEST(PictureWriter, RefusesPixelsThatDoNotMatchTheSize) {
    const Palette555 palette{};
    EXPECT_TRUE(EncodeIndexedPicture(3, 2, palette, Bytes(5)).empty());
    EXPECT_TRUE(EncodeIndexedPicture(0, 0, palette, Bytes()).empty());
    EXPECT_TRUE(EncodeDirectPicture(2, 2, palette, std::vector<std::uint16_t>(3)).empty());
    EXPECT_EQ(EncodeIndexedPicture(3, 2, palette, Bytes(6)).size(), 12u + 16u + 512u + 6u);
    EXPECT_EQ(Rgb555(255, 255, 255), 0x7FFF);
    EXPECT_EQ(Rgb555(0, 0, 255), 0x001F);
    EXPECT_EQ(Rgb555(300, -4, 8), (31 << 10) | 1);
}

} // namespace
} // namespace zav
