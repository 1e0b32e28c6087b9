// Game discovery, language choice and the program's folder.
#include "settings/game_location.h"

#include <algorithm>
#include <array>

#include "platform/codepage.h"
#include "settings/data_paths.h"

namespace zav {
namespace {

constexpr std::size_t kDirectoryBufferSize = 256;
constexpr std::size_t kLanguageBufferSize = 30;

struct LanguageName {
    std::string_view name;
    std::int32_t factor;
};
// Italian has no block of its own in the string table and speaks English.
constexpr std::array<LanguageName, 4> kLanguages = {
    {{"English", 0}, {"German", 1}, {"French", 2}, {"Italian", 0}}};

} // namespace

std::int32_t FindGameDirectory(FileSystem& files, Profile& profile, PathText* out) {
    const std::string settingsPath =
        files.WindowsDirectory() + "\\" + std::string(SETTINGS_FILE_NAME);
    if (out == nullptr) {
        return 0;
    }
    out->AssignCut(profile.GetString("ZAV", "Directory", "", kDirectoryBufferSize, settingsPath));
    if (!out->empty()) {
        return 1;
    }
    out->AssignCut(
        profile.GetString("ZAV2_0", "Directory", "", kDirectoryBufferSize, settingsPath));
    return out->empty() ? 0 : 2;
}

std::int32_t LanguageFactor(std::string_view language) {
    for (const LanguageName& entry : kLanguages) {
        if (EqualsIgnoringAsciiCase(language, entry.name)) {
            return entry.factor;
        }
    }
    return 0;
}

void LoadLanguageSetting(Profile& profile, PatcherSettings& settings) {
    const std::string language = profile.GetString("ZAV2_0", "Language", "", kLanguageBufferSize,
                                                   LANGUAGE_SETTINGS_FILE_NAME);
    settings.LanguageOffset = LanguageFactor(language) * LANGUAGE_BLOCK_STRIDE;
}

bool SetSourceDirectory(PatcherSettings& settings, std::string_view folder) {
    while (folder.size() > 1 && (folder.back() == '\\' || folder.back() == '/')) {
        folder.remove_suffix(1);
    }
    PathText candidate;
    if (!candidate.Assign(folder)) {
        return false;
    }
    if (PathSeparatorUnder(folder) == '\\') {
        // A Windows folder typed with '/' would give paths written two ways.
        std::replace(candidate.data(), candidate.data() + candidate.size(), '/', '\\');
    }
    settings.SourceDirectory = candidate;
    return true;
}

} // namespace zav
