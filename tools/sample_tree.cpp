// Host folders and files of the sample.
#include "tools/sample_tree.h"

#include <cerrno>
#include <fstream>

#include "tools/disk_spelling.h"

namespace zav {

namespace fs = std::filesystem;

fs::path SampleTree::Place(const fs::path& folder,
                           const std::vector<std::string>& components) const {
    fs::path path = folder;
    for (const std::string& component : components) {
        path /= DiskSpelling(component, mixedCase_);
    }
    return path;
}

bool SampleTree::MakeFolder(const fs::path& folder) {
    std::error_code code;
    fs::create_directories(folder, code);
    if (code) {
        Fail("cannot create the folder", folder, code);
        return false;
    }
    return true;
}

bool SampleTree::WriteFile(const fs::path& file, const std::vector<std::uint8_t>& bytes) {
    if (file.has_parent_path() && !MakeFolder(file.parent_path())) {
        return false;
    }
    errno = 0;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (out) {
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        out.close();
    }
    if (!out) {
        const int reason = errno != 0 ? errno : EIO;
        Fail("cannot write the file", file, std::error_code(reason, std::generic_category()));
        return false;
    }
    return true;
}

bool SampleTree::WriteFile(const fs::path& file, std::string_view text) {
    return WriteFile(file, std::vector<std::uint8_t>(text.begin(), text.end()));
}

bool SampleTree::MakeFolderLink(const fs::path& target, const fs::path& link) {
    if (link.has_parent_path() && !MakeFolder(link.parent_path())) {
        return false;
    }
    std::error_code code;
    fs::create_directory_symlink(target, link, code);
    if (code) {
        Fail("cannot create the link", link, code);
        return false;
    }
    return true;
}

void SampleTree::Fail(std::string_view what, const fs::path& path, const std::error_code& code) {
    if (error_.empty()) {
        error_ = std::string(what) + " " + path.string() + ": " + code.message();
    }
}

} // namespace zav
