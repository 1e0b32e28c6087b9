// WindowRun, BoxAnswerer and the click helpers of the window's tests.
#include "window_run.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

#include "shell/window_model.h"

namespace zav::test {

WindowRun::WindowRun(SampleOptions options, bool withSettings) {
    if (!dir_.isValid()) {
        setupError_ = "no temporary folder";
        return;
    }
    // The run's staging lists go into a folder of the test's own, so nothing outlives the test.
    const QString temporary = dir_.filePath(QStringLiteral("tmp"));
    QDir().mkpath(temporary);
    qputenv("TMPDIR", temporary.toUtf8());

    options.outputFolder = dir_.filePath(QStringLiteral("sample")).toStdString();
    if (!WriteSampleGame(options, setupError_)) {
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
    dialog_.reset();
    window_.reset();
}

bool WindowRun::Start() {
    window_->AttachDialog(dialog_.get());
    return dialog_->OnInitDialog();
}

QString WindowRun::GameFile(const QString& relative) const {
    return QString::fromStdString(prefix_) + QStringLiteral("/drive_c/Games/ZAV/") + relative;
}

QString WindowRun::DiscFile(const QString& relative) const {
    return QString::fromStdString(disc_) + QLatin1Char('/') + relative;
}

QString WindowRun::HostPath(const PathText& path) const {
    return QString::fromStdString(files_->HostPath(path.view()));
}

QListWidget* WindowRun::List(std::int32_t id) const {
    return qobject_cast<QListWidget*>(window_->Control(id));
}

QPushButton* WindowRun::Button(std::int32_t id) const {
    return qobject_cast<QPushButton*>(window_->Control(id));
}

QTabBar* WindowRun::Tabs() const {
    return qobject_cast<QTabBar*>(window_->Control(IDC_TAB));
}

QStringList WindowRun::Entries(std::int32_t id) const {
    QStringList texts;
    const QListWidget* list = List(id);
    for (int i = 0; list != nullptr && i < list->count(); ++i) {
        texts << list->item(i)->text();
    }
    return texts;
}

QString WindowRun::LabelText(std::int32_t id) const {
    const auto* label = qobject_cast<QLabel*>(window_->Control(id));
    return label != nullptr ? label->text() : QString();
}

QSize WindowRun::Initial() const {
    const WindowRect& rect = dialog_->State().InitialWindowRect;
    return {rect.Width(), rect.Height()};
}

QSize WindowRun::WindowSize() const {
    return window_->size();
}

BoxAnswerer::BoxAnswerer(QWidget* mainWindow, int answer)
    : mainWindow_(mainWindow), answer_(answer) {
    timer_.setInterval(10);
    connect(&timer_, &QTimer::timeout, this, &BoxAnswerer::Look);
    timer_.start();
}

void BoxAnswerer::Look() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) {
        return;
    }
    SeenBox seen;
    seen.text = box->text();
    seen.caption = box->windowTitle();
    seen.icon = box->icon();
    seen.buttons = static_cast<int>(box->standardButtons());
    seen.defaultButton = box->defaultButton() != nullptr
                             ? static_cast<int>(box->standardButton(box->defaultButton()))
                             : 0;
    seen.windowSize = mainWindow_->size();
    boxes.push_back(seen);
    QAbstractButton* button = box->button(static_cast<QMessageBox::StandardButton>(answer_));
    if (button == nullptr) {
        button = box->button(QMessageBox::Ok);
    }
    if (button == nullptr) {
        button = box->button(QMessageBox::No);
    }
    if (button != nullptr) {
        QTest::mouseClick(button, Qt::LeftButton);
    }
}

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

quint32 ReadLe16(const QByteArray& bytes, qsizetype offset) {
    if (offset < 0 || offset + 2 > bytes.size()) {
        return 0;
    }
    return static_cast<quint32>(static_cast<quint8>(bytes[offset])) |
           static_cast<quint32>(static_cast<quint8>(bytes[offset + 1])) << 8;
}

quint32 ReadLe32(const QByteArray& bytes, qsizetype offset) {
    return ReadLe16(bytes, offset) | ReadLe16(bytes, offset + 2) << 16;
}

void ClickEntry(QListWidget* list, int row, Qt::KeyboardModifiers modifiers) {
    QListWidgetItem* item = list->item(row);
    if (item == nullptr) {
        return;
    }
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers,
                      list->visualItemRect(item).center());
}

void ClickTab(QTabBar* tabs, int index) {
    QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, tabs->tabRect(index).center());
}

void ClickButton(QPushButton* button) {
    QTest::mouseClick(button, Qt::LeftButton);
}

} // namespace zav::test
