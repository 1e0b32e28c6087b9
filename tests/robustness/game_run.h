// One run of the dialog on a fresh copy of the sample game, through a fault-injecting file system.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/posix/posix_file_system.h"
#include "platform/profile_reader.h"
#include "shell/patcher_dialog.h"
#include "support/fault_injecting_file_system.h"
#include "support/game_tree.h"
#include "support/recording_dialog_view.h"
#include "support/temp_dir.h"

namespace zav::test {

#ifndef ZAV_ROBUSTNESS_EVERY
#define ZAV_ROBUSTNESS_EVERY 1
#endif
/// The sweeps over fault and kill points try every SWEEP_STEP-th point: all of them unless the
/// build asks for fewer (the sanitizer build, where each run is slower).
inline constexpr std::int64_t SWEEP_STEP = ZAV_ROBUSTNESS_EVERY;

/// The sample the robustness tests work on: small data files, so a copy takes little time.
SampleOptions SmallSample(int version);

/// The dialog (not started) over a copy of the sample in `root`, as one run of the program:
/// destroying it ends the run (its lock goes, its temporary folder is removed).
class GameRun {
public:
    explicit GameRun(const std::string& root);
    ~GameRun();
    GameRun(const GameRun&) = delete;
    GameRun& operator=(const GameRun&) = delete;

    /// The dialog's start-up; false when it ended the program.
    bool Start() { return dialog_.OnInitDialog(); }
    void ShowTab(std::int32_t kind);
    /// Selects the named entries of "New Proposed Data" as a user would; false when one is not
    /// proposed.
    bool SelectProposed(const std::vector<std::string>& names);
    /// Selects the named entry of "Added Data"; false when it is not there.
    bool SelectAdded(std::string_view name);

    [[nodiscard]] PatcherDialog& Dialog() { return dialog_; }
    [[nodiscard]] FaultInjectingFileSystem& Files() { return files_; }
    [[nodiscard]] RecordingDialogView& View() { return view_; }
    [[nodiscard]] const SampleGamePaths& Paths() const { return paths_; }
    [[nodiscard]] AnalysisState& Analysis() { return dialog_.Session().analysis; }

    /// The copy's files, prefix and disc.
    [[nodiscard]] TreeSnapshot Snapshot() const { return SnapshotTree(paths_.root); }
    /// A path of the core, relative to the copy's folder; empty when it lies outside.
    [[nodiscard]] std::string Relative(std::string_view corePath) const;
    /// The game's list file (GAME_TRACK_LIST...) relative to the copy's folder.
    [[nodiscard]] static std::string GameRelative(std::string_view gameRelative);

private:
    SampleGamePaths paths_;
    PosixFileSystem posix_;
    FaultInjectingFileSystem files_;
    FileSystemProfile profile_;
    RecordingDialogView view_;
    PatcherDialog dialog_;
};

/// The names of the further entries of `kind` whose flag is `flag`, in slot order.
std::vector<std::string> FurtherEntries(AnalysisState& analysis, std::int32_t kind,
                                        std::int32_t flag);

} // namespace zav::test
