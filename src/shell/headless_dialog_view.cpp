// HeadlessDialogView: the window's controls as plain state.
#include "shell/headless_dialog_view.h"

#include <algorithm>

#include "shell/window_model.h"

namespace zav {
namespace {

// A window the size of the dialog template at 8-point font: dialog units at 6 × 13 pixels per
// 4 × 8 units, and a frame and caption around it.
constexpr WindowRect kDefaultRect{75, 81, 75 + 342 + 8, 81 + 457 + 31};

const HeadlessDialogView::ListState& EmptyList() {
    static const HeadlessDialogView::ListState empty;
    return empty;
}

} // namespace

HeadlessDialogView::HeadlessDialogView() : rect_(kDefaultRect) {
    for (const ControlTemplate& control : kMainDialogControls) {
        texts_[control.id] = std::string(control.text);
        if (control.kind == ControlKind::List) {
            lists_[control.id] = ListState{};
        }
    }
    // List 1000 is created disabled: it shows entries and takes no selection.
    lists_[IDC_PRESENT_LIST].enabled = false;
}

HeadlessDialogView::ListState& HeadlessDialogView::MutableList(std::int32_t list) {
    return lists_[list];
}

const HeadlessDialogView::ListState& HeadlessDialogView::List(std::int32_t list) const {
    const auto it = lists_.find(list);
    return it == lists_.end() ? EmptyList() : it->second;
}

void HeadlessDialogView::ResetList(std::int32_t list) {
    ListState& state = MutableList(list);
    state.entries.clear();
    state.selected.clear();
    state.caret = -1;
}

void HeadlessDialogView::AddListEntry(std::int32_t list, std::string_view text) {
    ListState& state = MutableList(list);
    state.entries.emplace_back(text);
    state.selected.push_back(false);
}

std::int32_t HeadlessDialogView::ListCount(std::int32_t list) {
    return static_cast<std::int32_t>(List(list).entries.size());
}

std::string HeadlessDialogView::ListEntry(std::int32_t list, std::int32_t index) {
    const ListState& state = List(list);
    if (index < 0 || index >= static_cast<std::int32_t>(state.entries.size())) {
        return {};
    }
    return state.entries[static_cast<std::size_t>(index)];
}

bool HeadlessDialogView::IsListEntrySelected(std::int32_t list, std::int32_t index) {
    const ListState& state = List(list);
    return index >= 0 && index < static_cast<std::int32_t>(state.selected.size()) &&
           state.selected[static_cast<std::size_t>(index)];
}

void HeadlessDialogView::SetListEntrySelected(std::int32_t list, std::int32_t index,
                                              bool selected) {
    ListState& state = MutableList(list);
    if (list == IDC_PRESENT_LIST || index < 0 ||
        index >= static_cast<std::int32_t>(state.selected.size())) {
        return;
    }
    if (list == IDC_ADDED_LIST && selected) {
        std::fill(state.selected.begin(), state.selected.end(), false);
    }
    state.selected[static_cast<std::size_t>(index)] = selected;
    state.caret = index;
}

void HeadlessDialogView::SetListSelection(std::int32_t list, std::int32_t index) {
    ListState& state = MutableList(list);
    std::fill(state.selected.begin(), state.selected.end(), false);
    if (index >= 0 && index < static_cast<std::int32_t>(state.selected.size())) {
        state.selected[static_cast<std::size_t>(index)] = true;
        state.caret = index;
    }
}

std::int32_t HeadlessDialogView::ListCaret(std::int32_t list) {
    return List(list).caret;
}

void HeadlessDialogView::RemoveAllTabs() {
    tabs_.clear();
    currentTab_ = -1;
}

void HeadlessDialogView::InsertTab(std::int32_t index, std::string_view text) {
    const auto position =
        std::clamp<std::size_t>(static_cast<std::size_t>(std::max(index, 0)), 0, tabs_.size());
    tabs_.insert(tabs_.begin() + static_cast<std::ptrdiff_t>(position), std::string(text));
    if (currentTab_ < 0) {
        currentTab_ = 0;
    }
}

std::string HeadlessDialogView::CurrentTabText() {
    if (currentTab_ < 0 || currentTab_ >= static_cast<std::int32_t>(tabs_.size())) {
        return {};
    }
    // The tab's text is read into a buffer of 20 characters with its terminator.
    return tabs_[static_cast<std::size_t>(currentTab_)].substr(0, 19);
}

void HeadlessDialogView::SelectTab(std::int32_t index) {
    if (index >= 0 && index < static_cast<std::int32_t>(tabs_.size())) {
        currentTab_ = index;
    }
}

bool HeadlessDialogView::SetControlText(std::int32_t control, std::string_view text) {
    const auto it = texts_.find(control);
    if (it == texts_.end()) {
        return false;
    }
    it->second = std::string(text);
    return true;
}

std::string HeadlessDialogView::ControlText(std::int32_t control) const {
    const auto it = texts_.find(control);
    return it == texts_.end() ? std::string() : it->second;
}

int HeadlessDialogView::Picture(std::int32_t button) const {
    const auto it = pictures_.find(button);
    return it == pictures_.end() ? 0 : it->second;
}

void HeadlessDialogView::EnableControl(std::int32_t control, bool enabled) {
    enabled_[control] = enabled;
    if (const auto it = lists_.find(control); it != lists_.end()) {
        it->second.enabled = enabled;
    }
}

bool HeadlessDialogView::IsEnabled(std::int32_t control) const {
    const auto it = enabled_.find(control);
    if (it != enabled_.end()) {
        return it->second;
    }
    return control != IDC_PRESENT_LIST;
}

void HeadlessDialogView::ResizeWindow(std::int32_t width, std::int32_t height) {
    rect_.right = rect_.left + width;
    rect_.bottom = rect_.top + height;
}

void HeadlessDialogView::SetProgressRange(std::int32_t lower, std::int32_t upper) {
    progress_.lower = lower;
    progress_.upper = upper;
    progress_.position = std::clamp(progress_.position, lower, std::max(lower, upper));
}

void HeadlessDialogView::SetProgressPosition(std::int32_t position) {
    progress_.position =
        std::clamp(position, progress_.lower, std::max(progress_.lower, progress_.upper));
}

void HeadlessDialogView::StepProgress() {
    // A progress bar that reaches its end starts again from its lower bound.
    progress_.position += progress_.step;
    if (progress_.position > progress_.upper) {
        progress_.position = progress_.lower + (progress_.position - progress_.upper);
    }
}

void HeadlessDialogView::EndDialog(int result) {
    ended_ = true;
    endResult_ = result;
    OnEnded(0);
}

void HeadlessDialogView::ExitProcess(int exitCode) {
    ended_ = true;
    endResult_ = exitCode;
    OnEnded(exitCode);
}

} // namespace zav
