// A FileSystem that passes everything to another one, except the transfers a test makes fail.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "platform/file_system.h"

namespace zav::test {

/// Stands for a disk that refuses some writes or reads: after `FailWritesAt(offset)` every write
/// through a handle it opened that touches byte `offset` fails (-1) and leaves the file as it
/// was; `FailReadsAt` does the same for reads. Everything else goes to `inner`.
class FaultyFileSystem final : public FileSystem {
public:
    explicit FaultyFileSystem(FileSystem& inner) : inner_(inner) {}

    void FailWritesAt(std::int64_t offset) { faults_->write = offset; }
    void FailReadsAt(std::int64_t offset) { faults_->read = offset; }
    void Heal() { *faults_ = {}; }
    /// Writes refused so far.
    [[nodiscard]] int RefusedWrites() const { return faults_->refusedWrites; }

    std::unique_ptr<FileHandle> Open(std::string_view path, OpenMode mode) override;
    bool CopyFile(std::string_view from, std::string_view to, bool failIfExists) override {
        return inner_.CopyFile(from, to, failIfExists);
    }
    bool RenameFile(std::string_view from, std::string_view to) override {
        return inner_.RenameFile(from, to);
    }
    bool SyncFile(std::string_view path) override { return inner_.SyncFile(path); }
    bool DeleteFile(std::string_view path) override { return inner_.DeleteFile(path); }
    bool SetAttributes(std::string_view path, std::uint32_t attributes) override {
        return inner_.SetAttributes(path, attributes);
    }
    std::optional<std::vector<DirectoryEntry>> ListFolder(std::string_view folder) override {
        return inner_.ListFolder(folder);
    }
    std::optional<FileStatus> Status(std::string_view path) override { return inner_.Status(path); }
    std::optional<std::uint64_t> FreeSpace(std::string_view path) override {
        return inner_.FreeSpace(path);
    }
    bool CreateDirectory(std::string_view path) override { return inner_.CreateDirectory(path); }
    std::string SiblingTemporaryPath(std::string_view target) override {
        return inner_.SiblingTemporaryPath(target);
    }
    std::string TemporaryFolder() override { return inner_.TemporaryFolder(); }
    void RemoveTemporaryFolder() override { inner_.RemoveTemporaryFolder(); }
    std::string WindowsDirectory() override { return inner_.WindowsDirectory(); }

    struct Faults {
        std::optional<std::int64_t> write;
        std::optional<std::int64_t> read;
        int refusedWrites = 0;
    };

private:
    FileSystem& inner_;
    std::shared_ptr<Faults> faults_ = std::make_shared<Faults>();
};

} // namespace zav::test
