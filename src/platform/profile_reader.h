// Settings-file (INI) reading with the semantics of the Windows profile API.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/profile.h"

namespace zav {

/// The raw value of `key` in the first section named `section` (both compared without ASCII
/// case) of the settings text `text`, blanks around it trimmed; nullopt when the section or the
/// key is missing or the key has no "=". Text before the first section and lines starting with
/// ';' are ignored. A text starting with a UTF-8 or UTF-16LE byte-order mark is read as such and
/// converted to code page 1252.
std::optional<std::string> FindProfileValue(std::string_view text, std::string_view section,
                                            std::string_view key);

/// What the profile API hands back for a value (or the default): one pair of surrounding quotes
/// (both ' or both ") removed, then cut to `bufferSize` - 1 characters.
std::string ProfileResult(std::string_view value, std::size_t bufferSize);

/// A Profile over files read through a FileSystem; relative names lie in its Windows directory.
class FileSystemProfile final : public Profile {
public:
    explicit FileSystemProfile(FileSystem& files) : files_(files) {}
    std::string GetString(std::string_view section, std::string_view key,
                          std::string_view defaultValue, std::size_t bufferSize,
                          std::string_view file) override;

private:
    FileSystem& files_;
};

} // namespace zav
