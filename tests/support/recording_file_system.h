// RecordingFileSystem: a real file system whose drive reports the free space a test chooses.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace zav::test {

/// Forwards every operation to `inner`, except FreeSpace, which answers `freeBytes` (nullopt:
/// the query fails). Records the paths of free-space queries and of folder listings.
class RecordingFileSystem final : public FileSystem {
public:
    explicit RecordingFileSystem(FileSystem& inner) : inner_(inner) {}

    std::optional<std::uint64_t> freeBytes = std::uint64_t{1} << 40;
    std::vector<std::string> freeSpaceQueries;
    std::vector<std::string> listedFolders;

    std::unique_ptr<FileHandle> Open(std::string_view path, OpenMode mode) override {
        return inner_.Open(path, mode);
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
        listedFolders.emplace_back(folder);
        return inner_.ListFolder(folder);
    }
    std::optional<FileStatus> Status(std::string_view path) override { return inner_.Status(path); }
    std::optional<std::uint64_t> FreeSpace(std::string_view path) override {
        freeSpaceQueries.emplace_back(path);
        return freeBytes;
    }
    bool CreateDirectory(std::string_view path) override { return inner_.CreateDirectory(path); }
    std::string SiblingTemporaryPath(std::string_view target) override {
        return inner_.SiblingTemporaryPath(target);
    }
    std::string TemporaryFolder() override { return inner_.TemporaryFolder(); }
    void RemoveTemporaryFolder() override { inner_.RemoveTemporaryFolder(); }
    std::string WindowsDirectory() override { return inner_.WindowsDirectory(); }
    std::unique_ptr<FileLock> LockFile(std::string_view path, LockResult& result) override {
        return inner_.LockFile(path, result);
    }

private:
    FileSystem& inner_;
};

} // namespace zav::test
