// PatcherDialog's check of the game and its repair, for the window's menu and the command line.
#include "history/history_check.h"
#include "settings/data_paths.h"
#include "settings/error_report.h"
#include "settings/game_location.h"
#include "settings/string_table.h"
#include "settings/text_format.h"
#include "shell/patcher_dialog.h"

namespace zav {

std::optional<GameCheck> PatcherDialog::CheckGame(bool forRepair) {
    PatcherSettings& settings = session_.settings;
    AnalysisState& analysis = session_.analysis;
    GameCheckOptions options;
    if (gameLock_ != nullptr) {
        options.lookForTemporaries = true;
        for (const PathText* own : {&analysis.TrackWorkListPath, &analysis.CarWorkListPath}) {
            if (!own->empty()) {
                options.ownFiles.push_back(own->str());
            }
        }
    } else {
        settings.GameVersion =
            FindGameDirectory(session_.files, session_.profile, &settings.GameDirectory);
        if (settings.GameVersion == 0) {
            ReportError(ERR_GAME_NOT_DETECTED, nullptr, true);
            return std::nullopt;
        }
        if (session_.journal != nullptr) {
            session_.journal->OpenGame(settings.GameDirectory.view());
        }
        // The lists a repair changes, as the other commands name them (the dry run's plan too).
        BuildDataPath(settings, "circuits", EXT_LIST, FOLDER_SCRIPTS, nullptr,
                      &analysis.TrackListPath);
        BuildDataPath(settings, "voiture2", EXT_LIST, FOLDER_SCRIPTS, nullptr,
                      &analysis.CarListPath);
        DetectAcceleratedVersion();
        const LockResult locked = LockGame();
        if (forRepair && locked == LockResult::Busy) {
            view_.MessageBox(session_.texts.Own(OwnTextId::AlreadyRunning),
                             session_.texts.Text(TEXT_FATAL_ERROR), MB_OK | MB_ICONHAND);
            EndFatally();
            return std::nullopt;
        }
        // Only while no run works on the game are the temporaries beside its files stale.
        options.lookForTemporaries = locked == LockResult::Acquired;
    }
    options.accelerated = analysis.AcceleratedVersionPresent != 0;
    GameCheck check = CheckGameFiles(session_.files, settings, options);
    if (check.Readable()) {
        for (GameFinding& finding :
             CheckHistoryCopies(session_.files, settings.GameDirectory.view())) {
            check.findings.push_back(std::move(finding));
        }
    }
    return check;
}

RepairResult PatcherDialog::RepairFindings(const GameCheck& check, bool ask) {
    return RepairGame(session_, check, ask);
}

void PatcherDialog::OnCheckGame() {
    const auto check = CheckGame(false);
    if (!check) {
        return;
    }
    const std::string title = session_.texts.Own(OwnTextId::CheckTitle);
    if (!check->Readable()) {
        view_.MessageBox(FormatErrorReport(session_.texts, ERR_FILE_NOT_FOUND,
                                           check->unreadableList.c_str(), false)
                             .message,
                         title, MB_OK | MB_ICONHAND);
        return;
    }
    if (check->findings.empty()) {
        view_.MessageBox(session_.texts.Own(OwnTextId::CheckNoProblems), title,
                         MB_OK | MB_ICONINFORMATION);
        return;
    }
    std::string text;
    for (const GameFinding& finding : check->findings) {
        text += (text.empty() ? "" : "\n") + DescribeFinding(session_.texts, finding);
    }
    // Mending reloads the lists from the game's, which would drop entries added but not installed.
    const bool offer =
        check->Mendable() > 0 && state_.TrackAddPending == 0 && state_.CarAddPending == 0;
    if (!offer) {
        view_.MessageBox(text, title, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    text += "\n\n" + FormatText(session_.texts.Own(OwnTextId::RepairOffer), {check->Mendable()});
    if (view_.MessageBox(text, title, MB_YESNO | MB_ICONQUESTION) != IDYES) {
        return;
    }
    const RepairResult repaired = RepairFindings(*check, false);
    view_.MessageBox(
        FormatText(session_.texts.Own(OwnTextId::RepairSummary),
                   {static_cast<int>(check->findings.size()), repaired.mended, repaired.left}),
        title, MB_OK | (repaired.left == 0 ? MB_ICONINFORMATION : MB_ICONEXCLAMATION));
    for (const DataKind kind : {DataKind::Tracks, DataKind::Cars}) {
        if (!ReloadKind(kind)) {
            return;
        }
    }
    ShowSets();
}

} // namespace zav
