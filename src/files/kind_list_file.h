// One interface over the car list and the track list files, for code that serves both kinds.
#pragma once

#include <cstdint>
#include <string_view>

#include "files/data_kind.h"
#include "files/name_list_file.h"
#include "files/sized_record_file.h"

namespace zav {

/// The car list (NameListFile) or the track list (SizedRecordFile of `trackRecordKind`, the
/// game's version) of `kind`. Records are handled in the file's own layout; RECORD_BUFFER_SIZE
/// bytes hold one.
class KindListFile {
public:
    KindListFile(FileSystem& files, DataKind kind, std::int32_t trackRecordKind);

    bool Open(std::string_view path, bool writable);
    void Close();
    [[nodiscard]] std::int32_t Count() const;
    /// Why the file last refused an open, a read or a write (see RecordListFile::LastCause).
    [[nodiscard]] FileErrorCause LastCause() const;
    /// How many records the file really holds, at most the count.
    [[nodiscard]] std::int32_t CountHeld();
    /// The plain (unmasked) name of record `index`; false when it cannot be read.
    bool PlainName(std::int32_t index, char* out);
    bool ReadRecord(std::int32_t index, std::uint8_t* record);
    /// Writes at `index` (appends when `index` < 1); the index written, or -1.
    std::int32_t WriteRecord(const std::uint8_t* record, std::int32_t index);

private:
    bool cars_;
    std::int32_t trackRecordKind_;
    NameListFile carList_;
    SizedRecordFile trackList_;
};

} // namespace zav
