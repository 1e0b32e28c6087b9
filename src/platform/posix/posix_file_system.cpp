// POSIX implementation of the FileSystem port.
#include "platform/posix/posix_file_system.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <limits>

#include "platform/codepage.h"
#include "platform/listing_order.h"
#include "platform/posix/host_file_copy.h"
#include "platform/posix/unique_fd.h"

namespace zav {
namespace {

namespace fs = std::filesystem;

constexpr mode_t kOrdinaryFileMode = 0666;
constexpr mode_t kOrdinaryFolderMode = 0777;

FileErrorCause CauseOf(int error);

class PosixFileHandle final : public FileHandle {
public:
    explicit PosixFileHandle(UniqueFd fd) : fd_(std::move(fd)) {}

    FileCount ReadAt(std::int64_t offset, void* buffer, std::int64_t count) override {
        if (offset < 0 || count < 0) {
            return FileErrorCause::Other;
        }
        std::int64_t done = 0;
        auto* bytes = static_cast<char*>(buffer);
        while (done < count) {
            const ssize_t got = ::pread(fd_.Get(), bytes + done, static_cast<size_t>(count - done),
                                        static_cast<off_t>(offset + done));
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0) {
                return CauseOf(errno);
            }
            if (got == 0) {
                break;
            }
            done += got;
        }
        return done;
    }

    FileCount WriteAt(std::int64_t offset, const void* buffer, std::int64_t count) override {
        if (offset < 0 || count < 0) {
            return FileErrorCause::Other;
        }
        std::int64_t done = 0;
        const auto* bytes = static_cast<const char*>(buffer);
        while (done < count) {
            const ssize_t put = ::pwrite(fd_.Get(), bytes + done, static_cast<size_t>(count - done),
                                         static_cast<off_t>(offset + done));
            if (put < 0 && errno == EINTR) {
                continue;
            }
            if (put <= 0) {
                // A write that stores nothing without an error has met the end of the room.
                const FileErrorCause cause = put < 0 ? CauseOf(errno) : FileErrorCause::NoSpace;
                return {done > 0 ? done : -1, cause};
            }
            done += put;
        }
        return done;
    }

    FileCount Size() override {
        struct stat info {};
        if (::fstat(fd_.Get(), &info) != 0) {
            return CauseOf(errno);
        }
        return static_cast<std::int64_t>(info.st_size);
    }

    FileResult Sync() override {
        if (::fsync(fd_.Get()) != 0) {
            return CauseOf(errno);
        }
        return {};
    }

private:
    UniqueFd fd_;
};

// An open-file-description lock on the whole file: it conflicts with the POSIX record locks the
// Wine server takes for LockFileEx, so a run of the Windows build under Wine and a run of this one
// exclude each other, and with other descriptions of this process too. It belongs to the open
// file: closing the descriptor, or the death of the process, releases it. The holder removes the
// file before it lets go, so that a contender that opened it meanwhile finds that the name no
// longer stands for the file it locked.
class PosixFileLock final : public FileLock {
public:
    PosixFileLock(UniqueFd fd, std::string hostPath)
        : fd_(std::move(fd)), hostPath_(std::move(hostPath)) {}
    ~PosixFileLock() override {
        if (NamesOpenFile(hostPath_, fd_.Get())) {
            ::unlink(hostPath_.c_str());
        }
    }
    PosixFileLock(const PosixFileLock&) = delete;
    PosixFileLock& operator=(const PosixFileLock&) = delete;

    // Whether `hostPath` is, without a link, the regular file open as `fd`.
    static bool NamesOpenFile(const std::string& hostPath, int fd) {
        struct stat open {};
        struct stat named {};
        return ::fstat(fd, &open) == 0 && ::lstat(hostPath.c_str(), &named) == 0 &&
               S_ISREG(named.st_mode) && open.st_dev == named.st_dev && open.st_ino == named.st_ino;
    }

private:
    UniqueFd fd_;
    std::string hostPath_;
};

FileErrorCause CauseOf(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return FileErrorCause::NotFound;
    case EEXIST:
        return FileErrorCause::Exists;
    case EACCES:
    case EPERM:
    case EROFS:
        return FileErrorCause::AccessDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return FileErrorCause::NoSpace;
    case EBUSY:
    case ETXTBSY:
        return FileErrorCause::InUse;
    default:
        return FileErrorCause::Other;
    }
}

bool IsReadOnly(const struct stat& info) {
    return (info.st_mode & S_IWUSR) == 0;
}

// What a copy or a rename may put its file in place of (by lstat()): a writable file, or a link,
// which is replaced itself.
bool ReplaceableName(const struct stat& info) {
    return S_ISLNK(info.st_mode) || (S_ISREG(info.st_mode) && !IsReadOnly(info));
}

std::string ParentFolder(const std::string& hostPath) {
    const fs::path parent = fs::path(hostPath).parent_path();
    return parent.empty() ? std::string(".") : parent.native();
}

FileResult SyncPath(const std::string& hostPath, int flags) {
    const UniqueFd fd(::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC | flags));
    if (!fd || ::fsync(fd.Get()) != 0) {
        return CauseOf(errno);
    }
    return {};
}

// Why a name found by lstat() cannot be replaced by a copy or a rename.
FileErrorCause WhyNotReplaceable(const struct stat& info) {
    return S_ISREG(info.st_mode) ? FileErrorCause::ReadOnly : FileErrorCause::Other;
}

LocalTime ToLocalTime(std::time_t when) {
    std::tm parts{};
    ::localtime_r(&when, &parts);
    return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
            parts.tm_hour,        parts.tm_min,     parts.tm_sec};
}

int UniqueNumber() {
    return static_cast<int>(::getpid());
}

// The prefix as an absolute path, so every path built from it reads as a host path.
std::string AbsoluteFolder(const std::string& folder) {
    std::error_code error;
    const fs::path absolute = folder.empty() ? fs::path() : fs::absolute(folder, error);
    return error || absolute.empty() ? folder : absolute.native();
}

constexpr std::string_view kTemporaryFolderPrefix = "zav-patcher-";

// The process that made the temporary folder `name` (zav-patcher-<pid>-XXXXXX), or 0 when the name
// is not one of those.
pid_t FolderOwnerProcess(std::string_view name) {
    if (!name.starts_with(kTemporaryFolderPrefix)) {
        return 0;
    }
    name.remove_prefix(kTemporaryFolderPrefix.size());
    const std::size_t dash = name.find('-');
    if (dash == 0 || dash == std::string_view::npos || name.size() - dash != 7 ||
        !std::all_of(name.begin(), name.begin() + static_cast<std::ptrdiff_t>(dash),
                     [](char c) { return c >= '0' && c <= '9'; })) {
        return 0;
    }
    const long long pid = std::strtoll(std::string(name.substr(0, dash)).c_str(), nullptr, 10);
    return pid > 0 && pid <= std::numeric_limits<pid_t>::max() ? static_cast<pid_t>(pid) : 0;
}

// A run that was killed, or lost its power, could not remove its temporary folder. Only this
// user's folders whose process is gone are taken: a live process (also of another user, which
// kill() reports as EPERM) may still be working in its folder.
void RemoveFoldersOfEndedRuns(const std::string& base) {
    std::error_code error;
    for (fs::directory_iterator entry(base, error); !error && entry != fs::directory_iterator();
         entry.increment(error)) {
        const pid_t owner = FolderOwnerProcess(entry->path().filename().native());
        struct stat info {};
        if (owner == 0 || owner == ::getpid() || ::lstat(entry->path().c_str(), &info) != 0 ||
            !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid() || ::kill(owner, 0) == 0 ||
            errno != ESRCH) {
            continue;
        }
        std::error_code ignored; // what cannot be removed waits for a later run
        fs::remove_all(entry->path(), ignored);
    }
}

} // namespace

PosixFileSystem::PosixFileSystem(std::string prefix) : resolver_(AbsoluteFolder(prefix)) {
    umask_ = ::umask(0);
    ::umask(umask_);
}

// A run that ends normally has removed its temporary folder already; an object that goes out of
// scope (a test, a front end unwinding) takes it along. A process that exits at once leaves it.
PosixFileSystem::~PosixFileSystem() {
    RemoveTemporaryFolder();
}

std::string PosixFileSystem::HostPath(std::string_view path) const {
    return resolver_.Resolve(path).value_or(std::string());
}

OpenedFile PosixFileSystem::Open(std::string_view path, OpenMode mode) {
    const std::string host = HostPath(path);
    if (host.empty()) {
        return FileErrorCause::NotFound;
    }
    // Reading follows a link (a disc may link large files in); writing never does, so a link in
    // the game's folders cannot lead a write to a file elsewhere.
    struct stat info {};
    const bool exists = (mode == OpenMode::ReadOnly ? ::stat(host.c_str(), &info)
                                                    : ::lstat(host.c_str(), &info)) == 0;
    if (exists && !S_ISREG(info.st_mode)) {
        return FileErrorCause::Other;
    }
    int flags = mode == OpenMode::ReadOnly ? O_CLOEXEC : O_CLOEXEC | O_NOFOLLOW;
    switch (mode) {
    case OpenMode::ReadOnly:
        flags |= O_RDONLY;
        break;
    case OpenMode::ReadWrite:
        flags |= O_RDWR | O_CREAT;
        break;
    case OpenMode::CreateTruncate:
        flags |= O_WRONLY | O_CREAT | O_TRUNC;
        break;
    }
    if (mode != OpenMode::ReadOnly && exists && IsReadOnly(info)) {
        return FileErrorCause::ReadOnly;
    }
    UniqueFd fd(::open(host.c_str(), flags, kOrdinaryFileMode));
    if (!fd) {
        return CauseOf(errno);
    }
    if (!exists && mode != OpenMode::ReadOnly) {
        resolver_.NoteCreated(host);
    }
    return std::make_unique<PosixFileHandle>(std::move(fd));
}

FileResult PosixFileSystem::CopyFile(std::string_view from, std::string_view to,
                                     bool failIfExists) {
    const std::string source = HostPath(from);
    const std::string target = HostPath(to);
    if (source.empty() || target.empty()) {
        return FileErrorCause::NotFound;
    }
    struct stat sourceInfo {};
    if (::stat(source.c_str(), &sourceInfo) != 0) {
        return CauseOf(errno);
    }
    if (!S_ISREG(sourceInfo.st_mode)) {
        return FileErrorCause::Other;
    }
    // A link at the destination is a name the copy replaces; what it points to stays as it is.
    struct stat targetInfo {};
    if (::lstat(target.c_str(), &targetInfo) == 0) {
        if (failIfExists) {
            return FileErrorCause::Exists;
        }
        if ((!S_ISREG(targetInfo.st_mode) && !S_ISLNK(targetInfo.st_mode)) ||
            (targetInfo.st_dev == sourceInfo.st_dev && targetInfo.st_ino == sourceInfo.st_ino)) {
            return FileErrorCause::Other;
        }
        if (IsReadOnly(targetInfo)) {
            return FileErrorCause::ReadOnly;
        }
    }
    const UniqueFd input(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    if (!input) {
        return CauseOf(errno);
    }
    // The copy is written under a temporary name and renamed into place, so the destination is
    // either absent, the old file or the whole new one.
    std::string temporary = ParentFolder(target) + "/.zav-copy-XXXXXX";
    UniqueFd output(::mkostemp(temporary.data(), O_CLOEXEC));
    if (!output) {
        return CauseOf(errno);
    }
    // Windows carries the source's attributes and last-write time over to the copy.
    // A private file stays private: the copy gets no permission of the group or others that the
    // source lacks (a saved copy of a 0600 file is 0600).
    const mode_t mode = (IsReadOnly(sourceInfo) ? (kOrdinaryFileMode & ~0222) : kOrdinaryFileMode) &
                        ~umask_ & (sourceInfo.st_mode | S_IRWXU);
    // A file system that refused to share extents once refuses it for every copy of the run.
    const std::string targetFolder = ParentFolder(target);
    const bool cloneRefused = noClones_.contains({sourceInfo.st_dev, targetFolder});
    const auto method = CopyHostFile(input.Get(), sourceInfo, output.Get(), mode,
                                     cloneRefused ? CopyMethod::KernelCopy : CopyMethod::Clone);
    bool copied = method.has_value();
    int error = errno;
    if (method && *method != CopyMethod::Clone && !cloneRefused) {
        noClones_.insert({sourceInfo.st_dev, targetFolder});
    }
    // Taken from the copy while it is open, in place of reading the new file again later.
    const auto fingerprint = copied && keepFingerprints_
                                 ? FingerprintOpenFile(output.Get(), sourceInfo.st_size,
                                                       ToLocalTime(sourceInfo.st_mtime))
                                 : std::nullopt;
    const bool closed = output.Reset();
    if (copied && !closed) {
        copied = false;
        error = errno; // a delayed write error, a full disk on a network drive say
    }
    bool moved = false; // the temporary's name is gone: it is the target's now
    if (copied) {
        if (failIfExists) {
            // Both refuse an existing name, so a file that appeared meanwhile is not replaced;
            // the rename is one call where the file system has it.
            moved = ::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, target.c_str(),
                                RENAME_NOREPLACE) == 0;
            copied = moved;
            if (!copied && (errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP)) {
                copied = ::link(temporary.c_str(), target.c_str()) == 0;
            }
            if (!copied && (errno == EPERM || errno == ENOTSUP || errno == EXDEV)) {
                struct stat existing {};
                moved = copied = ::lstat(target.c_str(), &existing) != 0 &&
                                 ::rename(temporary.c_str(), target.c_str()) == 0;
            }
        } else {
            moved = copied = ::rename(temporary.c_str(), target.c_str()) == 0;
        }
        error = errno;
    }
    if (!moved) {
        ::unlink(temporary.c_str());
    }
    if (!copied) {
        return CauseOf(error);
    }
    resolver_.NoteCreated(target);
    if (fingerprint) {
        copied_.Remember(target, *fingerprint, sourceInfo);
    }
    return {};
}

FileResult PosixFileSystem::RenameFile(std::string_view from, std::string_view to) {
    const std::string source = HostPath(from);
    const std::string target = HostPath(to);
    if (source.empty() || target.empty()) {
        return FileErrorCause::NotFound;
    }
    struct stat targetInfo {};
    const bool replaces = ::lstat(target.c_str(), &targetInfo) == 0;
    if (replaces && !ReplaceableName(targetInfo)) {
        return WhyNotReplaceable(targetInfo);
    }
    struct stat sourceInfo {};
    if (replaces && S_ISREG(targetInfo.st_mode) && ::lstat(source.c_str(), &sourceInfo) == 0 &&
        S_ISREG(sourceInfo.st_mode)) {
        // A file replaced in place (a list, say) stays shared as the user shared it: it keeps
        // the old file's mode, and its owner where the user may give it. A read-only new file
        // stays read-only.
        const mode_t mode = (targetInfo.st_mode & 0777) & (IsReadOnly(sourceInfo) ? ~0222 : ~0);
        (void)::lchown(source.c_str(), targetInfo.st_uid, targetInfo.st_gid);
        (void)::chmod(source.c_str(), mode);
    }
    if (::rename(source.c_str(), target.c_str()) != 0) {
        return CauseOf(errno);
    }
    resolver_.NoteRemoved(source);
    resolver_.NoteCreated(target);
    // The rename has happened: a folder that cannot be synced makes it less durable, not undone,
    // so it is no failure to report.
    (void)SyncPath(ParentFolder(target), O_DIRECTORY);
    return {};
}

FileResult PosixFileSystem::SyncFile(std::string_view path) {
    const std::string host = HostPath(path);
    if (host.empty()) {
        return FileErrorCause::NotFound;
    }
    return SyncPath(host, 0);
}

FileResult PosixFileSystem::DeleteFile(std::string_view path) {
    const std::string host = HostPath(path);
    struct stat info {};
    if (host.empty() || ::lstat(host.c_str(), &info) != 0) {
        return host.empty() ? FileErrorCause::NotFound : CauseOf(errno);
    }
    if (S_ISDIR(info.st_mode)) {
        return FileErrorCause::Other;
    }
    if (S_ISREG(info.st_mode) && IsReadOnly(info)) {
        return FileErrorCause::ReadOnly;
    }
    if (::unlink(host.c_str()) != 0) {
        return CauseOf(errno);
    }
    resolver_.NoteRemoved(host);
    return {};
}

FileResult PosixFileSystem::SetAttributes(std::string_view path, std::uint32_t attributes) {
    const std::string host = HostPath(path);
    struct stat info {};
    if (host.empty() || ::lstat(host.c_str(), &info) != 0) {
        return host.empty() ? FileErrorCause::NotFound : CauseOf(errno);
    }
    // A link has no mode of its own here, and the file it points to may lie anywhere.
    if (S_ISDIR(info.st_mode) || S_ISLNK(info.st_mode)) {
        return {};
    }
    // Only the write permissions are the attribute's: who may read the file stays as it is (a
    // private file made writable stays private).
    const mode_t current = info.st_mode & 07777;
    const mode_t mode = (attributes & FILE_ATTRIBUTE_READONLY) != 0 ? current & ~0222
                        : IsReadOnly(info) ? current | (0222 & ~umask_ & ((current & 0444) >> 1))
                                           : current;
    if ((info.st_mode & 07777) == mode) {
        return {}; // as most calls find it: a change of nothing would still stamp the file
    }
    // A link put in the file's place since the look above is left alone, not followed.
    if (::fchmodat(AT_FDCWD, host.c_str(), mode, AT_SYMLINK_NOFOLLOW) == 0) {
        return {};
    }
    const int error = errno;
    if (error == EOPNOTSUPP && ::lstat(host.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        return {};
    }
    return CauseOf(error);
}

std::optional<std::vector<DirectoryEntry>> PosixFileSystem::ListFolder(std::string_view folder) {
    const std::string host = HostPath(folder);
    std::error_code error;
    fs::directory_iterator entry =
        host.empty() ? fs::directory_iterator() : fs::directory_iterator(host, error);
    if (host.empty() || error) {
        return std::nullopt;
    }
    std::vector<DirectoryEntry> entries;
    for (; entry != fs::directory_iterator(); entry.increment(error)) {
        if (error) {
            return std::nullopt;
        }
        auto name = Utf8ToCp1252(entry->path().filename().native());
        if (!name) {
            continue; // a name the game's code page cannot write is out of the core's reach
        }
        std::error_code ignored; // a dangling link is listed, as a file
        entries.push_back({std::move(*name), entry->is_directory(ignored)});
    }
    if (error) {
        return std::nullopt;
    }
    SortListing(entries);
    return entries;
}

std::optional<FileStatus> PosixFileSystem::Status(std::string_view path) {
    const std::string host = HostPath(path);
    struct stat info {};
    if (host.empty() || ::stat(host.c_str(), &info) != 0) {
        return std::nullopt;
    }
    FileStatus status;
    status.size = static_cast<std::int64_t>(info.st_size);
    status.lastWrite = ToLocalTime(info.st_mtime);
    status.isDirectory = S_ISDIR(info.st_mode);
    status.readOnly = IsReadOnly(info);
    return status;
}

std::optional<std::uint64_t> PosixFileSystem::FreeSpace(std::string_view path) {
    const std::string host = HostPath(path);
    std::error_code error;
    const fs::space_info space = host.empty() ? fs::space_info{} : fs::space(host, error);
    if (host.empty() || error) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(space.available);
}

FileResult PosixFileSystem::CreateDirectory(std::string_view path) {
    const std::string host = HostPath(path);
    if (host.empty() || ::mkdir(host.c_str(), kOrdinaryFolderMode) != 0) {
        return host.empty() ? FileErrorCause::NotFound : CauseOf(errno);
    }
    resolver_.NoteCreated(host);
    return {};
}

std::string PosixFileSystem::SiblingTemporaryPath(std::string_view target) {
    std::string path(target);
    const std::size_t cut = path.find_last_of("\\/");
    path.erase(cut == std::string::npos ? 0 : cut + 1);
    for (;;) {
        char name[64];
        std::snprintf(name, sizeof name, ".zav-new-%d-%u.tmp", UniqueNumber(), ++siblingCounter_);
        std::string candidate = path + name;
        const std::string host = HostPath(candidate);
        struct stat info {};
        if (host.empty() || ::lstat(host.c_str(), &info) != 0) {
            return candidate;
        }
    }
}

std::string PosixFileSystem::TemporaryFolderBase() {
    const char* base = std::getenv("TMPDIR");
    return (base != nullptr && *base != '\0' && Utf8ToCp1252(base)) ? base : "/tmp";
}

std::string PosixFileSystem::TemporaryFolder() {
    if (temporaryFolder_.empty()) {
        std::string pattern = TemporaryFolderBase();
        if (pattern.back() != '/') {
            pattern += '/';
        }
        RemoveFoldersOfEndedRuns(pattern);
        // The process id in the name tells a later run whether the folder's run has ended.
        pattern += std::string(kTemporaryFolderPrefix) + std::to_string(::getpid()) + "-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            return {};
        }
        temporaryFolder_ = pattern; // mkdtemp makes the folder readable by its owner alone
    }
    return Utf8ToCp1252(temporaryFolder_ + "/").value_or(std::string());
}

void PosixFileSystem::RemoveTemporaryFolder() {
    if (temporaryFolder_.empty()) {
        return;
    }
    std::error_code ignored; // what cannot be removed stays in the host's temporary folder
    fs::remove_all(temporaryFolder_, ignored);
    resolver_.NoteRemoved(temporaryFolder_);
    temporaryFolder_.clear();
}

std::unique_ptr<FileLock> PosixFileSystem::LockFile(std::string_view path, LockResult& result) {
    result = LockResult::Unavailable;
    const std::string host = HostPath(path);
    if (host.empty()) {
        return nullptr;
    }
    // A few tries: each one that loses only does so to a holder that removed the file as it let
    // go, and the next try takes the file that holder's successor made, or makes it.
    for (int attempt = 0; attempt < 8; ++attempt) {
        UniqueFd fd(
            ::open(host.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, kOrdinaryFileMode));
        if (!fd) {
            return nullptr;
        }
        struct flock whole {};
        whole.l_type = F_WRLCK;
        whole.l_whence = SEEK_SET; // from byte 0 to the end of any length (l_len 0)
        if (::fcntl(fd.Get(), F_OFD_SETLK, &whole) != 0) {
            if (errno == EAGAIN || errno == EACCES) {
                result = LockResult::Busy;
            }
            return nullptr;
        }
        if (PosixFileLock::NamesOpenFile(host, fd.Get())) {
            result = LockResult::Acquired;
            return std::make_unique<PosixFileLock>(std::move(fd), host);
        }
    }
    return nullptr;
}

std::string PosixFileSystem::FinalPath(std::string_view path) {
    const std::string host = HostPath(path);
    const std::string resolved = host.empty() ? std::string() : resolver_.FinalHostPath(host);
    return resolved.empty() ? std::string() : Utf8ToCp1252(resolved).value_or(std::string());
}

std::optional<ContentFingerprint> PosixFileSystem::CopiedFingerprint(std::string_view path) {
    const std::string host = HostPath(path);
    return host.empty() ? std::nullopt : copied_.Find(host);
}

FileResult PosixFileSystem::MayChange(std::string_view path) {
    const std::string host = HostPath(path);
    struct stat info {};
    if (host.empty() || ::lstat(host.c_str(), &info) != 0) {
        return FileErrorCause::NotFound;
    }
    if (::access(host.c_str(), S_ISDIR(info.st_mode) ? W_OK | X_OK : W_OK) != 0) {
        return CauseOf(errno);
    }
    return {};
}

std::optional<std::string> PosixFileSystem::LinkTarget(std::string_view path) {
    const std::string host = HostPath(path);
    struct stat info {};
    if (host.empty() || ::lstat(host.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
        return std::nullopt;
    }
    std::string target(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 255) + 1, '\0');
    const ssize_t length = ::readlink(host.c_str(), target.data(), target.size());
    if (length < 0 || static_cast<std::size_t>(length) >= target.size()) {
        return std::string(); // changed under the look: a text that cannot be told
    }
    target.resize(static_cast<std::size_t>(length));
    return Utf8ToCp1252(target).value_or(std::string());
}

FileResult PosixFileSystem::CreateLink(std::string_view path, std::string_view target) {
    const std::string host = HostPath(path);
    if (host.empty() || target.empty()) {
        return host.empty() ? FileErrorCause::NotFound : FileErrorCause::Other;
    }
    if (::symlink(Cp1252ToUtf8(target).c_str(), host.c_str()) != 0) {
        return CauseOf(errno);
    }
    resolver_.NoteCreated(host);
    return {};
}

std::string PosixFileSystem::WindowsDirectory() {
    return Utf8ToCp1252(resolver_.Prefix() + "/drive_c/windows").value_or(std::string());
}

} // namespace zav
