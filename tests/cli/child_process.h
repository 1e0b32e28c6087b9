// Running a program as a child process and collecting what it printed and how it ended.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace zav::test {

struct ProcessResult {
    /// The exit status (0-255), or -1 when the child did not exit normally (killed, timed out).
    int status = -1;
    std::string out;
    std::string err;
};

using EnvironmentChanges = std::vector<std::pair<std::string, std::string>>;

/// Runs `program` with `arguments`, standard input from /dev/null, in this process's
/// environment changed by `environment`; waits for it to end (at most 20 seconds).
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const EnvironmentChanges& environment);

/// Runs `program` on a new pseudo-terminal (standard input, output and error), typing `answer`
/// and Enter each time it prints `prompt`. `out` holds everything the terminal showed; `err`
/// stays empty.
ProcessResult RunOnTerminal(const std::string& program, const std::vector<std::string>& arguments,
                            const EnvironmentChanges& environment, const std::string& prompt,
                            const std::string& answer);

} // namespace zav::test
