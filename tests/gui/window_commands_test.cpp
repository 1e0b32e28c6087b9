// The window's commands on a sample game: add, install, trash, Escape, Enter, close, fatal end.
#include <QApplication>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <array>

#include "shell/window_model.h"
#include "window_run.h"

using zav::test::BoxAnswerer;
using zav::test::ClickButton;
using zav::test::ClickEntry;
using zav::test::ReadBytes;
using zav::test::ReadLe32;
using zav::test::SeenBox;
using zav::test::WindowRun;

namespace {

QByteArray WithCount(quint32 count, const QByteArray& records) {
    QByteArray list;
    for (int i = 0; i < 4; ++i) {
        list.append(static_cast<char>(count >> (8 * i) & 0xFF));
    }
    return list + records;
}

const char* kScripts = "Data/Binary/Scripts/";

// The host paths of the four files a run leaves in place until it ends.
QStringList TemporaryFiles(WindowRun& run) {
    const zav::AnalysisState& analysis = run.Dialog().Session().analysis;
    return {run.HostPath(analysis.TrackWorkListPath), run.HostPath(analysis.CarWorkListPath),
            run.HostPath(analysis.TrackStagingPath), run.HostPath(analysis.CarStagingPath)};
}

// What a paint of the window, its progress bar or its status text showed.
struct Painted {
    const QObject* widget = nullptr;
    QSize windowSize;
    QString status;
    int progress = 0;
};

class PaintRecorder final : public QObject {
public:
    PaintRecorder(QWidget* window, QProgressBar* progress, QLabel* status)
        : window_(window), progress_(progress), status_(status) {
        for (QWidget* widget : Watched()) {
            widget->installEventFilter(this);
        }
    }
    ~PaintRecorder() override {
        for (QWidget* widget : Watched()) {
            widget->removeEventFilter(this);
        }
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            painted.push_back({watched, window_->size(), status_->text(), progress_->value()});
        }
        return false;
    }
    /// The progress values painted while the window had `size` and the status `text`.
    QList<int> ProgressPainted(QSize size, const QString& text) const {
        QList<int> values;
        for (const Painted& paint : painted) {
            if (paint.widget == progress_ && paint.windowSize == size && paint.status == text &&
                !values.contains(paint.progress)) {
                values << paint.progress;
            }
        }
        return values;
    }
    /// Whether `widget` was painted while the window had `size` and the status `text`.
    bool WasPainted(const QObject* widget, QSize size, const QString& text) const {
        return std::any_of(painted.begin(), painted.end(), [&](const Painted& paint) {
            return paint.widget == widget && paint.windowSize == size && paint.status == text;
        });
    }
    std::vector<Painted> painted;

private:
    [[nodiscard]] std::array<QWidget*, 3> Watched() const { return {window_, progress_, status_}; }

    QWidget* window_;
    QProgressBar* progress_;
    QLabel* status_;
};

// Runs the window modally, as the application does, and plays `user` once the loop runs; a
// window that does not end within 10 s is ended with 99.
int RunModally(zav::PatcherWindow& window, const std::function<void()>& user) {
    QTimer::singleShot(0, &window, user);
    QTimer::singleShot(10000, &window, [&window] {
        if (window.isVisible()) {
            window.done(99);
        }
    });
    return window.exec();
}

} // namespace

class WindowCommandsTest final : public QObject {
    Q_OBJECT

private slots:
    void addThenInstallAppendsTheDiscRecordToTheGameList();
    void commandIsDrawnInTheFullLayoutWhileItRuns();
    void trashAsksFirstAndDeletesInTheFullLayout();
    void trashAnsweredNoChangesNothing();
    void escapeRunsCancelAndNeverClosesTheWindow();
    void enterRunsCloseAndRemovesTheTemporaryFiles();
    void enterOnAnotherButtonStillRunsClose();
    void closingTheWindowEndsWithExitCodeZero();
    void closingTheWindowDuringACommandWaitsForItsEnd();
    void gameNotDetectedIsFatalWithExitCodeMinusOne();
    void aboutBoxOpensFromF1AndTheContextMenu();
};

void WindowCommandsTest::addThenInstallAppendsTheDiscRecordToTheGameList() {
    WindowRun run;
    QVERIFY2(run.SetupError().empty(), run.SetupError().c_str());
    const QString gameList = run.GameFile(kScripts + QStringLiteral("circuits.bin"));
    const QByteArray original = ReadBytes(gameList);
    const QByteArray disc = ReadBytes(run.DiscFile(QStringLiteral("circuits/Quarry/circuits.bin")));
    QCOMPARE(ReadLe32(original, 0), 18U);
    QCOMPARE(ReadLe32(disc, 0), 1U);
    QVERIFY(run.Start());
    BoxAnswerer answerer(&run.Window(), QMessageBox::Ok);

    ClickEntry(run.List(zav::IDC_NEW_LIST), 0);
    ClickButton(run.Button(zav::IDC_ADD));
    QVERIFY(answerer.boxes.empty());
    QCOMPARE(run.Entries(zav::IDC_ADDED_LIST),
             QStringList({"<Inst.> Harbour", "<Inst.> Dunes", "<Temp.> Quarry"}));
    QCOMPARE(run.Window().ButtonPicture(zav::IDC_INSTALL), 170);
    QCOMPARE(run.Window().ButtonPicture(zav::IDC_CANCEL), 169);
    QCOMPARE(ReadBytes(gameList), original); // only the working copy has it so far

    ClickButton(run.Button(zav::IDC_INSTALL));
    QCOMPARE(answerer.boxes.size(), std::size_t{1});
    const SeenBox& done = answerer.boxes[0];
    QCOMPARE(done.text, QStringLiteral("New data installed successfully."));
    QCOMPARE(done.caption, QStringLiteral("Information"));
    QCOMPARE(done.icon, static_cast<int>(QMessageBox::Information));
    QCOMPARE(done.buttons, static_cast<int>(QMessageBox::Ok));
    QCOMPARE(done.windowSize, QSize(run.Initial().width(), run.Initial().height() - 25));

    QCOMPARE(ReadBytes(gameList), WithCount(19, original.mid(4) + disc.mid(4)));
    QCOMPARE(run.Entries(zav::IDC_ADDED_LIST),
             QStringList({"<Inst.> Harbour", "<Inst.> Dunes", "<Inst.> Quarry"}));
    QCOMPARE(ReadBytes(run.GameFile(QStringLiteral("Data/Binary/Mimg/Quarry.img"))),
             ReadBytes(run.DiscFile(QStringLiteral("circuits/Quarry/Quarry.img"))));
    QCOMPARE(run.Window().ButtonPicture(zav::IDC_INSTALL), 177);
    QCOMPARE(run.Window().ButtonPicture(zav::IDC_CANCEL), 176);
    QCOMPARE(run.WindowSize(), QSize(run.Initial().width(), run.Initial().height() - 25));
    QVERIFY(run.exitCodes.empty());
}

void WindowCommandsTest::commandIsDrawnInTheFullLayoutWhileItRuns() {
    WindowRun run;
    QVERIFY2(run.SetupError().empty(), run.SetupError().c_str());
    QVERIFY(run.Start());
    const QSize initial = run.Initial();
    ClickEntry(run.List(zav::IDC_NEW_LIST), 0);
    ClickEntry(run.List(zav::IDC_NEW_LIST), 3, Qt::ControlModifier);
    QApplication::processEvents();

    auto* progress = qobject_cast<QProgressBar*>(run.Window().Control(zav::IDC_PROGRESS));
    auto* status = qobject_cast<QLabel*>(run.Window().Control(zav::IDC_STATUS));
    PaintRecorder recorder(&run.Window(), progress, status);
    ClickButton(run.Button(zav::IDC_ADD));

    // Two entries: four steps, each drawn in its pause, in the full layout under the command's
    // name; the user sees the command happen although it runs inside the click.
    const QString name = QStringLiteral("Preparing Add Files");
    QVERIFY(recorder.WasPainted(&run.Window(), initial, name));
    QVERIFY(recorder.WasPainted(status, initial, name));
    QCOMPARE(recorder.ProgressPainted(initial, name), QList<int>({1, 2, 3, 4}));
    QCOMPARE(progress->maximum(), 4);
    QVERIFY(progress->geometry().bottom() < initial.height());
    // Back to the very same compact window as after the start-up.
    QCOMPARE(run.WindowSize(), QSize(initial.width(), initial.height() - 25));
}

void WindowCommandsTest::trashAsksFirstAndDeletesInTheFullLayout() {
    WindowRun run;
    QVERIFY2(run.SetupError().empty(), run.SetupError().c_str());
    const QString gameList = run.GameFile(kScripts + QStringLiteral("circuits.bin"));
    const QByteArray original = ReadBytes(gameList);
    QVERIFY(run.Start());
    const QSize initial = run.Initial();
    BoxAnswerer answerer(&run.Window(), QMessageBox::Yes);

    ClickEntry(run.List(zav::IDC_ADDED_LIST), 0);
    ClickButton(run.Button(zav::IDC_TRASH));

    QCOMPARE(answerer.boxes.size(), std::size_t{2});
    const SeenBox& question = answerer.boxes[0];
    QCOMPARE(question.text, QStringLiteral("The 'Harbour' track will be deleted permanently.\n\n"
                                           "Do you want to continue?"));
    QCOMPARE(question.caption, QStringLiteral("Warning"));
    QCOMPARE(question.icon, static_cast<int>(QMessageBox::Warning));
    QCOMPARE(question.buttons, static_cast<int>(QMessageBox::Yes | QMessageBox::No));
    QCOMPARE(question.defaultButton, static_cast<int>(QMessageBox::Yes));
    QCOMPARE(question.windowSize, QSize(initial.width(), initial.height() - 25));
    const SeenBox& deleted = answerer.boxes[1];
    QCOMPARE(deleted.text,
             QStringLiteral("'Harbour' was successfully deleted from your hard disk."));
    QCOMPARE(deleted.caption, QStringLiteral("Information"));
    QCOMPARE(deleted.windowSize, initial); // the full layout, while the command runs

    QCOMPARE(run.WindowSize(), QSize(initial.width(), initial.height() - 25));
    QCOMPARE(run.Entries(zav::IDC_ADDED_LIST), QStringList({"<Inst.> Dunes"}));
    // Harbour was record 17 of 18; Dunes moves up into its place.
    const int record = static_cast<int>((original.size() - 4) / 18);
    const QByteArray after = ReadBytes(gameList);
    QCOMPARE(after.left(4 + 17 * record),
             WithCount(17, original.mid(4, 16 * record) + original.mid(4 + 17 * record, record)));
    QVERIFY(!QFileInfo::exists(run.GameFile(QStringLiteral("Data/Binary/Mimg/Harbour.img"))));
    QVERIFY(QFileInfo::exists(run.GameFile(QStringLiteral("Data/Binary/Mimg/Dunes.img"))));
}

void WindowCommandsTest::trashAnsweredNoChangesNothing() {
    WindowRun run;
    QVERIFY2(run.SetupError().empty(), run.SetupError().c_str());
    const QString gameList = run.GameFile(kScripts + QStringLiteral("circuits.bin"));
    const QByteArray original = ReadBytes(gameList);
    QVERIFY(run.Start());
    BoxAnswerer answerer(&run.Window(), QMessageBox::No);

    ClickEntry(run.List(zav::IDC_ADDED_LIST), 1);
    ClickButton(run.Button(zav::IDC_TRASH));

    QCOMPARE(answerer.boxes.size(), std::size_t{1});
    QVERIFY(answerer.boxes[0].text.startsWith(QStringLiteral("The 'Dunes' track")));
    QCOMPARE(ReadBytes(gameList), original);
    QVERIFY(QFileInfo::exists(run.GameFile(QStringLiteral("Data/Binary/Mimg/Dunes.img"))));
    QCOMPARE(run.Entries(zav::IDC_ADDED_LIST), QStringList({"<Inst.> Harbour", "<Inst.> Dunes"}));
    QVERIFY(run.List(zav::IDC_ADDED_LIST)->selectedItems().isEmpty());
    QCOMPARE(run.Window().ButtonPicture(zav::IDC_TRASH), 179);
    QCOMPARE(run.WindowSize(), QSize(run.Initial().width(), run.Initial().height() - 25));
}

void WindowCommandsTest::escapeRunsCancelAndNeverClosesTheWindow() {
    WindowRun run;
    QVERIFY2(run.SetupError().empty(), run.SetupError().c_str());
    QVERIFY(run.Start());
    zav::PatcherWindow& window = run.Window();
    const QString workList = run.HostPath(run.Dialog().Session().analysis.TrackWorkListPath);
    const QByteArray gameList = ReadBytes(run.GameFile(kScripts + QStringLiteral("circuits.bin")));
    ClickEntry(run.List(zav::IDC_NEW_LIST), 1);
    ClickButton(run.Button(zav::IDC_ADD));
    QCOMPARE(window.ButtonPicture(zav::IDC_CANCEL), 169);
    QVERIFY(ReadBytes(workList) != gameList);

    QStringList afterEscape;
    bool visibleAfterEscape = false;
    bool visibleAfterSecondEscape = false;
    const int result = RunModally(window, [&] {
        QListWidget* proposed = run.List(zav::IDC_NEW_LIST);
        QTest::keyClick(proposed, Qt::Key_Escape);
        visibleAfterEscape = window.isVisible();
        afterEscape = run.Entries(zav::IDC_ADDED_LIST);
        // Nothing to cancel now: Escape still leaves the window open.
        QTest::keyClick(proposed, Qt::Key_Escape);
        visibleAfterSecondEscape = window.isVisible();
        QTest::keyClick(proposed, Qt::Key_Return);
    });

    QVERIFY(visibleAfterEscape);
    QVERIFY(visibleAfterSecondEscape);
    QCOMPARE(afterEscape, QStringList({"<Inst.> Harbour", "<Inst.> Dunes"}));
    QCOMPARE(result, zav::IDOK);
    QVERIFY(run.exitCodes.empty());
}

void WindowCommandsTest::enterRunsCloseAndRemovesTheTemporaryFiles() {
    WindowRun run;
    QVERIFY2(run.SetupError().empty(), run.SetupError().c_str());
    QVERIFY(run.Start());
    const QStringList temporary = TemporaryFiles(run);
    for (const QString& path : temporary) {
        QVERIFY2(QFileInfo::exists(path), qPrintable(path));
    }

    const int result = RunModally(
        run.Window(), [&] { QTest::keyClick(run.List(zav::IDC_NEW_LIST), Qt::Key_Return); });

    QCOMPARE(result, zav::IDOK);
    QVERIFY(!run.Window().isVisible());
    for (const QString& path : temporary) {
        QVERIFY2(!QFileInfo::exists(path), qPrintable(path));
    }
    QVERIFY(run.exitCodes.empty());
}

void WindowCommandsTest::enterOnAnotherButtonStillRunsClose() {
    WindowRun run;
    QVERIFY2(run.SetupError().empty(), run.SetupError().c_str());
    QVERIFY(run.Start());
    BoxAnswerer answerer(&run.Window(), QMessageBox::Ok);
    ClickEntry(run.List(zav::IDC_NEW_LIST), 0);

    const int result = RunModally(run.Window(), [&] {
        QPushButton* add = run.Button(zav::IDC_ADD);
        add->setFocus();
        QTest::keyClick(add, Qt::Key_Enter);
    });

    QCOMPARE(result, zav::IDOK);
    QVERIFY(answerer.boxes.empty());
    // "Add to List" did not run: the working list never got the entry.
    QCOMPARE(run.Dialog().Session().analysis.TrackRecordsAppended, 0);
}

void WindowCommandsTest::closingTheWindowEndsWithExitCodeZero() {
    WindowRun run;
    QVERIFY2(run.SetupError().empty(), run.SetupError().c_str());
    QVERIFY(run.Start());
    const QStringList temporary = TemporaryFiles(run);

    QVERIFY(run.Window().close());

    QCOMPARE(run.exitCodes, std::vector<int>({0}));
    for (const QString& path : temporary) {
        QVERIFY2(!QFileInfo::exists(path), qPrintable(path));
    }
}

void WindowCommandsTest::closingTheWindowDuringACommandWaitsForItsEnd() {
    WindowRun run;
    QVERIFY2(run.SetupError().empty(), run.SetupError().c_str());
    QVERIFY(run.Start());
    const QSize initial = run.Initial();
    const QString workList = run.HostPath(run.Dialog().Session().analysis.TrackWorkListPath);
    ClickEntry(run.List(zav::IDC_NEW_LIST), 0);

    // The window system's close request arrives while "Add to List" pauses after a step.
    class CloseInPause final : public QObject {
    public:
        explicit CloseInPause(QWidget* window) : window_(window) {}
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint && !armed_) {
                armed_ = true;
                QTimer::singleShot(0, window_, [this] { window_->close(); });
            }
            return false;
        }

    private:
        QWidget* window_;
        bool armed_ = false;
    } closer(&run.Window());
    QWidget* progress = run.Window().Control(zav::IDC_PROGRESS);
    progress->installEventFilter(&closer);
    std::int32_t pendingAtExit = -1;
    QSize sizeAtExit;
    QStringList addedAtExit;
    run.atExit = [&](int) {
        pendingAtExit = run.Dialog().State().TrackAddPending;
        sizeAtExit = run.WindowSize();
        addedAtExit = run.Entries(zav::IDC_ADDED_LIST);
    };

    ClickButton(run.Button(zav::IDC_ADD));
    progress->removeEventFilter(&closer);

    // The command ran to its end first; then the window closed as asked.
    QCOMPARE(run.exitCodes, std::vector<int>({0}));
    QCOMPARE(pendingAtExit, 1);
    QCOMPARE(sizeAtExit, QSize(initial.width(), initial.height() - 25));
    QCOMPARE(addedAtExit, QStringList({"<Inst.> Harbour", "<Inst.> Dunes", "<Temp.> Quarry"}));
    QVERIFY(!QFileInfo::exists(workList));
}

void WindowCommandsTest::gameNotDetectedIsFatalWithExitCodeMinusOne() {
    WindowRun run({}, false);
    QVERIFY2(run.SetupError().empty(), run.SetupError().c_str());
    BoxAnswerer answerer(&run.Window(), QMessageBox::Ok);

    QVERIFY(!run.Start());

    QCOMPARE(run.exitCodes, std::vector<int>({-1}));
    QCOMPARE(answerer.boxes.size(), std::size_t{1});
    QCOMPARE(answerer.boxes[0].text, QStringLiteral("ZAV not detected"));
    QCOMPARE(answerer.boxes[0].caption, QStringLiteral("Fatal Error"));
    QCOMPARE(answerer.boxes[0].icon, static_cast<int>(QMessageBox::Critical));
    QCOMPARE(answerer.boxes[0].buttons, static_cast<int>(QMessageBox::Ok));
    // The box is the only window the user saw, and the game was not touched.
    QVERIFY(!run.Window().isVisible());
    QVERIFY(!QFileInfo::exists(run.GameFile(kScripts + QStringLiteral("circuits.sav"))));
}

void WindowCommandsTest::aboutBoxOpensFromF1AndTheContextMenu() {
    WindowRun run;
    QVERIFY2(run.SetupError().empty(), run.SetupError().c_str());
    QVERIFY(run.Start());
    zav::PatcherWindow& window = run.Window();
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
            auto* ok = modal->findChild<QPushButton*>(QStringLiteral("1"));
            QTest::mouseClick(ok, Qt::LeftButton);
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
