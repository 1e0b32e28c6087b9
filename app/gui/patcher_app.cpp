// PatcherApp: the application object of the window front end.
#include "patcher_app.h"

#include <QApplication>
#include <QTimer>
#include <cstdlib>

#include "patcher_window.h"
#include "platform/profile_reader.h"
#include "program_start.h"
#include "shell/patcher_dialog.h"
#include "stop_signals.h"

namespace zav {

int PatcherApp::InitInstance() {
    CatchStopSignals();
    ProgramFileSystem program(options_.prefix);
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
    PatcherDialog dialog(files, profile, window, options_.sourceFolder);
    window.AttachDialog(&dialog);
    dialog.SetGameSearchNotice(GameSearchNotice(program));
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
    window.exec();
    return 0;
}

} // namespace zav
