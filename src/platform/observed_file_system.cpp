// ObservedFileSystem: forwarding of each call, then the report.
#include "platform/observed_file_system.h"

#include <string>
#include <utility>

namespace zav {
namespace {

// Reports when it goes out of scope, that is after the call it guards has returned its result.
class Report {
public:
    Report(const FileOperationObserver& observer, FileOperationKind kind, std::string_view path)
        : observer_(observer), kind_(kind), path_(path) {}
    Report(const Report&) = delete;
    Report& operator=(const Report&) = delete;
    ~Report() { observer_(kind_, path_); }

private:
    const FileOperationObserver& observer_;
    FileOperationKind kind_;
    std::string_view path_;
};

class ObservedFileHandle final : public FileHandle {
public:
    ObservedFileHandle(std::unique_ptr<FileHandle> inner, std::string path,
                       std::shared_ptr<const FileOperationObserver> observer)
        : inner_(std::move(inner)), path_(std::move(path)), observer_(std::move(observer)) {}

    std::int64_t ReadAt(std::int64_t offset, void* buffer, std::int64_t count) override {
        const Report report(*observer_, FileOperationKind::HandleRead, path_);
        return inner_->ReadAt(offset, buffer, count);
    }
    std::int64_t WriteAt(std::int64_t offset, const void* buffer, std::int64_t count) override {
        const Report report(*observer_, FileOperationKind::HandleWrite, path_);
        return inner_->WriteAt(offset, buffer, count);
    }
    std::int64_t Size() override {
        const Report report(*observer_, FileOperationKind::HandleSize, path_);
        return inner_->Size();
    }
    bool Sync() override {
        const Report report(*observer_, FileOperationKind::HandleSync, path_);
        return inner_->Sync();
    }

private:
    std::unique_ptr<FileHandle> inner_;
    std::string path_;
    std::shared_ptr<const FileOperationObserver> observer_;
};

} // namespace

ObservedFileSystem::ObservedFileSystem(FileSystem& inner, FileOperationObserver observer)
    : inner_(inner), observer_(std::make_shared<const FileOperationObserver>(std::move(observer))) {
}

template <class Call>
decltype(auto) ObservedFileSystem::Observe(FileOperationKind kind, std::string_view path,
                                           Call&& call) {
    const Report report(*observer_, kind, path);
    return std::forward<Call>(call)();
}

std::unique_ptr<FileHandle> ObservedFileSystem::Open(std::string_view path, OpenMode mode) {
    auto handle = Observe(FileOperationKind::Open, path, [&] { return inner_.Open(path, mode); });
    if (!handle) {
        return nullptr;
    }
    return std::make_unique<ObservedFileHandle>(std::move(handle), std::string(path), observer_);
}

bool ObservedFileSystem::CopyFile(std::string_view from, std::string_view to, bool failIfExists) {
    return Observe(FileOperationKind::CopyFile, from,
                   [&] { return inner_.CopyFile(from, to, failIfExists); });
}

bool ObservedFileSystem::RenameFile(std::string_view from, std::string_view to) {
    return Observe(FileOperationKind::RenameFile, from,
                   [&] { return inner_.RenameFile(from, to); });
}

bool ObservedFileSystem::SyncFile(std::string_view path) {
    return Observe(FileOperationKind::SyncFile, path, [&] { return inner_.SyncFile(path); });
}

bool ObservedFileSystem::DeleteFile(std::string_view path) {
    return Observe(FileOperationKind::DeleteFile, path, [&] { return inner_.DeleteFile(path); });
}

bool ObservedFileSystem::SetAttributes(std::string_view path, std::uint32_t attributes) {
    return Observe(FileOperationKind::SetAttributes, path,
                   [&] { return inner_.SetAttributes(path, attributes); });
}

std::optional<std::vector<DirectoryEntry>> ObservedFileSystem::ListFolder(std::string_view folder) {
    return Observe(FileOperationKind::ListFolder, folder,
                   [&] { return inner_.ListFolder(folder); });
}

std::optional<FileStatus> ObservedFileSystem::Status(std::string_view path) {
    return Observe(FileOperationKind::Status, path, [&] { return inner_.Status(path); });
}

std::optional<std::uint64_t> ObservedFileSystem::FreeSpace(std::string_view path) {
    return Observe(FileOperationKind::FreeSpace, path, [&] { return inner_.FreeSpace(path); });
}

bool ObservedFileSystem::CreateDirectory(std::string_view path) {
    return Observe(FileOperationKind::CreateDirectory, path,
                   [&] { return inner_.CreateDirectory(path); });
}

std::string ObservedFileSystem::SiblingTemporaryPath(std::string_view target) {
    return Observe(FileOperationKind::SiblingTemporaryPath, target,
                   [&] { return inner_.SiblingTemporaryPath(target); });
}

std::string ObservedFileSystem::TemporaryFolder() {
    return Observe(FileOperationKind::TemporaryFolder, {},
                   [&] { return inner_.TemporaryFolder(); });
}

void ObservedFileSystem::RemoveTemporaryFolder() {
    Observe(FileOperationKind::RemoveTemporaryFolder, {}, [&] { inner_.RemoveTemporaryFolder(); });
}

std::string ObservedFileSystem::WindowsDirectory() {
    return Observe(FileOperationKind::WindowsDirectory, {},
                   [&] { return inner_.WindowsDirectory(); });
}

std::unique_ptr<FileLock> ObservedFileSystem::LockFile(std::string_view path, LockResult& result) {
    return Observe(FileOperationKind::LockFile, path,
                   [&] { return inner_.LockFile(path, result); });
}

} // namespace zav
