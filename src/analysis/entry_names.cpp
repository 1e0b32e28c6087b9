// Name normalisation and path-safety checks.
#include "analysis/entry_names.h"

#include <algorithm>

#include "platform/codepage.h"

namespace zav {
namespace {

bool IsLowerCaseLetter(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7);
}

} // namespace

void NormaliseName(NameText& name) {
    char* text = name.data();
    const std::size_t length = name.size();
    for (std::size_t i = 0; i < length; ++i) {
        if (text[i] >= 'A' && text[i] <= 'Z') {
            text[i] = static_cast<char>(text[i] + 32);
        }
    }
    if (length > 0 && IsLowerCaseLetter(static_cast<unsigned char>(text[0]))) {
        text[0] = static_cast<char>(static_cast<unsigned char>(text[0]) - 32);
    }
}

bool SameEntryName(std::string_view a, std::string_view b) {
    NameText first;
    NameText second;
    first.AssignCut(a);
    second.AssignCut(b);
    NormaliseName(first);
    NormaliseName(second);
    return EqualsIgnoringAsciiCase(first.view(), second.view());
}

bool IsSafeEntryName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") {
        return false;
    }
    // A control character (a tab, a line end) could not be written into the history's manifest
    // as it is, and a name the manifest changes would lead undo and Trash to another file.
    const bool control = std::any_of(name.begin(), name.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || c == '\x7F';
    });
    return !control && name.find_first_of("\\/:") == std::string_view::npos;
}

std::string SecondRecordFileName(std::string_view name) {
    std::string second(name);
    if (!second.empty()) {
        second[0] = '-';
    }
    return second;
}

} // namespace zav
