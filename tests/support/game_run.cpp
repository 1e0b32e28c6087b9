// RecordingView and GameRun.
#include "support/game_run.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/codepage.h"

namespace zav::test {

bool RecordingView::ReportedFailureSince(std::size_t first) const {
    return std::any_of(boxes.begin() + static_cast<long>(first), boxes.end(), [](const Box& box) {
        const std::uint32_t icon = box.style & MB_ICONMASK;
        return (icon == MB_ICONHAND || icon == MB_ICONEXCLAMATION) &&
               (box.style & MB_TYPEMASK) != MB_YESNO;
    });
}

int RecordingView::MessageBox(std::string_view text, std::string_view caption,
                              std::uint32_t style) {
    boxes.push_back({std::string(text), std::string(caption), style});
    events.emplace_back("box");
    if ((style & MB_TYPEMASK) != MB_YESNO) {
        return IDOK;
    }
    const int answer = answers.empty() ? otherAnswers : answers.front();
    if (!answers.empty()) {
        answers.pop_front();
    }
    return answer;
}

void RecordingView::ResizeWindow(std::int32_t width, std::int32_t height) {
    HeadlessDialogView::ResizeWindow(width, height);
    sizes.emplace_back(width, height);
    events.emplace_back("resize");
}

void RecordingView::SetProgressRange(std::int32_t lower, std::int32_t upper) {
    HeadlessDialogView::SetProgressRange(lower, upper);
    ranges.push_back(upper);
}

void RecordingView::StepProgress() {
    HeadlessDialogView::StepProgress();
    ++steps;
}

void RecordingView::ShowWaitDialog(std::string_view text) {
    HeadlessDialogView::ShowWaitDialog(text);
    events.push_back("wait " + std::string(text));
}

void RecordingView::DrawImage(std::int32_t x, std::int32_t y, const RgbImage&) {
    drawings.emplace_back(x, y);
}

void RecordingView::EndDialog(int result) {
    HeadlessDialogView::EndDialog(result);
    ends.push_back(result);
}

void RecordingView::ExitProcess(int code) {
    HeadlessDialogView::ExitProcess(code);
    exits.push_back(code);
}

GameRun::GameRun(const TestGame& game, std::optional<std::string> source)
    : host(game.prefix),
      dialog(files, profile, view, source.value_or(Utf8ToCp1252(game.disc).value_or(""))) {
    view.PlaceWindow({100, 100, 460, 600});
}

void GameRun::ShowTab(std::int32_t kind) {
    view.SelectTab(kind);
    dialog.OnSelchangeTab();
}

void GameRun::Click(std::int32_t list, std::string_view name, bool selected) {
    const auto& entries = Entries(list);
    const auto it = std::ranges::find_if(entries, [&](const std::string& entry) {
        return entry == name || entry.ends_with("> " + std::string(name));
    });
    ASSERT_NE(it, entries.end()) << name;
    const auto index = static_cast<std::int32_t>(it - entries.begin());
    if (list == IDC_NEW_LIST) {
        view.SetListEntrySelected(list, index, selected);
        dialog.OnSelchangeNewList();
    } else {
        view.SetListSelection(list, index);
        dialog.OnSelchangeAddedList();
    }
}

void GameRun::AddToList(const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        ClickNew(name);
    }
    dialog.OnAddToList();
}

void GameRun::Trash(std::string_view name, int answer) {
    Click(IDC_ADDED_LIST, name);
    view.answers = {answer};
    dialog.OnTrash();
}

std::vector<std::string> GameRun::Selected(std::int32_t list) const {
    const auto& state = view.List(list);
    std::vector<std::string> selected;
    for (std::size_t i = 0; i < state.entries.size(); ++i) {
        if (state.selected[i]) {
            selected.push_back(state.entries[i]);
        }
    }
    return selected;
}

ButtonRow GameRun::Pictures() const {
    return {view.Picture(IDC_ADD), view.Picture(IDC_DISPLAY), view.Picture(IDC_INSTALL),
            view.Picture(IDC_TRASH), view.Picture(IDC_CANCEL)};
}

} // namespace zav::test
