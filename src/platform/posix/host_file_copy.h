// Copying a file's bytes on the host: shared extents, an in-kernel copy, or a read/write loop.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <optional>

namespace zav {

/// The ways of moving a file's bytes, fastest first.
enum class CopyMethod {
    Clone,      ///< the copy shares the source's extents (FICLONE): no bytes move at all
    KernelCopy, ///< the kernel copies inside the file system (copy_file_range), no user buffer
    ReadWrite,  ///< read and written through a buffer: works on every file system
};

/// Copies every byte of the regular file open for reading as `from` into the empty file open for
/// writing as `to`, trying the methods from `fastest` on: one that the kernel or the file system
/// refuses for these two files (no extent sharing, two file systems, an old kernel...) gives way
/// to the next, and reading finishes whatever the kernel copy did not reach. A read or write error
/// (EIO, ENOSPC, EFBIG) ends the copy. The descriptors' offsets are left alone. Returns the method
/// that finished the copy; nullopt on an error, with part of the bytes in `to`. `expectedSize`,
/// the length `from` had a moment ago, spares the kernel copy the call that finds the end (the
/// read that follows finds it, and whatever the file grew by since).
std::optional<CopyMethod> CopyFileData(int from, int to, CopyMethod fastest = CopyMethod::Clone,
                                       off_t expectedSize = 0);

/// CopyFileData, then gives `to` the permission bits `mode` and the access and modification times
/// of `fromInfo` (the status of `from`). Returns the method that copied; nullopt on any error.
std::optional<CopyMethod> CopyHostFile(int from, const struct stat& fromInfo, int to, mode_t mode,
                                       CopyMethod fastest = CopyMethod::Clone);

} // namespace zav
