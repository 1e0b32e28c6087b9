// ShellState: the main window, its progress bar, the command flags and the preview fields.
#pragma once

#include <cstdint>

#include "files/data_kind.h"
#include "platform/fixed_text.h"

namespace zav {

/// An opaque handle of the window a front end shows; 0 before the start-up sets it.
using WindowHandle = std::uintptr_t;

/// A window's rectangle in screen pixels.
struct WindowRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    [[nodiscard]] std::int32_t Width() const { return right - left; }
    [[nodiscard]] std::int32_t Height() const { return bottom - top; }
};

/// The shell's record for a run, all zero at start.
struct ShellState {
    WindowHandle MainWindow = 0;
    /// The dialog's whole window rectangle at start-up; every layout is computed from it.
    WindowRect InitialWindowRect;
    /// Control id of the progress bar the long operations step; 0 until the start-up sets it.
    std::int32_t ProgressBar = 0;
    /// Whether the command of button 5, 3, 4, 6 and 2 is active.
    std::int32_t AddEnabled = 0;
    std::int32_t DisplayEnabled = 0;
    std::int32_t InstallEnabled = 0;
    std::int32_t TrashEnabled = 0;
    std::int32_t CancelEnabled = 0;
    /// Additions of this kind wait in the working list and can be cancelled.
    std::int32_t TrackAddPending = 0;
    std::int32_t CarAddPending = 0;
    std::uint8_t PreviewShown = 0;
    /// Position in list 1001 of the previewed entry.
    std::int32_t PreviewIndex = 0;
    /// The preview picture last chosen; drawn by every paint.
    PathText PreviewPath;
};

/// TrackAddPending or CarAddPending, as `kind` says.
inline std::int32_t& AddPending(ShellState& state, DataKind kind) {
    return kind == DataKind::Cars ? state.CarAddPending : state.TrackAddPending;
}

} // namespace zav
