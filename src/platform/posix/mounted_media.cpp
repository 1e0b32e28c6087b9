// MountedMedia on Linux: what the desktop mounts under /media/$USER or /run/media/$USER, and /mnt.
#include "platform/mounted_media.h"

#include <cstdlib>
#include <string_view>

namespace zav {

std::vector<std::string> MountedMedia() {
    std::vector<std::string> roots;
    // A user name with a separator would lead elsewhere: such a $USER names no medium.
    if (const char* user = std::getenv("USER");
        user != nullptr && *user != '\0' && std::string_view(user).find('/') == std::string::npos &&
        std::string_view(user) != "." && std::string_view(user) != "..") {
        roots.push_back(std::string("/media/") + user);
        roots.push_back(std::string("/run/media/") + user);
    }
    roots.emplace_back("/mnt");
    return MediaInside(roots);
}

} // namespace zav
