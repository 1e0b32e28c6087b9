// Settings-file (INI) parsing and the Profile built on it.
#include "platform/profile_reader.h"

#include <algorithm>
#include <vector>

#include "platform/codepage.h"

namespace zav {
namespace {

// Settings files are small; anything beyond this is not a settings file we want to parse.
constexpr std::int64_t kLargestSettingsFile = 4 * 1024 * 1024;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && IsBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

// Code page 1252 form of a text with a byte-order mark; characters the code page lacks become '?'.
std::string DecodeSettingsText(std::string_view text) {
    if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
        if (auto converted = Utf8ToCp1252(text)) {
            return *converted;
        }
        return std::string(text);
    }
    if (text.size() >= 2 && text.substr(0, 2) == "\xFF\xFE") {
        std::string out;
        for (std::size_t i = 2; i + 1 < text.size(); i += 2) {
            const unsigned unit =
                static_cast<unsigned char>(text[i]) |
                (static_cast<unsigned>(static_cast<unsigned char>(text[i + 1])) << 8);
            std::string utf8;
            if (unit < 0x80) {
                utf8.push_back(static_cast<char>(unit));
            } else if (unit < 0x800) {
                utf8.push_back(static_cast<char>(0xC0 | (unit >> 6)));
                utf8.push_back(static_cast<char>(0x80 | (unit & 0x3F)));
            } else {
                utf8.push_back(static_cast<char>(0xE0 | (unit >> 12)));
                utf8.push_back(static_cast<char>(0x80 | ((unit >> 6) & 0x3F)));
                utf8.push_back(static_cast<char>(0x80 | (unit & 0x3F)));
            }
            const auto byte = Utf8ToCp1252(utf8);
            out.push_back(byte ? (*byte)[0] : '?');
        }
        return out;
    }
    return std::string(text);
}

} // namespace

std::optional<std::string> FindProfileValue(std::string_view rawText, std::string_view section,
                                            std::string_view key) {
    const std::string text = DecodeSettingsText(rawText);
    const std::string_view wantedSection = Trim(section);
    const std::string_view wantedKey = Trim(key);
    bool inWantedSection = false;
    bool wantedSectionSeen = false;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string_view line = Trim(std::string_view(text).substr(pos, end - pos));
        pos = end + 1;
        if (line.empty() || line.front() == ';') {
            continue;
        }
        if (line.front() == '[') {
            if (inWantedSection) {
                return std::nullopt; // only the first section of that name is searched
            }
            std::string_view name = line.substr(1);
            const std::size_t close = name.find(']');
            if (close != std::string_view::npos) {
                name = name.substr(0, close);
            }
            inWantedSection =
                !wantedSectionSeen && EqualsIgnoringAsciiCase(Trim(name), wantedSection);
            wantedSectionSeen = wantedSectionSeen || inWantedSection;
            continue;
        }
        if (!inWantedSection) {
            continue;
        }
        const std::size_t equals = line.find('=');
        const std::string_view name = Trim(line.substr(0, equals));
        if (!EqualsIgnoringAsciiCase(name, wantedKey)) {
            continue;
        }
        if (equals == std::string_view::npos) {
            return std::nullopt;
        }
        return std::string(Trim(line.substr(equals + 1)));
    }
    return std::nullopt;
}

std::string ProfileResult(std::string_view value, std::size_t bufferSize) {
    if (value.size() >= 2 && (value.front() == '\'' || value.front() == '"') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    if (bufferSize == 0) {
        return {};
    }
    return std::string(value.substr(0, std::min(value.size(), bufferSize - 1)));
}

std::string FileSystemProfile::GetString(std::string_view section, std::string_view key,
                                         std::string_view defaultValue, std::size_t bufferSize,
                                         std::string_view file) {
    std::string path(file);
    const bool absolute = (file.size() >= 2 && file[1] == ':') ||
                          (!file.empty() && (file.front() == '\\' || file.front() == '/'));
    if (!absolute) {
        path = files_.WindowsDirectory() + "\\" + path;
    }
    std::optional<std::string> value;
    if (auto handle = files_.Open(path, OpenMode::ReadOnly)) {
        const std::int64_t size = std::min(handle->Size().bytes, kLargestSettingsFile);
        if (size > 0) {
            std::vector<char> bytes(static_cast<std::size_t>(size));
            const std::int64_t got = handle->ReadAt(0, bytes.data(), size).bytes;
            if (got > 0) {
                value = FindProfileValue(
                    std::string_view(bytes.data(), static_cast<std::size_t>(got)), section, key);
            }
        }
    }
    return ProfileResult(value ? *value : Trim(defaultValue), bufferSize);
}

} // namespace zav
