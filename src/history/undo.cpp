// Reverting the newest entry of the game's history.
#include "history/undo.h"

#include <algorithm>

#include "history/content_hash.h"
#include "history/history_store.h"
#include "platform/file_replacement.h"
#include "settings/own_texts.h"
#include "settings/text_format.h"

namespace zav {
namespace {

std::string JoinedNames(const std::vector<NamedEntry>& entries) {
    std::string joined;
    for (const NamedEntry& entry : entries) {
        joined += (joined.empty() ? "" : ", ") + entry.name + " (" +
                  std::string(KindPlural(entry.kind)) + ")";
    }
    return joined;
}

std::string_view FileName(std::string_view path) {
    const std::size_t cut = path.find_last_of("\\/");
    return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

UndoOutcome Stop(UndoOutcome::Result result, const HistoryEntry& entry, std::string path,
                 std::string reason) {
    return {result, entry, std::move(path), std::move(reason)};
}

// The reasons, in the game's language.
class Reasons {
public:
    explicit Reasons(std::int32_t languageOffset) : languageOffset_(languageOffset) {}
    std::string operator()(OwnTextId id, std::initializer_list<FormatArgument> arguments) const {
        return FormatText(OwnText(id, languageOffset_), arguments);
    }

private:
    std::int32_t languageOffset_;
};

// The touched file that is no longer as the run left it; nullptr when none.
const TouchedPath* ChangedSince(FileSystem& files, const HistoryEntry& entry) {
    for (const TouchedPath& touched : entry.touched) {
        if (!touched.folder && touched.afterKnown &&
            FingerprintFile(files, touched.path) != touched.after) {
            return &touched;
        }
    }
    return nullptr;
}

// The link is made beside the path and renamed over it, so the path is never missing.
bool RestoreLink(FileSystem& files, const std::string& path, const std::string& target) {
    if (files.LinkTarget(path) == target) {
        return true;
    }
    const std::string beside = files.SiblingTemporaryPath(path);
    if (!files.CreateLink(beside, target)) {
        return false;
    }
    if (!files.RenameFile(beside, path)) {
        files.DeleteFile(beside);
        return false;
    }
    return true;
}

// Bytes of the disk rounded up to whole blocks of the common size, as a file takes them.
std::uint64_t OnDisk(std::int64_t size) {
    constexpr std::uint64_t block = 4096;
    return size <= 0 ? 0 : (static_cast<std::uint64_t>(size) + block - 1) / block * block;
}

// The most bytes the restores hold at once beyond what is on the disk now, in the order undo
// makes them: each saved copy is written beside its file before the old one goes.
std::uint64_t SpaceNeeded(FileSystem& files, const HistoryEntry& entry) {
    std::int64_t held = 0;
    std::int64_t most = 0;
    for (auto touched = entry.touched.rbegin(); touched != entry.touched.rend(); ++touched) {
        if (touched->folder || touched->linkTarget) {
            continue;
        }
        if (!touched->savedCopy.empty()) {
            const auto copy = files.Status(entry.folder + touched->savedCopy);
            held += copy ? static_cast<std::int64_t>(OnDisk(copy->size)) : 0;
            most = std::max(most, held);
        }
        const auto now =
            files.LinkTarget(touched->path) ? std::nullopt : files.Status(touched->path);
        held -= now && !now->isDirectory ? static_cast<std::int64_t>(OnDisk(now->size)) : 0;
    }
    return static_cast<std::uint64_t>(most);
}

std::string FolderOf(std::string_view path) {
    const std::size_t cut = path.find_last_of("\\/");
    return std::string(cut == std::string_view::npos ? path : path.substr(0, cut));
}

// Puts one touched file back as it was before the run; false when that failed.
bool Restore(FileSystem& files, const HistoryEntry& entry, const TouchedPath& touched) {
    if (touched.folder) {
        return true; // the port removes no folders; an empty one stays
    }
    const bool linked = files.LinkTarget(touched.path).has_value();
    const auto now = linked ? std::nullopt : files.Status(touched.path);
    if (now && now->readOnly) {
        files.SetAttributes(touched.path, FILE_ATTRIBUTE_NORMAL);
    }
    if (touched.linkTarget) {
        return RestoreLink(files, touched.path, *touched.linkTarget);
    }
    if (touched.savedCopy.empty()) {
        return (!now && !linked) || static_cast<bool>(files.DeleteFile(touched.path));
    }
    return static_cast<bool>(
        ReplaceFileAtomically(files, entry.folder + touched.savedCopy, touched.path));
}

} // namespace

std::optional<HistoryEntry> NewestNotUndone(FileSystem& files, std::string_view gameDirectory) {
    for (HistoryEntry& entry : ReadHistory(files, gameDirectory)) {
        if (!entry.undone) {
            return std::move(entry);
        }
    }
    return std::nullopt;
}

UndoOutcome UndoNewest(FileSystem& files, std::string_view gameDirectory,
                       std::int32_t languageOffset) {
    using Result = UndoOutcome::Result;
    const Reasons reason(languageOffset);
    // A history reached through a link lies outside the game, wherever the link leads.
    std::string historyFolder = HistoryFolder(gameDirectory);
    historyFolder.pop_back();
    if (files.LinkTarget(historyFolder)) {
        return Stop(Result::Refused, {}, historyFolder,
                    reason(OwnTextId::UndoHistoryIsLink, {historyFolder}));
    }
    const auto found = NewestNotUndone(files, gameDirectory);
    if (!found) {
        return Stop(Result::NothingToUndo, {}, {}, reason(OwnTextId::NothingToUndo, {}));
    }
    const HistoryEntry& entry = *found;
    const int number = entry.number;
    if (!entry.damage.empty()) {
        const std::string manifest = entry.folder + std::string(MANIFEST_FILE_NAME);
        return Stop(Result::Refused, entry, manifest,
                    reason(OwnTextId::UndoEntryDamaged, {number, manifest, entry.damage}));
    }
    if (entry.pruned) {
        return Stop(Result::Refused, entry, {}, reason(OwnTextId::UndoEntryPruned, {number}));
    }
    for (const TouchedPath& touched : entry.touched) {
        // Bytes read through a link could be any file of the host's.
        const std::string savedPath = entry.folder + touched.savedCopy;
        if (!touched.savedCopy.empty() && files.LinkTarget(savedPath)) {
            return Stop(Result::Refused, entry, savedPath,
                        reason(OwnTextId::UndoSavedCopyIsLink,
                               {savedPath, touched.path, touched.line, number}));
        }
        const auto copy = touched.savedCopy.empty()
                              ? std::nullopt
                              : files.Status(entry.folder + touched.savedCopy);
        if (!touched.savedCopy.empty() && (!copy || copy->isDirectory)) {
            return Stop(Result::Failed, entry, touched.path,
                        reason(OwnTextId::UndoSavedCopyMissing, {touched.path, entry.folder}));
        }
        // A saved copy cut short or edited would put back a half file.
        const std::string copyPath = entry.folder + touched.savedCopy;
        if (touched.copyFingerprint &&
            FingerprintFile(files, copyPath) != touched.copyFingerprint) {
            return Stop(Result::Refused, entry, copyPath,
                        reason(OwnTextId::UndoSavedCopyChanged,
                               {copyPath, touched.path, touched.line, number}));
        }
    }
    if (entry.sealed && !entry.undoing) {
        if (const TouchedPath* changed = ChangedSince(files, entry)) {
            return Stop(Result::Refused, entry, changed->path,
                        reason(OwnTextId::UndoFileChangedSince, {changed->path, number}));
        }
    }
    // A disk that fills half-way would leave the game between two states, and a second try
    // would fail the same way: the room is asked for first.
    if (!entry.touched.empty()) {
        const std::string folder = FolderOf(entry.touched.front().path);
        const std::uint64_t needed = SpaceNeeded(files, entry);
        const auto free = files.FreeSpace(folder);
        if (needed > 0 && free && *free < needed) {
            return Stop(Result::Refused, entry, folder,
                        reason(OwnTextId::UndoNoRoom,
                               {number, std::to_string(needed), folder, std::to_string(*free)}));
        }
    }
    if (!entry.undoing && !AppendToManifest(files, entry.folder, ManifestLine({"undoing"}), true)) {
        return Stop(Result::Failed, entry, entry.folder,
                    reason(OwnTextId::UndoHistoryNotWritable, {entry.folder}));
    }
    for (auto touched = entry.touched.rbegin(); touched != entry.touched.rend(); ++touched) {
        if (!Restore(files, entry, *touched)) {
            return Stop(Result::Failed, entry, touched->path,
                        reason(OwnTextId::UndoFileNotPutBack, {touched->path}));
        }
    }
    if (!AppendToManifest(files, entry.folder, ManifestLine({"undone"}), true)) {
        return Stop(Result::Failed, entry, entry.folder,
                    reason(OwnTextId::UndoNotMarked, {entry.folder}));
    }
    return {Result::Done, entry, {}, {}};
}

std::string DescribeEntry(const HistoryEntry& entry) {
    std::string text = std::to_string(entry.number) + "  " + entry.date + "  " + entry.command;
    text += !entry.damage.empty() ? "  (damaged: " + entry.damage + ")"
            : entry.undone        ? std::string("  (undone)")
            : entry.pruned        ? "  (no longer undoable)"
            : entry.undoing       ? "  (undo not finished)"
            : !entry.sealed       ? "  (run not finished)"
                                  : "";
    text += '\n';
    if (!entry.added.empty()) {
        text += "  added: " + JoinedNames(entry.added) + '\n';
    }
    if (!entry.removed.empty()) {
        text += "  removed: " + JoinedNames(entry.removed) + '\n';
    }
    std::string created, replaced, deleted;
    for (const TouchedPath& touched : entry.touched) {
        std::string& group = touched.folder || !touched.Existed()   ? created
                             : !touched.afterKnown || touched.after ? replaced
                                                                    : deleted;
        group += (group.empty() ? "" : ", ") + std::string(FileName(touched.path)) +
                 (touched.folder ? "\\" : "");
    }
    for (const auto& [label, names] : {std::pair<const char*, std::string&>{"created", created},
                                       {"replaced", replaced},
                                       {"deleted", deleted}}) {
        if (!names.empty()) {
            text += std::string("  ") + label + ": " + names + '\n';
        }
    }
    return text;
}

} // namespace zav
