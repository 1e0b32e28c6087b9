// Fuzz target: the picture decoder on any bytes, as a track and as a car picture, from memory and
// from a source whose reads come short.
#include <algorithm>

#include "fuzz_input.h"
#include "preview/picture_decoder.h"

namespace {

using namespace zav;

// A file whose reads stop early and whose size may promise more than it holds: a disc that fails
// part way, or a file that shrank.
struct ShortReadSource final : PictureSource {
    ShortReadSource(std::span<const std::uint8_t> b, std::int64_t s, std::int64_t l)
        : bytes(b), size(s), longestRead(l) {}
    std::int64_t Size() override { return size; }
    std::int64_t ReadAt(std::int64_t offset, std::uint8_t* buffer, std::int64_t count) override {
        if (offset < 0 || count < 0) {
            return -1;
        }
        const std::int64_t taken =
            std::min(std::clamp<std::int64_t>(std::ssize(bytes) - offset, 0, count), longestRead);
        std::copy_n(bytes.begin() + (taken > 0 ? offset : 0), taken, buffer);
        return taken;
    }
    std::span<const std::uint8_t> bytes;
    std::int64_t size, longestRead;
};

void CheckImage(const RgbImage& image, DataKind kind) {
    const bool car = kind == DataKind::Cars;
    ZAV_FUZZ_CHECK(!image.Empty() || image.rgb.empty() || image.width * image.height == 0);
    ZAV_FUZZ_CHECK(image.Empty() ||
                   (image.width <= (car ? CAR_PREVIEW_WIDTH : PICTURE_MAX_SIDE) &&
                    image.height <= (car ? CAR_PREVIEW_HEIGHT : PICTURE_MAX_SIDE) &&
                    image.rgb.size() == 3 * std::size_t(image.width) * std::size_t(image.height)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    for (const DataKind kind : {DataKind::Tracks, DataKind::Cars}) {
        const RgbImage image = DecodePicture(bytes, kind);
        CheckImage(image, kind);
        // Short reads give no rows the file lacks.
        ShortReadSource source(bytes, static_cast<std::int64_t>(size) + (size % 3 == 0 ? 64 : 0),
                               1 + static_cast<std::int64_t>(size % 997));
        const RgbImage shortened = DecodePicture(source, kind);
        CheckImage(shortened, kind);
        ZAV_FUZZ_CHECK(shortened.Empty() || image.Empty() ||
                       (shortened.width == image.width && shortened.height <= image.height));
    }
    return 0;
}
