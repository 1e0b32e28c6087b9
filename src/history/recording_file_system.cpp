// HistoryRecorder: the write-ahead record of the game's changes.
#include "history/recording_file_system.h"

#include <cstdio>

#include "history/history_store.h"
#include "platform/codepage.h"
#include "platform/content_fingerprint.h"
#include "platform/path_key.h"

namespace zav {
namespace {

std::string_view LastComponentKey(std::string_view key) {
    const std::size_t cut = key.find_last_of('\\');
    return cut == std::string_view::npos ? key : key.substr(cut + 1);
}

std::string HashText(std::uint64_t hash) {
    char text[20];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

} // namespace

HistoryRecorder::HistoryRecorder(FileSystem& inner, bool recording)
    : inner_(inner), recording_(recording) {
    // The seal fingerprints every file the run created; a host that copies can do it as it copies.
    if (auto* copies = dynamic_cast<CopyFingerprints*>(&inner); copies != nullptr && recording) {
        copies->KeepCopyFingerprints();
    }
}

HistoryRecorder::~HistoryRecorder() {
    Seal();
}

void HistoryRecorder::OpenGame(std::string_view gameDirectory) {
    Seal();
    gameDirectory_ = std::string(gameDirectory);
    gameKey_ = PathComparisonKey(gameDirectory);
    historyKey_ = PathComparisonKey(HistoryFolder(gameDirectory));
}

void HistoryRecorder::BeginCommand(std::string_view command) {
    Seal();
    command_ = std::string(command);
}

void HistoryRecorder::NoteEntry(DataKind kind, std::string_view name, bool added) {
    notes_.push_back({{kind, std::string(name)}, added});
}

void HistoryRecorder::EndCommand() {
    Seal();
}

std::optional<std::vector<std::string>> HistoryRecorder::InstalledFiles(DataKind kind,
                                                                        std::string_view name) {
    if (gameDirectory_.empty()) {
        return std::nullopt;
    }
    return FilesInstalledFor(ReadHistory(inner_, gameDirectory_), kind, name);
}

bool HistoryRecorder::IsRecorded(std::string_view path) const {
    if (!recording_ || gameKey_.empty()) {
        return false;
    }
    const std::string key = PathComparisonKey(path);
    const std::string_view name = LastComponentKey(key);
    return IsPathKeyBelow(key, gameKey_) && key != gameKey_ && !IsPathKeyBelow(key, historyKey_) &&
           !name.starts_with(TEMPORARY_NAME_PREFIX) && !name.ends_with(".sav");
}

bool HistoryRecorder::OpenEntry() {
    if (!entryFolder_.empty()) {
        return true;
    }
    const std::string folder = HistoryFolder(gameDirectory_);
    inner_.CreateDirectory(folder);
    int number = 1;
    for (const HistoryEntry& entry : ReadHistory(inner_, gameDirectory_)) {
        number = std::max(number, entry.number + 1);
    }
    if (const auto listed = inner_.ListFolder(folder)) {
        // A folder whose manifest never got written still holds its number.
        for (const DirectoryEntry& item : *listed) {
            if (item.isDirectory && item.name.size() == 6) {
                number = std::max(number, std::atoi(item.name.c_str()) + 1);
            }
        }
    }
    const std::string entryFolder = folder + EntryFolderName(number) + '\\';
    if (!inner_.CreateDirectory(entryFolder)) {
        return false;
    }
    const std::string header =
        ManifestHeader(LocalTimestamp(), command_.empty() ? "zav-patcher" : command_);
    manifest_ =
        inner_.Open(entryFolder + std::string(MANIFEST_FILE_NAME), OpenMode::CreateTruncate);
    manifestEnd_ = 0;
    // Forced to disk with the first saved copy's line: until then a lost header loses nothing.
    if (!manifest_ || !Append(header, false)) {
        manifest_.reset();
        return false;
    }
    entryFolder_ = entryFolder;
    savedCount_ = 0;
    return true;
}

bool HistoryRecorder::Append(std::string_view text, bool sync) {
    const auto count = static_cast<std::int64_t>(text.size());
    if (!manifest_ || manifest_->WriteAt(manifestEnd_, text.data(), count) != count) {
        return false;
    }
    manifestEnd_ += count;
    return !sync || manifest_->Sync();
}

bool HistoryRecorder::BeforeChange(std::string_view path, bool folder,
                                   const std::optional<FileStatus>* known) {
    if (!IsRecorded(path)) {
        return true;
    }
    const std::string key = PathComparisonKey(path);
    if (touchedKeys_.contains(key)) {
        return true;
    }
    const auto status = known != nullptr ? *known : inner_.Status(path);
    if (status && status->isDirectory) {
        return true;
    }
    if (!OpenEntry()) {
        return !status; // a file that is there must not change without its saved copy
    }
    TouchedPath touched;
    touched.path = path;
    touched.folder = folder;
    std::string line;
    if (status) {
        touched.savedCopy = std::to_string(++savedCount_);
        const std::string copy = entryFolder_ + touched.savedCopy;
        if (!inner_.CopyFile(path, copy, true) || !inner_.SyncFile(copy)) {
            return false;
        }
        line = ManifestLine({"saved", touched.savedCopy, path});
    } else {
        line = ManifestLine({folder ? "folder" : "created", path});
    }
    // A file about to be created needs no forcing: a killed run leaves the line in the page
    // cache, and after a power cut a missing line costs a stray file, never a lost one.
    if (!Append(line, status.has_value())) {
        return !status;
    }
    touchedKeys_.insert(key);
    touched_.push_back(std::move(touched));
    return true;
}

void HistoryRecorder::Seal() {
    if (!entryFolder_.empty()) {
        std::string text;
        for (const auto& [entry, added] : notes_) {
            text += ManifestLine({added ? "added" : "removed", KindPlural(entry.kind), entry.name});
        }
        for (const TouchedPath& touched : touched_) {
            if (touched.folder) {
                continue;
            }
            const auto after = FingerprintFile(inner_, touched.path);
            text += after ? ManifestLine({"after", touched.path, std::to_string(after->size),
                                          HashText(after->hash)})
                          : ManifestLine({"gone", touched.path});
        }
        text += ManifestLine({"sealed"});
        // Not forced: a seal lost to a power cut leaves an unsealed entry, which undo still
        // reverts, only without checking the files for later changes.
        Append(text, false);
        manifest_.reset();
        PruneHistory(inner_, gameDirectory_);
    }
    entryFolder_.clear();
    command_.clear();
    touched_.clear();
    touchedKeys_.clear();
    notes_.clear();
}

std::unique_ptr<FileHandle> HistoryRecorder::Open(std::string_view path, OpenMode mode) {
    if (mode != OpenMode::ReadOnly && !BeforeChange(path)) {
        return nullptr;
    }
    return inner_.Open(path, mode);
}

bool HistoryRecorder::CopyFile(std::string_view from, std::string_view to, bool failIfExists) {
    // A copy that must not replace an existing file changes nothing there: a file the user keeps
    // by answering No is never recorded.
    if (!IsRecorded(to)) {
        return inner_.CopyFile(from, to, failIfExists);
    }
    const auto status = inner_.Status(to);
    const bool refused = failIfExists && status.has_value();
    return (refused || BeforeChange(to, false, &status)) && inner_.CopyFile(from, to, failIfExists);
}

bool HistoryRecorder::RenameFile(std::string_view from, std::string_view to) {
    return BeforeChange(from) && BeforeChange(to) && inner_.RenameFile(from, to);
}

bool HistoryRecorder::SyncFile(std::string_view path) {
    return inner_.SyncFile(path);
}

bool HistoryRecorder::DeleteFile(std::string_view path) {
    return BeforeChange(path) && inner_.DeleteFile(path);
}

bool HistoryRecorder::SetAttributes(std::string_view path, std::uint32_t attributes) {
    // Most calls give a file the attributes it has already; only a real change is recorded. A
    // file recorded already (one the run has just copied, say) needs no look.
    if (IsRecorded(path) && !touchedKeys_.contains(PathComparisonKey(path))) {
        const auto status = inner_.Status(path);
        const bool readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
        if (status && !status->isDirectory && status->readOnly != readOnly && !BeforeChange(path)) {
            return false;
        }
    }
    return inner_.SetAttributes(path, attributes);
}

std::optional<std::vector<DirectoryEntry>> HistoryRecorder::ListFolder(std::string_view folder) {
    return inner_.ListFolder(folder);
}

std::optional<FileStatus> HistoryRecorder::Status(std::string_view path) {
    return inner_.Status(path);
}

std::optional<std::uint64_t> HistoryRecorder::FreeSpace(std::string_view path) {
    return inner_.FreeSpace(path);
}

bool HistoryRecorder::CreateDirectory(std::string_view path) {
    return (inner_.Status(path).has_value() || BeforeChange(path, true)) &&
           inner_.CreateDirectory(path);
}

std::string HistoryRecorder::SiblingTemporaryPath(std::string_view target) {
    return inner_.SiblingTemporaryPath(target);
}

std::string HistoryRecorder::TemporaryFolder() {
    return inner_.TemporaryFolder();
}

void HistoryRecorder::RemoveTemporaryFolder() {
    inner_.RemoveTemporaryFolder();
}

std::string HistoryRecorder::WindowsDirectory() {
    return inner_.WindowsDirectory();
}

std::unique_ptr<FileLock> HistoryRecorder::LockFile(std::string_view path, LockResult& result) {
    return inner_.LockFile(path, result);
}

} // namespace zav
