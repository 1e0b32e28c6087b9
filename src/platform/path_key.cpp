// Path comparison keys.
#include "platform/path_key.h"

#include <vector>

#include "platform/codepage.h"

namespace zav {

std::string PathComparisonKey(std::string_view path) {
    std::vector<std::string> parts;
    std::string part;
    const auto flush = [&] {
        if (part == "..") {
            if (!parts.empty()) {
                parts.pop_back();
            }
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        part.clear();
    };
    for (const char c : path) {
        if (c == '\\' || c == '/') {
            flush();
        } else {
            part += LowerCp1252(c);
        }
    }
    flush();
    std::string key = !path.empty() && (path.front() == '\\' || path.front() == '/') ? "\\" : "";
    for (std::size_t i = 0; i < parts.size(); ++i) {
        key += (i == 0 ? "" : "\\") + parts[i];
    }
    return key;
}

bool IsPathKeyBelow(std::string_view key, std::string_view folderKey) {
    return key == folderKey ||
           (key.size() > folderKey.size() && key.substr(0, folderKey.size()) == folderKey &&
            (key[folderKey.size()] == '\\' || folderKey == "\\"));
}

} // namespace zav
