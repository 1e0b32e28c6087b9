// TerminalDialogView: message boxes on standard error, questions on the terminal, a text bar.
#include "terminal_view.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <iostream>
#include <optional>

#include "platform/codepage.h"
#include "platform/posix/unique_fd.h"
#include "platform/ui.h"
#include "shell/window_model.h"
#include "stop_signals.h"

namespace zav {
namespace {

constexpr int kBarWidth = 30;

bool IsWarningOrError(std::uint32_t style) {
    const std::uint32_t icon = style & MB_ICONMASK;
    return icon == MB_ICONEXCLAMATION || icon == MB_ICONHAND;
}

void WriteAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t put = ::write(fd, text.data(), text.size());
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            return;
        }
        text.remove_prefix(static_cast<std::size_t>(put));
    }
}

// One line typed on the terminal, without its end; nullopt at the end of its input, on an error,
// or when a stop signal came while it waited. poll() is never restarted after a signal's handler,
// where read() would be, so a signal ends the wait.
std::optional<std::string> ReadTerminalLine(int fd) {
    std::string line;
    for (;;) {
        if (CaughtStopSignal() != 0) {
            return std::nullopt;
        }
        pollfd ready{fd, POLLIN, 0};
        if (::poll(&ready, 1, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return std::nullopt;
        }
        char c = 0;
        const ssize_t got = ::read(fd, &c, 1);
        if (got < 0 && (errno == EINTR || errno == EAGAIN)) {
            continue;
        }
        if (got <= 0) {
            return std::nullopt;
        }
        if (c == '\n') {
            return line;
        }
        line += c;
    }
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
        return answer;
    }
    std::cerr << message << '\n';
    std::cerr << std::flush;
    somethingUndone_ = somethingUndone_ || IsWarningOrError(style);
    return IDOK;
}

int TerminalDialogView::Ask(const std::string& question) {
    if (policy_ != AnswerPolicy::AskOrNo) {
        const bool yes = policy_ == AnswerPolicy::AlwaysYes;
        std::cerr << question << (yes ? "\n  -> Yes (--yes)\n" : "\n  -> No (--no)\n")
                  << std::flush;
        return yes ? IDYES : IDNO;
    }
    // Asked only of a user who runs the tool on a terminal (one of its standard streams is one):
    // a run with all three redirected is a script's, which must never wait. The question goes to
    // the terminal itself, as standard error may be a file that nobody reads meanwhile.
    const bool onTerminal =
        ::isatty(STDIN_FILENO) != 0 || ::isatty(STDOUT_FILENO) != 0 || ::isatty(STDERR_FILENO) != 0;
    const UniqueFd terminal(CaughtStopSignal() != 0 || !onTerminal
                                ? -1
                                : ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC));
    if (!terminal) {
        std::cerr << question
                  << (CaughtStopSignal() != 0 ? "\n  -> No (the run is stopping)\n"
                                              : "\n  -> No (no terminal to ask on)\n")
                  << std::flush;
        return IDNO;
    }
    std::cerr << std::flush;
    WriteAll(terminal.Get(), question + "\n");
    int answer = IDNO;
    for (;;) {
        WriteAll(terminal.Get(), "Yes or No? [Y/n] ");
        std::optional<std::string> line = ReadTerminalLine(terminal.Get());
        if (!line) {
            WriteAll(terminal.Get(),
                     CaughtStopSignal() != 0 ? "\n  -> No (the run is stopping)\n" : "\n  -> No\n");
            break;
        }
        std::erase_if(*line, [](char c) { return c == ' ' || c == '\t' || c == '\r'; });
        // Yes is the default button.
        if (line->empty() || EqualsIgnoringAsciiCase(*line, "y") ||
            EqualsIgnoringAsciiCase(*line, "yes")) {
            answer = IDYES;
            break;
        }
        if (EqualsIgnoringAsciiCase(*line, "n") || EqualsIgnoringAsciiCase(*line, "no")) {
            break;
        }
    }
    if (::isatty(STDERR_FILENO) == 0) {
        std::cerr << question << (answer == IDYES ? "\n  -> Yes" : "\n  -> No")
                  << (CaughtStopSignal() != 0 ? " (the run is stopping)\n"
                                              : " (answered on the terminal)\n")
                  << std::flush;
    }
    return answer;
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
    if (const int signal = CaughtStopSignal(); signal != 0) {
        EndBySignal(signal);
    }
    std::exit(exitCode & 0xFF);
}

} // namespace zav
