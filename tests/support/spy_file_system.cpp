// SpyFileSystem and JournalUi.
#include "support/spy_file_system.h"

#include <cstdio>

namespace zav::test {
namespace {

class SpyHandle final : public FileHandle {
public:
    SpyHandle(std::unique_ptr<FileHandle> inner, std::string path,
              const std::function<bool(std::string_view, std::int64_t)>& failWrite)
        : inner_(std::move(inner)), path_(std::move(path)), failWrite_(failWrite) {}

    std::int64_t ReadAt(std::int64_t offset, void* buffer, std::int64_t count) override {
        return inner_->ReadAt(offset, buffer, count);
    }
    std::int64_t WriteAt(std::int64_t offset, const void* buffer, std::int64_t count) override {
        if (failWrite_ && failWrite_(path_, offset)) {
            return -1;
        }
        return inner_->WriteAt(offset, buffer, count);
    }
    std::int64_t Size() override { return inner_->Size(); }
    bool Sync() override { return inner_->Sync(); }

private:
    std::unique_ptr<FileHandle> inner_;
    std::string path_;
    const std::function<bool(std::string_view, std::int64_t)>& failWrite_;
};

std::string Joined(std::string_view verb, std::string_view from, std::string_view arrow,
                   std::string_view to) {
    return std::string(verb) + " " + std::string(from) + std::string(arrow) + std::string(to);
}

} // namespace

std::vector<std::string> JournalLines(const Journal& journal, std::string_view prefix) {
    std::vector<std::string> lines;
    for (const std::string& line : journal) {
        if (line.rfind(prefix, 0) == 0) {
            lines.push_back(line);
        }
    }
    return lines;
}

std::unique_ptr<FileHandle> SpyFileSystem::Open(std::string_view path, OpenMode mode) {
    auto handle = inner_.Open(path, mode);
    if (handle == nullptr) {
        return nullptr;
    }
    return std::make_unique<SpyHandle>(std::move(handle), std::string(path), failWrite);
}

bool SpyFileSystem::CopyFile(std::string_view from, std::string_view to, bool failIfExists) {
    journal_.push_back(Joined("copy", from, failIfExists ? " -> " : " => ", to));
    return inner_.CopyFile(from, to, failIfExists);
}

bool SpyFileSystem::RenameFile(std::string_view from, std::string_view to) {
    journal_.push_back(Joined("rename", from, " -> ", to));
    return inner_.RenameFile(from, to);
}

bool SpyFileSystem::SyncFile(std::string_view path) {
    journal_.push_back("sync " + std::string(path));
    return inner_.SyncFile(path);
}

bool SpyFileSystem::DeleteFile(std::string_view path) {
    journal_.push_back("delete " + std::string(path));
    return inner_.DeleteFile(path);
}

bool SpyFileSystem::SetAttributes(std::string_view path, std::uint32_t attributes) {
    char hex[16];
    std::snprintf(hex, sizeof hex, " 0x%X", attributes);
    journal_.push_back("attributes " + std::string(path) + hex);
    return inner_.SetAttributes(path, attributes);
}

std::optional<std::vector<DirectoryEntry>> SpyFileSystem::ListFolder(std::string_view folder) {
    return inner_.ListFolder(folder);
}

std::optional<FileStatus> SpyFileSystem::Status(std::string_view path) {
    return inner_.Status(path);
}

std::optional<std::uint64_t> SpyFileSystem::FreeSpace(std::string_view path) {
    return inner_.FreeSpace(path);
}

bool SpyFileSystem::CreateDirectory(std::string_view path) {
    journal_.push_back("mkdir " + std::string(path));
    return inner_.CreateDirectory(path);
}

std::string SpyFileSystem::SiblingTemporaryPath(std::string_view target) {
    return inner_.SiblingTemporaryPath(target);
}

std::string SpyFileSystem::TemporaryFolder() {
    return inner_.TemporaryFolder();
}

void SpyFileSystem::RemoveTemporaryFolder() {
    inner_.RemoveTemporaryFolder();
}

std::string SpyFileSystem::WindowsDirectory() {
    return inner_.WindowsDirectory();
}

int JournalUi::MessageBox(std::string_view text, std::string_view caption, std::uint32_t style) {
    journal_.push_back("box " + std::string(caption));
    return inner_.MessageBox(text, caption, style);
}

void JournalUi::ProgressStep() {
    journal_.push_back("step");
    inner_.ProgressStep();
}

void JournalUi::Pause(int milliseconds) {
    journal_.push_back("pause " + std::to_string(milliseconds));
    inner_.Pause(milliseconds);
}

} // namespace zav::test
