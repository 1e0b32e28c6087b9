// Fuzz target: the settings-file reader on any text, with any section, key and buffer size.
#include <cstring>

#include "fuzz_input.h"
#include "platform/profile_reader.h"

namespace {

// A value never holds a line break nor starts or ends with a blank, and its result fits the buffer.
void CheckLookup(std::string_view text, std::string_view section, std::string_view key,
                 std::size_t bufferSize) {
    if (const auto value = zav::FindProfileValue(text, section, key)) {
        ZAV_FUZZ_CHECK(value->find('\n') == std::string::npos);
        const auto blank = [](char c) { return c != 0 && std::strchr(" \t\r\v\f", c); };
        ZAV_FUZZ_CHECK(value->empty() || (!blank(value->front()) && !blank(value->back())));
        const std::string result = zav::ProfileResult(*value, bufferSize);
        ZAV_FUZZ_CHECK(bufferSize == 0 ? result.empty() : result.size() < bufferSize);
        ZAV_FUZZ_CHECK(result.size() <= value->size());
    }
}

} // namespace

// The input: the buffer size, the section, the key (each a length byte and its bytes), then the
// settings file's text.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zav::fuzz::FuzzInput input(data, size);
    const std::size_t bufferSize = input.Byte() * 2u;
    const std::string section = input.Text(16), key = input.Text(16);
    const std::vector<std::uint8_t> bytes = input.Bytes(size);
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    CheckLookup(text, section, key, bufferSize);
    CheckLookup(text, "ZAV", "Directory", 256); // the lookups the tool itself makes
    CheckLookup(text, "ZAV2_0", "Language", 30);
    return 0;
}
