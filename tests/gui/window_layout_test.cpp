// The window on a sample game: title, layouts, list selection, picture buttons and previews.
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QTest>

#include "preview/picture_decoder.h"
#include "shell/window_model.h"
#include "window_run.h"

using namespace zav;
using zav::test::ClickButton;
using zav::test::ClickEntry;
using zav::test::WindowRun;

namespace {

// How many pixels of the decoded disc picture differ from the window's at `origin`.
int Mismatches(const QImage& window, QPoint origin, const RgbImage& image) {
    int mismatches = 0;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const auto at = static_cast<std::size_t>(3 * (y * image.width + x));
            const QColor colour(image.rgb[at], image.rgb[at + 1], image.rgb[at + 2]);
            mismatches += window.pixelColor(origin + QPoint(x, y)) != colour ? 1 : 0;
        }
    }
    return mismatches;
}

RgbImage Decode(const QString& path, std::int32_t kind) {
    const QByteArray bytes = zav::test::ReadBytes(path);
    return DecodePicture(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                   static_cast<std::size_t>(bytes.size())),
                         kind);
}

} // namespace

class WindowLayoutTest final : public QObject {
    Q_OBJECT

private slots:
    void startUpShowsTheCompactLayoutWhereTheWindowWas();
    void listsSelectAsTheirRolesSay();
    void pictureButtonsAreNeverDisabledAndShowTheirPicture();
    void trackPreviewIsDrawnInPlaceAndDisplayReturnsToCompact();
    void carPreviewDrawsTheLeft332ColumnsOnly();
};

void WindowLayoutTest::startUpShowsTheCompactLayoutWhereTheWindowWas() {
    WindowRun run;
    QVERIFY2(run.SetupError().empty(), run.SetupError().c_str());
    QVERIFY(run.Start());
    PatcherWindow& window = run.Window();
    QVERIFY(window.isVisible());
    QCOMPARE(window.windowTitle(), QStringLiteral("ZAV Data Patcher"));
    QCOMPARE(run.Tabs()->count(), 2);
    QCOMPARE(run.Entries(IDC_ADDED_LIST), QStringList({"<Inst.> Harbour", "<Inst.> Dunes"}));
    // The initial rectangle is the template's 228 x 281 dialog units; the compact layout takes
    // the progress strip off the bottom and leaves the window where it was.
    QCOMPARE(run.Initial(), QSize(window.Units().X(MAIN_DIALOG_WIDTH_DLU),
                                  window.Units().Y(MAIN_DIALOG_HEIGHT_DLU)));
    QCOMPARE(window.size(), run.Compact());
    const WindowRect& initial = run.Dialog().State().InitialWindowRect;
    QCOMPARE(window.frameGeometry().topLeft(), QPoint(initial.left, initial.top));
    QVERIFY(window.Control(IDC_PROGRESS)->geometry().top() >= window.height());
    QVERIFY(window.Control(IDC_CLOSE)->geometry().bottom() < window.height());
    QVERIFY(run.exitCodes.empty());
}

void WindowLayoutTest::listsSelectAsTheirRolesSay() {
    WindowRun run;
    QVERIFY2(run.SetupError().empty(), run.SetupError().c_str());
    QVERIFY(run.Start());
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

    ClickEntry(proposed, 0);
    ClickEntry(proposed, 2, Qt::ControlModifier);
    QCOMPARE(run.SelectedRows(IDC_NEW_LIST), QList<int>({0, 2}));
    const auto* required = qobject_cast<QLabel*>(run.Window().Control(IDC_REQUIRED_SPACE));
    QVERIFY(required->text().startsWith(QStringLiteral("Space required for new data : ")));
    // One added entry at a time, and choosing one drops the proposed selection.
    ClickEntry(added, 0);
    ClickEntry(added, 1, Qt::ControlModifier);
    QCOMPARE(run.SelectedRows(IDC_ADDED_LIST), QList<int>({1}));
    QVERIFY(run.SelectedRows(IDC_NEW_LIST).isEmpty());
    QCOMPARE(required->text(), QString());
    ClickEntry(proposed, 1);
    QVERIFY(run.SelectedRows(IDC_ADDED_LIST).isEmpty());
}

void WindowLayoutTest::pictureButtonsAreNeverDisabledAndShowTheirPicture() {
    WindowRun run;
    QVERIFY2(run.SetupError().empty(), run.SetupError().c_str());
    QVERIFY(run.Start());
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
    // An inactive command's button takes the click and does nothing.
    zav::test::BoxAnswerer answerer(&run.Window(), QMessageBox::Ok);
    for (const std::int32_t id : {IDC_INSTALL, IDC_TRASH, IDC_ADD}) {
        ClickButton(run.Button(id));
    }
    QVERIFY(answerer.boxes.empty());
    QCOMPARE(run.Window().size(), run.Compact());

    // What the button shows is the picture itself, pixel for pixel.
    const auto shown = [&] {
        return run.Button(IDC_ADD)
            ->icon()
            .pixmap(QSize(50, 50))
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    };
    const auto bitmap = [](int id) {
        return QImage(QStringLiteral(":/bitmaps/%1.png").arg(id))
            .convertToFormat(QImage::Format_RGB32);
    };
    QVERIFY(bitmap(180) != bitmap(173));
    QCOMPARE(shown(), bitmap(180));
    ClickEntry(run.List(IDC_NEW_LIST), 0);
    QCOMPARE(shown(), bitmap(173));
    ClickButton(run.Button(IDC_DISPLAY));
    QCOMPARE(run.Dialog().State().PreviewShown, 1);
    checkButtons();
}

void WindowLayoutTest::trackPreviewIsDrawnInPlaceAndDisplayReturnsToCompact() {
    WindowRun run;
    QVERIFY2(run.SetupError().empty(), run.SetupError().c_str());
    QVERIFY(run.Start());
    const QSize initial = run.Initial();
    const QPoint origin(initial.width() - 5, initial.height() * 20 / 100);
    const QRect edge(origin, QSize(5, 200)); // the compact window's last five columns
    const QImage before = run.Window().grab().toImage().copy(edge);
    ClickEntry(run.List(IDC_NEW_LIST), 0);
    ClickButton(run.Button(IDC_DISPLAY));
    QCOMPARE(run.Window().size(), QSize(initial.width() + 298, initial.height() - 80));
    QVERIFY(!run.List(IDC_NEW_LIST)->isEnabled());
    QVERIFY(!run.Tabs()->isEnabled());
    // Quarry's picture is 286 pixels wide: rows that are not a multiple of 4 long.
    const RgbImage picture = Decode(run.DiscFile(QStringLiteral("circuits/Quarry/Quarry.img")), 0);
    QCOMPARE(QSize(picture.width, picture.height), QSize(286, 200));
    QCOMPARE(Mismatches(run.Window().grab().toImage(), origin, picture), 0);

    ClickButton(run.Button(IDC_DISPLAY));
    QCOMPARE(run.Window().size(), run.Compact());
    QCOMPARE(run.SelectedRows(IDC_NEW_LIST), QList<int>({0}));
    QVERIFY(run.List(IDC_NEW_LIST)->isEnabled());
    // Every paint draws the last preview again, but none of it shows in the compact window.
    QCOMPARE(run.Window().grab().toImage().copy(edge), before);
}

void WindowLayoutTest::carPreviewDrawsTheLeft332ColumnsOnly() {
    WindowRun run;
    QVERIFY2(run.SetupError().empty(), run.SetupError().c_str());
    QVERIFY(run.Start());
    const QSize initial = run.Initial();
    zav::test::ClickTab(run.Tabs(), 1);
    ClickEntry(run.List(IDC_NEW_LIST), 0);
    ClickButton(run.Button(IDC_DISPLAY));
    QCOMPARE(run.Window().size(), QSize(initial.width() + 342, initial.height() - 80));
    const RgbImage picture = Decode(run.DiscFile(QStringLiteral("voitures/Comet/Comet.img")), 1);
    QCOMPARE(QSize(picture.width, picture.height), QSize(332, 256));
    const QImage shown = run.Window().grab().toImage();
    const QPoint origin(initial.width() - 5, initial.height() * 9 / 100);
    QCOMPARE(Mismatches(shown, origin, picture), 0);
    // The file's rows go on past column 332 (a chequered band): the window shows its own
    // background there.
    const QColor background = shown.pixelColor(origin + QPoint(332, -2));
    for (int y = 0; y < 256; ++y) {
        for (int x = 332; x < initial.width() + 342 - origin.x(); ++x) {
            QCOMPARE(shown.pixelColor(origin + QPoint(x, y)), background);
        }
    }
}

QTEST_MAIN(WindowLayoutTest)
#include "window_layout_test.moc"
