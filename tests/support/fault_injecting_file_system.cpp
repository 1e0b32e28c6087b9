// FaultInjectingFileSystem: the operation log and the injected failures.
#include "support/fault_injecting_file_system.h"

#include <cstdio>

namespace zav::test {
namespace {

using Kind = FileOperationKind;

const char* KindName(Kind kind) {
    switch (kind) {
    case Kind::Open:
        return "Open";
    case Kind::Read:
        return "Read";
    case Kind::Write:
        return "Write";
    case Kind::HandleSize:
        return "HandleSize";
    case Kind::HandleSync:
        return "HandleSync";
    case Kind::Copy:
        return "Copy";
    case Kind::Rename:
        return "Rename";
    case Kind::SyncFile:
        return "SyncFile";
    case Kind::Delete:
        return "Delete";
    case Kind::SetAttributes:
        return "SetAttributes";
    case Kind::ListFolder:
        return "ListFolder";
    case Kind::Status:
        return "Status";
    case Kind::FreeSpace:
        return "FreeSpace";
    case Kind::CreateDirectory:
        return "CreateDirectory";
    case Kind::TemporaryFolder:
        return "TemporaryFolder";
    case Kind::Lock:
        return "Lock";
    }
    return "?";
}

FileOperation Operation(Kind kind, std::string_view path, std::string_view target = {}) {
    FileOperation operation;
    operation.kind = kind;
    operation.path = std::string(path);
    operation.target = std::string(target);
    return operation;
}

class InjectingHandle final : public FileHandle {
public:
    InjectingHandle(std::unique_ptr<FileHandle> inner, std::string path,
                    std::shared_ptr<FaultInjectingFileSystem::Shared> shared)
        : inner_(std::move(inner)), path_(std::move(path)), shared_(std::move(shared)) {}

    std::int64_t ReadAt(std::int64_t offset, void* buffer, std::int64_t count) override {
        if (shared_->Begin(Transfer(Kind::Read, offset, count))) {
            shared_->End(false);
            return -1;
        }
        const std::int64_t got = inner_->ReadAt(offset, buffer, count);
        shared_->End(got >= 0);
        return got;
    }

    std::int64_t WriteAt(std::int64_t offset, const void* buffer, std::int64_t count) override {
        if (shared_->Begin(Transfer(Kind::Write, offset, count))) {
            // A full disk takes what fits and reports the short count.
            const std::int64_t half = count / 2;
            const std::int64_t put = half > 0 ? inner_->WriteAt(offset, buffer, half) : -1;
            shared_->End(false);
            return put > 0 ? put : -1;
        }
        const std::int64_t put = inner_->WriteAt(offset, buffer, count);
        shared_->End(put == count);
        return put;
    }

    std::int64_t Size() override {
        if (shared_->Begin(Transfer(Kind::HandleSize, 0, 0))) {
            shared_->End(false);
            return -1;
        }
        const std::int64_t size = inner_->Size();
        shared_->End(size >= 0);
        return size;
    }

    bool Sync() override {
        if (shared_->Begin(Transfer(Kind::HandleSync, 0, 0))) {
            return shared_->End(false);
        }
        return shared_->End(inner_->Sync());
    }

private:
    FileOperation Transfer(Kind kind, std::int64_t offset, std::int64_t count) const {
        FileOperation operation = Operation(kind, path_);
        operation.offset = offset;
        operation.count = count;
        return operation;
    }

    std::unique_ptr<FileHandle> inner_;
    std::string path_;
    std::shared_ptr<FaultInjectingFileSystem::Shared> shared_;
};

} // namespace

std::string Describe(const FileOperation& operation) {
    std::string text = KindName(operation.kind);
    text += " " + operation.path;
    if (!operation.target.empty()) {
        text += " -> " + operation.target;
    }
    if (operation.kind == Kind::Read || operation.kind == Kind::Write) {
        char span[64];
        std::snprintf(span, sizeof span, " @%lld+%lld", static_cast<long long>(operation.offset),
                      static_cast<long long>(operation.count));
        text += span;
    }
    if (operation.injected) {
        text += " (injected)";
    } else if (!operation.succeeded) {
        text += " (failed)";
    }
    return text;
}

bool FaultInjectingFileSystem::Shared::Begin(FileOperation operation) {
    const auto number = static_cast<std::int64_t>(log.size()) + 1;
    operation.injected =
        failAt > 0 && (number == failAt || (mode == FaultMode::FromThenOn && number > failAt));
    log.push_back(std::move(operation));
    return log.back().injected;
}

bool FaultInjectingFileSystem::Shared::End(bool succeeded) {
    log.back().succeeded = succeeded;
    return succeeded;
}

FaultInjectingFileSystem::FaultInjectingFileSystem(FileSystem& inner) : inner_(inner) {}

void FaultInjectingFileSystem::FailAt(std::int64_t number, FaultMode mode) {
    shared_->failAt = number;
    shared_->mode = mode;
}

void FaultInjectingFileSystem::Disarm() {
    shared_->failAt = 0;
}

void FaultInjectingFileSystem::Restart() {
    shared_->log.clear();
}

std::vector<FileOperation> FaultInjectingFileSystem::Injected() const {
    std::vector<FileOperation> injected;
    for (const FileOperation& operation : shared_->log) {
        if (operation.injected) {
            injected.push_back(operation);
        }
    }
    return injected;
}

std::unique_ptr<FileHandle> FaultInjectingFileSystem::Open(std::string_view path, OpenMode mode) {
    FileOperation operation = Operation(Kind::Open, path);
    operation.mode = mode;
    if (shared_->Begin(std::move(operation))) {
        shared_->End(false);
        return nullptr;
    }
    auto handle = inner_.Open(path, mode);
    if (!shared_->End(handle != nullptr)) {
        return nullptr;
    }
    return std::make_unique<InjectingHandle>(std::move(handle), std::string(path), shared_);
}

bool FaultInjectingFileSystem::CopyFile(std::string_view from, std::string_view to,
                                        bool failIfExists) {
    FileOperation operation = Operation(Kind::Copy, from, to);
    operation.failIfExists = failIfExists;
    if (shared_->Begin(std::move(operation))) {
        return shared_->End(false);
    }
    return shared_->End(inner_.CopyFile(from, to, failIfExists));
}

bool FaultInjectingFileSystem::RenameFile(std::string_view from, std::string_view to) {
    if (shared_->Begin(Operation(Kind::Rename, from, to))) {
        return shared_->End(false);
    }
    return shared_->End(inner_.RenameFile(from, to));
}

bool FaultInjectingFileSystem::SyncFile(std::string_view path) {
    if (shared_->Begin(Operation(Kind::SyncFile, path))) {
        return shared_->End(false);
    }
    return shared_->End(inner_.SyncFile(path));
}

bool FaultInjectingFileSystem::DeleteFile(std::string_view path) {
    if (shared_->Begin(Operation(Kind::Delete, path))) {
        return shared_->End(false);
    }
    return shared_->End(inner_.DeleteFile(path));
}

bool FaultInjectingFileSystem::SetAttributes(std::string_view path, std::uint32_t attributes) {
    if (shared_->Begin(Operation(Kind::SetAttributes, path))) {
        return shared_->End(false);
    }
    return shared_->End(inner_.SetAttributes(path, attributes));
}

std::optional<std::vector<DirectoryEntry>>
FaultInjectingFileSystem::ListFolder(std::string_view folder) {
    if (shared_->Begin(Operation(Kind::ListFolder, folder))) {
        shared_->End(false);
        return std::nullopt;
    }
    auto entries = inner_.ListFolder(folder);
    shared_->End(entries.has_value());
    return entries;
}

std::optional<FileStatus> FaultInjectingFileSystem::Status(std::string_view path) {
    if (shared_->Begin(Operation(Kind::Status, path))) {
        shared_->End(false);
        return std::nullopt;
    }
    auto status = inner_.Status(path);
    shared_->End(status.has_value());
    return status;
}

std::optional<std::uint64_t> FaultInjectingFileSystem::FreeSpace(std::string_view path) {
    if (shared_->Begin(Operation(Kind::FreeSpace, path))) {
        shared_->End(false);
        return std::nullopt;
    }
    auto space = inner_.FreeSpace(path);
    shared_->End(space.has_value());
    return space;
}

bool FaultInjectingFileSystem::CreateDirectory(std::string_view path) {
    if (shared_->Begin(Operation(Kind::CreateDirectory, path))) {
        return shared_->End(false);
    }
    return shared_->End(inner_.CreateDirectory(path));
}

std::string FaultInjectingFileSystem::TemporaryFolder() {
    if (shared_->Begin(Operation(Kind::TemporaryFolder, {}))) {
        shared_->End(false);
        return {};
    }
    std::string folder = inner_.TemporaryFolder();
    shared_->End(!folder.empty());
    return folder;
}

std::unique_ptr<FileLock> FaultInjectingFileSystem::LockFile(std::string_view path,
                                                             LockResult& result) {
    if (shared_->Begin(Operation(Kind::Lock, path))) {
        shared_->End(false);
        result = LockResult::Unavailable;
        return nullptr;
    }
    auto lock = inner_.LockFile(path, result);
    shared_->End(result == LockResult::Acquired);
    return lock;
}

} // namespace zav::test
