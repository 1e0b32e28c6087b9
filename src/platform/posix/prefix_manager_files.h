// Tolerant readers of the few values the prefix managers' configuration files hold for us.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zav {

/// The largest configuration file read; a larger one is passed over.
inline constexpr std::size_t PREFIX_MANAGER_FILE_LIMIT = 1024 * 1024;

/// The scalar value of `key` in a YAML text: a key at the top level when `parent` is empty, else
/// a key one level below the top-level key `parent` (block style, indented with spaces). Plain,
/// single-quoted and double-quoted scalars are read, a trailing " #" comment dropped; nullopt
/// when the key is missing, has no scalar value, or its value is empty or unterminated.
std::optional<std::string> YamlScalar(std::string_view text, std::string_view parent,
                                      std::string_view key);

/// The library folders a Steam libraryfolders.vdf names: "path" inside each numbered block of
/// "libraryfolders", and the older form of a numbered key with the folder as its value. Stops at
/// the first token it cannot take (what came before is kept); at most 64 folders.
std::vector<std::string> VdfLibraryFolders(std::string_view text);

/// Every string value of a member named `key` in a JSON text, at any depth, escapes decoded
/// (\uXXXX to UTF-8). A value that is not a string, or whose escapes are broken, is passed over;
/// the scan stops at an unterminated string.
std::vector<std::string> JsonStringMembers(std::string_view text, std::string_view key);

} // namespace zav
