// Moving marked proposed entries into the work list and the present set.
#include "install/staging_updates.h"

#include <string>
#include <vector>

#include "analysis/left_out_notice.h"
#include "analysis/set_tables.h"
#include "files/kind_list_file.h"
#include "files/sized_record_file.h"
#include "install/guarded_copy.h"
#include "platform/file_replacement.h"
#include "settings/error_report.h"
#include "settings/string_table.h"
#include "settings/text_format.h"

namespace zav {
namespace {

// Why a record could not be appended to the work list, named after the game's list it copies:
// most often a count that promises records the file does not hold.
std::string WriteFailureDetail(PatcherSession& session, KindListFile& workList,
                               const PathText& listPath, const PathText& workListPath) {
    const std::string_view path = listPath.view();
    const std::size_t cut = path.find_last_of("\\/");
    const std::string_view name = cut == std::string_view::npos ? path : path.substr(cut + 1);
    const std::int32_t count = workList.Count(), held = workList.CountHeld();
    if (count < 0 || held < count) {
        return FormatText(session.texts.Own(OwnTextId::ListCountDamaged),
                          {name, count, count < 0 ? 0 : held});
    }
    const std::string refused =
        FormatText(session.texts.Own(OwnTextId::WorkCopyNotWritten), {name});
    const std::string cause =
        FileCauseDetail(session.files, workListPath.view(), workList.LastCause());
    return cause.empty() ? refused : refused + ' ' + cause;
}

void Step(PatcherSession& session) {
    session.ui.ProgressStep();
    session.ui.Pause(ADD_STEP_PAUSE_MS);
}

std::vector<std::int32_t> MarkedEntries(const ProposedSetView& proposed) {
    std::vector<std::int32_t> marked;
    for (std::int32_t i = 0; i < proposed.total && i < MAX_SET_ENTRIES; ++i) {
        if (proposed.flags[static_cast<std::size_t>(i)] == PROPOSED_MARKED) {
            marked.push_back(i);
        }
    }
    return marked;
}

// Clears the marks of the entries beyond the room left in the present tables and tells the user.
void KeepWhatFits(PatcherSession& session, DataKind kind, const PresentSetView& present,
                  ProposedSetView& proposed, std::vector<std::int32_t>& marked) {
    const auto room = static_cast<std::size_t>(present.FreeSlots());
    if (marked.size() <= room) {
        return;
    }
    std::vector<std::string> leftOut;
    for (std::size_t n = room; n < marked.size(); ++n) {
        proposed.flags[static_cast<std::size_t>(marked[n])] = PROPOSED_UNMARKED;
        leftOut.push_back(proposed.names[static_cast<std::size_t>(marked[n])].str());
    }
    marked.resize(room);
    session.ui.MessageBox(FormatText(session.texts.Own(ForKind(OwnTextId::SelectionDoesNotFitTracks,
                                                               kind == DataKind::Cars)),
                                     {JoinNamesForNotice(leftOut)}),
                          session.texts.Text(TEXT_PROGRAM_TITLE), MB_OK | MB_ICONEXCLAMATION);
}

} // namespace

std::int32_t AddSelected(PatcherSession& session, DataKind kind, CommandReport& report) {
    const std::int32_t version = session.settings.GameVersion;
    KindTables tables = Tables(session.analysis, kind);
    PresentSetView& present = tables.present;
    ProposedSetView& proposed = tables.proposed;
    const PathText& workListPath = tables.workListPath;

    std::vector<std::int32_t> marked = MarkedEntries(proposed);
    KeepWhatFits(session, kind, present, proposed, marked);

    // Without both lists the entries would show as added while the work list, and later the
    // game's list, lacked their records: nothing is added then.
    KindListFile stagingList(session.files, kind, version);
    if (!stagingList.Open(proposed.stagingPath.view(), false)) {
        report.argument = proposed.stagingPath;
        return ERR_UPDATE_FAILED;
    }
    // The records are appended to a copy of the work list that takes its place only when all of
    // them were written: a run that fails part way leaves none behind, which the next run, still
    // finding the entries marked, would append a second time.
    std::vector<std::int32_t> unreadable;
    std::int32_t failure = ERR_UPDATE_FAILED;
    std::int32_t written = 0;
    const FileResult committed =
        EditFileAtomically(session.files, workListPath.view(), [&](std::string_view copy) {
            KindListFile workList(session.files, kind, version);
            if (!workList.Open(copy, true)) {
                return FileResult(workList.LastCause());
            }
            for (const std::int32_t i : marked) {
                std::uint8_t record[RECORD_BUFFER_SIZE] = {};
                if (!stagingList.ReadRecord(i + 1, record)) {
                    unreadable.push_back(i);
                    continue;
                }
                // Appended at the list's end: a position counted from the present set could
                // fall on a record of another entry (the car count also holds cars of the
                // base-car list).
                if (workList.WriteRecord(record, 0) < 1) {
                    failure = ERR_UNREFERENCED;
                    report.detail =
                        WriteFailureDetail(session, workList, tables.listPath, workListPath);
                    return FileResult(workList.LastCause());
                }
                ++written;
                Step(session);
            }
            return FileResult();
        });
    stagingList.Close();
    if (!committed) {
        if (failure == ERR_UNREFERENCED) {
            report.argument.Clear();
        } else {
            report.argument = workListPath;
            report.detail = FileCauseDetail(session.files, workListPath.view(), committed.Cause());
        }
        return failure;
    }
    tables.recordsAppended += written;

    std::vector<std::string> unreadableNames;
    for (const std::int32_t i : unreadable) {
        proposed.flags[static_cast<std::size_t>(i)] = PROPOSED_UNMARKED;
        unreadableNames.push_back(proposed.names[static_cast<std::size_t>(i)].str());
    }
    for (const std::int32_t i : marked) {
        if (proposed.flags[static_cast<std::size_t>(i)] != PROPOSED_MARKED) {
            continue;
        }
        proposed.flags[static_cast<std::size_t>(i)] = PROPOSED_UNMARKED;
        present.Append(proposed.names[static_cast<std::size_t>(i)].view(), PRESENT_ADDED);
        Step(session);
    }
    if (!unreadableNames.empty()) {
        session.ui.MessageBox(
            FormatText(session.texts.Own(
                           ForKind(OwnTextId::RecordsNotReadBackTracks, kind == DataKind::Cars)),
                       {JoinNamesForNotice(unreadableNames)}),
            session.texts.Text(TEXT_PROGRAM_TITLE), MB_OK | MB_ICONEXCLAMATION);
    }
    return RESULT_OK;
}

std::int32_t AddSelectedTracks(PatcherSession& session, CommandReport& report) {
    return AddSelected(session, DataKind::Tracks, report);
}

std::int32_t AddSelectedCars(PatcherSession& session, CommandReport& report) {
    return AddSelected(session, DataKind::Cars, report);
}

} // namespace zav
