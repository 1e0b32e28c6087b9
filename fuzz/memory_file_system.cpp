// MemoryFileSystem: in-memory files and handles, and the fuzz targets' stop on a broken promise.
#include "memory_file_system.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "fuzz_input.h"

namespace zav::fuzz {

void Broken(const char* what) {
    std::fprintf(stderr, "broken promise: %s\n", what);
    std::abort();
}

namespace {

class MemoryHandle final : public FileHandle {
public:
    MemoryHandle(std::shared_ptr<MemoryFileSystem::State> state, std::string path, bool writable)
        : state_(std::move(state)), path_(std::move(path)), writable_(writable) {}

    std::int64_t ReadAt(std::int64_t offset, void* buffer, std::int64_t count) override {
        if (offset < 0 || count < 0 || Fails()) {
            return -1;
        }
        const std::vector<std::uint8_t>& bytes = state_->files[path_];
        const auto size = static_cast<std::int64_t>(bytes.size());
        const std::int64_t got = offset >= size ? 0 : std::min(count, size - offset);
        if (got > 0) {
            std::memcpy(buffer, bytes.data() + offset, static_cast<std::size_t>(got));
        }
        return got;
    }

    std::int64_t WriteAt(std::int64_t offset, const void* buffer, std::int64_t count) override {
        if (!writable_ || offset < 0 || count < 0 || offset > (1 << 24)) {
            return -1;
        }
        const std::int64_t put = Fails() ? count / 2 : count;
        if (put <= 0) {
            return count == 0 ? 0 : -1;
        }
        std::vector<std::uint8_t>& bytes = state_->files[path_];
        if (static_cast<std::int64_t>(bytes.size()) < offset + put) {
            bytes.resize(static_cast<std::size_t>(offset + put));
        }
        std::memcpy(bytes.data() + offset, buffer, static_cast<std::size_t>(put));
        return put;
    }

    std::int64_t Size() override { return static_cast<std::int64_t>(state_->files[path_].size()); }
    bool Sync() override { return true; }

private:
    bool Fails() {
        if (++state_->transfers != state_->failTransferAt) {
            return false;
        }
        state_->failed = true;
        return true;
    }

    std::shared_ptr<MemoryFileSystem::State> state_;
    std::string path_;
    bool writable_;
};

} // namespace

std::unique_ptr<FileHandle> MemoryFileSystem::Open(std::string_view path, OpenMode mode) {
    const std::string name(path);
    const bool exists = Exists(name);
    if (mode == OpenMode::ReadOnly && !exists) {
        return nullptr;
    }
    if (mode == OpenMode::CreateTruncate || !exists) {
        state_->files[name].clear();
    }
    return std::make_unique<MemoryHandle>(state_, name, mode != OpenMode::ReadOnly);
}

bool MemoryFileSystem::CopyFile(std::string_view from, std::string_view to, bool failIfExists) {
    const std::string source(from);
    const std::string target(to);
    if (!Exists(source) || (failIfExists && Exists(target)) || source == target) {
        return false;
    }
    state_->files[target] = state_->files[source];
    return true;
}

bool MemoryFileSystem::RenameFile(std::string_view from, std::string_view to) {
    const std::string source(from);
    if (!Exists(source)) {
        return false;
    }
    std::vector<std::uint8_t> bytes = std::move(state_->files[source]);
    state_->files.erase(source);
    state_->files[std::string(to)] = std::move(bytes);
    return true;
}

bool MemoryFileSystem::DeleteFile(std::string_view path) {
    return state_->files.erase(std::string(path)) != 0;
}

std::optional<FileStatus> MemoryFileSystem::Status(std::string_view path) {
    const std::string name(path);
    if (!Exists(name)) {
        return std::nullopt;
    }
    FileStatus status;
    status.size = static_cast<std::int64_t>(state_->files[name].size());
    return status;
}

} // namespace zav::fuzz
