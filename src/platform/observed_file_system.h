// ObservedFileSystem: a FileSystem decorator that reports each operation it passes on.
#pragma once

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
    HandleRead,
    HandleWrite,
    HandleSize,
    HandleSync,
};

/// Called after an operation has returned, whether it succeeded or not, with the path it was
/// given: the source of a copy or rename, the path a handle was opened with, empty for the calls
/// without one.
using FileOperationObserver = std::function<void(FileOperationKind kind, std::string_view path)>;

/// Passes every call on to `inner` unchanged and then tells the observer. The handles it opens are
/// wrapped the same way and keep reporting after the ObservedFileSystem itself is gone; `inner`
/// must outlive both. The observer may end the process; it must not call back into this object.
class ObservedFileSystem final : public FileSystem {
public:
    ObservedFileSystem(FileSystem& inner, FileOperationObserver observer);

    std::unique_ptr<FileHandle> Open(std::string_view path, OpenMode mode) override;
    bool CopyFile(std::string_view from, std::string_view to, bool failIfExists) override;
    bool RenameFile(std::string_view from, std::string_view to) override;
    bool SyncFile(std::string_view path) override;
    bool DeleteFile(std::string_view path) override;
    bool SetAttributes(std::string_view path, std::uint32_t attributes) override;
    std::optional<std::vector<DirectoryEntry>> ListFolder(std::string_view folder) override;
    std::optional<FileStatus> Status(std::string_view path) override;
    std::optional<std::uint64_t> FreeSpace(std::string_view path) override;
    bool CreateDirectory(std::string_view path) override;
    std::string SiblingTemporaryPath(std::string_view target) override;
    std::string TemporaryFolder() override;
    void RemoveTemporaryFolder() override;
    std::string WindowsDirectory() override;
    std::unique_ptr<FileLock> LockFile(std::string_view path, LockResult& result) override;

private:
    // Runs `call`, then reports it.
    template <class Call>
    decltype(auto) Observe(FileOperationKind kind, std::string_view path, Call&& call);

    FileSystem& inner_;
    std::shared_ptr<const FileOperationObserver> observer_; // shared with the open handles
};

} // namespace zav
