// Fuzz target: SizedRecordFile of any kind opened on any bytes and driven through its operations,
// and the conversion between the record kinds.
#include <cstring>

#include "files/sized_record_file.h"
#include "list_fuzz.h"

namespace {

using zav::RECORD_BUFFER_SIZE;
using zav::SizedRecordFile;
using Fuzz = zav::fuzz::ListFuzz<SizedRecordFile>;

// Kinds 1 and 2 mostly, and now and then one the file classes must refuse.
std::int32_t ChooseKind(Fuzz& fuzz) {
    const std::uint8_t choice = fuzz.input.Byte();
    return choice < 120 ? 1 : choice < 240 ? 2 : choice % 5 - 1;
}

const auto SizeOf = [](std::int32_t kind) { return kind == 1 ? 128 : kind == 2 ? 140 : 0; };

void GetName(Fuzz& fuzz) {
    char out[256], plain[256], masked[300]; // a masked text longer than any name field at most
    if (fuzz.list.GetName(fuzz.Index(), out) != nullptr) {
        ZAV_FUZZ_CHECK(std::memchr(out, '\0', sizeof out) != nullptr);
    }
    const std::string text = fuzz.input.Text(280);
    text.copy(masked, text.size());
    masked[text.size()] = static_cast<char>(zav::RECORD_MASK);
    ZAV_FUZZ_CHECK(SizedRecordFile::UnmaskName(masked, plain) == 0);
    ZAV_FUZZ_CHECK(std::strlen(plain) < sizeof plain);
}

// Neither a read nor a conversion writes behind the record's own size.
void ReadOrConvert(Fuzz& fuzz, bool convert) {
    std::uint8_t source[RECORD_BUFFER_SIZE] = {}, out[RECORD_BUFFER_SIZE + 16];
    std::memset(out, 0xA5, sizeof out);
    std::int32_t kind = 0;
    if (convert) {
        std::ranges::copy(fuzz.input.Bytes(sizeof source), source);
        const std::int32_t from = ChooseKind(fuzz);
        kind = ChooseKind(fuzz);
        const bool converted = zav::ConvertRecord(source, from, out, kind);
        ZAV_FUZZ_CHECK(converted == (SizeOf(from) != 0 && SizeOf(kind) != 0));
    } else {
        kind = ChooseKind(fuzz);
        ZAV_FUZZ_CHECK(fuzz.list.ReadRecord(fuzz.Index(), out, kind) == nullptr || SizeOf(kind));
    }
    for (auto i = static_cast<std::size_t>(SizeOf(kind)); i < sizeof out; ++i) {
        ZAV_FUZZ_CHECK(out[i] == 0xA5);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Fuzz fuzz(data, size);
    SizedRecordFile& list = fuzz.list;
    fuzz.synced = list.Open(Fuzz::kPath, ChooseKind(fuzz), true) == 1;
    fuzz.Run([&](std::uint8_t operation) {
        const std::size_t sizeBefore = fuzz.File().size();
        const std::int32_t countBefore = list.Count();
        switch (operation % 8) {
        case 0:
            fuzz.synced = list.Open(Fuzz::kPath, ChooseKind(fuzz), (operation & 0x10) != 0) == 1 &&
                          !fuzz.files.faultCame;
            break;
        case 2:
        case 4:
            ReadOrConvert(fuzz, operation % 8 == 4);
            break;
        case 3:
            GetName(fuzz);
            break;
        case 5: {
            std::uint8_t record[RECORD_BUFFER_SIZE] = {};
            std::ranges::copy(fuzz.input.Bytes(sizeof record), record);
            const std::int32_t kind = ChooseKind(fuzz);
            const std::int32_t written = list.WriteRecord(record, kind, fuzz.Index());
            if (fuzz.CheckWrite(sizeBefore, written, list.RecordSize())) {
                ZAV_FUZZ_CHECK(list.RecordSize() != 0 && SizeOf(kind) != 0);
            }
            break;
        }
        default: {
            const std::int32_t index = fuzz.Index();
            const int deleted = list.DeleteByIndex(index);
            ZAV_FUZZ_CHECK(deleted == 0 || (deleted == 1 && index >= 1 && index <= countBefore));
            fuzz.CheckDelete(sizeBefore, countBefore, deleted);
        }
        }
    });
    return 0;
}
