// Fuzz target: the picture decoder on any bytes, as a track and as a car picture, from memory and
// from a source whose reads come short.
#include <algorithm>
#include <cstring>

#include "fuzz_input.h"
#include "preview/picture_decoder.h"

namespace {

using zav::DataKind;
using zav::PictureSource;
using zav::RgbImage;

// A file whose reads stop early: a disc that fails part way, or a file that shrank.
class ShortReadSource final : public PictureSource {
public:
    ShortReadSource(std::span<const std::uint8_t> bytes, std::int64_t reportedSize,
                    std::int64_t longestRead)
        : bytes_(bytes), reportedSize_(reportedSize), longestRead_(longestRead) {}

    std::int64_t Size() override { return reportedSize_; }
    std::int64_t ReadAt(std::int64_t offset, std::uint8_t* buffer, std::int64_t count) override {
        const auto size = static_cast<std::int64_t>(bytes_.size());
        if (offset < 0 || count < 0) {
            return -1;
        }
        if (offset >= size) {
            return 0;
        }
        const std::int64_t taken = std::min({count, size - offset, longestRead_});
        std::memcpy(buffer, bytes_.data() + offset, static_cast<std::size_t>(taken));
        return taken;
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::int64_t reportedSize_;
    std::int64_t longestRead_;
};

void CheckImage(const RgbImage& image, DataKind kind) {
    if (image.Empty()) {
        ZAV_FUZZ_CHECK(image.rgb.empty() || image.width * image.height == 0);
        return;
    }
    ZAV_FUZZ_CHECK(image.width <= zav::PICTURE_MAX_SIDE && image.height <= zav::PICTURE_MAX_SIDE);
    if (kind == DataKind::Cars) {
        ZAV_FUZZ_CHECK(image.width <= zav::CAR_PREVIEW_WIDTH);
        ZAV_FUZZ_CHECK(image.height <= zav::CAR_PREVIEW_HEIGHT);
    }
    ZAV_FUZZ_CHECK(image.rgb.size() == static_cast<std::size_t>(image.width) *
                                           static_cast<std::size_t>(image.height) * 3);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    for (const DataKind kind : {DataKind::Tracks, DataKind::Cars}) {
        const RgbImage image = zav::DecodePicture(bytes, kind);
        CheckImage(image, kind);
        // Short reads, and a size that promises more than there is, give no rows the file lacks.
        ShortReadSource source(bytes, static_cast<std::int64_t>(size) + (size % 3 == 0 ? 64 : 0),
                               1 + static_cast<std::int64_t>(size % 997));
        const RgbImage shortened = zav::DecodePicture(source, kind);
        CheckImage(shortened, kind);
        if (!shortened.Empty() && !image.Empty()) {
            ZAV_FUZZ_CHECK(shortened.width == image.width);
            ZAV_FUZZ_CHECK(shortened.height <= image.height);
        }
    }
    return 0;
}
