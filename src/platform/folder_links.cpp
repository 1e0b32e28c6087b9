// LinkFolderFiles over the standard library's file operations.
#include "platform/folder_links.h"

#include <filesystem>

namespace zav {

bool LinkFolderFiles(const std::string& from, const std::string& to, std::string& problem) {
    namespace fs = std::filesystem;
#ifdef _WIN32
    const fs::path source = fs::u8path(from);
    const fs::path target = fs::u8path(to);
#else
    const fs::path source = fs::absolute(from);
    const fs::path target = to;
#endif
    std::error_code error;
    if (!fs::create_directory(target, error)) {
        problem = error ? error.message() : "it exists already";
        return false;
    }
    for (fs::directory_iterator it(source, error), end; !error && it != end; it.increment(error)) {
        if (it->is_directory(error)) {
            continue;
        }
#ifdef _WIN32
        fs::copy_file(it->path(), target / it->path().filename(), error);
#else
        fs::create_symlink(it->path(), target / it->path().filename(), error);
#endif
        if (error) {
            break;
        }
    }
    if (error) {
        problem = error.message();
        return false;
    }
    return true;
}

} // namespace zav
