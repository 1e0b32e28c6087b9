// Host file copies at the speed of the file system, with a portable fallback.
#include "platform/posix/host_file_copy.h"

#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <memory>

namespace zav {
namespace {

// copy_file_range reports with these that it cannot serve this pair of files, not that the bytes
// cannot be copied: across file systems (before 5.19), an old kernel, a file system without it.
bool KernelCopyRefused(int error) {
    return error == EXDEV || error == ENOSYS || error == EOPNOTSUPP || error == ENOTSUP ||
           error == EINVAL || error == EBADF;
}

// Copies from `offset` up to the end of `from`, which moves `offset` there; false on an error.
bool ReadWriteFrom(int from, int to, off_t& offset) {
    // Left uninitialised: after a complete kernel copy the one read that finds the end touches none
    // of its pages.
    constexpr std::size_t kBufferSize = std::size_t{1} << 20;
    const auto buffer = std::make_unique_for_overwrite<char[]>(kBufferSize);
    for (;;) {
        const ssize_t got = ::pread(from, buffer.get(), kBufferSize, offset);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return got == 0;
        }
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = ::pwrite(to, buffer.get() + done,
                                         static_cast<std::size_t>(got - done), offset + done);
            if (put < 0 && errno == EINTR) {
                continue;
            }
            if (put <= 0) {
                return false;
            }
            done += put;
        }
        offset += got;
    }
}

// Copies with copy_file_range until it finds no more bytes, moving `offset` along, so a refusal
// half-way can be finished by another method. False on an error that no method would get past.
bool KernelCopyFrom(int from, int to, off_t& offset, off_t expectedSize) {
    // Each call is bounded so that a huge file still gives signals a chance.
    constexpr std::size_t kChunk = std::size_t{1} << 30;
    for (;;) {
        if (expectedSize > 0 && offset >= expectedSize) {
            return true;
        }
        off_t fromOffset = offset;
        off_t toOffset = offset;
        const ssize_t moved = ::copy_file_range(from, &fromOffset, to, &toOffset, kChunk, 0);
        if (moved < 0 && errno == EINTR) {
            continue;
        }
        if (moved <= 0) {
            return moved == 0 || KernelCopyRefused(errno);
        }
        offset += moved;
    }
}

} // namespace

std::optional<CopyMethod> CopyFileData(int from, int to, CopyMethod fastest, off_t expectedSize) {
    // Any refusal of a clone leaves `to` untouched, and the next method reports real errors.
    if (fastest == CopyMethod::Clone && ::ioctl(to, FICLONE, from) == 0) {
        return CopyMethod::Clone;
    }
    off_t offset = 0;
    if (fastest != CopyMethod::ReadWrite && !KernelCopyFrom(from, to, offset, expectedSize)) {
        return std::nullopt;
    }
    // Reading decides where the file ends: copy_file_range finds nothing in files whose size the
    // file system does not know in advance (procfs, some FUSE), and it may have been refused
    // half-way. After a complete kernel copy this is one read that finds the end.
    const off_t kernelCopied = offset;
    if (!ReadWriteFrom(from, to, offset)) {
        return std::nullopt;
    }
    return fastest != CopyMethod::ReadWrite && offset == kernelCopied ? CopyMethod::KernelCopy
                                                                      : CopyMethod::ReadWrite;
}

std::optional<CopyMethod> CopyHostFile(int from, const struct stat& fromInfo, int to, mode_t mode,
                                       CopyMethod fastest) {
    const struct timespec times[2] = {fromInfo.st_atim, fromInfo.st_mtim};
    const auto method = CopyFileData(from, to, fastest, fromInfo.st_size);
    if (!method || ::fchmod(to, mode) != 0 || ::futimens(to, times) != 0) {
        return std::nullopt;
    }
    return method;
}

} // namespace zav
