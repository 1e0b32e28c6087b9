// Case variants of names for the mixed-case sample.
#include "tools/disk_spelling.h"

#include <array>

#include "tools/name_hash.h"

namespace zav {
namespace {

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string AllUpper(std::string_view name) {
    std::string out(name);
    for (char& c : out) {
        c = Upper(c);
    }
    return out;
}

std::string AllLower(std::string_view name) {
    std::string out(name);
    for (char& c : out) {
        c = Lower(c);
    }
    return out;
}

// "circuits.bin" becomes "Circuits.BIN".
std::string CapitalStemUpperExtension(std::string_view name) {
    std::string out = AllLower(name);
    if (!out.empty()) {
        out[0] = Upper(out[0]);
    }
    const std::size_t dot = out.rfind('.');
    if (dot != std::string::npos) {
        for (std::size_t i = dot + 1; i < out.size(); ++i) {
            out[i] = Upper(out[i]);
        }
    }
    return out;
}

} // namespace

std::string DiskSpelling(std::string_view name, bool mixedCase) {
    if (!mixedCase) {
        return std::string(name);
    }
    using Spelling = std::string (*)(std::string_view);
    constexpr std::array<Spelling, 3> kSpellings = {AllUpper, AllLower, CapitalStemUpperExtension};
    const std::size_t first = NameHash(name) % kSpellings.size();
    // At least one of the three differs from any name that holds a letter.
    for (std::size_t step = 0; step < kSpellings.size(); ++step) {
        std::string candidate = kSpellings[(first + step) % kSpellings.size()](name);
        if (candidate != name) {
            return candidate;
        }
    }
    return std::string(name);
}

} // namespace zav
