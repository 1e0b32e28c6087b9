// The FileSystem port: every file operation of the core goes through it.
#pragma once

#include <cstddef>
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
/// The file in the game's list folder that every run locks while it works on the game. It is
/// named like the tool's temporaries, so that one a killed run left counts as the tool's, but it
/// is never removed or reported as one: the run that holds it removes it as it lets go.
inline constexpr std::string_view GAME_LOCK_FILE_NAME = ".zav-lock";

/// File attribute values as the game's platform names them.
inline constexpr std::uint32_t FILE_ATTRIBUTE_READONLY = 0x1;
inline constexpr std::uint32_t FILE_ATTRIBUTE_DIRECTORY = 0x10;
inline constexpr std::uint32_t FILE_ATTRIBUTE_NORMAL = 0x80;
inline constexpr std::uint32_t FILE_ATTRIBUTE_TEMPORARY = 0x100;

/// How FileSystem::Open opens a file. Every mode fails on a folder; the writing modes also fail
/// on a read-only file, which they leave untouched.
enum class OpenMode {
    ReadOnly,       ///< the file must exist; reading only
    ReadWrite,      ///< reading and writing; an existing file is kept intact, a missing one created
                    ///< empty
    CreateTruncate, ///< writing; an existing file is emptied, a missing one created
};

/// Why a call of a FileSystem failed, as far as the host tells.
enum class FileErrorCause {
    None,         ///< the call succeeded
    NotFound,     ///< the file, or a folder on its path, does not exist
    Exists,       ///< the destination exists, and the call must not replace it
    ReadOnly,     ///< the file is read-only
    AccessDenied, ///< the user may not read or change it (or its folder), or the drive is
                  ///< read-only
    NoSpace,      ///< the drive (or the user's quota) is full
    InUse,        ///< another program holds the file
    Other,        ///< any other reason, or the host gave none
};

/// What a call that changes a file returned: success, or the cause of its failure. Tested as a
/// bool (true on success).
class FileResult {
public:
    /// Success.
    constexpr FileResult() = default;
    /// A failure for `cause`; None, a cause nobody named, counts as Other.
    constexpr FileResult(FileErrorCause cause) noexcept // NOLINT: a cause is a failed result
        : cause_(cause == FileErrorCause::None ? FileErrorCause::Other : cause) {}
    constexpr explicit operator bool() const noexcept { return cause_ == FileErrorCause::None; }
    /// Why the call failed; None when it succeeded.
    [[nodiscard]] constexpr FileErrorCause Cause() const noexcept { return cause_; }

private:
    FileErrorCause cause_ = FileErrorCause::None;
};

/// What a handle's read, write or length returned: a count of bytes, and the cause of a failure
/// or of a write that fell short. A count below 0 always has a cause.
struct FileCount {
    std::int64_t bytes = -1;                     ///< the count; -1 on an error
    FileErrorCause cause = FileErrorCause::None; ///< None when the call did all it was asked

    /// `count` bytes, short for `why` when not None; a negative count without a cause is Other.
    constexpr FileCount(std::int64_t count, // NOLINT: a count is a result
                        FileErrorCause why = FileErrorCause::None) noexcept
        : bytes(count),
          cause(count < 0 && why == FileErrorCause::None ? FileErrorCause::Other : why) {}
    /// A failure for `why`, as FileResult takes it.
    constexpr FileCount(FileErrorCause why) noexcept // NOLINT: a cause is a failed result
        : cause(FileResult(why).Cause()) {}
    /// The cause as a result: success when there is none.
    [[nodiscard]] constexpr FileResult Result() const noexcept {
        return cause == FileErrorCause::None ? FileResult() : FileResult(cause);
    }
    /// Why the write that returned this fell short: its cause, or a full disk when the file system
    /// named none.
    [[nodiscard]] constexpr FileErrorCause ShortWriteCause() const noexcept {
        return cause != FileErrorCause::None ? cause : FileErrorCause::NoSpace;
    }
};

/// An open file. Reads and writes name their offset; the handle keeps no position of its own.
/// Closing (destroying the handle) forces nothing to disk. The file may be opened again, for
/// reading or writing, while a handle is open; the core closes a file before it copies over,
/// renames or deletes it, so an implementation may refuse those on an open file.
class FileHandle {
public:
    virtual ~FileHandle() = default;
    /// Bytes read: `count`, fewer only at the end of the file (0 at or past it); -1 with the cause
    /// on an error or a negative offset or count.
    virtual FileCount ReadAt(std::int64_t offset, void* buffer, std::int64_t count) = 0;
    /// Bytes written, or -1 with the cause on an error (nothing written) or a negative offset or
    /// count; fewer than `count`, with the cause that stopped the rest (NoSpace when the disk or a
    /// size limit is full). Writing past the end lengthens the file, with zero bytes in any gap.
    /// Fails on a handle opened ReadOnly.
    virtual FileCount WriteAt(std::int64_t offset, const void* buffer, std::int64_t count) = 0;
    /// The file's current length, or -1 with the cause on an error.
    virtual FileCount Size() = 0;
    /// Forces the written bytes and the file's length onto the disk before it returns; the cause
    /// on an error (the bytes may then be lost on a crash).
    virtual FileResult Sync() = 0;
};

/// What FileSystem::Open returned: the open file, or the cause of the failure. Used like the
/// handle itself (tested as a bool, `->`, moved into a std::unique_ptr<FileHandle>).
class OpenedFile {
public:
    template <class Handle>
    OpenedFile(std::unique_ptr<Handle> handle) noexcept // NOLINT: an open file is a result
        : handle_(std::move(handle)) {
        if (!handle_) {
            cause_ = FileErrorCause::Other;
        }
    }
    /// A failure for `cause`, as FileResult takes it.
    OpenedFile(FileErrorCause cause) noexcept // NOLINT: a cause is a failed result
        : cause_(FileResult(cause).Cause()) {}

    explicit operator bool() const noexcept { return handle_ != nullptr; }
    friend bool operator==(const OpenedFile& file, std::nullptr_t) noexcept {
        return file.handle_ == nullptr;
    }
    FileHandle* operator->() const noexcept { return handle_.get(); }
    FileHandle& operator*() const noexcept { return *handle_; }
    [[nodiscard]] FileHandle* get() const noexcept { return handle_.get(); }
    operator std::unique_ptr<FileHandle>() && noexcept { return std::move(handle_); }
    /// Why the file could not be opened; None when it is open.
    [[nodiscard]] FileErrorCause Cause() const noexcept { return cause_; }

private:
    std::unique_ptr<FileHandle> handle_;
    FileErrorCause cause_ = FileErrorCause::None;
};

/// Local date and time of a file's last write, to the second; month 1-12, day 1-31, hour 0-23.
struct LocalTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

struct FileStatus {
    std::int64_t size = 0; ///< the length of a file; unspecified for a folder
    LocalTime lastWrite;
    bool isDirectory = false;
    bool readOnly = false; ///< FILE_ATTRIBUTE_READONLY is set
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
    Busy,        ///< another holder has it: another process, or another lock of this one
    Unavailable, ///< the file cannot be made or opened for writing (a folder, a link, no right)
};

/// The one way the core reaches files; an implementation per host, and decorators over it.
///
/// Paths. Every path is a code page 1252 text in the form the core builds:
/// - "X:\..." is a path on drive X (on a POSIX host, `<prefix>/dosdevices/x:`, or
///   `<prefix>/drive_c` for C: when that link is missing); a drive that does not exist makes the
///   call fail.
/// - A path starting with '\' or '/' is a host path from the root of the host ("/home/me/disc",
///   as a front end hands in its source folder); any other path is relative to the current folder.
/// - '\' and '/' both separate components; empty and "." components are skipped; ".." goes up
///   but never above the drive or the host's root.
/// - Each component names the entry of that exact spelling when there is one, else the entry
///   whose name is equal without regard to the case of code page 1252 letters (the first in byte
///   order when several are), as Windows compares file names. Below a component that names
///   nothing, names are taken as spelled, so that files and folders can be created.
/// Names that the host stores in a form code page 1252 cannot write cannot be reached.
///
/// Attributes. A file is read-only when FILE_ATTRIBUTE_READONLY is set (on a POSIX host: when its
/// owner lacks the write permission, whatever the user's rights). A read-only file is never
/// written, emptied, replaced, renamed over or deleted through this port; folders have no
/// read-only state. New files and folders get ordinary access (on a POSIX host, 0666 and 0777
/// less the process's umask).
///
/// Links. A symbolic link (on Windows also a junction) in a folder is a name of its own. Reading
/// follows it: Open for reading, CopyFile's source, Status and ListFolder's `isDirectory` see the
/// file or folder it points to. Nothing that changes a file goes through it: the writing modes of
/// Open refuse a link, SetAttributes leaves a link's target alone, and CopyFile, RenameFile and
/// DeleteFile replace or remove the link itself. So the port never changes the bytes, the
/// attributes or the existence of a file that a link leads to, wherever it lies.
///
/// Durability. Only FileHandle::Sync, SyncFile and RenameFile force anything onto the disk; all
/// other changes reach it when the host gets round to it.
///
/// Temporary names. CopyFile and SiblingTemporaryPath make names starting with
/// TEMPORARY_NAME_PREFIX in the destination's folder; a run killed half-way may leave such files,
/// which a later run may delete.
///
/// Failures are reported by the result alone, never by an exception, and leave no partial change
/// unless a call says otherwise: the calls that change a file return their cause with the result
/// (FileResult, OpenedFile), the asking calls nullopt, -1 or an empty text. One object and its
/// handles are used from one thread at a time.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    /// The open file; null when it cannot be opened in that mode: a missing file for ReadOnly, a
    /// missing folder above it, a folder, a read-only file or a link (even a dangling one, which
    /// is never followed to create its target) for the writing modes, no permission.
    virtual OpenedFile Open(std::string_view path, OpenMode mode) = 0;
    /// Copies the file `from` to `to`, with its read-only attribute and its last-write time (and
    /// last access time); the copy is never readable by more users than `from` (on a POSIX host it
    /// lacks the group's and others' permissions that `from` lacks). Fails when `from` is missing
    /// or a folder, when `to` is the same file, a folder, a read-only file, or with `failIfExists`
    /// when `to` exists at all, as a file or a link (also when it appears while the copy runs);
    /// otherwise an existing `to` is replaced (a link there by the copy, whatever the link points
    /// to; `from` may be a link, and is read as the file it points to). Atomic: the bytes are
    /// copied to a temporary file in `to`'s folder, which is then renamed to `to`, so `to` is at
    /// every moment absent (or its old self) or the whole copy; a failed copy (a full disk, say)
    /// removes its temporary. Nothing is forced to disk.
    virtual FileResult CopyFile(std::string_view from, std::string_view to, bool failIfExists) = 0;
    /// Renames the file `from` to `to` in one atomic step: an existing `to` is replaced (a link
    /// itself), unless it is a read-only file or a folder, which makes it fail. Both lie in the
    /// same folder. Fails when `from` is missing. Once renamed, the folder's new entry is forced
    /// onto the disk as far as the host allows (a folder that cannot be forced does not make the
    /// call fail). False when the rename did not happen.
    virtual FileResult RenameFile(std::string_view from, std::string_view to) = 0;
    /// Forces a file's contents onto the disk; false when it is missing or the host fails.
    virtual FileResult SyncFile(std::string_view path) = 0;
    /// Deletes a file; fails for a missing or read-only file or a folder. A symbolic link is
    /// removed itself, whatever it points to.
    virtual FileResult DeleteFile(std::string_view path) = 0;
    /// Sets the attributes of an existing file: FILE_ATTRIBUTE_READONLY makes it read-only, any
    /// value without it (FILE_ATTRIBUTE_NORMAL, say) makes it writable; other flags are ignored.
    /// On a POSIX host only write permissions change (the umask's, for those who may read it), so
    /// a private file stays private. On a folder it changes nothing and succeeds; false for a
    /// missing path. On a link it changes the link's own attributes where the host keeps any (on a
    /// POSIX host it changes nothing and succeeds), never those of what the link points to.
    virtual FileResult SetAttributes(std::string_view path, std::uint32_t attributes) = 0;
    /// The entries of a folder, without "." and "..", and without the names code page 1252 cannot
    /// write; `isDirectory` follows symbolic links (a dangling link is a file). Whatever the
    /// host's order, they are ordered by name, comparing bytes with ASCII letters lower-cased,
    /// a shorter name before a longer one that starts with it, and names equal so far in byte
    /// order. nullopt when the path is missing, not a folder or cannot be read.
    virtual std::optional<std::vector<DirectoryEntry>> ListFolder(std::string_view folder) = 0;
    /// Size, last-write time, kind and read-only state of a file or folder, following symbolic
    /// links; nullopt when it does not exist.
    virtual std::optional<FileStatus> Status(std::string_view path) = 0;
    /// Bytes this user may still write on the file system that holds the existing file or folder
    /// `path` (what a quota or the reserved blocks leave); nullopt when it cannot be asked.
    virtual std::optional<std::uint64_t> FreeSpace(std::string_view path) = 0;
    /// Creates the last folder of `path`; fails when anything of that name exists or its parent
    /// is missing. Folders above are never created.
    virtual FileResult CreateDirectory(std::string_view path) = 0;
    /// A path in `target`'s folder (spelled as in `target`), whose name starts with
    /// TEMPORARY_NAME_PREFIX and names nothing at the time of the call. Creates nothing, so the
    /// name is not reserved; the process id in the name keeps concurrent runs apart.
    virtual std::string SiblingTemporaryPath(std::string_view target) = 0;
    /// This run's own temporary folder: made on the first call inside the host's folder for
    /// temporary files ($TMPDIR, else /tmp, on a POSIX host), under a fresh name, readable and
    /// writable by the user alone; the same folder until RemoveTemporaryFolder. A host path that
    /// ends in a separator, to which the core appends file names; empty when none can be made.
    /// Making one removes the temporary folders that this user's killed runs left behind (never
    /// one whose run is still going).
    virtual std::string TemporaryFolder() = 0;
    /// Removes this run's temporary folder with everything in it (what cannot be removed stays);
    /// nothing when there is none. A later TemporaryFolder makes a new one. Destroying the file
    /// system removes it too.
    virtual void RemoveTemporaryFolder() = 0;
    /// The Windows directory of the installation the game lives in (on a POSIX host,
    /// `<prefix>/drive_c/windows` as a host path); empty when it cannot be named in code page 1252.
    virtual std::string WindowsDirectory() = 0;
    /// The existing file or folder `path` with every link (and "." and "..") on the way resolved:
    /// a host path that only other results of this call are compared with, so that a caller can
    /// tell whether an entry leads outside a folder (a path within folder F starts with
    /// FinalPath(F) and a separator). Empty when it does not exist or cannot be resolved. A file
    /// system that knows no links gives `path` as it is.
    virtual std::string FinalPath(std::string_view path) { return std::string(path); }
    /// Whether this user may change the existing file `path` in place or, when `path` is an
    /// existing folder, create, replace, rename and delete entries in it, as far as the host tells
    /// without changing anything (on a POSIX host: the permissions and a read-only mount). The
    /// cause when not (AccessDenied, NotFound). A host that cannot tell answers success, and only
    /// a try finds out.
    virtual FileResult MayChange(std::string_view path) {
        (void)path;
        return {};
    }
    /// The text of the symbolic link `path` itself (never followed), in code page 1252: "" for a
    /// link whose text code page 1252 cannot write; nullopt when `path` is missing or no link. A
    /// file system that knows no links (or keeps them as files, as Windows builds do) answers
    /// nullopt.
    virtual std::optional<std::string> LinkTarget(std::string_view path) {
        (void)path;
        return std::nullopt;
    }
    /// Creates the symbolic link `path` holding `target` as LinkTarget gives it back; fails when
    /// anything of that name exists or its folder is missing. Nothing is made where the link
    /// points. A file system that knows no links fails (Other).
    virtual FileResult CreateLink(std::string_view path, std::string_view target) {
        (void)path;
        (void)target;
        return FileErrorCause::Other;
    }
    /// Takes an exclusive lock on the lock file `path` without waiting, making it (empty) when it
    /// is missing. The lock is advisory: it stops only other LockFile calls on the same file,
    /// also from this process and from the other host's build of the tool running under Wine on
    /// the same files; nobody reads or writes the file. It ends with the returned object, which
    /// removes the file, or with the process, so a killed run leaves no lock behind (a file
    /// the next holder takes over). Null with `result` saying why otherwise.
    virtual std::unique_ptr<FileLock> LockFile(std::string_view path, LockResult& result) {
        (void)path;
        result = LockResult::Unavailable;
        return nullptr;
    }
};

} // namespace zav
