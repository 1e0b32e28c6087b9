// The FileSystem port over the Win32 API.
#pragma once

#include <string>

#include "platform/file_system.h"

namespace zav {

/// FileSystem over the wide (W) Win32 calls. The core's paths are Windows paths already; they are
/// converted from code page 1252 to UTF-16 at this edge, so names with accents reach the same
/// files whatever the system's ANSI code page. The file system itself compares names without
/// case; listings are put in the order of FileSystem::ListFolder.
///
/// Locks are LockFileEx locks on the whole lock file, which Wine keeps as POSIX record locks on the
/// host's file: they exclude the POSIX build's locks on the same file and vanish with the process.
class Win32FileSystem final : public FileSystem {
public:
    Win32FileSystem() = default;
    ~Win32FileSystem() override;

    Win32FileSystem(const Win32FileSystem&) = delete;
    Win32FileSystem& operator=(const Win32FileSystem&) = delete;

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

    /// The folder TemporaryFolder makes its folder in, as GetTempPathW names it (UTF-8, with its
    /// trailing separator); empty when the system names none.
    static std::string TemporaryFolderBase();

private:
    // The failure GetLastError() names.
    static FileResult FailedWithLastError();

    std::wstring temporaryFolder_; // this run's private folder, once made
    unsigned siblingCounter_ = 0;
};

} // namespace zav
