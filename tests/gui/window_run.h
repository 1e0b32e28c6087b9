// WindowRun: the real window and dialog logic over a sample game in a temporary folder.
#pragma once

#include <QApplication>
#include <QFile>
#include <QItemSelectionModel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSize>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "patcher_window.h"
#include "platform/posix/posix_file_system.h"
#include "platform/profile_reader.h"
#include "shell/patcher_dialog.h"

namespace zav::test {

/// A sample game and disc in a fresh temporary folder (TMPDIR there too), and the window with
/// its dialog logic over them: pauses off, process exits recorded instead of taken.
class WindowRun {
public:
    /// `withSettings` false removes the game's settings file, so the game is not found.
    explicit WindowRun(bool withSettings = true);
    ~WindowRun();

    /// Runs the dialog's start-up; false (with a warning) when the sample could not be written.
    bool Start();

    [[nodiscard]] QString GameFile(const QString& relative) const {
        return QString::fromStdString(prefix_ + "/drive_c/Games/ZAV/") + relative;
    }
    [[nodiscard]] QString DiscFile(const QString& relative) const {
        return QString::fromStdString(disc_ + "/") + relative;
    }

    [[nodiscard]] PatcherWindow& Window() { return *window_; }
    [[nodiscard]] PatcherDialog& Dialog() { return *dialog_; }
    [[nodiscard]] QListWidget* List(std::int32_t id) const {
        return qobject_cast<QListWidget*>(window_->Control(id));
    }
    [[nodiscard]] QPushButton* Button(std::int32_t id) const {
        return qobject_cast<QPushButton*>(window_->Control(id));
    }
    [[nodiscard]] QStringList Entries(std::int32_t id) const {
        QStringList texts;
        for (int i = 0; i < List(id)->count(); ++i) {
            texts << List(id)->item(i)->text();
        }
        return texts;
    }
    [[nodiscard]] QList<int> SelectedRows(std::int32_t id) const {
        QList<int> rows;
        for (const QModelIndex& index : List(id)->selectionModel()->selectedIndexes()) {
            rows << index.row();
        }
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    /// The size of the initial window rectangle (the full layout), and the compact layout's.
    [[nodiscard]] QSize Initial() const {
        const WindowRect& rect = dialog_->State().InitialWindowRect;
        return {rect.Width(), rect.Height()};
    }
    [[nodiscard]] QSize Compact() const { return Initial() - QSize(0, 25); }

    std::vector<int> exitCodes;
    std::function<void(int)> atExit; // called as the process would end

private:
    QTemporaryDir dir_;
    std::string error_, prefix_, disc_;
    std::unique_ptr<PosixFileSystem> files_;
    std::unique_ptr<FileSystemProfile> profile_;
    std::unique_ptr<PatcherWindow> window_;
    std::unique_ptr<PatcherDialog> dialog_;
};

/// A message box the user saw, and the main window's size meanwhile.
struct SeenBox {
    QString text, caption;
    int icon = 0, buttons = 0, defaultButton = 0;
    QSize windowSize;
};

/// While it lives, answers every modal message box as a user would: clicks `answer` (or the
/// box's Ok, else No) and records the box.
class BoxAnswerer final : public QObject {
public:
    BoxAnswerer(QWidget* mainWindow, int answerWith) : answer(answerWith) {
        timer_.callOnTimeout(this, [this, mainWindow] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr || !box->isVisible()) {
                return;
            }
            QAbstractButton* preset = box->defaultButton();
            boxes.push_back({box->text(), box->windowTitle(), box->icon(),
                             static_cast<int>(box->standardButtons()),
                             preset != nullptr ? static_cast<int>(box->standardButton(preset)) : 0,
                             mainWindow->size()});
            QAbstractButton* button = box->button(static_cast<QMessageBox::StandardButton>(answer));
            for (const auto fallback : {QMessageBox::Ok, QMessageBox::No}) {
                button = button != nullptr ? button : box->button(fallback);
            }
            if (button != nullptr) {
                QTest::mouseClick(button, Qt::LeftButton);
            }
        });
        timer_.start(10);
    }
    std::vector<SeenBox> boxes;
    int answer;

private:
    QTimer timer_;
};

inline QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// Clicks entry `row` of `list` with `modifiers`, as the user does.
inline void ClickEntry(QListWidget* list, int row,
                       Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QListWidgetItem* item = list->item(row);
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers,
                      list->visualItemRect(item).center());
}

} // namespace zav::test
