// The order in which FileSystem::ListFolder hands out a folder's entries, whatever the host's.
#pragma once

#include <vector>

#include "platform/file_system.h"

namespace zav {

/// Whether `a` is listed before `b`: bytes compared with ASCII letters lower-cased, a shorter name
/// before a longer one that starts with it, and names equal so far in byte order, so the order is
/// total.
bool ListedBefore(const DirectoryEntry& a, const DirectoryEntry& b);

/// Sorts `entries` into that order.
void SortListing(std::vector<DirectoryEntry>& entries);

} // namespace zav
