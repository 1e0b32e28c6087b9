// The front ends' shared start-up.
#include "program_start.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "new_data_notice.h"
#include "platform/codepage.h"
#include "platform/program_location.h"
#include "settings/game_location.h"
#include "settings/own_texts.h"
#include "settings/string_table.h"
#include "settings/text_format.h"
#include "source_opening.h"
#include "stop_signals.h"

namespace zav {
namespace {

// The crash tests' kill point; 0 when none is asked for.
std::int64_t KillPointFromEnvironment() {
    const char* value = std::getenv("ZAV_TEST_KILL_AFTER_OPS");
    return value != nullptr ? std::strtoll(value, nullptr, 10) : 0;
}

// Why `folder` (a host path) cannot be used for reading, or for writing too; empty when it can.
#ifdef _WIN32
// Windows grants access through lists the folder's status does not show: a listing tells whether
// it can be read, and only a try whether it can be written.
std::string FolderCause(const std::string& folder, bool forWriting) {
    (void)forWriting;
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path path = fs::u8path(folder);
    const fs::file_status status = fs::status(path, error);
    if (error || !fs::exists(status)) {
        return error ? error.message() : "it does not exist";
    }
    if (!fs::is_directory(status)) {
        return "it is not a folder";
    }
    fs::directory_iterator listing(path, error);
    return error ? error.message() : std::string();
}
#else
std::string FolderCause(const std::string& folder, bool forWriting) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) {
        return std::strerror(errno);
    }
    if (!S_ISDIR(info.st_mode)) {
        return "it is not a folder";
    }
    if (::access(folder.c_str(), forWriting ? W_OK | X_OK : R_OK | X_OK) != 0) {
        return std::strerror(errno);
    }
    return {};
}
#endif

#ifdef _WIN32
constexpr const char* kTemporaryHint = "Set TEMP to a folder you can write.";
#else
constexpr const char* kTemporaryHint = "Set TMPDIR to a folder you can write.";
#endif

// Room the staging lists of a run take at most: two lists of 96 records of a few hundred bytes.
constexpr std::int64_t kStagingRoom = 256 * 1024;

bool ReachesTheDisk(FileOperationKind kind) {
    return kind != FileOperationKind::SiblingTemporaryPath &&
           kind != FileOperationKind::WindowsDirectory;
}

} // namespace

std::string DefaultPrefix() {
#ifdef _WIN32
    return {};
#endif
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix != nullptr && *prefix != '\0') {
        return prefix;
    }
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/.wine";
}

std::optional<StartFolders> ResolveStartFolders(std::string_view prefix, std::string_view source,
                                                std::string& problem, bool sourceNeeded) {
    StartFolders folders;
    folders.prefix = prefix.empty() ? DefaultPrefix() : std::string(prefix);
    std::string sourceHost = source.empty() ? ProgramFolder() : std::string(source);
    if (sourceHost.empty()) {
        problem = ProgramFolderProblem();
        if (!problem.empty() && sourceNeeded) {
            return std::nullopt;
        }
        problem.clear();
    }
    std::error_code error;
#ifdef _WIN32
    // Host paths are UTF-8 here and UTF-16 to the system; "D:" alone is the current folder of D:.
    const std::filesystem::path absolute =
        std::filesystem::absolute(std::filesystem::u8path(sourceHost), error);
    if (!error && !absolute.empty()) {
        const std::u8string text = absolute.u8string();
        sourceHost.assign(text.begin(), text.end());
    }
#else
    const std::filesystem::path absolute = std::filesystem::absolute(sourceHost, error);
    if (!error && !absolute.empty()) {
        sourceHost = absolute.native();
    }
#endif
    // The core names every file in the game's code page; a folder it cannot name is unusable.
    const auto sourceText = Utf8ToCp1252(sourceHost);
    const bool prefixNamed = Utf8ToCp1252(folders.prefix).has_value();
    if (!sourceText && prefixNamed && !sourceNeeded) {
        folders.source.clear(); // never read: the history and undo work on the game alone
        folders.sourceHost.clear();
        return folders;
    }
    if (!sourceText || !prefixNamed) {
        problem = std::string(sourceText ? "The prefix folder '" + folders.prefix
                                         : "The source folder '" + sourceHost) +
                  "' has characters that the game's code page (1252) cannot write; move or link "
                  "it to a folder with a plainer name.";
        return std::nullopt;
    }
    folders.source = *sourceText;
    folders.sourceHost = sourceHost;
    return folders;
}

std::string SourceFolderProblem(const StartFolders& folders) {
    const std::string cause = FolderCause(folders.sourceHost, false);
    return cause.empty() ? cause
                         : "The source folder '" + folders.sourceHost +
                               "' of the new data cannot be read: " + cause + ".";
}

std::string TemporaryFolderProblem(ProgramFileSystem& program) {
    HostFileSystem& host = program.Host();
    errno = 0;
    const std::string folder = host.TemporaryFolder();
    const int madeCause = errno;
    if (!folder.empty()) {
        // A folder can often still be made on a full file system: the run's staging lists need
        // room for their bytes, which a trial file of their size shows. A write that succeeds
        // has its room reserved (or is refused over a quota) there and then; forcing it onto the
        // disk as well would cost more than all of the run's other checks. The folder goes: a
        // dry run stages elsewhere, and a fatal end must find nothing of the run left.
        const std::string trial = folder + "trial";
        const std::vector<char> bytes(kStagingRoom, '\0');
        bool room = false;
        if (const OpenedFile file = host.Open(trial, OpenMode::CreateTruncate)) {
            room = file->WriteAt(0, bytes.data(), kStagingRoom).bytes == kStagingRoom;
        }
        host.RemoveTemporaryFolder();
        if (room) {
            return {};
        }
        return "The folder for temporary files '" + HostFileSystem::TemporaryFolderBase() +
               "' cannot be used: no space is left on its drive. " + kTemporaryHint;
    }
    const std::string base = HostFileSystem::TemporaryFolderBase();
    std::string cause = FolderCause(base, true);
    if (cause.empty()) {
        cause = madeCause != 0 ? std::strerror(madeCause) : "a folder cannot be made in it";
    }
    return "The folder for temporary files '" + base + "' cannot be used: " + cause + ". " +
           kTemporaryHint;
}

std::string GameSearchNotice(ProgramFileSystem& program, std::int32_t languageOffset) {
#ifdef _WIN32
    // The core's paths are the host's own here, in code page 1252 already.
    return FormatText(OwnText(OwnTextId::GameSearchNoticeWindows, languageOffset),
                      {program.Host().WindowsDirectory() + "\\" + std::string(SETTINGS_FILE_NAME)});
#else
    HostFileSystem& host = program.Host();
    const auto inCodePage = [](std::string folder) {
        if (auto text = Utf8ToCp1252(folder)) {
            return *text;
        }
        for (char& c : folder) {
            c = (c & 0x80) != 0 ? '?' : c;
        }
        return folder;
    };
    // The name is matched without regard to case, so "Qvx.ini" and "qvx.ini" are the same file.
    const std::string settings =
        host.HostPath(host.WindowsDirectory() + "\\" + std::string(SETTINGS_FILE_NAME));
    return FormatText(OwnText(OwnTextId::GameSearchNotice, languageOffset),
                      {inCodePage(settings), inCodePage(program.Prefix())});
#endif
}

#ifdef _WIN32
ProgramFileSystem::ProgramFileSystem(const std::string& prefix, bool dryRun) : prefix_(prefix) {
#else
ProgramFileSystem::ProgramFileSystem(const std::string& prefix, bool dryRun)
    : host_(prefix), prefix_(prefix) {
#endif
    const std::int64_t killPoint = KillPointFromEnvironment();
    if (killPoint > 0) {
#ifdef _WIN32
        const int signal = 0; // a Windows run ends at once instead
#else
        const char* signalName = std::getenv("ZAV_TEST_KILL_SIGNAL");
        const int signal = signalName != nullptr ? std::atoi(signalName) : SIGKILL;
#endif
        observed_ = std::make_unique<ObservedFileSystem>(
            host_, [killPoint, signal, done = std::int64_t{0}](const ObservedOperation& operation,
                                                               bool) mutable {
                if (ReachesTheDisk(operation.kind) && ++done == killPoint) {
#ifdef _WIN32
                    (void)signal;
                    std::_Exit(137); // no destructor, no flush: as abrupt as a kill
#else
                    ::raise(signal);
#endif
                }
            });
    }
    FileSystemStack::Options options;
    options.dryRun = dryRun;
    // A name that is never made: the staging lists of a dry run live in memory only.
    options.dryRunFolder =
        Utf8ToCp1252(HostFileSystem::TemporaryFolderBase()).value_or("") + "/zav-dry-run/";
    const char* history = std::getenv("ZAV_HISTORY");
    options.record = history == nullptr || std::strcmp(history, "off") != 0;
    stack_ = std::make_unique<FileSystemStack>(host_, observed_.get(), options);
}

ProgramStart::ProgramStart(const StartFolders& folders, bool dryRun)
    : folders_(folders), program_(folders.prefix, dryRun), profile_(program_.Files()) {
    CatchStopSignals();
    PatcherSettings language;
    LoadLanguageSetting(profile_, language);
    languageOffset_ = language.LanguageOffset;
}

PatcherDialog& ProgramStart::Wire(DialogView& view) {
    dialog_ = std::make_unique<PatcherDialog>(program_.Files(), profile_, view, folders_.source);
    dialog_->Session().journal = &program_.Journal();
    dialog_->SetGameSearchNotice(GameSearchNotice(program_, languageOffset_) +
                                 (placesNotice_.empty() ? "" : "\n" + placesNotice_));
    dialog_->SetSourceOpener(
        [this](const std::string& path, std::string& folder, std::string& notice) {
            return OpenAnotherSource(path, folder, notice);
        });
    return *dialog_;
}

bool ProgramStart::OpenAnotherSource(const std::string& path, std::string& folder,
                                     std::string& notice) {
    std::string problem;
    std::optional<StartFolders> chosen = ResolveStartFolders(folders_.prefix, path, problem);
    if (!chosen) {
        notice = Utf8ToCp1252(problem).value_or(problem);
        return false;
    }
    const OpenedSource opened = zav::OpenSource(*chosen, program_);
    if (const std::string cause = SourceFolderProblem(*chosen); !opened.usable || !cause.empty()) {
        notice = !opened.notice.empty() ? opened.notice : Utf8ToCp1252(cause).value_or(cause);
        return false;
    }
    folders_ = *chosen;
    sourceNotice_ = opened.notice;
    notice = NewDataNotice();
    folder = folders_.source;
    return true;
}

OpenedSource ProgramStart::OpenSource() {
    OpenedSource opened = zav::OpenSource(folders_, program_);
    sourceNotice_ = opened.notice;
    return opened;
}

std::string ProgramStart::NewDataNotice() {
    return sourceNotice_.empty() ? zav::NewDataNotice(folders_, program_.Files(), languageOffset_)
                                 : sourceNotice_;
}

std::string ProgramStart::StartNotice(const std::vector<std::string>& severalMedia) {
    if (severalMedia.empty()) {
        return NewDataNotice();
    }
    std::string list;
    for (const std::string& medium : severalMedia) {
        list += (list.empty() ? "" : "\n") + Utf8ToCp1252(medium).value_or(medium);
    }
    return FormatText(OwnText(OwnTextId::SeveralMedia, languageOffset_), {list});
}

} // namespace zav
