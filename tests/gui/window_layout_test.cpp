// The window on a sample game: title, layouts, list selection, picture buttons and previews.
#include <QImage>
#include <QPixmap>
#include <QTabBar>
#include <QTest>

#include "preview/picture_decoder.h"
#include "shell/window_model.h"
#include "window_run.h"

using namespace zav;
using zav::test::ClickEntry;
using zav::test::WindowRun;

class WindowLayoutTest final : public QObject {
    Q_OBJECT

private slots:
    void startUpLayoutListSelectionAndPictureButtons();
    void previewsShowTheDiscPicturesPixelForPixel();
};

// The compact layout takes the progress strip off the template's 228 x 281 dialog units and
// leaves the window where it was; picture buttons are never disabled.
void WindowLayoutTest::startUpLayoutListSelectionAndPictureButtons() {
    WindowRun run;
    QVERIFY(run.Start());
    PatcherWindow& window = run.Window();
    QVERIFY(window.isVisible());
    QCOMPARE(window.windowTitle(), QStringLiteral("ZAV Data Patcher"));
    QCOMPARE(run.Initial(), QSize(window.Units().X(MAIN_DIALOG_WIDTH_DLU),
                                  window.Units().Y(MAIN_DIALOG_HEIGHT_DLU)));
    QCOMPARE(window.size(), run.Compact());
    const WindowRect& initial = run.Dialog().State().InitialWindowRect;
    QCOMPARE(window.frameGeometry().topLeft(), QPoint(initial.left, initial.top));
    QVERIFY(window.Control(IDC_PROGRESS)->geometry().top() >= window.height());
    QVERIFY(window.Control(IDC_CLOSE)->geometry().bottom() < window.height());

    const QList<QPair<std::int32_t, QString>> names = {
        {IDC_ADD, "Add to List"}, {IDC_DISPLAY, "Display ->"}, {IDC_INSTALL, "Install New"},
        {IDC_TRASH, "Trash"},     {IDC_CANCEL, "Cancel"},      {IDC_CLOSE, "Close"}};
    const auto checkButtons = [&] {
        for (const auto& [id, name] : names) {
            QVERIFY(run.Button(id)->isEnabled());
            QCOMPARE(run.Button(id)->accessibleName(), name);
            QCOMPARE(run.Button(id)->iconSize(), QSize(50, 50));
        }
    };
    checkButtons();
    const auto shown = [&] {
        const QIcon icon = run.Button(IDC_ADD)->icon();
        return icon.pixmap(QSize(50, 50)).toImage().convertToFormat(QImage::Format_RGB32);
    };
    const auto bitmap = [](int id) {
        return QImage(QStringLiteral(":/bitmaps/%1.png").arg(id))
            .convertToFormat(QImage::Format_RGB32);
    };
    QVERIFY(bitmap(180) != bitmap(173));
    QCOMPARE(shown(), bitmap(180));

    QListWidget* present = run.List(IDC_PRESENT_LIST);
    QListWidget* proposed = run.List(IDC_NEW_LIST);
    QListWidget* added = run.List(IDC_ADDED_LIST);
    QCOMPARE(present->selectionMode(), QAbstractItemView::NoSelection);
    QCOMPARE(proposed->selectionMode(), QAbstractItemView::ExtendedSelection);
    QCOMPARE(added->selectionMode(), QAbstractItemView::SingleSelection);
    for (const QListWidget* list : {present, proposed, added}) {
        QVERIFY(!list->isSortingEnabled());
    }
    ClickEntry(present, 3);
    QVERIFY(run.SelectedRows(IDC_PRESENT_LIST).isEmpty());
    ClickEntry(added, 0);
    ClickEntry(added, 1, Qt::ControlModifier);
    QCOMPARE(run.SelectedRows(IDC_ADDED_LIST), QList<int>({1}));
    ClickEntry(proposed, 0);
    QCOMPARE(shown(), bitmap(173));
    ClickEntry(proposed, 2, Qt::ControlModifier);
    QCOMPARE(run.SelectedRows(IDC_NEW_LIST), QList<int>({0, 2}));
    QVERIFY(run.SelectedRows(IDC_ADDED_LIST).isEmpty());
    ClickEntry(proposed, 2, Qt::ControlModifier);
    QTest::mouseClick(run.Button(IDC_DISPLAY), Qt::LeftButton);
    QCOMPARE(run.Dialog().State().PreviewShown, 1);
    checkButtons();
}

// Quarry's picture is 286 pixels wide (rows not a multiple of 4 long); a car file's rows go on
// past column 332 (a chequered band) where the window shows its own background.
void WindowLayoutTest::previewsShowTheDiscPicturesPixelForPixel() {
    struct Case {
        int tab;
        const char* file;
        int widen, topPercent;
        QSize picture;
    };
    for (const Case& c : {Case{0, "circuits/Quarry/Quarry.img", 298, 20, {286, 200}},
                          Case{1, "voitures/Comet/Comet.img", 342, 9, {332, 256}}}) {
        WindowRun run;
        QVERIFY(run.Start());
        const QSize initial = run.Initial();
        const QPoint origin(initial.width() - 5, initial.height() * c.topPercent / 100);
        const QRect edge(origin, QSize(5, 200)); // the compact window's last five columns
        const QImage before = run.Window().grab().toImage().copy(edge);
        auto* tabs = qobject_cast<QTabBar*>(run.Window().Control(IDC_TAB));
        QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, tabs->tabRect(c.tab).center());
        ClickEntry(run.List(IDC_NEW_LIST), 0);
        QTest::mouseClick(run.Button(IDC_DISPLAY), Qt::LeftButton);
        QCOMPARE(run.Window().size(), QSize(initial.width() + c.widen, initial.height() - 80));
        QVERIFY(!run.List(IDC_NEW_LIST)->isEnabled());
        QVERIFY(!tabs->isEnabled());

        const QByteArray bytes = zav::test::ReadBytes(run.DiscFile(c.file));
        const RgbImage image =
            DecodePicture(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                    static_cast<std::size_t>(bytes.size())),
                          static_cast<DataKind>(c.tab));
        QCOMPARE(QSize(image.width, image.height), c.picture);
        const QImage shown = run.Window().grab().toImage();
        const QColor background = shown.pixelColor(origin + QPoint(image.width, -2));
        int mismatches = 0;
        for (int y = 0; y < image.height; ++y) {
            for (int x = 0; x < shown.width() - origin.x(); ++x) {
                const auto at = static_cast<std::size_t>(3 * (y * image.width + x));
                const QColor colour =
                    x < image.width ? QColor(image.rgb[at], image.rgb[at + 1], image.rgb[at + 2])
                                    : background;
                mismatches += shown.pixelColor(origin + QPoint(x, y)) != colour ? 1 : 0;
            }
        }
        QCOMPARE(mismatches, 0);

        QTest::mouseClick(run.Button(IDC_DISPLAY), Qt::LeftButton);
        QCOMPARE(run.Window().size(), run.Compact());
        QCOMPARE(run.SelectedRows(IDC_NEW_LIST), QList<int>({0}));
        QVERIFY(run.List(IDC_NEW_LIST)->isEnabled());
        // Every paint draws the last preview again, but none of it shows in the compact window.
        QCOMPARE(run.Window().grab().toImage().copy(edge), before);
    }
}

QTEST_MAIN(WindowLayoutTest)
#include "window_layout_test.moc"
