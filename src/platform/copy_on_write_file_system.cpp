// CopyOnWriteFileSystem: the run's changes kept in memory over the files beneath.
#include "platform/copy_on_write_file_system.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <utility>

#include "platform/codepage.h"
#include "platform/listing_order.h"
#include "platform/path_key.h"

namespace zav {
namespace {

std::string_view ParentOfKey(std::string_view key) {
    const std::size_t cut = key.find_last_of('\\');
    return cut == std::string_view::npos ? std::string_view() : key.substr(0, cut);
}

// The path without its last component (and the separators before it); empty for a top level.
std::string_view SpelledParent(std::string_view path) {
    while (!path.empty() && (path.back() == '\\' || path.back() == '/')) {
        path.remove_suffix(1);
    }
    const std::size_t cut = path.find_last_of("\\/");
    return cut == std::string_view::npos ? std::string_view() : path.substr(0, cut + 1);
}

std::string LastComponent(std::string_view path) {
    while (!path.empty() && (path.back() == '\\' || path.back() == '/')) {
        path.remove_suffix(1);
    }
    const std::size_t cut = path.find_last_of("\\/");
    return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

LocalTime Now() {
    const std::time_t now = std::time(nullptr);
    const std::tm* parts = std::localtime(&now);
    if (parts == nullptr) {
        return {};
    }
    return {parts->tm_year + 1900, parts->tm_mon + 1, parts->tm_mday,
            parts->tm_hour,        parts->tm_min,     parts->tm_sec};
}

} // namespace

// What a path holds as far as this run knows; made from the file beneath on its first change.
struct CopyOnWriteFileSystem::Node {
    enum class State { File, Deleted, Folder } state = State::Deleted;
    std::string spelled;
    /// The file's bytes once the run wrote or read them into memory; null while they are those of
    /// `origin` on the disk beneath.
    std::shared_ptr<std::string> bytes;
    std::string origin;
    std::int64_t originSize = 0;
    LocalTime lastWrite;
    bool readOnly = false;

    [[nodiscard]] std::int64_t Size() const {
        return bytes ? static_cast<std::int64_t>(bytes->size()) : originSize;
    }
    // Whether the bytes are still those the path held on the disk.
    [[nodiscard]] bool HoldsOwnBytes(const std::string& key) const {
        return state == State::File && !bytes && PathComparisonKey(origin) == key;
    }
};

class CopyOnWriteFileSystem::MemoryHandle final : public FileHandle {
public:
    MemoryHandle(std::shared_ptr<std::string> bytes, bool writable)
        : bytes_(std::move(bytes)), writable_(writable) {}

    FileCount ReadAt(std::int64_t offset, void* buffer, std::int64_t count) override {
        if (offset < 0 || count < 0) {
            return FileErrorCause::Other;
        }
        const auto size = static_cast<std::int64_t>(bytes_->size());
        const std::int64_t n = offset >= size ? 0 : std::min(count, size - offset);
        if (n > 0) {
            std::memcpy(buffer, bytes_->data() + offset, static_cast<std::size_t>(n));
        }
        return n;
    }
    FileCount WriteAt(std::int64_t offset, const void* buffer, std::int64_t count) override {
        if (offset < 0 || count < 0) {
            return FileErrorCause::Other;
        }
        if (!writable_) {
            return FileErrorCause::AccessDenied;
        }
        const auto end = static_cast<std::size_t>(offset + count);
        if (bytes_->size() < end) {
            bytes_->resize(end, '\0');
        }
        if (count > 0) {
            std::memcpy(bytes_->data() + offset, buffer, static_cast<std::size_t>(count));
        }
        return count;
    }
    FileCount Size() override { return static_cast<std::int64_t>(bytes_->size()); }
    FileResult Sync() override { return {}; }

private:
    std::shared_ptr<std::string> bytes_;
    bool writable_;
};

CopyOnWriteFileSystem::CopyOnWriteFileSystem(FileSystem& inner, std::string temporaryFolder)
    : inner_(inner), temporaryFolder_(std::move(temporaryFolder)) {}

CopyOnWriteFileSystem::~CopyOnWriteFileSystem() = default;

CopyOnWriteFileSystem::Node* CopyOnWriteFileSystem::Find(const std::string& key) {
    const auto it = nodes_.find(key);
    return it == nodes_.end() ? nullptr : &it->second;
}

CopyOnWriteFileSystem::Node& CopyOnWriteFileSystem::Touch(const std::string& key,
                                                          std::string_view spelled) {
    if (Node* node = Find(key)) {
        return *node;
    }
    Node node;
    node.spelled = std::string(spelled);
    if (const auto status = inner_.Status(spelled)) {
        node.state = status->isDirectory ? Node::State::Folder : Node::State::File;
        node.origin = node.spelled;
        node.originSize = status->size;
        node.lastWrite = status->lastWrite;
        node.readOnly = status->readOnly;
    }
    changeOrder_.push_back(key);
    return nodes_.emplace(key, std::move(node)).first->second;
}

FileResult CopyOnWriteFileSystem::HostAllows(std::string_view path) {
    // What is not beneath was made by this run, in memory: the host has no say yet.
    return inner_.Status(path) ? inner_.MayChange(path) : FileResult();
}

FileResult CopyOnWriteFileSystem::HostAllowsEntryIn(std::string_view path) {
    const std::string_view parent = SpelledParent(path);
    return parent.empty() ? FileResult() : HostAllows(parent);
}

bool CopyOnWriteFileSystem::ParentIsFolder(std::string_view path) {
    const std::string_view parent = SpelledParent(path);
    if (parent.empty() || PathComparisonKey(parent).empty() || PathComparisonKey(parent) == "\\") {
        return true;
    }
    const auto status = Status(parent);
    return status && status->isDirectory;
}

std::shared_ptr<std::string> CopyOnWriteFileSystem::LoadBytes(Node& node) {
    if (node.bytes) {
        return node.bytes;
    }
    auto handle = inner_.Open(node.origin, OpenMode::ReadOnly);
    const std::int64_t size = handle ? handle->Size().bytes : -1;
    if (size < 0) {
        return nullptr;
    }
    auto bytes = std::make_shared<std::string>(static_cast<std::size_t>(size), '\0');
    if (size > 0 && handle->ReadAt(0, bytes->data(), size).bytes != size) {
        return nullptr;
    }
    node.bytes = bytes;
    return bytes;
}

OpenedFile CopyOnWriteFileSystem::Open(std::string_view path, OpenMode mode) {
    const std::string key = PathComparisonKey(path);
    Node* node = Find(key);
    if (mode == OpenMode::ReadOnly) {
        if (node == nullptr) {
            return inner_.Open(path, mode);
        }
        if (node->state != Node::State::File) {
            return node->state == Node::State::Deleted ? FileErrorCause::NotFound
                                                       : FileErrorCause::Other;
        }
        if (node->bytes) {
            return std::make_unique<MemoryHandle>(node->bytes, false);
        }
        return inner_.Open(node->origin, mode);
    }
    const auto status = Status(path);
    if (const FileResult allowed = WhyNotWritable(path, status); !allowed) {
        return allowed.Cause();
    }
    // The host would write the file in place, or make a new one in its folder.
    if (const FileResult allowed = status ? HostAllows(path) : HostAllowsEntryIn(path); !allowed) {
        return allowed.Cause();
    }
    Node& target = Touch(key, path);
    if (mode == OpenMode::CreateTruncate || !status) {
        target.bytes = std::make_shared<std::string>();
    } else if (!LoadBytes(target)) {
        return FileErrorCause::Other;
    }
    target.state = Node::State::File;
    target.origin.clear();
    target.lastWrite = Now();
    target.readOnly = status && status->readOnly;
    return std::make_unique<MemoryHandle>(target.bytes, true);
}

FileResult CopyOnWriteFileSystem::CopyFile(std::string_view from, std::string_view to,
                                           bool failIfExists) {
    const std::string fromKey = PathComparisonKey(from);
    const std::string toKey = PathComparisonKey(to);
    const auto source = Status(from);
    const auto target = Status(to);
    if (!source) {
        return FileErrorCause::NotFound;
    }
    if (source->isDirectory || fromKey == toKey || (target && target->isDirectory)) {
        return FileErrorCause::Other;
    }
    if (target && failIfExists) {
        refusedCopies_.emplace_back(toKey, std::string(to));
        changeOrder_.push_back(toKey);
        return FileErrorCause::Exists;
    }
    if (const FileResult allowed = WhyNotWritable(to, target); !allowed) {
        return allowed;
    }
    // The host writes the copy beside the destination and renames it into place.
    if (const FileResult allowed = HostAllowsEntryIn(to); !allowed) {
        return allowed;
    }
    std::shared_ptr<std::string> bytes;
    std::string origin(from);
    if (const Node* sourceNode = Find(fromKey)) {
        bytes = sourceNode->bytes ? std::make_shared<std::string>(*sourceNode->bytes) : nullptr;
        origin = sourceNode->bytes ? std::string() : sourceNode->origin;
    }
    Node& copy = Touch(toKey, to);
    copy.state = Node::State::File;
    copy.bytes = std::move(bytes);
    copy.origin = std::move(origin);
    copy.originSize = source->size;
    copy.lastWrite = source->lastWrite;
    copy.readOnly = source->readOnly;
    return {};
}

FileResult CopyOnWriteFileSystem::RenameFile(std::string_view from, std::string_view to) {
    const std::string fromKey = PathComparisonKey(from);
    const std::string toKey = PathComparisonKey(to);
    const auto source = Status(from);
    const auto target = Status(to);
    if (!source) {
        return FileErrorCause::NotFound;
    }
    if (source->isDirectory) {
        return FileErrorCause::Other;
    }
    if (const FileResult allowed = WhyNotWritable(to, target); !allowed) {
        return allowed;
    }
    if (const FileResult allowed = HostAllowsEntryIn(to); !allowed) {
        return allowed;
    }
    if (const FileResult allowed = HostAllowsEntryIn(from); !allowed) {
        return allowed;
    }
    if (fromKey == toKey) {
        return {};
    }
    Node moved = Touch(fromKey, from);
    Node& renamed = Touch(toKey, to);
    renamed.state = Node::State::File;
    renamed.bytes = std::move(moved.bytes);
    renamed.origin = std::move(moved.origin);
    renamed.originSize = moved.originSize;
    renamed.lastWrite = moved.lastWrite;
    renamed.readOnly = moved.readOnly;
    Node& gone = Touch(fromKey, from);
    gone.state = Node::State::Deleted;
    gone.bytes.reset();
    return {};
}

FileResult CopyOnWriteFileSystem::SyncFile(std::string_view path) {
    const auto status = Status(path);
    if (!status) {
        return FileErrorCause::NotFound;
    }
    if (status->isDirectory) {
        return FileErrorCause::Other;
    }
    return {};
}

FileResult CopyOnWriteFileSystem::DeleteFile(std::string_view path) {
    const auto status = Status(path);
    if (!status) {
        return FileErrorCause::NotFound;
    }
    if (status->isDirectory) {
        return FileErrorCause::Other;
    }
    if (status->readOnly) {
        return FileErrorCause::ReadOnly;
    }
    if (const FileResult allowed = HostAllowsEntryIn(path); !allowed) {
        return allowed;
    }
    Node& node = Touch(PathComparisonKey(path), path);
    node.state = Node::State::Deleted;
    node.bytes.reset();
    return {};
}

FileResult CopyOnWriteFileSystem::SetAttributes(std::string_view path, std::uint32_t attributes) {
    const auto status = Status(path);
    if (!status) {
        return FileErrorCause::NotFound;
    }
    if (!status->isDirectory) {
        Touch(PathComparisonKey(path), path).readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    }
    return {};
}

std::optional<std::vector<DirectoryEntry>>
CopyOnWriteFileSystem::ListFolder(std::string_view folder) {
    const std::string folderKey = PathComparisonKey(folder);
    const Node* own = Find(folderKey);
    if (own != nullptr && own->state != Node::State::Folder) {
        return std::nullopt;
    }
    auto listed = inner_.ListFolder(folder);
    if (!listed && own == nullptr) {
        return std::nullopt;
    }
    std::vector<DirectoryEntry> entries = listed.value_or(std::vector<DirectoryEntry>());
    for (const auto& [key, node] : nodes_) {
        if (ParentOfKey(key) != folderKey || key == folderKey) {
            continue;
        }
        const std::string name = LastComponent(node.spelled);
        std::erase_if(entries, [&](const DirectoryEntry& entry) {
            return EqualsIgnoringCaseCp1252(entry.name, name);
        });
        if (node.state != Node::State::Deleted) {
            entries.push_back({name, node.state == Node::State::Folder});
        }
    }
    SortListing(entries);
    return entries;
}

std::optional<FileStatus> CopyOnWriteFileSystem::Status(std::string_view path) {
    const Node* node = Find(PathComparisonKey(path));
    if (node == nullptr) {
        return inner_.Status(path);
    }
    if (node->state == Node::State::Deleted) {
        return std::nullopt;
    }
    FileStatus status;
    status.isDirectory = node->state == Node::State::Folder;
    status.size = node->Size();
    status.lastWrite = node->lastWrite;
    status.readOnly = node->readOnly;
    return status;
}

std::optional<std::uint64_t> CopyOnWriteFileSystem::FreeSpace(std::string_view path) {
    return inner_.FreeSpace(path);
}

FileResult CopyOnWriteFileSystem::CreateDirectory(std::string_view path) {
    if (Status(path)) {
        return FileErrorCause::Exists;
    }
    if (!ParentIsFolder(path)) {
        return FileErrorCause::NotFound;
    }
    if (const FileResult allowed = HostAllowsEntryIn(path); !allowed) {
        return allowed;
    }
    Node& node = Touch(PathComparisonKey(path), path);
    node.state = Node::State::Folder;
    node.lastWrite = Now();
    return {};
}

std::optional<std::string> CopyOnWriteFileSystem::LinkTarget(std::string_view path) {
    return Find(PathComparisonKey(path)) == nullptr ? inner_.LinkTarget(path) : std::nullopt;
}

FileResult CopyOnWriteFileSystem::MayChange(std::string_view path) {
    if (!Status(path)) {
        return FileErrorCause::NotFound;
    }
    return HostAllows(path);
}

FileResult CopyOnWriteFileSystem::WhyNotWritable(std::string_view path,
                                                 const std::optional<FileStatus>& status) {
    if (status) {
        if (status->isDirectory) {
            return FileErrorCause::Other;
        }
        return status->readOnly ? FileResult(FileErrorCause::ReadOnly) : FileResult();
    }
    return ParentIsFolder(path) ? FileResult() : FileResult(FileErrorCause::NotFound);
}

std::string CopyOnWriteFileSystem::SiblingTemporaryPath(std::string_view target) {
    for (int attempt = 0; attempt < 1000; ++attempt) {
        std::string path = inner_.SiblingTemporaryPath(target);
        if (path.empty() || !Status(path)) {
            return path;
        }
    }
    return {};
}

std::string CopyOnWriteFileSystem::TemporaryFolder() {
    if (!temporaryMade_) {
        Node& folder = Touch(PathComparisonKey(temporaryFolder_), temporaryFolder_);
        folder.state = Node::State::Folder;
        folder.lastWrite = Now();
        temporaryMade_ = true;
    }
    return temporaryFolder_;
}

void CopyOnWriteFileSystem::RemoveTemporaryFolder() {
    const std::string folderKey = PathComparisonKey(temporaryFolder_);
    std::erase_if(nodes_,
                  [&](const auto& entry) { return IsPathKeyBelow(entry.first, folderKey); });
    std::erase_if(changeOrder_,
                  [&](const std::string& key) { return IsPathKeyBelow(key, folderKey); });
    temporaryMade_ = false;
}

std::string CopyOnWriteFileSystem::WindowsDirectory() {
    return inner_.WindowsDirectory();
}

std::unique_ptr<FileLock> CopyOnWriteFileSystem::LockFile(std::string_view path,
                                                          LockResult& result) {
    return inner_.LockFile(path, result);
}

std::vector<PlannedChange> CopyOnWriteFileSystem::Plan() {
    using Kind = PlannedChange::Kind;
    const std::string temporaryKey = PathComparisonKey(temporaryFolder_);
    std::vector<PlannedChange> plan;
    std::vector<std::string> done;
    for (const std::string& key : changeOrder_) {
        if (IsPathKeyBelow(key, temporaryKey) ||
            std::find(done.begin(), done.end(), key) != done.end()) {
            continue;
        }
        done.push_back(key);
        const Node* node = Find(key);
        const auto refused = std::find_if(refusedCopies_.begin(), refusedCopies_.end(),
                                          [&](const auto& copy) { return copy.first == key; });
        const std::string spelled = node != nullptr ? node->spelled : refused->second;
        const auto before = inner_.Status(spelled);
        PlannedChange change;
        change.path = spelled;
        if (before) {
            change.before = *before;
        }
        if (node == nullptr || node->HoldsOwnBytes(key)) {
            if (node != nullptr && before && node->readOnly != before->readOnly) {
                change.kind = Kind::Attributes;
                change.readOnlyAfter = node->readOnly;
                plan.push_back(change);
            }
            if (refused != refusedCopies_.end() && before) {
                change.kind = Kind::Keep;
                plan.push_back(change);
            }
            continue;
        }
        if (node->state == Node::State::Deleted) {
            if (before && !before->isDirectory) {
                change.kind = Kind::Delete;
                plan.push_back(change);
            }
            continue;
        }
        if (node->state == Node::State::Folder) {
            if (!before) {
                change.kind = Kind::Folder;
                plan.push_back(change);
            }
            continue;
        }
        if (before && before->isDirectory) {
            continue;
        }
        change.kind = before ? Kind::Replace : Kind::Create;
        change.source = node->bytes ? std::string() : node->origin;
        change.size = node->Size();
        change.readOnlyAfter = node->readOnly;
        plan.push_back(change);
    }
    return plan;
}

} // namespace zav
