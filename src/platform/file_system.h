// The FileSystem port: every file operation of the core goes through it.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zav {

/// Names of the temporary files a FileSystem makes beside other files (the copies of CopyFile,
/// the paths of SiblingTemporaryPath) start with this, so that a run killed in the middle of a
/// copy or a list replacement leaves only files that the next run can recognise and remove.
inline constexpr std::string_view TEMPORARY_NAME_PREFIX = ".zav-";

/// File attribute values as the game's platform names them.
inline constexpr std::uint32_t FILE_ATTRIBUTE_READONLY = 0x1;
inline constexpr std::uint32_t FILE_ATTRIBUTE_DIRECTORY = 0x10;
inline constexpr std::uint32_t FILE_ATTRIBUTE_NORMAL = 0x80;
inline constexpr std::uint32_t FILE_ATTRIBUTE_TEMPORARY = 0x100;

enum class OpenMode {
    ReadOnly,       ///< the file must exist; reading only
    ReadWrite,      ///< reading and writing; an existing file is kept intact, a missing one created empty
    CreateTruncate, ///< writing; an existing file is emptied, a missing one created
};

/// An open file. Reads and writes name their offset; the handle keeps no position of its own.
class FileHandle {
public:
    virtual ~FileHandle() = default;
    /// Bytes read (fewer at the end of the file), or -1 on an error.
    virtual std::int64_t ReadAt(std::int64_t offset, void* buffer, std::int64_t count) = 0;
    /// Bytes written, or -1 on an error; fewer than `count` means the disk is full.
    virtual std::int64_t WriteAt(std::int64_t offset, const void* buffer, std::int64_t count) = 0;
    /// The file's current length, or -1 on an error.
    virtual std::int64_t Size() = 0;
    /// Forces the written bytes onto the disk; false on an error.
    virtual bool Sync() = 0;
};

/// Local date and time of a file's last write; month 1-12, day 1-31, hour 0-23.
struct LocalTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

struct FileStatus {
    std::int64_t size = 0;
    LocalTime lastWrite;
    bool isDirectory = false;
    bool readOnly = false;
};

struct DirectoryEntry {
    std::string name; ///< code page 1252
    bool isDirectory = false;
};

/// A lock on a file, held until the object is destroyed (or the process ends).
class FileLock {
public:
    virtual ~FileLock() = default;
};

enum class LockResult {
    Acquired,    ///< this process holds the lock now
    Busy,        ///< another process holds it
    Unavailable, ///< the lock file cannot be made (a read-only folder, say)
};

/// Paths are the Windows-style code page 1252 texts the core builds ("C:\ZAV\Data\...", or a host
/// folder followed by "\circuits\Foo\Foo.img"); the implementation resolves them on its host.
/// Operations report failure by their result and never throw.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    /// The open file, or null when it cannot be opened in that mode (missing, a folder, read-only).
    virtual std::unique_ptr<FileHandle> Open(std::string_view path, OpenMode mode) = 0;
    /// Copies a file with its last-write time and attributes. With `failIfExists` an existing
    /// destination makes it fail; otherwise it is replaced, unless it is read-only or a folder.
    /// The destination appears whole or not at all.
    virtual bool CopyFile(std::string_view from, std::string_view to, bool failIfExists) = 0;
    /// Renames `from` over `to` in one step (the destination is replaced unless it is read-only)
    /// and forces the change onto the disk as far as the folder allows. Both lie in the same
    /// folder. False when the rename did not happen.
    virtual bool RenameFile(std::string_view from, std::string_view to) = 0;
    /// Forces a file's contents onto the disk.
    virtual bool SyncFile(std::string_view path) = 0;
    /// Deletes a file; fails for a missing, read-only file or a folder.
    virtual bool DeleteFile(std::string_view path) = 0;
    /// Sets FILE_ATTRIBUTE_* flags; FILE_ATTRIBUTE_NORMAL gives ordinary read-write access.
    virtual bool SetAttributes(std::string_view path, std::uint32_t attributes) = 0;
    /// The entries of a folder (without "." and ".."), ordered by name without regard to case;
    /// nullopt when the folder cannot be read.
    virtual std::optional<std::vector<DirectoryEntry>> ListFolder(std::string_view folder) = 0;
    /// Size, last-write time and kind of a file or folder; nullopt when it does not exist.
    virtual std::optional<FileStatus> Status(std::string_view path) = 0;
    /// Free bytes for the user on the drive that holds `path`; nullopt when it cannot be asked.
    virtual std::optional<std::uint64_t> FreeSpace(std::string_view path) = 0;
    /// Creates the last folder of `path`; fails when it exists or its parent is missing.
    virtual bool CreateDirectory(std::string_view path) = 0;
    /// A path beside `target`, in the same folder, that names no file yet.
    virtual std::string SiblingTemporaryPath(std::string_view target) = 0;
    /// This run's own temporary folder (created on first use, readable by the user alone),
    /// ending in a separator; empty when none can be created.
    virtual std::string TemporaryFolder() = 0;
    /// Removes this run's temporary folder and whatever is left in it.
    virtual void RemoveTemporaryFolder() = 0;
    /// The Windows directory of the installation the game lives in.
    virtual std::string WindowsDirectory() = 0;
    /// Takes an exclusive lock on the existing file or folder `path` without waiting; the lock
    /// ends with the returned object or with the process, so a killed run leaves no lock behind.
    virtual std::unique_ptr<FileLock> LockFile(std::string_view path, LockResult& result) {
        (void)path;
        result = LockResult::Unavailable;
        return nullptr;
    }
};

} // namespace zav
