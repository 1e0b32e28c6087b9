// TerminalDialogView: message boxes on standard error, questions on the terminal, a text bar.
#include "terminal_view.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>

#include "platform/codepage.h"
#include "platform/ui.h"
#include "shell/window_model.h"

namespace zav {
namespace {

constexpr int kBarWidth = 30;

bool IsWarningOrError(std::uint32_t style) {
    const std::uint32_t icon = style & MB_ICONMASK;
    return icon == MB_ICONEXCLAMATION || icon == MB_ICONHAND;
}

} // namespace

TerminalDialogView::TerminalDialogView(AnswerPolicy policy)
    : policy_(policy), progressOnTerminal_(::isatty(STDERR_FILENO) != 0) {}

int TerminalDialogView::MessageBox(std::string_view text, std::string_view caption,
                                   std::uint32_t style) {
    EndProgressLine();
    const std::string message = Cp1252ToUtf8(caption) + ": " + Cp1252ToUtf8(text);
    if ((style & MB_TYPEMASK) == MB_YESNO) {
        const int answer = Ask(message);
        somethingUndone_ = somethingUndone_ || answer != IDYES;
        if (answer != IDYES) {
            declined_.emplace_back(text);
        }
        return answer;
    }
    std::cerr << message << '\n';
    std::cerr << std::flush;
    somethingUndone_ = somethingUndone_ || IsWarningOrError(style);
    return IDOK;
}

int TerminalDialogView::Ask(const std::string& question) {
    std::cerr << question << '\n';
    if (policy_ == AnswerPolicy::AlwaysYes) {
        std::cerr << "  -> Yes (--yes)\n" << std::flush;
        return IDYES;
    }
    if (policy_ == AnswerPolicy::AlwaysNo || ::isatty(STDIN_FILENO) == 0) {
        std::cerr << (policy_ == AnswerPolicy::AlwaysNo ? "  -> No (--no)\n"
                                                        : "  -> No (no terminal to ask on)\n")
                  << std::flush;
        return IDNO;
    }
    for (;;) {
        std::cerr << "Yes or No? [Y/n] " << std::flush;
        std::string line;
        if (!std::getline(std::cin, line)) {
            std::cerr << "\n  -> No\n" << std::flush;
            return IDNO;
        }
        line.erase(std::remove_if(line.begin(), line.end(),
                                  [](char c) { return c == ' ' || c == '\t' || c == '\r'; }),
                   line.end());
        // Yes is the default button.
        if (line.empty() || EqualsIgnoringAsciiCase(line, "y") ||
            EqualsIgnoringAsciiCase(line, "yes")) {
            return IDYES;
        }
        if (EqualsIgnoringAsciiCase(line, "n") || EqualsIgnoringAsciiCase(line, "no")) {
            return IDNO;
        }
    }
}

bool TerminalDialogView::SetControlText(std::int32_t control, std::string_view text) {
    const bool known = HeadlessDialogView::SetControlText(control, text);
    if (control == IDC_STATUS) {
        EndProgressLine();
    }
    return known;
}

void TerminalDialogView::StepProgress() {
    HeadlessDialogView::StepProgress();
    DrawProgress();
}

void TerminalDialogView::ResizeWindow(std::int32_t width, std::int32_t height) {
    HeadlessDialogView::ResizeWindow(width, height);
    // The window returns to its compact layout when a command ends: the bar is done.
    EndProgressLine();
}

void TerminalDialogView::DrawProgress() {
    if (!progressOnTerminal_) {
        return;
    }
    const ProgressState& progress = Progress();
    const std::int32_t span = std::max(progress.upper - progress.lower, 1);
    const std::int32_t done = std::clamp(progress.position - progress.lower, 0, span);
    const int filled = static_cast<int>(static_cast<long long>(done) * kBarWidth / span);
    std::cerr << '\r' << Cp1252ToUtf8(ControlText(IDC_STATUS)) << " ["
              << std::string(static_cast<std::size_t>(filled), '#')
              << std::string(static_cast<std::size_t>(kBarWidth - filled), '.') << "] "
              << static_cast<long long>(done) * 100 / span << "%" << std::flush;
    progressLineOpen_ = true;
}

void TerminalDialogView::EndProgressLine() {
    if (progressLineOpen_) {
        std::cerr << '\n' << std::flush;
        progressLineOpen_ = false;
    }
}

void TerminalDialogView::ExitProcess(int exitCode) {
    EndProgressLine();
    std::cout << std::flush;
    std::cerr << std::flush;
    std::exit(exitCode & 0xFF);
}

} // namespace zav
