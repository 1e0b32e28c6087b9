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
    AskOrNo,   ///< asked on the terminal; No when standard input is not a terminal
};

/// Keeps the window's state in memory, prints every message box to standard error with its
/// caption, answers questions by its policy, and draws the progress bar as a text bar when
/// standard error is a terminal. It makes no pauses. Texts arrive in code page 1252 and are
/// printed as UTF-8.
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
