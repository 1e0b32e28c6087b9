// CopyOnWriteFileSystem: a FileSystem decorator that keeps every change in memory, for a dry run.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace zav {

/// One change a run made, as its net effect on a path when the run is over.
struct PlannedChange {
    enum class Kind {
        Create,     ///< a file that was not there
        Replace,    ///< a file that was there gets other bytes
        Delete,     ///< a file that was there is gone
        Attributes, ///< only the read-only attribute of a file changed
        Folder,     ///< a folder that was not there
        Keep,       ///< a copy onto an existing file was refused, and the file stays as it was
    };
    Kind kind = Kind::Create;
    std::string path; ///< as the run first named it
    /// The file whose bytes the path now holds, when they are a copy of one on the disk; empty
    /// when the run wrote them itself.
    std::string source;
    std::int64_t size = 0; ///< of the file after the run (Create, Replace)
    FileStatus before;     ///< of the file before the run (Replace, Delete, Attributes, Keep)
    bool readOnlyAfter = false;
};

/// Reads see the files beneath and the run's own changes; copies, renames, deletions, attribute
/// changes, written files, created folders and the temporary folder stay in memory, so the disk
/// is never changed (locks and free space are still asked of the file system beneath). A change
/// is refused, with the same cause, where the host would refuse it as far as it can tell without
/// trying (FileSystem::MayChange): a folder or file the user may not write, a read-only file, a
/// missing folder. What only a try shows (a disk that fills) is not foreseen. A file
/// copied from the disk is not read until somebody reads the copy.
///
/// Paths are compared as the file systems compare them: without regard to the case of code page
/// 1252 letters, '\' and '/' alike, empty and "." components skipped.
class CopyOnWriteFileSystem final : public FileSystem {
public:
    /// `temporaryFolder`: the name TemporaryFolder hands out (a host path ending in a separator);
    /// it exists in memory only.
    CopyOnWriteFileSystem(FileSystem& inner, std::string temporaryFolder);
    ~CopyOnWriteFileSystem() override;

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
    /// The final path beneath; a path the run made in memory names no link and stays as it is.
    std::string FinalPath(std::string_view path) override {
        return inner_.Status(path) ? inner_.FinalPath(path) : std::string(path);
    }
    std::unique_ptr<FileLock> LockFile(std::string_view path, LockResult& result) override;
    /// The host's answer for a path that lies beneath; success for one the run made in memory.
    FileResult MayChange(std::string_view path) override;

    /// The link beneath, while the run has not changed the path in memory.
    std::optional<std::string> LinkTarget(std::string_view path) override;
    /// Links are not kept in memory: a dry run that would make one fails there (Other).

    /// The net changes so far against the files beneath, in the order the paths were first
    /// changed; paths in the temporary folder and files that end as they began are left out.
    std::vector<PlannedChange> Plan();

private:
    struct Node;
    class MemoryHandle;

    Node* Find(const std::string& key);
    Node& Touch(const std::string& key, std::string_view spelled);
    bool ParentIsFolder(std::string_view path);
    // What the host would refuse of a change to `path` (of that status) before asking it: a
    // folder, a read-only file, a missing folder above.
    FileResult WhyNotWritable(std::string_view path, const std::optional<FileStatus>& status);
    // The host's answer to a change of `path` in place, or to a change of an entry in its folder;
    // success for what the run made in memory.
    FileResult HostAllows(std::string_view path);
    FileResult HostAllowsEntryIn(std::string_view path);
    std::shared_ptr<std::string> LoadBytes(Node& node);

    FileSystem& inner_;
    std::string temporaryFolder_;
    bool temporaryMade_ = false;
    std::map<std::string, Node> nodes_; // by comparison key
    std::vector<std::string> changeOrder_;
    std::vector<std::pair<std::string, std::string>> refusedCopies_; // key, spelled target
};

} // namespace zav
