// FaultInjectingFileSystem: the operation log and the injected failures.
#include "support/fault_injecting_file_system.h"

namespace zav::test {
namespace {

using Shared = FaultInjectingFileSystem::Shared;

// Logs `operation`. When it is to fail, returns `failed`; otherwise returns what `call` gives and
// logs whether `ok` judges it a success.
template <class T, class Call, class Ok>
T Pass(Shared& shared, FileOperation operation, T failed, Call call, Ok ok) {
    const auto number = std::ssize(shared.log) + 1;
    const std::int64_t at = shared.failAt;
    operation.injected =
        (at > 0 && (number == at || (shared.mode == FaultMode::FromThenOn && number > at))) ||
        (shared.when && shared.when(operation));
    shared.log.push_back(std::move(operation));
    const std::size_t index = shared.log.size() - 1;
    if (shared.log[index].injected) {
        return failed;
    }
    T result = call();
    shared.log[index].succeeded = ok(result);
    return result;
}

FileOperation Op(std::string_view kind, std::string_view path, std::string_view target = {}) {
    return {.kind = kind, .path = std::string(path), .target = std::string(target)};
}

const auto kTrue = [](bool done) { return done; };
const auto kHas = [](const auto& value) { return static_cast<bool>(value); };
const auto kNotNegative = [](std::int64_t value) { return value >= 0; };

class InjectingHandle final : public FileHandle {
public:
    InjectingHandle(std::unique_ptr<FileHandle> inner, std::string path,
                    std::shared_ptr<Shared> shared)
        : inner_(std::move(inner)), path_(std::move(path)), shared_(std::move(shared)) {}

    std::int64_t ReadAt(std::int64_t offset, void* buffer, std::int64_t count) override {
        return Pass(
            *shared_, Transfer("Read", offset, count), std::int64_t{-1},
            [&] { return inner_->ReadAt(offset, buffer, count); }, kNotNegative);
    }
    std::int64_t WriteAt(std::int64_t offset, const void* buffer, std::int64_t count) override {
        const std::int64_t put = Pass(
            *shared_, Transfer("Write", offset, count), std::int64_t{-2},
            [&] { return inner_->WriteAt(offset, buffer, count); },
            [&](std::int64_t n) { return n == count; });
        if (put != -2) {
            return put;
        }
        // A full disk takes what fits and reports the short count.
        const std::int64_t half = count / 2;
        const std::int64_t part = half > 0 ? inner_->WriteAt(offset, buffer, half) : -1;
        return part > 0 ? part : -1;
    }
    std::int64_t Size() override {
        return Pass(
            *shared_, Transfer("HandleSize", 0, 0), std::int64_t{-1},
            [&] { return inner_->Size(); }, kNotNegative);
    }
    bool Sync() override {
        return Pass(
            *shared_, Transfer("HandleSync", 0, 0), false, [&] { return inner_->Sync(); }, kTrue);
    }

private:
    FileOperation Transfer(std::string_view kind, std::int64_t offset, std::int64_t count) const {
        FileOperation operation = Op(kind, path_);
        operation.offset = offset;
        operation.count = count;
        return operation;
    }

    std::unique_ptr<FileHandle> inner_;
    std::string path_;
    std::shared_ptr<Shared> shared_;
};

} // namespace

std::string Describe(const FileOperation& operation) {
    std::string text = std::string(operation.kind) + " " + operation.path;
    if (!operation.target.empty()) {
        text += " -> " + operation.target;
    }
    if (operation.kind == "Read" || operation.kind == "Write") {
        text += " @" + std::to_string(operation.offset) + "+" + std::to_string(operation.count);
    }
    return text + (operation.injected ? " (injected)" : operation.succeeded ? "" : " (failed)");
}

std::unique_ptr<FileHandle> FaultInjectingFileSystem::Open(std::string_view path, OpenMode mode) {
    FileOperation operation = Op("Open", path);
    operation.mode = mode;
    auto handle = Pass(
        *shared_, std::move(operation), std::unique_ptr<FileHandle>(),
        [&] { return inner_.Open(path, mode); }, kHas);
    if (handle == nullptr) {
        return nullptr;
    }
    return std::make_unique<InjectingHandle>(std::move(handle), std::string(path), shared_);
}

bool FaultInjectingFileSystem::CopyFile(std::string_view from, std::string_view to,
                                        bool failIfExists) {
    FileOperation operation = Op("Copy", from, to);
    operation.failIfExists = failIfExists;
    return Pass(
        *shared_, std::move(operation), false,
        [&] { return inner_.CopyFile(from, to, failIfExists); }, kTrue);
}

bool FaultInjectingFileSystem::RenameFile(std::string_view from, std::string_view to) {
    return Pass(
        *shared_, Op("Rename", from, to), false, [&] { return inner_.RenameFile(from, to); },
        kTrue);
}

bool FaultInjectingFileSystem::SyncFile(std::string_view path) {
    return Pass(
        *shared_, Op("SyncFile", path), false, [&] { return inner_.SyncFile(path); }, kTrue);
}

bool FaultInjectingFileSystem::DeleteFile(std::string_view path) {
    return Pass(
        *shared_, Op("Delete", path), false, [&] { return inner_.DeleteFile(path); }, kTrue);
}

bool FaultInjectingFileSystem::SetAttributes(std::string_view path, std::uint32_t attributes) {
    return Pass(
        *shared_, Op("SetAttributes", path), false,
        [&] { return inner_.SetAttributes(path, attributes); }, kTrue);
}

std::optional<std::vector<DirectoryEntry>>
FaultInjectingFileSystem::ListFolder(std::string_view folder) {
    return Pass(
        *shared_, Op("ListFolder", folder), std::optional<std::vector<DirectoryEntry>>(),
        [&] { return inner_.ListFolder(folder); }, kHas);
}

std::optional<FileStatus> FaultInjectingFileSystem::Status(std::string_view path) {
    return Pass(
        *shared_, Op("Status", path), std::optional<FileStatus>(),
        [&] { return inner_.Status(path); }, kHas);
}

std::optional<std::uint64_t> FaultInjectingFileSystem::FreeSpace(std::string_view path) {
    return Pass(
        *shared_, Op("FreeSpace", path), std::optional<std::uint64_t>(),
        [&] { return inner_.FreeSpace(path); }, kHas);
}

bool FaultInjectingFileSystem::CreateDirectory(std::string_view path) {
    return Pass(
        *shared_, Op("CreateDirectory", path), false, [&] { return inner_.CreateDirectory(path); },
        kTrue);
}

std::string FaultInjectingFileSystem::TemporaryFolder() {
    return Pass(
        *shared_, Op("TemporaryFolder", {}), std::string(),
        [&] { return inner_.TemporaryFolder(); },
        [](const std::string& folder) { return !folder.empty(); });
}

std::unique_ptr<FileLock> FaultInjectingFileSystem::LockFile(std::string_view path,
                                                             LockResult& result) {
    result = LockResult::Unavailable;
    return Pass(
        *shared_, Op("Lock", path), std::unique_ptr<FileLock>(),
        [&] { return inner_.LockFile(path, result); },
        [&](const auto&) { return result == LockResult::Acquired; });
}

} // namespace zav::test
