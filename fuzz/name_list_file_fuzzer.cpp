// Fuzz target: NameListFile opened on any bytes and driven through its operations.
#include <cstring>

#include "files/name_list_file.h"
#include "list_fuzz.h"
#include "memory_file_system.h"

namespace {

using zav::NAME_BUFFER_MIN;
using zav::NAME_MASK;
using zav::NAME_RECORD_SIZE;
using zav::NameListFile;
using zav::fuzz::ChooseIndex;
using zav::fuzz::CountField;
using zav::fuzz::FuzzInput;
using zav::fuzz::MemoryFileSystem;

constexpr const char* kPath = "C:\\ZAV\\Data\\Binary\\Scripts\\voiture2.bin";

// A name to look for: one of the file's own (so deletions find something) or the input's text.
std::string ChooseName(FuzzInput& input, NameListFile& list) {
    if (input.Byte() % 2 == 0) {
        char masked[256] = {};
        char plain[256] = {};
        if (list.GetName(1 + input.Byte() % 4, masked) != nullptr) {
            NameListFile::UnmaskName(masked, plain);
            return plain;
        }
    }
    return input.Text(40);
}

void CheckGetName(NameListFile& list, std::int32_t index) {
    char out[256];
    std::memset(out, 0x55, sizeof out);
    if (list.GetName(index, out) == nullptr) {
        return;
    }
    // The masked name ends with its masked terminator inside the caller's buffer.
    const void* end = std::memchr(out, NAME_MASK, NAME_BUFFER_MIN);
    ZAV_FUZZ_CHECK(end != nullptr);
    char plain[256];
    ZAV_FUZZ_CHECK(NameListFile::UnmaskName(out, plain) == 0);
    ZAV_FUZZ_CHECK(std::strlen(plain) < NAME_BUFFER_MIN);
}

// Whether the object's count still is the file's: true from an Open until a read or write fails.
bool synced = false;

void Write(FuzzInput& input, NameListFile& list, MemoryFileSystem& files) {
    std::uint8_t record[NAME_RECORD_SIZE] = {};
    input.Fill(record, sizeof record);
    const std::int32_t index = ChooseIndex(input, list.Count());
    const std::size_t sizeBefore = files.File(kPath).size();
    const std::int32_t written = list.WriteRecord(record, index);
    const std::vector<std::uint8_t>& file = files.File(kPath);
    ZAV_FUZZ_CHECK(file.size() >= sizeBefore);
    if (written < 1 || files.FaultCame()) {
        return;
    }
    // A write reported done is in the file, under the count the file now holds.
    const std::size_t at = static_cast<std::size_t>(NAME_RECORD_SIZE) * written - 124;
    ZAV_FUZZ_CHECK(at + NAME_RECORD_SIZE <= file.size());
    ZAV_FUZZ_CHECK(std::memcmp(file.data() + at, record, NAME_RECORD_SIZE) == 0);
    ZAV_FUZZ_CHECK(!synced || written <= CountField(file));
    ZAV_FUZZ_CHECK(!synced || CountField(file) == list.Count());
}

void Delete(FuzzInput& input, NameListFile& list, MemoryFileSystem& files) {
    const std::string name = ChooseName(input, list);
    const std::int32_t countBefore = list.Count();
    const std::size_t sizeBefore = files.File(kPath).size();
    const int deleted = list.DeleteByName(name.c_str());
    ZAV_FUZZ_CHECK(deleted == 1 || deleted == 0 || deleted == -2);
    // The file keeps its length whatever happened.
    ZAV_FUZZ_CHECK(files.File(kPath).size() == sizeBefore);
    if (deleted == 1 && !files.FaultCame()) {
        ZAV_FUZZ_CHECK(list.Count() == countBefore - 1);
        ZAV_FUZZ_CHECK(!synced || CountField(files.File(kPath)) == list.Count());
    }
    if (deleted == -2) {
        ZAV_FUZZ_CHECK(list.Count() == countBefore);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto [input, bytes] = zav::fuzz::SplitListInput(data, size);
    MemoryFileSystem files;
    files.File(kPath) = bytes;
    NameListFile list(files);
    synced = list.Open(kPath, true) == 1;
    for (int steps = 0; steps < 64 && !input.Empty(); ++steps) {
        files.FailTransferIn(0);
        const std::uint8_t operation = input.Byte();
        if (operation & 0x80) {
            // The next operation meets a failing read or write.
            files.FailTransferIn(1 + input.Byte() % 8);
        }
        switch (operation % 8) {
        case 0:
            synced = list.Open(kPath, (operation & 0x10) != 0) == 1 && !files.FaultCame();
            break;
        case 1:
            list.Close();
            break;
        case 2: {
            std::uint8_t record[NAME_RECORD_SIZE];
            list.ReadRecord(ChooseIndex(input, list.Count()), record);
            break;
        }
        case 3:
            CheckGetName(list, ChooseIndex(input, list.Count()));
            break;
        case 4: {
            const std::string name = ChooseName(input, list);
            const std::int32_t found = list.FindByName(name.c_str());
            ZAV_FUZZ_CHECK(found == -1 || (found >= 1 && found <= list.Count()));
            break;
        }
        case 5:
            Write(input, list, files);
            break;
        case 6:
            Delete(input, list, files);
            break;
        default:
            ZAV_FUZZ_CHECK(list.CountHeld() <= list.Count() || list.Count() < 1);
            ZAV_FUZZ_CHECK(list.CountHeld() >= 0);
            break;
        }
        synced = synced && !files.FaultCame();
    }
    return 0;
}
