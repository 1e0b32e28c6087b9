// TerminalDialogView: the main dialog shown on a terminal.
#pragma once

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "shell/headless_dialog_view.h"

namespace zav {

/// How Yes/No questions are answered.
enum class AnswerPolicy {
    AlwaysYes, ///< --yes
    AlwaysNo,  ///< --no
    AskOrNo,   ///< asked on the controlling terminal (/dev/tty); No when there is none
};

/// Keeps the window's state in memory, prints every message box to standard error with its
/// caption, answers questions by its policy, and draws the progress bar as a text bar when
/// standard error is a terminal. It makes no pauses. Texts arrive in code page 1252 and are
/// printed as UTF-8.
///
/// A question is asked on the terminal itself, whatever standard input and error are redirected
/// to, so that the user sees what is asked; standard error, when it is not a terminal, gets the
/// question and the answer for the record.
///
/// After a stop signal (CatchStopSignals) every question is answered No, also one that waits for
/// its answer, so that the command ends soon and the run can close; the process then ends by the
/// signal (ExitProcess).
class TerminalDialogView final : public HeadlessDialogView {
public:
    explicit TerminalDialogView(AnswerPolicy policy);

    int MessageBox(std::string_view text, std::string_view caption, std::uint32_t style) override;
    bool SetControlText(std::int32_t control, std::string_view text) override;
    void StepProgress() override;
    void ResizeWindow(std::int32_t width, std::int32_t height) override;
    void ExitProcess(int exitCode) override;

    /// Whether a warning, an error or a declined question left something undone.
    [[nodiscard]] bool SomethingUndone() const { return somethingUndone_; }
    /// Forgets the warnings shown so far, so that only a command's own ones count.
    void ForgetWarnings() { somethingUndone_ = false; }
    /// The questions answered No so far (code page 1252), in order.
    [[nodiscard]] const std::vector<std::string>& DeclinedQuestions() const { return declined_; }

private:
    int Ask(const std::string& question);
    void DrawProgress();
    void EndProgressLine();

    AnswerPolicy policy_;
    bool progressOnTerminal_;
    bool progressLineOpen_ = false;
    bool somethingUndone_ = false;
    std::vector<std::string> declined_;
};

} // namespace zav
