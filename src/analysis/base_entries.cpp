// Base entries of the game, by name.
#include "analysis/base_entries.h"

#include "analysis/entry_names.h"
#include "analysis/set_tables.h"
#include "files/name_list_file.h"
#include "settings/data_paths.h"

namespace zav {
namespace {

// Read afresh rather than taken from the tables: the analysis keeps only the first 8 records,
// and only those whose names are not base car names.
bool InGameCarList(PatcherSession& session, std::string_view name) {
    PathText path;
    NameListFile list(session.files);
    if (BuildDataPath(session.settings, "voitures", EXT_LIST, FOLDER_SCRIPTS, nullptr, &path) ==
            nullptr ||
        list.Open(path.view(), false) == 0) {
        return false;
    }
    char stored[NAME_SLOT_SIZE];
    return FindCarRecordByEntryName(list, name, stored) > 0;
}

} // namespace

std::int32_t FindCarRecordByEntryName(NameListFile& list, std::string_view entryName,
                                      char (&stored)[NAME_SLOT_SIZE]) {
    const std::int32_t held = list.CountHeld();
    for (std::int32_t r = 1; r <= held; ++r) {
        if (list.GetName(r, stored) == nullptr) {
            continue;
        }
        NameListFile::UnmaskName(stored, stored);
        if (SameEntryName(stored, entryName)) {
            return r;
        }
    }
    return 0;
}

bool IsBaseEntryName(PatcherSession& session, DataKind kind, std::string_view name) {
    const PresentSetView present = PresentSet(session.analysis, kind);
    if (CountNamed(present.names, 0, present.firstFurther, name) > 0) {
        return true;
    }
    return kind == DataKind::Cars && InGameCarList(session, name);
}

} // namespace zav
