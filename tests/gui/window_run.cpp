// WindowRun: the sample game, the window and its dialog logic.
#include "window_run.h"

#include <QDir>
#include <QFile>

#include "shell/window_model.h"
#include "tools/sample_game.h"

namespace zav::test {

WindowRun::WindowRun(bool withSettings) {
    const QString temporary = dir_.filePath(QStringLiteral("tmp"));
    QDir().mkpath(temporary);
    qputenv("TMPDIR", temporary.toUtf8());
    SampleOptions options;
    options.outputFolder = dir_.filePath(QStringLiteral("sample")).toStdString();
    if (!dir_.isValid() || !WriteSampleGame(options, error_)) {
        error_ += " (sample not written)";
        return;
    }
    prefix_ = options.outputFolder + "/prefix";
    disc_ = options.outputFolder + "/disc";
    if (!withSettings) {
        QFile::remove(QString::fromStdString(prefix_ + "/drive_c/windows/Quorvex/Qvx.ini"));
    }
    files_ = std::make_unique<PosixFileSystem>(prefix_);
    profile_ = std::make_unique<FileSystemProfile>(*files_);
    PatcherWindow::Options windowOptions;
    windowOptions.pauses = false;
    windowOptions.exitProcess = [this](int code) {
        exitCodes.push_back(code);
        if (atExit) {
            atExit(code);
        }
    };
    window_ = std::make_unique<PatcherWindow>(std::move(windowOptions));
    dialog_ = std::make_unique<PatcherDialog>(*files_, *profile_, *window_, disc_);
}

WindowRun::~WindowRun() {
    if (window_ != nullptr) {
        window_->AttachDialog(nullptr);
        window_->hide();
    }
}

bool WindowRun::Start() {
    if (!error_.empty()) {
        qWarning("%s", error_.c_str());
        return false;
    }
    window_->AttachDialog(dialog_.get());
    return dialog_->OnInitDialog();
}

} // namespace zav::test
