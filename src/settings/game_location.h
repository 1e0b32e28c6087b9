// Finding the game through its settings file, and the language the tool speaks.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/file_system.h"
#include "platform/profile.h"
#include "settings/patcher_settings.h"

namespace zav {

/// The settings file, relative to the Windows directory.
inline constexpr std::string_view SETTINGS_FILE_NAME = "Quorvex\\Qvx.ini";
/// The spelling the language lookup uses; the same file on a file system that ignores case.
inline constexpr std::string_view LANGUAGE_SETTINGS_FILE_NAME = "Quorvex\\qvx.ini";
inline constexpr std::int32_t LANGUAGE_BLOCK_STRIDE = 48;

/// Reads key "Directory" of section "ZAV", then of "ZAV2_0", from the settings file into `out`
/// (at most 255 characters). 1 or 2 for the section that gave a non-empty value, 0 when neither
/// did or `out` is null (then `out` holds whatever the last lookup gave, possibly empty).
std::int32_t FindGameDirectory(FileSystem& files, Profile& profile, PathText* out);

/// Language factor of a "Language" value (English 0, German 1, French 2, Italian 0; anything
/// else 0), compared without case.
std::int32_t LanguageFactor(std::string_view language);

/// Sets `LanguageOffset` from key "Language" of section "ZAV2_0" (at most 29 characters).
void LoadLanguageSetting(Profile& profile, PatcherSettings& settings);

/// Takes `folder` (code page 1252, the program's own folder or one the user named) as
/// `SourceDirectory`, without a trailing separator. False, and nothing set, when it is longer
/// than 255 characters.
bool SetSourceDirectory(PatcherSettings& settings, std::string_view folder);

} // namespace zav
