// The default source: the program's folder, the working folder, or the one medium with new data.
#include "source_defaults.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/program_location.h"

namespace zav {
namespace {

bool SameWordIgnoringCase(const std::string& name, const char* word) {
    const std::string_view expected(word);
    return name.size() == expected.size() &&
           std::equal(name.begin(), name.end(), expected.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == b;
           });
}

// The folders right inside `root`, in a fixed order; none when it cannot be listed.
std::vector<std::string> Subfolders(const std::string& root) {
    namespace fs = std::filesystem;
    std::vector<std::string> folders;
    std::error_code error;
    for (fs::directory_iterator it(fs::u8path(root), error), end; !error && it != end;
         it.increment(error)) {
        std::error_code statusError;
        if (it->is_directory(statusError)) {
            const std::u8string text = it->path().u8string();
            folders.emplace_back(text.begin(), text.end());
        }
    }
    std::sort(folders.begin(), folders.end());
    return folders;
}

} // namespace

std::vector<std::string> MediaRoots() {
#ifdef _WIN32
    return {};
#else
    std::vector<std::string> roots;
    // A user name with a separator would lead elsewhere: such a $USER names no medium.
    if (const char* user = std::getenv("USER");
        user != nullptr && *user != '\0' && std::string_view(user).find('/') == std::string::npos &&
        std::string_view(user) != "." && std::string_view(user) != "..") {
        roots.push_back(std::string("/media/") + user);
        roots.push_back(std::string("/run/media/") + user);
    }
    roots.emplace_back("/mnt");
    return roots;
#endif
}

SourcePlaces RunSourcePlaces(bool withWorkingFolder) {
    SourcePlaces places;
    places.programFolder = ProgramFolder();
    if (withWorkingFolder) {
        std::error_code error;
        const std::u8string text = std::filesystem::current_path(error).u8string();
        places.workingFolder.assign(text.begin(), text.end());
    }
    places.mediaRoots = MediaRoots();
    return places;
}

bool HoldsNewDataFolders(const std::string& folder) {
    namespace fs = std::filesystem;
    if (folder.empty()) {
        return false;
    }
    std::error_code error;
    for (fs::directory_iterator it(fs::u8path(folder), error), end; !error && it != end;
         it.increment(error)) {
        const std::u8string name = it->path().filename().u8string();
        const std::string text(name.begin(), name.end());
        std::error_code statusError;
        if ((SameWordIgnoringCase(text, "circuits") || SameWordIgnoringCase(text, "voitures")) &&
            it->is_directory(statusError)) {
            return true;
        }
    }
    return false;
}

DefaultSource ChooseDefaultSource(const SourcePlaces& places) {
    DefaultSource chosen;
    chosen.folder = places.programFolder;
    if (HoldsNewDataFolders(places.programFolder)) {
        chosen.origin = DefaultSource::Origin::ProgramFolder;
        return chosen;
    }
    if (HoldsNewDataFolders(places.workingFolder)) {
        chosen.origin = DefaultSource::Origin::WorkingFolder;
        chosen.folder = places.workingFolder;
        return chosen;
    }
    for (const std::string& root : places.mediaRoots) {
        for (const std::string& medium : Subfolders(root)) {
            // A medium reached through two roots (one a link to the other) is one medium.
            const bool seen =
                std::any_of(chosen.media.begin(), chosen.media.end(), [&](const std::string& m) {
                    std::error_code error;
                    return std::filesystem::equivalent(std::filesystem::u8path(m),
                                                       std::filesystem::u8path(medium), error);
                });
            if (!seen && HoldsNewDataFolders(medium)) {
                chosen.media.push_back(medium);
            }
        }
    }
    if (chosen.media.size() == 1) {
        chosen.origin = DefaultSource::Origin::Medium;
        chosen.folder = chosen.media.front();
    } else if (chosen.media.size() > 1) {
        chosen.origin = DefaultSource::Origin::SeveralMedia;
    }
    return chosen;
}

std::string SeveralMediaNotice(const std::vector<std::string>& media) {
    std::string text = "Several mounted media hold new data (circuits/ or voitures/):\n";
    for (const std::string& medium : media) {
        text += "  " + medium + "\n";
    }
    return text + "Choose one with --source.\n";
}

} // namespace zav
