// The present set analysis of tracks and cars.
#include "analysis/present_set.h"

#include <algorithm>

#include "analysis/entry_names.h"
#include "analysis/left_out_notice.h"
#include "files/name_list_file.h"
#include "files/sized_record_file.h"
#include "platform/codepage.h"
#include "settings/data_paths.h"
#include "settings/error_report.h"
#include "settings/own_texts.h"
#include "settings/text_format.h"

namespace zav {
namespace {

constexpr std::int32_t kFurtherCarCapacity = MAX_SET_ENTRIES - BASE_CAR_COUNT;

bool IsBaseCarName(const AnalysisState& state, const char* name) {
    for (std::int32_t s = 0; s < BASE_CAR_COUNT; ++s) {
        if (EqualsIgnoringAsciiCase(state.PresentCarNames[static_cast<std::size_t>(s)].view(),
                                    name)) {
            return true;
        }
    }
    return false;
}

// A list too short for its 4-byte count, or whose count is negative, is damaged rather than
// empty: its count would be read from bytes that are not there. Such a list is named in the
// report's detail; a list that does not open is left to its file class to report.
bool ListIsSound(PatcherSession& session, const PathText& path, std::int32_t count,
                 CommandReport& report) {
    const auto handle = session.files.Open(path.view(), OpenMode::ReadOnly);
    const std::int64_t size = handle != nullptr ? handle->Size().bytes : -1;
    const std::string_view full = path.view();
    const std::size_t cut = full.find_last_of("\\/");
    const std::string_view name = cut == std::string_view::npos ? full : full.substr(cut + 1);
    if (size >= 0 && size < 4) {
        report.detail = FormatText(session.texts.Own(OwnTextId::ListTooShort),
                                   {name, static_cast<long long>(size)});
        return false;
    }
    if (count < 0) {
        report.detail =
            FormatText(session.texts.Own(OwnTextId::ListCountDamaged), {name, count, 0});
        return false;
    }
    return true;
}

std::int32_t AnalyseTracks(PatcherSession& session, CommandReport& report) {
    AnalysisState& state = session.analysis;
    if (BuildDataPath(session.settings, "circuits", EXT_LIST, FOLDER_SCRIPTS, nullptr,
                      &state.TrackListPath) == nullptr) {
        report.argument = state.TrackListPath;
        return ERR_FILE_NOT_FOUND;
    }
    SizedRecordFile list(session.files);
    if (list.Open(state.TrackListPath.view(), session.settings.GameVersion, false) == 0) {
        report.argument = state.TrackListPath;
        return ERR_FILE_NOT_FOUND;
    }
    if (!ListIsSound(session, state.TrackListPath, list.Count(), report)) {
        return ERR_UNREFERENCED;
    }
    state.PresentTrackFlags.fill(PRESENT_BASE);
    // A count larger than the file can hold names records that are not there.
    const std::int32_t count = list.CountHeld();
    state.PresentTrackTotal = std::min(count, MAX_SET_ENTRIES);
    for (std::int32_t r = 1; r <= state.PresentTrackTotal; ++r) {
        NameText& slot = state.PresentTrackNames[static_cast<std::size_t>(r - 1)];
        // A record that cannot be read leaves its slot's old text, as the game's tool did.
        list.GetName(r, slot.data());
        if (r - 1 >= BASE_TRACK_COUNT) {
            state.PresentTrackFlags[static_cast<std::size_t>(r - 1)] = PRESENT_INSTALLED;
        }
    }
    list.Close();
    for (std::int32_t s = 0; s < state.PresentTrackTotal; ++s) {
        NormaliseName(state.PresentTrackNames[static_cast<std::size_t>(s)]);
    }
    if (count > MAX_SET_ENTRIES) {
        ShowLeftOutNotice(session, LeftOutCause::PresentTracksOverflow,
                          FormatText(session.texts.Own(OwnTextId::TracksOverflow),
                                     {count, count - MAX_SET_ENTRIES}));
    }
    return RESULT_OK;
}

// Appends the non-base names of records `first` to `last` of `list` to the further cars.
// Returns how many names there was no room for.
std::int32_t TakeFurtherCars(AnalysisState& state, NameListFile& list, std::int32_t first,
                             std::int32_t last, std::int32_t& slotsInUse) {
    std::int32_t leftOut = 0;
    for (std::int32_t r = first; r <= last; ++r) {
        char name[NAME_SLOT_SIZE];
        if (list.GetName(r, name) == nullptr) {
            continue;
        }
        NameListFile::UnmaskName(name, name);
        if (IsBaseCarName(state, name)) {
            continue;
        }
        if (slotsInUse >= MAX_SET_ENTRIES) {
            ++leftOut;
            continue;
        }
        state.PresentCarNames[static_cast<std::size_t>(slotsInUse)].AssignCut(name);
        state.PresentCarFlags[static_cast<std::size_t>(slotsInUse)] = PRESENT_INSTALLED;
        ++slotsInUse;
    }
    return leftOut;
}

std::int32_t AnalyseCars(PatcherSession& session, CommandReport& report) {
    AnalysisState& state = session.analysis;
    state.PresentCarFlags.fill(PRESENT_BASE);
    for (std::int32_t s = 0; s < BASE_CAR_COUNT; ++s) {
        state.PresentCarNames[static_cast<std::size_t>(s)].AssignCut(
            BaseCarNames[static_cast<std::size_t>(s)]);
    }
    std::int32_t slotsInUse = BASE_CAR_COUNT;
    std::int32_t leftOut = 0;
    NameListFile list(session.files);

    if (BuildDataPath(session.settings, "voitures", EXT_LIST, FOLDER_SCRIPTS, nullptr,
                      &state.CarListPath) == nullptr ||
        list.Open(state.CarListPath.view(), false) == 0) {
        report.argument = state.CarListPath;
        return ERR_FILE_NOT_FOUND;
    }
    if (!ListIsSound(session, state.CarListPath, list.Count(), report)) {
        return ERR_UNREFERENCED;
    }
    // The game's base list: its first 8 records, whatever its count says.
    leftOut += TakeFurtherCars(state, list, 1, BASE_CAR_COUNT, slotsInUse);
    list.Close();

    if (BuildDataPath(session.settings, "voiture2", EXT_LIST, FOLDER_SCRIPTS, nullptr,
                      &state.CarListPath) == nullptr ||
        list.Open(state.CarListPath.view(), false) == 0) {
        report.argument = state.CarListPath;
        return ERR_FILE_NOT_FOUND;
    }
    if (!ListIsSound(session, state.CarListPath, list.Count(), report)) {
        return ERR_UNREFERENCED;
    }
    leftOut += TakeFurtherCars(state, list, 1, list.CountHeld(), slotsInUse);
    list.Close();

    for (std::int32_t s = 0; s < slotsInUse; ++s) {
        NormaliseName(state.PresentCarNames[static_cast<std::size_t>(s)]);
    }
    state.PresentCarTotal = slotsInUse - BASE_CAR_COUNT;
    if (leftOut > 0) {
        ShowLeftOutNotice(
            session, LeftOutCause::PresentCarsOverflow,
            FormatText(session.texts.Own(OwnTextId::CarsOverflow),
                       {kFurtherCarCapacity + leftOut, kFurtherCarCapacity, leftOut}));
    }
    return RESULT_OK;
}

} // namespace

std::int32_t AnalysePresentSet(PatcherSession& session, DataKind kind, CommandReport& report) {
    return kind == DataKind::Cars ? AnalyseCars(session, report) : AnalyseTracks(session, report);
}

} // namespace zav
