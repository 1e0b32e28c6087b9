// The main dialog's controls, layouts and button pictures.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "settings/own_texts.h"
#include "shell/shell_state.h"

namespace zav {

/// Control ids of the main dialog (template 102).
enum ControlId : std::int32_t {
    IDC_CLOSE = 1,
    IDC_CANCEL = 2,
    IDC_DISPLAY = 3,
    IDC_INSTALL = 4,
    IDC_ADD = 5,
    IDC_TRASH = 6,
    IDC_PRESENT_LIST = 1000,
    IDC_NEW_LIST = 1001,
    IDC_ADDED_LIST = 1002,
    IDC_TAB = 1006,
    IDC_PROGRESS = 1007,
    IDC_STATUS = 1008,
    IDC_FREE_SPACE = 1009,
    IDC_REQUIRED_SPACE = 1010,
    IDC_BANNER = 1016,
    IDC_EMBLEM = 1017,
    IDC_PRESENT_LABEL = 1018,
    IDC_NEW_LABEL = 1019,
    IDC_ADDED_LABEL = 1020,
    IDC_WAIT_TEXT = 1021,
};

/// The system menu's command that opens the about box (OnSysCommand).
inline constexpr std::uint32_t SC_ABOUT = 0x0010;

/// Resource ids: dialog templates, pictures and the icon.
inline constexpr int IDD_ABOUT = 100;
inline constexpr int IDD_MAIN = 102;
inline constexpr int IDD_WAIT = 182;
inline constexpr int IDB_EMBLEM = 157;
inline constexpr int IDB_BANNER = 159;
inline constexpr int IDI_MAIN = 199;
inline constexpr int IDB_CLOSE = 171;
/// The display button's picture while a preview is shown.
inline constexpr int IDB_DISPLAY_BACK = 174;

enum class ControlKind {
    Tab,
    Label,
    List,
    PictureButton,
    Progress,
    Picture,
};

/// One control of dialog template 102; positions in dialog units.
struct ControlTemplate {
    std::int32_t id;
    ControlKind kind;
    std::string_view text;
    int x, y, width, height;
};

/// The main dialog: 228 × 281 dialog units at (50, 50), font "MS Sans Serif" 8.
inline constexpr int MAIN_DIALOG_WIDTH_DLU = 228;
inline constexpr int MAIN_DIALOG_HEIGHT_DLU = 281;
inline constexpr int MAIN_DIALOG_X_DLU = 50;
inline constexpr int MAIN_DIALOG_Y_DLU = 50;
inline constexpr int MAIN_DIALOG_FONT_POINTS = 8;

inline constexpr std::array<ControlTemplate, 19> kMainDialogControls = {{
    {IDC_TAB, ControlKind::Tab, "Tab1", 7, 40, 212, 190},
    {IDC_PRESENT_LABEL, ControlKind::Label, "Present Set Data", 17, 64, 70, 8},
    {IDC_PRESENT_LIST, ControlKind::List, "", 17, 74, 65, 147},
    {IDC_NEW_LABEL, ControlKind::Label, "New Proposed Data", 85, 64, 77, 8},
    {IDC_NEW_LIST, ControlKind::List, "", 85, 74, 68, 68},
    {IDC_ADDED_LABEL, ControlKind::Label, "Added Data", 85, 145, 67, 8},
    {IDC_ADDED_LIST, ControlKind::List, "", 85, 154, 68, 67},
    {IDC_DISPLAY, ControlKind::PictureButton, "Display ->", 169, 54, 43, 33},
    {IDC_ADD, ControlKind::PictureButton, "Add to List", 169, 89, 43, 33},
    {IDC_INSTALL, ControlKind::PictureButton, "Install New", 169, 124, 43, 33},
    {IDC_TRASH, ControlKind::PictureButton, "Trash", 169, 159, 43, 33},
    {IDC_CANCEL, ControlKind::PictureButton, "Cancel", 169, 194, 43, 33},
    {IDC_CLOSE, ControlKind::PictureButton, "Close", 169, 232, 43, 33},
    {IDC_FREE_SPACE, ControlKind::Label, "static", 2, 237, 162, 8},
    {IDC_REQUIRED_SPACE, ControlKind::Label, "static", 2, 250, 162, 8},
    {IDC_PROGRESS, ControlKind::Progress, "Progress1", 7, 269, 130, 9},
    {IDC_STATUS, ControlKind::Label, "static", 144, 270, 83, 8},
    {IDC_BANNER, ControlKind::Picture, "", 15, 1, 121, 37},
    {IDC_EMBLEM, ControlKind::Picture, "", 151, 1, 39, 25},
}};

/// The four window layouts, as sizes relative to the initial window rectangle.
enum class Layout {
    Compact,      ///< W × (H − 25): hides the progress strip
    Full,         ///< W × H: while a command runs
    TrackPreview, ///< (W + 298) × (H − 80)
    CarPreview,   ///< (W + 342) × (H − 80)
};

struct WindowSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

/// The size of `layout` for a window that started as `initial`.
WindowSize LayoutSize(Layout layout, const WindowRect& initial);

/// A picture button's pictures; `inactive` is 0 for "Close", which has one picture only.
struct ButtonPictures {
    std::int32_t button;
    int active;
    int inactive;
    std::string_view caption; ///< the words on the picture's face
    std::string_view command; ///< the command's name in the dialog template
    OwnTextId words;          ///< the picture's words, for tooltips and screen readers
};

/// In the order RefreshButtonPictures gives them their pictures, then "Close".
inline constexpr std::array<ButtonPictures, 6> kButtonPictures = {{
    {IDC_ADD, 173, 180, "ADD TO LIST", "Add to List", OwnTextId::ButtonAdd},
    {IDC_DISPLAY, 168, 175, "DISPLAY", "Display ->", OwnTextId::ButtonDisplay},
    {IDC_INSTALL, 170, 177, "INSTALL NEW", "Install New", OwnTextId::ButtonInstall},
    {IDC_TRASH, 172, 179, "TRASH", "Trash", OwnTextId::ButtonTrash},
    {IDC_CANCEL, 169, 176, "CANCEL", "Cancel", OwnTextId::ButtonCancel},
    {IDC_CLOSE, IDB_CLOSE, 0, "CLOSE", "Close", OwnTextId::ButtonClose},
}};

/// The flag of `state` that says whether the command of `button` is active; null for "Close".
const std::int32_t* CommandFlag(const ShellState& state, std::int32_t button);

/// The picture `button` shows for the flags of `state` (Close: always 171).
int ButtonPictureFor(const ShellState& state, std::int32_t button);

} // namespace zav
