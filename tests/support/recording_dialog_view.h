// A DialogView that keeps the window in memory, records every message box and answers questions.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "shell/headless_dialog_view.h"

namespace zav::test {

/// One message box the dialog showed.
struct RecordedBox {
    std::string text;
    std::string caption;
    std::uint32_t style = 0;

    /// A box that reports something going wrong: the stop or the exclamation icon.
    [[nodiscard]] bool IsFailureReport() const;
};

/// HeadlessDialogView that records message boxes and answers Yes/No questions from `answers`
/// (Yes once they run out); other boxes are answered OK. No pauses.
class RecordingDialogView final : public HeadlessDialogView {
public:
    int MessageBox(std::string_view text, std::string_view caption, std::uint32_t style) override;

    /// Whether a box with the stop or exclamation icon was shown since `first` (an index into
    /// Boxes()).
    [[nodiscard]] bool ReportedFailureSince(std::size_t first) const;
    [[nodiscard]] const std::vector<RecordedBox>& Boxes() const { return boxes_; }
    /// Every box since `first`, one per line, for failure messages.
    [[nodiscard]] std::string BoxesSince(std::size_t first) const;

    std::deque<int> answers;

private:
    std::vector<RecordedBox> boxes_;
};

} // namespace zav::test
