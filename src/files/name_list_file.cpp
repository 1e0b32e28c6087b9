// NameListFile operations.
#include "files/name_list_file.h"

#include "platform/codepage.h"

namespace zav {

int NameListFile::Open(std::string_view path, bool writable) {
    return OpenList(path, writable);
}

std::uint8_t* NameListFile::ReadRecord(std::int32_t index, std::uint8_t* buffer) {
    return ReadAt(index, buffer, NAME_RECORD_SIZE) ? buffer : nullptr;
}

char* NameListFile::GetName(std::int32_t index, char* out) {
    if (out == nullptr) {
        return nullptr;
    }
    std::uint8_t record[NAME_RECORD_SIZE];
    if (ReadRecord(index, record) == nullptr) {
        return nullptr;
    }
    CopyMaskedName(record, NAME_RECORD_SIZE, NAME_MASK, out);
    return out;
}

int NameListFile::UnmaskName(const char* masked, char* out) {
    return UnmaskRecordName(masked, out, NAME_MASK);
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
    return WriteAt(record, NAME_RECORD_SIZE, index);
}

int NameListFile::DeleteByName(const char* name) {
    const std::int32_t i = FindByName(name);
    if (i == -1) {
        return -2;
    }
    return RemoveRecord(i, NAME_RECORD_SIZE);
}

} // namespace zav
