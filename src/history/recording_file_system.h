// HistoryRecorder: a FileSystem decorator that records the game's changes before they happen.
#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "history/history_entry.h"
#include "platform/forwarding_file_system.h"
#include "session/change_journal.h"

namespace zav {

/// Passes every call on to `inner`; before a call changes a file of the game (copied over,
/// renamed over or away, deleted, opened for writing, its read-only attribute changed) or creates
/// a folder there, it records the change in the game's history, once per path and command: a
/// file about to be replaced or deleted is first copied into the entry's folder and forced to
/// disk; a file about to be created is only named. The tool's own files are not recorded: its
/// temporaries (".zav-*"), its working copies ("*.sav") and the history itself.
///
/// An entry begins with the first change after BeginCommand (or without one: a change outside a
/// command gets an entry of its own) and is sealed by EndCommand or when the recorder is
/// destroyed. When a file's saved copy cannot be made, the change is refused (the call fails) so
/// that nothing is lost without a way back.
///
/// A link in the game's folders is recorded as a link, with its text (never read through, never
/// copied); a file's saved copy is never readable by more users than the file.
///
/// OpenGame checks the history's folder (Problem); while it cannot be used, no entry is made and
/// every change of a file that is there is refused.
///
/// With `recording` false it records nothing and only answers InstalledFiles.
class HistoryRecorder final : public ForwardingFileSystem, public ChangeJournal {
public:
    HistoryRecorder(FileSystem& inner, bool recording);
    ~HistoryRecorder() override;

    HistoryRecorder(const HistoryRecorder&) = delete;
    HistoryRecorder& operator=(const HistoryRecorder&) = delete;

    OpenedFile Open(std::string_view path, OpenMode mode) override;
    FileResult CopyFile(std::string_view from, std::string_view to, bool failIfExists) override;
    FileResult RenameFile(std::string_view from, std::string_view to) override;
    FileResult DeleteFile(std::string_view path) override;
    FileResult SetAttributes(std::string_view path, std::uint32_t attributes) override;
    FileResult CreateDirectory(std::string_view path) override;

    void OpenGame(std::string_view gameDirectory) override;
    void BeginCommand(std::string_view command) override;
    void NoteEntry(DataKind kind, std::string_view name, bool added) override;
    void EndCommand() override;
    std::optional<std::vector<std::string>> InstalledFiles(DataKind kind,
                                                           std::string_view name) override;
    FileSystem& Unrecorded() override { return inner_; }
    JournalProblem Problem() override { return problem_; }
    std::string HistoryFolderPath() override;
    bool Recording() override { return recording_; }

private:
    bool IsRecorded(std::string_view path) const;
    /// Records `path` before a change; a failure, with the history's cause, when the change must
    /// not happen. `known`: the file's status, when the caller has just asked for it.
    FileResult BeforeChange(std::string_view path, bool folder = false,
                            const std::optional<FileStatus>* known = nullptr);
    FileResult OpenEntry();
    /// `path` spelled as the name found on the disk, so that undo brings the file back under it.
    std::string SpelledAsOnDisk(std::string_view path);
    /// Appends to the open entry's manifest, forced to disk with `sync`.
    FileResult Append(std::string_view text, bool sync);
    void Seal();

    FileSystem& inner_;
    bool recording_;
    std::string gameDirectory_;
    std::string gameKey_;
    std::string historyKey_;
    JournalProblem problem_ = JournalProblem::None;
    std::string command_;
    std::string entryFolder_; // empty while no entry is open
    std::unique_ptr<FileHandle> manifest_;
    std::int64_t manifestEnd_ = 0;
    int savedCount_ = 0;
    std::vector<TouchedPath> touched_;
    std::set<std::string> touchedKeys_;
    std::vector<std::pair<NamedEntry, bool>> notes_;
};

} // namespace zav
