// PatcherApp: the application object of the window front end.
#include "patcher_app.h"

#include <QApplication>
#include <QTimer>
#include <cstdlib>

#include "patcher_window.h"
#include "platform/ui.h"
#include "settings/own_texts.h"
#include "settings/string_table.h"
#include "settings/text_format.h"
#include "shell/patcher_dialog.h"
#include "source_opening.h"
#include "stop_signals.h"

namespace zav {

int PatcherApp::InitInstance() {
    ProgramStart start(options_.folders);
    start.SetPlacesNotice(options_.placesNotice);
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
    window.SetLanguage(start.LanguageOffset());
    start.OpenSource();
    PatcherDialog& dialog = start.Wire(window);
    window.AttachDialog(&dialog);
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
    const std::string notice = start.StartNotice(options_.severalMedia);
    if (!notice.empty()) {
        window.MessageBox(notice, dialog.Session().texts.Text(TEXT_PROGRAM_TITLE),
                          MB_OK | MB_ICONEXCLAMATION);
    }
    window.exec();
    return 0;
}

} // namespace zav
