// A FileSystem decorator that logs every operation it passes on and makes chosen ones fail.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/file_system.h"

namespace zav::test {

struct FileOperation {
    std::string_view kind; // "Open", "Read", "Write", "Copy", "Rename", "SyncFile", "Delete", ...
    std::string path;      // for a handle's operations the path it was opened with
    std::string target;    // the destination of a copy or rename
    OpenMode mode = OpenMode::ReadOnly;
    bool failIfExists = false;
    std::int64_t offset = 0;
    std::int64_t count = 0;
    bool injected = false;  // made to fail here
    bool succeeded = false; // what the caller saw
};

/// "Write C:\...\circuits.bin @4+140 (injected)", for failure messages.
inline std::string Describe(const FileOperation& operation) {
    std::string text = std::string(operation.kind) + " " + operation.path;
    text += operation.target.empty() ? "" : " -> " + operation.target;
    if (operation.kind == "Read" || operation.kind == "Write") {
        text += " @" + std::to_string(operation.offset) + "+" + std::to_string(operation.count);
    }
    return text + (operation.injected ? " (injected)" : operation.succeeded ? "" : " (failed)");
}

enum class FaultMode { Once, FromThenOn };

/// Operations are numbered from 1 from the last Restart. A failing operation does nothing and
/// reports failure, except a write, which stores half its bytes and reports the short count as a
/// full disk does. SiblingTemporaryPath, RemoveTemporaryFolder and WindowsDirectory are not
/// counted.
class FaultInjectingFileSystem final : public FileSystem {
public:
    explicit FaultInjectingFileSystem(FileSystem& inner) : inner_(inner) {}

    /// Fails operation `number`, and with FromThenOn every later one.
    void FailAt(std::int64_t number, FaultMode mode) {
        shared_->failAt = number;
        shared_->mode = mode;
    }
    void Disarm() { shared_->failAt = 0; }
    /// Numbers the operations from 1 again and clears the log.
    void Restart() { shared_->log.clear(); }
    /// Also fails every operation for which this returns true.
    void FailWhen(std::function<bool(const FileOperation&)> when) {
        shared_->when = std::move(when);
    }
    [[nodiscard]] const std::vector<FileOperation>& Log() const { return shared_->log; }
    /// Answers free-space queries with `bytes` (nullopt: the query fails) instead of the drive.
    void SetFreeSpace(std::optional<std::uint64_t> bytes) { freeSpace_ = bytes; }

    static FileOperation Op(std::string_view kind, std::string_view path,
                            std::string_view target = {}, std::int64_t offset = 0,
                            std::int64_t count = 0) {
        FileOperation operation{kind, std::string(path), std::string(target)};
        operation.offset = offset;
        operation.count = count;
        return operation;
    }

    std::unique_ptr<FileHandle> Open(std::string_view path, OpenMode mode) override {
        FileOperation operation = Op("Open", path);
        operation.mode = mode;
        auto handle = Pass(std::move(operation), [&] { return inner_.Open(path, mode); });
        return handle ? std::make_unique<Handle>(std::move(handle), std::string(path), shared_)
                      : nullptr;
    }
    bool CopyFile(std::string_view from, std::string_view to, bool failIfExists) override {
        FileOperation operation = Op("Copy", from, to);
        operation.failIfExists = failIfExists;
        return Pass(std::move(operation), [&] { return inner_.CopyFile(from, to, failIfExists); });
    }
    bool RenameFile(std::string_view from, std::string_view to) override {
        return Pass(Op("Rename", from, to), [&] { return inner_.RenameFile(from, to); });
    }
    bool SyncFile(std::string_view path) override {
        return Pass(Op("SyncFile", path), [&] { return inner_.SyncFile(path); });
    }
    bool DeleteFile(std::string_view path) override {
        return Pass(Op("Delete", path), [&] { return inner_.DeleteFile(path); });
    }
    bool SetAttributes(std::string_view path, std::uint32_t attributes) override {
        return Pass(Op("SetAttributes", path),
                    [&] { return inner_.SetAttributes(path, attributes); });
    }
    std::optional<std::vector<DirectoryEntry>> ListFolder(std::string_view folder) override {
        return Pass(Op("ListFolder", folder), [&] { return inner_.ListFolder(folder); });
    }
    std::optional<FileStatus> Status(std::string_view path) override {
        return Pass(Op("Status", path), [&] { return inner_.Status(path); });
    }
    std::optional<std::uint64_t> FreeSpace(std::string_view path) override {
        return Pass(Op("FreeSpace", path),
                    [&] { return freeSpace_ ? *freeSpace_ : inner_.FreeSpace(path); });
    }
    bool CreateDirectory(std::string_view path) override {
        return Pass(Op("CreateDirectory", path), [&] { return inner_.CreateDirectory(path); });
    }
    std::string TemporaryFolder() override {
        return Pass(Op("TemporaryFolder", {}), [&] { return inner_.TemporaryFolder(); });
    }
    std::unique_ptr<FileLock> LockFile(std::string_view path, LockResult& result) override {
        result = LockResult::Unavailable;
        return Pass(Op("Lock", path), [&] { return inner_.LockFile(path, result); });
    }
    std::string SiblingTemporaryPath(std::string_view target) override {
        return inner_.SiblingTemporaryPath(target);
    }
    void RemoveTemporaryFolder() override { inner_.RemoveTemporaryFolder(); }
    std::string WindowsDirectory() override { return inner_.WindowsDirectory(); }

private:
    // Shared with the handles opened, which may outlive the file system.
    struct Shared {
        std::vector<FileOperation> log;
        std::int64_t failAt = 0;
        FaultMode mode = FaultMode::Once;
        std::function<bool(const FileOperation&)> when;

        static bool Ok(std::int64_t count) { return count >= 0; }
        static bool Ok(const std::string& text) { return !text.empty(); }
        template <class T> static bool Ok(const T& value) { return static_cast<bool>(value); }

        // Logs `operation`; when it is to fail returns an empty result (-1 for a count), otherwise
        // what `call` gives.
        template <class Call> auto Pass(FileOperation operation, Call call) -> decltype(call()) {
            const auto number = std::ssize(log) + 1;
            operation.injected =
                (failAt > 0 &&
                 (number == failAt || (mode == FaultMode::FromThenOn && number > failAt))) ||
                (when && when(operation));
            log.push_back(std::move(operation));
            const std::size_t index = log.size() - 1;
            if (log[index].injected) {
                if constexpr (std::is_same_v<decltype(call()), std::int64_t>) {
                    return -1;
                } else {
                    return {};
                }
            }
            auto result = call();
            log[index].succeeded = Ok(result);
            return result;
        }
    };

    class Handle final : public FileHandle {
    public:
        Handle(std::unique_ptr<FileHandle> inner, std::string path, std::shared_ptr<Shared> shared)
            : inner_(std::move(inner)), path_(std::move(path)), shared_(std::move(shared)) {}

        std::int64_t ReadAt(std::int64_t offset, void* buffer, std::int64_t count) override {
            return shared_->Pass(Op("Read", path_, {}, offset, count),
                                 [&] { return inner_->ReadAt(offset, buffer, count); });
        }
        std::int64_t WriteAt(std::int64_t offset, const void* buffer, std::int64_t count) override {
            const std::size_t index = shared_->log.size();
            const std::int64_t put = shared_->Pass(Op("Write", path_, {}, offset, count), [&] {
                return inner_->WriteAt(offset, buffer, count);
            });
            shared_->log[index].succeeded = put == count;
            if (!shared_->log[index].injected || count / 2 == 0) {
                return put;
            }
            // A full disk takes what fits and reports the short count.
            const std::int64_t part = inner_->WriteAt(offset, buffer, count / 2);
            return part > 0 ? part : -1;
        }
        std::int64_t Size() override {
            return shared_->Pass(Op("HandleSize", path_), [&] { return inner_->Size(); });
        }
        bool Sync() override {
            return shared_->Pass(Op("HandleSync", path_), [&] { return inner_->Sync(); });
        }

    private:
        std::unique_ptr<FileHandle> inner_;
        std::string path_;
        std::shared_ptr<Shared> shared_;
    };

    template <class Call> auto Pass(FileOperation operation, Call call) -> decltype(call()) {
        return shared_->Pass(std::move(operation), call);
    }

    FileSystem& inner_;
    std::optional<std::optional<std::uint64_t>> freeSpace_;
    std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
};

} // namespace zav::test
