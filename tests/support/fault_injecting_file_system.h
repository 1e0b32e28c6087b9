// An ObservedFileSystem that logs every operation and makes chosen ones fail.
#pragma once

#include "platform/observed_file_system.h"

namespace zav::test {
struct FileOperation {
    std::string_view kind; // "Open", "Read", "Write", "Copy", "Rename", "SyncFile", "Delete", ...
    std::string path;      // for a handle's operations the path it was opened with
    std::string target;    // the destination of a copy or rename
    OpenMode mode = OpenMode::ReadOnly;
    bool failIfExists = false;
    std::int64_t offset = 0, count = 0;
    bool injected = false;  // made to fail here
    bool succeeded = false; // what the caller saw
};
enum class FaultMode { Once, FromThenOn };
/// Operations are numbered from 1 from the last Restart. A failing operation does nothing and
/// reports failure, except a write, which stores half its bytes and reports the short count as a
/// full disk does. SiblingTemporaryPath, RemoveTemporaryFolder, WindowsDirectory and FinalPath are
/// not counted.
class FaultInjectingFileSystem final : public ObservedFileSystem {
    struct State {
        std::vector<FileOperation> log;
        std::int64_t failAt = 0;
        FaultMode mode = FaultMode::Once;
        std::function<bool(const FileOperation&)> when;
        FileOperationVerdict verdict = FileOperationVerdict::DiskFull; // of `when`
    };
    // Indexed by FileOperationKind; empty for the uncounted kinds.
    // clang-format off
    static constexpr std::string_view KINDS[] = {"Open", "Copy", "Rename", "SyncFile", "Delete",
        "SetAttributes", "ListFolder", "Status", "FreeSpace", "CreateDirectory", "",
        "TemporaryFolder", "", "", "Lock", "", "Read", "Write", "HandleSize", "HandleSync"};
    // clang-format on
public:
    explicit FaultInjectingFileSystem(FileSystem& inner)
        : FaultInjectingFileSystem(inner, std::make_shared<State>()) {}
    /// Fails operation `number`, and with FromThenOn every later one.
    void FailAt(std::int64_t number, FaultMode mode) {
        state_->failAt = number, state_->mode = mode;
    }
    void Disarm() { state_->failAt = 0; }
    /// Numbers the operations from 1 again and clears the log.
    void Restart() { state_->log.clear(); }
    /// Also fails every operation for which this returns true, as `verdict` says.
    void FailWhen(std::function<bool(const FileOperation&)> when,
                  FileOperationVerdict verdict = FileOperationVerdict::DiskFull) {
        state_->when = std::move(when), state_->verdict = verdict;
    }
    [[nodiscard]] const std::vector<FileOperation>& Log() const { return state_->log; }
    /// Answers free-space queries with `bytes` (nullopt: the query fails) instead of the drive.
    void SetFreeSpace(std::optional<std::uint64_t> bytes) { freeSpace_ = bytes; }
    std::optional<std::uint64_t> FreeSpace(std::string_view path) override {
        const auto drive = ObservedFileSystem::FreeSpace(path);
        return freeSpace_ && !state_->log.back().injected ? *freeSpace_ : drive;
    }

private:
    FaultInjectingFileSystem(FileSystem& inner, std::shared_ptr<State> state)
        : ObservedFileSystem(
              inner,
              [state](const ObservedOperation& operation, bool succeeded) {
                  if (!KINDS[int(operation.kind)].empty())
                      state->log.back().succeeded = succeeded;
              },
              [state](const ObservedOperation& op) {
                  if (KINDS[int(op.kind)].empty())
                      return FileOperationVerdict::Proceed;
                  auto& logged = state->log.emplace_back(FileOperation{
                      KINDS[int(op.kind)], std::string(op.path), std::string(op.target), op.mode,
                      op.failIfExists, op.offset, op.count});
                  const auto number = std::ssize(state->log), failAt = state->failAt;
                  const bool counted =
                      failAt > 0 && (number == failAt ||
                                     (state->mode == FaultMode::FromThenOn && number > failAt));
                  const bool chosen = !counted && state->when && state->when(logged);
                  logged.injected = counted || chosen;
                  return counted  ? FileOperationVerdict::DiskFull
                         : chosen ? state->verdict
                                  : FileOperationVerdict::Proceed;
              }),
          state_(std::move(state)) {}
    std::shared_ptr<State> state_;
    std::optional<std::optional<std::uint64_t>> freeSpace_;
};
} // namespace zav::test
