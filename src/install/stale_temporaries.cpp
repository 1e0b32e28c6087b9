// Removing a killed run's temporaries from the game's folders.
#include "install/stale_temporaries.h"

#include "platform/file_replacement.h"
#include "settings/data_paths.h"

namespace zav {

void RemoveStaleTemporaries(PatcherSession& session) {
    for (const std::int32_t folder : {FOLDER_SCRIPTS, FOLDER_CIRCUITS, FOLDER_VOITURES, FOLDER_MIMG,
                                      FOLDER_RESSON, FOLDER_RECORDS}) {
        PathText path;
        if (BuildFolderPath(session.settings, folder, nullptr, &path) == nullptr) {
            continue;
        }
        const auto entries = session.files.ListFolder(path.view());
        if (!entries) {
            continue;
        }
        for (const DirectoryEntry& entry : *entries) {
            PathText file = path;
            if (entry.isDirectory || entry.name == GAME_LOCK_FILE_NAME ||
                entry.name.compare(0, TEMPORARY_NAME_PREFIX.size(), TEMPORARY_NAME_PREFIX) != 0 ||
                !file.Append(entry.name)) {
                continue;
            }
            DeleteTemporaryCopy(session.files, file.view());
        }
    }
}

} // namespace zav
