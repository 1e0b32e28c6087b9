// The start-up the front ends share: the game's prefix, the new-data folder, the file system.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "history/file_system_stack.h"
#include "platform/file_system.h"
#include "platform/observed_file_system.h"
#include "platform/profile_reader.h"
#include "shell/patcher_dialog.h"
#ifdef _WIN32
#include "platform/win32/win32_file_system.h"
#else
#include "platform/posix/posix_file_system.h"
#endif

namespace zav {

struct OpenedSource;

/// The host's own file system: on Windows the Win32 calls, elsewhere the POSIX ones inside a Wine
/// prefix.
#ifdef _WIN32
using HostFileSystem = Win32FileSystem;
#else
using HostFileSystem = PosixFileSystem;
#endif

/// The Wine prefix used when none is given: $WINEPREFIX when set and not empty, else ~/.wine.
/// Empty on Windows, where the game is found through the system's own Windows directory.
std::string DefaultPrefix();

struct StartFolders {
    std::string prefix;     ///< the Wine prefix, a UTF-8 host path (empty on Windows)
    std::string source;     ///< the absolute folder holding circuits/ and voitures/, code page 1252
    std::string sourceHost; ///< the same folder, a UTF-8 host path
};

/// The folders of a run from the command line's UTF-8 texts: `prefix`, or DefaultPrefix() when
/// empty; `source` made absolute, or the program's own folder when empty. nullopt when either
/// folder's name cannot be written in the game's code page (1252), with `problem` saying which,
/// as a sentence. A run that reads no new data (`sourceNeeded` false) is given an empty source
/// folder instead when the source cannot be used.
std::optional<StartFolders> ResolveStartFolders(std::string_view prefix, std::string_view source,
                                                std::string& problem, bool sourceNeeded = true);

/// The file system a front end hands to the core: the host's, inside the Wine prefix, stacked as
/// FileSystemStack orders it, with the game's history recorded (set ZAV_HISTORY=off in the
/// environment to record none, as benchmarks do). In a dry run every change stays in memory (see
/// CopyOnWriteFileSystem), the history's own too.
///
/// With ZAV_TEST_KILL_AFTER_OPS=k (k > 0) in the environment, it counts the operations that reach
/// the disk (every call of FileSystem and of an open handle but the naming ones,
/// SiblingTemporaryPath and WindowsDirectory) and kills the process with SIGKILL right after the
/// k-th, so that crash tests can stop a real run at any point of its work; with
/// ZAV_TEST_KILL_SIGNAL=s it sends signal number s instead, which the run may catch.
class ProgramFileSystem {
public:
    /// `prefix`: the Wine prefix, a UTF-8 host path.
    explicit ProgramFileSystem(const std::string& prefix, bool dryRun = false);
    ProgramFileSystem(const ProgramFileSystem&) = delete;
    ProgramFileSystem& operator=(const ProgramFileSystem&) = delete;

    /// The file system to work through.
    FileSystem& Files() { return stack_->Files(); }
    /// The game's history, for the dialog's session.
    ChangeJournal& Journal() { return stack_->Journal(); }
    /// The changes kept in memory, in a dry run; null otherwise.
    CopyOnWriteFileSystem* DryRun() { return stack_->DryRun(); }
    /// The host file system beneath, which can tell the host path of a core path.
    HostFileSystem& Host() { return host_; }
    /// The Wine prefix, as given.
    [[nodiscard]] const std::string& Prefix() const { return prefix_; }

private:
    HostFileSystem host_;
    std::unique_ptr<ObservedFileSystem> observed_;
    std::unique_ptr<FileSystemStack> stack_;
    std::string prefix_;
};

/// The one start of every face: the file-system stack, the settings file read through it, the
/// game's language, and then the dialog over the face's view with the game's history as its
/// journal and the notice of where the game was looked for. A face builds this, makes its view
/// in LanguageOffset()'s language, calls Wire, and runs the dialog.
class ProgramStart {
public:
    ProgramStart(const StartFolders& folders, bool dryRun = false);
    ProgramStart(const ProgramStart&) = delete;
    ProgramStart& operator=(const ProgramStart&) = delete;

    /// The game's language (the string table's block), known before the dialog starts, so that
    /// even its first box speaks it.
    [[nodiscard]] std::int32_t LanguageOffset() const { return languageOffset_; }
    /// Where else the game was looked for (the places of Wine prefixes searched, code page 1252),
    /// a line the "ZAV not detected" report adds; before Wire.
    void SetPlacesNotice(std::string line) { placesNotice_ = std::move(line); }
    /// Makes the source folder the one the new-data scan reads, unpacking a pack (see
    /// zav::OpenSource in source_opening.h); before Wire. Its notice becomes NewDataNotice's.
    OpenedSource OpenSource();
    /// Opens the source `path` names (UTF-8 host path: a folder or a pack) as OpenSource does, for
    /// a window that is given a new one (PatcherDialog::SourceOpener, which Wire sets).
    bool OpenAnotherSource(const std::string& path, std::string& folder, std::string& notice);
    /// The dialog over `view`, wired; called once.
    PatcherDialog& Wire(DialogView& view);
    /// The dialog, once wired.
    PatcherDialog& Dialog() { return *dialog_; }
    ProgramFileSystem& Program() { return program_; }
    [[nodiscard]] const StartFolders& Folders() const { return folders_; }
    /// The start-up notice when no new data can be found in the source folder (empty when it
    /// can), in the game's language.
    std::string NewDataNotice();
    /// The notice a window shows once it is up: the media that hold new data when several do
    /// and none was chosen (UTF-8 host paths), else NewDataNotice().
    std::string StartNotice(const std::vector<std::string>& severalMedia);

private:
    StartFolders folders_;
    ProgramFileSystem program_;
    FileSystemProfile profile_;
    std::int32_t languageOffset_ = 0;
    std::string placesNotice_;
    std::string sourceNotice_;
    std::unique_ptr<PatcherDialog> dialog_;
};

/// Why the new data cannot be read from `folders`' source folder, as a sentence naming it (it
/// does not exist, is not a folder, or cannot be read); empty when it can.
std::string SourceFolderProblem(const StartFolders& folders);

/// Why the run's temporary folder cannot be made, as a sentence naming the folder it belongs in
/// and the cause; empty when it can (the trial folder is removed again).
std::string TemporaryFolderProblem(ProgramFileSystem& program);

/// Where the game was looked for, as a sentence for a "ZAV not detected" message: the host path of
/// the settings file in the prefix's Windows directory and the prefix `program` works in. Code
/// page 1252, as the dialog's texts are; a character it cannot write shows as '?'. In the language
/// of the string table's block `languageOffset`.
std::string GameSearchNotice(ProgramFileSystem& program, std::int32_t languageOffset = 0);

} // namespace zav
