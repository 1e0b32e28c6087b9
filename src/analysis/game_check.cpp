// Checking the game's lists against its data folders.
#include "analysis/game_check.h"

#include <algorithm>
#include <optional>

#include "analysis/entry_names.h"
#include "analysis/file_sets.h"
#include "files/kind_list_file.h"
#include "platform/codepage.h"
#include "platform/path_key.h"
#include "session/analysis_state.h"
#include "settings/data_paths.h"
#include "settings/text_format.h"

namespace zav {
namespace {

// A list's plain names by record, nullopt for a record that cannot be read.
struct ListNames {
    std::string path;
    std::int32_t count = 0;
    std::vector<std::optional<std::string>> names;

    [[nodiscard]] bool Names(std::string_view name) const {
        return std::any_of(names.begin(), names.end(), [&](const auto& listed) {
            return listed && SameEntryName(*listed, name);
        });
    }
};

std::string ListPath(const PatcherSettings& settings, const char* baseName) {
    PathText path;
    BuildDataPath(settings, baseName, EXT_LIST, FOLDER_SCRIPTS, nullptr, &path);
    return path.str();
}

std::optional<ListNames> ReadNames(FileSystem& files, const PatcherSettings& settings,
                                   DataKind kind, const char* baseName) {
    ListNames list;
    list.path = ListPath(settings, baseName);
    KindListFile file(files, kind, settings.GameVersion);
    if (list.path.empty() || !file.Open(list.path, false)) {
        return std::nullopt;
    }
    list.count = file.Count();
    const std::int32_t held = file.CountHeld();
    for (std::int32_t r = 1; r <= held; ++r) {
        char name[NAME_SLOT_SIZE];
        if (file.PlainName(r, name)) {
            list.names.emplace_back(name);
        } else {
            list.names.emplace_back(std::nullopt);
        }
    }
    return list;
}

std::string DataFilePath(const PatcherSettings& settings, const SetFile& file) {
    PathText path;
    BuildDataPath(settings, file.baseName.c_str(), file.extensionIndex, file.gameFolder, nullptr,
                  &path);
    return path.str();
}

bool Exists(FileSystem& files, const std::string& path) {
    const auto status = path.empty() ? std::nullopt : files.Status(path);
    return status && !status->isDirectory;
}

// The files of the entry's set, in both variants of its track or car file, that are there.
std::vector<std::string> PresentSetFiles(FileSystem& files, const PatcherSettings& settings,
                                         DataKind kind, std::string_view name) {
    std::vector<std::string> present;
    std::vector<SetFile> set = SetFiles(kind, name, true);
    set.push_back(SetFiles(kind, name, false).front());
    for (const SetFile& file : set) {
        const std::string path = DataFilePath(settings, file);
        if (Exists(files, path)) {
            present.push_back(path);
        }
    }
    return present;
}

class Checker {
public:
    Checker(FileSystem& files, const PatcherSettings& settings, const GameCheckOptions& options)
        : files_(files), settings_(settings), options_(options) {}

    void DamagedCount(const ListNames& list) {
        const auto held = static_cast<std::int32_t>(list.names.size());
        if (list.count != held) {
            GameFinding finding;
            finding.kind = FindingKind::DamagedCount;
            finding.list = list.path;
            finding.firstRecord = list.count;
            finding.held = held;
            findings.push_back(std::move(finding));
        }
    }

    // `firstAdded`: the first record of added entries (records before it are the game's own);
    // past the list's end for the game's base car list.
    void Records(const ListNames& list, DataKind kind, std::int32_t firstAdded,
                 const ListNames* gameCars) {
        for (std::size_t i = 0; i < list.names.size(); ++i) {
            const auto record = static_cast<std::int32_t>(i + 1);
            const auto& name = list.names[i];
            GameFinding finding;
            finding.dataKind = kind;
            finding.list = list.path;
            finding.record = record;
            if (!name || !IsSafeEntryName(*name)) {
                finding.kind = FindingKind::UnusableRecord;
                findings.push_back(std::move(finding));
                continue;
            }
            finding.name = *name;
            const auto first =
                std::find_if(list.names.begin(), list.names.begin() + i, [&](const auto& earlier) {
                    return earlier && SameEntryName(*earlier, *name);
                });
            if (first != list.names.begin() + static_cast<long>(i)) {
                finding.kind = FindingKind::RepeatedRecord;
                finding.firstRecord = static_cast<std::int32_t>(first - list.names.begin()) + 1;
                // The game's own records are never taken out: the tool only keeps added ones.
                finding.mendable = record >= firstAdded;
                findings.push_back(std::move(finding));
                continue;
            }
            if (record < firstAdded) {
                continue;
            }
            if (kind == DataKind::Cars) {
                const bool baseCar =
                    std::any_of(BaseCarNames.begin(), BaseCarNames.end(),
                                [&](std::string_view base) { return SameEntryName(base, *name); });
                if (baseCar || (gameCars != nullptr && gameCars->Names(*name))) {
                    finding.kind = FindingKind::CarOfTheGame;
                    finding.otherList = baseCar ? std::string() : gameCars->path;
                    findings.push_back(std::move(finding));
                    continue;
                }
            }
            MissingFiles(std::move(finding));
        }
    }

    void MissingFiles(GameFinding finding) {
        for (const SetFile& file : SetFiles(finding.dataKind, finding.name, options_.accelerated)) {
            const std::string path = DataFilePath(settings_, file);
            if (file.tested && !Exists(files_, path)) {
                finding.files.push_back(path);
            }
        }
        if (finding.files.empty()) {
            return;
        }
        finding.kind = FindingKind::MissingFiles;
        // Only a record with nothing left of its set goes: a partial set may still be mended by
        // installing the entry again.
        finding.mendable =
            PresentSetFiles(files_, settings_, finding.dataKind, finding.name).empty();
        findings.push_back(std::move(finding));
    }

    // File sets whose track or car file lies in its data folder with no record naming it.
    void UnlistedFiles(DataKind kind, const std::vector<const ListNames*>& lists,
                       const std::string& listShown) {
        PathText folder;
        const std::int32_t selector = kind == DataKind::Cars ? FOLDER_VOITURES : FOLDER_CIRCUITS;
        if (BuildFolderPath(settings_, selector, nullptr, &folder) == nullptr) {
            return;
        }
        const auto entries = files_.ListFolder(folder.view());
        if (!entries) {
            return;
        }
        std::vector<std::string> seen;
        const int standard = kind == DataKind::Cars ? EXT_CAR_STANDARD : EXT_TRACK_STANDARD;
        for (const DirectoryEntry& entry : *entries) {
            const std::size_t dot = entry.name.rfind('.');
            if (entry.isDirectory || dot == std::string::npos ||
                entry.name.starts_with(TEMPORARY_NAME_PREFIX)) {
                continue;
            }
            const std::string_view extension = std::string_view(entry.name).substr(dot + 1);
            const std::string stem = entry.name.substr(0, dot);
            const bool setFile = EqualsIgnoringAsciiCase(extension, FileExtensions[standard]) ||
                                 EqualsIgnoringAsciiCase(extension, FileExtensions[standard + 1]);
            const auto listed = [&](std::string_view name) {
                return std::any_of(lists.begin(), lists.end(),
                                   [&](const ListNames* list) { return list->Names(name); }) ||
                       (kind == DataKind::Cars &&
                        std::any_of(
                            BaseCarNames.begin(), BaseCarNames.end(),
                            [&](std::string_view base) { return SameEntryName(base, name); }));
            };
            const bool known = std::any_of(seen.begin(), seen.end(), [&](const std::string& s) {
                return SameEntryName(s, stem);
            });
            if (!setFile || !IsSafeEntryName(stem) || known || listed(stem)) {
                continue;
            }
            seen.push_back(stem);
            GameFinding finding;
            finding.kind = FindingKind::UnlistedFiles;
            finding.dataKind = kind;
            finding.name = stem;
            finding.list = listShown;
            finding.files = PresentSetFiles(files_, settings_, kind, stem);
            findings.push_back(std::move(finding));
        }
    }

    void Temporaries() {
        for (const std::int32_t selector : {FOLDER_SCRIPTS, FOLDER_CIRCUITS, FOLDER_VOITURES,
                                            FOLDER_MIMG, FOLDER_RESSON, FOLDER_RECORDS}) {
            PathText folder;
            if (BuildFolderPath(settings_, selector, nullptr, &folder) == nullptr) {
                continue;
            }
            const auto entries = files_.ListFolder(folder.view());
            for (const DirectoryEntry& entry : entries.value_or(std::vector<DirectoryEntry>{})) {
                const bool workCopy = selector == FOLDER_SCRIPTS &&
                                      (EqualsIgnoringAsciiCase(entry.name, "circuits.sav") ||
                                       EqualsIgnoringAsciiCase(entry.name, "voiture2.sav"));
                const std::string path = folder.str() + entry.name;
                const bool own =
                    std::any_of(options_.ownFiles.begin(), options_.ownFiles.end(),
                                [&](const std::string& file) {
                                    return PathComparisonKey(file) == PathComparisonKey(path);
                                });
                if (entry.isDirectory || own || entry.name == GAME_LOCK_FILE_NAME ||
                    !(workCopy || entry.name.starts_with(TEMPORARY_NAME_PREFIX))) {
                    continue;
                }
                GameFinding finding;
                finding.kind = FindingKind::Temporary;
                finding.name = entry.name;
                finding.list = folder.str();
                finding.files = {path};
                finding.mendable = true;
                findings.push_back(std::move(finding));
            }
        }
    }

    std::vector<GameFinding> findings;

private:
    FileSystem& files_;
    const PatcherSettings& settings_;
    const GameCheckOptions& options_;
};

std::string JoinFiles(const std::vector<std::string>& files) {
    std::string joined;
    for (const std::string& file : files) {
        joined += (joined.empty() ? "'" : ", '") + file + "'";
    }
    return joined;
}

} // namespace

std::int32_t GameCheck::Mendable() const {
    return static_cast<std::int32_t>(std::count_if(
        findings.begin(), findings.end(), [](const GameFinding& f) { return f.mendable; }));
}

GameCheck CheckGameFiles(FileSystem& files, const PatcherSettings& settings,
                         const GameCheckOptions& options) {
    GameCheck check;
    const auto tracks = ReadNames(files, settings, DataKind::Tracks, "circuits");
    const auto gameCars = ReadNames(files, settings, DataKind::Cars, "voitures");
    const auto addedCars = ReadNames(files, settings, DataKind::Cars, "voiture2");
    if (!tracks || !gameCars || !addedCars) {
        check.unreadableList = !tracks     ? ListPath(settings, "circuits")
                               : !gameCars ? ListPath(settings, "voitures")
                                           : ListPath(settings, "voiture2");
        return check;
    }
    Checker checker(files, settings, options);
    for (const ListNames* list : {&*tracks, &*gameCars, &*addedCars}) {
        checker.DamagedCount(*list);
    }
    checker.Records(*tracks, DataKind::Tracks, BASE_TRACK_COUNT + 1, nullptr);
    checker.Records(*gameCars, DataKind::Cars, INT32_MAX, nullptr);
    checker.Records(*addedCars, DataKind::Cars, 1, &*gameCars);
    checker.UnlistedFiles(DataKind::Tracks, {&*tracks}, tracks->path);
    checker.UnlistedFiles(DataKind::Cars, {&*gameCars, &*addedCars}, addedCars->path);
    if (options.lookForTemporaries) {
        checker.Temporaries();
    }
    check.findings = std::move(checker.findings);
    return check;
}

std::string DescribeFinding(TextCatalog& texts, const GameFinding& finding) {
    const bool cars = finding.dataKind == DataKind::Cars;
    const std::string files = JoinFiles(finding.files);
    switch (finding.kind) {
    case FindingKind::MissingFiles:
        return FormatText(texts.Own(ForKind(OwnTextId::FindingMissingFilesTrack, cars)),
                          {finding.name, finding.list, files});
    case FindingKind::UnlistedFiles:
        return FormatText(texts.Own(ForKind(OwnTextId::FindingUnlistedTrack, cars)),
                          {finding.name, finding.list, files});
    case FindingKind::RepeatedRecord:
        return FormatText(texts.Own(OwnTextId::FindingRepeatedRecord),
                          {finding.name, finding.list, finding.record, finding.firstRecord});
    case FindingKind::CarOfTheGame:
        return finding.otherList.empty()
                   ? FormatText(texts.Own(OwnTextId::FindingBaseCarName),
                                {finding.name, finding.list})
                   : FormatText(texts.Own(OwnTextId::FindingCarInGameList),
                                {finding.name, finding.list, finding.otherList});
    case FindingKind::DamagedCount:
        return FormatText(texts.Own(OwnTextId::ListCountDamaged),
                          {finding.list, finding.firstRecord, finding.held});
    case FindingKind::UnusableRecord:
        return FormatText(texts.Own(OwnTextId::FindingUnusableRecord),
                          {finding.list, finding.record});
    case FindingKind::Temporary:
        return FormatText(texts.Own(OwnTextId::FindingTemporary), {files});
    case FindingKind::SavedCopyMissing:
        return FormatText(texts.Own(OwnTextId::FindingSavedCopyMissing), {finding.record, files});
    }
    return {};
}

} // namespace zav
