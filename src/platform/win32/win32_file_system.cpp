// Win32 implementation of the FileSystem port.
#include "platform/win32/win32_file_system.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

#include "platform/codepage.h"
#include "platform/listing_order.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"

namespace zav {
namespace {

// Every handle lets others read, write, rename and delete: the port promises that a file may be
// opened again while open, and the core closes its files before it replaces or deletes them.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

class UniqueHandle {
public:
    explicit UniqueHandle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.handle_) {
        other.handle_ = INVALID_HANDLE_VALUE;
    }
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = other.handle_;
            other.handle_ = INVALID_HANDLE_VALUE;
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    explicit operator bool() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    [[nodiscard]] HANDLE Get() const { return handle_; }
    void Reset() {
        if (*this) {
            ::CloseHandle(handle_);
        }
        handle_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE handle_;
};

FileErrorCause CauseOf(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_INVALID_NAME:
        return FileErrorCause::NotFound;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return FileErrorCause::Exists;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_PRIVILEGE_NOT_HELD:
        return FileErrorCause::AccessDenied;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return FileErrorCause::NoSpace;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
        return FileErrorCause::InUse;
    default:
        return FileErrorCause::Other;
    }
}

std::wstring Wide(std::string_view path) {
    return Cp1252ToWide(path);
}

// Attributes of `path`, or INVALID_FILE_ATTRIBUTES when it does not exist.
DWORD AttributesOf(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str());
}

bool IsFolder(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsReadOnlyFile(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
           !IsFolder(attributes);
}

std::wstring ParentFolder(const std::wstring& path) {
    const std::size_t cut = path.find_last_of(L"\\/");
    if (cut == std::wstring::npos) {
        return L".";
    }
    // The root of a drive keeps its separator: the parent of "C:\x" is "C:\".
    return path.substr(0, cut == 2 && path[1] == L':' ? cut + 1 : cut);
}

UniqueHandle OpenExisting(const std::wstring& path, DWORD access) {
    // Backup semantics let a folder be opened too, for its identity or its lock.
    return UniqueHandle(::CreateFileW(path.c_str(), access, kShareAll, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

// The volume and file index of an open file: the same for every handle of one file.
std::optional<std::wstring> HandleIdentity(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(handle, &info)) {
        return std::nullopt;
    }
    wchar_t text[64];
    std::swprintf(text, std::size(text), L"%08lx-%08lx%08lx",
                  static_cast<unsigned long>(info.dwVolumeSerialNumber),
                  static_cast<unsigned long>(info.nFileIndexHigh),
                  static_cast<unsigned long>(info.nFileIndexLow));
    return std::wstring(text);
}

// The volume and file index of an existing file or folder, which no other spelling, link or
// short name of it changes; nullopt when it cannot be opened.
std::optional<std::wstring> FileIdentity(const std::wstring& path) {
    const UniqueHandle handle = OpenExisting(path, 0);
    return handle ? HandleIdentity(handle.Get()) : std::nullopt;
}

LocalTime ToLocalTime(const FILETIME& when) {
    // The zone's rule for that date, not today's offset, as the C library's localtime does.
    SYSTEMTIME universal{};
    SYSTEMTIME local{};
    if (!::FileTimeToSystemTime(&when, &universal) ||
        !::SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local)) {
        return {};
    }
    return {local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond};
}

bool ClearReadOnly(const std::wstring& path) {
    const DWORD attributes = AttributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES &&
           ((attributes & FILE_ATTRIBUTE_READONLY) == 0 ||
            ::SetFileAttributesW(path.c_str(), attributes & ~DWORD{FILE_ATTRIBUTE_READONLY}));
}

// Removes a file even when it is read-only: for the tool's own temporaries only.
void RemoveOwnFile(const std::wstring& path) {
    ClearReadOnly(path);
    ::DeleteFileW(path.c_str());
}

void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            const std::wstring path = folder + L"\\" + name;
            const bool isLink = (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && !isLink) {
                RemoveTree(path);
            } else if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                ::RemoveDirectoryW(path.c_str());
            } else {
                RemoveOwnFile(path);
            }
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryW(folder.c_str());
}

class Win32FileHandle final : public FileHandle {
public:
    Win32FileHandle(UniqueHandle handle, bool writable)
        : handle_(std::move(handle)), writable_(writable) {}

    FileCount ReadAt(std::int64_t offset, void* buffer, std::int64_t count) override {
        if (offset < 0 || count < 0) {
            return FileErrorCause::Other;
        }
        std::int64_t done = 0;
        auto* bytes = static_cast<char*>(buffer);
        while (done < count) {
            DWORD got = 0;
            OVERLAPPED at = At(offset + done);
            const DWORD wanted = Chunk(count - done);
            if (!::ReadFile(handle_.Get(), bytes + done, wanted, &got, &at)) {
                const DWORD error = ::GetLastError();
                if (error == ERROR_HANDLE_EOF) {
                    break;
                }
                return CauseOf(error);
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
        if (!writable_) {
            return FileErrorCause::AccessDenied;
        }
        std::int64_t done = 0;
        const auto* bytes = static_cast<const char*>(buffer);
        while (done < count) {
            DWORD put = 0;
            OVERLAPPED at = At(offset + done);
            if (!::WriteFile(handle_.Get(), bytes + done, Chunk(count - done), &put, &at)) {
                return {done > 0 ? done : -1, CauseOf(::GetLastError())};
            }
            if (put == 0) { // nothing stored without an error: the end of the room
                return {done > 0 ? done : -1, FileErrorCause::NoSpace};
            }
            done += put;
        }
        return done;
    }

    FileCount Size() override {
        LARGE_INTEGER size{};
        if (!::GetFileSizeEx(handle_.Get(), &size)) {
            return CauseOf(::GetLastError());
        }
        return static_cast<std::int64_t>(size.QuadPart);
    }

    FileResult Sync() override {
        if (!writable_) {
            return FileErrorCause::AccessDenied;
        }
        if (!::FlushFileBuffers(handle_.Get())) {
            return CauseOf(::GetLastError());
        }
        return {};
    }

private:
    static OVERLAPPED At(std::int64_t offset) {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(static_cast<std::uint64_t>(offset) & 0xFFFFFFFFu);
        at.OffsetHigh = static_cast<DWORD>(static_cast<std::uint64_t>(offset) >> 32);
        return at;
    }
    static DWORD Chunk(std::int64_t left) {
        constexpr std::int64_t kLargest = 1 << 30;
        return static_cast<DWORD>(left < kLargest ? left : kLargest);
    }

    UniqueHandle handle_;
    bool writable_;
};

// The lock is LockFileEx on the whole lock file, which a run of the POSIX build on the same host
// file excludes too (Wine turns it into a POSIX record lock). Before letting go, the holder moves
// the file to a name of its own and has it deleted as the handle closes: a contender that opened
// the file meanwhile then finds that the name no longer stands for the file it locked.
class Win32FileLock final : public FileLock {
public:
    Win32FileLock(UniqueHandle file, const std::wstring& path) : file_(std::move(file)) {
        const std::size_t cut = path.find_last_of(L"\\/");
        wchar_t name[64];
        std::swprintf(name, std::size(name), L".zav-lock-%lu.tmp",
                      static_cast<unsigned long>(::GetCurrentProcessId()));
        aside_ = (cut == std::wstring::npos ? std::wstring() : path.substr(0, cut + 1)) + name;
    }
    ~Win32FileLock() override {
        const std::size_t bytes = sizeof(FILE_RENAME_INFO) + aside_.size() * sizeof(wchar_t);
        std::vector<unsigned char> buffer(bytes, 0);
        auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
        rename->ReplaceIfExists = TRUE;
        rename->FileNameLength = static_cast<DWORD>(aside_.size() * sizeof(wchar_t));
        std::copy(aside_.begin(), aside_.end(), rename->FileName);
        if (::SetFileInformationByHandle(file_.Get(), FileRenameInfo, rename,
                                         static_cast<DWORD>(bytes))) {
            FILE_DISPOSITION_INFO dispose{TRUE}; // its one member, renamed by <windows.h>
            ::SetFileInformationByHandle(file_.Get(), FileDispositionInfo, &dispose,
                                         sizeof dispose);
        }
    }
    Win32FileLock(const Win32FileLock&) = delete;
    Win32FileLock& operator=(const Win32FileLock&) = delete;

private:
    UniqueHandle file_; // closing it releases the lock
    std::wstring aside_;
};

} // namespace

// A run that ends normally has removed its temporary folder already; an object that goes out of
// scope (a test, a front end unwinding) takes it along.
Win32FileSystem::~Win32FileSystem() {
    RemoveTemporaryFolder();
}

FileResult Win32FileSystem::FailedWithLastError() {
    return CauseOf(::GetLastError());
}

OpenedFile Win32FileSystem::Open(std::string_view path, OpenMode mode) {
    const std::wstring wide = Wide(path);
    const DWORD attributes = AttributesOf(wide);
    if (IsFolder(attributes) || (mode != OpenMode::ReadOnly && IsReadOnlyFile(attributes))) {
        return IsFolder(attributes) ? FileErrorCause::Other : FileErrorCause::ReadOnly;
    }
    const DWORD access = mode == OpenMode::ReadOnly ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    const DWORD disposition = mode == OpenMode::ReadOnly ? OPEN_EXISTING : OPEN_ALWAYS;
    UniqueHandle handle(::CreateFileW(wide.c_str(), access, kShareAll, nullptr, disposition,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle) {
        return FailedWithLastError().Cause();
    }
    // Emptied here rather than with CREATE_ALWAYS, which refuses hidden files and resets their
    // attributes.
    if (mode == OpenMode::CreateTruncate && !::SetEndOfFile(handle.Get())) {
        return FailedWithLastError().Cause();
    }
    return std::make_unique<Win32FileHandle>(std::move(handle), mode != OpenMode::ReadOnly);
}

FileResult Win32FileSystem::CopyFile(std::string_view from, std::string_view to,
                                     bool failIfExists) {
    const std::wstring source = Wide(from);
    const std::wstring target = Wide(to);
    const DWORD sourceAttributes = AttributesOf(source);
    if (sourceAttributes == INVALID_FILE_ATTRIBUTES) {
        return FailedWithLastError();
    }
    if (IsFolder(sourceAttributes)) {
        return FileErrorCause::Other;
    }
    const DWORD targetAttributes = AttributesOf(target);
    if (targetAttributes != INVALID_FILE_ATTRIBUTES) {
        if (failIfExists) {
            return FileErrorCause::Exists;
        }
        if (IsFolder(targetAttributes) || FileIdentity(source) == FileIdentity(target)) {
            return FileErrorCause::Other;
        }
        if (IsReadOnlyFile(targetAttributes)) {
            return FileErrorCause::ReadOnly;
        }
    }
    // CopyFileW carries the attributes and times over; the copy is made under a temporary name
    // and moved into place, so the destination is absent, its old self or the whole copy.
    const std::string temporary = SiblingTemporaryPath(to);
    const std::wstring wideTemporary = Wide(temporary);
    bool copied = ::CopyFileW(source.c_str(), wideTemporary.c_str(), TRUE) != 0;
    if (copied) {
        const DWORD flags = failIfExists ? 0 : MOVEFILE_REPLACE_EXISTING;
        copied = ::MoveFileExW(wideTemporary.c_str(), target.c_str(), flags) != 0;
    }
    if (!copied) {
        const DWORD error = ::GetLastError();
        RemoveOwnFile(wideTemporary);
        return CauseOf(error);
    }
    return {};
}

FileResult Win32FileSystem::RenameFile(std::string_view from, std::string_view to) {
    const std::wstring source = Wide(from);
    const std::wstring target = Wide(to);
    const DWORD targetAttributes = AttributesOf(target);
    if (IsFolder(targetAttributes)) {
        return FileErrorCause::Other;
    }
    if (IsReadOnlyFile(targetAttributes)) {
        return FileErrorCause::ReadOnly;
    }
    // Write-through: the call returns once the new entry is on the disk.
    if (::MoveFileExW(source.c_str(), target.c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == 0) {
        return FailedWithLastError();
    }
    return {};
}

FileResult Win32FileSystem::SyncFile(std::string_view path) {
    const std::wstring wide = Wide(path);
    const DWORD attributes = AttributesOf(wide);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return FailedWithLastError();
    }
    // FlushFileBuffers needs a handle that may write, which a read-only file refuses; the tool
    // writes no such file, so nothing of it can be waiting for the disk.
    if (IsReadOnlyFile(attributes)) {
        return {};
    }
    const UniqueHandle handle = OpenExisting(wide, GENERIC_WRITE);
    if (!handle || !::FlushFileBuffers(handle.Get())) {
        return FailedWithLastError();
    }
    return {};
}

FileResult Win32FileSystem::DeleteFile(std::string_view path) {
    const std::wstring wide = Wide(path);
    const DWORD attributes = AttributesOf(wide);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return FailedWithLastError();
    }
    if (IsFolder(attributes)) {
        return FileErrorCause::Other;
    }
    if (IsReadOnlyFile(attributes)) {
        return FileErrorCause::ReadOnly;
    }
    if (::DeleteFileW(wide.c_str()) == 0) {
        return FailedWithLastError();
    }
    return {};
}

FileResult Win32FileSystem::SetAttributes(std::string_view path, std::uint32_t attributes) {
    const std::wstring wide = Wide(path);
    const DWORD current = AttributesOf(wide);
    if (current == INVALID_FILE_ATTRIBUTES) {
        return FailedWithLastError();
    }
    if (IsFolder(current)) {
        return {};
    }
    // Only the read-only flag is ours to change; hidden, system and archive stay as they are.
    DWORD wanted = (current & ~DWORD{FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_NORMAL}) |
                   (attributes & FILE_ATTRIBUTE_READONLY);
    if (wanted == 0) {
        wanted = FILE_ATTRIBUTE_NORMAL;
    }
    if (wanted != current && ::SetFileAttributesW(wide.c_str(), wanted) == 0) {
        return FailedWithLastError();
    }
    return {};
}

std::optional<std::vector<DirectoryEntry>> Win32FileSystem::ListFolder(std::string_view folder) {
    std::wstring wide = Wide(folder);
    if (!IsFolder(AttributesOf(wide))) {
        return std::nullopt;
    }
    if (!wide.empty() && wide.back() != L'\\' && wide.back() != L'/') {
        wide += L'\\';
    }
    std::vector<DirectoryEntry> entries;
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW((wide + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        // The root of an empty drive has not even "." and "..".
        if (::GetLastError() == ERROR_FILE_NOT_FOUND) {
            return entries;
        }
        return std::nullopt;
    }
    bool complete = true;
    do {
        const std::wstring_view name = found.cFileName;
        if (name == L"." || name == L"..") {
            continue;
        }
        auto text = WideToCp1252(name);
        if (!text) {
            continue; // a name the game's code page cannot write is out of the core's reach
        }
        entries.push_back(
            {std::move(*text), (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (::FindNextFileW(search, &found));
    complete = ::GetLastError() == ERROR_NO_MORE_FILES;
    ::FindClose(search);
    if (!complete) {
        return std::nullopt;
    }
    SortListing(entries);
    return entries;
}

std::optional<FileStatus> Win32FileSystem::Status(std::string_view path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data)) {
        return std::nullopt;
    }
    FileStatus status;
    status.size =
        static_cast<std::int64_t>((std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow);
    status.lastWrite = ToLocalTime(data.ftLastWriteTime);
    status.isDirectory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    status.readOnly = (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0 && !status.isDirectory;
    return status;
}

std::optional<std::uint64_t> Win32FileSystem::FreeSpace(std::string_view path) {
    std::wstring wide = Wide(path);
    const DWORD attributes = AttributesOf(wide);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return std::nullopt;
    }
    // The folder itself, not its drive's root: a mounted volume or a quota may differ from it.
    if (!IsFolder(attributes)) {
        wide = ParentFolder(wide);
    }
    if (wide.back() != L'\\' && wide.back() != L'/') {
        wide += L'\\';
    }
    ULARGE_INTEGER available{};
    if (!::GetDiskFreeSpaceExW(wide.c_str(), &available, nullptr, nullptr)) {
        return std::nullopt;
    }
    return available.QuadPart;
}

FileResult Win32FileSystem::CreateDirectory(std::string_view path) {
    if (::CreateDirectoryW(Wide(path).c_str(), nullptr) == 0) {
        return FailedWithLastError();
    }
    return {};
}

std::string Win32FileSystem::SiblingTemporaryPath(std::string_view target) {
    std::string path(target);
    const std::size_t cut = path.find_last_of("\\/");
    path.erase(cut == std::string::npos ? 0 : cut + 1);
    for (;;) {
        char name[64];
        std::snprintf(name, sizeof name, ".zav-new-%lu-%u.tmp",
                      static_cast<unsigned long>(::GetCurrentProcessId()), ++siblingCounter_);
        std::string candidate = path + name;
        if (AttributesOf(Wide(candidate)) == INVALID_FILE_ATTRIBUTES) {
            return candidate;
        }
    }
}

std::string Win32FileSystem::TemporaryFolderBase() {
    wchar_t buffer[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, buffer);
    return length == 0 || length > MAX_PATH ? std::string()
                                            : WideToUtf8(std::wstring_view(buffer, length));
}

std::string Win32FileSystem::TemporaryFolder() {
    if (temporaryFolder_.empty()) {
        const std::wstring base = Utf8ToWide(TemporaryFolderBase());
        if (base.empty()) {
            return {};
        }
        // The user's own temporary folder is private to the user already.
        for (unsigned attempt = 0; attempt < 100 && temporaryFolder_.empty(); ++attempt) {
            wchar_t name[64];
            std::swprintf(name, std::size(name), L"zav-patcher-%lu-%u",
                          static_cast<unsigned long>(::GetCurrentProcessId()),
                          static_cast<unsigned>(::GetTickCount()) + attempt);
            const std::wstring folder = base + name;
            if (::CreateDirectoryW(folder.c_str(), nullptr)) {
                temporaryFolder_ = folder;
            } else if (::GetLastError() != ERROR_ALREADY_EXISTS) {
                return {};
            }
        }
        if (temporaryFolder_.empty()) {
            return {};
        }
    }
    if (auto text = WideToCp1252(temporaryFolder_ + L"\\")) {
        return *text;
    }
    // A user name in another script puts the folder out of the code page's reach; its short name
    // is plain ASCII where the volume keeps short names.
    wchar_t shortName[MAX_PATH + 1] = {};
    const DWORD length = ::GetShortPathNameW(temporaryFolder_.c_str(), shortName, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH) {
        return {};
    }
    return WideToCp1252(std::wstring(shortName, length) + L"\\").value_or(std::string());
}

void Win32FileSystem::RemoveTemporaryFolder() {
    if (temporaryFolder_.empty()) {
        return;
    }
    RemoveTree(temporaryFolder_); // what cannot be removed stays in the user's temporary folder
    temporaryFolder_.clear();
}

std::string Win32FileSystem::WindowsDirectory() {
    wchar_t buffer[MAX_PATH + 1] = {};
    const UINT length = ::GetWindowsDirectoryW(buffer, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH) {
        return {};
    }
    return WideToCp1252(std::wstring_view(buffer, length)).value_or(std::string());
}

std::unique_ptr<FileLock> Win32FileSystem::LockFile(std::string_view path, LockResult& result) {
    result = LockResult::Unavailable;
    const std::wstring wide = Wide(path);
    // A few tries: each one that loses only does so to a holder that moved the file away as it
    // let go, and the next try takes the file that holder's successor made, or makes it.
    for (int attempt = 0; attempt < 8; ++attempt) {
        UniqueHandle file(::CreateFileW(
            wide.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, kShareAll, nullptr, OPEN_ALWAYS,
            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        if (!file) {
            // A file being deleted by the holder that just let go refuses to open.
            if (::GetLastError() == ERROR_ACCESS_DENIED && FileIdentity(wide)) {
                continue;
            }
            return nullptr;
        }
        OVERLAPPED whole{};
        if (!::LockFileEx(file.Get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0,
                          MAXDWORD, MAXDWORD, &whole)) {
            const DWORD error = ::GetLastError();
            if (error == ERROR_LOCK_VIOLATION || error == ERROR_SHARING_VIOLATION) {
                result = LockResult::Busy;
            }
            return nullptr;
        }
        const auto held = HandleIdentity(file.Get());
        if (held && held == FileIdentity(wide)) {
            result = LockResult::Acquired;
            return std::make_unique<Win32FileLock>(std::move(file), wide);
        }
    }
    return nullptr;
}

} // namespace zav
