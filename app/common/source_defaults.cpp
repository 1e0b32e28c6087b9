// The default source: the program's folder, the working folder, or the one medium with new data.
#include "source_defaults.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iterator>
#include <system_error>

#include "platform/mounted_media.h"
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

} // namespace

SourcePlaces RunSourcePlaces(bool withWorkingFolder) {
    SourcePlaces places;
    places.programFolder = ProgramFolder();
    if (withWorkingFolder) {
        std::error_code error;
        const std::u8string text = std::filesystem::current_path(error).u8string();
        places.workingFolder.assign(text.begin(), text.end());
    }
    places.media = MountedMedia();
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

std::vector<std::string> MediaHoldingNewData(const std::vector<std::string>& media) {
    std::vector<std::string> holding;
    std::copy_if(media.begin(), media.end(), std::back_inserter(holding), HoldsNewDataFolders);
    return holding;
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
    chosen.media = MediaHoldingNewData(places.media);
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

std::vector<std::string> TakeWindowDefaultSource(std::string& source) {
    if (!source.empty()) {
        return {};
    }
    DefaultSource found = ChooseDefaultSource(RunSourcePlaces(false));
    source = found.folder;
    return found.origin == DefaultSource::Origin::SeveralMedia ? std::move(found.media)
                                                               : std::vector<std::string>{};
}

} // namespace zav
