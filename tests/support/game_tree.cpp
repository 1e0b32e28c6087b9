// Sample game copies and tree snapshots.
#include "support/game_tree.h"

#include <filesystem>
#include <stdexcept>

#include "platform/file_system.h"

namespace zav::test {

namespace fs = std::filesystem;

TreeSnapshot SnapshotTree(const std::string& folder) {
    TreeSnapshot snapshot;
    std::error_code error;
    // Links are not followed: the prefix's dosdevices/c: leads back into drive_c.
    for (auto it = fs::recursive_directory_iterator(folder, error);
         it != fs::recursive_directory_iterator(); it.increment(error)) {
        if (it->is_regular_file() && !it->is_symlink()) {
            snapshot[fs::relative(it->path(), folder).generic_string()] =
                ReadFile(it->path().string());
        }
    }
    return snapshot;
}

std::vector<std::string> DifferingPaths(const TreeSnapshot& a, const TreeSnapshot& b) {
    std::vector<std::string> paths;
    for (const auto& [path, bytes] : a) {
        const auto other = b.find(path);
        if (other == b.end() || other->second != bytes) {
            paths.push_back(path);
        }
    }
    for (const auto& [path, bytes] : b) {
        if (a.find(path) == a.end()) {
            paths.push_back(path);
        }
    }
    return paths;
}

SampleGameTemplate::SampleGameTemplate(const SampleOptions& options) {
    SampleOptions here = options;
    here.outputFolder = dir_.path();
    std::string error;
    if (!WriteSampleGame(here, error)) {
        throw std::runtime_error("cannot write the sample game: " + error);
    }
}

void SampleGameTemplate::CopyTo(const std::string& folder) const {
    fs::copy(dir_.path(), folder, fs::copy_options::recursive | fs::copy_options::copy_symlinks);
}

bool IsToolTemporary(std::string_view relativePath) {
    const std::size_t slash = relativePath.find_last_of('/');
    const std::string_view name =
        slash == std::string_view::npos ? relativePath : relativePath.substr(slash + 1);
    return name.substr(0, TEMPORARY_NAME_PREFIX.size()) == TEMPORARY_NAME_PREFIX;
}

} // namespace zav::test
