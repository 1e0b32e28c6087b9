// List records and list files of the sample game and disc.
#include "tools/sample_list_records.h"

#include <algorithm>
#include <cstdio>

#include "files/name_list_file.h"
#include "files/sized_record_file.h"

namespace zav {
namespace {

using Record = std::vector<std::uint8_t>;

void PutInt32(Record& record, int offset, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) {
        record[static_cast<std::size_t>(offset + i)] = static_cast<std::uint8_t>(bits >> (8 * i));
    }
}

// The game's texts are masked byte by byte, terminator included; the text is cut so the
// terminator always lies inside its field.
void PutMaskedText(Record& record, int offset, int fieldSize, std::string_view text,
                   std::uint8_t mask) {
    const std::size_t length = std::min(text.size(), static_cast<std::size_t>(fieldSize - 1));
    auto at = static_cast<std::size_t>(offset);
    for (std::size_t i = 0; i < length; ++i) {
        record[at++] = static_cast<std::uint8_t>(static_cast<std::uint8_t>(text[i]) ^ mask);
    }
    record[at] = mask;
}

} // namespace

std::vector<std::uint8_t> SampleCarRecord(std::string_view name, int serial) {
    Record record(static_cast<std::size_t>(NAME_RECORD_SIZE), 0);
    PutMaskedText(record, 0, static_cast<int>(NAME_RECORD_SIZE), name, NAME_MASK);
    // Values behind the name that no part of the tool reads: they only make records differ.
    if (name.size() < 112) {
        PutInt32(record, 112, serial);
        PutInt32(record, 116, 180 + 7 * serial);
        PutInt32(record, 120, 900 + 25 * serial);
        PutInt32(record, 124, 0x5A560000 | (serial & 0xFFFF));
    }
    return record;
}

std::vector<std::uint8_t> SampleTrackRecord(std::string_view name, int kind, int serial) {
    const bool longKind = kind == RECORD_KIND_LONG;
    if (kind != RECORD_KIND_SHORT && !longKind) {
        return {};
    }
    const RecordLayout& layout = longKind ? kLongRecordLayout : kShortRecordLayout;
    Record record(static_cast<std::size_t>(longKind ? RECORD_SIZE_LONG : RECORD_SIZE_SHORT), 0);
    char code[16];
    std::snprintf(code, sizeof code, "TRK%03d", serial % 1000);
    PutMaskedText(record, layout.text1, RECORD_TEXT1_SIZE, code, RECORD_MASK);
    PutMaskedText(record, layout.name, RECORD_NAME_SIZE, name, RECORD_MASK);
    PutMaskedText(record, layout.text2, RECORD_TEXT2_SIZE, "Sample", RECORD_MASK);
    PutMaskedText(record, layout.text3, layout.text3Size, serial % 2 == 0 ? "Day" : "Night",
                  RECORD_MASK);
    if (longKind) {
        PutMaskedText(record, layout.text4, RECORD_TEXT4_SIZE, "Dry", RECORD_MASK);
    }
    PutInt32(record, layout.flag, 1);
    PutInt32(record, layout.value1, 2400 + 150 * serial);
    record[static_cast<std::size_t>(layout.byte1)] = static_cast<std::uint8_t>(3 + serial % 3);
    record[static_cast<std::size_t>(layout.byte2)] = static_cast<std::uint8_t>(serial % 4);
    PutInt32(record, layout.value2, 60000 + 1000 * serial);
    return record;
}

std::vector<std::uint8_t> SampleListFile(const std::vector<std::vector<std::uint8_t>>& records) {
    Record bytes(4, 0);
    PutInt32(bytes, 0, static_cast<std::int32_t>(records.size()));
    for (const Record& record : records) {
        bytes.insert(bytes.end(), record.begin(), record.end());
    }
    return bytes;
}

} // namespace zav
