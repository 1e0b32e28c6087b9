// Installing the added tracks and cars.
#include "install/install_added.h"

#include "analysis/entry_names.h"
#include "analysis/file_sets.h"
#include "analysis/set_tables.h"
#include "files/name_list_file.h"
#include "files/sized_record_file.h"
#include "install/car_record_deletion.h"
#include "install/guarded_copy.h"
#include "platform/file_replacement.h"
#include "settings/data_paths.h"
#include "settings/error_report.h"

namespace zav {
namespace {

void Step(PatcherSession& session) {
    session.ui.ProgressStep();
}

void StepAndPause(PatcherSession& session) {
    session.ui.ProgressStep();
    session.ui.Pause(INSTALL_STEP_PAUSE_MS);
}

// Copies one set file into the game. False only for the file error that ends the command.
bool InstallFile(PatcherSession& session, DataKind kind, std::string_view name, const SetFile& file,
                 CommandReport& report) {
    PathText source;
    PathText destination;
    if (!SourceFilePath(session, kind, name, file, source) ||
        !GameFilePath(session, file, destination)) {
        return true; // a path that cannot be named is a copy that fails, and goes unreported
    }
    if (file.extensionIndex == EXT_SOUND) {
        EnsureRessonFolder(session);
    }
    if (!file.guarded) {
        session.files.CopyFile(source.view(), destination.view(), true);
    } else if (!CopyIntoGame(session, source.view(), destination.view(), report)) {
        return false;
    }
    session.files.SetAttributes(destination.view(), FILE_ATTRIBUTE_NORMAL);
    return true;
}

// Removes an added entry whose files are incomplete from the work list.
void DropFromWorkList(PatcherSession& session, DataKind kind, std::int32_t slot,
                      std::string_view name) {
    AnalysisState& state = session.analysis;
    if (kind == DataKind::Cars) {
        NameListFile workList(session.files);
        if (workList.Open(state.CarWorkListPath.view(), true) != 0) {
            DeleteCarRecordByEntryName(workList, name);
        }
        return;
    }
    SizedRecordFile workList(session.files);
    if (workList.Open(state.TrackWorkListPath.view(), session.settings.GameVersion, true) != 0) {
        workList.DeleteByIndex(slot + 1);
    }
}

} // namespace

std::int32_t InstallAdded(PatcherSession& session, DataKind kind, CommandReport& report) {
    AnalysisState& state = session.analysis;
    const bool cars = kind == DataKind::Cars;
    KindTables tables = Tables(state, kind);
    PresentSetView& present = tables.present;
    const bool accelerated = state.AcceleratedVersionPresent != 0;

    for (std::int32_t slot = present.firstFurther;
         slot < present.End() && slot < MAX_SET_ENTRIES;) {
        const auto s = static_cast<std::size_t>(slot);
        if (present.flags[s] == PRESENT_INSTALLED) {
            ++slot;
            continue;
        }
        const std::string name = present.names[s].str();
        if (CheckSet(session, kind, name) == 0) {
            DropFromWorkList(session, kind, slot, name);
            present.Remove(slot);
            continue; // the slot now holds the entry that followed
        }
        StepAndPause(session);
        for (const SetFile& file : SetFiles(kind, name, accelerated)) {
            if (!InstallFile(session, kind, name, file, report)) {
                return RESULT_FILE_ERROR;
            }
            cars ? StepAndPause(session) : Step(session);
        }
        present.flags[s] = PRESENT_INSTALLED;
        ++slot;
    }
    if (const FileResult replaced = ReplaceFileAtomically(session.files, tables.workListPath.view(),
                                                          tables.listPath.view());
        !replaced) {
        report.argument = tables.listPath;
        report.detail = FileCauseDetail(session.files, tables.listPath.view(), replaced.Cause());
        return ERR_UPDATE_FAILED;
    }
    return RESULT_OK;
}

void EnsureRessonFolder(PatcherSession& session) {
    PathText folder;
    if (BuildFolderPath(session.settings, FOLDER_RESSON, nullptr, &folder) == nullptr) {
        return;
    }
    PathText marker = folder;
    if (marker.Append("fix.MEG")) {
        const auto status = session.files.Status(marker.view());
        if (status && !status->isDirectory) {
            return;
        }
    }
    session.files.CreateDirectory(folder.view());
}

std::int32_t InstallAddedTracks(PatcherSession& session, CommandReport& report) {
    return InstallAdded(session, DataKind::Tracks, report);
}

std::int32_t InstallAddedCars(PatcherSession& session, CommandReport& report) {
    return InstallAdded(session, DataKind::Cars, report);
}

} // namespace zav
