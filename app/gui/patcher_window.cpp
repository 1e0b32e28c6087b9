// PatcherWindow: widgets of the main dialog and their wiring to PatcherDialog.
#include "patcher_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDeadlineTimer>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QFrame>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QTabBar>
#include <QThread>
#include <QTimer>
#include <QTranslator>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>
#include <vector>

#include "message_box.h"
#include "platform/codepage.h"
#include "platform/mounted_media.h"
#include "qt_translations.h"
#include "shell/patcher_dialog.h"
#include "shell/window_model.h"
#include "side_dialogs.h"
#include "source_defaults.h"

// The pictures are compiled into this library; a static library's resources need registering.
static void RegisterWindowResources() {
    Q_INIT_RESOURCE(resources);
}

namespace zav {
namespace {

constexpr int kButtonPictureSide = 50;

std::string ToCp1252(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    const std::string_view view(utf8.constData(), static_cast<std::size_t>(utf8.size()));
    return Utf8ToCp1252(view).value_or(std::string(view));
}

QPixmap ResourcePicture(int id) {
    return QPixmap(QStringLiteral(":/bitmaps/%1.png").arg(id));
}

// The smallest font a text is shrunk to, in points.
constexpr qreal kSmallestTextPoints = 6.0;

// Some localised texts are wider than the template's place for them (the French command names
// in the status place, for one): such a text gets a font just small enough to show it whole,
// and its words as tooltip, instead of losing its end.
void FitText(QLabel* label) {
    QFont font = label->parentWidget() != nullptr ? label->parentWidget()->font() : label->font();
    const QString text = label->text();
    while (QFontMetrics(font).horizontalAdvance(text) > label->width() &&
           font.pointSizeF() - 0.5 >= kSmallestTextPoints) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
    }
    const bool shrunk = label->parentWidget() != nullptr && font != label->parentWidget()->font();
    label->setFont(font);
    label->setToolTip(shrunk ? text : QString());
}

// The list each label names: screen readers read a list by its label's text.
constexpr std::pair<std::int32_t, std::int32_t> kListLabels[] = {
    {IDC_PRESENT_LABEL, IDC_PRESENT_LIST},
    {IDC_NEW_LABEL, IDC_NEW_LIST},
    {IDC_ADDED_LABEL, IDC_ADDED_LIST},
};

// At a fractional scale (1.5 for a scale factor or a 144-dpi screen) a frame whose edge falls
// between two device pixels loses that side: the framed controls get edges on whole device pixels.
QRect OnDevicePixels(const QRect& place) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal ratio = screen != nullptr ? screen->devicePixelRatio() : 1.0;
    int step = 1; // the smallest number of pixels that spans whole device pixels
    while (step < 8 && std::abs(ratio * step - std::round(ratio * step)) > 0.01) {
        ++step;
    }
    const auto snap = [step](int value) { return (value + step / 2) / step * step; };
    return QRect(
        QPoint(snap(place.left()), snap(place.top())),
        QPoint(snap(place.left() + place.width()) - 1, snap(place.top() + place.height()) - 1));
}

const ButtonPictures* PicturesOf(std::int32_t button) {
    for (const ButtonPictures& pictures : kButtonPictures) {
        if (pictures.button == button) {
            return &pictures;
        }
    }
    return nullptr;
}

} // namespace

PatcherWindow::PatcherWindow(Options options) : options_(std::move(options)), units_(DialogFont()) {
    RegisterWindowResources();
    if (!options_.exitProcess) {
        options_.exitProcess = [](int code) { std::exit(code); };
    }
    setObjectName(QString::number(IDD_MAIN));
    setFont(DialogFont());
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(units_.X(MAIN_DIALOG_WIDTH_DLU), units_.Y(MAIN_DIALOG_HEIGHT_DLU));
    move(units_.X(MAIN_DIALOG_X_DLU), units_.Y(MAIN_DIALOG_Y_DLU));
    BuildControls();

    // F1 tells what the commands do and where the game and its new data are; the about box stays
    // in the context menu.
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [this] {
        if (dialog_ != nullptr) {
            dialog_->OnHelp();
        }
    });
    auto* open = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_O), this);
    connect(open, &QShortcut::activated, this, [this] {
        if (dialog_ != nullptr && dialog_->OnMenuCommand(PatcherDialog::MenuCommand::OpenSource)) {
            close();
        }
    });
    setAcceptDrops(true);
    // The menu key reaches contextMenuEvent; Shift+F10, its other key, does not on every platform.
    auto* menu = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), this);
    connect(menu, &QShortcut::activated, this, [this] {
        const QWidget* focus = focusWidget() != nullptr ? focusWidget() : this;
        ShowContextMenu(focus->mapToGlobal(focus->rect().center()));
    });
    SetLanguage(0);
}

void PatcherWindow::SetLanguage(std::int32_t languageOffset) {
    languageOffset_ = languageOffset;
    translator_.reset();
    translator_ = InstallQtTranslations(languageOffset);
    for (const ButtonPictures& pictures : kButtonPictures) {
        DescribeButton(pictures.button);
    }
    NameProgressArea();
}

void PatcherWindow::NameProgressArea() {
    // What the bar is, and the command it shows once one has run.
    const QString what = Own(OwnTextId::ProgressArea);
    progress_->setAccessibleName(statusText_.isEmpty() ? what
                                                       : what + QStringLiteral(": ") + statusText_);
}

QString PatcherWindow::Own(OwnTextId id) const {
    return FromCp1252(OwnText(id, languageOffset_));
}

void PatcherWindow::DescribeButton(std::int32_t button) {
    auto* widget = qobject_cast<QPushButton*>(Control(button));
    const ButtonPictures* pictures = PicturesOf(button);
    if (widget == nullptr || pictures == nullptr) {
        return;
    }
    const QString words = Own(pictures->words);
    widget->setToolTip(words);
    widget->setAccessibleName(words);
    // The button stays enabled whatever its command can do; only its picture tells, so a screen
    // reader is told in words.
    const int picture = ButtonPicture(button);
    const bool acts = pictures->inactive == 0 || picture != pictures->inactive;
    widget->setAccessibleDescription(
        Own(acts ? OwnTextId::CommandAvailable : OwnTextId::CommandUnavailable));
}

PatcherWindow::~PatcherWindow() = default;

void PatcherWindow::BuildControls() {
    for (const ControlTemplate& control : kMainDialogControls) {
        const QRect place = units_.Rect(control.x, control.y, control.width, control.height);
        QWidget* widget = nullptr;
        switch (control.kind) {
        case ControlKind::Tab:
            widget = BuildTab(place);
            break;
        case ControlKind::Label:
            widget = new QLabel(FromCp1252(control.text), this);
            break;
        case ControlKind::List:
            widget = BuildList(control.id);
            break;
        case ControlKind::PictureButton:
            widget = BuildPictureButton(control.id);
            break;
        case ControlKind::Progress:
            widget = BuildProgressBar();
            break;
        case ControlKind::Picture:
            widget = BuildPicture(control.id);
            break;
        }
        widget->setObjectName(QString::number(control.id));
        if (control.kind == ControlKind::List) {
            widget->setGeometry(OnDevicePixels(place));
        } else if (control.kind != ControlKind::Tab) {
            widget->setGeometry(place);
        }
        controls_[control.id] = widget;
    }
}

// A tab bar over a framed pane; the bar takes its natural height, the pane the rest of the place.
QWidget* PatcherWindow::BuildTab(const QRect& place) {
    auto* pane = new QFrame(this);
    pane->setFrameShape(QFrame::StyledPanel);
    tabs_ = new QTabBar(this);
    tabs_->setExpanding(false);
    tabs_->setDrawBase(false);
    const int barHeight =
        tabs_->sizeHint().height() > 0 ? tabs_->sizeHint().height() : units_.Y(12);
    tabs_->setGeometry(place.x(), place.y(), place.width(), barHeight);
    pane->setGeometry(OnDevicePixels(QRect(place.x(), place.y() + barHeight - 1, place.width(),
                                           place.height() - barHeight + 1)));
    pane->lower();
    connect(tabs_, &QTabBar::currentChanged, this, [this] {
        if (dialog_ != nullptr) {
            dialog_->OnSelchangeTab();
        }
    });
    return tabs_;
}

QWidget* PatcherWindow::BuildList(std::int32_t id) {
    auto* list = new QListWidget(this);
    list->setSortingEnabled(false);
    // At a fractional scale the viewport, rounded to whole device pixels, would cover the frame's
    // right edge: the list paints the background under its frame itself.
    list->viewport()->setAutoFillBackground(false);
    list->setBackgroundRole(QPalette::Base);
    list->setAutoFillBackground(true);
    if (id == IDC_PRESENT_LIST) {
        // Shows the base set only: no selection, created disabled.
        list->setSelectionMode(QAbstractItemView::NoSelection);
        list->setEnabled(false);
        return list;
    }
    const bool proposed = id == IDC_NEW_LIST;
    list->setSelectionMode(proposed ? QAbstractItemView::ExtendedSelection
                                    : QAbstractItemView::SingleSelection);
    connect(list, &QListWidget::itemSelectionChanged, this, [this, proposed] {
        if (dialog_ == nullptr) {
            return;
        }
        if (proposed) {
            dialog_->OnSelchangeNewList();
        } else {
            dialog_->OnSelchangeAddedList();
        }
    });
    return list;
}

QWidget* PatcherWindow::BuildPictureButton(std::int32_t id) {
    auto* button = new QPushButton(this);
    button->setIconSize(QSize(kButtonPictureSide, kButtonPictureSide));
    // The picture is the button's face; the keyboard focus shows as a dotted frame.
    button->setStyleSheet(QStringLiteral(
        "QPushButton { border: 2px solid transparent; border-radius: 4px; background: "
        "transparent; } QPushButton:focus { border: 2px dotted palette(highlight); } "
        "QPushButton:pressed { padding-left: 2px; padding-top: 2px; }"));
    // As in a dialog of the game's platform, the focused button takes the default role and Enter
    // presses it; elsewhere Enter presses "Close".
    button->setAutoDefault(true);
    button->setDefault(id == IDC_CLOSE);
    connect(button, &QPushButton::clicked, this, [this, id] { OnButton(id); });
    return button;
}

QWidget* PatcherWindow::BuildProgressBar() {
    progress_ = new QProgressBar(this);
    progress_->setTextVisible(false);
    progress_->setRange(0, 100);
    progress_->setValue(0);
    return progress_;
}

QWidget* PatcherWindow::BuildPicture(std::int32_t id) {
    auto* picture = new QLabel(this);
    picture->setPixmap(ResourcePicture(id == IDC_BANNER ? IDB_BANNER : IDB_EMBLEM));
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return picture;
}

QWidget* PatcherWindow::Control(std::int32_t id) const {
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

QListWidget* PatcherWindow::List(std::int32_t id) const {
    return qobject_cast<QListWidget*>(Control(id));
}

void PatcherWindow::OnButton(std::int32_t id) {
    if (const auto command = PatcherDialog::ButtonCommand(id)) {
        RunHandler(command);
    }
}

void PatcherWindow::RunHandler(PatcherDialog::Command handler) {
    if (dialog_ != nullptr && dialog_->RunCommand(handler)) {
        close();
    }
}

void PatcherWindow::ResetList(std::int32_t list) {
    if (QListWidget* widget = List(list)) {
        const QSignalBlocker quiet(widget);
        widget->clear();
    }
}

void PatcherWindow::AddListEntry(std::int32_t list, std::string_view text) {
    if (QListWidget* widget = List(list)) {
        const QSignalBlocker quiet(widget);
        widget->addItem(FromCp1252(text));
    }
}

std::int32_t PatcherWindow::ListCount(std::int32_t list) {
    const QListWidget* widget = List(list);
    return widget != nullptr ? static_cast<std::int32_t>(widget->count()) : 0;
}

std::string PatcherWindow::ListEntry(std::int32_t list, std::int32_t index) {
    const QListWidget* widget = List(list);
    const QListWidgetItem* item = widget != nullptr ? widget->item(index) : nullptr;
    return item != nullptr ? ToCp1252(item->text()) : std::string();
}

bool PatcherWindow::IsListEntrySelected(std::int32_t list, std::int32_t index) {
    const QListWidget* widget = List(list);
    const QListWidgetItem* item = widget != nullptr ? widget->item(index) : nullptr;
    return item != nullptr && item->isSelected();
}

void PatcherWindow::SetListEntrySelected(std::int32_t list, std::int32_t index, bool selected) {
    QListWidget* widget = List(list);
    QListWidgetItem* item = widget != nullptr ? widget->item(index) : nullptr;
    if (item == nullptr) {
        return;
    }
    // The dialog's own selection changes are no user actions: no notification follows them.
    const QSignalBlocker quiet(widget);
    item->setSelected(selected);
    widget->setCurrentItem(item, QItemSelectionModel::NoUpdate);
}

void PatcherWindow::SetListSelection(std::int32_t list, std::int32_t index) {
    QListWidget* widget = List(list);
    if (widget == nullptr) {
        return;
    }
    const QSignalBlocker quiet(widget);
    widget->clearSelection();
    if (QListWidgetItem* item = widget->item(index)) {
        item->setSelected(true);
        widget->setCurrentItem(item, QItemSelectionModel::NoUpdate);
    }
}

std::int32_t PatcherWindow::ListCaret(std::int32_t list) {
    const QListWidget* widget = List(list);
    return widget != nullptr ? static_cast<std::int32_t>(widget->currentRow()) : -1;
}

void PatcherWindow::RemoveAllTabs() {
    const QSignalBlocker quiet(tabs_);
    while (tabs_->count() > 0) {
        tabs_->removeTab(0);
    }
}

void PatcherWindow::InsertTab(std::int32_t index, std::string_view text) {
    const QSignalBlocker quiet(tabs_);
    tabs_->insertTab(index, FromCp1252(text));
}

std::string PatcherWindow::CurrentTabText() {
    const int current = tabs_->currentIndex();
    // The tab's text is read into a buffer of 20 characters with its terminator.
    return current < 0 ? std::string() : ToCp1252(tabs_->tabText(current)).substr(0, 19);
}

bool PatcherWindow::SetControlText(std::int32_t control, std::string_view text) {
    auto* label = qobject_cast<QLabel*>(Control(control));
    if (label == nullptr) {
        return Control(control) != nullptr;
    }
    label->setText(FromCp1252(text));
    FitText(label);
    for (const auto& [labelId, listId] : kListLabels) {
        if (labelId == control) {
            Control(listId)->setAccessibleName(label->text());
        }
    }
    if (control == IDC_FREE_SPACE || control == IDC_REQUIRED_SPACE) {
        label->setAccessibleName(label->text());
    }
    if (control == IDC_STATUS) {
        statusText_ = label->text();
        NameProgressArea();
    }
    return true;
}

void PatcherWindow::SetWindowTitle(std::string_view title) {
    setWindowTitle(FromCp1252(title));
}

void PatcherWindow::SetButtonPicture(std::int32_t button, int bitmap) {
    auto* widget = qobject_cast<QPushButton*>(Control(button));
    if (widget == nullptr) {
        return;
    }
    widget->setIcon(QIcon(ResourcePicture(bitmap)));
    pictures_[button] = bitmap;
    DescribeButton(button);
}

int PatcherWindow::ButtonPicture(std::int32_t button) const {
    const auto it = pictures_.find(button);
    return it == pictures_.end() ? 0 : it->second;
}

void PatcherWindow::EnableControl(std::int32_t control, bool enabled) {
    if (QWidget* widget = Control(control)) {
        widget->setEnabled(enabled);
    }
}

void PatcherWindow::SetIcon(int icon) {
    QIcon windowIcon;
    for (const int side : {16, 32, 48}) {
        windowIcon.addFile(QStringLiteral(":/icons/%1_%2.png").arg(icon).arg(side),
                           QSize(side, side));
    }
    setWindowIcon(windowIcon);
}

WindowHandle PatcherWindow::Handle() {
    return reinterpret_cast<WindowHandle>(this);
}

WindowRect PatcherWindow::WindowRectangle() {
    // The frame the window system puts around the window is unknown until the window is shown,
    // and a window manager adds it later still; the start-up takes the rectangle before that.
    // So the rectangle is the client area's: the layouts are differences from it, which the
    // frame does not change, and every layout then uncovers the same client area.
    const QRect client = geometry();
    return {client.left(), client.top(), client.left() + client.width(),
            client.top() + client.height()};
}

void PatcherWindow::ResizeWindow(std::int32_t width, std::int32_t height) {
    layoutSize_ = QSize(std::max(1, width), std::max(1, height));
    QSize size = layoutSize_;
    if (const QScreen* display = screen()) {
        // A layout wider or taller than the screen (a large scale factor) is cut to the screen's
        // available area, frame included; the preview picture is then drawn smaller.
        const QRect frame = frameGeometry();
        const QRect client = geometry();
        const QSize frameExtra(frame.width() - client.width(), frame.height() - client.height());
        size = size.boundedTo(display->availableGeometry().size() - frameExtra);
    }
    setFixedSize(size);
    show();
    KeepOnScreen();
}

void PatcherWindow::KeepOnScreen() {
    const QScreen* display = screen();
    if (display == nullptr) {
        return;
    }
    const QRect area = display->availableGeometry();
    const QRect frame = frameGeometry();
    QPoint shift;
    // Right and bottom first: a window larger than the area keeps its top-left corner visible.
    shift.setX(std::min(0, area.right() - frame.right()));
    shift.setY(std::min(0, area.bottom() - frame.bottom()));
    shift.setX(std::max(shift.x(), area.left() - frame.left()));
    shift.setY(std::max(shift.y(), area.top() - frame.top()));
    if (!shift.isNull()) {
        move(pos() + shift);
    }
}

void PatcherWindow::SetProgressRange(std::int32_t lower, std::int32_t upper) {
    // An empty range would turn the bar into a busy indicator.
    progress_->setRange(lower, std::max(upper, lower + 1));
}

void PatcherWindow::SetProgressPosition(std::int32_t position) {
    progress_->setValue(std::clamp(position, progress_->minimum(), progress_->maximum()));
}

void PatcherWindow::StepProgress() {
    int next = progress_->value() + progressStep_;
    if (next > progress_->maximum()) {
        // Like the platform's bar, a step past the end starts again from the beginning.
        next = progress_->minimum() + (next - progress_->maximum());
    }
    progress_->setValue(next);
}

int PatcherWindow::MessageBox(std::string_view text, std::string_view caption,
                              std::uint32_t style) {
    return ShowMessageBox(isVisible() ? this : nullptr, text, caption, style);
}

void PatcherWindow::DrawPendingChanges() {
    QApplication::sendPostedEvents();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void PatcherWindow::Pause(int milliseconds) {
    // The command goes on inside its click handler: the window is drawn, but the user's input
    // waits until the command ends.
    DrawPendingChanges();
    if (!options_.pauses || milliseconds <= 0) {
        return;
    }
    QDeadlineTimer deadline(milliseconds);
    while (!deadline.hasExpired()) {
        QApplication::processEvents(
            QEventLoop::ExcludeUserInputEvents,
            static_cast<int>(std::max<qint64>(1, deadline.remainingTime())));
        QThread::msleep(static_cast<unsigned long>(
            std::min<qint64>(5, std::max<qint64>(0, deadline.remainingTime()))));
    }
}

void PatcherWindow::ShowWaitDialog(std::string_view text) {
    waitDialog_ = std::make_unique<WaitDialog>(units_, FromCp1252(text));
    waitDialog_->show();
    DrawPendingChanges();
}

void PatcherWindow::CloseWaitDialog() {
    if (waitDialog_ != nullptr) {
        waitDialog_->hide();
        waitDialog_.reset();
    }
}

void PatcherWindow::ShowAboutBox() {
    AboutDialog about(this, units_);
    about.exec();
}

namespace {

// A file dialog that takes the folder it shows, or the one chosen in it, as well as a pack.
class SourceFileDialog final : public QFileDialog {
public:
    SourceFileDialog(QWidget* parent, const QString& caption) : QFileDialog(parent, caption) {
        setOption(QFileDialog::DontUseNativeDialog); // the native ones take files or folders
        setFileMode(QFileDialog::ExistingFile);
        setNameFilters({QStringLiteral("Packs (*.zip *.7z *.tar *.tar.gz *.tgz *.tar.xz *.txz "
                                       "*.tar.bz2 *.tbz2)"),
                        QStringLiteral("* (*)")});
        // Packs arrive in the downloads folder, discs on mounted media: the dialog starts in the
        // former and offers the media that hold new data beside the home folder.
        const QString downloads =
            QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
        QList<QUrl> places = {QUrl::fromLocalFile(QDir::homePath())};
        if (!downloads.isEmpty() && QFileInfo(downloads).isDir()) {
            setDirectory(downloads);
            places.append(QUrl::fromLocalFile(downloads));
        }
        for (const std::string& medium : MediaHoldingNewData(MountedMedia())) {
            places.append(QUrl::fromLocalFile(QString::fromStdString(medium)));
        }
        setSidebarUrls(places);
    }
    QString chosen;

    void accept() override {
        const QStringList files = selectedFiles();
        chosen = files.isEmpty() ? directory().absolutePath() : files.front();
        QDialog::accept();
    }
};

} // namespace

std::string PatcherWindow::ChooseSource(std::string_view caption) {
    if (options_.chooseSource) {
        return options_.chooseSource();
    }
    SourceFileDialog chooser(this, QString::fromStdString(Cp1252ToUtf8(caption)));
    if (chooser.exec() != QDialog::Accepted || chooser.chosen.isEmpty()) {
        return {};
    }
    return chooser.chosen.toStdString();
}

void PatcherWindow::ShowHelp(std::string_view text, std::string_view caption) {
    MessageBox(text, caption, MB_OK | MB_ICONINFORMATION);
}

void PatcherWindow::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (dialog_ != nullptr && urls.size() == 1 && urls.front().isLocalFile()) {
        event->acceptProposedAction();
    }
}

void PatcherWindow::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (dialog_ == nullptr || urls.size() != 1 || !urls.front().isLocalFile()) {
        return;
    }
    event->acceptProposedAction();
    // The drop ends before the lists are read again, so that the file manager it came from is
    // not held up meanwhile.
    const std::string path = urls.front().toLocalFile().toStdString();
    QTimer::singleShot(0, this, [this, path] {
        if (dialog_->ChangeSource(path)) {
            close();
        }
    });
}

void PatcherWindow::DrawIconCentred() {
    // The window system draws minimised windows itself here; there is no client area to paint.
}

void PatcherWindow::EndDialog(int result) {
    done(result);
}

void PatcherWindow::ExitProcess(int exitCode) {
    options_.exitProcess(exitCode);
}

void PatcherWindow::DrawImage(std::int32_t x, std::int32_t y, const RgbImage& image) {
    if (painter_ == nullptr) {
        update(); // drawn by the next paint, which draws the preview picture again
        return;
    }
    // The picture starts five pixels left of the initial window's right edge, where a dialog
    // frame would cover it; this window's rectangle has no frame, so those columns would leave a
    // sliver of the last preview at the edge of the compact and full layouts. Only the preview
    // layouts, wider than the dialog, show the picture.
    if (width() <= units_.X(MAIN_DIALOG_WIDTH_DLU)) {
        return;
    }
    const QImage picture(image.rgb.data(), image.width, image.height, image.width * 3,
                         QImage::Format_RGB888);
    const QSize room(width() - x, height() - y);
    if (size() != layoutSize_ && room.isValid() &&
        (picture.width() > room.width() || picture.height() > room.height())) {
        // The window was cut to fit the screen: the whole picture, smaller, rather than its half.
        const QSize fitted = picture.size().scaled(room, Qt::KeepAspectRatio);
        painter_->setRenderHint(QPainter::SmoothPixmapTransform);
        painter_->drawImage(QRect(QPoint(x, y), fitted), picture);
        return;
    }
    painter_->drawImage(QPoint(x, y), picture);
}

void PatcherWindow::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    if (dialog_ == nullptr) {
        return;
    }
    QPainter painter(this);
    painter_ = &painter;
    dialog_->OnPaint(isMinimized());
    painter_ = nullptr;
}

void PatcherWindow::closeEvent(QCloseEvent* event) {
    // The window system's close request reaches the window during a command's pauses, which
    // hold back only the user's input: the dialog makes it wait for the command's end.
    if (dialog_ != nullptr && isVisible() && !dialog_->RequestClose()) {
        event->ignore();
        return;
    }
    event->accept();
    if (dialog_ != nullptr) {
        dialog_->OnClose();
    }
}

void PatcherWindow::keyPressEvent(QKeyEvent* event) {
    // A focused picture button takes Enter itself; it reaches here from the lists and the tabs.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        OnButton(IDC_CLOSE);
        return;
    }
    QDialog::keyPressEvent(event);
}

void PatcherWindow::contextMenuEvent(QContextMenuEvent* event) {
    ShowContextMenu(event->globalPos());
}

void PatcherWindow::ShowContextMenu(const QPoint& globalPos) {
    QMenu menu(this);
    std::vector<std::pair<const QAction*, std::function<void()>>> commands;
    // Adds an entry in our own words; its command runs once the menu has closed.
    const auto entry = [this, &menu, &commands](OwnTextId words, std::function<void()> command) {
        QAction* action = menu.addAction(Own(words));
        commands.emplace_back(action, std::move(command));
        return action;
    };
    if (dialog_ == nullptr) {
        return;
    }
    for (const PatcherDialog::MenuEntry& item : dialog_->MenuEntries()) {
        QAction* action = entry(item.words, [this, command = item.command] {
            if (dialog_->OnMenuCommand(command)) {
                close();
            }
        });
        action->setEnabled(item.enabled);
        if (item.command == PatcherDialog::MenuCommand::UndoLastChange) {
            action->setObjectName(QStringLiteral("undoLastChange"));
        }
        if (item.command == PatcherDialog::MenuCommand::CheckGame) {
            action->setObjectName(QStringLiteral("checkGame"));
        }
    }
    const QAction* chosen = menu.exec(globalPos);
    for (const auto& [action, command] : commands) {
        if (action == chosen) {
            command();
        }
    }
}

void PatcherWindow::reject() {
    RunHandler(&PatcherDialog::OnCancel);
}

} // namespace zav
