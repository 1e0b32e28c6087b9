// FileSystemStack: the file systems a run works through, stacked in one order for every face.
#pragma once

#include <memory>
#include <string>

#include "history/recording_file_system.h"
#include "platform/copy_on_write_file_system.h"
#include "platform/file_system.h"

namespace zav {

/// From the bottom: the host's file system; an observer of the host's calls, when one is given
/// (the kill points of crash tests, the faults of the tests' sweeps), so that it sees every call
/// that reaches the disk, the history's own among them; in a dry run the copy-on-write layer,
/// which keeps every change in memory; on top the history's recorder, which records the game's
/// changes (in a dry run in memory too, where the plan leaves them out). The layers beneath must
/// outlive the stack.
class FileSystemStack {
public:
    struct Options {
        bool dryRun = false;
        /// Whether the history records the run's changes.
        bool record = true;
        /// The name the dry run's temporary folder gets in memory (a host path ending in a
        /// separator).
        std::string dryRunFolder;
    };

    /// `observer`: null, or a file system over `host` that the stack puts directly above it.
    FileSystemStack(FileSystem& host, FileSystem* observer, const Options& options);
    FileSystemStack(const FileSystemStack&) = delete;
    FileSystemStack& operator=(const FileSystemStack&) = delete;

    /// The file system to work through: the top of the stack.
    FileSystem& Files() { return *recorder_; }
    /// The game's history, for the dialog's session.
    ChangeJournal& Journal() { return *recorder_; }
    /// The changes kept in memory, in a dry run; null otherwise.
    CopyOnWriteFileSystem* DryRun() { return dryRun_.get(); }

private:
    std::unique_ptr<CopyOnWriteFileSystem> dryRun_;
    std::unique_ptr<HistoryRecorder> recorder_;
};

} // namespace zav
