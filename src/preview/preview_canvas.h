// PreviewCanvas: the surface a preview picture is drawn on.
#pragma once

#include <cstdint>

#include "preview/rgb_image.h"

namespace zav {

/// The main window's client area as the preview drawing sees it; a front end implements it.
class PreviewCanvas {
public:
    virtual ~PreviewCanvas() = default;
    /// Draws `image` (never empty) with its top-left corner at (`x`, `y`) in client pixels; the
    /// parts that fall outside the visible area are clipped by the window.
    virtual void DrawImage(std::int32_t x, std::int32_t y, const RgbImage& image) = 0;
};

} // namespace zav
