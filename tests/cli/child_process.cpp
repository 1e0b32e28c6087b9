// Child processes for the end-to-end tests: outputs into files, or a pseudo-terminal.
#include "cli/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <thread>

namespace zav::test {
namespace {

[[noreturn]] void Exec(const std::string& program, const std::vector<std::string>& arguments,
                       const EnvironmentChanges& environment) {
    for (const auto& [name, value] : environment) {
        ::setenv(name.c_str(), value.c_str(), 1);
    }
    std::vector<std::string> texts = {program};
    texts.insert(texts.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& text : texts) {
        argv.push_back(text.data());
    }
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
}

std::string Contents(std::FILE* file) {
    std::string text;
    std::rewind(file);
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
        text.append(buffer, got);
    }
    std::fclose(file);
    return text;
}

} // namespace

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const EnvironmentChanges& environment, const std::string& prompt,
                         const std::string& answer) {
    ProcessResult result;
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    int terminal = -1;
    const pid_t child = prompt.empty() ? ::fork() : ::forkpty(&terminal, nullptr, nullptr, nullptr);
    if (child == 0) {
        if (prompt.empty()) {
            ::dup2(::open("/dev/null", O_RDONLY), 0);
            ::dup2(::fileno(out), 1);
            ::dup2(::fileno(err), 2);
        }
        Exec(program, arguments, environment);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    for (std::size_t answered = 0; child > 0 && terminal >= 0;) {
        pollfd fd = {terminal, POLLIN, 0};
        char buffer[4096];
        const ssize_t got = ::poll(&fd, 1, 20000) > 0 ? ::read(terminal, buffer, sizeof buffer) : 0;
        if (got <= 0) {
            break; // the terminal closes (EIO) once the child has ended
        }
        result.out.append(buffer, static_cast<std::size_t>(got));
        for (auto at = result.out.find(prompt, answered); at != std::string::npos;
             at = result.out.find(prompt, answered)) {
            (void)!::write(terminal, (answer + "\n").data(), answer.size() + 1);
            answered = at + prompt.size();
        }
    }
    int status = 0;
    while (child > 0 && ::waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(child, SIGKILL);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (terminal >= 0) {
        ::close(terminal);
    }
    result.status = child > 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (prompt.empty()) {
        result.out = Contents(out);
        result.err = Contents(err);
    } else {
        std::fclose(out);
        std::fclose(err);
    }
    return result;
}

} // namespace zav::test
