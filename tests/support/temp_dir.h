// A temporary folder per test, removed with everything in it when the test ends.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zav::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    /// The folder's host path (no trailing slash).
    [[nodiscard]] const std::string& path() const { return path_; }
    /// `relative` (with '/' separators) under the folder.
    [[nodiscard]] std::string operator/(std::string_view relative) const;

private:
    std::string path_;
};

using Bytes = std::vector<std::uint8_t>;

/// Writes `bytes` to the host file `path`, creating its folders.
void WriteFile(const std::string& path, const Bytes& bytes);
void WriteFile(const std::string& path, std::string_view text);
/// The bytes of the host file `path`; empty when it cannot be read.
Bytes ReadFile(const std::string& path);
bool FileExists(const std::string& path);
void MakeFolders(const std::string& path);
/// Host file names in a folder, sorted.
std::vector<std::string> ListNames(const std::string& folder);
/// Every file below `folder` (relative paths, '/' separators, sorted); links are not followed.
std::vector<std::string> FilesBelow(const std::string& folder);

} // namespace zav::test
