// PatcherWindow: the main dialog (template 102) over the Win32 API, the window face of
// PatcherDialog on Windows.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

#include "platform/file_system.h"
#include "platform/ui.h"
#include "settings/own_texts.h"
#include "shell/dialog_view.h"
#include "shell/patcher_dialog.h"

// After the ports' headers: <windows.h> defines macros of their names.
#include "platform/win32/windows_api.h"

namespace zav {

class AccessibleDescriptions;

/// Runs dialog template 102 of the program's resources, implements DialogView with its controls
/// and forwards the user's actions to the PatcherDialog attached to it. The dialog manager gives
/// the keyboard its usual meaning: Enter presses the focused push button, or "Close" (the default
/// button) elsewhere; Escape is "Cancel". It adds no rule of its own.
class PatcherWindow final : public DialogView {
public:
    explicit PatcherWindow(HINSTANCE instance);
    ~PatcherWindow() override;
    PatcherWindow(const PatcherWindow&) = delete;
    PatcherWindow& operator=(const PatcherWindow&) = delete;

    /// Connects the window to its dialog logic; the user's actions go there from now on.
    void AttachDialog(PatcherDialog* dialog) { dialog_ = dialog; }

    /// The language of the window's own words (the buttons' names for screen readers, their
    /// tooltips, the about entry of the menus): a language offset of the string table.
    void SetLanguage(std::int32_t languageOffset) { languageOffset_ = languageOffset; }

    /// `action` runs once the start-up has shown the window and its modal loop runs (a notice to
    /// the user, say); not when the start-up ended the program.
    void OnStarted(std::function<void()> action) { started_ = std::move(action); }

    /// Creates the dialog, runs the dialog's start-up inside its creation and then the dialog
    /// modally. Returns the result the dialog ended with, or -1 when it could not be created.
    INT_PTR Run();

    // DialogView
    void ResetList(std::int32_t list) override;
    void AddListEntry(std::int32_t list, std::string_view text) override;
    std::int32_t ListCount(std::int32_t list) override;
    std::string ListEntry(std::int32_t list, std::int32_t index) override;
    bool IsListEntrySelected(std::int32_t list, std::int32_t index) override;
    void SetListEntrySelected(std::int32_t list, std::int32_t index, bool selected) override;
    void SetListSelection(std::int32_t list, std::int32_t index) override;
    std::int32_t ListCaret(std::int32_t list) override;
    void RemoveAllTabs() override;
    void InsertTab(std::int32_t index, std::string_view text) override;
    std::string CurrentTabText() override;
    bool SetControlText(std::int32_t control, std::string_view text) override;
    void SetWindowTitle(std::string_view title) override;
    void SetButtonPicture(std::int32_t button, int bitmap) override;
    void EnableControl(std::int32_t control, bool enabled) override;
    void SetIcon(int icon) override;
    WindowHandle Handle() override;
    WindowRect WindowRectangle() override;
    void ResizeWindow(std::int32_t width, std::int32_t height) override;
    void SetProgressRange(std::int32_t lower, std::int32_t upper) override;
    void SetProgressStep(std::int32_t step) override;
    void SetProgressPosition(std::int32_t position) override;
    void StepProgress() override;
    int MessageBox(std::string_view text, std::string_view caption, std::uint32_t style) override;
    void Pause(int milliseconds) override;
    void ShowWaitDialog(std::string_view text) override;
    void CloseWaitDialog() override;
    void ShowAboutBox() override;
    /// The CD drives holding new data first (a menu of them and "Other folder..."), else at once
    /// the folder dialog.
    std::string ChooseSource(std::string_view caption) override;
    void ShowHelp(std::string_view text, std::string_view caption) override;
    void DrawIconCentred() override;
    void EndDialog(int result) override;
    void ExitProcess(int exitCode) override;
    void DrawImage(std::int32_t x, std::int32_t y, const RgbImage& image) override;

private:
    static INT_PTR CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    BOOL OnInitialise();
    void OnCommand(int id, int code);
    void OnContextMenu(LPARAM where);
    /// A folder dropped from Explorer becomes the source of the new data.
    void OnDropFiles(WPARAM dropped);
    /// The shell's folder dialog titled `caption`: the folder chosen (UTF-8), empty when cancelled.
    std::string BrowseForFolder(std::string_view caption);
    void OnButton(std::int32_t id);
    /// Runs a handler of the dialog, one at a time.
    void RunHandler(PatcherDialog::Command handler);
    void AddButtonTips();
    /// One of the window's own words in its language, for the wide calls.
    std::wstring Own(OwnTextId id) const;
    HWND Control(std::int32_t id) const;
    /// The bitmap resource `id`, loaded once; its light grey takes the colour of a button face.
    HBITMAP Bitmap(int id);
    /// Paints what is waiting to be painted, without taking the user's input.
    void DrawPendingChanges();

    HINSTANCE instance_;
    HWND window_ = nullptr;
    HWND waitDialog_ = nullptr;
    HWND tips_ = nullptr;
    PatcherDialog* dialog_ = nullptr;
    std::map<int, HBITMAP> bitmaps_;
    std::unique_ptr<AccessibleDescriptions> descriptions_;
    HICON largeIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
    std::function<void()> started_;
    std::int32_t languageOffset_ = 0;
};

} // namespace zav
