// One run of the dialog on a fresh copy of the sample game, through a fault-injecting file system,
// and what the robustness tests need around it: tree snapshots and the invariant checks.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/posix/posix_file_system.h"
#include "platform/profile_reader.h"
#include "platform/ui.h"
#include "shell/headless_dialog_view.h"
#include "shell/patcher_dialog.h"
#include "support/fault_injecting_file_system.h"
#include "support/temp_dir.h"
#include "tools/sample_game.h"

namespace zav::test {

#ifndef ZAV_ROBUSTNESS_EVERY
#define ZAV_ROBUSTNESS_EVERY 1
#endif
/// The sweeps try every SWEEP_STEP-th fault or kill point (fewer in the slower sanitizer build).
inline constexpr std::int64_t SWEEP_STEP = ZAV_ROBUSTNESS_EVERY;

/// The game's lists relative to a sample copy's folder.
inline const std::string GAME = "prefix/drive_c/Games/ZAV/";
inline const std::string TRACK_LIST = GAME + "Data/Binary/Scripts/circuits.bin";
inline const std::string CAR_LIST = GAME + "Data/Binary/Scripts/voiture2.bin";
inline const std::string BASE_CAR_LIST = GAME + "Data/Binary/Scripts/voitures.bin";
inline const std::string ALL_LISTS[] = {TRACK_LIST, CAR_LIST, BASE_CAR_LIST};
inline const std::string& ListOf(DataKind kind) {
    return kind == DataKind::Cars ? CAR_LIST : TRACK_LIST;
}

/// Every regular file below a folder by its '/'-separated relative path; links are not followed.
using TreeSnapshot = std::map<std::string, Bytes>;
TreeSnapshot SnapshotTree(const std::string& folder);
std::vector<std::string> DifferingPaths(const TreeSnapshot& a, const TreeSnapshot& b);

/// A copy of the sample game and disc of `version` in `folder`, its lists read-only when asked.
void CopySample(const std::string& folder, int version = 2, bool readOnlyLists = false);

/// The tool's temporaries beside files (".zav-...") and its working copies (.sav).
bool IsToolFile(std::string_view path);
/// Problems with `after` against `before`: a game list that is neither its old bytes nor
/// `expected` (its value for the list the command changes), a file lost or changed (the data files
/// of `trashed` may go), a new file that is no whole copy of a file of `copied`.
std::vector<std::string> GameProblems(const TreeSnapshot& before, const TreeSnapshot& after,
                                      const std::map<std::string, Bytes>& expected,
                                      const std::string& trashed,
                                      const std::vector<std::string>& copied);

/// A DialogView that keeps every message box; Yes/No questions are answered Yes.
class RecordingDialogView final : public HeadlessDialogView {
public:
    struct Box {
        std::string text, caption;
        std::uint32_t style = 0;
    };
    int MessageBox(std::string_view text, std::string_view caption, std::uint32_t style) override {
        boxes.push_back({std::string(text), std::string(caption), style});
        return (style & MB_TYPEMASK) == MB_YESNO ? IDYES : IDOK;
    }
    /// Whether a box with the stop or exclamation icon (not a question) came since box `first`.
    [[nodiscard]] bool ReportedFailureSince(std::size_t first) const;
    [[nodiscard]] std::string BoxesSince(std::size_t first) const;
    std::vector<Box> boxes;
};

/// The dialog (not started) over the sample copy in `root`, as one run of the program.
class GameRun {
public:
    explicit GameRun(const std::string& root);
    ~GameRun() { posix_.RemoveTemporaryFolder(); }
    GameRun(const GameRun&) = delete;
    GameRun& operator=(const GameRun&) = delete;

    bool Start() { return dialog_.OnInitDialog(); }
    void ShowTab(DataKind kind) {
        view_.SelectTab(kind);
        dialog_.OnSelchangeTab();
    }
    /// Select entries of "New Proposed Data" or "Added Data"; false when one is not there.
    bool SelectProposed(const std::vector<std::string>& names);
    bool SelectAdded(std::string_view name);

    PatcherDialog& Dialog() { return dialog_; }
    FaultInjectingFileSystem& Files() { return files_; }
    RecordingDialogView& View() { return view_; }
    AnalysisState& Analysis() { return dialog_.Session().analysis; }
    /// A core path relative to the copy's folder; empty when it lies outside.
    [[nodiscard]] std::string Relative(std::string_view corePath) const;
    std::vector<std::string> Further(DataKind kind, std::int32_t flag);

private:
    std::string root_;
    PosixFileSystem posix_;
    FaultInjectingFileSystem files_;
    FileSystemProfile profile_;
    RecordingDialogView view_;
    PatcherDialog dialog_;
};

} // namespace zav::test
