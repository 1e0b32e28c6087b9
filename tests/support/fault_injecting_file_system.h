// A FileSystem that logs every operation it passes on and makes the Nth one fail.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace zav::test {

/// The operations that are counted: the port's calls that can fail, and the calls on the
/// handles it opened.
enum class FileOperationKind {
    Open,
    Read,       ///< FileHandle::ReadAt
    Write,      ///< FileHandle::WriteAt
    HandleSize, ///< FileHandle::Size
    HandleSync, ///< FileHandle::Sync
    Copy,
    Rename,
    SyncFile,
    Delete,
    SetAttributes,
    ListFolder,
    Status,
    FreeSpace,
    CreateDirectory,
    TemporaryFolder,
    Lock,
};

/// One operation as the caller made it, and what became of it.
struct FileOperation {
    FileOperationKind kind = FileOperationKind::Open;
    /// The file or folder; for a handle's operations the path it was opened with.
    std::string path;
    /// The destination of a copy or rename.
    std::string target;
    OpenMode mode = OpenMode::ReadOnly;
    bool failIfExists = false;
    std::int64_t offset = 0;
    std::int64_t count = 0;
    /// Made to fail here rather than passed on whole.
    bool injected = false;
    /// The result the caller saw was a success.
    bool succeeded = false;
};

/// A readable line for failure messages: "Write C:\...\circuits.bin @4+140 (injected)".
std::string Describe(const FileOperation& operation);

enum class FaultMode {
    Once,       ///< only operation N fails
    FromThenOn, ///< operation N and every later one fail (a disk that went away)
};

/// Decorates another FileSystem. Operations are numbered from 1 from the last Restart. The
/// operation chosen by FailAt fails the way the real one reports a failure, without doing
/// anything, except a write, which stores the first half of its bytes and reports the short
/// count, as a full disk does (-1 for a write of one byte). SiblingTemporaryPath,
/// RemoveTemporaryFolder and WindowsDirectory cannot fail and are neither counted nor logged.
class FaultInjectingFileSystem final : public FileSystem {
public:
    explicit FaultInjectingFileSystem(FileSystem& inner);

    /// Fails operation `number` (from 1), and with FromThenOn every later one.
    void FailAt(std::int64_t number, FaultMode mode);
    /// No operation fails any more.
    void Disarm();
    /// Numbers the operations from 1 again and clears the log; an armed fault stays armed.
    void Restart();

    [[nodiscard]] std::int64_t Count() const {
        return static_cast<std::int64_t>(shared_->log.size());
    }
    [[nodiscard]] const std::vector<FileOperation>& Log() const { return shared_->log; }
    /// The operations made to fail since the last Restart.
    [[nodiscard]] std::vector<FileOperation> Injected() const;

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
    std::string SiblingTemporaryPath(std::string_view target) override {
        return inner_.SiblingTemporaryPath(target);
    }
    std::string TemporaryFolder() override;
    void RemoveTemporaryFolder() override { inner_.RemoveTemporaryFolder(); }
    std::string WindowsDirectory() override { return inner_.WindowsDirectory(); }
    std::unique_ptr<FileLock> LockFile(std::string_view path, LockResult& result) override;

    /// The log and the armed fault, shared with the handles opened (which may outlive this).
    struct Shared {
        std::vector<FileOperation> log;
        std::int64_t failAt = 0; // 0: nothing fails
        FaultMode mode = FaultMode::Once;

        /// Logs `operation`; true when it is to fail.
        bool Begin(FileOperation operation);
        /// Records the caller's result of the operation logged last.
        bool End(bool succeeded);
    };

private:
    FileSystem& inner_;
    std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
};

} // namespace zav::test
