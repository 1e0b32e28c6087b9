// zavpatch history / undo.
#include "history_commands.h"

#include <iostream>

#include "commands.h"
#include "dry_run_plan.h"
#include "history/history_store.h"
#include "history/undo.h"
#include "platform/codepage.h"
#include "platform/profile_reader.h"
#include "platform/ui.h"
#include "settings/data_paths.h"
#include "settings/game_location.h"

namespace zav {
namespace {

class SilentUi final : public Ui {
public:
    int MessageBox(std::string_view, std::string_view, std::uint32_t) override { return IDNO; }
    void ProgressStep() override {}
    void Pause(int) override {}
};

// The session of a history command, with the game found; false (and a message) when it is not.
bool FindGame(ProgramFileSystem& program, PatcherSession& session,
              const std::string& placesNotice) {
    session.settings.GameVersion =
        FindGameDirectory(session.files, session.profile, &session.settings.GameDirectory);
    if (session.settings.GameVersion != 0) {
        return true;
    }
    std::cerr << "Fatal Error: ZAV not detected.\n"
              << Cp1252ToUtf8(GameSearchNotice(program)) << '\n';
    if (!placesNotice.empty()) {
        std::cerr << Cp1252ToUtf8(placesNotice) << '\n';
    }
    return false;
}

// The message of an undo with the core's paths shown as the user finds them on this system.
std::string WithHostPaths(ProgramFileSystem& program, std::string text, const std::string& path) {
#ifdef _WIN32 // the core's own form is the user's there
    (void)program;
    const std::string host;
#else
    const std::string host = path.empty() ? "" : program.Host().HostPath(path);
#endif
    if (!host.empty()) {
        for (std::size_t at = text.find(path); at != std::string::npos;
             at = text.find(path, at + host.size())) {
            text.replace(at, path.size(), host);
        }
    }
    return Cp1252ToUtf8(text);
}

} // namespace

int ShowHistory(ProgramFileSystem& program, const std::string& placesNotice) {
    SilentUi ui;
    FileSystemProfile profile(program.Files());
    PatcherSession session(program.Files(), profile, ui);
    if (!FindGame(program, session, placesNotice)) {
        return 255;
    }
    const auto history = ReadHistory(program.Files(), session.settings.GameDirectory.view());
    const std::string_view game = session.settings.GameDirectory.view();
    if (CheckHistoryFolder(program.Files(), game) == JournalProblem::Link) {
        std::cerr << "zavpatch: " << Cp1252ToUtf8(HistoryFolder(game))
                  << " is a link; the history is never read through links.\n";
        return EXIT_UNDONE;
    }
    if (history.empty()) {
        std::cout << "No change of the game is recorded yet.\n";
    }
    for (const HistoryEntry& entry : history) {
        std::cout << Cp1252ToUtf8(DescribeEntry(entry));
    }
    return 0;
}

int UndoLastChange(ProgramStart& start, TerminalDialogView& view) {
    ProgramFileSystem& program = start.Program();
    PatcherDialog& dialog = start.Wire(view);
    const auto outcome = dialog.UndoNewestChange();
    if (!outcome) {
        return 255; // the game is not found, or the tool runs on it already
    }
    if (CopyOnWriteFileSystem* dryRun = program.DryRun()) {
        PatcherSession& session = dialog.Session();
        AnalysisState& analysis = session.analysis;
        BuildDataPath(session.settings, "circuits", EXT_LIST, FOLDER_SCRIPTS, nullptr,
                      &analysis.TrackListPath);
        BuildDataPath(session.settings, "voiture2", EXT_LIST, FOLDER_SCRIPTS, nullptr,
                      &analysis.CarListPath);
        PrintDryRunPlan(std::cout, *dryRun, program.Host(), session, {});
    }
    const int status = outcome->result == UndoOutcome::Result::Done ? EXIT_DONE : EXIT_UNDONE;
    if (status == EXIT_DONE) {
        std::cerr << "Undone: " << Cp1252ToUtf8(DescribeEntry(outcome->entry));
    } else {
        std::cerr << "zavpatch: " << WithHostPaths(program, outcome->reason, outcome->path) << '\n';
    }
    dialog.OnCloseButton();
    return status;
}

} // namespace zav
