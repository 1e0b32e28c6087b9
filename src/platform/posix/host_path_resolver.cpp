// Host path resolution with Wine's drive mapping and case-insensitive component matching, each
// folder looked up once per run.
#include "platform/posix/host_path_resolver.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <filesystem>
#include <memory>
#include <vector>

#include "platform/codepage.h"
#include "platform/posix/unique_fd.h"

namespace zav {
namespace {

bool Exists(const std::string& hostPath) {
    struct stat info {};
    return ::lstat(hostPath.c_str(), &info) == 0;
}

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

std::string JoinHost(const std::string& folder, std::string_view name) {
    if (folder.empty()) {
        return std::string(name);
    }
    std::string joined = folder;
    if (joined.back() != '/') {
        joined += '/';
    }
    joined += name;
    return joined;
}

std::string EntryKey(const std::string& folder, std::string_view name) {
    std::string key = folder;
    key += '\0';
    key += name;
    return key;
}

// Whether `path` is `top` or lies below it.
bool AtOrBelow(const std::string& path, const std::string& top) {
    return path.starts_with(top) &&
           (path.size() == top.size() || top.ends_with('/') || path[top.size()] == '/');
}

// The names in `folder` (without "." and ".."); nullopt when it cannot be read. Read straight
// with getdents64: opendir() would also ask for the folder's status, which is not needed here.
std::optional<std::vector<std::string>> FolderNames(const std::string& folder) {
    const UniqueFd fd(
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd) {
        return std::nullopt;
    }
    constexpr std::size_t kBufferSize = 32 * 1024;
    const auto buffer = std::make_unique_for_overwrite<char[]>(kBufferSize);
    std::vector<std::string> names;
    for (;;) {
        const ssize_t got = ::getdents64(fd.Get(), buffer.get(), kBufferSize);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return std::nullopt;
        }
        if (got == 0) {
            return names;
        }
        for (ssize_t at = 0; at < got;) {
            const auto* entry = reinterpret_cast<const struct dirent64*>(buffer.get() + at);
            const std::string_view name(entry->d_name);
            if (name != "." && name != "..") {
                names.emplace_back(name);
            }
            at += entry->d_reclen;
        }
    }
}

} // namespace

std::optional<std::string> HostPathResolver::DriveRoot(char letter) const {
    const char lower = AsciiLower(letter);
    if (lower < 'a' || lower > 'z') {
        return std::nullopt;
    }
    std::string& known = driveRoots_[lower - 'a'];
    if (!known.empty()) {
        return known;
    }
    const std::string device = prefix_ + "/dosdevices/" + lower + ":";
    struct stat info {};
    if (::stat(device.c_str(), &info) == 0) {
        known = device;
        return device;
    }
    if (lower == 'c') {
        return prefix_ + "/drive_c";
    }
    return std::nullopt;
}

std::optional<std::string> HostPathResolver::FindEntry(const std::string& folder,
                                                       std::string_view component,
                                                       const std::string& name) const {
    const std::string key = EntryKey(folder, name);
    if (const auto known = found_.find(key); known != found_.end()) {
        return known->second;
    }
    // In a folder listed before, a name not among the known ones is missing but for a change
    // by another program, which the listing below sees as well.
    if (!listed_.contains(folder)) {
        std::string candidate = JoinHost(folder, name);
        if (Exists(candidate)) {
            found_.emplace(key, candidate);
            return candidate;
        }
    }
    const auto names = FolderNames(folder);
    if (!names) {
        return std::nullopt;
    }
    const std::string* match = nullptr;
    for (const std::string& entry : *names) {
        found_.insert_or_assign(EntryKey(folder, entry), JoinHost(folder, entry));
        if (entry == name) {
            match = &entry; // the exact spelling wins
        } else if (match == nullptr || (*match != name && entry < *match)) {
            const auto converted = Utf8ToCp1252(entry);
            if (converted && EqualsIgnoringCaseCp1252(*converted, component)) {
                match = &entry;
            }
        }
    }
    listed_.insert(folder);
    if (match == nullptr) {
        return std::nullopt;
    }
    std::string found = JoinHost(folder, *match);
    found_.insert_or_assign(key, found);
    return found;
}

std::optional<std::string> HostPathResolver::Resolve(std::string_view path) const {
    std::string resolved;
    std::size_t pos = 0;
    if (path.size() >= 2 && path[1] == ':') {
        auto root = DriveRoot(path[0]);
        if (!root) {
            return std::nullopt;
        }
        resolved = *root;
        pos = 2;
    } else if (!path.empty() && IsSeparator(path.front())) {
        resolved = "/";
    }
    std::size_t rootLength = resolved.size();
    // Once a component is missing, the rest cannot exist either: keep the names as given.
    bool matching = true;
    while (pos < path.size()) {
        std::size_t end = pos;
        while (end < path.size() && !IsSeparator(path[end])) {
            ++end;
        }
        const std::string_view component = path.substr(pos, end - pos);
        pos = end + 1;
        if (component.empty() || component == ".") {
            continue;
        }
        if (component == "..") {
            // As on Windows, ".." never leaves the drive (or the host root) it starts from.
            const std::size_t slash = resolved.find_last_of('/');
            if (resolved.size() > rootLength && slash != std::string::npos && slash >= rootLength) {
                resolved.erase(std::max(slash, rootLength));
            } else if (resolved.size() > rootLength) {
                resolved.erase(rootLength);
            } else if (rootLength == 0) {
                resolved = resolved.empty() ? ".." : resolved + "/..";
                rootLength = resolved.size();
            }
            // Going up may leave the missing folder behind: what follows is looked up again.
            matching = resolved.empty() || Exists(resolved);
            continue;
        }
        const std::string name = Cp1252ToUtf8(component);
        if (matching) {
            if (auto entry = FindEntry(resolved, component, name)) {
                resolved = std::move(*entry);
                continue;
            }
            matching = false;
        }
        resolved = JoinHost(resolved, name);
    }
    if (resolved.empty()) {
        resolved = ".";
    }
    return resolved;
}

void HostPathResolver::NoteCreated(const std::string& hostPath) {
    const std::size_t cut = hostPath.rfind('/');
    const std::string folder = cut == std::string::npos ? std::string()
                               : cut == 0               ? std::string("/")
                                                        : hostPath.substr(0, cut);
    const std::string_view name =
        std::string_view(hostPath).substr(cut == std::string::npos ? 0 : cut + 1);
    if (!name.empty()) {
        found_.insert_or_assign(EntryKey(folder, name), hostPath);
    }
}

void HostPathResolver::NoteRemoved(const std::string& hostPath) {
    std::erase_if(found_, [&](const auto& entry) { return AtOrBelow(entry.second, hostPath); });
    std::erase_if(listed_, [&](const std::string& folder) { return AtOrBelow(folder, hostPath); });
    std::erase_if(finalPaths_, [&](const auto& entry) {
        return AtOrBelow(entry.first, hostPath) || AtOrBelow(entry.second, hostPath);
    });
}

std::string HostPathResolver::FinalHostPath(const std::string& hostPath) const {
    namespace fs = std::filesystem;
    const auto canonical = [](const std::string& path) {
        std::error_code error;
        const fs::path resolved = fs::canonical(path, error);
        return error ? std::string() : resolved.native();
    };
    if (hostPath == "/") {
        return hostPath;
    }
    const std::size_t cut = hostPath.rfind('/');
    const std::string_view leaf =
        std::string_view(hostPath).substr(cut == std::string::npos ? 0 : cut + 1);
    if (hostPath.empty() || hostPath.front() != '/' || leaf.empty() || leaf == "." ||
        leaf == "..") {
        return canonical(hostPath); // not a plain absolute path: resolved whole, each time
    }
    if (const auto known = finalPaths_.find(hostPath); known != finalPaths_.end()) {
        return known->second;
    }
    const std::string parent = FinalHostPath(cut == 0 ? std::string("/") : hostPath.substr(0, cut));
    if (parent.empty()) {
        return {};
    }
    std::string final = JoinHost(parent, leaf);
    struct stat info {};
    if (::lstat(final.c_str(), &info) != 0) {
        return {};
    }
    if (S_ISLNK(info.st_mode)) {
        final = canonical(final);
        if (final.empty()) {
            return {};
        }
    }
    finalPaths_.emplace(hostPath, final);
    return final;
}

} // namespace zav
