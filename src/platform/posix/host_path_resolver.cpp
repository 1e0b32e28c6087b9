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

// The parent folder of `hostPath` and its last name.
std::pair<std::string, std::string_view> SplitLast(const std::string& hostPath) {
    const std::size_t cut = hostPath.rfind('/');
    std::string folder = cut == std::string::npos ? std::string()
                         : cut == 0               ? std::string("/")
                                                  : hostPath.substr(0, cut);
    return {std::move(folder),
            std::string_view(hostPath).substr(cut == std::string::npos ? 0 : cut + 1)};
}

// `name` (UTF-8) as a case-blind comparison sees it; nullopt when code page 1252 cannot spell it,
// so that it matches only when spelled exactly.
std::optional<std::string> FoldedName(std::string_view name) {
    auto folded = Utf8ToCp1252(name);
    if (folded) {
        for (char& c : *folded) {
            c = LowerCp1252(c);
        }
    }
    return folded;
}

// The names in the folder open as `fd` (without "." and ".."); nullopt when it cannot be read.
// Read straight with getdents64: opendir() would also ask for the folder's status, which is not
// needed here.
std::optional<std::vector<std::string>> FolderNames(int fd) {
    constexpr std::size_t kBufferSize = 32 * 1024;
    const auto buffer = std::make_unique_for_overwrite<char[]>(kBufferSize);
    std::vector<std::string> names;
    for (;;) {
        const ssize_t got = ::getdents64(fd, buffer.get(), kBufferSize);
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

void HostPathResolver::Listing::Add(const std::string& name) {
    if (names.insert(name).second) {
        if (auto folded = FoldedName(name)) {
            byFoldedName[*folded].insert(name);
        }
    }
}

void HostPathResolver::Listing::Remove(const std::string& name) {
    if (names.erase(name) == 0) {
        return;
    }
    if (const auto folded = FoldedName(name)) {
        if (const auto spellings = byFoldedName.find(*folded); spellings != byFoldedName.end()) {
            spellings->second.erase(name);
            if (spellings->second.empty()) {
                byFoldedName.erase(spellings);
            }
        }
    }
}

const std::string* HostPathResolver::Match(const Listing& listing, std::string_view component,
                                           const std::string& name) {
    if (const auto exact = listing.names.find(name); exact != listing.names.end()) {
        return &*exact; // the exact spelling wins
    }
    std::string folded(component);
    for (char& c : folded) {
        c = LowerCp1252(c);
    }
    const auto spellings = listing.byFoldedName.find(folded);
    return spellings == listing.byFoldedName.end() ? nullptr
                                                   : &*spellings->second.begin(); // name order
}

const HostPathResolver::Listing* HostPathResolver::ListFolder(const std::string& folder) const {
    const UniqueFd fd(
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd) {
        return nullptr;
    }
    // Watched before it is read, so that nothing changed meanwhile goes unseen.
    const bool watched = watch_.Watch(folder, fd.Get());
    const auto names = FolderNames(fd.Get());
    if (!names) {
        if (watched) {
            watch_.Unwatch(folder);
        }
        return nullptr;
    }
    Listing listing;
    listing.watched = watched;
    for (const std::string& name : *names) {
        listing.Add(name);
    }
    Listing& kept = listings_.insert_or_assign(folder, std::move(listing)).first->second;
    // Changes reported from before this listing are in it already: taking them in again changes
    // nothing, as each name's last report stands for its state.
    return &kept;
}

void HostPathResolver::TakeChanges() const {
    watch_.Changes(
        [this](FolderWatch::Change change, const std::string& folder, std::string_view name) {
            switch (change) {
            case FolderWatch::Change::Created:
                if (const auto listing = listings_.find(folder); listing != listings_.end()) {
                    listing->second.Add(std::string(name));
                }
                break;
            case FolderWatch::Change::Removed:
                Forget(JoinHost(folder, name));
                break;
            case FolderWatch::Change::FolderGone:
                Forget(folder);
                break;
            case FolderWatch::Change::Overflow:
                for (const auto& [listed, listing] : listings_) {
                    watch_.Unwatch(listed);
                }
                listings_.clear();
                break;
            }
        });
}

void HostPathResolver::Forget(const std::string& hostPath) const {
    const auto [folder, name] = SplitLast(hostPath);
    if (const auto listing = listings_.find(folder); listing != listings_.end()) {
        listing->second.Remove(std::string(name));
    }
    std::erase_if(found_, [&](const auto& entry) { return AtOrBelow(entry.second, hostPath); });
    std::erase_if(listings_, [&](const auto& entry) {
        if (!AtOrBelow(entry.first, hostPath)) {
            return false;
        }
        watch_.Unwatch(entry.first);
        return true;
    });
    std::erase_if(finalPaths_, [&](const auto& entry) {
        return AtOrBelow(entry.first, hostPath) || AtOrBelow(entry.second, hostPath);
    });
}

std::optional<std::string> HostPathResolver::FindEntry(const std::string& folder,
                                                       std::string_view component,
                                                       const std::string& name,
                                                       bool& absent) const {
    absent = false;
    auto listing = listings_.find(folder);
    if (listing != listings_.end()) {
        if (listing->second.names.contains(name)) {
            return JoinHost(folder, name);
        }
        if (listing->second.watched) {
            TakeChanges(); // another spelling may have come or gone
            listing = listings_.find(folder);
        }
    }
    if (listing != listings_.end()) {
        if (const std::string* match = Match(listing->second, component, name)) {
            return JoinHost(folder, *match);
        }
        if (listing->second.watched) {
            absent = true; // the watch would have told of the name
            return std::nullopt;
        }
    } else {
        const std::string key = EntryKey(folder, name);
        if (const auto known = found_.find(key); known != found_.end()) {
            return known->second;
        }
        std::string candidate = JoinHost(folder, name);
        if (Exists(candidate)) {
            found_.emplace(key, candidate);
            return candidate;
        }
    }
    // Not listed yet, or listed without a watch and perhaps changed since: listed now.
    const Listing* listed = ListFolder(folder);
    if (listed == nullptr) {
        return std::nullopt;
    }
    const std::string* match = Match(*listed, component, name);
    absent = match == nullptr && listed->watched;
    return match == nullptr ? std::nullopt : std::optional(JoinHost(folder, *match));
}

std::optional<std::string> HostPathResolver::Resolve(std::string_view path, bool* absent) const {
    std::string resolved;
    bool knownAbsent = false; // a watched folder on the way lacks the next name
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
            knownAbsent = false;
            continue;
        }
        const std::string name = Cp1252ToUtf8(component);
        if (matching) {
            if (auto entry = FindEntry(resolved, component, name, knownAbsent)) {
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
    if (absent != nullptr) {
        *absent = knownAbsent && !matching;
    }
    return resolved;
}

void HostPathResolver::NoteCreated(const std::string& hostPath) {
    const auto [folder, name] = SplitLast(hostPath);
    if (name.empty()) {
        return;
    }
    if (const auto listing = listings_.find(folder); listing != listings_.end()) {
        listing->second.Add(std::string(name));
    } else {
        found_.insert_or_assign(EntryKey(folder, name), hostPath);
    }
}

void HostPathResolver::NoteRemoved(const std::string& hostPath) {
    Forget(hostPath);
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
