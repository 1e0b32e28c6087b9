// Fuzz target: SizedRecordFile of any kind opened on any bytes and driven through its operations,
// and the conversion between the record kinds.
#include <cstring>

#include "files/sized_record_file.h"
#include "list_fuzz.h"
#include "memory_file_system.h"

namespace {

using zav::RECORD_BUFFER_SIZE;
using zav::RECORD_KIND_LONG;
using zav::RECORD_KIND_SHORT;
using zav::RECORD_MASK;
using zav::SizedRecordFile;
using zav::fuzz::ChooseIndex;
using zav::fuzz::CountField;
using zav::fuzz::FuzzInput;
using zav::fuzz::MemoryFileSystem;

constexpr const char* kPath = "C:\\ZAV\\Data\\Binary\\Scripts\\circuits.bin";

// Kinds 1 and 2 mostly, and now and then one the file classes must refuse.
std::int32_t ChooseKind(FuzzInput& input) {
    const std::uint8_t choice = input.Byte();
    return choice < 120 ? RECORD_KIND_SHORT : choice < 240 ? RECORD_KIND_LONG : choice % 5 - 1;
}

std::int32_t SizeOf(std::int32_t kind) {
    return kind == RECORD_KIND_SHORT ? 128 : kind == RECORD_KIND_LONG ? 140 : 0;
}

bool synced = false;

void Read(FuzzInput& input, SizedRecordFile& list) {
    std::uint8_t out[RECORD_BUFFER_SIZE + 16];
    std::memset(out, 0xA5, sizeof out);
    const std::int32_t kind = ChooseKind(input);
    if (list.ReadRecord(ChooseIndex(input, list.Count()), out, kind) != nullptr) {
        ZAV_FUZZ_CHECK(SizeOf(kind) != 0);
    }
    // Nothing is written behind the record's own size.
    for (std::size_t i = RECORD_BUFFER_SIZE; i < sizeof out; ++i) {
        ZAV_FUZZ_CHECK(out[i] == 0xA5);
    }
}

void GetName(FuzzInput& input, SizedRecordFile& list) {
    char out[256];
    if (list.GetName(ChooseIndex(input, list.Count()), out) != nullptr) {
        ZAV_FUZZ_CHECK(std::memchr(out, '\0', sizeof out) != nullptr);
    }
    // A masked text of the input's, longer than any name field at most.
    char masked[300];
    const std::string text = input.Text(280);
    text.copy(masked, text.size());
    masked[text.size()] = static_cast<char>(RECORD_MASK);
    char plain[256];
    ZAV_FUZZ_CHECK(SizedRecordFile::UnmaskName(masked, plain) == 0);
    ZAV_FUZZ_CHECK(std::strlen(plain) < sizeof plain);
}

void Write(FuzzInput& input, SizedRecordFile& list, MemoryFileSystem& files) {
    std::uint8_t record[RECORD_BUFFER_SIZE] = {};
    input.Fill(record, sizeof record);
    const std::int32_t recordKind = ChooseKind(input);
    const std::int32_t index = ChooseIndex(input, list.Count());
    const std::size_t sizeBefore = files.File(kPath).size();
    const std::int32_t written = list.WriteRecord(record, recordKind, index);
    const std::vector<std::uint8_t>& file = files.File(kPath);
    ZAV_FUZZ_CHECK(file.size() >= sizeBefore);
    if (written < 1 || files.FaultCame()) {
        return;
    }
    ZAV_FUZZ_CHECK(list.RecordSize() != 0 && SizeOf(recordKind) != 0);
    const auto at = 4 + static_cast<std::size_t>(list.RecordSize()) * (written - 1);
    ZAV_FUZZ_CHECK(at + static_cast<std::size_t>(list.RecordSize()) <= file.size());
    ZAV_FUZZ_CHECK(!synced || (written <= CountField(file) && CountField(file) == list.Count()));
    // A record of the file's own kind reads back as it was written.
    if (recordKind == list.Kind()) {
        std::uint8_t back[RECORD_BUFFER_SIZE] = {};
        if (list.ReadRecord(written, back, recordKind) != nullptr && !files.FaultCame()) {
            char a[256];
            char b[256];
            std::memcpy(a, record + 20, 64);
            a[64] = static_cast<char>(RECORD_MASK);
            std::memcpy(b, back + 20, 64);
            b[64] = static_cast<char>(RECORD_MASK);
            SizedRecordFile::UnmaskName(a, a);
            SizedRecordFile::UnmaskName(b, b);
            ZAV_FUZZ_CHECK(std::strncmp(a, b, 63) == 0);
        }
    }
}

void Delete(FuzzInput& input, SizedRecordFile& list, MemoryFileSystem& files) {
    const std::int32_t index = ChooseIndex(input, list.Count());
    const std::int32_t countBefore = list.Count();
    const std::size_t sizeBefore = files.File(kPath).size();
    const int deleted = list.DeleteByIndex(index);
    ZAV_FUZZ_CHECK(deleted == 0 || deleted == 1);
    ZAV_FUZZ_CHECK(files.File(kPath).size() == sizeBefore);
    if (deleted == 1) {
        ZAV_FUZZ_CHECK(index >= 1 && index <= countBefore);
        if (!files.FaultCame()) {
            ZAV_FUZZ_CHECK(list.Count() == countBefore - 1);
            ZAV_FUZZ_CHECK(!synced || CountField(files.File(kPath)) == list.Count());
        }
    } else if (!files.FaultCame()) {
        ZAV_FUZZ_CHECK(list.Count() == countBefore);
    }
}

void Convert(FuzzInput& input) {
    std::uint8_t source[RECORD_BUFFER_SIZE] = {};
    input.Fill(source, sizeof source);
    const std::int32_t from = ChooseKind(input);
    const std::int32_t to = ChooseKind(input);
    std::uint8_t destination[RECORD_BUFFER_SIZE + 16];
    std::memset(destination, 0x3C, sizeof destination);
    const bool converted = zav::ConvertRecord(source, from, destination, to);
    ZAV_FUZZ_CHECK(converted == (SizeOf(from) != 0 && SizeOf(to) != 0));
    for (std::size_t i = static_cast<std::size_t>(SizeOf(to)); i < sizeof destination; ++i) {
        ZAV_FUZZ_CHECK(destination[i] == 0x3C);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto [input, bytes] = zav::fuzz::SplitListInput(data, size);
    MemoryFileSystem files;
    files.File(kPath) = bytes;
    SizedRecordFile list(files);
    synced = list.Open(kPath, ChooseKind(input), true) == 1;
    for (int steps = 0; steps < 64 && !input.Empty(); ++steps) {
        files.FailTransferIn(0);
        const std::uint8_t operation = input.Byte();
        if (operation & 0x80) {
            files.FailTransferIn(1 + input.Byte() % 8);
        }
        switch (operation % 8) {
        case 0:
            synced = list.Open(kPath, ChooseKind(input), (operation & 0x10) != 0) == 1 &&
                     !files.FaultCame();
            break;
        case 1:
            list.Close();
            break;
        case 2:
            Read(input, list);
            break;
        case 3:
            GetName(input, list);
            break;
        case 4:
            Convert(input);
            break;
        case 5:
            Write(input, list, files);
            break;
        case 6:
            Delete(input, list, files);
            break;
        default:
            ZAV_FUZZ_CHECK(list.CountHeld() >= 0);
            ZAV_FUZZ_CHECK(list.CountHeld() <= list.Count() || list.Count() < 1);
            break;
        }
        synced = synced && !files.FaultCame();
    }
    return 0;
}
