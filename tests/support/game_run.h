// One run of the program in a test: the dialog over a TestGame, through a fault-injecting file
// system, shown on a view that records what the dialog did.
#pragma once

#include <gtest/gtest.h>

#include <deque>

#include "history/file_system_stack.h"
#include "platform/codepage.h"
#include "platform/copy_on_write_file_system.h"
#include "platform/profile_reader.h"
#include "shell/headless_dialog_view.h"
#include "shell/patcher_dialog.h"
#include "support/fault_injecting_file_system.h"
#include "support/host_file_system.h"
#include "support/test_game.h"

namespace zav::test {
using Size = std::pair<std::int32_t, std::int32_t>;
/// What a RecordingView saw.
struct ViewRecord {
    struct Box {
        std::string text, caption;
        std::uint32_t style = 0;
        /// "Caption style: text", as tests compare and print it.
        std::string Shown() const { return caption + " " + std::to_string(style) + ": " + text; }
        friend bool operator==(const Box& b, std::string_view s) { return b.Shown() == s; }
        friend std::ostream& operator<<(std::ostream& o, const Box& b) { return o << b.Shown(); }
    };
    std::deque<int> answers;
    std::vector<Box> boxes;
    std::vector<Size> sizes, drawings; // window sizes set; where previews were drawn
    std::vector<std::int32_t> ranges;  // upper ends of the progress ranges set
    int steps = 0, pausedMs = 0;
    std::vector<int> ends, exits;
    std::vector<std::string> events; // "box", "resize", "wait <text>", "wait closed"
};
/// A HeadlessDialogView that records the boxes, sizes, progress, pauses, drawings and endings
/// since the last Clear(); questions take the `answers` in turn, then No, so that a stray
/// question destroys nothing.
class RecordingView final : public HeadlessDialogView, public ViewRecord {
public:
    void Clear() { static_cast<ViewRecord&>(*this) = {}; }
    /// Whether a box since box `first` reports a failure: the stop or exclamation icon, no
    /// question.
    [[nodiscard]] bool ReportedFailureSince(std::size_t first) const {
        return std::any_of(boxes.begin() + static_cast<long>(first), boxes.end(), [](auto& box) {
            const std::uint32_t icon = box.style & MB_ICONMASK, type = box.style & MB_TYPEMASK;
            return (icon == MB_ICONHAND || icon == MB_ICONEXCLAMATION) && type != MB_YESNO;
        });
    }
    int MessageBox(std::string_view text, std::string_view caption, std::uint32_t style) override {
        boxes.push_back({std::string(text), std::string(caption), style});
        events.emplace_back("box");
        const int answer = (style & MB_TYPEMASK) != MB_YESNO ? IDOK
                           : answers.empty()                 ? IDNO
                                                             : answers.front();
        if ((style & MB_TYPEMASK) == MB_YESNO && !answers.empty())
            answers.pop_front();
        return answer;
    }
    void ResizeWindow(std::int32_t width, std::int32_t height) override {
        HeadlessDialogView::ResizeWindow(width, height);
        sizes.emplace_back(width, height), events.emplace_back("resize");
    }
    void SetProgressRange(std::int32_t lower, std::int32_t upper) override {
        HeadlessDialogView::SetProgressRange(lower, upper), ranges.push_back(upper);
    }
    void StepProgress() override { HeadlessDialogView::StepProgress(), ++steps; }
    void Pause(int milliseconds) override { pausedMs += milliseconds; }
    void ShowWaitDialog(std::string_view t) override { events.push_back("wait " + std::string(t)); }
    void CloseWaitDialog() override { events.emplace_back("wait closed"); }
    void DrawImage(std::int32_t x, std::int32_t y, const RgbImage&) override {
        drawings.push_back({x, y});
    }
    void EndDialog(int code) override { HeadlessDialogView::EndDialog(code), ends.push_back(code); }
    void ExitProcess(int c) override { HeadlessDialogView::ExitProcess(c), exits.push_back(c); }
};
inline constexpr Size COMPACT{360, 475}, FULL{360, 500}, TRACK_PREVIEW{658, 420},
    CAR_PREVIEW{702, 420};
/// The pictures of Add to List, Display, Install New, Trash and Cancel.
using ButtonRow = std::array<int, 5>;
inline constexpr ButtonRow ALL_INACTIVE{180, 175, 177, 179, 176}, PENDING{180, 175, 170, 179, 169};
/// Without a history; with the game's changes recorded; or a dry run, every change (the
/// history's too) in memory.
enum class HistoryMode { None, Record, DryRun };
/// The dialog over `game` (not started), its window placed at (100, 100); the disc is the
/// game's unless `source` names another folder.
class GameRun {
public:
    explicit GameRun(const TestGame& game, std::optional<std::string> source = {},
                     HistoryMode mode = HistoryMode::None)
        : host(game.prefix), stack(host, &files,
                                   {.dryRun = mode == HistoryMode::DryRun,
                                    .record = mode != HistoryMode::None,
                                    .dryRunFolder = game.tmp + "/dry-run/"}),
          dialog(stack.Files(), profile, view,
                 source.value_or(Utf8ToCp1252(game.disc).value_or(""))) {
        view.PlaceWindow({100, 100, 460, 600});
        if (mode != HistoryMode::None)
            dialog.Session().journal = &stack.Journal();
    }
    ~GameRun() { host.RemoveTemporaryFolder(); }
    bool Start() { return dialog.OnInitDialog(); }
    void ShowTab(DataKind kind) { view.SelectTab(kind), dialog.OnSelchangeTab(); }
    /// Clicks the entry of `list` showing `name` (after any "<...> " mark) as the user does.
    void Click(std::int32_t list, std::string_view name, bool selected = true) {
        const auto& entries = Entries(list);
        const auto it = std::ranges::find_if(entries, [&](const std::string& entry) {
            return entry == name || entry.ends_with("> " + std::string(name));
        });
        ASSERT_NE(it, entries.end()) << name;
        const auto index = static_cast<std::int32_t>(it - entries.begin());
        list == IDC_NEW_LIST ? view.SetListEntrySelected(list, index, selected)
                             : view.SetListSelection(list, index);
        list == IDC_NEW_LIST ? dialog.OnSelchangeNewList() : dialog.OnSelchangeAddedList();
    }
    void ClickNew(std::string_view name, bool selected = true) {
        Click(IDC_NEW_LIST, name, selected);
    }
    /// Selects `names` in "New Proposed Data" and presses "Add to List".
    void AddToList(const std::vector<std::string>& names) {
        for (const std::string& name : names)
            ClickNew(name);
        dialog.OnAddToList();
    }
    /// Selects `name` in "Added Data" and presses "Trash", answering the question with `answer`.
    void Trash(std::string_view name, int answer) {
        Click(IDC_ADDED_LIST, name);
        view.answers = {answer};
        dialog.OnTrash();
    }
    [[nodiscard]] const std::vector<std::string>& Entries(std::int32_t list) const {
        return view.List(list).entries;
    }
    [[nodiscard]] std::vector<std::string> Selected(std::int32_t list) const {
        std::vector<std::string> selected;
        for (std::size_t i = 0; i < Entries(list).size(); ++i)
            if (view.List(list).selected[i])
                selected.push_back(Entries(list)[i]);
        return selected;
    }
    [[nodiscard]] ButtonRow Pictures() const {
        return {view.Picture(IDC_ADD), view.Picture(IDC_DISPLAY), view.Picture(IDC_INSTALL),
                view.Picture(IDC_TRASH), view.Picture(IDC_CANCEL)};
    }
    [[nodiscard]] PatcherSession& Session() { return dialog.Session(); }
    [[nodiscard]] AnalysisState& State() { return dialog.Session().analysis; }
    HostFileSystem host;
    /// Beneath the dry run and the history, as the programs' kill points are, so that the faults
    /// reach the history's own calls too.
    FaultInjectingFileSystem files{host};
    FileSystemStack stack;
    FileSystemProfile profile{stack.Files()};
    RecordingView view;
    PatcherDialog dialog;
};
} // namespace zav::test
