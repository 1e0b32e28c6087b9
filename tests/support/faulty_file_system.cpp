// FaultyFileSystem: handles that refuse the transfers a test names.
#include "support/faulty_file_system.h"

namespace zav::test {
namespace {

bool Touches(const std::optional<std::int64_t>& fault, std::int64_t offset, std::int64_t count) {
    return fault && *fault >= offset && *fault < offset + count;
}

class FaultyHandle final : public FileHandle {
public:
    FaultyHandle(std::unique_ptr<FileHandle> inner,
                 std::shared_ptr<FaultyFileSystem::Faults> faults)
        : inner_(std::move(inner)), faults_(std::move(faults)) {}

    std::int64_t ReadAt(std::int64_t offset, void* buffer, std::int64_t count) override {
        return Touches(faults_->read, offset, count) ? -1 : inner_->ReadAt(offset, buffer, count);
    }
    std::int64_t WriteAt(std::int64_t offset, const void* buffer, std::int64_t count) override {
        if (Touches(faults_->write, offset, count)) {
            ++faults_->refusedWrites;
            return -1;
        }
        return inner_->WriteAt(offset, buffer, count);
    }
    std::int64_t Size() override { return inner_->Size(); }
    bool Sync() override { return inner_->Sync(); }

private:
    std::unique_ptr<FileHandle> inner_;
    std::shared_ptr<FaultyFileSystem::Faults> faults_;
};

} // namespace

std::unique_ptr<FileHandle> FaultyFileSystem::Open(std::string_view path, OpenMode mode) {
    auto handle = inner_.Open(path, mode);
    if (handle == nullptr) {
        return nullptr;
    }
    return std::make_unique<FaultyHandle>(std::move(handle), faults_);
}

} // namespace zav::test
