// Fuzz target: NameListFile opened on any bytes and driven through its operations.
#include <cstring>

#include "files/name_list_file.h"
#include "list_fuzz.h"

namespace {

using zav::NAME_BUFFER_MIN;
using zav::NAME_RECORD_SIZE;
using zav::NameListFile;
using Fuzz = zav::fuzz::ListFuzz<NameListFile>;

// A name to look for: one of the file's own (so deletions find something) or the input's text.
std::string ChooseName(Fuzz& fuzz) {
    char masked[256] = {}, plain[256] = {};
    if (fuzz.input.Byte() % 2 == 0 && fuzz.list.GetName(1 + fuzz.input.Byte() % 4, masked)) {
        NameListFile::UnmaskName(masked, plain);
        return plain;
    }
    return fuzz.input.Text(40);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Fuzz fuzz(data, size);
    NameListFile& list = fuzz.list;
    fuzz.synced = list.Open(Fuzz::kPath, true) == 1;
    fuzz.Run([&](std::uint8_t operation) {
        std::uint8_t record[NAME_RECORD_SIZE] = {};
        char out[256], plain[256];
        const std::size_t sizeBefore = fuzz.File().size();
        const std::int32_t countBefore = list.Count();
        switch (operation % 8) {
        case 0:
            fuzz.synced =
                list.Open(Fuzz::kPath, (operation & 0x10) != 0) == 1 && !fuzz.files.faultCame;
            break;
        case 2:
            list.ReadRecord(fuzz.Index(), record);
            break;
        case 3: // the masked name ends with its masked terminator inside the caller's buffer
            std::memset(out, 0x55, sizeof out);
            if (list.GetName(fuzz.Index(), out) != nullptr) {
                ZAV_FUZZ_CHECK(std::memchr(out, zav::NAME_MASK, NAME_BUFFER_MIN) != nullptr);
                ZAV_FUZZ_CHECK(NameListFile::UnmaskName(out, plain) == 0);
                ZAV_FUZZ_CHECK(std::strlen(plain) < NAME_BUFFER_MIN);
            }
            break;
        case 4: {
            const std::int32_t found = list.FindByName(ChooseName(fuzz).c_str());
            ZAV_FUZZ_CHECK(found == -1 || (found >= 1 && found <= list.Count()));
            break;
        }
        case 5: {
            std::ranges::copy(fuzz.input.Bytes(sizeof record), record);
            const std::int32_t written = list.WriteRecord(record, fuzz.Index());
            if (fuzz.CheckWrite(sizeBefore, written, NAME_RECORD_SIZE)) {
                const std::uint8_t* at = fuzz.File().data() + 4 + NAME_RECORD_SIZE * (written - 1);
                ZAV_FUZZ_CHECK(std::memcmp(at, record, NAME_RECORD_SIZE) == 0);
            }
            break;
        }
        default: {
            const int deleted = list.DeleteByName(ChooseName(fuzz).c_str());
            ZAV_FUZZ_CHECK(deleted == 1 || deleted == 0 || deleted == -2);
            fuzz.CheckDelete(sizeBefore, countBefore, deleted);
        }
        }
    });
    return 0;
}
