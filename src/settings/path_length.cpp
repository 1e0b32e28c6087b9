// Full-length paths, and the room the game's folder leaves.
#include "settings/path_length.h"

#include <string_view>

#include "settings/data_paths.h"

namespace zav {

std::string FullDataPath(const PatcherSettings& settings, const std::string& baseName,
                         int extensionIndex, std::int32_t selector, const std::string& entryName) {
    std::string path;
    const std::int32_t sourceKind = selector & 0xFF00;
    if (sourceKind == FOLDER_SOURCE_TRACKS || sourceKind == FOLDER_SOURCE_CARS) {
        const std::string_view source = settings.SourceDirectory.view();
        const char separator = PathSeparatorUnder(source);
        path.append(source).append(1, separator);
        path.append(sourceKind == FOLDER_SOURCE_TRACKS ? "circuits" : "voitures")
            .append(1, separator);
        if (!entryName.empty()) {
            path.append(entryName).append(1, separator);
        }
    } else if (selector >= 0 && selector < static_cast<std::int32_t>(DataFolders.size())) {
        path.append(settings.GameDirectory.view())
            .append(DataFolders[static_cast<std::size_t>(selector)]);
    }
    path += baseName;
    if (extensionIndex > EXT_NONE && extensionIndex < static_cast<int>(FileExtensions.size())) {
        path.append(".").append(FileExtensions[static_cast<std::size_t>(extensionIndex)]);
    }
    return path;
}

bool GameFolderHoldsItsLists(const PatcherSettings& settings) {
    // The longest name the tool gives a file of its own there (the lock file's is shorter).
    PathText path;
    return BuildDataPath(settings, "voiture2", EXT_WORK_COPY, FOLDER_SCRIPTS, nullptr, &path) !=
           nullptr;
}

} // namespace zav
