// Placeholder until the decoder lands.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/file_system.h"
#include "preview/preview_canvas.h"

namespace zav {

int DrawPreview(FileSystem& files, PreviewCanvas& canvas, std::int32_t initialWidth,
                std::int32_t initialHeight, std::int32_t kind, std::string_view path);

} // namespace zav
