// Car record deletion by entry name.
#include "install/car_record_deletion.h"

#include "analysis/base_entries.h"

namespace zav {

int DeleteCarRecordByEntryName(NameListFile& list, std::string_view entryName) {
    char stored[NAME_SLOT_SIZE];
    return FindCarRecordByEntryName(list, entryName, stored) > 0 ? list.DeleteByName(stored) : -2;
}

} // namespace zav
