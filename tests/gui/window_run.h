// WindowRun: the real window and dialog logic over a sample game in a temporary folder.
#pragma once

#include <QPoint>
#include <QSize>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "patcher_window.h"
#include "platform/posix/posix_file_system.h"
#include "platform/profile_reader.h"
#include "shell/patcher_dialog.h"
#include "tools/sample_game.h"

class QListWidget;
class QPushButton;
class QTabBar;

namespace zav::test {

/// A sample game and disc written into a fresh temporary folder, with the window and its dialog
/// logic over them: pauses off, process exits recorded instead of taken. Start() runs the
/// start-up as the application does.
class WindowRun {
public:
    /// Writes the sample with `options` (its output folder is set here); `withSettings` false
    /// removes the game's settings file, so the game is not found.
    explicit WindowRun(SampleOptions options = {}, bool withSettings = true);
    ~WindowRun();

    WindowRun(const WindowRun&) = delete;
    WindowRun& operator=(const WindowRun&) = delete;

    /// Empty when the sample was written; otherwise why not.
    [[nodiscard]] const std::string& SetupError() const { return setupError_; }
    /// Attaches the dialog and runs OnInitDialog; its result.
    bool Start();

    /// The host path of a file under the game folder, e.g. "Data/Binary/Scripts/circuits.bin".
    [[nodiscard]] QString GameFile(const QString& relative) const;
    /// The host path of a file under the disc folder, e.g. "circuits/Quarry/Quarry.img".
    [[nodiscard]] QString DiscFile(const QString& relative) const;
    /// The host path of a core path (a game path or a temporary file's).
    [[nodiscard]] QString HostPath(const PathText& path) const;

    [[nodiscard]] PatcherWindow& Window() { return *window_; }
    [[nodiscard]] PatcherDialog& Dialog() { return *dialog_; }
    [[nodiscard]] QListWidget* List(std::int32_t id) const;
    [[nodiscard]] QPushButton* Button(std::int32_t id) const;
    [[nodiscard]] QTabBar* Tabs() const;
    /// The texts of list `id`, in order.
    [[nodiscard]] QStringList Entries(std::int32_t id) const;
    /// The text of label `id`.
    [[nodiscard]] QString LabelText(std::int32_t id) const;

    /// The size of the window's initial rectangle as the start-up took it.
    [[nodiscard]] QSize Initial() const;
    /// The window's size now, measured like the initial rectangle (the frame left out).
    [[nodiscard]] QSize WindowSize() const;

    /// The exit codes handed to the process's end, in order.
    std::vector<int> exitCodes;
    /// Called with each exit code as the process would end, to look at the run at that moment.
    std::function<void(int)> atExit;

private:
    QTemporaryDir dir_;
    std::string setupError_;
    std::string prefix_;
    std::string disc_;
    std::unique_ptr<PosixFileSystem> files_;
    std::unique_ptr<FileSystemProfile> profile_;
    std::unique_ptr<PatcherWindow> window_;
    std::unique_ptr<PatcherDialog> dialog_;
};

/// A message box the user saw: its words, icon, buttons and the main window's size meanwhile.
struct SeenBox {
    QString text;
    QString caption;
    int icon = 0;          ///< QMessageBox::Icon
    int buttons = 0;       ///< QMessageBox::StandardButtons
    int defaultButton = 0; ///< the standard button Enter presses
    QSize windowSize;      ///< the main window's size while the box was up
};

/// Answers every modal message box that comes up while it lives, the way a user would: clicks
/// `answer` (Yes or Ok; a box without that button gets its Ok or No) and records the box.
class BoxAnswerer final : public QObject {
public:
    BoxAnswerer(QWidget* mainWindow, int answer);
    std::vector<SeenBox> boxes;

private:
    void Look();
    QWidget* mainWindow_;
    int answer_;
    QTimer timer_;
};

/// The bytes of the host file `path`; empty when it cannot be read.
QByteArray ReadBytes(const QString& path);
/// The little-endian 16-bit or 32-bit number at `offset` of `bytes`; 0 past their end.
quint32 ReadLe16(const QByteArray& bytes, qsizetype offset);
quint32 ReadLe32(const QByteArray& bytes, qsizetype offset);

/// Clicks entry `row` of `list` with `modifiers`, as the user does.
void ClickEntry(QListWidget* list, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
/// Clicks tab `index` of the tab bar.
void ClickTab(QTabBar* tabs, int index);
/// Clicks a picture button.
void ClickButton(QPushButton* button);

} // namespace zav::test
