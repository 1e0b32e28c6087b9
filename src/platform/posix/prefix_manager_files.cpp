// Line and token readers for the YAML, VDF and JSON files of Lutris, Bottles, Steam and Heroic.
#include "platform/posix/prefix_manager_files.h"

#include <cstdint>

#include "platform/codepage.h"

namespace zav {
namespace {

constexpr std::size_t kMostLibraryFolders = 64;
// Steam's file nests three levels; anything much deeper is not one of its files.
constexpr std::size_t kDeepestVdfBlock = 16;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::optional<std::string> NonEmpty(std::string text) {
    return text.empty() ? std::nullopt : std::optional<std::string>(std::move(text));
}

// The scalar after a key's colon. Escapes other than \\, \" and \/ would need YAML's full rules
// for a value no prefix manager writes: such a value is passed over.
std::optional<std::string> YamlScalarOf(std::string_view rest) {
    rest = TrimBlanks(rest);
    if (rest.empty()) {
        return std::nullopt;
    }
    const char quote = rest.front();
    if (quote == '"' || quote == '\'') {
        std::string value;
        for (std::size_t i = 1; i < rest.size(); ++i) {
            const char c = rest[i];
            if (c == quote && quote == '\'' && i + 1 < rest.size() && rest[i + 1] == '\'') {
                value += '\'';
                ++i;
            } else if (c == quote) {
                return NonEmpty(std::move(value));
            } else if (c == '\\' && quote == '"') {
                if (++i == rest.size() || (rest[i] != '\\' && rest[i] != '"' && rest[i] != '/')) {
                    return std::nullopt;
                }
                value += rest[i];
            } else {
                value += c;
            }
        }
        return std::nullopt; // unterminated, or continued on a later line
    }
    // Block scalars, flow collections, anchors, aliases and tags are not paths.
    if (std::string_view("|>{[&*!%@`").find(quote) != std::string_view::npos) {
        return std::nullopt;
    }
    for (std::size_t i = 1; i < rest.size(); ++i) {
        if (rest[i] == '#' && IsBlank(rest[i - 1])) {
            rest = rest.substr(0, i);
            break;
        }
    }
    return NonEmpty(std::string(TrimBlanks(rest)));
}

// A YAML key, its quotes removed.
std::string_view YamlKeyName(std::string_view key) {
    key = TrimBlanks(key);
    if (key.size() >= 2 && (key.front() == '"' || key.front() == '\'') &&
        key.back() == key.front()) {
        key = key.substr(1, key.size() - 2);
    }
    return key;
}

// UTF-8 of a code point below 0x110000.
void AppendUtf8(std::string& out, std::uint32_t point) {
    if (point < 0x80) {
        out += static_cast<char>(point);
    } else if (point < 0x800) {
        out += static_cast<char>(0xC0 | (point >> 6));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
        out += static_cast<char>(0xE0 | (point >> 12));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (point >> 18));
        out += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    }
}

// Four hexadecimal digits at `at`; false when they are not.
bool ReadHex4(std::string_view text, std::size_t at, std::uint32_t& value) {
    if (at + 4 > text.size()) {
        return false;
    }
    value = 0;
    for (std::size_t i = at; i < at + 4; ++i) {
        const char c = AsciiLower(text[i]);
        const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
        if (digit < 0) {
            return false;
        }
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    return true;
}

// The JSON string starting at the quote at `at`; `at` moves past its closing quote. `valid` is
// false for a broken escape (the string is still skipped); nullopt when it is unterminated.
std::optional<std::string> JsonString(std::string_view text, std::size_t& at, bool& valid) {
    valid = true;
    std::string value;
    for (std::size_t i = at + 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            at = i + 1;
            return value;
        }
        if (c != '\\') {
            value += c;
            continue;
        }
        if (++i == text.size()) {
            return std::nullopt;
        }
        const char escape = text[i];
        constexpr std::string_view kNamed = "\"\\/bfnrt";
        constexpr std::string_view kMeant = "\"\\/\b\f\n\r\t";
        if (const std::size_t named = kNamed.find(escape); named != std::string_view::npos) {
            value += kMeant[named];
            continue;
        }
        std::uint32_t point = 0;
        if (escape != 'u' || !ReadHex4(text, i + 1, point)) {
            valid = false;
            continue;
        }
        i += 4;
        if (point >= 0xD800 && point < 0xDC00) {
            std::uint32_t low = 0;
            if (i + 2 < text.size() && text[i + 1] == '\\' && text[i + 2] == 'u' &&
                ReadHex4(text, i + 3, low) && low >= 0xDC00 && low < 0xE000) {
                point = 0x10000 + ((point - 0xD800) << 10) + (low - 0xDC00);
                i += 6;
            } else {
                valid = false;
                continue;
            }
        } else if (point >= 0xDC00 && point < 0xE000) {
            valid = false;
            continue;
        }
        AppendUtf8(value, point);
    }
    return std::nullopt;
}

enum class VdfToken { Text, Open, Close, End, Broken };

// The next token of a VDF text from `at`: a quoted or bare text (into `text`), a brace, the end.
VdfToken NextVdfToken(std::string_view vdf, std::size_t& at, std::string& text) {
    for (;;) {
        while (at < vdf.size() && IsBlank(vdf[at])) {
            ++at;
        }
        if (vdf.substr(at, 2) != "//") {
            break;
        }
        while (at < vdf.size() && vdf[at] != '\n') {
            ++at;
        }
    }
    if (at == vdf.size()) {
        return VdfToken::End;
    }
    text.clear();
    const char c = vdf[at];
    if (c == '{' || c == '}') {
        ++at;
        return c == '{' ? VdfToken::Open : VdfToken::Close;
    }
    if (c != '"') {
        while (at < vdf.size() && !IsBlank(vdf[at]) && vdf[at] != '{' && vdf[at] != '}' &&
               vdf[at] != '"') {
            text += vdf[at++];
        }
        return VdfToken::Text;
    }
    for (++at; at < vdf.size(); ++at) {
        if (vdf[at] == '"') {
            ++at;
            return VdfToken::Text;
        }
        if (vdf[at] == '\\' && at + 1 < vdf.size()) {
            const char escape = vdf[++at];
            text += escape == 'n' ? '\n' : escape == 't' ? '\t' : escape;
        } else {
            text += vdf[at];
        }
    }
    return VdfToken::Broken;
}

bool AllDigits(std::string_view text) {
    if (text.empty()) {
        return false;
    }
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<std::string> YamlScalar(std::string_view text, std::string_view parent,
                                      std::string_view key) {
    bool inParent = false;
    std::size_t childIndent = std::string_view::npos;
    while (!text.empty()) {
        const std::size_t newline = text.find('\n');
        std::string_view line = text.substr(0, newline);
        text = newline == std::string_view::npos ? std::string_view() : text.substr(newline + 1);
        std::size_t indent = 0;
        while (indent < line.size() && line[indent] == ' ') {
            ++indent;
        }
        const std::string_view body = TrimBlanks(line.substr(indent));
        if (body.empty() || body.front() == '#' || body.front() == '-') {
            continue; // comments, document markers and sequence items name no key of ours
        }
        std::size_t colon = body.find(':');
        while (colon != std::string_view::npos && colon + 1 < body.size() &&
               !IsBlank(body[colon + 1])) {
            colon = body.find(':', colon + 1);
        }
        if (colon == std::string_view::npos) {
            continue;
        }
        const std::string_view name = YamlKeyName(body.substr(0, colon));
        const std::string_view rest = body.substr(colon + 1);
        if (indent == 0) {
            if (parent.empty() && name == key) {
                return YamlScalarOf(rest);
            }
            const std::string_view after = TrimBlanks(rest);
            inParent = !parent.empty() && name == parent && (after.empty() || after[0] == '#');
            childIndent = std::string_view::npos;
            continue;
        }
        if (!inParent) {
            continue;
        }
        if (childIndent == std::string_view::npos) {
            childIndent = indent;
        }
        if (indent == childIndent && name == key) {
            return YamlScalarOf(rest);
        }
    }
    return std::nullopt;
}

std::vector<std::string> VdfLibraryFolders(std::string_view text) {
    std::vector<std::string> folders;
    std::vector<std::string> blocks;
    std::optional<std::string> key;
    std::size_t at = 0;
    std::string token;
    while (folders.size() < kMostLibraryFolders) {
        const VdfToken kind = NextVdfToken(text, at, token);
        if (kind == VdfToken::End || kind == VdfToken::Broken) {
            break;
        }
        if (kind == VdfToken::Open) {
            if (!key || blocks.size() == kDeepestVdfBlock) {
                break;
            }
            blocks.push_back(std::move(*key));
            key.reset();
            continue;
        }
        if (kind == VdfToken::Close) {
            if (key || blocks.empty()) {
                break;
            }
            blocks.pop_back();
            continue;
        }
        if (!key) {
            key = token;
            continue;
        }
        const bool inLibraries =
            !blocks.empty() && EqualsIgnoringAsciiCase(blocks.front(), "libraryfolders");
        if (inLibraries && blocks.size() == 2 && AllDigits(blocks[1]) &&
            EqualsIgnoringAsciiCase(*key, "path")) {
            folders.push_back(token);
        } else if (inLibraries && blocks.size() == 1 && AllDigits(*key)) {
            folders.push_back(token);
        }
        key.reset();
    }
    return folders;
}

std::vector<std::string> JsonStringMembers(std::string_view text, std::string_view key) {
    std::vector<std::string> values;
    std::size_t at = 0;
    while (at < text.size()) {
        if (text[at] != '"') {
            ++at;
            continue;
        }
        bool valid = true;
        const std::optional<std::string> name = JsonString(text, at, valid);
        if (!name) {
            break;
        }
        std::size_t next = at;
        while (next < text.size() && IsBlank(text[next])) {
            ++next;
        }
        if (!valid || *name != key || next == text.size() || text[next] != ':') {
            continue;
        }
        ++next;
        while (next < text.size() && IsBlank(text[next])) {
            ++next;
        }
        if (next == text.size() || text[next] != '"') {
            continue;
        }
        at = next;
        const std::optional<std::string> value = JsonString(text, at, valid);
        if (!value) {
            break;
        }
        if (valid) {
            values.push_back(*value);
        }
    }
    return values;
}

} // namespace zav
