// PatcherWindow: the main dialog (template 102) as Qt widgets, the window face of PatcherDialog.
#pragma once

#include <QDialog>
#include <functional>
#include <map>
#include <memory>

#include "dialog_units.h"
#include "settings/own_texts.h"
#include "shell/dialog_view.h"
#include "shell/patcher_dialog.h"

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTabBar;
class QPainter;
class QTranslator;

namespace zav {

class WaitDialog;

/// Builds every control of dialog template 102 at its place (dialog units converted for the
/// dialog's 8-point font), implements DialogView with them, and forwards the user's actions to
/// the PatcherDialog attached to it. It adds no rule of its own.
class PatcherWindow final : public QDialog, public DialogView {
public:
    struct Options {
        /// False in tests: pauses are zero-length (the window is still drawn during them).
        bool pauses = true;
        /// How the process ends on a fatal error or a window close; tests record the code.
        std::function<void(int)> exitProcess;
        /// Tests answer "Open disc or pack..." with a path here instead of the file dialog.
        std::function<std::string()> chooseSource;
    };

    explicit PatcherWindow(Options options);
    ~PatcherWindow() override;

    /// Connects the window to its dialog logic; the user's actions go there from now on.
    void AttachDialog(PatcherDialog* dialog) { dialog_ = dialog; }

    /// Speaks the language of the string table's block `languageOffset` (0, 48 or 96): Qt's own
    /// texts (the message boxes' buttons) and the window's texts of its own (the picture buttons'
    /// names, tooltips and descriptions, the menu). English until called.
    void SetLanguage(std::int32_t languageOffset);

    [[nodiscard]] const DialogUnits& Units() const { return units_; }
    /// The control `id` (its objectName is the id), or null.
    [[nodiscard]] QWidget* Control(std::int32_t id) const;

    // DialogView
    void ResetList(std::int32_t list) override;
    void AddListEntry(std::int32_t list, std::string_view text) override;
    std::int32_t ListCount(std::int32_t list) override;
    std::string ListEntry(std::int32_t list, std::int32_t index) override;
    bool IsListEntrySelected(std::int32_t list, std::int32_t index) override;
    void SetListEntrySelected(std::int32_t list, std::int32_t index, bool selected) override;
    void SetListSelection(std::int32_t list, std::int32_t index) override;
    std::int32_t ListCaret(std::int32_t list) override;
    void RemoveAllTabs() override;
    void InsertTab(std::int32_t index, std::string_view text) override;
    std::string CurrentTabText() override;
    bool SetControlText(std::int32_t control, std::string_view text) override;
    void SetWindowTitle(std::string_view title) override;
    void SetButtonPicture(std::int32_t button, int bitmap) override;
    void EnableControl(std::int32_t control, bool enabled) override;
    void SetIcon(int icon) override;
    WindowHandle Handle() override;
    WindowRect WindowRectangle() override;
    void ResizeWindow(std::int32_t width, std::int32_t height) override;
    void SetProgressRange(std::int32_t lower, std::int32_t upper) override;
    void SetProgressStep(std::int32_t step) override { progressStep_ = step; }
    void SetProgressPosition(std::int32_t position) override;
    void StepProgress() override;
    int MessageBox(std::string_view text, std::string_view caption, std::uint32_t style) override;
    void Pause(int milliseconds) override;
    void ShowWaitDialog(std::string_view text) override;
    void CloseWaitDialog() override;
    void ShowAboutBox() override;
    std::string ChooseSource(std::string_view caption) override;
    void ShowHelp(std::string_view text, std::string_view caption) override;
    void DrawIconCentred() override;
    void EndDialog(int result) override;
    void ExitProcess(int exitCode) override;
    void DrawImage(std::int32_t x, std::int32_t y, const RgbImage& image) override;

    /// The picture a button shows now (a bitmap id), for tests and screen readers.
    [[nodiscard]] int ButtonPicture(std::int32_t button) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    /// A folder or pack dropped on the window becomes the source of the new data.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    /// Escape: "Cancel", which never closes the window.
    void reject() override;

private:
    void BuildControls();
    QWidget* BuildTab(const QRect& place);
    QWidget* BuildList(std::int32_t id);
    QWidget* BuildPictureButton(std::int32_t id);
    QWidget* BuildProgressBar();
    QWidget* BuildPicture(std::int32_t id);
    QListWidget* List(std::int32_t id) const;
    void OnButton(std::int32_t id);
    /// The window's menu (the system menu's commands) at `globalPos`; the one place it is built.
    void ShowContextMenu(const QPoint& globalPos);
    /// Names a picture button after its picture's words and says whether its command acts now.
    void DescribeButton(std::int32_t button);
    /// Moves the window back inside the screen's available area where its size took it out.
    void KeepOnScreen();
    void NameProgressArea();
    [[nodiscard]] QString Own(OwnTextId id) const;
    /// Runs a handler of the dialog; a close asked for meanwhile waits until it ends.
    void RunHandler(PatcherDialog::Command handler);
    /// Draws what changed, without taking the user's input.
    void DrawPendingChanges();

    Options options_;
    DialogUnits units_;
    PatcherDialog* dialog_ = nullptr;
    std::map<std::int32_t, QWidget*> controls_;
    std::map<std::int32_t, int> pictures_;
    std::int32_t languageOffset_ = 0;
    std::unique_ptr<QTranslator> translator_;
    QString statusText_;
    /// The size the last layout asked for; the window may be smaller to fit on the screen.
    QSize layoutSize_;
    QTabBar* tabs_ = nullptr;
    QProgressBar* progress_ = nullptr;
    std::int32_t progressStep_ = 10;
    std::unique_ptr<WaitDialog> waitDialog_;
    QPainter* painter_ = nullptr;
};

} // namespace zav
