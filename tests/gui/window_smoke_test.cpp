// The window over the dialog on a sample game: its compact layout, its controls wired to the
// dialog, its message boxes and menu, the keys that close it and do not, what a screen reader
// hears, the game's language in Qt's own texts, and a large scale on a small screen.
#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryFile>
#include <QTest>
#include <QTimer>

#include "patcher_window.h"
#include "platform/posix/posix_file_system.h"
#include "platform/profile_reader.h"
#include "settings/game_location.h"
#include "shell/patcher_dialog.h"
#include "source_opening.h"
#include "support/test_game.h"

using namespace zav;
class WindowSmokeTest final : public QObject {
    Q_OBJECT
private slots:
    void opensOnASampleGameAndReachesTheDialog();
    void speaksFrenchAndKeepsEveryLayoutOnTheScreen();
    void readsTheListsAgainFromADroppedOrChosenSource();
};

namespace {

// A window and its dialog on `game`; message boxes and menus are answered as a user would, with
// `answer`, and recorded as "<icon> <text>" and "menu <entries>".
struct WindowRun {
    explicit WindowRun(test::TestGame& game, QMessageBox::StandardButton answer)
        : files(game.prefix), profile(files), window(Options(exits)),
          dialog(files, profile, window, game.disc) {
        window.AttachDialog(&dialog);
        answerer.callOnTimeout([this, answer] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                QStringList entries;
                for (const QAction* action : menu->actions()) {
                    entries << action->text();
                }
                shown << QStringLiteral("menu ") + entries.join(QLatin1Char('|'));
                menu->close();
            } else if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shown << QStringLiteral("%1 %2").arg(box->icon()).arg(box->text());
                yesButtonText = box->button(QMessageBox::Yes) != nullptr
                                    ? box->button(QMessageBox::Yes)->text().remove('&')
                                    : QString();
                QTest::mouseClick(box->button(box->button(answer) ? answer : QMessageBox::Ok),
                                  Qt::LeftButton);
            }
        });
        answerer.start(10);
    }
    ~WindowRun() { window.AttachDialog(nullptr); }
    static PatcherWindow::Options Options(std::vector<int>& exits) {
        return {.pauses = false,
                .exitProcess = [&exits](int code) { exits.push_back(code); },
                .chooseSource = {}};
    }
    QListWidget* List(std::int32_t id) const {
        return qobject_cast<QListWidget*>(window.Control(id));
    }
    void Click(std::int32_t list, int row) const {
        QTest::mouseClick(List(list)->viewport(), Qt::LeftButton, Qt::NoModifier,
                          List(list)->visualItemRect(List(list)->item(row)).center());
    }
    void Press(std::int32_t id) const { QTest::mouseClick(window.Control(id), Qt::LeftButton); }

    std::vector<int> exits;
    PosixFileSystem files;
    FileSystemProfile profile;
    PatcherWindow window;
    PatcherDialog dialog;
    QTimer answerer;
    QStringList shown;
    QString yesButtonText;
};

} // namespace

void WindowSmokeTest::opensOnASampleGameAndReachesTheDialog() {
    test::TestGame game;
    WindowRun run(game, QMessageBox::Ok);
    QVERIFY(run.dialog.OnInitDialog());
    QListWidget* added = run.List(IDC_ADDED_LIST);
    // A screen reader hears each picture's words, whether its command acts now, and the lists
    // by their labels.
    const auto hearsButtons = [&run] {
        for (const ButtonPictures& pictures : kButtonPictures) {
            const QWidget* button = run.window.Control(pictures.button);
            QCOMPARE(button->accessibleName().toUpper(), QString::fromLatin1(pictures.caption));
            QCOMPARE(button->accessibleDescription(),
                     run.window.ButtonPicture(pictures.button) == pictures.inactive
                         ? QStringLiteral("Not available now.")
                         : QStringLiteral("Available now."));
        }
    };
    hearsButtons();
    QCOMPARE(run.window.Control(IDC_ADD)->accessibleDescription(), "Not available now.");
    run.Click(IDC_NEW_LIST, 0);
    hearsButtons();
    QCOMPARE(run.window.Control(IDC_ADD)->accessibleDescription(), "Available now.");
    QCOMPARE(run.List(IDC_PRESENT_LIST)->accessibleName() + "|" +
                 run.List(IDC_NEW_LIST)->accessibleName() + "|" + added->accessibleName(),
             QStringLiteral("Present Set Data|New Proposed Data|Added Data"));
    run.Press(IDC_ADD);
    QCOMPARE(added->item(added->count() - 1)->text(), QStringLiteral("<Temp.> Quarry"));
    run.Press(IDC_INSTALL);
    QCOMPARE(run.shown, QStringList({"1 New data installed successfully."}));
    QCOMPARE(added->item(added->count() - 1)->text(), QStringLiteral("<Inst.> Quarry"));
    // Run modally, as the application does: Enter on a focused button presses it, Shift+F10 opens
    // the menu, Escape runs Cancel and leaves the window open; Enter in a list is Close. A window
    // that does not end is ended with 99.
    bool addedByEnter = false;
    bool openAfterEscape = false;
    QTimer::singleShot(10000, &run.window, [&run] { run.window.done(99); });
    QTimer::singleShot(0, &run.window, [&] {
        run.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&run.window));
        run.Click(IDC_NEW_LIST, 1);
        QTest::keyClick(run.window.Control(IDC_ADD), Qt::Key_Enter);
        addedByEnter = added->count() == 4;
        QTest::keyClick(run.List(IDC_NEW_LIST), Qt::Key_F10, Qt::ShiftModifier);
        QTest::keyClick(run.List(IDC_NEW_LIST), Qt::Key_Escape);
        openAfterEscape = run.window.isVisible() && added->count() == 3;
        QTest::keyClick(run.List(IDC_NEW_LIST), Qt::Key_Return);
    });
    QCOMPARE(run.window.exec(), static_cast<int>(IDOK));
    QVERIFY(addedByEnter);
    QCOMPARE(
        run.shown.last(),
        QStringLiteral("menu About ZAV Data Patcher...|Undo last change...|Check the game..."));
    QVERIFY(openAfterEscape);
    QVERIFY(run.exits.empty());
}

void WindowSmokeTest::speaksFrenchAndKeepsEveryLayoutOnTheScreen() {
    test::TestGame game;
    const std::string settings = game.prefix + "/drive_c/windows/Quorvex/Qvx.ini";
    const auto english = test::ReadFile(settings);
    std::string text(english.begin(), english.end());
    text.replace(text.find("Language=English"), 16, "Language=French");
    test::WriteFile(settings, text);
    WindowRun run(game, QMessageBox::No);
    run.window.SetLanguage(2 * LANGUAGE_BLOCK_STRIDE);
    QVERIFY(run.dialog.OnInitDialog());
    QCOMPARE(run.window.Control(IDC_CLOSE)->accessibleName(), QStringLiteral("Quitter"));
    run.Click(IDC_ADDED_LIST, 0);
    run.Press(IDC_TRASH);
    QCOMPARE(run.yesButtonText, QStringLiteral("Oui"));

    // main() gives the screen 1280 × 1024 pixels and the scale factor 2.
    const QRect area = run.window.screen()->availableGeometry();
    QCOMPARE(area.size(), QSize(640, 512));
    for (const Layout layout :
         {Layout::Full, Layout::TrackPreview, Layout::CarPreview, Layout::Compact}) {
        run.dialog.ChangeLayout(layout);
        QVERIFY2(area.contains(run.window.frameGeometry()), std::to_string(int(layout)).c_str());
    }
}

// The start every face makes, with a folder as a bare argument gives it; a drop and the menu's
// "Open disc or pack..." then name a lone track folder and the disc again.
void WindowSmokeTest::readsTheListsAgainFromADroppedOrChosenSource() {
    test::TestGame game;
    std::string problem;
    const auto folders = ResolveStartFolders(game.prefix, game.disc, problem);
    QVERIFY(folders.has_value());
    ProgramStart start(*folders);
    start.OpenSource();
    std::vector<int> exits;
    PatcherWindow::Options options = WindowRun::Options(exits);
    options.chooseSource = [&game] { return game.disc; };
    PatcherWindow window(std::move(options));
    PatcherDialog& dialog = start.Wire(window);
    window.AttachDialog(&dialog);
    QStringList shown;
    QTimer answerer; // pending work is cancelled (No), every notice taken
    answerer.callOnTimeout([&shown] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown << box->text();
            QTest::mouseClick(
                box->button(box->button(QMessageBox::No) ? QMessageBox::No : QMessageBox::Ok),
                Qt::LeftButton);
        }
    });
    answerer.start(10);
    QVERIFY(dialog.OnInitDialog());
    const auto proposed = [&window] {
        const auto* list = qobject_cast<QListWidget*>(window.Control(IDC_NEW_LIST));
        QStringList names;
        for (int row = 0; row < list->count(); ++row) {
            names << list->item(row)->text();
        }
        return names.join(QLatin1Char('|'));
    };
    QCOMPARE(proposed(), QStringLiteral("Quarry|Riverside|Summit|Tundra"));
    QCOMPARE(dialog.MenuEntries().front().words, OwnTextId::OpenSourceMenuItem);

    auto* list = qobject_cast<QListWidget*>(window.Control(IDC_NEW_LIST));
    list->item(1)->setSelected(true);
    dialog.OnSelchangeNewList();
    QTest::mouseClick(window.Control(IDC_ADD), Qt::LeftButton);
    QCOMPARE(dialog.State().TrackAddPending, 1);

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(game.Disc("circuits/Summit")))});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
    QTRY_COMPARE(proposed(), QStringLiteral("Summit"));
    QCOMPARE(shown.size(), 1); // the question; the work was cancelled
    QVERIFY(shown.front().startsWith("Entries added to the list are not installed yet."));
    QCOMPARE(dialog.State().TrackAddPending, 0);

    QVERIFY(!dialog.OnMenuCommand(PatcherDialog::MenuCommand::OpenSource));
    QCOMPARE(proposed(), QStringLiteral("Quarry|Riverside|Summit|Tundra"));
    dialog.OnHelp();
    QVERIFY(shown.last().endsWith(QString::fromStdString("The new data: " + game.disc)));
    window.AttachDialog(nullptr);
}

int main(int argc, char** argv) {
    QTemporaryFile screens;
    if (!screens.open() ||
        screens.write(R"({"screens": [{"name": "s", "x": 0, "y": 0, "width": 1280, "height": 1024,
                          "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})") < 0) {
        return 1;
    }
    screens.flush();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + screens.fileName().toLocal8Bit());
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication application(argc, argv);
    WindowSmokeTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "window_smoke_test.moc"
