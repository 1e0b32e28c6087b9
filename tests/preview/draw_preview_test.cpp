// Tests of DrawPreview: picture files on disk drawn onto a recording canvas.
#include "preview/draw_preview.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/posix/posix_file_system.h"
#include "preview/picture_bytes.h"
#include "preview/picture_decoder.h"

namespace zav {
namespace {

struct DrawCall {
    std::int32_t x, y, width, height;
    std::vector<std::uint8_t> firstPixel;
};

class RecordingCanvas final : public PreviewCanvas {
public:
    void DrawImage(std::int32_t x, std::int32_t y, const RgbImage& image) override {
        calls.push_back(
            {x, y, image.width, image.height, {image.rgb.begin(), image.rgb.begin() + 3}});
    }
    std::vector<DrawCall> calls;
};

class DrawPreviewTest : public ::testing::Test {
protected:
    test::TempDir dir;
    PosixFileSystem files{dir.path()};
    RecordingCanvas canvas;
};

TEST_F(DrawPreviewTest, TrackGoesAtFiveLeftOfTheInitialEdgeAndAFifthDown) {
    test::WriteFile(dir / "circuits/Foo/Foo.img",
                    test::TrackPicture(300, 200, {0x7FFF}, [](int, int) { return 0; }));
    EXPECT_EQ(DrawPreview(files, canvas, 360, 500, PICTURE_TRACK, dir / "circuits/Foo/Foo.img"), 1);
    ASSERT_EQ(canvas.calls.size(), 1U);
    EXPECT_EQ(canvas.calls[0].x, 355);
    EXPECT_EQ(canvas.calls[0].y, 100);
    EXPECT_EQ(canvas.calls[0].width, 300);
    EXPECT_EQ(canvas.calls[0].height, 200);
    EXPECT_EQ(canvas.calls[0].firstPixel, (std::vector<std::uint8_t>{248, 248, 248}));
}

TEST_F(DrawPreviewTest, CarGoesNineHundredthsDown) {
    test::WriteFile(dir / "car.img", test::CarPicture(400, 256, 256, [](int, int) {
                        return std::uint16_t{0x001F};
                    }));
    EXPECT_EQ(DrawPreview(files, canvas, 360, 500, PICTURE_CAR, dir / "car.img"), 1);
    ASSERT_EQ(canvas.calls.size(), 1U);
    EXPECT_EQ(canvas.calls[0].x, 355);
    EXPECT_EQ(canvas.calls[0].y, 45);
    EXPECT_EQ(canvas.calls[0].width, 332);
    EXPECT_EQ(canvas.calls[0].height, 256);
    EXPECT_EQ(canvas.calls[0].firstPixel, (std::vector<std::uint8_t>{0, 0, 248}));
}

TEST_F(DrawPreviewTest, MissingFileReturnsZeroAndDrawsNothing) {
    EXPECT_EQ(DrawPreview(files, canvas, 360, 500, PICTURE_TRACK, dir / "none.img"), 0);
    EXPECT_EQ(DrawPreview(files, canvas, 360, 500, PICTURE_CAR, dir.path()), 0); // a folder
    EXPECT_TRUE(canvas.calls.empty());
}

TEST_F(DrawPreviewTest, FileWithoutAPictureOpensButDrawsNothing) {
    test::WriteFile(dir / "empty.img", test::Bytes{});
    EXPECT_EQ(DrawPreview(files, canvas, 360, 500, PICTURE_TRACK, dir / "empty.img"), 1);
    EXPECT_EQ(DrawPreview(files, canvas, 360, 500, 7, dir / "empty.img"), 1);
    EXPECT_TRUE(canvas.calls.empty());
}

TEST(PreviewOrigin, RoundsDownAndSurvivesHugeHeights) {
    EXPECT_EQ(PreviewOrigin(PICTURE_TRACK, 360, 499).y, 99);
    EXPECT_EQ(PreviewOrigin(PICTURE_CAR, 360, 499).y, 44);
    EXPECT_EQ(PreviewOrigin(PICTURE_CAR, 360, 2000000000).y, 180000000);
    EXPECT_EQ(PreviewOrigin(PICTURE_TRACK, 360, 2000000000).y, 400000000);
}

} // namespace
} // namespace zav
