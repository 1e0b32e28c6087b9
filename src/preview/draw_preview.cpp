// Drawing of a preview picture file onto the main window.
#include "preview/draw_preview.h"

#include <memory>

#include "preview/picture_decoder.h"

namespace zav {

namespace {

/// A picture file read through the FileSystem port.
class FilePictureSource final : public PictureSource {
public:
    explicit FilePictureSource(FileHandle& file) : file_(file) {}

    std::int64_t Size() override { return file_.Size().bytes; }
    std::int64_t ReadAt(std::int64_t offset, std::uint8_t* buffer, std::int64_t count) override {
        return file_.ReadAt(offset, buffer, count).bytes;
    }

private:
    FileHandle& file_;
};

} // namespace

PreviewPoint PreviewOrigin(DataKind kind, std::int32_t initialWidth, std::int32_t initialHeight) {
    // 64-bit products: a huge window height must not wrap the percentage.
    const std::int64_t percent = kind == DataKind::Cars ? 9 : 20;
    PreviewPoint origin;
    origin.x = static_cast<std::int32_t>(static_cast<std::int64_t>(initialWidth) - 5);
    origin.y = static_cast<std::int32_t>(static_cast<std::int64_t>(initialHeight) * percent / 100);
    return origin;
}

int DrawPreview(FileSystem& files, PreviewCanvas& canvas, std::int32_t initialWidth,
                std::int32_t initialHeight, DataKind kind, std::string_view path) {
    std::unique_ptr<FileHandle> file = files.Open(path, OpenMode::ReadOnly);
    if (!file) {
        return 0;
    }
    FilePictureSource source(*file);
    const RgbImage image = DecodePicture(source, kind);
    file.reset(); // closed before drawing, so the file is not held while the window paints
    if (!image.Empty()) {
        const PreviewPoint origin = PreviewOrigin(kind, initialWidth, initialHeight);
        canvas.DrawImage(origin.x, origin.y, image);
    }
    return 1;
}

} // namespace zav
