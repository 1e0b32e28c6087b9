// A FileSystem decorator that logs every operation it passes on and makes chosen ones fail.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace zav::test {

struct FileOperation {
    std::string_view kind; // "Open", "Read", "Write", "Copy", "Rename", "SyncFile", "Delete", ...
    std::string path;      // for a handle's operations the path it was opened with
    std::string target;    // the destination of a copy or rename
    OpenMode mode = OpenMode::ReadOnly;
    bool failIfExists = false;
    std::int64_t offset = 0;
    std::int64_t count = 0;
    bool injected = false;  // made to fail here
    bool succeeded = false; // what the caller saw
};

/// "Write C:\...\circuits.bin @4+140 (injected)", for failure messages.
std::string Describe(const FileOperation& operation);

enum class FaultMode { Once, FromThenOn };

/// Operations are numbered from 1 from the last Restart. A failing operation does nothing and
/// reports failure, except a write, which stores half its bytes and reports the short count as a
/// full disk does. SiblingTemporaryPath, RemoveTemporaryFolder and WindowsDirectory are not
/// counted.
class FaultInjectingFileSystem final : public FileSystem {
public:
    explicit FaultInjectingFileSystem(FileSystem& inner) : inner_(inner) {}

    /// Fails operation `number`, and with FromThenOn every later one.
    void FailAt(std::int64_t number, FaultMode mode) {
        shared_->failAt = number;
        shared_->mode = mode;
    }
    void Disarm() { shared_->failAt = 0; }
    /// Numbers the operations from 1 again and clears the log.
    void Restart() { shared_->log.clear(); }
    /// Also fails every operation for which this returns true.
    void FailWhen(std::function<bool(const FileOperation&)> when) {
        shared_->when = std::move(when);
    }

    [[nodiscard]] const std::vector<FileOperation>& Log() const { return shared_->log; }

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

    /// Shared with the handles opened, which may outlive the file system.
    struct Shared {
        std::vector<FileOperation> log;
        std::int64_t failAt = 0;
        FaultMode mode = FaultMode::Once;
        std::function<bool(const FileOperation&)> when;
    };

private:
    FileSystem& inner_;
    std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
};

} // namespace zav::test
