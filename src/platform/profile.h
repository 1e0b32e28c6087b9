// The Profile port: reading a key of the game's settings file.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zav {

/// Reads settings files the way the Windows profile API does.
class Profile {
public:
    virtual ~Profile() = default;
    /// The value of `key` in `section` of the settings file `file`, at most `bufferSize` - 1
    /// characters; `defaultValue` (cut the same way) when the file, section or key is missing.
    /// A relative `file` lies in the Windows directory. Section and key names are compared
    /// without case; blanks around names and values are trimmed and one pair of surrounding
    /// quotes is removed.
    virtual std::string GetString(std::string_view section, std::string_view key,
                                  std::string_view defaultValue, std::size_t bufferSize,
                                  std::string_view file) = 0;
};

} // namespace zav
