// DrawPreview: a track's or car's picture file drawn into the widened main window.
#pragma once

#include <cstdint>
#include <string_view>

#include "files/data_kind.h"
#include "platform/file_system.h"
#include "preview/preview_canvas.h"

namespace zav {

/// A point in the main window's client area, in pixels.
struct PreviewPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

/// Where a picture of `kind` goes in a window whose initial rectangle is `initialWidth` ×
/// `initialHeight`: x = W − 5, just right of the compact window's edge; y = H × 20 / 100 for a
/// track and H × 9 / 100 for a car, rounded down.
PreviewPoint PreviewOrigin(DataKind kind, std::int32_t initialWidth, std::int32_t initialHeight);

/// Opens `path` read-only through `files`, decodes it as a picture of `kind` (see
/// DecodePicture) and draws it on `canvas` at PreviewOrigin. Returns 1 when the file opened,
/// whether or not it held a picture to draw (a damaged file draws less or nothing), and 0 when it
/// did not open; then nothing is drawn. Reads only the parts of the file the picture uses.
int DrawPreview(FileSystem& files, PreviewCanvas& canvas, std::int32_t initialWidth,
                std::int32_t initialHeight, DataKind kind, std::string_view path);

} // namespace zav
