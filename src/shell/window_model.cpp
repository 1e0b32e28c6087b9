// Layout sizes and button pictures of the main dialog.
#include "shell/window_model.h"

namespace zav {

WindowSize LayoutSize(Layout layout, const WindowRect& initial) {
    const std::int32_t w = initial.Width();
    const std::int32_t h = initial.Height();
    switch (layout) {
    case Layout::Compact:
        return {w, h - 25};
    case Layout::Full:
        return {w, h};
    case Layout::TrackPreview:
        return {w + 298, h - 80};
    case Layout::CarPreview:
        return {w + 342, h - 80};
    }
    return {w, h};
}

const std::int32_t* CommandFlag(const ShellState& state, std::int32_t button) {
    switch (button) {
    case IDC_ADD:
        return &state.AddEnabled;
    case IDC_DISPLAY:
        return &state.DisplayEnabled;
    case IDC_INSTALL:
        return &state.InstallEnabled;
    case IDC_TRASH:
        return &state.TrashEnabled;
    case IDC_CANCEL:
        return &state.CancelEnabled;
    default:
        return nullptr;
    }
}

int ButtonPictureFor(const ShellState& state, std::int32_t button) {
    for (const ButtonPictures& pictures : kButtonPictures) {
        if (pictures.button == button) {
            const std::int32_t* flag = CommandFlag(state, button);
            return (flag == nullptr || *flag != 0) ? pictures.active : pictures.inactive;
        }
    }
    return 0;
}

} // namespace zav
