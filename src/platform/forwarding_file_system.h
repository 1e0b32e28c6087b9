// ForwardingFileSystem: a decorator's base that hands every call to the file system beneath.
#pragma once

#include "platform/file_system.h"

namespace zav {

/// Forwards every call to `inner` unchanged, so that a decorator overrides only the calls whose
/// behaviour it changes. The contract is FileSystem's; a decorator keeps it.
class ForwardingFileSystem : public FileSystem {
public:
    explicit ForwardingFileSystem(FileSystem& inner) : inner_(inner) {}

    OpenedFile Open(std::string_view path, OpenMode mode) override {
        return inner_.Open(path, mode);
    }
    FileResult CopyFile(std::string_view from, std::string_view to, bool failIfExists) override {
        return inner_.CopyFile(from, to, failIfExists);
    }
    FileResult RenameFile(std::string_view from, std::string_view to) override {
        return inner_.RenameFile(from, to);
    }
    FileResult SyncFile(std::string_view path) override { return inner_.SyncFile(path); }
    FileResult DeleteFile(std::string_view path) override { return inner_.DeleteFile(path); }
    FileResult SetAttributes(std::string_view path, std::uint32_t attributes) override {
        return inner_.SetAttributes(path, attributes);
    }
    std::optional<std::vector<DirectoryEntry>> ListFolder(std::string_view folder) override {
        return inner_.ListFolder(folder);
    }
    std::optional<FileStatus> Status(std::string_view path) override { return inner_.Status(path); }
    std::optional<std::uint64_t> FreeSpace(std::string_view path) override {
        return inner_.FreeSpace(path);
    }
    FileResult CreateDirectory(std::string_view path) override {
        return inner_.CreateDirectory(path);
    }
    std::string SiblingTemporaryPath(std::string_view target) override {
        return inner_.SiblingTemporaryPath(target);
    }
    std::string TemporaryFolder() override { return inner_.TemporaryFolder(); }
    void RemoveTemporaryFolder() override { inner_.RemoveTemporaryFolder(); }
    std::string WindowsDirectory() override { return inner_.WindowsDirectory(); }
    std::string FinalPath(std::string_view path) override { return inner_.FinalPath(path); }
    FileResult MayChange(std::string_view path) override { return inner_.MayChange(path); }
    std::optional<std::string> LinkTarget(std::string_view path) override {
        return inner_.LinkTarget(path);
    }
    FileResult CreateLink(std::string_view path, std::string_view target) override {
        return inner_.CreateLink(path, target);
    }
    std::unique_ptr<FileLock> LockFile(std::string_view path, LockResult& result) override {
        return inner_.LockFile(path, result);
    }

protected:
    /// The file system beneath.
    FileSystem& Inner() { return inner_; }

private:
    FileSystem& inner_;
};

} // namespace zav
