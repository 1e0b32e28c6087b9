// Recognising the layout of a folder of new data.
#include "analysis/source_layout.h"

#include <optional>

#include "analysis/entry_names.h"
#include "files/kind_list_file.h"
#include "files/sized_record_file.h"
#include "platform/codepage.h"
#include "session/analysis_state.h"
#include "settings/data_paths.h"

namespace zav {
namespace {

std::string Joined(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (!path.empty() && path.back() != '/' && path.back() != '\\') {
        path += PathSeparatorUnder(folder);
    }
    return path + std::string(name);
}

bool HoldsDiscFolders(const std::vector<DirectoryEntry>& entries) {
    for (const DirectoryEntry& entry : entries) {
        if (entry.isDirectory && (EqualsIgnoringCaseCp1252(entry.name, "circuits") ||
                                  EqualsIgnoringCaseCp1252(entry.name, "voitures"))) {
            return true;
        }
    }
    return false;
}

// Whether the list `listName` in `folder` names `name` in its first record. The name lies at the
// same offset in both track record kinds, so the short one reads either game's list.
bool ListNames(FileSystem& files, std::string_view folder, DataKind kind, std::string_view listName,
               std::string_view name) {
    KindListFile list(files, kind, RECORD_KIND_SHORT);
    char first[NAME_SLOT_SIZE] = {};
    return list.Open(Joined(folder, listName), false) && list.PlainName(1, first) &&
           EqualsIgnoringCaseCp1252(first, name);
}

std::optional<SourceLayout> Recognised(FileSystem& files, std::string_view folder,
                                       std::string_view name,
                                       const std::vector<DirectoryEntry>& entries) {
    SourceLayout layout;
    layout.folder = std::string(folder);
    if (HoldsDiscFolders(entries)) {
        layout.kind = SourceLayoutKind::Disc;
        return layout;
    }
    if (!IsSafeEntryName(name)) {
        return std::nullopt;
    }
    layout.name = std::string(name);
    if (ListNames(files, folder, DataKind::Tracks, "circuits.bin", name)) {
        layout.kind = SourceLayoutKind::LoneTrack;
        return layout;
    }
    if (ListNames(files, folder, DataKind::Cars, "voitures.bin", name)) {
        layout.kind = SourceLayoutKind::LoneCar;
        return layout;
    }
    return std::nullopt;
}

} // namespace

SourceLayout RecogniseSourceLayout(FileSystem& files, std::string_view folder,
                                   std::string_view topName) {
    const auto entries = files.ListFolder(folder);
    if (!entries) {
        return {};
    }
    if (auto layout = Recognised(files, folder, topName, *entries)) {
        return *layout;
    }
    SourceLayout unknown;
    const DirectoryEntry* only = nullptr;
    int folders = 0;
    for (const DirectoryEntry& entry : *entries) {
        unknown.found.push_back(entry.name + (entry.isDirectory ? "/" : ""));
        if (entry.isDirectory) {
            only = &entry;
            ++folders;
        }
    }
    if (folders != 1) {
        return unknown;
    }
    const std::string inner = Joined(folder, only->name);
    const auto innerEntries = files.ListFolder(inner);
    if (!innerEntries) {
        return unknown;
    }
    if (auto layout = Recognised(files, inner, only->name, *innerEntries)) {
        return *layout;
    }
    for (const DirectoryEntry& entry : *innerEntries) {
        unknown.found.push_back(only->name + "/" + entry.name + (entry.isDirectory ? "/" : ""));
    }
    return unknown;
}

} // namespace zav
