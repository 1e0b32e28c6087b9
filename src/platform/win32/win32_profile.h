// The Profile port over the Windows profile API.
#pragma once

#include "platform/profile.h"

namespace zav {

/// Profile through GetPrivateProfileStringW: a relative file name lies in the Windows directory,
/// as the API itself resolves it. Values come back in code page 1252; a character the code page
/// cannot write becomes '?'.
class Win32Profile final : public Profile {
public:
    std::string GetString(std::string_view section, std::string_view key,
                          std::string_view defaultValue, std::size_t bufferSize,
                          std::string_view file) override;
};

} // namespace zav
