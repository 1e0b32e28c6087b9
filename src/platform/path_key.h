// The comparison form of a path, in which every spelling of one file is equal.
#pragma once

#include <string>
#include <string_view>

namespace zav {

/// `path` as the file systems compare it: '\' and '/' alike and single, no empty or "."
/// components, ".." resolved (never above the first component), code page 1252 letters
/// lower-cased; a leading separator is kept as '\'. Two paths name the same file when their keys
/// are equal (links aside).
std::string PathComparisonKey(std::string_view path);

/// Whether the key `key` names the folder `folderKey` or something below it.
bool IsPathKeyBelow(std::string_view key, std::string_view folderKey);

} // namespace zav
