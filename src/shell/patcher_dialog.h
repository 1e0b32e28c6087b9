// PatcherDialog: the main dialog's behaviour, written once for every front end.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "analysis/game_check.h"
#include "analysis/set_tables.h"
#include "history/undo.h"
#include "install/game_repair.h"
#include "platform/file_system.h"
#include "session/patcher_session.h"
#include "settings/own_texts.h"
#include "shell/dialog_view.h"
#include "shell/shell_state.h"
#include "shell/window_model.h"

namespace zav {

/// The five names of the accelerated game executables, looked for in the game's folder.
inline constexpr std::array<std::string_view, 5> ACCELERATED_EXECUTABLES = {
    "wzav3dfx.exe", "zavx3dfx.exe", "zavfxm64.exe", "wzavd3d5.exe", "zavd3d5x.exe"};

/// Exit codes of the program.
inline constexpr int EXIT_CLOSED = 0;
inline constexpr int EXIT_FATAL = -1;

/// The handlers of the main dialog, in the order of steps the tool takes, over a DialogView.
/// The dialog also serves as the core's Ui: message boxes, progress steps and pauses go to the
/// view. A fatal error ends the process through the view (DialogView::ExitProcess); where a view
/// returns from it (tests), the dialog takes no further step and Ended() tells so.
class PatcherDialog final : private Ui {
public:
    /// `sourceFolder`: the folder holding circuits\ and voitures\ (code page 1252), taken as
    /// SourceDirectory at start-up; an empty one, or one longer than 255 characters, is refused
    /// there with "New data files not found", and nothing is proposed.
    PatcherDialog(FileSystem& files, Profile& profile, DialogView& view, std::string sourceFolder);
    ~PatcherDialog() override;

    PatcherDialog(const PatcherDialog&) = delete;
    PatcherDialog& operator=(const PatcherDialog&) = delete;

    /// The start-up: finds the game, analyses the present and new data behind the wait dialog,
    /// makes the working copies, sets up tabs and window, fills the lists. True when the dialog
    /// runs; false when a fatal error ended it.
    bool OnInitDialog();
    /// A command of the dialog, for RunCommand.
    using Command = void (PatcherDialog::*)();
    /// The command of the push button `control` (IDC_DISPLAY ... IDC_CLOSE), for a window to run
    /// when it is pressed; null for any other control.
    static Command ButtonCommand(std::int32_t control);

    /// Makes the start-up write nothing into the game's folders (no working copies, no removal of
    /// a killed run's temporaries), so that the lists can be shown for a game whose folders this
    /// user cannot write. For a run that only shows them: the commands need the working copies.
    /// Called before OnInitDialog.
    void ShowOnly() { showOnly_ = true; }

    void OnSelchangeTab();
    void OnSelchangeNewList();
    void OnSelchangeAddedList();
    void OnDisplay();
    void OnAddToList();
    void OnInstallNew();
    void OnTrash();
    void OnCancel();
    void OnCloseButton();
    void OnClose();
    /// Paints the preview of PreviewPath (or the icon when minimised); the view paints the rest.
    void OnPaint(bool minimised);
    void OnSysCommand(std::uint32_t command);
    /// "Undo last change...": asks Yes/No with a summary of the newest change of the game's
    /// history not yet undone and, after Yes, undoes it, tells the outcome and reloads the lists
    /// as "Cancel" does, for both kinds. Without a history, or with nothing to undo, it says so.
    void OnUndoLastChange();
    /// Whether the game's history holds a change that undo would revert (or refuse, naming why).
    bool CanUndo();
    /// Undoes the newest change of the game's history not undone yet, without asking: the one
    /// undo of the window (after its question) and of the command line. When the dialog has not
    /// started, it first finds the game and takes its lock (fatal errors as at start-up, with
    /// nullopt), and removes what a killed run left beside the lists (temporaries and working
    /// copies). The outcome's reason is set when it is not Done.
    std::optional<UndoOutcome> UndoNewestChange();

    /// "Check the game...": shows the findings of CheckGame in a box (or that there are none)
    /// and, when some can be mended and no added entry waits to be installed, offers to repair
    /// them (Yes/No); after Yes, mends them all (see RepairGame) without asking again, tells the
    /// outcome and reloads the lists as "Cancel" does, for both kinds.
    void OnCheckGame();
    /// What is wrong with the game: its lists and folders (CheckGameFiles) and its history
    /// (CheckHistoryCopies); never writes. When the dialog has not started, it first finds the
    /// game (a fatal error as at start-up, then nullopt) and tries the game's lock: with
    /// `forRepair` the lock is required (another run on the game is fatal, nullopt); without, a
    /// game another run holds is checked without its temporaries, which are that run's. This
    /// run's own working copies are never findings.
    std::optional<GameCheck> CheckGame(bool forRepair);
    /// Mends the findings of `check` (see RepairGame), asking each when `ask`; the dialog holds
    /// the game (OnInitDialog or CheckGame(true) ran).
    RepairResult RepairFindings(const GameCheck& check, bool ask);

    /// Runs a window's command (a button's, a menu entry's, Escape's) unless one runs already: a
    /// window runs one command at a time, whatever the user clicks during its pauses. True when a
    /// close was asked for meanwhile (RequestClose) and the window is to close now.
    bool RunCommand(Command command);
    /// A close asked for by the window system: true when the window may close now (then call
    /// OnClose); during a command false, and the close waits until RunCommand ends, so that it
    /// never cuts a command off half done.
    bool RequestClose();
    [[nodiscard]] bool CommandRunning() const { return commandRunning_; }

    /// The entries of the window's context menu, in order ("Open disc or pack..." only once
    /// SetSourceOpener was called), with their words and whether they can
    /// be chosen now; every window draws these and hands the chosen one to OnMenuCommand.
    enum class MenuCommand { OpenSource, About, UndoLastChange, CheckGame };
    struct MenuEntry {
        MenuCommand command;
        OwnTextId words;
        bool enabled;
    };
    std::vector<MenuEntry> MenuEntries();
    /// Runs a menu entry's command (through RunCommand); true when the window is to close now.
    bool OnMenuCommand(MenuCommand command);

    /// Makes the source a UTF-8 host path names (a folder or a pack) the one the new-data scan
    /// reads: sets `folder` to it (code page 1252, as the scan's SourceDirectory) and `notice` to
    /// what the user is to be told (empty when nothing); false when it cannot be used, with
    /// `notice` saying why. The front end's start-up gives it (see ProgramStart::Wire).
    using SourceOpener =
        std::function<bool(const std::string& path, std::string& folder, std::string& notice)>;
    void SetSourceOpener(SourceOpener opener) { sourceOpener_ = std::move(opener); }
    /// "Open disc or pack...": asks the view for a source, then ChangeSource.
    void OnOpenSource();
    /// Reads the proposed lists again from the source `path` names (UTF-8 host path), as a drop
    /// or a chosen folder asks, through RunCommand; with entries added but not installed, first
    /// asks whether to install them (Yes) or cancel them (No). True when the window is to close
    /// now.
    bool ChangeSource(std::string path);
    /// F1: the help, naming where the game and the new data were found.
    void OnHelp();

    void ShowSets();
    /// The kind of the tab shown: its text compared with the "Tracks" and "Cars" labels, ignoring
    /// case; nullopt on any other tab, or none.
    std::optional<DataKind> CurrentTab();
    void UpdateButtonStates();
    void RefreshButtonPictures();
    void ChangeLayout(Layout layout);
    void SetButtonPicture(std::int32_t button, int bitmap);
    /// Shows the report of `code`, with `detail` as its second paragraph when there is one;
    /// fatal: ends the program with -1 and returns 0; otherwise clears the pending and command
    /// flags, refreshes the pictures, returns to the compact layout and returns 1.
    int ReportError(std::int32_t code, const char* argument, bool fatal,
                    std::string_view detail = {});
    /// Reports the failure of a command from its report: a file error names the file and its
    /// cause (the command ends at its box), any other code goes to ReportError.
    void ReportFailure(std::int32_t code, const CommandReport& report);
    /// A line (code page 1252) that the report "game not detected" shows below its fixed text:
    /// where the front end looked for the game.
    void SetGameSearchNotice(std::string line) { gameSearchNotice_ = std::move(line); }
    /// Sets a control's text to the localised text `textId`; 0 when the control or text is missing.
    int SetControlText(std::int32_t control, int textId);

    [[nodiscard]] PatcherSession& Session() { return session_; }
    [[nodiscard]] ShellState& State() { return state_; }
    [[nodiscard]] bool Ended() const { return ended_; }
    /// Whether OnInitDialog stopped because the game's history cannot be kept (told in a box).
    [[nodiscard]] bool StoppedByHistory() const { return historyStopped_; }

private:
    int MessageBox(std::string_view text, std::string_view caption, std::uint32_t style) override;
    void ProgressStep() override;
    void Pause(int milliseconds) override;

    bool ExclusiveUseOfGame();
    /// Takes the lock every run holds on the game it works on, into gameLock_.
    LockResult LockGame();
    void DetectAcceleratedVersion();
    bool MakeWorkingCopy(const PathText& list, const char* baseName, PathText& workCopy);
    void DeleteTemporaryFiles();
    /// Ends the program after a fatal error.
    void EndFatally();
    void StartProgress(int textId, std::int32_t upper);
    void AddToList(DataKind kind);
    /// Copies the game's list over the work list and analyses and scans `kind` again; false when a
    /// fatal error ended the dialog.
    bool ReloadKind(DataKind kind);
    /// ChangeSource's command, on chosenSource_.
    void OnChangeSource();
    /// The present slot of the first selected entry of "Added Data", or -1.
    std::int32_t SelectedAddedSlot(const PresentSetView& present);

    PatcherSession session_;
    DialogView& view_;
    ShellState state_;
    std::string sourceFolder_;
    SourceOpener sourceOpener_;
    std::string chosenSource_;
    std::string gameSearchNotice_;
    std::unique_ptr<FileLock> gameLock_;
    bool ended_ = false;
    bool showOnly_ = false;
    bool historyStopped_ = false;
    bool commandRunning_ = false;
    bool closePending_ = false;
};

} // namespace zav
