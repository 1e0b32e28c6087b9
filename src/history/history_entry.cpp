// Writing and reading the manifest of a history entry.
#include "history/history_entry.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "platform/path_key.h"

namespace zav {
namespace {

std::vector<std::string_view> SplitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
        if (tab == std::string_view::npos) {
            return fields;
        }
        start = tab + 1;
    }
}

std::optional<DataKind> KindOf(std::string_view word) {
    if (word == "tracks") {
        return DataKind::Tracks;
    }
    if (word == "cars") {
        return DataKind::Cars;
    }
    return std::nullopt;
}

TouchedPath* FindTouched(HistoryEntry& entry, std::string_view path) {
    for (TouchedPath& touched : entry.touched) {
        if (touched.path == path) {
            return &touched;
        }
    }
    return nullptr;
}

bool IsCopyName(std::string_view name) {
    return !name.empty() && name.size() <= 9 && name[0] != '0' &&
           std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A size in decimal and a hash of 16 hex digits; nullopt when either is malformed.
std::optional<ContentFingerprint> ParseFingerprint(std::string_view size, std::string_view hash) {
    const auto digits = [](std::string_view text, const char* allowed) {
        return !text.empty() && text.size() <= 18 &&
               text.find_first_not_of(allowed) == std::string_view::npos;
    };
    if (!digits(size, "0123456789") || hash.size() != 16 || !digits(hash, "0123456789abcdef")) {
        return std::nullopt;
    }
    return ContentFingerprint{std::strtoll(std::string(size).c_str(), nullptr, 10),
                              std::strtoull(std::string(hash).c_str(), nullptr, 16)};
}

} // namespace

std::string_view KindPlural(DataKind kind) {
    return kind == DataKind::Cars ? "cars" : "tracks";
}

std::string ManifestLine(std::initializer_list<std::string_view> fields) {
    std::string line;
    for (const std::string_view field : fields) {
        if (!line.empty()) {
            line += '\t';
        }
        for (const char c : field) {
            line += c == '\t' || c == '\n' || c == '\r' ? ' ' : c;
        }
    }
    return line + '\n';
}

std::string ManifestHeader(std::string_view date, std::string_view command) {
    return ManifestLine({MANIFEST_FORMAT, std::to_string(MANIFEST_VERSION)}) +
           ManifestLine({"date", date}) + ManifestLine({"command", command});
}

std::optional<HistoryEntry> ParseManifest(std::string_view text) {
    HistoryEntry entry;
    bool known = false;
    int number = 0;
    const auto damaged = [&](const char* what) {
        entry.damage = "line " + std::to_string(number) + ": " + what;
        return entry;
    };
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            break; // a line cut short by a killed write was never acted upon
        }
        const std::vector<std::string_view> f = SplitFields(text.substr(start, end - start));
        start = end + 1;
        ++number;
        const std::string_view tag = f[0];
        if (!known) {
            if (tag != MANIFEST_FORMAT || f.size() < 2) {
                return damaged("this is no manifest of the history.");
            }
            if (f[1] != std::to_string(MANIFEST_VERSION)) {
                return damaged("the manifest is of an unknown version.");
            }
            known = true;
        } else if (tag == "date" && f.size() >= 2) {
            entry.date = f[1];
        } else if (tag == "command" && f.size() >= 2) {
            entry.command = f[1];
        } else if (tag == "saved") {
            // Builds before the copy's fingerprint wrote three fields.
            std::optional<ContentFingerprint> copy;
            if (f.size() >= 5) {
                copy = ParseFingerprint(f[3], f[4]);
            }
            if ((f.size() != 3 && !copy) || !IsCopyName(f[1])) {
                return damaged("a saved copy is not named as the history names them.");
            }
            if (FindTouched(entry, f[2]) == nullptr) {
                TouchedPath& touched = entry.touched.emplace_back();
                touched.path = f[2];
                touched.savedCopy = f[1];
                touched.copyFingerprint = copy;
                touched.line = number;
            }
        } else if (tag == "link") {
            if (f.size() < 3 || f[2].empty()) {
                return damaged("a link is not recorded as the history records them.");
            }
            if (FindTouched(entry, f[1]) == nullptr) {
                TouchedPath& touched = entry.touched.emplace_back();
                touched.path = f[1];
                touched.linkTarget = std::string(f[2]);
                touched.line = number;
            }
        } else if (tag == "created" || tag == "folder") {
            if (f.size() < 2) {
                return damaged("a created file is not named.");
            }
            if (FindTouched(entry, f[1]) == nullptr) {
                TouchedPath& touched = entry.touched.emplace_back();
                touched.path = f[1];
                touched.folder = tag == "folder";
                touched.line = number;
            }
        } else if ((tag == "added" || tag == "removed") && f.size() >= 3 && KindOf(f[1])) {
            (tag == "added" ? entry.added : entry.removed)
                .push_back({*KindOf(f[1]), std::string(f[2])});
        } else if (tag == "after") {
            const auto after = f.size() >= 4 ? ParseFingerprint(f[2], f[3]) : std::nullopt;
            if (!after) {
                return damaged("the state a file was left in is malformed.");
            }
            if (TouchedPath* touched = FindTouched(entry, f[1])) {
                touched->afterKnown = true;
                touched->after = after;
            }
        } else if (tag == "gone" && f.size() >= 2) {
            if (TouchedPath* touched = FindTouched(entry, f[1])) {
                touched->afterKnown = true;
                touched->after.reset();
            }
        } else if (tag == "sealed") {
            entry.sealed = true;
        } else if (tag == "undoing") {
            entry.undoing = true;
        } else if (tag == "undone") {
            entry.undone = true;
        } else if (tag == "pruned") {
            entry.pruned = true;
        }
    }
    if (!known) {
        return std::nullopt;
    }
    return entry;
}

bool IsManifestField(std::string_view text) {
    return std::none_of(text.begin(), text.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == '\x7F'; });
}

void CheckEntryPaths(HistoryEntry& entry, std::string_view gameDirectory) {
    if (!entry.damage.empty()) {
        return;
    }
    const std::string dataKey = PathComparisonKey(std::string(gameDirectory) + "\\Data");
    for (const TouchedPath& touched : entry.touched) {
        // "." and ".." are refused even where they would resolve inside: a link on the way
        // resolves them elsewhere on the host.
        bool dots = false;
        for (std::size_t start = 0; start <= touched.path.size();) {
            std::size_t cut = touched.path.find_first_of("\\/", start);
            cut = cut == std::string::npos ? touched.path.size() : cut;
            const std::string_view part = std::string_view(touched.path).substr(start, cut - start);
            dots = dots || part == "." || part == "..";
            start = cut + 1;
        }
        const std::string key = PathComparisonKey(touched.path);
        if (touched.linkTarget && !IsManifestField(*touched.linkTarget)) {
            entry.damage = "line " + std::to_string(touched.line) + ": the link of '" +
                           touched.path + "' is not recorded as the history records them.";
            return;
        }
        if (dots || !IsManifestField(touched.path) || !IsPathKeyBelow(key, dataKey) ||
            key == dataKey) {
            entry.damage = "line " + std::to_string(touched.line) + ": '" + touched.path +
                           "' lies outside the game's Data folder.";
            return;
        }
    }
}

std::string LocalTimestamp() {
    const std::time_t now = std::time(nullptr);
    const std::tm* parts = std::localtime(&now);
    if (parts == nullptr) {
        return "0000-00-00 00:00:00";
    }
    char text[80];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", parts->tm_year + 1900,
                  parts->tm_mon + 1, parts->tm_mday, parts->tm_hour, parts->tm_min, parts->tm_sec);
    return text;
}

} // namespace zav
