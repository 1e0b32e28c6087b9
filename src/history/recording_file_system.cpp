// HistoryRecorder: the write-ahead record of the game's changes.
#include "history/recording_file_system.h"

#include <cstdio>

#include "history/content_hash.h"
#include "history/history_store.h"
#include "platform/codepage.h"
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
    : ForwardingFileSystem(inner), inner_(inner), recording_(recording) {
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
    // Checked before the command's first change: a history that cannot be used must stop it there,
    // not half-way with files copied that neither the list nor the history knows.
    problem_ = recording_ ? CheckHistoryFolder(inner_, gameDirectory) : JournalProblem::None;
}

std::string HistoryRecorder::HistoryFolderPath() {
    std::string folder = HistoryFolder(gameDirectory_);
    folder.pop_back();
    return folder;
}

std::string HistoryRecorder::SpelledAsOnDisk(std::string_view path) {
    const std::size_t cut = path.find_last_of("\\/");
    if (cut == std::string_view::npos) {
        return std::string(path);
    }
    const std::string_view name = path.substr(cut + 1);
    const auto listed = inner_.ListFolder(path.substr(0, cut + 1));
    if (!listed) {
        return std::string(path);
    }
    // As the port resolves a name: the exact spelling, else the first equal one in byte order.
    const std::string key = PathComparisonKey(name);
    const std::string* found = nullptr;
    for (const DirectoryEntry& item : *listed) {
        if (item.name == name) {
            return std::string(path);
        }
        if (PathComparisonKey(item.name) == key && (found == nullptr || item.name < *found)) {
            found = &item.name;
        }
    }
    return found == nullptr ? std::string(path) : std::string(path.substr(0, cut + 1)) + *found;
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

FileResult HistoryRecorder::OpenEntry() {
    if (!entryFolder_.empty()) {
        return {};
    }
    if (problem_ != JournalProblem::None) {
        return problem_ == JournalProblem::Full ? FileErrorCause::Other
                                                : FileErrorCause::AccessDenied;
    }
    const std::string folder = HistoryFolder(gameDirectory_);
    inner_.CreateDirectory(folder);
    int number = 1;
    if (const auto listed = inner_.ListFolder(folder)) {
        // A folder whose manifest never got written still holds its number; the reader names
        // entries as EntryNumber does, so every entry made here is seen.
        for (const DirectoryEntry& item : *listed) {
            if (const auto taken = EntryNumber(item.name); taken && item.isDirectory) {
                number = std::max(number, *taken + 1);
            }
        }
    }
    if (number > LAST_ENTRY_NUMBER) {
        return FileErrorCause::Other;
    }
    const std::string entryFolder = folder + EntryFolderName(number) + '\\';
    if (const FileResult made = inner_.CreateDirectory(entryFolder); !made) {
        return made;
    }
    const std::string header =
        ManifestHeader(LocalTimestamp(), command_.empty() ? "zav-patcher" : command_);
    OpenedFile manifest =
        inner_.Open(entryFolder + std::string(MANIFEST_FILE_NAME), OpenMode::CreateTruncate);
    if (!manifest) {
        return manifest.Cause();
    }
    manifest_ = std::move(manifest);
    manifestEnd_ = 0;
    // Forced to disk with the first saved copy's line: until then a lost header loses nothing.
    if (const FileResult written = Append(header, false); !written) {
        manifest_.reset();
        return written;
    }
    entryFolder_ = entryFolder;
    savedCount_ = 0;
    return {};
}

FileResult HistoryRecorder::Append(std::string_view text, bool sync) {
    const auto count = static_cast<std::int64_t>(text.size());
    if (!manifest_) {
        return FileErrorCause::Other;
    }
    const FileCount written = manifest_->WriteAt(manifestEnd_, text.data(), count);
    if (written.bytes != count) {
        return written.ShortWriteCause();
    }
    manifestEnd_ += count;
    return sync ? manifest_->Sync() : FileResult();
}

FileResult HistoryRecorder::BeforeChange(std::string_view path, bool folder,
                                         const std::optional<FileStatus>* known) {
    if (!IsRecorded(path)) {
        return {};
    }
    if (!IsManifestField(path)) {
        return FileErrorCause::Other; // a change the manifest cannot name exactly is no change
    }
    const std::string key = PathComparisonKey(path);
    if (touchedKeys_.contains(key)) {
        return {};
    }
    // A link is a name of its own: it is recorded with its text, and what it leads to is never
    // read into the history (it may be a private file anywhere on the host).
    const auto link = inner_.LinkTarget(path);
    if (link && (link->empty() || !IsManifestField(*link))) {
        return FileErrorCause::Other; // a link the manifest cannot hold could not come back
    }
    const auto status = link ? std::nullopt : known != nullptr ? *known : inner_.Status(path);
    if (status && status->isDirectory) {
        return {};
    }
    if (const FileResult opened = OpenEntry(); !opened) {
        // A file that is there must not change without its saved copy.
        return status || link ? opened : FileResult();
    }
    TouchedPath touched;
    touched.path = status || link ? SpelledAsOnDisk(path) : std::string(path);
    touched.folder = folder;
    std::string line;
    if (link) {
        touched.linkTarget = *link;
        line = ManifestLine({"link", touched.path, *link});
    } else if (status) {
        touched.savedCopy = std::to_string(++savedCount_);
        const std::string copy = entryFolder_ + touched.savedCopy;
        if (const FileResult saved = inner_.CopyFile(path, copy, true); !saved) {
            return saved;
        }
        if (const FileResult forced = inner_.SyncFile(copy); !forced) {
            return forced;
        }
        // Undo puts the copy back only as it was saved: a copy cut short would leave half a list.
        const auto fingerprint = FingerprintFile(inner_, copy);
        if (!fingerprint) {
            return FileErrorCause::Other;
        }
        line = ManifestLine({"saved", touched.savedCopy, touched.path,
                             std::to_string(fingerprint->size), HashText(fingerprint->hash)});
    } else {
        line = ManifestLine({folder ? "folder" : "created", path});
    }
    // A file about to be created needs no forcing: a killed run leaves the line in the page
    // cache, and after a power cut a missing line costs a stray file, never a lost one.
    const bool existed = status || link;
    if (const FileResult written = Append(line, existed); !written && existed) {
        return written;
    }
    touchedKeys_.insert(key);
    touched_.push_back(std::move(touched));
    return {};
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
        (void)Append(text, false);
        manifest_.reset();
        PruneHistory(inner_, gameDirectory_);
    }
    entryFolder_.clear();
    command_.clear();
    touched_.clear();
    touchedKeys_.clear();
    notes_.clear();
}

OpenedFile HistoryRecorder::Open(std::string_view path, OpenMode mode) {
    if (mode != OpenMode::ReadOnly) {
        if (const FileResult recorded = BeforeChange(path); !recorded) {
            return recorded.Cause();
        }
    }
    return inner_.Open(path, mode);
}

FileResult HistoryRecorder::CopyFile(std::string_view from, std::string_view to,
                                     bool failIfExists) {
    // A copy that must not replace an existing file changes nothing there: a file the user keeps
    // by answering No is never recorded.
    if (!IsRecorded(to)) {
        return inner_.CopyFile(from, to, failIfExists);
    }
    const auto status = inner_.Status(to);
    if (!(failIfExists && status.has_value())) {
        if (const FileResult recorded = BeforeChange(to, false, &status); !recorded) {
            return recorded;
        }
    }
    return inner_.CopyFile(from, to, failIfExists);
}

FileResult HistoryRecorder::RenameFile(std::string_view from, std::string_view to) {
    for (const std::string_view path : {from, to}) {
        if (const FileResult recorded = BeforeChange(path); !recorded) {
            return recorded;
        }
    }
    return inner_.RenameFile(from, to);
}

FileResult HistoryRecorder::DeleteFile(std::string_view path) {
    if (const FileResult recorded = BeforeChange(path); !recorded) {
        return recorded;
    }
    return inner_.DeleteFile(path);
}

FileResult HistoryRecorder::SetAttributes(std::string_view path, std::uint32_t attributes) {
    // Most calls give a file the attributes it has already; only a real change is recorded. A
    // file recorded already (one the run has just copied, say) needs no look.
    if (IsRecorded(path) && !touchedKeys_.contains(PathComparisonKey(path))) {
        const auto status = inner_.Status(path);
        const bool readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
        if (status && !status->isDirectory && status->readOnly != readOnly) {
            if (const FileResult recorded = BeforeChange(path); !recorded) {
                return recorded;
            }
        }
    }
    return inner_.SetAttributes(path, attributes);
}

FileResult HistoryRecorder::CreateDirectory(std::string_view path) {
    if (!inner_.Status(path).has_value()) {
        if (const FileResult recorded = BeforeChange(path, true); !recorded) {
            return recorded;
        }
    }
    return inner_.CreateDirectory(path);
}

} // namespace zav
