// Deleting a further track or car from the game.
#include "install/delete_entry.h"

#include <algorithm>
#include <string>
#include <vector>

#include "analysis/base_entries.h"
#include "analysis/entry_names.h"
#include "analysis/file_sets.h"
#include "analysis/set_tables.h"
#include "files/name_list_file.h"
#include "files/sized_record_file.h"
#include "install/car_record_deletion.h"
#include "install/guarded_copy.h"
#include "platform/codepage.h"
#include "platform/file_replacement.h"
#include "platform/path_key.h"
#include "settings/data_paths.h"
#include "settings/error_report.h"
#include "settings/string_table.h"
#include "settings/text_format.h"

namespace zav {
namespace {

void StepAndPause(PatcherSession& session) {
    session.ui.ProgressStep();
    session.ui.Pause(DELETE_STEP_PAUSE_MS);
}

// The game files of an entry, in the order they are deleted, grouped by progress step: the
// track or car file(s) first (both variants when an accelerated game is installed), then one
// group per further file.
std::vector<std::vector<SetFile>> FilesToDelete(DataKind kind, std::string_view name,
                                                bool accelerated) {
    const std::vector<SetFile> standard = SetFiles(kind, name, false);
    std::vector<std::vector<SetFile>> groups;
    std::vector<SetFile> mainFiles;
    if (accelerated) {
        mainFiles.push_back(SetFiles(kind, name, true).front());
    }
    mainFiles.push_back(standard.front());
    groups.push_back(mainFiles);
    for (std::size_t i = 1; i < standard.size(); ++i) {
        groups.push_back({standard[i]});
    }
    return groups;
}

bool ContainsPath(const std::vector<std::string>& paths, std::string_view path) {
    return std::any_of(paths.begin(), paths.end(), [&](const std::string& known) {
        return PathComparisonKey(known) == PathComparisonKey(path);
    });
}

// Removes the car's record from the game's voiture2.bin in one atomic step.
std::int32_t RemoveCarRecord(PatcherSession& session, const std::string& name,
                             CommandReport& report) {
    std::int32_t failure = ERR_UPDATE_FAILED;
    const std::string_view path = session.analysis.CarListPath.view();
    const FileResult removed = EditFileAtomically(session.files, path, [&](std::string_view copy) {
        NameListFile list(session.files);
        if (list.Open(copy, true) == 0) {
            return FileResult(list.LastCause());
        }
        const int deleted = DeleteCarRecordByEntryName(list, name);
        if (deleted == -2) {
            failure = ERR_CAR_IN_BASE_LIST;
        }
        return deleted == 1 ? FileResult() : FileResult(list.LastCause());
    });
    if (!removed) {
        report.detail = FileCauseDetail(session.files, path, removed.Cause());
    }
    return removed ? RESULT_OK : failure;
}

// Removes record slot + 1 from the game's circuits.bin in one atomic step.
std::int32_t RemoveTrackRecord(PatcherSession& session, std::int32_t slot, const std::string& name,
                               CommandReport& report) {
    const std::string_view path = session.analysis.TrackListPath.view();
    const FileResult removed = EditFileAtomically(session.files, path, [&](std::string_view copy) {
        SizedRecordFile list(session.files);
        if (list.Open(copy, session.settings.GameVersion, true) == 0) {
            return FileResult(list.LastCause());
        }
        // The slot and the record stand for the same track unless somebody changed the list
        // since the analysis; then the wrong track must not go.
        char recordName[NAME_SLOT_SIZE];
        if (list.GetName(slot + 1, recordName) == nullptr || !SameEntryName(recordName, name)) {
            return FileResult(list.LastCause());
        }
        return list.DeleteByIndex(slot + 1) == 1 ? FileResult() : FileResult(list.LastCause());
    });
    if (!removed) {
        report.detail = FileCauseDetail(session.files, path, removed.Cause());
    }
    return removed ? RESULT_OK : ERR_UPDATE_FAILED;
}

// The entry goes with its files: a read-only attribute guards them against other programs, not
// against the Trash the user asked for. A file gone already is no failure.
FileResult DeleteDataFile(FileSystem& files, std::string_view path) {
    const auto status = files.Status(path);
    if (!status) {
        return {};
    }
    if (status->readOnly) {
        if (const FileResult cleared = files.SetAttributes(path, FILE_ATTRIBUTE_NORMAL); !cleared) {
            return cleared;
        }
    }
    return files.DeleteFile(path);
}

} // namespace

std::int32_t DeleteEntry(PatcherSession& session, DataKind kind, std::int32_t slot,
                         CommandReport& report) {
    AnalysisState& state = session.analysis;
    KindTables tables = Tables(state, kind);
    PresentSetView& present = tables.present;
    if (slot < present.firstFurther || slot >= present.End() || slot >= MAX_SET_ENTRIES) {
        return ERR_UNREFERENCED;
    }
    const std::string name = present.names[static_cast<std::size_t>(slot)].str();
    if (!IsSafeEntryName(name)) {
        WarnUnsafeName(session, kind, name);
        return RESULT_REPORTED;
    }
    StepAndPause(session);
    const std::int32_t removed = kind == DataKind::Cars
                                     ? RemoveCarRecord(session, name, report)
                                     : RemoveTrackRecord(session, slot, name, report);
    if (removed != RESULT_OK) {
        return removed;
    }
    if (const FileResult refreshed =
            session.files.CopyFile(tables.listPath.view(), tables.workListPath.view(), false);
        !refreshed) {
        report.detail =
            FileCauseDetail(session.files, tables.workListPath.view(), refreshed.Cause());
        return ERR_UPDATE_FAILED;
    }
    StepAndPause(session);
    // Data files are found by name alone, so a base entry of that name would lose its own.
    const bool keepFiles = IsBaseEntryName(session, kind, name);
    // When the history knows the install, only what the tool put there goes: a file the user
    // kept by answering No is the user's.
    const auto installed =
        session.journal != nullptr ? session.journal->InstalledFiles(kind, name) : std::nullopt;
    // A file that is there and cannot be deleted (its saved copy refused, access denied) is told;
    // a missing one is no loss. A read-only file is the entry's still: it goes too.
    std::string leftPath;
    FileErrorCause leftCause = FileErrorCause::None;
    for (const auto& group : FilesToDelete(kind, name, state.AcceleratedVersionPresent != 0)) {
        for (const SetFile& file : group) {
            PathText path;
            if (keepFiles || !GameFilePath(session, file, path) ||
                (installed && !ContainsPath(*installed, path.view()))) {
                continue;
            }
            const FileResult deleted = DeleteDataFile(session.files, path.view());
            if (!deleted && deleted.Cause() != FileErrorCause::NotFound && leftPath.empty() &&
                session.files.Status(path.view())) {
                leftPath = path.str();
                leftCause = deleted.Cause();
            }
        }
        StepAndPause(session);
    }
    present.Remove(slot);
    StepAndPause(session);
    if (!leftPath.empty()) {
        const std::string_view reason = FileErrorCauseText(leftCause);
        session.ui.MessageBox(FormatText(session.texts.Own(OwnTextId::FileNotDeleted),
                                         {name, leftPath, reason.empty() ? "?" : reason}),
                              session.texts.Text(TEXT_WARNING), MB_OK | MB_ICONEXCLAMATION);
        return RESULT_FILES_LEFT;
    }
    return keepFiles ? RESULT_FILES_KEPT : RESULT_OK;
}

std::int32_t DeleteTrack(PatcherSession& session, std::int32_t slot) {
    CommandReport report;
    return DeleteEntry(session, DataKind::Tracks, slot, report);
}

std::int32_t DeleteCar(PatcherSession& session, std::int32_t slot) {
    CommandReport report;
    return DeleteEntry(session, DataKind::Cars, slot, report);
}

} // namespace zav
