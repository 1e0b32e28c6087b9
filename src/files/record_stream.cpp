// RecordStream: positioned reads and writes with a sticky fail flag.
#include "files/record_stream.h"

#include <algorithm>

namespace zav {

bool RecordStream::Open(std::string_view path, bool writable) {
    Close();
    OpenedFile opened = files_.Open(path, writable ? OpenMode::ReadWrite : OpenMode::ReadOnly);
    if (!opened) {
        cause_ = opened.Cause();
        failed_ = true;
        return false;
    }
    handle_ = std::move(opened);
    const FileCount size = handle_->Size();
    if (size.bytes < 0) {
        handle_.reset();
        cause_ = size.cause;
        failed_ = true;
        return false;
    }
    size_ = size.bytes;
    return true;
}

void RecordStream::Close() {
    handle_.reset();
    position_ = 0;
    size_ = 0;
    failed_ = false;
    cause_ = FileErrorCause::None;
}

void RecordStream::Seek(std::int64_t offset) {
    if (failed_ || handle_ == nullptr || offset < 0 || offset > size_) {
        failed_ = true;
        return;
    }
    position_ = offset;
}

void RecordStream::SeekRelative(std::int64_t delta) {
    if (failed_ || handle_ == nullptr) {
        failed_ = true;
        return;
    }
    Seek(position_ + delta);
}

std::int64_t RecordStream::Read(void* buffer, std::int64_t count) {
    if (failed_ || handle_ == nullptr || count < 0) {
        failed_ = true;
        return 0;
    }
    const FileCount read = handle_->ReadAt(position_, buffer, count);
    const std::int64_t got = read.bytes;
    if (got < 0) {
        cause_ = read.cause;
        failed_ = true;
        return 0;
    }
    position_ += got;
    if (got < count) {
        failed_ = true;
    }
    return got;
}

void RecordStream::Write(const void* buffer, std::int64_t count) {
    if (failed_ || handle_ == nullptr || count < 0) {
        failed_ = true;
        return;
    }
    const FileCount written = handle_->WriteAt(position_, buffer, count);
    const std::int64_t put = written.bytes;
    if (put > 0) {
        position_ += put;
        size_ = std::max(size_, position_);
    }
    if (put < count) {
        cause_ = written.ShortWriteCause();
        failed_ = true;
    }
}

bool RecordStream::Check() {
    if (failed_) {
        failed_ = false;
        return false;
    }
    return true;
}

} // namespace zav
