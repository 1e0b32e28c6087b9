// POSIX implementation of the FileSystem port.
#include "platform/posix/posix_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "platform/codepage.h"

namespace zav {
namespace {

constexpr mode_t kOrdinaryFileMode = 0666;
constexpr mode_t kOrdinaryFolderMode = 0777;

// Test hook of the crash tests: with ZAV_TEST_KILL_AFTER_OPS=k in the environment the process
// kills itself with SIGKILL right after its k-th file operation (a call of the FileSystem or of an
// open handle; a copy counts once more when its temporary is complete but not yet in place), so a
// test can stop a run at any point of its work. The variable is read once, by the first
// PosixFileSystem made; unset, an operation costs one test of a zero.
std::int64_t killAfterOperations = 0;
std::int64_t operationsDone = 0;

void ReadKillHook() {
    static const bool read = [] {
        if (const char* value = std::getenv("ZAV_TEST_KILL_AFTER_OPS")) {
            killAfterOperations = std::strtoll(value, nullptr, 10);
        }
        return true;
    }();
    (void)read;
}

void OperationDone() {
    if (killAfterOperations > 0 && ++operationsDone == killAfterOperations) {
        ::raise(SIGKILL);
    }
}

// Counts the operation it lives in once that operation has done its work.
struct OperationMark {
    OperationMark() = default;
    OperationMark(const OperationMark&) = delete;
    OperationMark& operator=(const OperationMark&) = delete;
    ~OperationMark() { OperationDone(); }
};

class PosixFileHandle final : public FileHandle {
public:
    explicit PosixFileHandle(int fd) : fd_(fd) {}
    ~PosixFileHandle() override { ::close(fd_); }
    PosixFileHandle(const PosixFileHandle&) = delete;
    PosixFileHandle& operator=(const PosixFileHandle&) = delete;

    std::int64_t ReadAt(std::int64_t offset, void* buffer, std::int64_t count) override {
        const OperationMark mark;
        if (offset < 0 || count < 0) {
            return -1;
        }
        std::int64_t done = 0;
        auto* bytes = static_cast<char*>(buffer);
        while (done < count) {
            const ssize_t got = ::pread(fd_, bytes + done, static_cast<size_t>(count - done),
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
        const OperationMark mark;
        if (offset < 0 || count < 0) {
            return -1;
        }
        std::int64_t done = 0;
        const auto* bytes = static_cast<const char*>(buffer);
        while (done < count) {
            const ssize_t put = ::pwrite(fd_, bytes + done, static_cast<size_t>(count - done),
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
        const OperationMark mark;
        struct stat info {};
        return ::fstat(fd_, &info) == 0 ? static_cast<std::int64_t>(info.st_size) : -1;
    }

    bool Sync() override {
        const OperationMark mark;
        return ::fsync(fd_) == 0;
    }

private:
    int fd_;
};

class PosixFileLock final : public FileLock {
public:
    explicit PosixFileLock(int fd) : fd_(fd) {}
    ~PosixFileLock() override { ::close(fd_); }
    PosixFileLock(const PosixFileLock&) = delete;
    PosixFileLock& operator=(const PosixFileLock&) = delete;

private:
    int fd_;
};

bool IsReadOnly(const struct stat& info) { return (info.st_mode & S_IWUSR) == 0; }

std::string ParentFolder(const std::string& hostPath) {
    const std::size_t slash = hostPath.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : hostPath.substr(0, slash);
}

bool SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

// Copies the bytes of `from` into the open file `to`; false on a read or write error.
bool CopyContents(int from, int to) {
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(from, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return false;
        }
        if (got == 0) {
            return true;
        }
        ssize_t done = 0;
        while (done < got) {
            const ssize_t put = ::write(to, buffer + done, static_cast<size_t>(got - done));
            if (put < 0 && errno == EINTR) {
                continue;
            }
            if (put <= 0) {
                return false;
            }
            done += put;
        }
    }
}

LocalTime ToLocalTime(std::time_t when) {
    std::tm parts{};
    ::localtime_r(&when, &parts);
    return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
            parts.tm_hour,        parts.tm_min,     parts.tm_sec};
}

int UniqueNumber() { return static_cast<int>(::getpid()); }

} // namespace

namespace {

// The prefix as an absolute path, so every path built from it reads as a host path.
std::string AbsoluteFolder(const std::string& folder) {
    if (folder.empty() || folder.front() == '/') {
        return folder;
    }
    char buffer[4096];
    if (::getcwd(buffer, sizeof buffer) == nullptr) {
        return folder;
    }
    return std::string(buffer) + "/" + folder;
}

} // namespace

PosixFileSystem::PosixFileSystem(std::string prefix) : resolver_(AbsoluteFolder(prefix)) {
    ReadKillHook();
    umask_ = ::umask(0);
    ::umask(umask_);
}

// A run that ends normally has removed its temporary folder already; an object that goes out of
// scope (a test, a front end unwinding) takes it along. A process that exits at once leaves it.
PosixFileSystem::~PosixFileSystem() { RemoveTemporaryFolder(); }

std::string PosixFileSystem::HostPath(std::string_view path) const {
    return resolver_.Resolve(path).value_or(std::string());
}

std::unique_ptr<FileHandle> PosixFileSystem::Open(std::string_view path, OpenMode mode) {
    const OperationMark mark;
    const std::string host = HostPath(path);
    if (host.empty()) {
        return nullptr;
    }
    struct stat info {};
    const bool exists = ::stat(host.c_str(), &info) == 0;
    if (exists && !S_ISREG(info.st_mode)) {
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
        return nullptr;
    }
    const int fd = ::open(host.c_str(), flags, kOrdinaryFileMode);
    if (fd < 0) {
        return nullptr;
    }
    return std::make_unique<PosixFileHandle>(fd);
}

bool PosixFileSystem::CopyFile(std::string_view from, std::string_view to, bool failIfExists) {
    const OperationMark mark;
    const std::string source = HostPath(from);
    const std::string target = HostPath(to);
    if (source.empty() || target.empty()) {
        return false;
    }
    struct stat sourceInfo {};
    if (::stat(source.c_str(), &sourceInfo) != 0 || !S_ISREG(sourceInfo.st_mode)) {
        return false;
    }
    struct stat targetInfo {};
    if (::stat(target.c_str(), &targetInfo) == 0) {
        if (failIfExists || !S_ISREG(targetInfo.st_mode) || IsReadOnly(targetInfo) ||
            (targetInfo.st_dev == sourceInfo.st_dev && targetInfo.st_ino == sourceInfo.st_ino)) {
            return false;
        }
    }
    const int input = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (input < 0) {
        return false;
    }
    // The copy is written under a temporary name and renamed into place, so the destination is
    // either absent, the old file or the whole new one.
    std::string temporary = ParentFolder(target) + "/.zav-copy-XXXXXX";
    const int output = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (output < 0) {
        ::close(input);
        return false;
    }
    bool copied = CopyContents(input, output);
    ::close(input);
    // Windows carries the source's attributes and last-write time over to the copy.
    const mode_t mode = (IsReadOnly(sourceInfo) ? (kOrdinaryFileMode & ~0222) : kOrdinaryFileMode) & ~umask_;
    copied = copied && ::fchmod(output, mode) == 0;
    const struct timespec times[2] = {sourceInfo.st_atim, sourceInfo.st_mtim};
    copied = copied && ::futimens(output, times) == 0;
    copied = ::close(output) == 0 && copied;
    OperationDone();
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
    }
    ::unlink(temporary.c_str());
    return copied;
}

bool PosixFileSystem::RenameFile(std::string_view from, std::string_view to) {
    const OperationMark mark;
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
        return false;
    }
    // The rename has happened: a folder that cannot be synced makes it less durable, not undone,
    // so it is no failure to report.
    SyncFolder(ParentFolder(target));
    return true;
}

bool PosixFileSystem::SyncFile(std::string_view path) {
    const OperationMark mark;
    const std::string host = HostPath(path);
    const int fd = host.empty() ? -1 : ::open(host.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

bool PosixFileSystem::DeleteFile(std::string_view path) {
    const OperationMark mark;
    const std::string host = HostPath(path);
    struct stat info {};
    if (host.empty() || ::lstat(host.c_str(), &info) != 0 || S_ISDIR(info.st_mode) ||
        (S_ISREG(info.st_mode) && IsReadOnly(info))) {
        return false;
    }
    return ::unlink(host.c_str()) == 0;
}

bool PosixFileSystem::SetAttributes(std::string_view path, std::uint32_t attributes) {
    const OperationMark mark;
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
    const OperationMark mark;
    const std::string host = HostPath(folder);
    DIR* dir = host.empty() ? nullptr : ::opendir(host.c_str());
    if (dir == nullptr) {
        return std::nullopt;
    }
    std::vector<DirectoryEntry> entries;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name(entry->d_name);
        if (name == "." || name == "..") {
            continue;
        }
        auto converted = Utf8ToCp1252(name);
        if (!converted) {
            continue; // a name the game's code page cannot write is out of the core's reach
        }
        struct stat info {};
        const bool isDirectory =
            ::stat((host + "/" + std::string(name)).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
        entries.push_back({std::move(*converted), isDirectory});
    }
    ::closedir(dir);
    // Windows' own file system lists a folder in the order of its names without regard to case;
    // the host's order is arbitrary, so the same order is made here.
    std::sort(entries.begin(), entries.end(), [](const DirectoryEntry& a, const DirectoryEntry& b) {
        const std::size_t n = std::min(a.name.size(), b.name.size());
        for (std::size_t i = 0; i < n; ++i) {
            const auto ca = static_cast<unsigned char>(AsciiLower(a.name[i]));
            const auto cb = static_cast<unsigned char>(AsciiLower(b.name[i]));
            if (ca != cb) {
                return ca < cb;
            }
        }
        return a.name.size() != b.name.size() ? a.name.size() < b.name.size() : a.name < b.name;
    });
    return entries;
}

std::optional<FileStatus> PosixFileSystem::Status(std::string_view path) {
    const OperationMark mark;
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
    const OperationMark mark;
    const std::string host = HostPath(path);
    struct statvfs info {};
    if (host.empty() || ::statvfs(host.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(info.f_bavail) * static_cast<std::uint64_t>(info.f_frsize);
}

bool PosixFileSystem::CreateDirectory(std::string_view path) {
    const OperationMark mark;
    const std::string host = HostPath(path);
    return !host.empty() && ::mkdir(host.c_str(), kOrdinaryFolderMode) == 0;
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

std::string PosixFileSystem::TemporaryFolder() {
    const OperationMark mark;
    if (temporaryFolder_.empty()) {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = (base != nullptr && *base != '\0' && Utf8ToCp1252(base)) ? base : "/tmp";
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
    const OperationMark mark;
    if (temporaryFolder_.empty()) {
        return;
    }
    if (DIR* dir = ::opendir(temporaryFolder_.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string_view name(entry->d_name);
            if (name != "." && name != "..") {
                ::unlink((temporaryFolder_ + "/" + std::string(name)).c_str());
            }
        }
        ::closedir(dir);
    }
    ::rmdir(temporaryFolder_.c_str());
    temporaryFolder_.clear();
}

std::unique_ptr<FileLock> PosixFileSystem::LockFile(std::string_view path, LockResult& result) {
    const OperationMark mark;
    result = LockResult::Unavailable;
    const std::string host = HostPath(path);
    const int fd = host.empty() ? -1 : ::open(host.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return nullptr;
    }
    // flock() locks belong to the open file: the kernel drops them when the process dies.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        result = errno == EWOULDBLOCK ? LockResult::Busy : LockResult::Unavailable;
        ::close(fd);
        return nullptr;
    }
    result = LockResult::Acquired;
    return std::make_unique<PosixFileLock>(fd);
}

std::string PosixFileSystem::WindowsDirectory() {
    return Utf8ToCp1252(resolver_.Prefix() + "/drive_c/windows").value_or(std::string());
}

} // namespace zav
