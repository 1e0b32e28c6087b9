// Running a program as a child process and collecting what it printed and how it ended.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace zav::test {

struct ProcessResult {
    int status = -1; ///< the exit status (0-255); -1 when killed or timed out
    std::string out;
    std::string err;
};

using EnvironmentChanges = std::vector<std::pair<std::string, std::string>>;

/// Runs `program` with `arguments` in this environment changed by `environment`, for at most
/// 20 seconds. Without a `prompt`, standard input is /dev/null and the outputs are collected
/// apart; with one, the child runs on a pseudo-terminal that types `answer` and Enter after
/// each `prompt`, and `out` holds everything the terminal showed.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const EnvironmentChanges& environment, const std::string& prompt = "",
                         const std::string& answer = "");

} // namespace zav::test
