// A temporary folder per test, removed with everything in it when the test ends, and host file
// helpers.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace zav::test {
class TempDir {
public:
    TempDir() {
#ifdef _WIN32
        // No mkdtemp: a fresh name is claimed by the creation of its folder.
        for (unsigned n = 0; path_.empty() && n < 1000; ++n) {
            const auto folder = std::filesystem::temp_directory_path() /
                                ("zav-test-" + std::to_string(std::rand()) + std::to_string(n));
            if (std::filesystem::create_directory(folder))
                path_ = folder.string();
        }
        if (path_.empty())
            throw std::runtime_error("cannot create a temporary folder");
#else
        std::string pattern = (std::filesystem::temp_directory_path() / "zav-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot create a temporary folder");
        path_ = pattern;
#endif
    }
    ~TempDir() {
        namespace fs = std::filesystem;
        std::error_code ignored;
        // Read-only files and folders left by a test must not stop the clean-up.
        for (auto it = fs::recursive_directory_iterator(path_, ignored);
             it != fs::recursive_directory_iterator(); it.increment(ignored))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    /// The folder's host path (no trailing slash).
    [[nodiscard]] const std::string& path() const {
        return path_;
    }
    /// `relative` (with '/' separators) under the folder.
    [[nodiscard]] std::string operator/(std::string_view relative) const {
        return path_ + "/" + std::string(relative);
    }

private:
    std::string path_;
};
using Bytes = std::vector<std::uint8_t>;
/// A host path of the tests' texts, which are UTF-8 on every host (a narrow path is in the ANSI
/// code page on Windows).
inline std::filesystem::path HostPathOf(const std::string& path) {
    return std::filesystem::path(std::u8string(path.begin(), path.end()));
}
/// The UTF-8 text of a host path.
inline std::string Utf8Of(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}
inline void MakeFolders(const std::string& path) {
    std::filesystem::create_directories(HostPathOf(path));
}
/// Writes `bytes` to the host file `path`, creating its folders.
inline void WriteFile(const std::string& path, const Bytes& bytes) {
    MakeFolders(Utf8Of(HostPathOf(path).parent_path()));
    std::ofstream out(HostPathOf(path), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}
inline void WriteFile(const std::string& path, std::string_view text) {
    WriteFile(path, Bytes(text.begin(), text.end()));
}
/// The bytes of the host file `path`; empty when it cannot be read.
inline Bytes ReadFile(const std::string& path) {
    std::ifstream in(HostPathOf(path), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
inline bool FileExists(const std::string& path) { // also a dangling link
    std::error_code ignored;
    return std::filesystem::exists(std::filesystem::symlink_status(HostPathOf(path), ignored));
}
/// Host file names in a folder, sorted.
inline std::vector<std::string> ListNames(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(HostPathOf(folder), ignored))
        names.push_back(Utf8Of(entry.path().filename()));
    std::ranges::sort(names);
    return names;
}
/// Every file below `folder` (relative paths, '/' separators, sorted); links are not followed.
inline std::vector<std::string> FilesBelow(const std::string& folder) {
    namespace fs = std::filesystem;
    std::vector<std::string> files;
    std::error_code ignored;
    for (auto it = fs::recursive_directory_iterator(folder, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored))
        if (!it->is_symlink(ignored) && !it->is_directory(ignored))
            files.push_back(fs::relative(it->path(), folder, ignored).generic_string());
    std::ranges::sort(files);
    return files;
}
} // namespace zav::test
