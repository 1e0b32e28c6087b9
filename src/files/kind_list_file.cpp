// KindListFile: the car and track list files behind one interface.
#include "files/kind_list_file.h"

namespace zav {

KindListFile::KindListFile(FileSystem& files, DataKind kind, std::int32_t trackRecordKind)
    : cars_(kind == DataKind::Cars), trackRecordKind_(trackRecordKind), carList_(files),
      trackList_(files) {}

bool KindListFile::Open(std::string_view path, bool writable) {
    return cars_ ? carList_.Open(path, writable) != 0
                 : trackList_.Open(path, trackRecordKind_, writable) != 0;
}

void KindListFile::Close() {
    carList_.Close();
    trackList_.Close();
}

std::int32_t KindListFile::CountHeld() {
    return cars_ ? carList_.CountHeld() : trackList_.CountHeld();
}

std::int32_t KindListFile::Count() const {
    return cars_ ? carList_.Count() : trackList_.Count();
}

FileErrorCause KindListFile::LastCause() const {
    return cars_ ? carList_.LastCause() : trackList_.LastCause();
}

bool KindListFile::PlainName(std::int32_t index, char* out) {
    if (cars_) {
        return carList_.GetName(index, out) != nullptr && NameListFile::UnmaskName(out, out) == 0;
    }
    return trackList_.GetName(index, out) != nullptr;
}

bool KindListFile::ReadRecord(std::int32_t index, std::uint8_t* record) {
    return cars_ ? carList_.ReadRecord(index, record) != nullptr
                 : trackList_.ReadRecord(index, record, trackRecordKind_) != nullptr;
}

std::int32_t KindListFile::WriteRecord(const std::uint8_t* record, std::int32_t index) {
    return cars_ ? carList_.WriteRecord(record, index)
                 : trackList_.WriteRecord(record, trackRecordKind_, index);
}

} // namespace zav
