// WindowRun, BoxAnswerer and the click helpers of the window's tests.
#include "window_run.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTest>

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

BoxAnswerer::BoxAnswerer(QWidget* mainWindow, int answerWith)
    : answer(answerWith), mainWindow_(mainWindow) {
    timer_.setInterval(10);
    connect(&timer_, &QTimer::timeout, this, &BoxAnswerer::Look);
    timer_.start();
}

void BoxAnswerer::Look() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) {
        return;
    }
    QAbstractButton* preset = box->defaultButton();
    boxes.push_back({box->text(), box->windowTitle(), box->icon(),
                     static_cast<int>(box->standardButtons()),
                     preset != nullptr ? static_cast<int>(box->standardButton(preset)) : 0,
                     mainWindow_->size()});
    QAbstractButton* button = box->button(static_cast<QMessageBox::StandardButton>(answer));
    for (const auto fallback : {QMessageBox::Ok, QMessageBox::No}) {
        button = button != nullptr ? button : box->button(fallback);
    }
    if (button != nullptr) {
        QTest::mouseClick(button, Qt::LeftButton);
    }
}

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void ClickEntry(QListWidget* list, int row, Qt::KeyboardModifiers modifiers) {
    QListWidgetItem* item = list->item(row);
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers,
                      list->visualItemRect(item).center());
}

} // namespace zav::test
