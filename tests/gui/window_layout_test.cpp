// The window on a sample game: lists, tabs, selection, button pictures, layouts and previews.
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

#include "preview/picture_decoder.h"
#include "shell/window_model.h"
#include "window_run.h"

using zav::test::BoxAnswerer;
using zav::test::ClickButton;
using zav::test::ClickEntry;
using zav::test::ClickTab;
using zav::test::ReadBytes;
using zav::test::ReadLe16;
using zav::test::ReadLe32;
using zav::test::WindowRun;

namespace {

const QStringList kBaseTracks = {"Alpine",  "Bayside",  "Canyon", "Delta",  "Estuary", "Fjord",
                                 "Glacier", "Highland", "Island", "Jungle", "Kestrel", "Lagoon",
                                 "Meadow",  "Nordic",   "Oasis",  "Prairie"};
const QStringList kBaseCars = {"Tolva", "Rusko",  "Mervi", "Kaltun",
                               "Zq2",   "Brenik", "Ostra", "Vel"};

// The pictures of buttons 5, 3, 4, 6, 2 and 1.
QList<int> Pictures(const zav::PatcherWindow& window) {
    QList<int> pictures;
    for (const std::int32_t button : {zav::IDC_ADD, zav::IDC_DISPLAY, zav::IDC_INSTALL,
                                      zav::IDC_TRASH, zav::IDC_CANCEL, zav::IDC_CLOSE}) {
        pictures << window.ButtonPicture(button);
    }
    return pictures;
}

QList<int> SelectedRows(const QListWidget* list) {
    QList<int> rows;
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->isSelected()) {
            rows << i;
        }
    }
    return rows;
}

zav::RgbImage DecodeFile(const QString& path, std::int32_t kind) {
    const QByteArray bytes = ReadBytes(path);
    return zav::DecodePicture(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                        static_cast<std::size_t>(bytes.size())),
                              kind);
}

QColor PictureColour(const zav::RgbImage& image, int x, int y) {
    const auto at = static_cast<std::size_t>(3 * (y * image.width + x));
    return QColor(image.rgb[at], image.rgb[at + 1], image.rgb[at + 2]);
}

// How many pixels of `image` differ from the window's picture at `origin`.
int Mismatches(const QImage& window, QPoint origin, const zav::RgbImage& image) {
    int mismatches = 0;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if (window.pixelColor(origin + QPoint(x, y)) != PictureColour(image, x, y)) {
                ++mismatches;
            }
        }
    }
    return mismatches;
}

} // namespace

class WindowLayoutTest final : public QObject {
    Q_OBJECT

private slots:
    void startUpShowsTheTracksInTheCompactLayout();
    void waitDialogIsShownDuringTheAnalysisAndGoneAfterwards();
    void switchingTabsShowsTheOtherKindAndDropsTheSelection();
    void listsSelectAsTheirRolesSay();
    void buttonPicturesFollowTheFlags();
    void pictureButtonsAreNeverDisabledAndAreNamed();
    void trackPreviewDrawsEveryRowOfAnOddWidthPictureInPlace();
    void carPreviewDrawsTheLeft332ColumnsOnly();
    void textsLongerThanTheirPlaceShrinkToFitIt();
};

void WindowLayoutTest::startUpShowsTheTracksInTheCompactLayout() {
    WindowRun run;
    QVERIFY2(run.SetupError().empty(), run.SetupError().c_str());
    QVERIFY(run.Start());
    zav::PatcherWindow& window = run.Window();

    QVERIFY(window.isVisible());
    QCOMPARE(window.windowTitle(), QStringLiteral("ZAV Data Patcher"));
    QCOMPARE(window.windowIcon().availableSizes(),
             QList<QSize>({QSize(16, 16), QSize(32, 32), QSize(48, 48)}));
    QCOMPARE(run.LabelText(zav::IDC_PRESENT_LABEL), QStringLiteral("Present Set Data"));
    QCOMPARE(run.LabelText(zav::IDC_NEW_LABEL), QStringLiteral("New Proposed Data"));
    QCOMPARE(run.LabelText(zav::IDC_ADDED_LABEL), QStringLiteral("Added Data"));
    QCOMPARE(run.Tabs()->count(), 2);
    QCOMPARE(run.Tabs()->tabText(0), QStringLiteral("Tracks"));
    QCOMPARE(run.Tabs()->tabText(1), QStringLiteral("Cars"));
    QCOMPARE(run.Tabs()->currentIndex(), 0);

    QCOMPARE(run.Entries(zav::IDC_PRESENT_LIST), kBaseTracks);
    QCOMPARE(run.Entries(zav::IDC_NEW_LIST),
             QStringList({"Quarry", "Riverside", "Summit", "Tundra"}));
    // Installed entries keep the game list's order, which is not the alphabet's.
    QCOMPARE(run.Entries(zav::IDC_ADDED_LIST), QStringList({"<Inst.> Harbour", "<Inst.> Dunes"}));
    QCOMPARE(run.LabelText(zav::IDC_FREE_SPACE), QString());
    QCOMPARE(run.LabelText(zav::IDC_REQUIRED_SPACE), QString());

    // The initial rectangle is the template's 228 × 281 dialog units; the compact layout takes
    // the progress strip off the bottom and leaves the window where it was.
    const zav::DialogUnits& units = window.Units();
    QCOMPARE(run.Initial(),
             QSize(units.X(zav::MAIN_DIALOG_WIDTH_DLU), units.Y(zav::MAIN_DIALOG_HEIGHT_DLU)));
    const zav::WindowRect& initial = run.Dialog().State().InitialWindowRect;
    QCOMPARE(run.WindowSize(), QSize(initial.Width(), initial.Height() - 25));
    QCOMPARE(window.frameGeometry().topLeft(), QPoint(initial.left, initial.top));
    // The compact layout hides the progress strip; the full one holds it.
    const QWidget* progress = window.Control(zav::IDC_PROGRESS);
    QVERIFY(progress->geometry().top() >= window.height());
    QVERIFY(progress->geometry().bottom() < initial.Height());
    QVERIFY(window.Control(zav::IDC_CLOSE)->geometry().bottom() < window.height());
    QVERIFY(run.exitCodes.empty());
}

void WindowLayoutTest::waitDialogIsShownDuringTheAnalysisAndGoneAfterwards() {
    // Watches every widget shown while the start-up runs.
    class ShowWatcher final : public QObject {
    public:
        QStringList texts;
        bool eventFilter(QObject* watched, QEvent* event) override {
            if (event->type() == QEvent::Show && watched->objectName() == QLatin1String("182")) {
                auto* label = watched->findChild<QLabel*>(QStringLiteral("1021"));
                texts << static_cast<QWidget*>(watched)->windowTitle()
                      << (label != nullptr ? label->text() : QString());
            }
            return false;
        }
    } watcher;
    qApp->installEventFilter(&watcher);
    WindowRun run;
    QVERIFY2(run.SetupError().empty(), run.SetupError().c_str());
    const bool started = run.Start();
    qApp->removeEventFilter(&watcher);
    QVERIFY(started);

    QCOMPARE(watcher.texts,
             QStringList({"Zav Vantrel", "Please be patient while available tracks and cars are "
                                         "being analyzed..."}));
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        QVERIFY(widget->objectName() != QLatin1String("182") || !widget->isVisible());
    }
}

void WindowLayoutTest::switchingTabsShowsTheOtherKindAndDropsTheSelection() {
    WindowRun run;
    QVERIFY2(run.SetupError().empty(), run.SetupError().c_str());
    QVERIFY(run.Start());
    ClickEntry(run.List(zav::IDC_NEW_LIST), 0);
    QCOMPARE(run.Window().ButtonPicture(zav::IDC_ADD), 173);

    ClickTab(run.Tabs(), 1);
    QCOMPARE(run.Tabs()->currentIndex(), 1);
    QCOMPARE(run.Entries(zav::IDC_PRESENT_LIST), kBaseCars);
    QCOMPARE(run.Entries(zav::IDC_NEW_LIST), QStringList({"Comet", "Lynx", "Mistral", "Nomad"}));
    QCOMPARE(run.Entries(zav::IDC_ADDED_LIST), QStringList({"<Inst.> Falcon", "<Inst.> Viper"}));
    QVERIFY(SelectedRows(run.List(zav::IDC_NEW_LIST)).isEmpty());
    QCOMPARE(Pictures(run.Window()), QList<int>({180, 175, 177, 179, 176, 171}));
    QCOMPARE(run.LabelText(zav::IDC_REQUIRED_SPACE), QString());

    ClickTab(run.Tabs(), 0);
    QCOMPARE(run.Entries(zav::IDC_PRESENT_LIST), kBaseTracks);
    QCOMPARE(run.Entries(zav::IDC_NEW_LIST),
             QStringList({"Quarry", "Riverside", "Summit", "Tundra"}));
}

void WindowLayoutTest::listsSelectAsTheirRolesSay() {
    WindowRun run;
    QVERIFY2(run.SetupError().empty(), run.SetupError().c_str());
    QVERIFY(run.Start());
    QListWidget* present = run.List(zav::IDC_PRESENT_LIST);
    QListWidget* proposed = run.List(zav::IDC_NEW_LIST);
    QListWidget* added = run.List(zav::IDC_ADDED_LIST);

    QCOMPARE(present->selectionMode(), QAbstractItemView::NoSelection);
    QVERIFY(!present->isEnabled());
    QCOMPARE(proposed->selectionMode(), QAbstractItemView::ExtendedSelection);
    QCOMPARE(added->selectionMode(), QAbstractItemView::SingleSelection);
    for (const QListWidget* list : {present, proposed, added}) {
        QVERIFY(!list->isSortingEnabled());
    }
    ClickEntry(present, 3);
    QVERIFY(SelectedRows(present).isEmpty());

    ClickEntry(proposed, 0);
    ClickEntry(proposed, 2, Qt::ControlModifier);
    QCOMPARE(SelectedRows(proposed), QList<int>({0, 2}));
    QVERIFY(run.LabelText(zav::IDC_FREE_SPACE)
                .startsWith(QStringLiteral("Free space available on your drive : ")));
    QVERIFY(run.LabelText(zav::IDC_FREE_SPACE).endsWith(QStringLiteral(" Mb")));
    QVERIFY(run.LabelText(zav::IDC_REQUIRED_SPACE)
                .startsWith(QStringLiteral("Space required for new data : ")));
    QVERIFY(run.LabelText(zav::IDC_REQUIRED_SPACE).endsWith(QStringLiteral(" Kb")));

    // Selecting in "Added Data" drops the proposed selection; one added entry at a time.
    ClickEntry(added, 0);
    QVERIFY(SelectedRows(proposed).isEmpty());
    QCOMPARE(SelectedRows(added), QList<int>({0}));
    ClickEntry(added, 1, Qt::ControlModifier);
    QCOMPARE(SelectedRows(added), QList<int>({1}));
    QCOMPARE(run.LabelText(zav::IDC_REQUIRED_SPACE), QString());

    // And the other way round.
    ClickEntry(proposed, 1);
    QVERIFY(SelectedRows(added).isEmpty());
    QCOMPARE(SelectedRows(proposed), QList<int>({1}));
}

void WindowLayoutTest::buttonPicturesFollowTheFlags() {
    WindowRun run;
    QVERIFY2(run.SetupError().empty(), run.SetupError().c_str());
    QVERIFY(run.Start());
    zav::PatcherWindow& window = run.Window();
    QListWidget* proposed = run.List(zav::IDC_NEW_LIST);
    QCOMPARE(Pictures(window), QList<int>({180, 175, 177, 179, 176, 171}));

    ClickEntry(proposed, 0);
    QCOMPARE(Pictures(window), QList<int>({173, 168, 177, 179, 176, 171}));
    ClickEntry(proposed, 1, Qt::ControlModifier);
    QCOMPARE(Pictures(window), QList<int>({173, 175, 177, 179, 176, 171}));
    ClickEntry(proposed, 1, Qt::ControlModifier);
    ClickEntry(proposed, 0, Qt::ControlModifier);
    QCOMPARE(Pictures(window), QList<int>({180, 175, 177, 179, 176, 171}));

    // An installed entry can go while nothing waits for installation.
    ClickEntry(run.List(zav::IDC_ADDED_LIST), 0);
    QCOMPARE(Pictures(window), QList<int>({180, 175, 177, 172, 176, 171}));

    // What the button shows is the picture itself, pixel for pixel.
    const auto* add = run.Button(zav::IDC_ADD);
    const QImage shown =
        add->icon().pixmap(QSize(50, 50)).toImage().convertToFormat(QImage::Format_RGB32);
    const QImage inactive =
        QImage(QStringLiteral(":/bitmaps/180.png")).convertToFormat(QImage::Format_RGB32);
    const QImage active =
        QImage(QStringLiteral(":/bitmaps/173.png")).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(inactive.size(), QSize(50, 50));
    QVERIFY(inactive != active);
    QCOMPARE(shown, inactive);
    ClickEntry(proposed, 0);
    QCOMPARE(add->icon().pixmap(QSize(50, 50)).toImage().convertToFormat(QImage::Format_RGB32),
             active);
}

void WindowLayoutTest::pictureButtonsAreNeverDisabledAndAreNamed() {
    WindowRun run;
    QVERIFY2(run.SetupError().empty(), run.SetupError().c_str());
    QVERIFY(run.Start());
    const QList<QPair<std::int32_t, QString>> names = {
        {zav::IDC_ADD, "Add to List"},     {zav::IDC_DISPLAY, "Display ->"},
        {zav::IDC_INSTALL, "Install New"}, {zav::IDC_TRASH, "Trash"},
        {zav::IDC_CANCEL, "Cancel"},       {zav::IDC_CLOSE, "Close"}};
    auto checkButtons = [&] {
        for (const auto& [id, name] : names) {
            const QPushButton* button = run.Button(id);
            QVERIFY(button->isEnabled());
            QCOMPARE(button->toolTip(), name);
            QCOMPARE(button->accessibleName(), name);
            QCOMPARE(button->iconSize(), QSize(50, 50));
        }
    };
    checkButtons();

    // An inactive command's button takes the click and does nothing.
    BoxAnswerer answerer(&run.Window(), QMessageBox::Ok);
    ClickButton(run.Button(zav::IDC_INSTALL));
    ClickButton(run.Button(zav::IDC_TRASH));
    ClickButton(run.Button(zav::IDC_ADD));
    QVERIFY(answerer.boxes.empty());
    QCOMPARE(run.WindowSize(), QSize(run.Initial().width(), run.Initial().height() - 25));

    ClickEntry(run.List(zav::IDC_NEW_LIST), 0);
    ClickButton(run.Button(zav::IDC_DISPLAY));
    QCOMPARE(run.Dialog().State().PreviewShown, 1);
    checkButtons();
    ClickButton(run.Button(zav::IDC_DISPLAY));
}

void WindowLayoutTest::trackPreviewDrawsEveryRowOfAnOddWidthPictureInPlace() {
    WindowRun run;
    QVERIFY2(run.SetupError().empty(), run.SetupError().c_str());
    QVERIFY(run.Start());
    const QSize initial = run.Initial();
    const QPoint origin(initial.width() - 5, initial.height() * 20 / 100);
    const QRect edge(origin, QSize(5, 200)); // the compact window's last five columns
    const QImage before = run.Window().grab().toImage().copy(edge);
    ClickEntry(run.List(zav::IDC_NEW_LIST), 0);
    ClickButton(run.Button(zav::IDC_DISPLAY));

    QCOMPARE(run.WindowSize(), QSize(initial.width() + 298, initial.height() - 80));
    QCOMPARE(run.Window().ButtonPicture(zav::IDC_DISPLAY), 174);
    QVERIFY(!run.List(zav::IDC_NEW_LIST)->isEnabled());
    QVERIFY(!run.List(zav::IDC_ADDED_LIST)->isEnabled());
    QVERIFY(!run.Tabs()->isEnabled());

    // Quarry's picture is 286 pixels wide: rows that are not a multiple of 4 long.
    const zav::RgbImage picture =
        DecodeFile(run.DiscFile(QStringLiteral("circuits/Quarry/Quarry.img")), 0);
    QCOMPARE(QSize(picture.width, picture.height), QSize(286, 200));
    const QImage shown = run.Window().grab().toImage();
    QCOMPARE(Mismatches(shown, origin, picture), 0);
    // Nothing is drawn beside it.
    QVERIFY(shown.pixelColor(origin + QPoint(picture.width, 10)) !=
            PictureColour(picture, picture.width - 1, 10));

    ClickButton(run.Button(zav::IDC_DISPLAY));
    QCOMPARE(run.WindowSize(), QSize(initial.width(), initial.height() - 25));
    QCOMPARE(SelectedRows(run.List(zav::IDC_NEW_LIST)), QList<int>({0}));
    QCOMPARE(run.Window().ButtonPicture(zav::IDC_DISPLAY), 168);
    QVERIFY(run.List(zav::IDC_NEW_LIST)->isEnabled());
    QVERIFY(run.Tabs()->isEnabled());
    // Every paint draws the last preview again, but none of it shows in the compact window.
    QCOMPARE(run.Window().grab().toImage().copy(edge), before);
}

void WindowLayoutTest::carPreviewDrawsTheLeft332ColumnsOnly() {
    WindowRun run;
    QVERIFY2(run.SetupError().empty(), run.SetupError().c_str());
    QVERIFY(run.Start());
    const QSize initial = run.Initial();
    ClickTab(run.Tabs(), 1);
    ClickEntry(run.List(zav::IDC_NEW_LIST), 0);
    ClickButton(run.Button(zav::IDC_DISPLAY));
    QCOMPARE(run.WindowSize(), QSize(initial.width() + 342, initial.height() - 80));

    const QString path = run.DiscFile(QStringLiteral("voitures/Comet/Comet.img"));
    const zav::RgbImage picture = DecodeFile(path, 1);
    QCOMPARE(QSize(picture.width, picture.height), QSize(332, 256));
    const QImage shown = run.Window().grab().toImage();
    const QPoint origin(initial.width() - 5, initial.height() * 9 / 100);
    QCOMPARE(Mismatches(shown, origin, picture), 0);

    // The file's rows are 360 pixels long, with a chequered band from column 332 on; the window
    // shows 15 of those columns, and they must show the window's own background.
    const QByteArray bytes = ReadBytes(path);
    const qsizetype pixels = 12 + 16 * ReadLe32(bytes, 0) + 512 * ReadLe32(bytes, 8);
    const QColor background = shown.pixelColor(origin + QPoint(332, -2));
    int bandColours = 0;
    for (int y = 0; y < 256; ++y) {
        for (int x = 332; x < initial.width() + 342 - origin.x(); ++x) {
            QCOMPARE(shown.pixelColor(origin + QPoint(x, y)), background);
            const quint32 colour = ReadLe16(bytes, pixels + 2 * (y * 360 + x));
            const QColor band(((colour >> 10) & 31) * 8, ((colour >> 5) & 31) * 8,
                              (colour & 31) * 8);
            bandColours += band != background ? 1 : 0;
        }
    }
    QVERIFY(bandColours > 0);
}

void WindowLayoutTest::textsLongerThanTheirPlaceShrinkToFitIt() {
    zav::SampleOptions options;
    options.language = "French";
    WindowRun run(options);
    QVERIFY2(run.SetupError().empty(), run.SetupError().c_str());
    QVERIFY(run.Start());
    ClickEntry(run.List(zav::IDC_NEW_LIST), 0);
    ClickButton(run.Button(zav::IDC_ADD));

    // The status place is 83 dialog units wide; the French command names need more.
    const auto* status = qobject_cast<QLabel*>(run.Window().Control(zav::IDC_STATUS));
    QCOMPARE(status->text(), QStringLiteral("Préparation des fichiers à ajouter"));
    QVERIFY(QFontMetrics(status->font()).horizontalAdvance(status->text()) <= status->width());
    QCOMPARE(status->toolTip(), status->text());
    // Texts that fit keep the dialog's font.
    const auto* label = qobject_cast<QLabel*>(run.Window().Control(zav::IDC_NEW_LABEL));
    QCOMPARE(label->text(), QStringLiteral("Nouveaux fichiers"));
    QCOMPARE(label->font(), run.Window().font());
    QCOMPARE(label->toolTip(), QString());
}

QTEST_MAIN(WindowLayoutTest)
#include "window_layout_test.moc"
