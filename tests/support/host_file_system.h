// The host's FileSystem over a test's Wine prefix tree: PosixFileSystem on Linux; on Windows the
// Win32 one with drive C: and the Windows directory moved into the tree, so that the same
// fixtures and assertions run on both.
#pragma once

#include <string>

#ifdef _WIN32
#include "platform/codepage.h"
#include "platform/win32/win32_file_system.h"
#else
#include "platform/posix/posix_file_system.h"
#endif

namespace zav::test {
#ifdef _WIN32
/// Win32FileSystem that reads "C:\x" as `<prefix>\drive_c\x` and any other drive as a missing
/// one; host paths pass unchanged. The tests' own folders must not lie on drive C: (scripts/test
/// points the Wine prefix's TEMP elsewhere).
class HostFileSystem final : public FileSystem {
public:
    explicit HostFileSystem(const std::string& prefix)
        : root_(Utf8ToCp1252(prefix).value_or(prefix)) {}
    OpenedFile Open(std::string_view p, OpenMode mode) override { return host_.Open(Map(p), mode); }
    FileResult CopyFile(std::string_view from, std::string_view to, bool failIfExists) override {
        return host_.CopyFile(Map(from), Map(to), failIfExists);
    }
    FileResult RenameFile(std::string_view from, std::string_view to) override {
        return host_.RenameFile(Map(from), Map(to));
    }
    FileResult SyncFile(std::string_view p) override { return host_.SyncFile(Map(p)); }
    FileResult DeleteFile(std::string_view p) override { return host_.DeleteFile(Map(p)); }
    FileResult SetAttributes(std::string_view p, std::uint32_t a) override {
        return host_.SetAttributes(Map(p), a);
    }
    std::optional<std::vector<DirectoryEntry>> ListFolder(std::string_view p) override {
        return host_.ListFolder(Map(p));
    }
    std::optional<FileStatus> Status(std::string_view p) override { return host_.Status(Map(p)); }
    std::optional<std::uint64_t> FreeSpace(std::string_view p) override {
        return host_.FreeSpace(Map(p));
    }
    FileResult CreateDirectory(std::string_view p) override {
        return host_.CreateDirectory(Map(p));
    }
    std::string SiblingTemporaryPath(std::string_view target) override {
        // Spelled as the target, as the port promises: only the name is the host's.
        const std::string mapped = host_.SiblingTemporaryPath(Map(target));
        std::string path(target);
        const std::size_t cut = path.find_last_of("\\/");
        return path.erase(cut == std::string::npos ? 0 : cut + 1) +
               mapped.substr(mapped.find_last_of("\\/") + 1);
    }
    std::string TemporaryFolder() override { return host_.TemporaryFolder(); }
    void RemoveTemporaryFolder() override { host_.RemoveTemporaryFolder(); }
    std::string WindowsDirectory() override { return "C:\\windows"; }
    std::unique_ptr<FileLock> LockFile(std::string_view p, LockResult& result) override {
        return host_.LockFile(Map(p), result);
    }
    /// The host path of a core path.
    [[nodiscard]] std::string HostPath(std::string_view p) const { return Map(p); }

private:
    [[nodiscard]] std::string Map(std::string_view p) const {
        const bool drive =
            p.size() >= 2 && p[1] == ':' && (p.size() == 2 || p[2] == '\\' || p[2] == '/');
        if (!drive || p[0] == 'Z' || p[0] == 'z') {
            return std::string(p); // a host path (Wine shows the host's root as Z:)
        }
        const bool c = p[0] == 'C' || p[0] == 'c';
        return root_ + (c ? "\\drive_c" : "\\dosdevices\\" + std::string(1, p[0]) + "-missing") +
               std::string(p.substr(2));
    }
    std::string root_;
    Win32FileSystem host_;
};
#else
using HostFileSystem = PosixFileSystem;
#endif
} // namespace zav::test
