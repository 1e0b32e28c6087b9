// A FileSystem that passes everything to another one, except the transfers a test makes fail.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "platform/file_system.h"

namespace zav::test {

/// Stands for a disk that refuses some transfers: after `FailWritesAt(offset)` every write through
/// a handle it opened that touches byte `offset` fails (-1) and changes nothing; `FailReadsAt`
/// does the same for reads.
class FaultyFileSystem final : public FileSystem {
public:
    explicit FaultyFileSystem(FileSystem& inner) : inner_(inner) {}

    void FailWritesAt(std::int64_t offset) { faults_->write = offset; }
    void FailReadsAt(std::int64_t offset) { faults_->read = offset; }
    void Heal() { *faults_ = {}; }

    std::unique_ptr<FileHandle> Open(std::string_view path, OpenMode mode) override {
        auto handle = inner_.Open(path, mode);
        return handle ? std::make_unique<Handle>(std::move(handle), faults_) : nullptr;
    }
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

private:
    struct Faults {
        std::optional<std::int64_t> write, read;
        bool Touch(const std::optional<std::int64_t>& at, std::int64_t offset, std::int64_t count) {
            return at && *at >= offset && *at < offset + count;
        }
    };
    class Handle final : public FileHandle {
    public:
        Handle(std::unique_ptr<FileHandle> inner, std::shared_ptr<Faults> faults)
            : inner_(std::move(inner)), faults_(std::move(faults)) {}
        std::int64_t ReadAt(std::int64_t offset, void* buffer, std::int64_t count) override {
            return faults_->Touch(faults_->read, offset, count)
                       ? -1
                       : inner_->ReadAt(offset, buffer, count);
        }
        std::int64_t WriteAt(std::int64_t offset, const void* buffer, std::int64_t count) override {
            return faults_->Touch(faults_->write, offset, count)
                       ? -1
                       : inner_->WriteAt(offset, buffer, count);
        }
        std::int64_t Size() override { return inner_->Size(); }
        bool Sync() override { return inner_->Sync(); }

    private:
        std::unique_ptr<FileHandle> inner_;
        std::shared_ptr<Faults> faults_;
    };

    FileSystem& inner_;
    std::shared_ptr<Faults> faults_ = std::make_shared<Faults>();
};

} // namespace zav::test
