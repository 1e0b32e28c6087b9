// TerminalDialogView: message boxes on standard error, questions on the terminal, a text bar.
#include "terminal_view.h"

#ifdef _WIN32
#include "platform/win32/win32_console.h"
#else
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include "platform/posix/unique_fd.h"
#endif

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <iostream>
#include <optional>

#include "platform/codepage.h"
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

#ifdef _WIN32
// Where a question is asked and answered: the console itself, whatever standard input is.
class QuestionTerminal {
public:
    static std::optional<QuestionTerminal> Open() {
        if (CaughtStopSignal() != 0 || !HasConsoleInput()) {
            return std::nullopt;
        }
        return QuestionTerminal();
    }
    void Write(std::string_view text) { std::cerr << text << std::flush; }
    std::optional<std::string> ReadLine() { return ReadConsoleLine(); }
};

bool StandardErrorOnTerminal() {
    return StandardErrorIsConsole();
}
#else
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

// Where a question is asked and answered: the terminal itself (/dev/tty), as standard error may be
// a file that nobody reads meanwhile. Only a user who runs the tool on a terminal (one of its
// standard streams is one) is asked: a run with all three redirected is a script's, which must
// never wait.
class QuestionTerminal {
public:
    static std::optional<QuestionTerminal> Open() {
        const bool onTerminal = ::isatty(STDIN_FILENO) != 0 || ::isatty(STDOUT_FILENO) != 0 ||
                                ::isatty(STDERR_FILENO) != 0;
        if (CaughtStopSignal() != 0 || !onTerminal) {
            return std::nullopt;
        }
        UniqueFd fd(::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC));
        if (!fd) {
            return std::nullopt;
        }
        return QuestionTerminal(std::move(fd));
    }
    void Write(std::string_view text) { WriteAll(fd_.Get(), text); }
    std::optional<std::string> ReadLine() { return ReadTerminalLine(fd_.Get()); }

private:
    explicit QuestionTerminal(UniqueFd fd) : fd_(std::move(fd)) {}
    UniqueFd fd_;
};

bool StandardErrorOnTerminal() {
    return ::isatty(STDERR_FILENO) != 0;
}
#endif

} // namespace

TerminalDialogView::TerminalDialogView(AnswerPolicy policy)
    : policy_(policy), progressOnTerminal_(StandardErrorOnTerminal()) {}

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
    if (policy_ != AnswerPolicy::AskOrNo) {
        const bool yes = policy_ == AnswerPolicy::AlwaysYes;
        std::cerr << question << (yes ? "\n  -> Yes (--yes)\n" : "\n  -> No (--no)\n")
                  << std::flush;
        return yes ? IDYES : IDNO;
    }
    std::optional<QuestionTerminal> terminal = QuestionTerminal::Open();
    if (!terminal) {
        std::cerr << question
                  << (CaughtStopSignal() != 0 ? "\n  -> No (the run is stopping)\n"
                                              : "\n  -> No (no terminal to ask on)\n")
                  << std::flush;
        return IDNO;
    }
    std::cerr << std::flush;
    terminal->Write(question + "\n");
    int answer = IDNO;
    for (;;) {
        terminal->Write("Yes or No? [Y/n] ");
        std::optional<std::string> line = terminal->ReadLine();
        if (!line) {
            terminal->Write(CaughtStopSignal() != 0 ? "\n  -> No (the run is stopping)\n"
                                                    : "\n  -> No\n");
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
#ifndef _WIN32 // there the question and its answer went to standard error already
    if (!StandardErrorOnTerminal()) {
        std::cerr << question << (answer == IDYES ? "\n  -> Yes" : "\n  -> No")
                  << (CaughtStopSignal() != 0 ? " (the run is stopping)\n"
                                              : " (answered on the terminal)\n")
                  << std::flush;
    }
#endif
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
