// RecordingDialogView: message boxes kept for the tests.
#include "support/recording_dialog_view.h"

#include "platform/ui.h"

namespace zav::test {

bool RecordedBox::IsFailureReport() const {
    const std::uint32_t icon = style & MB_ICONMASK;
    // A Yes/No box with the exclamation icon is a question (delete? replace?), not a report.
    return (icon == MB_ICONHAND || icon == MB_ICONEXCLAMATION) && (style & MB_TYPEMASK) != MB_YESNO;
}

int RecordingDialogView::MessageBox(std::string_view text, std::string_view caption,
                                    std::uint32_t style) {
    boxes_.push_back({std::string(text), std::string(caption), style});
    if ((style & MB_TYPEMASK) != MB_YESNO) {
        return IDOK;
    }
    if (answers.empty()) {
        return IDYES;
    }
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}

bool RecordingDialogView::ReportedFailureSince(std::size_t first) const {
    for (std::size_t i = first; i < boxes_.size(); ++i) {
        if (boxes_[i].IsFailureReport()) {
            return true;
        }
    }
    return false;
}

std::string RecordingDialogView::BoxesSince(std::size_t first) const {
    std::string lines;
    for (std::size_t i = first; i < boxes_.size(); ++i) {
        lines += "[" + boxes_[i].caption + "] " + boxes_[i].text + "\n";
    }
    return lines;
}

} // namespace zav::test
