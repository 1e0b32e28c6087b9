// SizedRecordFile operations and the conversion between the two record kinds.
#include "files/sized_record_file.h"

#include <algorithm>
#include <cstring>

namespace zav {
namespace {

std::int32_t SizeOfKind(std::int32_t kind) {
    if (kind == RECORD_KIND_SHORT) {
        return RECORD_SIZE_SHORT;
    }
    if (kind == RECORD_KIND_LONG) {
        return RECORD_SIZE_LONG;
    }
    return 0;
}

const RecordLayout& LayoutOf(std::int32_t kind) {
    return kind == RECORD_KIND_SHORT ? kShortRecordLayout : kLongRecordLayout;
}

// Copies a text up to its 0x9D terminator and stores the terminator after it, keeping both
// inside the destination field.
void CopyText(const std::uint8_t* source, int sourceSize, std::uint8_t* destination,
              int destinationSize) {
    const int limit = std::min(sourceSize, destinationSize - 1);
    int length = 0;
    while (length < limit && source[length] != RECORD_MASK) {
        destination[length] = source[length];
        ++length;
    }
    destination[length] = RECORD_MASK;
}

void CopyBytes(const std::uint8_t* source, int from, std::uint8_t* destination, int to, int count) {
    std::memcpy(destination + to, source + from, static_cast<std::size_t>(count));
}

} // namespace

bool ConvertRecord(const std::uint8_t* source, std::int32_t sourceKind, std::uint8_t* destination,
                   std::int32_t destinationKind) {
    if (SizeOfKind(sourceKind) == 0 || SizeOfKind(destinationKind) == 0) {
        return false;
    }
    if (sourceKind == destinationKind) {
        std::memcpy(destination, source, static_cast<std::size_t>(SizeOfKind(sourceKind)));
        return true;
    }
    const RecordLayout& from = LayoutOf(sourceKind);
    const RecordLayout& to = LayoutOf(destinationKind);
    CopyText(source + from.text1, RECORD_TEXT1_SIZE, destination + to.text1, RECORD_TEXT1_SIZE);
    CopyText(source + from.name, RECORD_NAME_SIZE, destination + to.name, RECORD_NAME_SIZE);
    CopyText(source + from.text2, RECORD_TEXT2_SIZE, destination + to.text2, RECORD_TEXT2_SIZE);
    CopyText(source + from.text3, from.text3Size, destination + to.text3, to.text3Size);
    if (destinationKind == RECORD_KIND_SHORT) {
        WriteInt32(destination + to.flag, ReadInt32(source + from.flag) & 1);
    } else {
        destination[to.text4] = RECORD_MASK;
        CopyBytes(source, from.flag, destination, to.flag, 4);
    }
    CopyBytes(source, from.value1, destination, to.value1, 4);
    destination[to.byte1] = source[from.byte1];
    destination[to.byte2] = source[from.byte2];
    CopyBytes(source, from.value2, destination, to.value2, 4);
    return true;
}

int SizedRecordFile::Open(std::string_view path, std::int32_t kind, bool writable) {
    kind_ = -1;
    if (OpenList(path, writable) == 0) {
        return 0;
    }
    kind_ = kind;
    recordSize_ = SizeOfKind(kind);
    return 1;
}

std::uint8_t* SizedRecordFile::ReadRecord(std::int32_t index, std::uint8_t* out,
                                          std::int32_t outKind) {
    if (out == nullptr) {
        return nullptr;
    }
    std::uint8_t scratch[RECORD_BUFFER_SIZE] = {};
    if (!ReadAt(index, scratch, recordSize_)) {
        return nullptr;
    }
    return ConvertRecord(scratch, kind_, out, outKind) ? out : nullptr;
}

char* SizedRecordFile::GetName(std::int32_t index, char* out) {
    if (out == nullptr) {
        return nullptr;
    }
    std::uint8_t record[RECORD_BUFFER_SIZE];
    if (ReadRecord(index, record, kind_) == nullptr) {
        return nullptr;
    }
    CopyMaskedName(record + kLongRecordLayout.name, RECORD_NAME_SIZE, RECORD_MASK, out);
    UnmaskName(out, out);
    return out;
}

int SizedRecordFile::UnmaskName(const char* masked, char* out) {
    return UnmaskRecordName(masked, out, RECORD_MASK);
}

std::int32_t SizedRecordFile::WriteRecord(const std::uint8_t* record, std::int32_t recordKind,
                                          std::int32_t index) {
    if (!IsOpen() || record == nullptr || SizeOfKind(recordKind) == 0 || recordSize_ == 0) {
        return -1;
    }
    // Bytes that a conversion leaves unwritten are stored as zeros.
    std::uint8_t scratch[RECORD_BUFFER_SIZE] = {};
    if (!ConvertRecord(record, recordKind, scratch, kind_)) {
        return -1;
    }
    return WriteAt(scratch, recordSize_, index);
}

int SizedRecordFile::DeleteByIndex(std::int32_t index) {
    return RemoveRecord(index, recordSize_);
}

} // namespace zav
