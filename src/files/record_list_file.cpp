// Shared stream and count handling of the list files.
#include "files/record_list_file.h"

#include <algorithm>

namespace zav {

std::int32_t ReadInt32(const std::uint8_t* bytes) {
    const std::uint32_t value =
        static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
        (static_cast<std::uint32_t>(bytes[2]) << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
    return static_cast<std::int32_t>(value);
}

void WriteInt32(std::uint8_t* bytes, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<std::uint8_t>(bits >> (8 * i));
    }
}

int RecordListFile::Close() {
    stream_.Close();
    count_ = 0;
    return 1;
}

int RecordListFile::OpenList(std::string_view path, bool writable) {
    // Closing the old file does not reset the count: an empty new file keeps it (see Open).
    stream_.Close();
    stream_.Open(path, writable);
    if (!stream_.Check()) {
        count_ = 0;
        return 0;
    }
    std::uint8_t bytes[4] = {};
    stream_.Seek(0);
    // A file too short for its count holds no records, whatever the object had open before.
    count_ = stream_.Read(bytes, 4) == 4 ? ReadInt32(bytes) : 0;
    return 1;
}

std::int32_t RecordListFile::RecordsHeld(std::int64_t recordSize) {
    if (count_ < 1 || recordSize <= 0) {
        return 0;
    }
    const std::int64_t size = stream_.Size();
    const std::int64_t held = size > 4 ? (size - 4) / recordSize : 0;
    return static_cast<std::int32_t>(std::min<std::int64_t>(held, count_));
}

bool RecordListFile::WriteCount(std::int32_t count) {
    std::uint8_t bytes[4];
    WriteInt32(bytes, count);
    stream_.Seek(0);
    if (!stream_.Check()) {
        return false;
    }
    stream_.Write(bytes, 4);
    if (!stream_.Check()) {
        return false;
    }
    count_ = count;
    return true;
}

bool RecordListFile::ReadAt(std::int32_t index, std::uint8_t* buffer, std::int64_t recordSize) {
    if (index < 1 || index > count_ || !stream_.IsOpen() || buffer == nullptr || recordSize <= 0) {
        return false;
    }
    stream_.Seek(4 + static_cast<std::int64_t>(index - 1) * recordSize);
    if (!stream_.Check()) {
        return false;
    }
    stream_.Read(buffer, recordSize);
    return stream_.Check();
}

std::int32_t RecordListFile::WriteAt(const std::uint8_t* record, std::int64_t recordSize,
                                     std::int32_t index) {
    if (!stream_.IsOpen() || record == nullptr || recordSize <= 0) {
        return -1;
    }
    // Worked in 64 bits: neither one past INT32_MAX records nor a negative count (a damaged
    // file's) may wrap round to a valid index.
    const std::int64_t next = static_cast<std::int64_t>(count_) + 1;
    std::int64_t target = index;
    if (target > next) {
        return -1;
    }
    if (target < 1) {
        target = next;
    }
    if (target < 1 || target > INT32_MAX) {
        return -1;
    }
    if (target > count_ && !EnsureCountField()) {
        return -1;
    }
    stream_.Seek(4 + (target - 1) * recordSize);
    if (!stream_.Check()) {
        return -1;
    }
    stream_.Write(record, recordSize);
    if (!stream_.Check()) {
        return -1;
    }
    if (target <= count_) {
        return static_cast<std::int32_t>(target);
    }
    return WriteCount(static_cast<std::int32_t>(target)) ? static_cast<std::int32_t>(target) : -1;
}

bool RecordListFile::EnsureCountField() {
    return stream_.Size() >= 4 || WriteCount(count_);
}

int RecordListFile::RemoveRecord(std::int32_t index, std::int64_t recordSize) {
    std::uint8_t scratch[256];
    if (index < 1 || index > count_ || recordSize <= 0 ||
        recordSize > static_cast<std::int64_t>(sizeof scratch) ||
        RecordsHeld(recordSize) < count_) {
        return 0;
    }
    // Record index + 1 starts at 4 + index * recordSize.
    stream_.Seek(4 + static_cast<std::int64_t>(index) * recordSize);
    if (!stream_.Check()) {
        return 0;
    }
    for (std::int32_t next = index + 1; next <= count_; ++next) {
        stream_.Read(scratch, recordSize);
        if (!stream_.Check()) {
            return 0;
        }
        stream_.SeekRelative(-2 * recordSize);
        if (!stream_.Check()) {
            return 0;
        }
        stream_.Write(scratch, recordSize);
        if (!stream_.Check()) {
            return 0;
        }
        stream_.SeekRelative(recordSize);
        if (!stream_.Check()) {
            return 0;
        }
    }
    return WriteCount(count_ - 1) ? 1 : 0;
}

std::size_t CopyMaskedName(const std::uint8_t* field, std::size_t fieldSize, std::uint8_t mask,
                           char* out) {
    std::size_t length = 0;
    while (length < fieldSize && field[length] != mask) {
        out[length] = static_cast<char>(field[length]);
        ++length;
    }
    out[length] = static_cast<char>(mask);
    return length;
}

int UnmaskRecordName(const char* masked, char* out, std::uint8_t mask) {
    if (masked == nullptr || out == nullptr) {
        return -1;
    }
    std::size_t i = 0;
    while (i < 255 && static_cast<std::uint8_t>(masked[i]) != mask) {
        out[i] = static_cast<char>(static_cast<std::uint8_t>(masked[i]) ^ mask);
        ++i;
    }
    out[i] = '\0';
    return 0;
}

} // namespace zav
