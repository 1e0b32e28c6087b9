// ObservedFileSystem: a FileSystem decorator that shows each operation to an observer before and
// after it passes the operation on.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

#include "platform/file_system.h"

namespace zav {

/// The calls of FileSystem and FileHandle, as an ObservedFileSystem reports them.
enum class FileOperationKind {
    Open,
    CopyFile,
    RenameFile,
    SyncFile,
    DeleteFile,
    SetAttributes,
    ListFolder,
    Status,
    FreeSpace,
    CreateDirectory,
    SiblingTemporaryPath,
    TemporaryFolder,
    RemoveTemporaryFolder,
    WindowsDirectory,
    LockFile,
    FinalPath,
    HandleRead,
    HandleWrite,
    HandleSize,
    HandleSync,
};

/// One call with its arguments. The texts point into the caller's arguments: copy them to keep
/// them beyond the notification.
struct ObservedOperation {
    FileOperationKind kind = FileOperationKind::Open;
    /// The path given: the source of a copy or rename, for a handle's calls the path it was opened
    /// with; empty for the calls without one.
    std::string_view path{};
    std::string_view target{};          ///< the destination of a copy or rename
    OpenMode mode = OpenMode::ReadOnly; ///< of an Open
    bool failIfExists = false;          ///< of a CopyFile
    std::int64_t offset = 0;            ///< of a handle's read or write
    std::int64_t count = 0;             ///< of a handle's read or write
};

/// What becomes of a call, decided before it.
enum class FileOperationVerdict {
    Proceed, ///< passed on to the inner file system
    /// Not passed on: it returns its failure (cause Other; nullopt, -1 or an empty text for the
    /// asking calls; LockFile says Unavailable) and changes nothing.
    Fail,
    /// A write stores the first half of its bytes and returns that short count (-1 when half is
    /// nothing), as a full disk does; any other call fails as with Fail. Either way with the
    /// cause NoSpace.
    DiskFull,
    /// Fails as with Fail, a write too (it stores nothing), with the cause NoSpace: a disk that
    /// is full already.
    NoSpace,
};

/// Asked before each call.
using FileOperationGate = std::function<FileOperationVerdict(const ObservedOperation& operation)>;
/// Told after each call has returned, also one the gate failed. `succeeded`: it returned no
/// failure (false, null, nullopt, -1, an empty text), and a write stored all its bytes.
using FileOperationObserver =
    std::function<void(const ObservedOperation& operation, bool succeeded)>;

/// Shows every call to the gate, passes it on to `inner` unless the gate says otherwise, and then
/// tells the observer; either may be empty. The handles it opens are wrapped the same way and go
/// on reporting after the ObservedFileSystem itself is gone; `inner` must outlive both. The gate
/// and the observer may end the process; they must not call back into this object.
class ObservedFileSystem : public FileSystem {
public:
    ObservedFileSystem(FileSystem& inner, FileOperationObserver observer,
                       FileOperationGate gate = {});

    OpenedFile Open(std::string_view path, OpenMode mode) override;
    FileResult CopyFile(std::string_view from, std::string_view to, bool failIfExists) override;
    FileResult RenameFile(std::string_view from, std::string_view to) override;
    FileResult SyncFile(std::string_view path) override;
    FileResult DeleteFile(std::string_view path) override;
    FileResult SetAttributes(std::string_view path, std::uint32_t attributes) override;
    std::optional<std::vector<DirectoryEntry>> ListFolder(std::string_view folder) override;
    std::optional<FileStatus> Status(std::string_view path) override;
    std::optional<std::uint64_t> FreeSpace(std::string_view path) override;
    FileResult CreateDirectory(std::string_view path) override;
    std::string SiblingTemporaryPath(std::string_view target) override;
    std::string TemporaryFolder() override;
    void RemoveTemporaryFolder() override;
    std::string WindowsDirectory() override;
    std::unique_ptr<FileLock> LockFile(std::string_view path, LockResult& result) override;
    std::string FinalPath(std::string_view path) override;
    /// Asks `inner` without telling the gate or the observer: it changes nothing.
    FileResult MayChange(std::string_view path) override { return inner_.MayChange(path); }
    /// Passed on unobserved, as MayChange: the crash and fault sweeps work on files, not links.
    std::optional<std::string> LinkTarget(std::string_view path) override {
        return inner_.LinkTarget(path);
    }
    FileResult CreateLink(std::string_view path, std::string_view target) override {
        return inner_.CreateLink(path, target);
    }

private:
    struct Hooks; // the gate and the observer, shared with the open handles
    class Handle;

    FileSystem& inner_;
    std::shared_ptr<const Hooks> hooks_;
};

} // namespace zav
