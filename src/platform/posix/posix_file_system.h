// The FileSystem port on a POSIX host, with the game installed in a Wine prefix.
#pragma once

#include <sys/types.h>

#include <set>
#include <string>
#include <utility>

#include "platform/content_fingerprint.h"
#include "platform/file_system.h"
#include "platform/posix/copied_fingerprints.h"
#include "platform/posix/host_path_resolver.h"

namespace zav {

/// FileSystem over the host's files. Windows-style paths are resolved inside the Wine prefix
/// (see HostPathResolver); names are converted between code page 1252 and the host's UTF-8, and
/// host names that code page 1252 cannot write are passed over in listings.
///
/// The read-only attribute is the owner's write permission: a file without it is not written,
/// replaced or deleted, even by a user whom the host would allow to.
class PosixFileSystem final : public FileSystem, public CopyFingerprints {
public:
    /// `prefix`: the Wine prefix, a UTF-8 host path.
    explicit PosixFileSystem(std::string prefix);
    ~PosixFileSystem() override;

    PosixFileSystem(const PosixFileSystem&) = delete;
    PosixFileSystem& operator=(const PosixFileSystem&) = delete;

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
    std::string FinalPath(std::string_view path) override;
    FileResult MayChange(std::string_view path) override;
    std::optional<std::string> LinkTarget(std::string_view path) override;
    FileResult CreateLink(std::string_view path, std::string_view target) override;
    void KeepCopyFingerprints() override { keepFingerprints_ = true; }
    std::optional<ContentFingerprint> CopiedFingerprint(std::string_view path) override;

    /// The host folder TemporaryFolder makes its folder in: $TMPDIR when set and nameable in code
    /// page 1252, else /tmp. TemporaryFolder names its folder zav-patcher-<process id>-XXXXXX, and
    /// before it makes one removes the folders of that form of this user whose process is gone:
    /// those of runs that were killed.
    static std::string TemporaryFolderBase();

    /// The host path of a core path, for messages and tests; empty when it cannot be resolved.
    std::string HostPath(std::string_view path) const;

private:
    HostPathResolver resolver_;
    mode_t umask_ = 022;
    std::string temporaryFolder_; // host path of this run's private folder, once made
    unsigned siblingCounter_ = 0;
    bool keepFingerprints_ = false;
    // (device of a source, host folder of a target) whose copies cannot share extents
    std::set<std::pair<dev_t, std::string>> noClones_;
    CopiedFingerprints copied_;
};

} // namespace zav
