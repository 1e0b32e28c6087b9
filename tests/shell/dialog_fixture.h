// A PatcherDialog over a generated sample game, driven through the recording FakeView.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "platform/posix/posix_file_system.h"
#include "platform/profile_reader.h"
#include "shell/patcher_dialog.h"
#include "support/fake_view.h"
#include "support/recording_file_system.h"
#include "support/sample_setup.h"
#include "support/temp_dir.h"

namespace zav::test {

/// The window rectangle the tests place the dialog in: W 360, H 500.
inline constexpr WindowRect TEST_WINDOW{100, 100, 460, 600};
inline constexpr FakeView::Size COMPACT{360, 475};
inline constexpr FakeView::Size FULL{360, 500};
inline constexpr FakeView::Size TRACK_PREVIEW{658, 420};
inline constexpr FakeView::Size CAR_PREVIEW{702, 420};

/// Pictures of buttons 5, 3, 4, 6 and 2, in that order.
using ButtonRow = std::array<int, 5>;
inline constexpr ButtonRow ALL_INACTIVE{180, 175, 177, 179, 176};

/// The sample game (version 2, folder names in mixed case, 4 proposed tracks and cars) written
/// into a test folder, with TMPDIR pointing at a folder of the test, and a dialog over it that
/// Start() runs. Tests may edit the tree (or `options_` in their constructor) before Start().
class DialogTest : public ::testing::Test {
protected:
    DialogTest();
    void SetUp() override;
    void TearDown() override;

    /// Runs the start-up; true when the dialog runs.
    bool Start();
    /// A second dialog on the same game and disc, with its own view.
    std::unique_ptr<PatcherDialog> MakeDialog(FakeView& view);

    PatcherDialog& Dialog() { return *dialog_; }
    ShellState& Shell() { return dialog_->State(); }
    AnalysisState& Analysis() { return dialog_->Session().analysis; }

    /// Clicks on an entry of list 1001 (adding it to the selection), as the user would.
    void ClickNew(const std::string& name, bool selected = true);
    /// Clicks on the entry of list 1002 that names `name`.
    void ClickAdded(const std::string& name);
    void ShowTab(std::int32_t kind);
    /// Selects the named proposed entries of the current tab and presses "Add to List".
    void AddToList(const std::vector<std::string>& names);

    [[nodiscard]] const std::vector<std::string>& Entries(std::int32_t list) const {
        return view_.List(list).entries;
    }
    [[nodiscard]] std::vector<std::string> SelectedEntries(std::int32_t list) const;
    [[nodiscard]] ButtonRow Pictures() const;
    /// The five command flags in the order of the pictures: Add, Display, Install, Trash, Cancel.
    [[nodiscard]] std::array<std::int32_t, 5> Flags();

    /// Host paths.
    [[nodiscard]] std::string TrackList() const { return game_.Scripts("circuits.bin"); }
    [[nodiscard]] std::string CarList() const { return game_.Scripts("voiture2.bin"); }
    [[nodiscard]] std::string TrackWorkList() const { return game_.Scripts("circuits.sav"); }
    [[nodiscard]] std::string CarWorkList() const { return game_.Scripts("voiture2.sav"); }
    /// The files below TMPDIR (the staging lists of a run live in its private folder there).
    [[nodiscard]] std::vector<std::string> TemporaryFiles() const { return FilesBelow(tmp_); }
    /// Sub-folders of TMPDIR.
    [[nodiscard]] std::vector<std::string> TemporaryFolders() const { return ListNames(tmp_); }

    /// The disc's path of a proposed entry's file as the core builds it (Windows separators).
    [[nodiscard]] std::string DiscPath(std::string_view kindFolder, std::string_view name,
                                       std::string_view file) const;
    /// Record 1 of the list file in a disc folder.
    [[nodiscard]] Bytes DiscTrackRecord(std::string_view name) const;
    [[nodiscard]] Bytes DiscCarRecord(std::string_view name) const;
    /// Size of a track's or car's set on the disc (bl3/bv3 variant), by host file sizes.
    [[nodiscard]] std::int64_t DiscTrackSetSize(std::string_view name) const;

    /// Adds a disc folder circuits/`folder` whose list names `recordName`, with the five
    /// standard files of `recordName` (each `size` bytes).
    void AddDiscTrack(const std::string& folder, const std::string& recordName,
                      std::size_t size = 64);
    void AddDiscCar(const std::string& folder, const std::string& recordName,
                    std::size_t size = 64);

    int RecordSize() const { return options_.version == 1 ? 128 : 140; }

    SampleOptions options_;
    TempDir temp_;
    std::string tmp_;
    std::unique_ptr<ScopedEnvironment> tmpdirSetting_;
    SampleLayout game_;
    std::unique_ptr<PosixFileSystem> host_;
    std::unique_ptr<RecordingFileSystem> files_;
    std::unique_ptr<FileSystemProfile> profile_;
    FakeView view_;
    std::unique_ptr<PatcherDialog> dialog_;
};

/// Bytes of a list file with `extra` records appended and the count raised to match.
Bytes WithRecordsAppended(Bytes list, const std::vector<Bytes>& extra);

} // namespace zav::test
