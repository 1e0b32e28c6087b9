// The media inside the folders where a system mounts them.
#include "platform/mounted_media.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace zav {

std::vector<std::string> MediaInside(const std::vector<std::string>& roots) {
    namespace fs = std::filesystem;
    std::vector<std::string> media;
    for (const std::string& root : roots) {
        std::vector<std::string> folders;
        std::error_code error;
        for (fs::directory_iterator it(fs::u8path(root), error), end; !error && it != end;
             it.increment(error)) {
            std::error_code statusError;
            if (it->is_directory(statusError)) {
                const std::u8string text = it->path().u8string();
                folders.emplace_back(text.begin(), text.end());
            }
        }
        std::sort(folders.begin(), folders.end());
        for (std::string& folder : folders) {
            const bool seen = std::any_of(media.begin(), media.end(), [&](const std::string& m) {
                std::error_code sameError;
                return fs::equivalent(fs::u8path(m), fs::u8path(folder), sameError);
            });
            if (!seen) {
                media.push_back(std::move(folder));
            }
        }
    }
    return media;
}

} // namespace zav
