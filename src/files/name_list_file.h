// NameListFile: the game's car lists, 128-byte records that begin with a masked name.
#pragma once

#include <cstdint>
#include <string_view>

#include "files/record_list_file.h"

namespace zav {

inline constexpr std::uint8_t NAME_MASK = 0xB7;
inline constexpr std::int64_t NAME_RECORD_SIZE = 128;
/// Bytes a caller's buffer needs for GetName: a whole record without terminator and the masked
/// terminator after it. The callers pass 256-byte buffers.
inline constexpr std::size_t NAME_BUFFER_MIN = NAME_RECORD_SIZE + 1;

/// A car list file: record i (from 1) at byte 128 × i − 124. A name is stored XORed with 0xB7,
/// terminator included, so in the file it ends at its first byte 0xB7. Names are compared without
/// regard to ASCII case. No operation throws; results follow the game tool's conventions
/// (1/0, an index or -1, -2 for a name that is not there, or a null pointer).
class NameListFile final : public RecordListFile {
public:
    explicit NameListFile(FileSystem& files) : RecordListFile(files) {}
    ~NameListFile() { Close(); }

    NameListFile(const NameListFile&) = delete;
    NameListFile& operator=(const NameListFile&) = delete;

    /// 1 when the file is open and its count read; 0 when it did not open (count 0).
    /// Read-only needs an existing file; writable creates a missing file empty.
    int Open(std::string_view path, bool writable);

    /// `buffer` (128 bytes) filled with record `index`; null when the record is not there or the
    /// read failed.
    std::uint8_t* ReadRecord(std::int32_t index, std::uint8_t* buffer);

    /// `out` (at least NAME_BUFFER_MIN bytes) holding the record's name still masked and its
    /// masked terminator 0xB7; a name without terminator in its record is taken whole. Null on
    /// failure.
    char* GetName(std::int32_t index, char* out);

    /// Unmasks the bytes of `masked` before its first 0xB7 into `out` (may be the same buffer)
    /// and terminates it; at most 255 bytes are taken. 0, or -1 when either pointer is null.
    static int UnmaskName(const char* masked, char* out);

    /// Index of the first record named `name` ignoring case; -1 when none (or nothing is open).
    std::int32_t FindByName(const char* name);

    /// Writes `record` (128 bytes) at `index`, or appends it when `index` < 1; `index` may be one
    /// past the last record at most. The index written, or -1 on failure (also when the grown
    /// count could not be written back).
    std::int32_t WriteRecord(const std::uint8_t* record, std::int32_t index);

    /// Removes the first record named `name` (ignoring case): later records move down one slot,
    /// the count drops by one and the file keeps its length. 1; -2 when no record has that name;
    /// 0 when a file operation failed.
    int DeleteByName(const char* name);

    /// Removes record `index` as DeleteByName removes the record it finds: for a repeated name,
    /// whose later records DeleteByName never reaches. 1, or 0 on failure.
    int DeleteByIndex(std::int32_t index) { return RemoveRecord(index, NAME_RECORD_SIZE); }
    /// The records the file really holds: the count, or fewer when the file ends before them.
    [[nodiscard]] std::int32_t CountHeld() { return RecordsHeld(NAME_RECORD_SIZE); }
};

} // namespace zav
