// The window's commands on a sample game: add, install, trash, keys, closing, fatal end, about.
#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QTest>

#include "shell/window_model.h"
#include "window_run.h"

using namespace zav;
using zav::test::BoxAnswerer;
using zav::test::ClickEntry;
using zav::test::ReadBytes;
using zav::test::WindowRun;

namespace {

void Click(QPushButton* button) {
    QTest::mouseClick(button, Qt::LeftButton);
}

// Calls `onPaint` each time `widget` is painted.
class PaintWatcher final : public QObject {
public:
    PaintWatcher(QWidget* widget, std::function<void()> onPaint)
        : widget_(widget), onPaint_(std::move(onPaint)) {
        widget_->installEventFilter(this);
    }
    ~PaintWatcher() override { widget_->removeEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            onPaint_();
        }
        return false;
    }

private:
    QWidget* widget_;
    std::function<void()> onPaint_;
};

} // namespace

class WindowCommandsTest final : public QObject {
    Q_OBJECT

private slots:
    void addIsDrawnInTheFullLayoutThenInstallWritesTheGameList();
    void escapeRunsCancelAndEnterRunsCloseWhateverHasTheFocus();
    void closingTheWindowExitsWithZeroAfterTheRunningCommand();
    void gameNotDetectedIsFatalWithExitCodeMinusOne();
    void aboutBoxOpensFromF1AndTheContextMenu();
};

void WindowCommandsTest::addIsDrawnInTheFullLayoutThenInstallWritesTheGameList() {
    WindowRun run;
    QVERIFY(run.Start());
    BoxAnswerer answerer(&run.Window(), QMessageBox::Ok);
    ClickEntry(run.List(IDC_NEW_LIST), 0);
    ClickEntry(run.List(IDC_NEW_LIST), 3, Qt::ControlModifier);
    QApplication::processEvents();
    auto* progress = qobject_cast<QProgressBar*>(run.Window().Control(IDC_PROGRESS));
    const auto* status = qobject_cast<QLabel*>(run.Window().Control(IDC_STATUS));
    QList<int> painted;
    PaintWatcher watcher(progress, [&] {
        if (run.Window().size() == run.Initial() &&
            status->text() == QStringLiteral("Preparing Add Files") &&
            !painted.contains(progress->value())) {
            painted << progress->value();
        }
    });
    Click(run.Button(IDC_ADD));
    // Each step is drawn in its pause in the full layout, although the command runs inside the
    // click.
    QCOMPARE(painted, QList<int>({1, 2, 3, 4}));
    QVERIFY(progress->geometry().bottom() < run.Initial().height());
    QCOMPARE(run.Window().size(), run.Compact());
    QVERIFY(answerer.boxes.empty());
    QCOMPARE(run.Entries(IDC_ADDED_LIST).last(), QStringLiteral("<Temp.> Tundra"));

    Click(run.Button(IDC_INSTALL));
    QCOMPARE(answerer.boxes.size(), std::size_t{1});
    QCOMPARE(answerer.boxes[0].text, QStringLiteral("New data installed successfully."));
    QCOMPARE(answerer.boxes[0].icon, static_cast<int>(QMessageBox::Information));
    QCOMPARE(answerer.boxes[0].windowSize, run.Compact());
    QCOMPARE(ReadBytes(run.GameFile("Data/Binary/Scripts/circuits.bin")).at(0), char{20});
    QCOMPARE(run.Entries(IDC_ADDED_LIST).last(), QStringLiteral("<Inst.> Tundra"));

    // Trash asks in the compact layout (a Warning box, Yes the default) and deletes in the full.
    answerer.answer = QMessageBox::Yes;
    answerer.boxes.clear();
    ClickEntry(run.List(IDC_ADDED_LIST), 0);
    Click(run.Button(IDC_TRASH));
    QCOMPARE(answerer.boxes.size(), std::size_t{2});
    const test::SeenBox& question = answerer.boxes[0];
    QCOMPARE(question.caption, QStringLiteral("Warning"));
    QCOMPARE(question.icon, static_cast<int>(QMessageBox::Warning));
    QCOMPARE(question.buttons, static_cast<int>(QMessageBox::Yes | QMessageBox::No));
    QCOMPARE(question.defaultButton, static_cast<int>(QMessageBox::Yes));
    QCOMPARE(question.windowSize, run.Compact());
    QCOMPARE(answerer.boxes[1].windowSize, run.Initial());
    QCOMPARE(run.Window().size(), run.Compact());
    QCOMPARE(run.Entries(IDC_ADDED_LIST).first(), QStringLiteral("<Inst.> Dunes"));
    QCOMPARE(run.Entries(IDC_ADDED_LIST).size(), 3);
}

void WindowCommandsTest::escapeRunsCancelAndEnterRunsCloseWhateverHasTheFocus() {
    WindowRun run;
    QVERIFY(run.Start());
    PatcherWindow& window = run.Window();
    ClickEntry(run.List(IDC_NEW_LIST), 1);
    Click(run.Button(IDC_ADD));
    QCOMPARE(run.Entries(IDC_ADDED_LIST).size(), 3);

    QList<bool> visible;
    QStringList afterEscape;
    // Runs the window modally, as the application does; one that does not end is ended with 99.
    QTimer::singleShot(10000, &window, [&window] { window.done(99); });
    QTimer::singleShot(0, &window, [&] {
        QTest::keyClick(run.List(IDC_NEW_LIST), Qt::Key_Escape);
        visible << window.isVisible();
        afterEscape = run.Entries(IDC_ADDED_LIST);
        QTest::keyClick(run.List(IDC_NEW_LIST), Qt::Key_Escape); // nothing left to cancel
        visible << window.isVisible();
        // Enter on the focused "Add to List" button is still Close, and adds nothing.
        ClickEntry(run.List(IDC_NEW_LIST), 0);
        run.Button(IDC_ADD)->setFocus();
        QTest::keyClick(run.Button(IDC_ADD), Qt::Key_Enter);
    });
    QCOMPARE(window.exec(), IDOK);
    QCOMPARE(visible, QList<bool>({true, true}));
    QCOMPARE(afterEscape, QStringList({"<Inst.> Harbour", "<Inst.> Dunes"}));
    QCOMPARE(run.Entries(IDC_ADDED_LIST), afterEscape);
    QVERIFY(run.exitCodes.empty());
}

void WindowCommandsTest::closingTheWindowExitsWithZeroAfterTheRunningCommand() {
    WindowRun run;
    QVERIFY(run.Start());
    ClickEntry(run.List(IDC_NEW_LIST), 0);
    // The window system's close request arrives while "Add to List" pauses after a step.
    bool armed = false;
    PaintWatcher closer(run.Window().Control(IDC_PROGRESS), [&] {
        if (!std::exchange(armed, true)) {
            QTimer::singleShot(0, &run.Window(), [&] { run.Window().close(); });
        }
    });
    QSize sizeAtExit;
    QStringList addedAtExit;
    run.atExit = [&](int) {
        sizeAtExit = run.Window().size();
        addedAtExit = run.Entries(IDC_ADDED_LIST);
    };
    Click(run.Button(IDC_ADD));
    // The command ran to its end first; then the window closed as asked.
    QCOMPARE(run.exitCodes, std::vector<int>({0}));
    QCOMPARE(sizeAtExit, run.Compact());
    QCOMPARE(addedAtExit.last(), QStringLiteral("<Temp.> Quarry"));
}

void WindowCommandsTest::gameNotDetectedIsFatalWithExitCodeMinusOne() {
    WindowRun run(false);
    BoxAnswerer answerer(&run.Window(), QMessageBox::Ok);
    QVERIFY(!run.Start());
    QCOMPARE(run.exitCodes, std::vector<int>({-1}));
    QCOMPARE(answerer.boxes.size(), std::size_t{1});
    QCOMPARE(answerer.boxes[0].text, QStringLiteral("ZAV not detected"));
    QCOMPARE(answerer.boxes[0].caption, QStringLiteral("Fatal Error"));
    QCOMPARE(answerer.boxes[0].icon, static_cast<int>(QMessageBox::Critical));
    QVERIFY(!run.Window().isVisible()); // the box is the only window the user saw
}

void WindowCommandsTest::aboutBoxOpensFromF1AndTheContextMenu() {
    WindowRun run;
    QVERIFY(run.Start());
    PatcherWindow& window = run.Window();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QStringList seen;
    QTimer closer;
    closer.setInterval(10);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            if (menu->isVisible() && !menu->actions().isEmpty()) {
                QAction* about = menu->actions().first();
                seen << about->text();
                QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier,
                                  menu->actionGeometry(about).center());
            }
            return;
        }
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal->objectName() == QLatin1String("100")) {
            seen << modal->windowTitle();
            QTest::mouseClick(modal->findChild<QPushButton*>(QStringLiteral("1")), Qt::LeftButton);
        }
    });
    closer.start();
    QTest::keyClick(&window, Qt::Key_F1);
    QCOMPARE(seen, QStringList({"A propos de Vantrel"}));
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(5, 5),
                                window.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&window, &menuEvent);
    QTRY_COMPARE(seen.size(), 3);
    QCOMPARE(seen[2], QStringLiteral("A propos de Vantrel"));
    QVERIFY(window.isVisible());
}

QTEST_MAIN(WindowCommandsTest)
#include "window_commands_test.moc"
