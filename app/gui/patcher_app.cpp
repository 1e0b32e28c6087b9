// PatcherApp: the application object of the window front end.
#include "patcher_app.h"

#include "patcher_window.h"
#include "platform/profile_reader.h"
#include "program_start.h"
#include "shell/patcher_dialog.h"

namespace zav {

int PatcherApp::InitInstance() {
    ProgramFileSystem program(options_.prefix);
    FileSystem& files = program.Files();
    FileSystemProfile profile(files);
    PatcherWindow window(PatcherWindow::Options{});
    PatcherDialog dialog(files, profile, window, options_.sourceFolder);
    dialog.Session().journal = &program.Journal();
    window.AttachDialog(&dialog);
    dialog.SetGameSearchNotice(GameSearchNotice(program));
    if (!dialog.OnInitDialog()) {
        return 0;
    }
    window.exec();
    return 0;
}

} // namespace zav
