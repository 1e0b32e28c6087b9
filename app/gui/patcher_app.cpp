// PatcherApp: the application object of the window front end.
#include "patcher_app.h"

#include <QApplication>
#include <QTimer>
#include <cstdlib>

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
#include "stop_signals.h"

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
    CatchStopSignals();
    ProgramFileSystem program(options_.folders.prefix);
    FileSystem& files = program.Files();
    FileSystemProfile profile(files);
    PatcherWindow::Options windowOptions;
    windowOptions.exitProcess = [](int code) {
        if (const int signal = CaughtStopSignal(); signal != 0) {
            EndBySignal(signal);
        }
        std::exit(code);
    };
    PatcherWindow window(std::move(windowOptions));
    // The language is known before the first box, so that even "ZAV not detected" has its
    // buttons in it.
    PatcherSettings language;
    LoadLanguageSetting(profile, language);
    window.SetLanguage(language.LanguageOffset);
    PatcherDialog dialog(files, profile, window, options_.folders.source);
    window.AttachDialog(&dialog);
    dialog.SetGameSearchNotice(GameSearchNotice(program, language.LanguageOffset));
    // A stop signal closes the window as the user would: a question open is answered No, and a
    // command running ends before the window closes, through Close's clean-up.
    QTimer stopWatch;
    QObject::connect(&stopWatch, &QTimer::timeout, [&window] {
        if (CaughtStopSignal() == 0) {
            return;
        }
        if (QWidget* modal = QApplication::activeModalWidget();
            modal != nullptr && modal != &window) {
            modal->close();
        }
        window.close();
    });
    stopWatch.start(100);
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
