// MemoryFileSystem: one list file held in memory, for the fuzz targets that open it on any bytes.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace zav::fuzz {

/// One file, `bytes`, whatever the path: Open always finds it and CreateTruncate empties it; a
/// write past the end fills the gap with zeros. The handles' reads and writes are counted together
/// and the one chosen by FailTransferIn fails: a read gives -1, a write stores half its bytes and
/// reports that short count, as a full disk does. The operations no fuzz target uses fail.
class MemoryFileSystem final : public FileSystem {
public:
    std::vector<std::uint8_t> bytes;

    /// Makes the `n`-th transfer from now fail (0: none).
    void FailTransferIn(std::int64_t n) {
        failAt_ = n > 0 ? transfers_ + n : 0;
        faultCame_ = false;
    }
    /// Whether the transfer that was to fail has come.
    [[nodiscard]] bool FaultCame() const { return faultCame_; }

    std::unique_ptr<FileHandle> Open(std::string_view, OpenMode mode) override {
        if (mode == OpenMode::CreateTruncate) {
            bytes.clear();
        }
        return std::make_unique<Handle>(*this, mode != OpenMode::ReadOnly);
    }
    bool CopyFile(std::string_view, std::string_view, bool) override { return false; }
    bool RenameFile(std::string_view, std::string_view) override { return false; }
    bool SyncFile(std::string_view) override { return false; }
    bool DeleteFile(std::string_view) override { return false; }
    bool SetAttributes(std::string_view, std::uint32_t) override { return false; }
    std::optional<std::vector<DirectoryEntry>> ListFolder(std::string_view) override { return {}; }
    std::optional<FileStatus> Status(std::string_view) override { return {}; }
    std::optional<std::uint64_t> FreeSpace(std::string_view) override { return {}; }
    bool CreateDirectory(std::string_view) override { return false; }
    std::string SiblingTemporaryPath(std::string_view) override { return {}; }
    std::string TemporaryFolder() override { return {}; }
    void RemoveTemporaryFolder() override {}
    std::string WindowsDirectory() override { return {}; }

private:
    struct Handle final : FileHandle {
        Handle(MemoryFileSystem& o, bool w) : owner(o), bytes(o.bytes), writable(w) {}
        std::int64_t ReadAt(std::int64_t offset, void* buffer, std::int64_t count) override {
            if (offset < 0 || count < 0 || owner.Fails()) {
                return -1;
            }
            const std::int64_t got = std::clamp<std::int64_t>(Size() - offset, 0, count);
            std::copy_n(bytes.begin() + std::min(offset, Size()), got,
                        static_cast<std::uint8_t*>(buffer));
            return got;
        }
        std::int64_t WriteAt(std::int64_t offset, const void* buffer, std::int64_t count) override {
            if (!writable || offset < 0 || count < 0 || offset > (1 << 24)) {
                return -1;
            }
            const std::int64_t put = owner.Fails() ? count / 2 : count;
            if (put <= 0) {
                return count == 0 ? 0 : -1;
            }
            bytes.resize(std::max(bytes.size(), static_cast<std::size_t>(offset + put)));
            std::copy_n(static_cast<const std::uint8_t*>(buffer), put, bytes.begin() + offset);
            return put;
        }
        std::int64_t Size() override { return static_cast<std::int64_t>(bytes.size()); }
        bool Sync() override { return true; }
        MemoryFileSystem& owner;
        std::vector<std::uint8_t>& bytes;
        bool writable;
    };

    bool Fails() {
        const bool fails = ++transfers_ == failAt_;
        faultCame_ = faultCame_ || fails;
        return fails;
    }

    std::int64_t transfers_ = 0, failAt_ = 0;
    bool faultCame_ = false;
};

} // namespace zav::fuzz
