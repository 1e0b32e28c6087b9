// Child processes for the end-to-end tests: pipes, or a pseudo-terminal that answers prompts.
#include "cli/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

extern char** environ;

namespace zav::test {
namespace {

constexpr int kTimeoutMs = 20000;

std::vector<std::string> ChangedEnvironment(const EnvironmentChanges& changes) {
    std::vector<std::string> variables;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string variable(*entry);
        bool replaced = false;
        for (const auto& [name, value] : changes) {
            replaced = replaced || variable.starts_with(name + "=");
        }
        if (!replaced) {
            variables.push_back(variable);
        }
    }
    for (const auto& [name, value] : changes) {
        variables.push_back(name + "=" + value);
    }
    return variables;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

int StatusOf(int waitStatus) {
    return WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : -1;
}

int MillisecondsLeft(std::chrono::steady_clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

} // namespace

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const EnvironmentChanges& environment) {
    ProcessResult result;
    int outPipe[2];
    int errPipe[2];
    if (::pipe2(outPipe, O_CLOEXEC) != 0 || ::pipe2(errPipe, O_CLOEXEC) != 0) {
        return result;
    }
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    ::posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
    ::posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);

    std::vector<std::string> argv = {program};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<std::string> envp = ChangedEnvironment(environment);
    auto argPointers = Pointers(argv);
    auto envPointers = Pointers(envp);
    pid_t child = 0;
    const int spawned = ::posix_spawn(&child, program.c_str(), &actions, nullptr,
                                      argPointers.data(), envPointers.data());
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(outPipe[1]);
    ::close(errPipe[1]);
    if (spawned != 0) {
        ::close(outPipe[0]);
        ::close(errPipe[0]);
        return result;
    }

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kTimeoutMs);
    pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
    std::string* sinks[2] = {&result.out, &result.err};
    int open = 2;
    while (open > 0) {
        const int ready = ::poll(fds, 2, MillisecondsLeft(deadline));
        if (ready <= 0) {
            if (ready < 0 && errno == EINTR) {
                continue;
            }
            ::kill(child, SIGKILL);
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd >= 0 && (fds[i].revents & (POLLIN | POLLHUP)) != 0) {
                char buffer[4096];
                const ssize_t got = ::read(fds[i].fd, buffer, sizeof buffer);
                if (got > 0) {
                    sinks[i]->append(buffer, static_cast<std::size_t>(got));
                } else {
                    ::close(fds[i].fd);
                    fds[i].fd = -1;
                    --open;
                }
            }
        }
    }
    for (const pollfd& fd : fds) {
        if (fd.fd >= 0) {
            ::close(fd.fd);
        }
    }
    int waitStatus = 0;
    ::waitpid(child, &waitStatus, 0);
    result.status = StatusOf(waitStatus);
    return result;
}

ProcessResult RunOnTerminal(const std::string& program, const std::vector<std::string>& arguments,
                            const EnvironmentChanges& environment, const std::string& prompt,
                            const std::string& answer) {
    ProcessResult result;
    std::vector<std::string> argv = {program};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<std::string> envp = ChangedEnvironment(environment);
    auto argPointers = Pointers(argv);
    auto envPointers = Pointers(envp);

    int master = -1;
    const pid_t child = ::forkpty(&master, nullptr, nullptr, nullptr);
    if (child < 0) {
        return result;
    }
    if (child == 0) {
        ::execve(program.c_str(), argPointers.data(), envPointers.data());
        ::_exit(127);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kTimeoutMs);
    std::size_t answered = 0;
    for (;;) {
        pollfd fd = {master, POLLIN, 0};
        const int ready = ::poll(&fd, 1, MillisecondsLeft(deadline));
        if (ready <= 0) {
            if (ready < 0 && errno == EINTR) {
                continue;
            }
            ::kill(child, SIGKILL);
            break;
        }
        char buffer[4096];
        const ssize_t got = ::read(master, buffer, sizeof buffer);
        if (got <= 0) {
            break; // the terminal closes (EIO) once the child has ended
        }
        result.out.append(buffer, static_cast<std::size_t>(got));
        std::size_t at = result.out.find(prompt, answered);
        while (at != std::string::npos) {
            const std::string line = answer + "\n";
            (void)!::write(master, line.data(), line.size());
            answered = at + prompt.size();
            at = result.out.find(prompt, answered);
        }
    }
    ::close(master);
    int waitStatus = 0;
    ::waitpid(child, &waitStatus, 0);
    result.status = StatusOf(waitStatus);
    return result;
}

} // namespace zav::test
