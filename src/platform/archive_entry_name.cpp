// Which entry names of a pack may be unpacked, and which file names are packs.
#include "platform/archive_entry_name.h"

#include <algorithm>
#include <array>

#include "platform/codepage.h"
#include "platform/windows_names.h"

namespace zav {
namespace {

bool IsUnwritableByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F || c == '<' || c == '>' || c == '"' || c == '|' ||
           c == '?' || c == '*';
}

} // namespace

std::optional<std::string> CheckEntryName(std::string_view name, UnpackFailure& failure) {
    failure = UnpackFailure::None;
    if (!name.empty() && (name.front() == '/' || name.front() == '\\')) {
        failure = UnpackFailure::UnsafeName;
        return std::nullopt;
    }
    const auto text = Utf8ToCp1252(name);
    std::string checked;
    std::size_t start = 0;
    while (start <= name.size()) {
        const std::size_t end = std::min(name.find_first_of("/\\", start), name.size());
        const std::string_view part = name.substr(start, end - start);
        start = end + 1;
        if (part.empty() || part == ".") {
            continue;
        }
        if (part == ".." || part.find(':') != part.npos) {
            failure = UnpackFailure::UnsafeName;
            return std::nullopt;
        }
        bool unwritable = IsWindowsDeviceName(part) || part.back() == '.' || part.back() == ' ';
        for (const char c : part) {
            unwritable = unwritable || IsUnwritableByte(c);
        }
        if (unwritable) {
            failure = UnpackFailure::UnwritableName;
            return std::nullopt;
        }
        checked += checked.empty() ? "" : "/";
        checked += part;
    }
    // Checked after the parts, so that a `..` is named as such whatever else the name holds.
    if (!text) {
        failure = UnpackFailure::UnwritableName;
        return std::nullopt;
    }
    return Utf8ToCp1252(checked);
}

bool HasArchiveExtension(std::string_view path) {
    static constexpr std::array<std::string_view, 9> kEndings = {
        ".zip", ".7z", ".tar", ".tar.gz", ".tgz", ".tar.xz", ".txz", ".tar.bz2", ".tbz2"};
    for (const std::string_view ending : kEndings) {
        if (path.size() > ending.size() &&
            EqualsIgnoringAsciiCase(path.substr(path.size() - ending.size()), ending)) {
            return true;
        }
    }
    return false;
}

} // namespace zav
