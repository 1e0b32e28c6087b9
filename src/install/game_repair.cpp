// Repairing the game's lists and removing stale temporaries.
#include "install/game_repair.h"

#include <algorithm>

#include "analysis/entry_names.h"
#include "files/name_list_file.h"
#include "files/sized_record_file.h"
#include "install/guarded_copy.h"
#include "platform/file_replacement.h"
#include "platform/path_key.h"
#include "settings/string_table.h"
#include "settings/text_format.h"

namespace zav {
namespace {

// Removes the finding's record from its list, unless the record no longer names its entry (the
// list changed since the check): then the wrong record must not go.
FileResult RemoveRecord(PatcherSession& session, const GameFinding& finding) {
    return EditFileAtomically(session.files, finding.list, [&](std::string_view copy) {
        char name[NAME_SLOT_SIZE];
        if (finding.dataKind == DataKind::Cars) {
            NameListFile list(session.files);
            const bool removed =
                list.Open(copy, true) != 0 && list.GetName(finding.record, name) != nullptr &&
                NameListFile::UnmaskName(name, name) == 0 && SameEntryName(name, finding.name) &&
                list.DeleteByIndex(finding.record) == 1;
            return removed ? FileResult() : FileResult(list.LastCause());
        }
        SizedRecordFile list(session.files);
        const bool removed = list.Open(copy, session.settings.GameVersion, true) != 0 &&
                             list.GetName(finding.record, name) != nullptr &&
                             SameEntryName(name, finding.name) &&
                             list.DeleteByIndex(finding.record) == 1;
        return removed ? FileResult() : FileResult(list.LastCause());
    });
}

FileResult DeleteTemporary(FileSystem& files, const std::string& path) {
    DeleteTemporaryCopy(files, path);
    const auto status = files.Status(path);
    if (!status) {
        return {};
    }
    // Tell why it stays: a second try names the cause.
    const FileResult again = files.DeleteFile(path);
    return again ? again : FileResult(again.Cause());
}

std::string Question(PatcherSession& session, const GameFinding& finding) {
    const std::string found = DescribeFinding(session.texts, finding);
    if (finding.kind == FindingKind::Temporary) {
        return found + "\n\n" +
               FormatText(session.texts.Own(OwnTextId::RepairDeleteTemporary), {finding.files[0]});
    }
    return found + "\n\n" +
           FormatText(session.texts.Own(OwnTextId::RepairRemoveRecord),
                      {finding.record, finding.name, finding.list});
}

} // namespace

RepairResult RepairGame(PatcherSession& session, const GameCheck& check, bool ask) {
    RepairResult result;
    std::vector<const GameFinding*> order;
    for (const GameFinding& finding : check.findings) {
        if (finding.mendable) {
            order.push_back(&finding);
        } else {
            ++result.left;
        }
    }
    std::stable_sort(order.begin(), order.end(), [](const GameFinding* a, const GameFinding* b) {
        const bool aTemporary = a->kind == FindingKind::Temporary;
        const bool bTemporary = b->kind == FindingKind::Temporary;
        if (aTemporary != bTemporary) {
            return aTemporary;
        }
        if (aTemporary) {
            return false;
        }
        const std::string aKey = PathComparisonKey(a->list);
        const std::string bKey = PathComparisonKey(b->list);
        return aKey != bKey ? aKey < bKey : a->record > b->record;
    });
    ChangeJournal* journal = session.journal;
    if (journal != nullptr && !order.empty()) {
        journal->BeginCommand("repair");
    }
    for (const GameFinding* finding : order) {
        if (ask && session.ui.MessageBox(Question(session, *finding),
                                         session.texts.Own(OwnTextId::CheckTitle),
                                         MB_YESNO | MB_ICONQUESTION) != IDYES) {
            ++result.left;
            continue;
        }
        const bool temporary = finding->kind == FindingKind::Temporary;
        const FileResult done = temporary ? DeleteTemporary(session.files, finding->files[0])
                                          : RemoveRecord(session, *finding);
        if (!done) {
            ++result.left;
            const std::string_view cause = FileErrorCauseText(done.Cause());
            session.ui.MessageBox(FormatText(session.texts.Own(OwnTextId::RepairFailed),
                                             {temporary ? finding->files[0] : finding->list,
                                              cause.empty() ? "?" : cause}),
                                  session.texts.Text(TEXT_WARNING), MB_OK | MB_ICONEXCLAMATION);
            continue;
        }
        ++result.mended;
        if (journal != nullptr && finding->kind == FindingKind::MissingFiles) {
            journal->NoteEntry(finding->dataKind, finding->name, false);
        }
    }
    if (journal != nullptr && !order.empty()) {
        journal->EndCommand();
    }
    return result;
}

} // namespace zav
