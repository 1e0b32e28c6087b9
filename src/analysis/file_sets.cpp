// Track and car file sets: sizes and presence checks.
#include "analysis/file_sets.h"

#include "analysis/entry_names.h"
#include "analysis/set_tables.h"
#include "platform/ui.h"
#include "platform/windows_names.h"
#include "settings/data_paths.h"
#include "settings/path_length.h"
#include "settings/string_table.h"
#include "settings/text_format.h"

namespace zav {
namespace {

// These warnings read the same in every language.
constexpr std::string_view kWarningCaption = "Warning";
constexpr std::string_view kMissingForAdd = "File '%s' not found, %s '%s' won't be add";
constexpr std::string_view kMissingForDisplay =
    "File '%s' not found, impossible to display '%s' %s";

} // namespace

std::vector<SetFile> TrackSetFiles(std::string_view name, bool accelerated) {
    const std::string base(name);
    return {
        {base, accelerated ? EXT_TRACK_ACCELERATED : EXT_TRACK_STANDARD, FOLDER_CIRCUITS, true,
         true},
        {base, EXT_PICTURE, FOLDER_MIMG, true, true},
        {base, EXT_SOUND, FOLDER_RESSON, true, true},
        {base, EXT_RECORDS, FOLDER_RECORDS, false, false},
        {SecondRecordFileName(name), EXT_RECORDS, FOLDER_RECORDS, false, false},
    };
}

std::vector<SetFile> CarSetFiles(std::string_view name, bool accelerated) {
    const std::string base(name);
    return {
        {base, accelerated ? EXT_CAR_ACCELERATED : EXT_CAR_STANDARD, FOLDER_VOITURES, true, true},
        {base, EXT_PICTURE, FOLDER_MIMG, true, true},
        {base, EXT_SOUND, FOLDER_RESSON, true, true},
    };
}

std::vector<SetFile> SetFiles(DataKind kind, std::string_view name, bool accelerated) {
    return kind == DataKind::Cars ? CarSetFiles(name, accelerated)
                                  : TrackSetFiles(name, accelerated);
}

bool SourceFilePath(const PatcherSession& session, DataKind kind, std::string_view entryName,
                    const SetFile& file, PathText& out) {
    const std::string entry(entryName);
    return BuildDataPath(session.settings, file.baseName.c_str(), file.extensionIndex,
                         Facts(kind).sourceFolder, entry.c_str(), &out) != nullptr;
}

bool GameFilePath(const PatcherSession& session, const SetFile& file, PathText& out) {
    return BuildDataPath(session.settings, file.baseName.c_str(), file.extensionIndex,
                         file.gameFolder, nullptr, &out) != nullptr;
}

std::int64_t FileLength(FileSystem& files, std::string_view path) {
    auto handle = files.Open(path, OpenMode::ReadOnly);
    if (handle == nullptr) {
        return 0;
    }
    return std::max<std::int64_t>(handle->Size().bytes, 0);
}

std::int64_t SetSize(PatcherSession& session, DataKind kind, std::string_view name) {
    if (!IsSafeEntryName(name)) {
        return 0;
    }
    std::int64_t total = 0;
    for (const SetFile& file :
         SetFiles(kind, name, session.analysis.AcceleratedVersionPresent != 0)) {
        PathText path;
        if (SourceFilePath(session, kind, name, file, path)) {
            total += FileLength(session.files, path.view());
        }
    }
    return total;
}

namespace {

// The first of the entry's files, on the disc or in the game, whose path would pass 255
// characters, named with its length in a warning; false then. Every one is looked at before any
// file is read or copied, so that an entry is never installed without some of its files.
bool PathsFit(PatcherSession& session, DataKind kind, std::string_view name,
              const std::vector<SetFile>& files) {
    const std::string entry(name);
    for (const SetFile& file : files) {
        for (const std::int32_t selector : {Facts(kind).sourceFolder, file.gameFolder}) {
            const bool onDisc = selector == Facts(kind).sourceFolder;
            PathText path;
            if (BuildDataPath(session.settings, file.baseName.c_str(), file.extensionIndex,
                              selector, onDisc ? entry.c_str() : nullptr, &path) != nullptr) {
                continue;
            }
            const std::string full =
                FullDataPath(session.settings, file.baseName, file.extensionIndex, selector,
                             onDisc ? entry : std::string());
            session.ui.MessageBox(FormatText(session.texts.Own(ForKind(OwnTextId::PathTooLongTrack,
                                                                       kind == DataKind::Cars)),
                                             {name, full, static_cast<long long>(full.size())}),
                                  kWarningCaption, MB_OK | MB_ICONEXCLAMATION);
            return false;
        }
    }
    return true;
}

} // namespace

int CheckSet(PatcherSession& session, DataKind kind, std::string_view name) {
    if (!IsSafeEntryName(name)) {
        WarnUnsafeName(session, kind, name);
        return 0;
    }
    // Such a file would be a device or nothing at all under Windows (and for the game under Wine).
    if (!WindowsCanHoldName(name)) {
        session.ui.MessageBox(FormatText(session.texts.Own(ForKind(OwnTextId::WindowsNameTrack,
                                                                   kind == DataKind::Cars)),
                                         {name}),
                              session.texts.Text(TEXT_PROGRAM_TITLE), MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    const int isCar = kind == DataKind::Cars ? 1 : 0;
    const std::vector<SetFile> files =
        SetFiles(kind, name, session.analysis.AcceleratedVersionPresent != 0);
    if (!PathsFit(session, kind, name, files)) {
        return 0;
    }
    for (const SetFile& file : files) {
        PathText path;
        if (file.tested && (!SourceFilePath(session, kind, name, file, path) ||
                            CheckFilePresent(session, path.view(), name, isCar, 0) == 0)) {
            return 0;
        }
    }
    return 1;
}

std::int64_t TrackSetSize(PatcherSession& session, std::string_view name) {
    return SetSize(session, DataKind::Tracks, name);
}

std::int64_t CarSetSize(PatcherSession& session, std::string_view name) {
    return SetSize(session, DataKind::Cars, name);
}

int CheckFilePresent(PatcherSession& session, std::string_view path, std::string_view entryName,
                     int isCar, int forDisplay) {
    if (session.files.Open(path, OpenMode::ReadOnly) != nullptr) {
        return 1;
    }
    const std::string_view word = isCar != 0 ? "car" : "track";
    const std::string text = forDisplay != 0
                                 ? FormatText(kMissingForDisplay, {path, entryName, word})
                                 : FormatText(kMissingForAdd, {path, word, entryName});
    session.ui.MessageBox(text, kWarningCaption, MB_OK | MB_ICONEXCLAMATION);
    return 0;
}

int CheckTrackSet(PatcherSession& session, std::string_view name) {
    return CheckSet(session, DataKind::Tracks, name);
}

int CheckCarSet(PatcherSession& session, std::string_view name) {
    return CheckSet(session, DataKind::Cars, name);
}

void WarnUnsafeName(PatcherSession& session, DataKind kind, std::string_view name) {
    session.ui.MessageBox(
        FormatText(session.texts.Own(ForKind(OwnTextId::UnsafeNameTrack, kind == DataKind::Cars)),
                   {name}),
        session.texts.Text(TEXT_PROGRAM_TITLE), MB_OK | MB_ICONEXCLAMATION);
}

} // namespace zav
