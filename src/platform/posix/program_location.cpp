// ProgramFolder on Linux, from /proc/self/exe.
#include "platform/program_location.h"

#include <unistd.h>

#include <array>

namespace zav {

std::string ProgramFolder() {
    std::array<char, 4096> buffer{};
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (length <= 0) {
        return {};
    }
    std::string path(buffer.data(), static_cast<std::size_t>(length));
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return {};
    }
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string ProgramFolderProblem() {
    return {};
}

} // namespace zav
