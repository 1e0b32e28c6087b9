// PatcherApp: the application object of the window front end.
#include "patcher_app.h"

#include "new_data_notice.h"
#include "patcher_window.h"
#include "platform/profile_reader.h"
#include "platform/ui.h"
#include "settings/game_location.h"
#include "settings/string_table.h"
#include "shell/patcher_dialog.h"

namespace zav {

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
