// The start-up's notice when no new data can be found.
#include "new_data_notice.h"

#include "platform/codepage.h"
#include "settings/data_paths.h"
#include "settings/game_location.h"
#include "settings/own_texts.h"
#include "settings/patcher_settings.h"
#include "settings/text_format.h"

namespace zav {

std::string NewDataNotice(const StartFolders& folders, FileSystem& files,
                          std::int32_t languageOffset) {
    if (const std::string problem = SourceFolderProblem(folders); !problem.empty()) {
        return Utf8ToCp1252(problem).value_or(problem); // it names the host folder in UTF-8
    }
    PatcherSettings settings;
    PathText tracks;
    PathText cars;
    if (!SetSourceDirectory(settings, folders.source) ||
        BuildFolderPath(settings, FOLDER_SOURCE_TRACKS, nullptr, &tracks) == nullptr ||
        BuildFolderPath(settings, FOLDER_SOURCE_CARS, nullptr, &cars) == nullptr ||
        files.Status(tracks.view()) || files.Status(cars.view())) {
        return {};
    }
    // Named without their closing separator, as a user would write them.
    const auto folder = [](const PathText& path) { return path.view().substr(0, path.size() - 1); };
    return FormatText(OwnText(OwnTextId::NoNewDataFolders, languageOffset),
                      {folder(tracks), folder(cars)}) +
           "\n" + OwnText(OwnTextId::ChooseSourceHint, languageOffset);
}

} // namespace zav
