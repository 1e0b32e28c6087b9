// PatcherApp: the application object of the window front end.
#include "patcher_app.h"

#include "patcher_window.h"
#include "platform/codepage.h"
#include "platform/profile_reader.h"
#include "platform/ui.h"
#include "settings/data_paths.h"
#include "settings/game_location.h"
#include "settings/own_texts.h"
#include "settings/string_table.h"
#include "settings/text_format.h"
#include "shell/patcher_dialog.h"

namespace zav {
namespace {

// Why no new data can be proposed, for the one notice at start-up: the source folder cannot be
// read (the command line's words), or it holds neither new-data folder. Empty when one is there.
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
                      {folder(tracks), folder(cars)});
}

} // namespace

int PatcherApp::InitInstance() {
    ProgramFileSystem program(options_.folders.prefix);
    FileSystem& files = program.Files();
    FileSystemProfile profile(files);
    PatcherWindow window(PatcherWindow::Options{});
    // The language is known before the first box, so that even "ZAV not detected" has its
    // buttons in it.
    PatcherSettings language;
    LoadLanguageSetting(profile, language);
    window.SetLanguage(language.LanguageOffset);
    PatcherDialog dialog(files, profile, window, options_.folders.source);
    dialog.Session().journal = &program.Journal();
    window.AttachDialog(&dialog);
    dialog.SetGameSearchNotice(GameSearchNotice(program, language.LanguageOffset));
    if (!dialog.OnInitDialog()) {
        return 0;
    }
    if (const std::string notice = NewDataNotice(options_.folders, files, language.LanguageOffset);
        !notice.empty()) {
        window.MessageBox(notice, dialog.Session().texts.Text(TEXT_PROGRAM_TITLE),
                          MB_OK | MB_ICONEXCLAMATION);
    }
    window.exec();
    return 0;
}

} // namespace zav
