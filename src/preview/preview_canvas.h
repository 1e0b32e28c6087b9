// PreviewCanvas: where a decoded preview picture is drawn.
#pragma once

#include <cstdint>

#include "preview/picture_decoder.h"

namespace zav {

/// The surface DrawPreview draws on: the main window, to the right of its initial width.
class PreviewCanvas {
public:
    virtual ~PreviewCanvas() = default;
    /// Draws `image` with its top-left corner at (x, y) of the window's client area.
    virtual void DrawImage(std::int32_t x, std::int32_t y, const RgbImage& image) = 0;
};

} // namespace zav
