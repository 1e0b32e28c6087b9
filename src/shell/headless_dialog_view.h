// A DialogView that keeps the window's state in memory: the base of the terminal front end and of
// the tests' recording view.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "files/data_kind.h"
#include "shell/dialog_view.h"

namespace zav {

/// Lists, tabs, texts, pictures, sizes and the progress bar held in memory, behaving as the
/// window's controls do (unsorted lists; list 1001 multiple selection, 1002 single selection;
/// resetting a list drops its selection). Message boxes are left to the derived front end.
class HeadlessDialogView : public DialogView {
public:
    struct ListState {
        std::vector<std::string> entries;
        std::vector<bool> selected;
        std::int32_t caret = -1;
        bool enabled = true;
    };

    struct ProgressState {
        std::int32_t lower = 0;
        std::int32_t upper = 100;
        std::int32_t step = 10;
        std::int32_t position = 0;
    };

    HeadlessDialogView();

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
    void SetWindowTitle(std::string_view title) override { title_ = std::string(title); }
    void SetButtonPicture(std::int32_t button, int bitmap) override { pictures_[button] = bitmap; }
    void EnableControl(std::int32_t control, bool enabled) override;
    void SetIcon(int icon) override { icon_ = icon; }

    WindowHandle Handle() override { return reinterpret_cast<WindowHandle>(this); }
    WindowRect WindowRectangle() override { return rect_; }
    void ResizeWindow(std::int32_t width, std::int32_t height) override;

    void SetProgressRange(std::int32_t lower, std::int32_t upper) override;
    void SetProgressStep(std::int32_t step) override { progress_.step = step; }
    void SetProgressPosition(std::int32_t position) override;
    void StepProgress() override;

    void Pause(int) override {}
    void ShowWaitDialog(std::string_view text) override { waitText_ = std::string(text); }
    void CloseWaitDialog() override { waitText_.clear(); }
    void ShowAboutBox() override {}
    void DrawIconCentred() override {}
    void DrawImage(std::int32_t, std::int32_t, const RgbImage&) override {}

    void EndDialog(int result) override;
    void ExitProcess(int exitCode) override;

    // What a front end or a test reads back.
    /// Selects tab `index` as a click on it would (the handler is the caller's to run).
    void SelectTab(std::int32_t index);
    /// Selects the tab of `kind`: the dialog puts the "Tracks" tab at index 0 and "Cars" at 1.
    void SelectTab(DataKind kind) { SelectTab(static_cast<std::int32_t>(kind)); }
    [[nodiscard]] std::int32_t CurrentTabIndex() const { return currentTab_; }
    [[nodiscard]] const std::vector<std::string>& Tabs() const { return tabs_; }
    [[nodiscard]] const ListState& List(std::int32_t list) const;
    [[nodiscard]] std::string ControlText(std::int32_t control) const;
    [[nodiscard]] const std::string& Title() const { return title_; }
    [[nodiscard]] int Picture(std::int32_t button) const;
    [[nodiscard]] bool IsEnabled(std::int32_t control) const;
    [[nodiscard]] int Icon() const { return icon_; }
    [[nodiscard]] const ProgressState& Progress() const { return progress_; }
    [[nodiscard]] const std::string& WaitText() const { return waitText_; }
    [[nodiscard]] bool Ended() const { return ended_; }
    [[nodiscard]] int EndResult() const { return endResult_; }
    /// Sets the window rectangle, as the window system would place the new window.
    void PlaceWindow(const WindowRect& rect) { rect_ = rect; }

protected:
    /// Called once the dialog ends, with the process exit code it asks for.
    virtual void OnEnded(int) {}

private:
    ListState& MutableList(std::int32_t list);

    std::map<std::int32_t, ListState> lists_;
    std::vector<std::string> tabs_;
    std::int32_t currentTab_ = -1;
    std::map<std::int32_t, std::string> texts_;
    std::map<std::int32_t, int> pictures_;
    std::map<std::int32_t, bool> enabled_;
    std::string title_;
    std::string waitText_;
    int icon_ = 0;
    WindowRect rect_;
    ProgressState progress_;
    bool ended_ = false;
    int endResult_ = 0;
};

} // namespace zav
