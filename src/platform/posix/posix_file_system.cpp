// POSIX implementation of the FileSystem port.
#include "platform/posix/posix_file_system.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "platform/codepage.h"
#include "platform/posix/host_file_copy.h"
#include "platform/posix/unique_fd.h"

namespace zav {
namespace {

namespace fs = std::filesystem;

constexpr mode_t kOrdinaryFileMode = 0666;
constexpr mode_t kOrdinaryFolderMode = 0777;

class PosixFileHandle final : public FileHandle {
public:
    explicit PosixFileHandle(UniqueFd fd) : fd_(std::move(fd)) {}

    std::int64_t ReadAt(std::int64_t offset, void* buffer, std::int64_t count) override {
        if (offset < 0 || count < 0) {
            return -1;
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
                return -1;
            }
            if (got == 0) {
                break;
            }
            done += got;
        }
        return done;
    }

    std::int64_t WriteAt(std::int64_t offset, const void* buffer, std::int64_t count) override {
        if (offset < 0 || count < 0) {
            return -1;
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
                return done > 0 ? done : -1;
            }
            done += put;
        }
        return done;
    }

    std::int64_t Size() override {
        struct stat info {};
        return ::fstat(fd_.Get(), &info) == 0 ? static_cast<std::int64_t>(info.st_size) : -1;
    }

    bool Sync() override { return ::fsync(fd_.Get()) == 0; }

private:
    UniqueFd fd_;
};

// flock() locks belong to the open file: closing the descriptor, or the death of the process,
// releases them.
class PosixFileLock final : public FileLock {
public:
    explicit PosixFileLock(UniqueFd fd) : fd_(std::move(fd)) {}

private:
    UniqueFd fd_;
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

std::string ParentFolder(const std::string& hostPath) {
    const fs::path parent = fs::path(hostPath).parent_path();
    return parent.empty() ? std::string(".") : parent.native();
}

bool SyncPath(const std::string& hostPath, int flags) {
    const UniqueFd fd(::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC | flags));
    return fd && ::fsync(fd.Get()) == 0;
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

// Windows' own file system lists a folder in the order of its names without regard to case; the
// host's order is arbitrary, so the same order is made here. Names equal but for case fall back
// to byte order, so the order is total.
bool ListedBefore(const DirectoryEntry& a, const DirectoryEntry& b) {
    const std::size_t n = std::min(a.name.size(), b.name.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto ca = static_cast<unsigned char>(AsciiLower(a.name[i]));
        const auto cb = static_cast<unsigned char>(AsciiLower(b.name[i]));
        if (ca != cb) {
            return ca < cb;
        }
    }
    return a.name.size() != b.name.size() ? a.name.size() < b.name.size() : a.name < b.name;
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

std::unique_ptr<FileHandle> PosixFileSystem::Open(std::string_view path, OpenMode mode) {
    const std::string host = HostPath(path);
    if (host.empty()) {
        Failed(FileErrorCause::NotFound);
        return nullptr;
    }
    struct stat info {};
    const bool exists = ::stat(host.c_str(), &info) == 0;
    if (exists && !S_ISREG(info.st_mode)) {
        Failed(FileErrorCause::Other);
        return nullptr;
    }
    int flags = O_CLOEXEC;
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
        Failed(FileErrorCause::ReadOnly);
        return nullptr;
    }
    UniqueFd fd(::open(host.c_str(), flags, kOrdinaryFileMode));
    if (!fd) {
        Failed(CauseOf(errno));
        return nullptr;
    }
    return std::make_unique<PosixFileHandle>(std::move(fd));
}

bool PosixFileSystem::CopyFile(std::string_view from, std::string_view to, bool failIfExists) {
    const std::string source = HostPath(from);
    const std::string target = HostPath(to);
    if (source.empty() || target.empty()) {
        return Failed(FileErrorCause::NotFound);
    }
    struct stat sourceInfo {};
    if (::stat(source.c_str(), &sourceInfo) != 0) {
        return Failed(CauseOf(errno));
    }
    if (!S_ISREG(sourceInfo.st_mode)) {
        return Failed(FileErrorCause::Other);
    }
    struct stat targetInfo {};
    if (::stat(target.c_str(), &targetInfo) == 0) {
        if (failIfExists) {
            return Failed(FileErrorCause::Exists);
        }
        if (!S_ISREG(targetInfo.st_mode) ||
            (targetInfo.st_dev == sourceInfo.st_dev && targetInfo.st_ino == sourceInfo.st_ino)) {
            return Failed(FileErrorCause::Other);
        }
        if (IsReadOnly(targetInfo)) {
            return Failed(FileErrorCause::ReadOnly);
        }
    }
    const UniqueFd input(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    if (!input) {
        return Failed(CauseOf(errno));
    }
    // The copy is written under a temporary name and renamed into place, so the destination is
    // either absent, the old file or the whole new one.
    std::string temporary = ParentFolder(target) + "/.zav-copy-XXXXXX";
    UniqueFd output(::mkostemp(temporary.data(), O_CLOEXEC));
    if (!output) {
        return Failed(CauseOf(errno));
    }
    // Windows carries the source's attributes and last-write time over to the copy.
    const mode_t mode =
        (IsReadOnly(sourceInfo) ? (kOrdinaryFileMode & ~0222) : kOrdinaryFileMode) & ~umask_;
    bool copied = CopyHostFile(input.Get(), sourceInfo, output.Get(), mode);
    int error = errno;
    const bool closed = output.Reset();
    if (copied && !closed) {
        copied = false;
        error = errno; // a delayed write error, a full disk on a network drive say
    }
    if (copied) {
        if (failIfExists) {
            // link() refuses an existing name, so a file that appeared meanwhile is not replaced.
            copied = ::link(temporary.c_str(), target.c_str()) == 0;
            if (!copied && (errno == EPERM || errno == ENOTSUP || errno == EXDEV)) {
                copied = ::access(target.c_str(), F_OK) != 0 &&
                         ::rename(temporary.c_str(), target.c_str()) == 0;
            }
        } else {
            copied = ::rename(temporary.c_str(), target.c_str()) == 0;
        }
        error = errno;
    }
    ::unlink(temporary.c_str());
    return copied || Failed(CauseOf(error));
}

bool PosixFileSystem::RenameFile(std::string_view from, std::string_view to) {
    const std::string source = HostPath(from);
    const std::string target = HostPath(to);
    if (source.empty() || target.empty()) {
        return false;
    }
    struct stat targetInfo {};
    if (::stat(target.c_str(), &targetInfo) == 0 &&
        (!S_ISREG(targetInfo.st_mode) || IsReadOnly(targetInfo))) {
        return false;
    }
    if (::rename(source.c_str(), target.c_str()) != 0) {
        return Failed(CauseOf(errno));
    }
    // The rename has happened: a folder that cannot be synced makes it less durable, not undone,
    // so it is no failure to report.
    SyncPath(ParentFolder(target), O_DIRECTORY);
    return true;
}

bool PosixFileSystem::SyncFile(std::string_view path) {
    const std::string host = HostPath(path);
    return !host.empty() && SyncPath(host, 0);
}

bool PosixFileSystem::DeleteFile(std::string_view path) {
    const std::string host = HostPath(path);
    struct stat info {};
    if (host.empty() || ::lstat(host.c_str(), &info) != 0 || S_ISDIR(info.st_mode) ||
        (S_ISREG(info.st_mode) && IsReadOnly(info))) {
        return false;
    }
    return ::unlink(host.c_str()) == 0;
}

bool PosixFileSystem::SetAttributes(std::string_view path, std::uint32_t attributes) {
    const std::string host = HostPath(path);
    struct stat info {};
    if (host.empty() || ::stat(host.c_str(), &info) != 0) {
        return false;
    }
    if (S_ISDIR(info.st_mode)) {
        return true;
    }
    mode_t mode = kOrdinaryFileMode & ~umask_;
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        mode &= static_cast<mode_t>(~0222);
    }
    return ::chmod(host.c_str(), mode) == 0;
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
    std::sort(entries.begin(), entries.end(), ListedBefore);
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

bool PosixFileSystem::CreateDirectory(std::string_view path) {
    const std::string host = HostPath(path);
    if (host.empty() || ::mkdir(host.c_str(), kOrdinaryFolderMode) != 0) {
        return Failed(host.empty() ? FileErrorCause::NotFound : CauseOf(errno));
    }
    return true;
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
        pattern += "zav-patcher-XXXXXX";
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
    temporaryFolder_.clear();
}

std::unique_ptr<FileLock> PosixFileSystem::LockFile(std::string_view path, LockResult& result) {
    result = LockResult::Unavailable;
    const std::string host = HostPath(path);
    UniqueFd fd(host.empty() ? -1 : ::open(host.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd) {
        return nullptr;
    }
    if (::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) {
        result = errno == EWOULDBLOCK ? LockResult::Busy : LockResult::Unavailable;
        return nullptr;
    }
    result = LockResult::Acquired;
    return std::make_unique<PosixFileLock>(std::move(fd));
}

std::string PosixFileSystem::WindowsDirectory() {
    return Utf8ToCp1252(resolver_.Prefix() + "/drive_c/windows").value_or(std::string());
}

} // namespace zav
