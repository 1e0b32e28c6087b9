// ObservedFileSystem: the gate, the forwarding of each call, then the report.
#include "platform/observed_file_system.h"

#include <string>
#include <type_traits>
#include <utility>

namespace zav {
namespace {

bool Succeeded(const FileCount& count) {
    return count.bytes >= 0;
}
bool Succeeded(const std::string& text) {
    return !text.empty();
}
template <class T> bool Succeeded(const T& result) {
    return static_cast<bool>(result);
}

// What a call the gate refused returns: its failure, with the cause the verdict stands for.
template <class Result> Result Refused(FileOperationVerdict verdict) {
    const FileErrorCause cause =
        verdict == FileOperationVerdict::Fail ? FileErrorCause::Other : FileErrorCause::NoSpace;
    if constexpr (std::is_same_v<Result, FileResult> || std::is_same_v<Result, OpenedFile> ||
                  std::is_same_v<Result, FileCount>) {
        return Result(cause);
    } else {
        return Result{};
    }
}

} // namespace

struct ObservedFileSystem::Hooks {
    FileOperationObserver observer;
    FileOperationGate gate;
    [[nodiscard]] FileOperationVerdict Ask(const ObservedOperation& operation) const {
        return gate ? gate(operation) : FileOperationVerdict::Proceed;
    }
    void Tell(const ObservedOperation& operation, bool succeeded) const {
        if (observer) {
            observer(operation, succeeded);
        }
    }
    // Runs `call` unless the gate refuses it, then reports; a refused call returns its failure.
    template <class Call>
    auto Pass(const ObservedOperation& operation, Call&& call) const -> decltype(call()) {
        using Result = decltype(call());
        const FileOperationVerdict verdict = Ask(operation);
        const bool proceed = verdict == FileOperationVerdict::Proceed;
        if constexpr (std::is_void_v<Result>) {
            if (proceed) {
                call();
            }
            Tell(operation, proceed);
        } else {
            Result result = proceed ? call() : Refused<Result>(verdict);
            Tell(operation, Succeeded(result));
            return result;
        }
    }
};

class ObservedFileSystem::Handle final : public FileHandle {
public:
    Handle(std::unique_ptr<FileHandle> inner, std::string path, std::shared_ptr<const Hooks> hooks)
        : inner_(std::move(inner)), path_(std::move(path)), hooks_(std::move(hooks)) {}

    FileCount ReadAt(std::int64_t offset, void* buffer, std::int64_t count) override {
        return hooks_->Pass(Operation(FileOperationKind::HandleRead, offset, count),
                            [&] { return inner_->ReadAt(offset, buffer, count); });
    }
    FileCount WriteAt(std::int64_t offset, const void* buffer, std::int64_t count) override {
        const ObservedOperation operation =
            Operation(FileOperationKind::HandleWrite, offset, count);
        const FileOperationVerdict verdict = hooks_->Ask(operation);
        FileCount written = Refused<FileCount>(verdict);
        if (verdict == FileOperationVerdict::Proceed) {
            written = inner_->WriteAt(offset, buffer, count);
        } else if (verdict == FileOperationVerdict::DiskFull && count / 2 > 0) {
            const FileCount half = inner_->WriteAt(offset, buffer, count / 2);
            written = half.bytes > 0   ? FileCount(half.bytes, FileErrorCause::NoSpace)
                      : half.bytes < 0 ? half
                                       : FileCount(FileErrorCause::NoSpace);
        }
        hooks_->Tell(operation, written.bytes == count);
        return written;
    }
    FileCount Size() override {
        return hooks_->Pass(Operation(FileOperationKind::HandleSize),
                            [&] { return inner_->Size(); });
    }
    FileResult Sync() override {
        return hooks_->Pass(Operation(FileOperationKind::HandleSync),
                            [&] { return inner_->Sync(); });
    }

private:
    [[nodiscard]] ObservedOperation Operation(FileOperationKind kind, std::int64_t offset = 0,
                                              std::int64_t count = 0) const {
        return {.kind = kind, .path = path_, .offset = offset, .count = count};
    }

    std::unique_ptr<FileHandle> inner_;
    std::string path_;
    std::shared_ptr<const Hooks> hooks_;
};

ObservedFileSystem::ObservedFileSystem(FileSystem& inner, FileOperationObserver observer,
                                       FileOperationGate gate)
    : inner_(inner), hooks_(std::make_shared<const Hooks>(
                         Hooks{.observer = std::move(observer), .gate = std::move(gate)})) {}

OpenedFile ObservedFileSystem::Open(std::string_view path, OpenMode mode) {
    OpenedFile opened = hooks_->Pass({.kind = FileOperationKind::Open, .path = path, .mode = mode},
                                     [&] { return inner_.Open(path, mode); });
    if (!opened) {
        return opened;
    }
    return std::make_unique<Handle>(std::move(opened), std::string(path), hooks_);
}

FileResult ObservedFileSystem::CopyFile(std::string_view from, std::string_view to,
                                        bool failIfExists) {
    return hooks_->Pass({.kind = FileOperationKind::CopyFile,
                         .path = from,
                         .target = to,
                         .failIfExists = failIfExists},
                        [&] { return inner_.CopyFile(from, to, failIfExists); });
}

FileResult ObservedFileSystem::RenameFile(std::string_view from, std::string_view to) {
    return hooks_->Pass({.kind = FileOperationKind::RenameFile, .path = from, .target = to},
                        [&] { return inner_.RenameFile(from, to); });
}

FileResult ObservedFileSystem::SyncFile(std::string_view path) {
    return hooks_->Pass({.kind = FileOperationKind::SyncFile, .path = path},
                        [&] { return inner_.SyncFile(path); });
}

FileResult ObservedFileSystem::DeleteFile(std::string_view path) {
    return hooks_->Pass({.kind = FileOperationKind::DeleteFile, .path = path},
                        [&] { return inner_.DeleteFile(path); });
}

FileResult ObservedFileSystem::SetAttributes(std::string_view path, std::uint32_t attributes) {
    return hooks_->Pass({.kind = FileOperationKind::SetAttributes, .path = path},
                        [&] { return inner_.SetAttributes(path, attributes); });
}

std::optional<std::vector<DirectoryEntry>> ObservedFileSystem::ListFolder(std::string_view folder) {
    return hooks_->Pass({.kind = FileOperationKind::ListFolder, .path = folder},
                        [&] { return inner_.ListFolder(folder); });
}

std::optional<FileStatus> ObservedFileSystem::Status(std::string_view path) {
    return hooks_->Pass({.kind = FileOperationKind::Status, .path = path},
                        [&] { return inner_.Status(path); });
}

std::optional<std::uint64_t> ObservedFileSystem::FreeSpace(std::string_view path) {
    return hooks_->Pass({.kind = FileOperationKind::FreeSpace, .path = path},
                        [&] { return inner_.FreeSpace(path); });
}

FileResult ObservedFileSystem::CreateDirectory(std::string_view path) {
    return hooks_->Pass({.kind = FileOperationKind::CreateDirectory, .path = path},
                        [&] { return inner_.CreateDirectory(path); });
}

std::string ObservedFileSystem::SiblingTemporaryPath(std::string_view target) {
    return hooks_->Pass({.kind = FileOperationKind::SiblingTemporaryPath, .path = target},
                        [&] { return inner_.SiblingTemporaryPath(target); });
}

std::string ObservedFileSystem::TemporaryFolder() {
    return hooks_->Pass({.kind = FileOperationKind::TemporaryFolder},
                        [&] { return inner_.TemporaryFolder(); });
}

void ObservedFileSystem::RemoveTemporaryFolder() {
    hooks_->Pass({.kind = FileOperationKind::RemoveTemporaryFolder},
                 [&] { inner_.RemoveTemporaryFolder(); });
}

std::string ObservedFileSystem::WindowsDirectory() {
    return hooks_->Pass({.kind = FileOperationKind::WindowsDirectory},
                        [&] { return inner_.WindowsDirectory(); });
}

std::unique_ptr<FileLock> ObservedFileSystem::LockFile(std::string_view path, LockResult& result) {
    result = LockResult::Unavailable; // what a refused call says
    return hooks_->Pass({.kind = FileOperationKind::LockFile, .path = path},
                        [&] { return inner_.LockFile(path, result); });
}

std::string ObservedFileSystem::FinalPath(std::string_view path) {
    return hooks_->Pass({.kind = FileOperationKind::FinalPath, .path = path},
                        [&] { return inner_.FinalPath(path); });
}

} // namespace zav
