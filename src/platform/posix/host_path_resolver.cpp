// Host path resolution with Wine's drive mapping and case-insensitive component matching.
#include "platform/posix/host_path_resolver.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <vector>

#include "platform/codepage.h"

namespace zav {
namespace {

bool Exists(const std::string& hostPath) {
    struct stat info {};
    return ::lstat(hostPath.c_str(), &info) == 0;
}

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

std::string JoinHost(const std::string& folder, const std::string& name) {
    if (folder.empty()) {
        return name;
    }
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

// The entry of `folder` whose name equals `name` (code page 1252) without regard to case, as
// Windows compares file names; the first in byte order when several do.
std::optional<std::string> FindIgnoringCase(const std::string& folder, std::string_view name) {
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr) {
        return std::nullopt;
    }
    std::vector<std::string> matches;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view entryName(entry->d_name);
        const auto converted = Utf8ToCp1252(entryName);
        if (converted && EqualsIgnoringCaseCp1252(*converted, name)) {
            matches.emplace_back(entryName);
        }
    }
    ::closedir(dir);
    if (matches.empty()) {
        return std::nullopt;
    }
    return *std::min_element(matches.begin(), matches.end());
}

} // namespace

std::optional<std::string> HostPathResolver::DriveRoot(char letter) const {
    const char lower = AsciiLower(letter);
    if (lower < 'a' || lower > 'z') {
        return std::nullopt;
    }
    const std::string device = prefix_ + "/dosdevices/" + lower + ":";
    struct stat info {};
    if (::stat(device.c_str(), &info) == 0) {
        return device;
    }
    if (lower == 'c') {
        return prefix_ + "/drive_c";
    }
    return std::nullopt;
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
        std::string candidate = JoinHost(resolved, name);
        if (matching && !Exists(candidate)) {
            if (auto other = FindIgnoringCase(resolved, component)) {
                candidate = JoinHost(resolved, *other);
            } else {
                matching = false;
            }
        }
        resolved = std::move(candidate);
    }
    if (resolved.empty()) {
        resolved = ".";
    }
    return resolved;
}

} // namespace zav
