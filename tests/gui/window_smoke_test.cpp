// The window over the dialog on a sample game: its compact layout, its controls wired to the
// dialog, its message boxes, and the keys that close it and do not.
#include <QApplication>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "patcher_window.h"
#include "platform/posix/posix_file_system.h"
#include "platform/profile_reader.h"
#include "shell/patcher_dialog.h"
#include "support/test_game.h"

using namespace zav;
class WindowSmokeTest final : public QObject {
    Q_OBJECT
private slots:
    void opensOnASampleGameAndReachesTheDialog();
};
void WindowSmokeTest::opensOnASampleGameAndReachesTheDialog() {
    test::TestGame game;
    PosixFileSystem files(game.prefix);
    FileSystemProfile profile(files);
    std::vector<int> exits;
    PatcherWindow::Options options;
    options.pauses = false;
    options.exitProcess = [&exits](int code) { exits.push_back(code); };
    PatcherWindow window(std::move(options));
    PatcherDialog dialog(files, profile, window, game.disc);
    window.AttachDialog(&dialog);
    QVERIFY(dialog.OnInitDialog());
    // Message boxes are QMessageBoxes, answered here as a user would.
    QStringList boxes;
    QTimer answerer;
    answerer.callOnTimeout([&boxes] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            boxes << QStringLiteral("%1 %2").arg(box->icon()).arg(box->text());
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        }
    });
    answerer.start(10);
    auto* proposed = qobject_cast<QListWidget*>(window.Control(IDC_NEW_LIST));
    auto* added = qobject_cast<QListWidget*>(window.Control(IDC_ADDED_LIST));
    const auto click = [](QListWidget* list, int row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                          list->visualItemRect(list->item(row)).center());
    };
    const auto press = [&](int id) { QTest::mouseClick(window.Control(id), Qt::LeftButton); };
    click(proposed, 0);
    press(IDC_ADD);
    QCOMPARE(added->item(added->count() - 1)->text(), QStringLiteral("<Temp.> Quarry"));
    press(IDC_INSTALL);
    QCOMPARE(boxes, QStringList({"1 New data installed successfully."}));
    QCOMPARE(added->item(added->count() - 1)->text(), QStringLiteral("<Inst.> Quarry"));
    // Run modally, as the application does: Escape runs Cancel and leaves the window open; Enter
    // on any control is Close. A window that does not end is ended with 99.
    bool openAfterEscape = false;
    QTimer::singleShot(10000, &window, [&window] { window.done(99); });
    QTimer::singleShot(0, &window, [&] {
        click(proposed, 1);
        press(IDC_ADD);
        QTest::keyClick(proposed, Qt::Key_Escape);
        openAfterEscape = window.isVisible() && added->count() == 3;
        QTest::keyClick(window.Control(IDC_ADD), Qt::Key_Enter);
    });
    QCOMPARE(window.exec(), static_cast<int>(IDOK));
    QVERIFY(openAfterEscape);
    QVERIFY(exits.empty());
    window.AttachDialog(nullptr);
}

QTEST_MAIN(WindowSmokeTest)
#include "window_smoke_test.moc"
