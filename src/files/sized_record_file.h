// SizedRecordFile: the game's track lists, in 128-byte (kind 1) or 140-byte (kind 2) records.
#pragma once

#include <cstdint>
#include <string_view>

#include "files/record_list_file.h"

namespace zav {

inline constexpr std::uint8_t RECORD_MASK = 0x9D;
inline constexpr std::int32_t RECORD_KIND_SHORT = 1;
inline constexpr std::int32_t RECORD_KIND_LONG = 2;
inline constexpr std::int32_t RECORD_SIZE_SHORT = 128;
inline constexpr std::int32_t RECORD_SIZE_LONG = 140;
/// Bytes of a buffer that holds a record of either kind.
inline constexpr std::size_t RECORD_BUFFER_SIZE = 140;

/// Field offsets of the two record kinds; every text field ends with a byte 0x9D.
struct RecordLayout {
    int text1, name, text2, text3, text3Size, text4, flag, value1, byte1, byte2, value2;
};
inline constexpr int RECORD_TEXT1_SIZE = 20;
inline constexpr int RECORD_NAME_SIZE = 64;
inline constexpr int RECORD_TEXT2_SIZE = 13;
inline constexpr int RECORD_TEXT4_SIZE = 14;
inline constexpr RecordLayout kShortRecordLayout{0, 20, 84, 97, 15, -1, 112, 116, 120, 121, 124};
inline constexpr RecordLayout kLongRecordLayout{0, 20, 84, 97, 13, 110, 124, 128, 132, 133, 136};

/// A track list file: record i (from 1) at byte 4 + S × (i − 1), S the record size of the kind
/// given to Open. The name at offset 20 is masked with 0x9D. Reads and writes name the layout of
/// the caller's buffer and convert between the kinds field by field.
class SizedRecordFile final : public RecordListFile {
public:
    explicit SizedRecordFile(FileSystem& files) : RecordListFile(files) {}
    ~SizedRecordFile() { Close(); }

    SizedRecordFile(const SizedRecordFile&) = delete;
    SizedRecordFile& operator=(const SizedRecordFile&) = delete;

    /// 1 when the file is open and its count read (also for a kind other than 1 or 2, with which
    /// every record operation then fails); 0 when it did not open.
    int Open(std::string_view path, std::int32_t kind, bool writable);

    /// `out` filled with record `index` in the layout of `outKind` (1 or 2); bytes that a
    /// conversion does not write keep what `out` held. Null on failure.
    std::uint8_t* ReadRecord(std::int32_t index, std::uint8_t* out, std::int32_t outKind);

    /// `out` (256 bytes) holding the record's plain name; null on failure.
    char* GetName(std::int32_t index, char* out);

    /// As NameListFile::UnmaskName, with 0x9D as mask and terminator.
    static int UnmaskName(const char* masked, char* out);

    /// Writes `record`, laid out as `recordKind`, at `index` (appending when `index` < 1, one past
    /// the last record at most), converted to the file's kind. The index, or -1 on failure.
    std::int32_t WriteRecord(const std::uint8_t* record, std::int32_t recordKind,
                             std::int32_t index);

    /// Removes record `index`: later records move down one slot, the count drops, the file keeps
    /// its length. 1, or 0 on failure.
    int DeleteByIndex(std::int32_t index);

    /// The records the file really holds: the count, or fewer when the file ends before them.
    [[nodiscard]] std::int32_t CountHeld() { return RecordsHeld(recordSize_); }

    /// Record kind of the last successful Open; -1 before and after a failed one.
    [[nodiscard]] std::int32_t Kind() const { return kind_; }
    /// 128, 140, or 0 for another kind and before the first successful Open.
    [[nodiscard]] std::int32_t RecordSize() const { return recordSize_; }

private:
    std::int32_t kind_ = -1;
    std::int32_t recordSize_ = 0;
};

/// Converts a record between the kinds: texts copied as stored up to their terminator (and cut
/// to fit the destination field, which always gets its terminator), the flag cut to its bit 0
/// from kind 2 to kind 1, an empty Text4 from kind 1 to kind 2, the values copied. Destination
/// bytes no field covers are left as they are. False for kinds other than 1 and 2.
bool ConvertRecord(const std::uint8_t* source, std::int32_t sourceKind, std::uint8_t* destination,
                   std::int32_t destinationKind);

} // namespace zav
