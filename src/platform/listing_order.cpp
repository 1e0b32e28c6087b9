// Listing order: the order of names without regard to case that Windows' own file system keeps.
#include "platform/listing_order.h"

#include <algorithm>

#include "platform/codepage.h"

namespace zav {

bool ListedBefore(const DirectoryEntry& a, const DirectoryEntry& b) {
    const std::size_t n = std::min(a.name.size(), b.name.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto ca = static_cast<unsigned char>(AsciiLower(a.name[i]));
        const auto cb = static_cast<unsigned char>(AsciiLower(b.name[i]));
        if (ca != cb) {
            return ca < cb;
        }
    }
    return a.name.size() != b.name.size() ? a.name.size() < b.name.size() : a.name < b.name;
}

void SortListing(std::vector<DirectoryEntry>& entries) {
    std::sort(entries.begin(), entries.end(), ListedBefore);
}

} // namespace zav
