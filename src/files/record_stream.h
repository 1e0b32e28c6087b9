// A positioned binary stream over one file, with the fail state the list files rely on.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/file_system.h"

namespace zav {

/// One shared position for reads and writes, and a sticky fail flag: a failed positioning or
/// transfer sets it, and every later operation does nothing (and fails again) until `Check`
/// clears it. That is the recovery the list-file operations rely on: each checks after every
/// positioning and transfer, so the next operation starts clean.
///
/// Positioning before byte 0 or past the end of the file fails, so nothing is ever read or
/// written outside what the file holds or one past its end.
class RecordStream {
public:
    explicit RecordStream(FileSystem& files) : files_(files) {}

    /// Opens `path` read-only (it must exist) or read-write (created empty when missing, an
    /// existing file kept intact); position 0, fail flag clear. False when it did not open.
    bool Open(std::string_view path, bool writable);
    void Close();
    [[nodiscard]] bool IsOpen() const { return handle_ != nullptr; }

    void Seek(std::int64_t offset);
    void SeekRelative(std::int64_t delta);
    /// Reads `count` bytes at the position; a short read sets the fail flag. Returns bytes read.
    std::int64_t Read(void* buffer, std::int64_t count);
    void Write(const void* buffer, std::int64_t count);

    /// The stream check: false when the fail flag is set, which it then clears.
    bool Check();

    [[nodiscard]] bool Failed() const { return failed_; }
    /// Why the file last refused this stream since Open: the open itself, its length, or a
    /// transfer (a short write is a full disk); None when it never did. Checks leave it, so a
    /// caller can name the cause after the operation that failed.
    [[nodiscard]] FileErrorCause LastCause() const { return cause_; }
    /// The file's length as this stream knows it (its writes included).
    [[nodiscard]] std::int64_t Size() const { return size_; }

private:
    FileSystem& files_;
    std::unique_ptr<FileHandle> handle_;
    std::int64_t position_ = 0;
    std::int64_t size_ = 0;
    bool failed_ = false;
    FileErrorCause cause_ = FileErrorCause::None;
};

} // namespace zav
