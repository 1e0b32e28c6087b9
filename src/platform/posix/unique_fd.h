// UniqueFd: a file descriptor owned by one object and closed with it.
#pragma once

#include <unistd.h>

#include <utility>

namespace zav {

/// Owns a POSIX file descriptor (or none, -1) and closes it when destroyed or reset. Movable, not
/// copyable, so every descriptor is closed exactly once on every path.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    ~UniqueFd() { Reset(); }

    UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        Reset(other.Release());
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    [[nodiscard]] int Get() const { return fd_; }
    [[nodiscard]] bool Valid() const { return fd_ >= 0; }
    explicit operator bool() const { return Valid(); }

    /// Gives up ownership without closing; -1 when there was none.
    int Release() { return std::exchange(fd_, -1); }
    /// Closes the descriptor held (if any) and takes `fd`; false when that close failed, which
    /// for a file just written can be the first report of a write error.
    bool Reset(int fd = -1) {
        const int old = std::exchange(fd_, fd);
        return old < 0 || ::close(old) == 0;
    }

private:
    int fd_ = -1;
};

} // namespace zav
