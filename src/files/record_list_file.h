// What the two list-file classes share: the stream, the record count, the reading, writing and
// removing of records at their index, and the masking of names.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "files/record_stream.h"

namespace zav {

/// A list file: a 32-bit little-endian record count at byte 0, then fixed-size records numbered
/// from 1. Bytes behind the last counted record (left by a deletion) are not part of the list.
class RecordListFile {
public:
    RecordListFile(const RecordListFile&) = delete;
    RecordListFile& operator=(const RecordListFile&) = delete;

    /// Always 1; closes the file if one is open and sets the count to 0.
    int Close();
    /// The record count read at Open and kept up to date by appends and deletions.
    [[nodiscard]] std::int32_t Count() const { return count_; }
    [[nodiscard]] bool IsOpen() const { return stream_.IsOpen(); }
    /// Why the file last refused an open, a read or a write since Open (see
    /// RecordStream::LastCause); None when nothing the file did failed.
    [[nodiscard]] FileErrorCause LastCause() const { return stream_.LastCause(); }

protected:
    explicit RecordListFile(FileSystem& files) : stream_(files) {}
    ~RecordListFile() = default;

    /// Opens the stream and reads the count. A file too short for it (an empty one) gives count 0
    /// and leaves the stream failed until the next check. 1, or 0 with the count 0.
    int OpenList(std::string_view path, bool writable);
    /// Reads record `index` (1 to the count), `recordSize` bytes at 4 + recordSize × (index − 1),
    /// into `buffer`. False when the record is not counted, nothing is open, `buffer` is null,
    /// or the positioning or the read failed.
    bool ReadAt(std::int32_t index, std::uint8_t* buffer, std::int64_t recordSize);
    /// Writes `recordSize` bytes of `record` at `index`, or appends them when `index` < 1; `index`
    /// may be one past the last record at most. A record past the count grows the list: the
    /// count field is made first (EnsureCountField) and the grown count written after the
    /// record. The index written, or -1 on failure (also when the grown count could not be
    /// written back; the record's bytes may then be in the file beyond the count).
    std::int32_t WriteAt(const std::uint8_t* record, std::int64_t recordSize, std::int32_t index);
    /// How many records of `recordSize` bytes the file really holds, at most the count; the
    /// bound of every walk over the records, so a count larger than the file never makes one
    /// run through records that are not there.
    [[nodiscard]] std::int32_t RecordsHeld(std::int64_t recordSize);
    /// Writes `count` at byte 0 and makes it the object's count; false, with the object's count
    /// unchanged, when it could not be written, so the object goes on describing the file.
    bool WriteCount(std::int32_t count);
    /// Removes record `index` (1 to the count) by moving each later record one place down and
    /// writing the count less one. The last slot keeps its old record, now beyond the count, so
    /// the file keeps its length. 1 when done; 0 when a positioning or transfer failed, or when
    /// the file holds fewer records than its count (moving some of them and then failing would
    /// leave a record twice under an unchanged count).
    int RemoveRecord(std::int32_t index, std::int64_t recordSize);

    RecordStream stream_;
    std::int32_t count_ = 0;

private:
    /// Before an append: a file too short to hold its count (one just created) gets the count
    /// first, so that record 1 has its place at byte 4. False when it could not be written.
    bool EnsureCountField();
};

/// Copies the masked name at `field` up to its terminator byte `mask`, at most `fieldSize` bytes,
/// into `out` and stores `mask` after it: `out` needs `fieldSize` + 1 bytes. The name's length.
std::size_t CopyMaskedName(const std::uint8_t* field, std::size_t fieldSize, std::uint8_t mask,
                           char* out);
/// Unmasks (XOR with `mask`) the bytes of `masked` before its first byte `mask` into `out`, which
/// may be the same buffer, and terminates it with 0; at most 255 bytes are taken. 0, or -1 when
/// either pointer is null.
int UnmaskRecordName(const char* masked, char* out, std::uint8_t mask);

/// Little-endian 32-bit values inside records.
std::int32_t ReadInt32(const std::uint8_t* bytes);
void WriteInt32(std::uint8_t* bytes, std::int32_t value);

} // namespace zav
