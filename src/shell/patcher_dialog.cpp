// PatcherDialog: start-up, selection, preview, commands and button state of the main dialog.
#include "shell/patcher_dialog.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "analysis/base_entries.h"
#include "analysis/file_sets.h"
#include "analysis/install_space.h"
#include "analysis/new_data_scan.h"
#include "analysis/present_set.h"
#include "analysis/set_tables.h"
#include "history/undo.h"
#include "install/delete_entry.h"
#include "install/guarded_copy.h"
#include "install/install_added.h"
#include "install/staging_updates.h"
#include "install/stale_temporaries.h"
#include "platform/codepage.h"
#include "preview/draw_preview.h"
#include "settings/data_paths.h"
#include "settings/error_report.h"
#include "settings/game_location.h"
#include "settings/path_length.h"
#include "settings/string_table.h"
#include "settings/text_format.h"

namespace zav {
namespace {

constexpr int IDOK_RESULT = IDOK;

// What the dialog's commands do differently for tracks and cars.
struct KindCommands {
    Layout previewLayout;
    /// Progress steps of "Install New" per added entry, and of one "Trash".
    std::int32_t installSteps;
    std::int32_t trashSteps;
    std::int32_t alreadyInstalledError;
    int confirmDeleteText;
};

const KindCommands& CommandsOf(DataKind kind) {
    static constexpr KindCommands tracks{
        .previewLayout = Layout::TrackPreview,
        .installSteps = 6,
        .trashSteps = 8,
        .alreadyInstalledError = ERR_TRACK_ALREADY_INSTALLED,
        .confirmDeleteText = TEXT_CONFIRM_DELETE_TRACK,
    };
    static constexpr KindCommands cars{
        .previewLayout = Layout::CarPreview,
        .installSteps = 4,
        .trashSteps = 6,
        .alreadyInstalledError = ERR_CAR_ALREADY_INSTALLED,
        .confirmDeleteText = TEXT_CONFIRM_DELETE_CAR,
    };
    return kind == DataKind::Cars ? cars : tracks;
}

// InstallAdded as one command of the session's history: the entries it installed are noted.
std::int32_t InstallJournaled(PatcherSession& session, DataKind kind, CommandReport& report) {
    ChangeJournal* journal = session.journal;
    if (journal == nullptr) {
        return InstallAdded(session, kind, report);
    }
    const PresentSetView present = PresentSet(session.analysis, kind);
    std::vector<std::string> waiting;
    for (std::int32_t s = present.firstFurther; s < present.End() && s < MAX_SET_ENTRIES; ++s) {
        if (present.flags[static_cast<std::size_t>(s)] == PRESENT_ADDED) {
            waiting.push_back(present.names[static_cast<std::size_t>(s)].str());
        }
    }
    journal->BeginCommand("install " + std::string(KindPlural(kind)));
    const std::int32_t result = InstallAdded(session, kind, report);
    for (const std::string& name : waiting) {
        const std::int32_t slot =
            FindNamed(present.names, present.firstFurther, present.End(), name);
        if (result == RESULT_OK && slot >= 0 &&
            present.flags[static_cast<std::size_t>(slot)] == PRESENT_INSTALLED) {
            journal->NoteEntry(kind, name, true);
        }
    }
    journal->EndCommand();
    return result;
}

} // namespace

PatcherDialog::PatcherDialog(FileSystem& files, Profile& profile, DialogView& view,
                             std::string sourceFolder)
    : session_(files, profile, *this), view_(view), sourceFolder_(std::move(sourceFolder)) {}

PatcherDialog::~PatcherDialog() = default;

int PatcherDialog::MessageBox(std::string_view text, std::string_view caption,
                              std::uint32_t style) {
    return view_.MessageBox(text, caption, style);
}

void PatcherDialog::ProgressStep() {
    view_.StepProgress();
}

void PatcherDialog::Pause(int milliseconds) {
    view_.Pause(milliseconds);
}

int PatcherDialog::SetControlText(std::int32_t control, int textId) {
    std::string text;
    if (!session_.texts.LoadControlText(textId, text)) {
        return 0;
    }
    return view_.SetControlText(control, text) ? 1 : 0;
}

bool PatcherDialog::OnInitDialog() {
    std::string tracksLabel;
    std::string carsLabel;
    session_.texts.LoadText(TEXT_TAB_TRACKS, tracksLabel);
    session_.texts.LoadText(TEXT_TAB_CARS, carsLabel);
    SetControlText(IDC_PRESENT_LABEL, TEXT_PRESENT_SET_DATA);
    SetControlText(IDC_NEW_LABEL, TEXT_NEW_PROPOSED_DATA);
    SetControlText(IDC_ADDED_LABEL, TEXT_ADDED_DATA);
    view_.SetWindowTitle(session_.texts.Text(TEXT_PROGRAM_TITLE));
    state_.MainWindow = view_.Handle();
    view_.SetIcon(IDI_MAIN);

    PatcherSettings& settings = session_.settings;
    settings.GameVersion =
        FindGameDirectory(session_.files, session_.profile, &settings.GameDirectory);
    if (settings.GameVersion == 0) {
        ReportError(ERR_GAME_NOT_DETECTED, nullptr, true);
        return false;
    }
    if (!GameFolderHoldsItsLists(settings)) {
        view_.MessageBox(FormatText(session_.texts.Own(OwnTextId::GameFolderTooLong),
                                    {settings.GameDirectory.view()}),
                         session_.texts.Text(TEXT_FATAL_ERROR), MB_OK | MB_ICONHAND);
        EndFatally();
        return false;
    }
    if (session_.journal != nullptr) {
        session_.journal->OpenGame(settings.GameDirectory.view());
    }
    // An empty SourceDirectory would make every new-data path start at the host's root: a
    // folder that is empty or too long for a path is refused, and nothing is proposed.
    const bool sourceUsable = !sourceFolder_.empty() && SetSourceDirectory(settings, sourceFolder_);
    if (!ExclusiveUseOfGame()) {
        return false;
    }
    if (!sourceUsable) {
        const ErrorReport report =
            FormatErrorReport(session_.texts, ERR_NEW_DATA_NOT_FOUND, nullptr, false);
        view_.MessageBox(report.message, report.caption, report.style);
    }

    view_.ShowWaitDialog(session_.texts.Text(TEXT_PLEASE_WAIT));
    for (const DataKind kind : {DataKind::Cars, DataKind::Tracks}) {
        CommandReport report;
        const std::int32_t result = AnalysePresentSet(session_, kind, report);
        if (result != RESULT_OK) {
            ReportError(result, report.argument.c_str(), true, report.detail);
            return false;
        }
    }
    ScanNewData(session_, DataKind::Cars);
    ScanNewData(session_, DataKind::Tracks);
    view_.CloseWaitDialog();

    DetectAcceleratedVersion();
    AnalysisState& analysis = session_.analysis;
    if (!showOnly_ &&
        (!MakeWorkingCopy(analysis.TrackListPath, "circuits", analysis.TrackWorkListPath) ||
         !MakeWorkingCopy(analysis.CarListPath, "voiture2", analysis.CarWorkListPath))) {
        return false;
    }
    // A history that cannot be kept stops every command before the first change of the game (a
    // game the user may not write at all is told above, by its working copies).
    if (session_.journal != nullptr) {
        if (const JournalProblem problem = session_.journal->Problem();
            problem != JournalProblem::None && !showOnly_) {
            const OwnTextId cause =
                problem == JournalProblem::Link         ? OwnTextId::HistoryIsLink
                : problem == JournalProblem::NotAFolder ? OwnTextId::HistoryIsFile
                : problem == JournalProblem::Full       ? OwnTextId::HistoryFull
                                                        : OwnTextId::HistoryNotWritable;
            view_.MessageBox(
                FormatText(session_.texts.Own(OwnTextId::HistoryUnusable),
                           {session_.journal->HistoryFolderPath(), session_.texts.Own(cause)}),
                session_.texts.Text(TEXT_FATAL_ERROR), MB_OK | MB_ICONHAND);
            DeleteTemporaryFiles();
            historyStopped_ = true;
            return false;
        }
    }

    view_.RemoveAllTabs();
    view_.InsertTab(0, tracksLabel);
    view_.InsertTab(1, carsLabel);
    view_.SetControlText(IDC_FREE_SPACE, "");
    view_.SetControlText(IDC_REQUIRED_SPACE, "");
    state_.InitialWindowRect = view_.WindowRectangle();
    ChangeLayout(Layout::Compact);
    state_.TrackAddPending = 0;
    state_.CarAddPending = 0;
    SetButtonPicture(IDC_CLOSE, IDB_CLOSE);
    state_.ProgressBar = IDC_PROGRESS;
    ShowSets();
    return true;
}

LockResult PatcherDialog::LockGame() {
    PathText lockFile;
    const std::string lockName(GAME_LOCK_FILE_NAME);
    BuildDataPath(session_.settings, lockName.c_str(), EXT_NONE, FOLDER_SCRIPTS, nullptr,
                  &lockFile);
    LockResult result = LockResult::Unavailable;
    gameLock_ = session_.files.LockFile(lockFile.view(), result);
    return result;
}

bool PatcherDialog::ExclusiveUseOfGame() {
    // A second run on the same game would make its working copies over the first run's.
    const LockResult result = LockGame();
    if (result == LockResult::Acquired && !showOnly_) {
        // No other run works on this game now: temporaries beside its files are a killed run's.
        RemoveStaleTemporaries(session_);
    }
    if (result != LockResult::Busy) {
        return true;
    }
    view_.MessageBox(session_.texts.Own(OwnTextId::AlreadyRunning),
                     session_.texts.Text(TEXT_FATAL_ERROR), MB_OK | MB_ICONHAND);
    EndFatally();
    return false;
}

void PatcherDialog::DetectAcceleratedVersion() {
    session_.analysis.AcceleratedVersionPresent = 0;
    for (const std::string_view name : ACCELERATED_EXECUTABLES) {
        PathText path = session_.settings.GameDirectory;
        if (!path.Append(name)) {
            continue;
        }
        const auto status = session_.files.Status(path.view());
        if (status && !status->isDirectory) {
            session_.analysis.AcceleratedVersionPresent = 1;
            return;
        }
    }
}

bool PatcherDialog::MakeWorkingCopy(const PathText& list, const char* baseName,
                                    PathText& workCopy) {
    const bool named = BuildDataPath(session_.settings, baseName, EXT_WORK_COPY, FOLDER_SCRIPTS,
                                     nullptr, &workCopy) != nullptr;
    if (named) {
        // A copy of a read-only list is read-only until its attributes are set below; one that a
        // killed run left so would refuse to be replaced, and the tool would never start again.
        session_.files.SetAttributes(workCopy.view(), FILE_ATTRIBUTE_NORMAL);
    }
    if (!named || !session_.files.CopyFile(list.view(), workCopy.view(), false)) {
        ReportError(ERR_TEMP_FILE, workCopy.c_str(), true);
        return false;
    }
    session_.files.SetAttributes(workCopy.view(), FILE_ATTRIBUTE_TEMPORARY);
    return true;
}

void PatcherDialog::OnSelchangeTab() {
    ShowSets();
}

void PatcherDialog::OnSelchangeNewList() {
    view_.SetListSelection(IDC_ADDED_LIST, -1);
    UpdateButtonStates();

    std::int64_t required = 0;
    if (const std::optional<DataKind> kind = CurrentTab()) {
        const ProposedSetView proposed = ProposedSet(session_.analysis, *kind);
        const std::int32_t count = std::min(view_.ListCount(IDC_NEW_LIST), proposed.total);
        std::vector<std::string> chosen;
        for (std::int32_t i = 0; i < count; ++i) {
            if (view_.IsListEntrySelected(IDC_NEW_LIST, i)) {
                chosen.push_back(proposed.names[static_cast<std::size_t>(i)].str());
            }
        }
        required = InstallSpaceNeeded(session_, *kind, chosen);
    }
    view_.SetControlText(IDC_REQUIRED_SPACE,
                         FormatText("%s : %d Kb", {session_.texts.Text(TEXT_REQUIRED_SPACE),
                                                   static_cast<long long>(required / 1024)}));
    // The free space where the data files go: the file system of the game's folder itself, not
    // of its drive's root, which may be another one (a drive mapped to the host's root, a folder
    // mounted below it). Counted in 64 bits, as drives hold far more than 2 GiB.
    const std::uint64_t free =
        session_.files.FreeSpace(session_.settings.GameDirectory.view()).value_or(0);
    view_.SetControlText(IDC_FREE_SPACE,
                         FormatText("%s : %ld Mb", {session_.texts.Text(TEXT_FREE_SPACE),
                                                    static_cast<long long>(free / 1048576)}));
    if (required > 0 && free < static_cast<std::uint64_t>(required)) {
        view_.ResetList(IDC_NEW_LIST);
        ShowSets();
    }
}

void PatcherDialog::OnSelchangeAddedList() {
    const std::int32_t count = view_.ListCount(IDC_NEW_LIST);
    for (std::int32_t i = 0; i < count; ++i) {
        view_.SetListEntrySelected(IDC_NEW_LIST, i, false);
    }
    UpdateButtonStates();
}

void PatcherDialog::OnDisplay() {
    if (state_.DisplayEnabled == 0) {
        return;
    }
    if (state_.PreviewShown == 0) {
        state_.PreviewShown = 1;
        state_.AddEnabled = 0;
        state_.InstallEnabled = 0;
        state_.TrashEnabled = 0;
        state_.CancelEnabled = 0;
        view_.EnableControl(IDC_NEW_LIST, false);
        view_.EnableControl(IDC_ADDED_LIST, false);
        view_.EnableControl(IDC_TAB, false);
        RefreshButtonPictures();
        SetButtonPicture(IDC_DISPLAY, IDB_DISPLAY_BACK);
        if (const std::optional<DataKind> kind = CurrentTab()) {
            ChangeLayout(CommandsOf(*kind).previewLayout);
            const ProposedSetView proposed = ProposedSet(session_.analysis, *kind);
            // The list's focus may rest on an entry the user has just deselected; the preview is
            // of the one entry that is selected.
            state_.PreviewIndex = view_.ListCaret(IDC_NEW_LIST);
            if (state_.PreviewIndex < 0 || state_.PreviewIndex >= proposed.total ||
                !view_.IsListEntrySelected(IDC_NEW_LIST, state_.PreviewIndex)) {
                state_.PreviewIndex = 0;
                while (state_.PreviewIndex + 1 < proposed.total &&
                       !view_.IsListEntrySelected(IDC_NEW_LIST, state_.PreviewIndex)) {
                    ++state_.PreviewIndex;
                }
            }
            const std::string name =
                proposed.names[static_cast<std::size_t>(state_.PreviewIndex)].str();
            BuildDataPath(session_.settings, name.c_str(), EXT_PICTURE, Facts(*kind).sourceFolder,
                          name.c_str(), &state_.PreviewPath);
            if (CheckFilePresent(session_, state_.PreviewPath.view(), name,
                                 *kind == DataKind::Cars ? 1 : 0, 1) == 1) {
                const WindowRect& initial = state_.InitialWindowRect;
                DrawPreview(session_.files, view_, initial.Width(), initial.Height(), *kind,
                            state_.PreviewPath.view());
                return;
            }
        }
    }
    state_.PreviewShown = 0;
    view_.EnableControl(IDC_NEW_LIST, true);
    view_.EnableControl(IDC_ADDED_LIST, true);
    view_.EnableControl(IDC_TAB, true);
    ChangeLayout(Layout::Compact);
    view_.SetListEntrySelected(IDC_NEW_LIST, state_.PreviewIndex, true);
    UpdateButtonStates();
}

void PatcherDialog::StartProgress(int textId, std::int32_t upper) {
    SetControlText(IDC_STATUS, textId);
    view_.SetProgressRange(0, upper);
    view_.SetProgressStep(1);
    view_.SetProgressPosition(0);
}

void PatcherDialog::OnAddToList() {
    if (state_.AddEnabled == 0) {
        return;
    }
    const std::optional<DataKind> kind = CurrentTab();
    if (!kind) {
        ShowSets();
        return;
    }
    AddToList(*kind);
}

void PatcherDialog::AddToList(DataKind kind) {
    const KindCommands& commands = CommandsOf(kind);
    KindTables tables = Tables(session_.analysis, kind);
    tables.recordsAppended = 0;
    ProposedSetView& proposed = tables.proposed;
    const PresentSetView& present = tables.present;
    std::int32_t marked = 0;
    for (std::int32_t i = 0; i < proposed.total; ++i) {
        if (!view_.IsListEntrySelected(IDC_NEW_LIST, i)) {
            continue;
        }
        const std::string name = proposed.names[static_cast<std::size_t>(i)].str();
        // A name of the game's own would have the install replace the base entry's files, and
        // its record would never show under "Added Data" to be trashed again.
        bool alreadyPresent = IsBaseEntryName(session_, kind, name);
        for (std::int32_t s = 0; s < present.End() && s < MAX_SET_ENTRIES; ++s) {
            alreadyPresent =
                alreadyPresent ||
                EqualsIgnoringAsciiCase(present.names[static_cast<std::size_t>(s)].view(), name);
        }
        if (alreadyPresent) {
            ReportError(commands.alreadyInstalledError, name.c_str(), false);
            continue;
        }
        if (CheckSet(session_, kind, name) != 0) {
            proposed.flags[static_cast<std::size_t>(i)] = PROPOSED_MARKED;
            ++marked;
        }
    }
    if (marked == 0) {
        ShowSets();
        return;
    }
    ChangeLayout(Layout::Full);
    StartProgress(TEXT_PREPARING_ADD, 2 * marked);
    CommandReport report;
    const std::int32_t result = AddSelected(session_, kind, report);
    if (result == RESULT_OK) {
        AddPending(state_, kind) = 1;
    } else {
        ReportFailure(result, report);
    }
    ChangeLayout(Layout::Compact);
    ShowSets();
}

PatcherDialog::Command PatcherDialog::ButtonCommand(std::int32_t control) {
    switch (control) {
    case IDC_DISPLAY:
        return &PatcherDialog::OnDisplay;
    case IDC_ADD:
        return &PatcherDialog::OnAddToList;
    case IDC_INSTALL:
        return &PatcherDialog::OnInstallNew;
    case IDC_TRASH:
        return &PatcherDialog::OnTrash;
    case IDC_CANCEL:
        return &PatcherDialog::OnCancel;
    case IDC_CLOSE:
        return &PatcherDialog::OnCloseButton;
    default:
        return nullptr;
    }
}

void PatcherDialog::OnInstallNew() {
    if (state_.InstallEnabled == 0) {
        return;
    }
    ChangeLayout(Layout::Full);
    SetControlText(IDC_STATUS, TEXT_INSTALLING);
    view_.SetProgressStep(1);
    view_.SetProgressPosition(0);
    const std::optional<DataKind> kind = CurrentTab();
    std::int32_t result = RESULT_OK;
    if (kind) {
        const std::int32_t added = PresentSet(session_.analysis, *kind).CountFlag(PRESENT_ADDED);
        view_.SetProgressRange(0, CommandsOf(*kind).installSteps * added);
        CommandReport report;
        result = InstallJournaled(session_, *kind, report);
        if (result == RESULT_OK) {
            AddPending(state_, *kind) = 0;
        } else {
            ReportFailure(result, report);
            if (result == RESULT_FILE_ERROR) {
                return; // the command ends at its box: no success message, no new display
            }
        }
    }
    ChangeLayout(Layout::Compact);
    if (kind && result == RESULT_OK) {
        view_.MessageBox(session_.texts.Text(TEXT_INSTALL_SUCCEEDED),
                         session_.texts.Text(TEXT_INFORMATION), MB_OK | MB_ICONINFORMATION);
    }
    ShowSets();
}

std::int32_t PatcherDialog::SelectedAddedSlot(const PresentSetView& present) {
    const std::int32_t count = view_.ListCount(IDC_ADDED_LIST);
    for (std::int32_t j = 0; j < count; ++j) {
        if (view_.IsListEntrySelected(IDC_ADDED_LIST, j)) {
            return j + present.firstFurther;
        }
    }
    return -1;
}

void PatcherDialog::OnTrash() {
    if (state_.TrashEnabled == 0) {
        return;
    }
    SetControlText(IDC_STATUS, TEXT_DELETING);
    view_.SetProgressStep(1);
    view_.SetProgressPosition(0);
    if (const std::optional<DataKind> kind = CurrentTab()) {
        const KindCommands& commands = CommandsOf(*kind);
        view_.SetProgressRange(0, commands.trashSteps);
        const PresentSetView present = PresentSet(session_.analysis, *kind);
        const std::int32_t slot = SelectedAddedSlot(present);
        if (slot >= 0 && slot < present.End() && slot < MAX_SET_ENTRIES) {
            // Kept aside: the deletion frees the slot and moves the later ones forward.
            const std::string name = present.names[static_cast<std::size_t>(slot)].str();
            const std::string question =
                FormatText(session_.texts.Text(commands.confirmDeleteText), {name});
            if (view_.MessageBox(question, session_.texts.Text(TEXT_WARNING),
                                 MB_YESNO | MB_ICONEXCLAMATION) == IDYES) {
                ChangeLayout(Layout::Full);
                ChangeJournal* journal = session_.journal;
                if (journal != nullptr) {
                    journal->BeginCommand("trash " + std::string(KindPlural(*kind)) + " " + name);
                }
                CommandReport report;
                const std::int32_t result = DeleteEntry(session_, *kind, slot, report);
                if (journal != nullptr) {
                    if (result == RESULT_OK || result == RESULT_FILES_KEPT ||
                        result == RESULT_FILES_LEFT) {
                        journal->NoteEntry(*kind, name, false);
                    }
                    journal->EndCommand();
                }
                if (result == RESULT_OK) {
                    view_.MessageBox(FormatText(session_.texts.Text(TEXT_DELETED), {name}),
                                     session_.texts.Text(TEXT_INFORMATION),
                                     MB_OK | MB_ICONINFORMATION);
                } else if (result == RESULT_FILES_KEPT) {
                    view_.MessageBox(
                        FormatText(session_.texts.Own(
                                       ForKind(OwnTextId::FilesKeptTrack, *kind == DataKind::Cars)),
                                   {name}),
                        session_.texts.Text(TEXT_INFORMATION), MB_OK | MB_ICONINFORMATION);
                } else if (result != RESULT_FILES_LEFT) { // told already
                    ReportError(result, name.c_str(), false, report.detail);
                }
            }
        }
    }
    ChangeLayout(Layout::Compact);
    ShowSets();
}

void PatcherDialog::OnCancel() {
    if (state_.CancelEnabled == 0) {
        return;
    }
    if (const std::optional<DataKind> kind = CurrentTab()) {
        if (!ReloadKind(*kind)) {
            return;
        }
    }
    ShowSets();
}

bool PatcherDialog::ReloadKind(DataKind kind) {
    const KindTables tables = Tables(session_.analysis, kind);
    AddPending(state_, kind) = 0;
    session_.files.CopyFile(tables.listPath.view(), tables.workListPath.view(), false);
    CommandReport report;
    const std::int32_t result = AnalysePresentSet(session_, kind, report);
    if (result != RESULT_OK) {
        ReportError(result, report.argument.c_str(), true, report.detail);
        return false;
    }
    ScanNewData(session_, kind);
    return true;
}

bool PatcherDialog::CanUndo() {
    return session_.journal != nullptr && session_.settings.GameVersion != 0 &&
           NewestNotUndone(session_.journal->Unrecorded(), session_.settings.GameDirectory.view())
               .has_value();
}

std::optional<UndoOutcome> PatcherDialog::UndoNewestChange() {
    PatcherSettings& settings = session_.settings;
    const bool started = gameLock_ != nullptr;
    if (!started) {
        settings.GameVersion =
            FindGameDirectory(session_.files, session_.profile, &settings.GameDirectory);
        if (settings.GameVersion == 0) {
            ReportError(ERR_GAME_NOT_DETECTED, nullptr, true);
            return std::nullopt;
        }
        if (!ExclusiveUseOfGame()) {
            return std::nullopt;
        }
        // No run works on the game now: working copies beside the lists are a killed run's, and
        // the lists the undo puts back must not be copied over by them later.
        for (const char* workCopy : {"circuits", "voiture2"}) {
            PathText path;
            if (BuildDataPath(settings, workCopy, EXT_WORK_COPY, FOLDER_SCRIPTS, nullptr, &path) !=
                    nullptr &&
                session_.files.Status(path.view())) {
                session_.files.SetAttributes(path.view(), FILE_ATTRIBUTE_NORMAL);
                session_.files.DeleteFile(path.view());
            }
        }
    }
    if (session_.journal == nullptr) {
        UndoOutcome nothing;
        nothing.reason = session_.texts.Own(OwnTextId::NothingToUndo);
        return nothing;
    }
    return UndoNewest(session_.journal->Unrecorded(), settings.GameDirectory.view(),
                      session_.texts.LanguageOffset());
}

void PatcherDialog::OnUndoLastChange() {
    const std::string title = session_.texts.Text(TEXT_PROGRAM_TITLE);
    const std::string_view game = session_.settings.GameDirectory.view();
    const auto entry = session_.journal != nullptr
                           ? NewestNotUndone(session_.journal->Unrecorded(), game)
                           : std::nullopt;
    if (!entry) {
        view_.MessageBox(session_.texts.Own(OwnTextId::NothingToUndo), title,
                         MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (view_.MessageBox(
            FormatText(session_.texts.Own(OwnTextId::UndoQuestion), {DescribeEntry(*entry)}), title,
            MB_YESNO | MB_ICONQUESTION) != IDYES) {
        return;
    }
    const auto outcome = UndoNewestChange();
    if (!outcome) {
        return;
    }
    if (outcome->result == UndoOutcome::Result::Done) {
        view_.MessageBox(FormatText(session_.texts.Own(OwnTextId::UndoDone),
                                    {static_cast<long long>(outcome->entry.number)}),
                         session_.texts.Text(TEXT_INFORMATION), MB_OK | MB_ICONINFORMATION);
    } else {
        view_.MessageBox(outcome->reason, title,
                         MB_OK |
                             (outcome->result == UndoOutcome::Result::Failed ? MB_ICONHAND
                                                                             : MB_ICONEXCLAMATION));
    }
    // What the lists show must follow the game's lists, as after "Cancel".
    for (const DataKind kind : {DataKind::Tracks, DataKind::Cars}) {
        if (!ReloadKind(kind)) {
            return;
        }
    }
    ShowSets();
}

bool PatcherDialog::RunCommand(Command command) {
    if (commandRunning_ || ended_) {
        return false;
    }
    commandRunning_ = true;
    (this->*command)();
    commandRunning_ = false;
    const bool close = closePending_ && !ended_;
    closePending_ = false;
    return close;
}

bool PatcherDialog::RequestClose() {
    if (commandRunning_) {
        closePending_ = true;
        return false;
    }
    return true;
}

void PatcherDialog::OnOpenSource() {
    chosenSource_ = view_.ChooseSource(session_.texts.Own(OwnTextId::OpenSourceTitle));
    if (!chosenSource_.empty()) {
        OnChangeSource();
    }
}

bool PatcherDialog::ChangeSource(std::string path) {
    chosenSource_ = std::move(path);
    return RunCommand(&PatcherDialog::OnChangeSource);
}

void PatcherDialog::OnChangeSource() {
    if (gameLock_ == nullptr || !sourceOpener_) {
        return;
    }
    // The entries added so far name files of the old source: they go in now or not at all.
    if (state_.TrackAddPending != 0 || state_.CarAddPending != 0) {
        const bool install = view_.MessageBox(session_.texts.Own(OwnTextId::PendingBeforeSource),
                                              session_.texts.Text(TEXT_PROGRAM_TITLE),
                                              MB_YESNO | MB_ICONQUESTION) == IDYES;
        for (const DataKind kind : {DataKind::Tracks, DataKind::Cars}) {
            if (!install || AddPending(state_, kind) == 0) {
                continue;
            }
            CommandReport report;
            if (const std::int32_t result = InstallJournaled(session_, kind, report);
                result != RESULT_OK) {
                ReportFailure(result, report);
            }
        }
    }
    std::string folder;
    std::string notice;
    const bool usable = sourceOpener_(chosenSource_, folder, notice) &&
                        SetSourceDirectory(session_.settings, folder);
    if (usable) {
        sourceFolder_ = folder;
    } else {
        // The old source stays: its lists are read again all the same, as the pending work ended.
        SetSourceDirectory(session_.settings, sourceFolder_);
    }
    for (const DataKind kind : {DataKind::Tracks, DataKind::Cars}) {
        if (!ReloadKind(kind)) {
            return;
        }
    }
    ShowSets();
    if (!notice.empty()) {
        view_.MessageBox(notice, session_.texts.Text(TEXT_PROGRAM_TITLE),
                         MB_OK | (usable ? MB_ICONEXCLAMATION : MB_ICONHAND));
    }
}

void PatcherDialog::OnHelp() {
    const std::string game = session_.settings.GameVersion != 0
                                 ? std::string(session_.settings.GameDirectory.view())
                                 : std::string("-");
    view_.ShowHelp(FormatText(session_.texts.Own(OwnTextId::HelpText), {game, sourceFolder_}),
                   session_.texts.Own(OwnTextId::HelpTitle));
}

std::vector<PatcherDialog::MenuEntry> PatcherDialog::MenuEntries() {
    std::vector<MenuEntry> entries;
    // Only a face whose start-up can open a new source offers to.
    if (sourceOpener_) {
        entries.push_back({MenuCommand::OpenSource, OwnTextId::OpenSourceMenuItem,
                           !commandRunning_ && gameLock_ != nullptr});
    }
    entries.push_back({MenuCommand::About, OwnTextId::AboutMenuItem, true});
    entries.push_back(
        {MenuCommand::UndoLastChange, OwnTextId::UndoMenuItem, !commandRunning_ && CanUndo()});
    entries.push_back({MenuCommand::CheckGame, OwnTextId::CheckMenuItem,
                       !commandRunning_ && gameLock_ != nullptr});
    return entries;
}

bool PatcherDialog::OnMenuCommand(MenuCommand command) {
    switch (command) {
    case MenuCommand::OpenSource:
        return RunCommand(&PatcherDialog::OnOpenSource);
    case MenuCommand::About:
        OnSysCommand(SC_ABOUT);
        return false;
    case MenuCommand::UndoLastChange:
        return RunCommand(&PatcherDialog::OnUndoLastChange);
    case MenuCommand::CheckGame:
        return RunCommand(&PatcherDialog::OnCheckGame);
    }
    return false;
}

void PatcherDialog::DeleteTemporaryFiles() {
    const AnalysisState& analysis = session_.analysis;
    for (const PathText* path : {&analysis.TrackWorkListPath, &analysis.CarWorkListPath,
                                 &analysis.TrackStagingPath, &analysis.CarStagingPath}) {
        if (!path->empty()) {
            session_.files.DeleteFile(path->view());
        }
    }
    session_.files.RemoveTemporaryFolder();
    gameLock_.reset();
}

// The working copies beside the game's lists stay, as the game's tool leaves them (the next run
// removes them); the run's private temporary folder, which nobody else would look at, goes.
void PatcherDialog::EndFatally() {
    session_.files.RemoveTemporaryFolder();
    gameLock_.reset(); // the process ends without unwinding
    ended_ = true;
    view_.ExitProcess(EXIT_FATAL);
}

void PatcherDialog::OnCloseButton() {
    DeleteTemporaryFiles();
    ended_ = true;
    view_.EndDialog(IDOK_RESULT);
}

void PatcherDialog::OnClose() {
    DeleteTemporaryFiles();
    ended_ = true;
    view_.ExitProcess(EXIT_CLOSED);
}

void PatcherDialog::OnPaint(bool minimised) {
    if (minimised) {
        view_.DrawIconCentred();
        return;
    }
    const std::optional<DataKind> kind = CurrentTab();
    if (kind && !state_.PreviewPath.empty()) {
        const WindowRect& initial = state_.InitialWindowRect;
        DrawPreview(session_.files, view_, initial.Width(), initial.Height(), *kind,
                    state_.PreviewPath.view());
    }
}

void PatcherDialog::OnSysCommand(std::uint32_t command) {
    if ((command & 0xFFF0) == SC_ABOUT) {
        view_.ShowAboutBox();
    }
}

void PatcherDialog::ShowSets() {
    if (const std::optional<DataKind> kind = CurrentTab()) {
        AnalysisState& analysis = session_.analysis;
        const PresentSetView present = PresentSet(analysis, *kind);
        const ProposedSetView proposed = ProposedSet(analysis, *kind);
        view_.ResetList(IDC_PRESENT_LIST);
        for (std::int32_t s = 0; s < present.firstFurther; ++s) {
            view_.AddListEntry(IDC_PRESENT_LIST, present.names[static_cast<std::size_t>(s)].view());
        }
        view_.ResetList(IDC_ADDED_LIST);
        const std::string installed = session_.texts.Text(TEXT_MARK_INSTALLED);
        const std::string temporary = session_.texts.Text(TEXT_MARK_TEMPORARY);
        for (std::int32_t s = present.firstFurther; s < present.End() && s < MAX_SET_ENTRIES; ++s) {
            const auto slot = static_cast<std::size_t>(s);
            NameText entry;
            entry.AssignCut((present.flags[slot] == PRESENT_INSTALLED ? installed : temporary) +
                            " " + present.names[slot].str());
            view_.AddListEntry(IDC_ADDED_LIST, entry.view());
        }
        view_.ResetList(IDC_NEW_LIST);
        for (std::int32_t i = 0; i < proposed.total; ++i) {
            view_.AddListEntry(IDC_NEW_LIST, proposed.names[static_cast<std::size_t>(i)].view());
        }
    }
    UpdateButtonStates();
}

std::optional<DataKind> PatcherDialog::CurrentTab() {
    std::string tracks;
    std::string cars;
    session_.texts.LoadText(TEXT_TAB_TRACKS, tracks);
    session_.texts.LoadText(TEXT_TAB_CARS, cars);
    const std::string current = view_.CurrentTabText();
    if (EqualsIgnoringCaseCp1252(current, tracks)) {
        return DataKind::Tracks;
    }
    if (EqualsIgnoringCaseCp1252(current, cars)) {
        return DataKind::Cars;
    }
    return std::nullopt;
}

void PatcherDialog::UpdateButtonStates() {
    bool anyNew = false;
    std::int32_t selectedNew = 0;
    const std::int32_t newCount = view_.ListCount(IDC_NEW_LIST);
    for (std::int32_t i = 0; i < newCount; ++i) {
        if (view_.IsListEntrySelected(IDC_NEW_LIST, i)) {
            anyNew = true;
            ++selectedNew;
        }
    }
    state_.AddEnabled = anyNew ? 1 : 0;
    if (!anyNew) {
        view_.SetControlText(IDC_FREE_SPACE, "");
        view_.SetControlText(IDC_REQUIRED_SPACE, "");
    }
    if (const std::optional<DataKind> kind = CurrentTab()) {
        state_.InstallEnabled =
            PresentSet(session_.analysis, *kind).CountFlag(PRESENT_ADDED) > 0 ? 1 : 0;
        state_.CancelEnabled = AddPending(state_, *kind) != 0 ? 1 : 0;
    } else {
        state_.InstallEnabled = 0;
    }
    bool anyAdded = false;
    const std::int32_t addedCount = view_.ListCount(IDC_ADDED_LIST);
    for (std::int32_t j = 0; j < addedCount; ++j) {
        anyAdded = anyAdded || view_.IsListEntrySelected(IDC_ADDED_LIST, j);
    }
    state_.TrashEnabled = (anyAdded && state_.InstallEnabled == 0) ? 1 : 0;
    state_.DisplayEnabled = selectedNew == 1 ? 1 : 0;
    RefreshButtonPictures();
}

void PatcherDialog::RefreshButtonPictures() {
    for (const ButtonPictures& pictures : kButtonPictures) {
        if (pictures.button != IDC_CLOSE) {
            SetButtonPicture(pictures.button, ButtonPictureFor(state_, pictures.button));
        }
    }
}

void PatcherDialog::SetButtonPicture(std::int32_t button, int bitmap) {
    view_.SetButtonPicture(button, bitmap);
}

void PatcherDialog::ChangeLayout(Layout layout) {
    const WindowSize size = LayoutSize(layout, state_.InitialWindowRect);
    view_.ResizeWindow(size.width, size.height);
}

void PatcherDialog::ReportFailure(std::int32_t code, const CommandReport& report) {
    if (code == RESULT_FILE_ERROR) {
        view_.MessageBox(FileErrorMessage(session_.files, report.argument.view(), report.cause),
                         session_.texts.Text(TEXT_PROGRAM_TITLE), MB_OK | MB_ICONHAND);
        return;
    }
    ReportError(code, report.argument.c_str(), false, report.detail);
}

int PatcherDialog::ReportError(std::int32_t code, const char* argument, bool fatal,
                               std::string_view detailText) {
    if (code != RESULT_REPORTED) {
        const ErrorReport report = FormatErrorReport(session_.texts, code, argument, fatal);
        std::string detail(detailText);
        if (code == ERR_GAME_NOT_DETECTED && !gameSearchNotice_.empty()) {
            // A second line, not a paragraph: it continues the sentence of the fixed text.
            detail = "\n" + gameSearchNotice_;
        }
        view_.MessageBox(detail.empty()           ? report.message
                         : detail.front() == '\n' ? report.message + detail
                                                  : report.message + "\n\n" + detail,
                         report.caption, report.style);
    }
    if (fatal) {
        EndFatally();
        return 0;
    }
    state_.TrackAddPending = 0;
    state_.CarAddPending = 0;
    state_.AddEnabled = 0;
    state_.InstallEnabled = 0;
    state_.TrashEnabled = 0;
    state_.CancelEnabled = 0;
    RefreshButtonPictures();
    ChangeLayout(Layout::Compact);
    return 1;
}

} // namespace zav
