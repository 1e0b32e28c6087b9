// Printing a dry run's plan.
#include "dry_run_plan.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "files/kind_list_file.h"
#include "history/history_store.h"
#include "platform/codepage.h"
#include "platform/path_key.h"

namespace zav {
namespace {

constexpr std::size_t kPathColumn = 9;
constexpr std::size_t kNoteColumn = 72;

std::string SizeText(std::int64_t bytes) {
    char text[32];
    if (bytes < 1024) {
        std::snprintf(text, sizeof text, "%lld bytes", static_cast<long long>(bytes));
    } else if (bytes < 1024 * 1024) {
        std::snprintf(text, sizeof text, "%.1f KiB", static_cast<double>(bytes) / 1024);
    } else {
        std::snprintf(text, sizeof text, "%.1f MiB", static_cast<double>(bytes) / (1024 * 1024));
    }
    return text;
}

std::string DateText(const LocalTime& t) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", t.year, t.month, t.day, t.hour,
                  t.minute);
    return text;
}

std::string_view FileName(std::string_view path) {
    const std::size_t cut = path.find_last_of("\\/");
    return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

// The record names of a list file, or nullopt when it cannot be read.
std::optional<std::vector<std::string>> ListNames(FileSystem& files, std::string_view path,
                                                  DataKind kind, std::int32_t version) {
    KindListFile list(files, kind, version);
    if (!list.Open(path, false)) {
        return std::nullopt;
    }
    std::vector<std::string> names;
    for (std::int32_t i = 1; i <= list.Count(); ++i) {
        char name[NAME_SLOT_SIZE] = {};
        names.emplace_back(list.PlainName(i, name) ? name : "?");
    }
    return names;
}

// "18 -> 20 records: + Quarry, + Summit", names compared as a multiset in list order.
std::string ListChange(const std::vector<std::string>& before,
                       const std::vector<std::string>& after) {
    std::map<std::string, int> balance;
    for (const std::string& name : after) {
        ++balance[name];
    }
    for (const std::string& name : before) {
        --balance[name];
    }
    std::string text =
        std::to_string(before.size()) + " -> " + std::to_string(after.size()) + " records";
    std::string names;
    for (const auto* side : {&before, &after}) {
        for (const std::string& name : *side) {
            int& left = balance[name];
            if ((side == &after && left > 0) || (side == &before && left < 0)) {
                names += (names.empty() ? ": " : ", ") + std::string(side == &after ? "+ " : "- ") +
                         Cp1252ToUtf8(name);
                left += side == &after ? -1 : 1;
            }
        }
    }
    return text + names;
}

// The path as the user finds it on this system; on Windows the core's own form is that.
std::string HostPathOf(FileSystem& host, std::string_view path) {
#ifdef _WIN32
    (void)host;
    return Cp1252ToUtf8(path);
#else
    return static_cast<PosixFileSystem&>(host).HostPath(path);
#endif
}

} // namespace

void PrintDryRunPlan(std::ostream& out, CopyOnWriteFileSystem& dryRun, FileSystem& host,
                     const PatcherSession& session, const std::vector<std::string>& declined) {
    const std::string historyKey =
        PathComparisonKey(HistoryFolder(session.settings.GameDirectory.view()));
    const auto shown = [&](std::string_view path) {
        const std::string hostPath = HostPathOf(host, path);
        return hostPath.empty() ? Cp1252ToUtf8(path) : hostPath;
    };
    const auto line = [&](std::string_view verb, const std::string& paths,
                          const std::string& note) {
        std::string text(verb);
        text.resize(std::max(text.size() + 1, kPathColumn), ' ');
        text += paths;
        if (!note.empty()) {
            text.resize(std::max(text.size() + 3, kNoteColumn), ' ');
            text += note;
        }
        out << text << '\n';
    };
    int printed = 0;
    for (const PlannedChange& change : dryRun.Plan()) {
        const std::string key = PathComparisonKey(change.path);
        if (!historyKey.empty() && IsPathKeyBelow(key, historyKey)) {
            continue;
        }
        ++printed;
        const std::string target = shown(change.path);
        const std::string from = change.source.empty() ? "" : shown(change.source) + " -> ";
        std::optional<DataKind> list;
        for (const DataKind kind : {DataKind::Tracks, DataKind::Cars}) {
            const PathText& path = kind == DataKind::Cars ? session.analysis.CarListPath
                                                          : session.analysis.TrackListPath;
            list = !list && !path.empty() && PathComparisonKey(path.view()) == key ? kind : list;
        }
        using Kind = PlannedChange::Kind;
        switch (change.kind) {
        case Kind::Create:
            line(from.empty() ? "write" : "copy", from + target, "new, " + SizeText(change.size));
            break;
        case Kind::Replace: {
            const auto old = list
                                 ? ListNames(host, change.path, *list, session.settings.GameVersion)
                                 : std::nullopt;
            const auto now =
                list ? ListNames(dryRun, change.path, *list, session.settings.GameVersion)
                     : std::nullopt;
            if (old && now) {
                line("list", target, ListChange(*old, *now));
            } else {
                line("replace", from + target,
                     "yours of " + DateText(change.before.lastWrite) + " is replaced");
            }
            break;
        }
        case Kind::Delete:
            line("delete", target, "");
            break;
        case Kind::Attributes:
            line("attrib", target, change.readOnlyAfter ? "read-only" : "writable");
            break;
        case Kind::Folder:
            line("mkdir", target, "");
            break;
        case Kind::Keep: {
            const std::string quoted = "\"" + std::string(FileName(change.path)) + "\"";
            const bool no =
                std::any_of(declined.begin(), declined.end(), [&](const std::string& q) {
                    return q.find(quoted) != std::string::npos;
                });
            line("keep", target, no ? "answered No" : "already there");
            break;
        }
        }
    }
    if (printed == 0) {
        out << "nothing would change\n";
    }
}

} // namespace zav
