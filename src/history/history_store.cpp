// Reading and bounding the game's history folder.
#include "history/history_store.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/codepage.h"

namespace zav {
namespace {

std::optional<std::string> ReadWholeFile(FileSystem& files, std::string_view path) {
    const auto handle = files.Open(path, OpenMode::ReadOnly);
    const std::int64_t size = handle ? handle->Size().bytes : -1;
    if (size < 0) {
        return std::nullopt;
    }
    std::string text(static_cast<std::size_t>(size), '\0');
    if (size > 0 && handle->ReadAt(0, text.data(), size).bytes != size) {
        return std::nullopt;
    }
    return text;
}

bool HasEntry(const std::vector<NamedEntry>& entries, DataKind kind, std::string_view name) {
    return std::any_of(entries.begin(), entries.end(), [&](const NamedEntry& entry) {
        return entry.kind == kind && EqualsIgnoringAsciiCase(entry.name, name);
    });
}

} // namespace

std::string HistoryFolder(std::string_view gameDirectory) {
    std::string folder(gameDirectory);
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') {
        folder += '\\';
    }
    return folder + std::string(HISTORY_FOLDER_NAME) + '\\';
}

std::string EntryFolderName(int number) {
    char name[16];
    std::snprintf(name, sizeof name, "%06d", number);
    return name;
}

std::optional<int> EntryNumber(std::string_view name) {
    if (name.size() < 6 || name.size() > 9 ||
        !std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    const int number = std::atoi(std::string(name).c_str());
    // Past six digits a name has no leading zero, so that one number has one name.
    if (number < 1 || (name.size() > 6 && name[0] == '0')) {
        return std::nullopt;
    }
    return number;
}

std::vector<HistoryEntry> ReadHistory(FileSystem& files, std::string_view gameDirectory) {
    const std::string folder = HistoryFolder(gameDirectory);
    std::vector<HistoryEntry> history;
    // Manifests reached through a link lie wherever it leads, outside the game.
    if (files.LinkTarget(std::string_view(folder).substr(0, folder.size() - 1))) {
        return history;
    }
    const auto listed = files.ListFolder(folder);
    if (!listed) {
        return history;
    }
    for (const DirectoryEntry& item : *listed) {
        const auto number = EntryNumber(item.name);
        if (!item.isDirectory || !number) {
            continue;
        }
        const std::string entryFolder = folder + item.name + '\\';
        const std::string manifest = entryFolder + std::string(MANIFEST_FILE_NAME);
        // The tool makes no links: an entry that is one, or whose manifest is, is not read.
        const bool linked = files.LinkTarget(folder + item.name) || files.LinkTarget(manifest);
        if (!linked && !files.Status(manifest)) {
            continue; // a run killed before its first line recorded nothing
        }
        const auto text = linked ? std::nullopt : ReadWholeFile(files, manifest);
        auto entry = text ? ParseManifest(*text) : HistoryEntry{};
        if (!text) {
            entry->damage = linked ? "the entry is a link, and the history is never read through "
                                     "links."
                                   : "the manifest cannot be read.";
        }
        if (entry) {
            entry->number = *number;
            entry->folder = entryFolder;
            CheckEntryPaths(*entry, gameDirectory);
            history.push_back(std::move(*entry));
        }
    }
    std::sort(history.begin(), history.end(),
              [](const HistoryEntry& a, const HistoryEntry& b) { return a.number > b.number; });
    return history;
}

JournalProblem CheckHistoryFolder(FileSystem& files, std::string_view gameDirectory) {
    std::string folder = HistoryFolder(gameDirectory);
    folder.pop_back();
    if (files.LinkTarget(folder)) {
        return JournalProblem::Link;
    }
    const auto status = files.Status(folder);
    if (!status) {
        return files.MayChange(gameDirectory) ? JournalProblem::None : JournalProblem::NotWritable;
    }
    if (!status->isDirectory) {
        return JournalProblem::NotAFolder;
    }
    if (!files.MayChange(folder)) {
        return JournalProblem::NotWritable;
    }
    const auto listed = files.ListFolder(folder);
    if (!listed) {
        return JournalProblem::NotWritable;
    }
    for (const DirectoryEntry& item : *listed) {
        if (EntryNumber(item.name) == LAST_ENTRY_NUMBER) {
            return JournalProblem::Full;
        }
    }
    return JournalProblem::None;
}

bool AppendToManifest(FileSystem& files, std::string_view entryFolder, std::string_view text,
                      bool sync) {
    const auto handle =
        files.Open(std::string(entryFolder) + std::string(MANIFEST_FILE_NAME), OpenMode::ReadWrite);
    const std::int64_t end = handle ? handle->Size().bytes : -1;
    const auto count = static_cast<std::int64_t>(text.size());
    return end >= 0 && handle->WriteAt(end, text.data(), count).bytes == count &&
           (!sync || handle->Sync());
}

void PruneHistory(FileSystem& files, std::string_view gameDirectory) {
    std::int64_t keptBytes = 0;
    int kept = 0;
    bool full = false;
    for (const HistoryEntry& entry : ReadHistory(files, gameDirectory)) {
        // A damaged manifest is never acted upon, and an undone entry keeps no undo to lose: only
        // the entries still undoable count among those kept.
        if (entry.pruned || !entry.damage.empty()) {
            continue;
        }
        if (entry.undone && !full) {
            continue;
        }
        std::int64_t bytes = 0;
        for (const TouchedPath& touched : entry.touched) {
            if (!touched.savedCopy.empty()) {
                const auto status = files.Status(entry.folder + touched.savedCopy);
                bytes += status ? status->size : 0;
            }
        }
        // The newest entries keep theirs; once one does not fit, no older one does.
        full = full || kept >= HISTORY_KEPT_ENTRIES || keptBytes + bytes > HISTORY_KEPT_BYTES;
        if (!full) {
            ++kept;
            keptBytes += bytes;
            continue;
        }
        // Marked first: an entry whose copies are half gone must never be undone.
        if (!AppendToManifest(files, entry.folder, ManifestLine({"pruned"}), true)) {
            continue;
        }
        for (const TouchedPath& touched : entry.touched) {
            if (!touched.savedCopy.empty()) {
                const std::string copy = entry.folder + touched.savedCopy;
                files.SetAttributes(copy, FILE_ATTRIBUTE_NORMAL);
                files.DeleteFile(copy);
            }
        }
    }
}

std::optional<std::vector<std::string>> FilesInstalledFor(const std::vector<HistoryEntry>& history,
                                                          DataKind kind, std::string_view name) {
    for (const HistoryEntry& entry : history) {
        if (entry.undone || !entry.damage.empty()) {
            continue;
        }
        if (HasEntry(entry.removed, kind, name)) {
            return std::nullopt;
        }
        if (!HasEntry(entry.added, kind, name)) {
            continue;
        }
        std::vector<std::string> files;
        for (const TouchedPath& touched : entry.touched) {
            // Created, or replaced: a saved copy and still there when the run ended.
            if (!touched.folder && (!touched.Existed() || touched.after.has_value())) {
                files.push_back(touched.path);
            }
        }
        return files;
    }
    return std::nullopt;
}

} // namespace zav
