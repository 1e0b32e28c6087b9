// Folder and file path building.
#include "settings/data_paths.h"

namespace zav {

char PathSeparatorUnder(std::string_view folder) {
    return !folder.empty() && folder.front() == '/' ? '/' : '\\';
}

PathText* BuildFolderPath(const PatcherSettings& settings, std::int32_t selector,
                          const char* entryName, PathText* out) {
    if (out == nullptr) {
        return nullptr;
    }
    bool fits = true;
    const std::int32_t sourceKind = selector & 0xFF00;
    if (sourceKind == FOLDER_SOURCE_TRACKS || sourceKind == FOLDER_SOURCE_CARS) {
        // A message naming a new-data file shows it the way the host writes its paths.
        const std::string_view source = settings.SourceDirectory.view();
        const char separator[] = {PathSeparatorUnder(source), '\0'};
        fits = out->Assign(source) && out->Append(separator) &&
               out->Append(sourceKind == FOLDER_SOURCE_TRACKS ? "circuits" : "voitures") &&
               out->Append(separator);
        if (fits && entryName != nullptr) {
            fits = out->Append(entryName) && out->Append(separator);
        }
    } else if (selector >= 0 && selector < static_cast<std::int32_t>(DataFolders.size())) {
        fits = out->Assign(settings.GameDirectory.view()) &&
               out->Append(DataFolders[static_cast<std::size_t>(selector)]);
    } else {
        out->Clear();
    }
    if (!fits) {
        out->Clear();
        return nullptr;
    }
    return out;
}

int AppendExtension(PathText& path, int extensionIndex) {
    if (extensionIndex < 0 || extensionIndex >= static_cast<int>(FileExtensions.size())) {
        return 0;
    }
    if (extensionIndex == EXT_NONE) {
        return 1;
    }
    const std::string_view extension = FileExtensions[static_cast<std::size_t>(extensionIndex)];
    if (path.size() + 1 + extension.size() > PathText::kMaxLength) {
        return 0;
    }
    path.Append(".");
    path.Append(extension);
    return 1;
}

PathText* BuildDataPath(const PatcherSettings& settings, const char* baseName, int extensionIndex,
                        std::int32_t selector, const char* entryName, PathText* out) {
    if (out == nullptr) {
        return nullptr;
    }
    if (BuildFolderPath(settings, selector, entryName, out) == nullptr ||
        (baseName != nullptr && !out->Append(baseName)) ||
        AppendExtension(*out, extensionIndex) == 0) {
        out->Clear();
        return nullptr;
    }
    return out;
}

} // namespace zav
