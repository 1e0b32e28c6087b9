// DialogView: what the dialog's logic needs of a window, by control id.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "preview/preview_canvas.h"
#include "shell/shell_state.h"

namespace zav {

/// The window side of PatcherDialog. A front end implements it with real widgets (or a terminal,
/// or a recording fake in tests) and forwards the user's actions to the dialog's handlers.
/// Texts are code page 1252. List entries are numbered from 0 in the order they were added; the
/// lists never sort.
class DialogView : public PreviewCanvas {
public:
    ~DialogView() override = default;

    // Lists 1000, 1001 and 1002.
    virtual void ResetList(std::int32_t list) = 0;
    virtual void AddListEntry(std::int32_t list, std::string_view text) = 0;
    [[nodiscard]] virtual std::int32_t ListCount(std::int32_t list) = 0;
    [[nodiscard]] virtual std::string ListEntry(std::int32_t list, std::int32_t index) = 0;
    [[nodiscard]] virtual bool IsListEntrySelected(std::int32_t list, std::int32_t index) = 0;
    /// Selects or deselects one entry of the multiple-selection list 1001.
    virtual void SetListEntrySelected(std::int32_t list, std::int32_t index, bool selected) = 0;
    /// Selects entry `index` of the single-selection list 1002, or none with -1.
    virtual void SetListSelection(std::int32_t list, std::int32_t index) = 0;
    /// The entry that has the list's focus (its caret), or -1.
    [[nodiscard]] virtual std::int32_t ListCaret(std::int32_t list) = 0;

    // The tab control 1006.
    virtual void RemoveAllTabs() = 0;
    virtual void InsertTab(std::int32_t index, std::string_view text) = 0;
    /// The current tab's text, at most 19 characters; empty when no tab is current.
    [[nodiscard]] virtual std::string CurrentTabText() = 0;

    /// Sets a child control's text; false when the window has no such control.
    virtual bool SetControlText(std::int32_t control, std::string_view text) = 0;
    virtual void SetWindowTitle(std::string_view title) = 0;
    virtual void SetButtonPicture(std::int32_t button, int bitmap) = 0;
    virtual void EnableControl(std::int32_t control, bool enabled) = 0;
    virtual void SetIcon(int icon) = 0;

    [[nodiscard]] virtual WindowHandle Handle() = 0;
    /// The window's rectangle in screen pixels. Every layout is a difference from the rectangle
    /// taken at start-up, so a window system that adds its frame only once the window is shown
    /// may give the client area's rectangle here, and take the layouts' sizes as client sizes.
    [[nodiscard]] virtual WindowRect WindowRectangle() = 0;
    /// Resizes the window (in the measure of WindowRectangle) without moving it or changing its
    /// stacking order, and shows it.
    virtual void ResizeWindow(std::int32_t width, std::int32_t height) = 0;

    // The progress bar 1007.
    virtual void SetProgressRange(std::int32_t lower, std::int32_t upper) = 0;
    virtual void SetProgressStep(std::int32_t step) = 0;
    virtual void SetProgressPosition(std::int32_t position) = 0;
    virtual void StepProgress() = 0;

    /// A modal message box owned by the window; IDOK, IDYES or IDNO.
    virtual int MessageBox(std::string_view text, std::string_view caption,
                           std::uint32_t style) = 0;
    /// Waits without taking the user's input, drawing what changed (zero-length in tests).
    virtual void Pause(int milliseconds) = 0;

    /// The wait dialog shown while the start-up analyses the data.
    virtual void ShowWaitDialog(std::string_view text) = 0;
    virtual void CloseWaitDialog() = 0;
    virtual void ShowAboutBox() = 0;
    /// Asks the user for a folder or pack of new data (a UTF-8 host path), with `caption`; empty
    /// when cancelled or when the view has no such dialog.
    virtual std::string ChooseSource(std::string_view caption) {
        (void)caption;
        return {};
    }
    /// Shows the help text (code page 1252) with `caption`; a view without one shows nothing.
    virtual void ShowHelp(std::string_view text, std::string_view caption) {
        (void)text;
        (void)caption;
    }
    /// Draws the window's icon centred in its client area (while minimised).
    virtual void DrawIconCentred() = 0;

    /// Ends the modal dialog with `result`; the program then ends normally.
    virtual void EndDialog(int result) = 0;
    /// Ends the process at once with `exitCode` (after the window's own close processing).
    virtual void ExitProcess(int exitCode) = 0;
};

} // namespace zav
