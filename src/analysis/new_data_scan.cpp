// The scan of the new data beside the tool and the writing of the staging lists.
#include "analysis/new_data_scan.h"

#include <string>
#include <vector>

#include "analysis/entry_names.h"
#include "analysis/left_out_notice.h"
#include "analysis/set_tables.h"
#include "files/kind_list_file.h"
#include "files/sized_record_file.h"
#include "platform/codepage.h"
#include "settings/data_paths.h"
#include "settings/error_report.h"
#include "settings/text_format.h"

namespace zav {
namespace {

// Creates the staging list as a block of zero bytes (count 0); false when it cannot.
bool CreateStagingFile(FileSystem& files, std::string_view path, std::int64_t size) {
    auto handle = files.Open(path, OpenMode::CreateTruncate);
    if (handle == nullptr) {
        return false;
    }
    const std::vector<char> zeros(static_cast<std::size_t>(size), '\0');
    return handle->WriteAt(0, zeros.data(), size).bytes == size;
}

// Whether `folder` lies within `disc` (a FinalPath without its trailing separators) once its
// links are followed: a disc may link an entry's folder in from elsewhere on the disc, but a link
// out of it would have the install copy the files of any folder of the host into the game.
bool WithinDisc(FileSystem& files, const std::optional<std::string>& disc,
                std::string_view folder) {
    const std::string resolved = files.FinalPath(folder);
    return disc && resolved.size() > disc->size() + 1 && resolved.starts_with(*disc) &&
           (resolved[disc->size()] == '/' || resolved[disc->size()] == '\\');
}

struct ScanFindings {
    std::vector<std::string> outsideNames;
    std::vector<std::string> unsafeNames;
    std::vector<std::string> repeatedNames;
    std::vector<std::string> overflowNames;
};

void TellFindings(PatcherSession& session, DataKind kind, const ScanFindings& findings) {
    struct Notice {
        const std::vector<std::string>& names;
        LeftOutCause trackCause;
        LeftOutCause carCause;
        OwnTextId trackText;
    };
    const Notice notices[] = {
        {findings.outsideNames, LeftOutCause::OutsideProposedTrack,
         LeftOutCause::OutsideProposedCar, OwnTextId::OutsideFoldersTracks},
        {findings.unsafeNames, LeftOutCause::UnsafeProposedTrack, LeftOutCause::UnsafeProposedCar,
         OwnTextId::UnsafeFoldersTracks},
        {findings.repeatedNames, LeftOutCause::RepeatedProposedTrack,
         LeftOutCause::RepeatedProposedCar, OwnTextId::RepeatedFoldersTracks},
        {findings.overflowNames, LeftOutCause::ProposedTracksOverflow,
         LeftOutCause::ProposedCarsOverflow, OwnTextId::ProposedOverflowTracks},
    };
    const bool cars = kind == DataKind::Cars;
    for (const Notice& notice : notices) {
        if (!notice.names.empty()) {
            ShowLeftOutNotice(session, cars ? notice.carCause : notice.trackCause,
                              FormatText(session.texts.Own(ForKind(notice.trackText, cars)),
                                         {JoinNamesForNotice(notice.names)}));
        }
    }
}

} // namespace

std::int32_t ScanNewData(PatcherSession& session, DataKind kind) {
    const KindFacts& facts = Facts(kind);
    ProposedSetView proposed = ProposedSet(session.analysis, kind);
    proposed.flags.fill(PROPOSED_UNMARKED);
    proposed.total = 0;

    if (!proposed.stagingPath.Assign(session.files.TemporaryFolder()) ||
        proposed.stagingPath.empty() || !proposed.stagingPath.Append(facts.newDataListName) ||
        !CreateStagingFile(session.files, proposed.stagingPath.view(), facts.stagingInitialSize)) {
        proposed.total = 0;
        return 0;
    }
    const std::int32_t version = session.settings.GameVersion;
    KindListFile staging(session.files, kind, version);
    staging.Open(proposed.stagingPath.view(), true);

    // Without a source folder the new-data folders would be looked for at the host's root.
    PathText base;
    if (!session.settings.SourceDirectory.empty()) {
        BuildFolderPath(session.settings, facts.sourceFolder, nullptr, &base);
    }
    const auto entries = base.empty() ? std::nullopt : session.files.ListFolder(base.view());
    std::optional<std::string> disc;
    if (std::string resolved = session.files.FinalPath(session.settings.SourceDirectory.view());
        entries && !resolved.empty()) {
        while (!resolved.empty() && (resolved.back() == '/' || resolved.back() == '\\')) {
            resolved.pop_back();
        }
        disc = std::move(resolved);
    }
    const char separator[] = {PathSeparatorUnder(session.settings.SourceDirectory.view()), '\0'};
    ScanFindings findings;
    for (const DirectoryEntry& entry : entries.value_or(std::vector<DirectoryEntry>{})) {
        if (!entry.isDirectory) {
            continue;
        }
        if (!IsSafeEntryName(entry.name)) {
            findings.unsafeNames.push_back(entry.name);
            continue;
        }
        PathText listPath = base;
        if (!listPath.Append(entry.name)) {
            continue; // its files could not be named within 255 characters either
        }
        if (!WithinDisc(session.files, disc, listPath.view())) {
            findings.outsideNames.push_back(entry.name);
            continue;
        }
        if (!listPath.Append(separator) || !listPath.Append(facts.newDataListName)) {
            continue;
        }
        KindListFile list(session.files, kind, version);
        char name[NAME_SLOT_SIZE];
        if (!list.Open(listPath.view(), false) || !list.PlainName(1, name) ||
            !EqualsIgnoringCaseCp1252(name, entry.name)) {
            continue;
        }
        // Only a file system that tells case apart can hold such a pair; the game and the tool
        // name both folders alike, so the second could only ever get the first one's files.
        if (FindNamed(proposed.names, 0, proposed.total, name) >= 0) {
            findings.repeatedNames.push_back(entry.name);
            continue;
        }
        if (proposed.total >= MAX_SET_ENTRIES) {
            findings.overflowNames.emplace_back(name);
            continue;
        }
        std::uint8_t record[RECORD_BUFFER_SIZE] = {};
        // An entry whose record does not reach the staging list is dropped: staging record
        // i + 1 must stay the record of proposed entry i.
        if (!list.ReadRecord(1, record) ||
            staging.WriteRecord(record, proposed.total + 1) != proposed.total + 1) {
            continue;
        }
        proposed.names[static_cast<std::size_t>(proposed.total)].AssignCut(name);
        ++proposed.total;
    }
    staging.Close();
    for (std::int32_t i = 0; i < proposed.total; ++i) {
        NormaliseName(proposed.names[static_cast<std::size_t>(i)]);
    }
    TellFindings(session, kind, findings);
    return RESULT_OK;
}

} // namespace zav
