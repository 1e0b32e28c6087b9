// NameListFile operations.
#include "files/name_list_file.h"

#include <cstring>

#include "platform/codepage.h"

namespace zav {
namespace {

std::int64_t RecordOffset(std::int64_t index) { return NAME_RECORD_SIZE * index - 124; }

} // namespace

int NameListFile::Open(std::string_view path, bool writable) { return OpenList(path, writable); }

std::uint8_t* NameListFile::ReadRecord(std::int32_t index, std::uint8_t* buffer) {
    if (index < 1 || index > count_ || !stream_.IsOpen() || buffer == nullptr) {
        return nullptr;
    }
    stream_.Seek(RecordOffset(index));
    if (!stream_.Check()) {
        return nullptr;
    }
    stream_.Read(buffer, NAME_RECORD_SIZE);
    if (!stream_.Check()) {
        return nullptr;
    }
    return buffer;
}

char* NameListFile::GetName(std::int32_t index, char* out) {
    if (index < 1 || index > count_ || !stream_.IsOpen() || out == nullptr) {
        return nullptr;
    }
    std::uint8_t record[NAME_RECORD_SIZE];
    if (ReadRecord(index, record) == nullptr) {
        return nullptr;
    }
    std::size_t length = 0;
    while (length < NAME_RECORD_SIZE && record[length] != NAME_MASK) {
        ++length;
    }
    std::memcpy(out, record, length);
    out[length] = static_cast<char>(NAME_MASK);
    return out;
}

int NameListFile::UnmaskName(const char* masked, char* out) {
    if (masked == nullptr || out == nullptr) {
        return -1;
    }
    std::size_t i = 0;
    while (i < 255 && static_cast<std::uint8_t>(masked[i]) != NAME_MASK) {
        out[i] = static_cast<char>(static_cast<std::uint8_t>(masked[i]) ^ NAME_MASK);
        ++i;
    }
    out[i] = '\0';
    return 0;
}

std::int32_t NameListFile::FindByName(const char* name) {
    if (!stream_.IsOpen() || count_ < 1 || name == nullptr) {
        return -1;
    }
    const std::int32_t held = RecordsHeld(NAME_RECORD_SIZE);
    for (std::int32_t i = 1; i <= held; ++i) {
        // One byte more than a record, so a name without terminator still ends inside it.
        std::uint8_t record[NAME_RECORD_SIZE + 1];
        record[NAME_RECORD_SIZE] = NAME_MASK;
        if (ReadRecord(i, record) == nullptr) {
            continue;
        }
        char* text = reinterpret_cast<char*>(record);
        UnmaskName(text, text);
        if (EqualsIgnoringAsciiCase(text, name)) {
            return i;
        }
    }
    return -1;
}

std::int32_t NameListFile::WriteRecord(const std::uint8_t* record, std::int32_t index) {
    if (!stream_.IsOpen() || record == nullptr) {
        return -1;
    }
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
    stream_.Seek(RecordOffset(target));
    if (!stream_.Check()) {
        return -1;
    }
    stream_.Write(record, NAME_RECORD_SIZE);
    if (!stream_.Check()) {
        return -1;
    }
    if (target <= count_) {
        return static_cast<std::int32_t>(target);
    }
    return WriteCount(static_cast<std::int32_t>(target)) ? static_cast<std::int32_t>(target) : -1;
}

int NameListFile::DeleteByName(const char* name) {
    const std::int32_t i = FindByName(name);
    if (i == -1) {
        return -2;
    }
    return RemoveRecord(i, NAME_RECORD_SIZE);
}

} // namespace zav
