// Looking for history entries whose saved copies are gone.
#include "history/history_check.h"

#include "history/history_store.h"

namespace zav {

std::vector<GameFinding> CheckHistoryCopies(FileSystem& files, std::string_view gameDirectory) {
    std::vector<GameFinding> findings;
    for (const HistoryEntry& entry : ReadHistory(files, gameDirectory)) {
        if (!entry.Undoable()) {
            continue;
        }
        GameFinding finding;
        finding.kind = FindingKind::SavedCopyMissing;
        finding.list = entry.folder;
        finding.record = entry.number;
        for (const TouchedPath& touched : entry.touched) {
            if (!touched.savedCopy.empty() && !files.Status(entry.folder + touched.savedCopy)) {
                finding.files.push_back(touched.path);
            }
        }
        if (!finding.files.empty()) {
            findings.push_back(std::move(finding));
        }
    }
    return findings;
}

} // namespace zav
