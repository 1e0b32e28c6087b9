// Shared stream and count handling of the list files.
#include "files/record_list_file.h"

#include <algorithm>

namespace zav {

std::int32_t ReadInt32(const std::uint8_t* bytes) {
    const std::uint32_t value = static_cast<std::uint32_t>(bytes[0]) |
                                (static_cast<std::uint32_t>(bytes[1]) << 8) |
                                (static_cast<std::uint32_t>(bytes[2]) << 16) |
                                (static_cast<std::uint32_t>(bytes[3]) << 24);
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

bool RecordListFile::EnsureCountField() { return stream_.Size() >= 4 || WriteCount(count_); }

} // namespace zav
