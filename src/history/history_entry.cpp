// Writing and reading the manifest of a history entry.
#include "history/history_entry.h"

#include <cstdio>
#include <ctime>

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
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            break; // a line cut short by a killed write was never acted upon
        }
        const std::vector<std::string_view> f = SplitFields(text.substr(start, end - start));
        start = end + 1;
        const std::string_view tag = f[0];
        if (!known) {
            if (tag != MANIFEST_FORMAT || f.size() < 2 ||
                f[1] != std::to_string(MANIFEST_VERSION)) {
                return std::nullopt;
            }
            known = true;
        } else if (tag == "date" && f.size() >= 2) {
            entry.date = f[1];
        } else if (tag == "command" && f.size() >= 2) {
            entry.command = f[1];
        } else if (tag == "saved" && f.size() >= 3 && FindTouched(entry, f[2]) == nullptr) {
            TouchedPath& touched = entry.touched.emplace_back();
            touched.path = f[2];
            touched.savedCopy = f[1];
        } else if ((tag == "created" || tag == "folder") && f.size() >= 2 &&
                   FindTouched(entry, f[1]) == nullptr) {
            TouchedPath& touched = entry.touched.emplace_back();
            touched.path = f[1];
            touched.folder = tag == "folder";
        } else if ((tag == "added" || tag == "removed") && f.size() >= 3 && KindOf(f[1])) {
            (tag == "added" ? entry.added : entry.removed)
                .push_back({*KindOf(f[1]), std::string(f[2])});
        } else if (tag == "after" && f.size() >= 4) {
            if (TouchedPath* touched = FindTouched(entry, f[1])) {
                touched->afterKnown = true;
                touched->after =
                    ContentFingerprint{std::strtoll(std::string(f[2]).c_str(), nullptr, 10),
                                       std::strtoull(std::string(f[3]).c_str(), nullptr, 16)};
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
