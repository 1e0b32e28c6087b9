// MemoryFileSystem: files held in memory, for fuzz targets that open list files on any bytes.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace zav::fuzz {

/// A flat set of files by their exact path. Opening follows the OpenMode contract; a write past
/// the end fills the gap with zeros, as a file does. The handles' reads and writes are counted
/// together, and the one numbered `failTransferAt` (from 1) fails: a read gives -1, a write
/// stores half its bytes and reports that short count. Operations the fuzz targets do not need
/// fail.
class MemoryFileSystem final : public FileSystem {
public:
    struct State {
        std::map<std::string, std::vector<std::uint8_t>> files;
        std::int64_t transfers = 0;
        std::int64_t failTransferAt = 0;
        /// Whether the transfer that was to fail has come.
        bool failed = false;
    };

    [[nodiscard]] std::vector<std::uint8_t>& File(const std::string& path) {
        return state_->files[path];
    }
    [[nodiscard]] bool Exists(const std::string& path) const {
        return state_->files.count(path) != 0;
    }
    /// Makes the `n`-th transfer from now fail (0: none).
    void FailTransferIn(std::int64_t n) {
        state_->failTransferAt = n > 0 ? state_->transfers + n : 0;
        state_->failed = false;
    }
    [[nodiscard]] bool FaultCame() const { return state_->failed; }

    std::unique_ptr<FileHandle> Open(std::string_view path, OpenMode mode) override;
    bool CopyFile(std::string_view from, std::string_view to, bool failIfExists) override;
    bool RenameFile(std::string_view from, std::string_view to) override;
    bool SyncFile(std::string_view path) override { return Exists(std::string(path)); }
    bool DeleteFile(std::string_view path) override;
    bool SetAttributes(std::string_view path, std::uint32_t) override {
        return Exists(std::string(path));
    }
    std::optional<std::vector<DirectoryEntry>> ListFolder(std::string_view) override {
        return std::nullopt;
    }
    std::optional<FileStatus> Status(std::string_view path) override;
    std::optional<std::uint64_t> FreeSpace(std::string_view) override { return std::nullopt; }
    bool CreateDirectory(std::string_view) override { return false; }
    std::string SiblingTemporaryPath(std::string_view target) override {
        return std::string(target) + ".zav-new";
    }
    std::string TemporaryFolder() override { return {}; }
    void RemoveTemporaryFolder() override {}
    std::string WindowsDirectory() override { return "C:\\windows"; }

private:
    std::shared_ptr<State> state_ = std::make_shared<State>();
};

} // namespace zav::fuzz
