// Car record deletion by entry name.
#include "install/car_record_deletion.h"

#include "analysis/analysis_state.h"
#include "analysis/entry_names.h"

namespace zav {

int DeleteCarRecordByEntryName(NameListFile& list, std::string_view entryName) {
    const std::int32_t held = list.CountHeld();
    for (std::int32_t r = 1; r <= held; ++r) {
        char stored[NAME_SLOT_SIZE];
        if (list.GetName(r, stored) == nullptr) {
            continue;
        }
        NameListFile::UnmaskName(stored, stored);
        if (SameEntryName(stored, entryName)) {
            return list.DeleteByName(stored);
        }
    }
    return -2;
}

} // namespace zav
