// The front ends' shared start-up.
#include "program_start.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/codepage.h"
#include "platform/program_location.h"
#include "settings/game_location.h"
#include "settings/own_texts.h"
#include "settings/text_format.h"

namespace zav {
namespace {

// The crash tests' kill point; 0 when none is asked for.
std::int64_t KillPointFromEnvironment() {
    const char* value = std::getenv("ZAV_TEST_KILL_AFTER_OPS");
    return value != nullptr ? std::strtoll(value, nullptr, 10) : 0;
}

// Why `folder` (a host path) cannot be used for reading, or for writing too; empty when it can.
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

bool ReachesTheDisk(FileOperationKind kind) {
    return kind != FileOperationKind::SiblingTemporaryPath &&
           kind != FileOperationKind::WindowsDirectory;
}

} // namespace

std::string DefaultPrefix() {
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix != nullptr && *prefix != '\0') {
        return prefix;
    }
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/.wine";
}

std::optional<StartFolders> ResolveStartFolders(std::string_view prefix, std::string_view source,
                                                std::string& problem) {
    StartFolders folders;
    folders.prefix = prefix.empty() ? DefaultPrefix() : std::string(prefix);
    std::string sourceHost = source.empty() ? ProgramFolder() : std::string(source);
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(sourceHost, error);
    if (!error && !absolute.empty()) {
        sourceHost = absolute.native();
    }
    // The core names every file in the game's code page; a folder it cannot name is unusable.
    const auto sourceText = Utf8ToCp1252(sourceHost);
    const bool prefixNamed = Utf8ToCp1252(folders.prefix).has_value();
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
    PosixFileSystem& host = program.Host();
    errno = 0;
    const bool made = !host.TemporaryFolder().empty();
    const int madeCause = errno;
    host.RemoveTemporaryFolder();
    if (made) {
        return {};
    }
    const std::string base = PosixFileSystem::TemporaryFolderBase();
    std::string cause = FolderCause(base, true);
    if (cause.empty()) {
        cause = madeCause != 0 ? std::strerror(madeCause) : "a folder cannot be made in it";
    }
    return "The folder for temporary files '" + base + "' cannot be used: " + cause +
           ". Set TMPDIR to a folder you can write.";
}

std::string GameSearchNotice(ProgramFileSystem& program, std::int32_t languageOffset) {
    PosixFileSystem& host = program.Host();
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
}

ProgramFileSystem::ProgramFileSystem(const std::string& prefix, bool dryRun)
    : host_(prefix), prefix_(prefix) {
    const std::int64_t killPoint = KillPointFromEnvironment();
    if (killPoint > 0) {
        observed_ = std::make_unique<ObservedFileSystem>(
            host_,
            [killPoint, done = std::int64_t{0}](const ObservedOperation& operation, bool) mutable {
                if (ReachesTheDisk(operation.kind) && ++done == killPoint) {
                    ::raise(SIGKILL);
                }
            });
    }
    FileSystem& beneath = observed_ ? static_cast<FileSystem&>(*observed_) : host_;
    if (dryRun) {
        // A name that is never made: the staging lists of a dry run live in memory only.
        const auto base = Utf8ToCp1252(PosixFileSystem::TemporaryFolderBase());
        dryRun_ = std::make_unique<CopyOnWriteFileSystem>(
            beneath, base.value_or("/tmp") + "/zav-dry-run-" + std::to_string(::getpid()) + "/");
    }
    const char* history = std::getenv("ZAV_HISTORY");
    const bool record = !dryRun && (history == nullptr || std::strcmp(history, "off") != 0);
    recorder_ = std::make_unique<HistoryRecorder>(dryRun_ ? *dryRun_ : beneath, record);
}

} // namespace zav
