// zavpatch check / repair.
#include "check_commands.h"

#include <iostream>

#include "commands.h"
#include "dry_run_plan.h"
#include "platform/codepage.h"
#include "settings/error_report.h"
#include "settings/text_format.h"

namespace zav {
namespace {

// The game's check, printed; nullopt (after the fatal message) when it cannot be made.
std::optional<GameCheck> PrintedCheck(PatcherDialog& dialog, TerminalDialogView& view,
                                      bool forRepair) {
    std::optional<GameCheck> check = dialog.CheckGame(forRepair);
    if (!check) {
        return std::nullopt;
    }
    PatcherSession& session = dialog.Session();
    if (!check->Readable()) {
        const ErrorReport report = FormatErrorReport(session.texts, ERR_FILE_NOT_FOUND,
                                                     check->unreadableList.c_str(), true);
        view.MessageBox(report.message, report.caption, report.style);
        dialog.OnCloseButton();
        return std::nullopt;
    }
    for (const GameFinding& finding : check->findings) {
        std::cout << Cp1252ToUtf8(DescribeFinding(session.texts, finding)) << '\n';
    }
    if (check->findings.empty()) {
        std::cout << Cp1252ToUtf8(session.texts.Own(OwnTextId::CheckNoProblems)) << '\n';
    }
    return check;
}

} // namespace

int CheckTheGame(ProgramStart& start, TerminalDialogView& view) {
    PatcherDialog& dialog = start.Wire(view);
    const auto check = PrintedCheck(dialog, view, false);
    if (!check) {
        return 255;
    }
    dialog.OnCloseButton();
    return check->findings.empty() ? EXIT_DONE : EXIT_UNDONE;
}

int RepairTheGame(ProgramStart& start, TerminalDialogView& view) {
    PatcherDialog& dialog = start.Wire(view);
    const auto check = PrintedCheck(dialog, view, true);
    if (!check) {
        return 255;
    }
    const RepairResult result = dialog.RepairFindings(*check, true);
    PatcherSession& session = dialog.Session();
    if (CopyOnWriteFileSystem* plan = start.Program().DryRun()) {
        PrintDryRunPlan(std::cout, *plan, start.Program().Host(), session,
                        view.DeclinedQuestions());
    }
    if (!check->findings.empty()) {
        std::cerr << "zavpatch: "
                  << Cp1252ToUtf8(FormatText(
                         session.texts.Own(OwnTextId::RepairSummary),
                         {static_cast<int>(check->findings.size()), result.mended, result.left}))
                  << '\n';
    }
    dialog.OnCloseButton();
    return result.left == 0 ? EXIT_DONE : EXIT_UNDONE;
}

} // namespace zav
