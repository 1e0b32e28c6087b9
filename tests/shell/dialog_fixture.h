// A PatcherDialog over a generated sample game, driven through a recording in-memory view.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/posix/posix_file_system.h"
#include "platform/profile_reader.h"
#include "shell/headless_dialog_view.h"
#include "shell/patcher_dialog.h"
#include "support/fake_ui.h"
#include "support/list_bytes.h"
#include "support/sample_setup.h"
#include "support/temp_dir.h"

namespace zav::test {

inline bool operator==(const ShownBox& a, const ShownBox& b) {
    return a.text == b.text && a.caption == b.caption && a.style == b.style;
}
inline void PrintTo(const ShownBox& box, std::ostream* out) {
    *out << "{\"" << box.text << "\", \"" << box.caption << "\", " << box.style << "}";
}

/// The window in memory: records boxes (answering Yes/No from `answers`, else No, so an
/// unexpected question never destroys anything), sizes, progress, drawings and the ending.
class FakeView final : public HeadlessDialogView {
public:
    struct Size {
        std::int32_t width, height;
        bool operator==(const Size&) const = default;
    };
    int MessageBox(std::string_view text, std::string_view caption, std::uint32_t style) override {
        boxes.push_back({std::string(text), std::string(caption), style});
        events.emplace_back("box");
        if ((style & MB_TYPEMASK) != MB_YESNO) {
            return IDOK;
        }
        const int answer = answers.empty() ? IDNO : answers.front();
        if (!answers.empty()) {
            answers.pop_front();
        }
        return answer;
    }
    void ResizeWindow(std::int32_t width, std::int32_t height) override {
        HeadlessDialogView::ResizeWindow(width, height);
        sizes.push_back({width, height});
        events.emplace_back("resize");
    }
    void SetProgressRange(std::int32_t lower, std::int32_t upper) override {
        HeadlessDialogView::SetProgressRange(lower, upper);
        progressUpper.push_back(upper);
    }
    void StepProgress() override {
        HeadlessDialogView::StepProgress();
        ++progressSteps;
    }
    void Pause(int milliseconds) override { pauses.push_back(milliseconds); }
    void ShowWaitDialog(std::string_view text) override {
        waitTexts.emplace_back(text);
        events.emplace_back("wait-shown");
    }
    void CloseWaitDialog() override { events.emplace_back("wait-closed"); }
    void ShowAboutBox() override { ++aboutBoxes; }
    void DrawIconCentred() override { ++iconsDrawn; }
    void DrawImage(std::int32_t x, std::int32_t y, const RgbImage&) override {
        drawings.push_back({x, y});
    }
    void EndDialog(int result) override {
        HeadlessDialogView::EndDialog(result);
        endResults.push_back(result);
    }
    void ExitProcess(int code) override {
        HeadlessDialogView::ExitProcess(code);
        exitCodes.push_back(code);
        events.emplace_back("exit");
    }
    /// Forgets what was recorded so far (the window's state stays).
    void Clear() {
        boxes.clear(), sizes.clear(), progressUpper.clear(), pauses.clear(), waitTexts.clear();
        drawings.clear(), endResults.clear(), exitCodes.clear(), events.clear();
        progressSteps = aboutBoxes = iconsDrawn = 0;
    }

    std::deque<int> answers;
    std::vector<ShownBox> boxes;
    std::vector<Size> sizes;
    std::vector<std::int32_t> progressUpper;
    int progressSteps = 0;
    std::vector<int> pauses;
    std::vector<std::string> waitTexts;
    int aboutBoxes = 0;
    int iconsDrawn = 0;
    std::vector<std::pair<std::int32_t, std::int32_t>> drawings;
    std::vector<int> endResults;
    std::vector<int> exitCodes;
    std::vector<std::string> events;
};

/// The host's files, except that the drive has `freeBytes` free (nullopt: the query fails);
/// records free-space queries and folder listings.
class RecordingFileSystem final : public FileSystem {
public:
    explicit RecordingFileSystem(FileSystem& inner) : inner_(inner) {}
    std::optional<std::uint64_t> freeBytes = std::uint64_t{1} << 40;
    std::vector<std::string> freeSpaceQueries, listedFolders;

    std::unique_ptr<FileHandle> Open(std::string_view p, OpenMode m) override {
        return inner_.Open(p, m);
    }
    bool CopyFile(std::string_view f, std::string_view t, bool x) override {
        return inner_.CopyFile(f, t, x);
    }
    bool RenameFile(std::string_view f, std::string_view t) override {
        return inner_.RenameFile(f, t);
    }
    bool SyncFile(std::string_view p) override { return inner_.SyncFile(p); }
    bool DeleteFile(std::string_view p) override { return inner_.DeleteFile(p); }
    bool SetAttributes(std::string_view p, std::uint32_t a) override {
        return inner_.SetAttributes(p, a);
    }
    std::optional<std::vector<DirectoryEntry>> ListFolder(std::string_view folder) override {
        listedFolders.emplace_back(folder);
        return inner_.ListFolder(folder);
    }
    std::optional<FileStatus> Status(std::string_view p) override { return inner_.Status(p); }
    std::optional<std::uint64_t> FreeSpace(std::string_view path) override {
        freeSpaceQueries.emplace_back(path);
        return freeBytes;
    }
    bool CreateDirectory(std::string_view p) override { return inner_.CreateDirectory(p); }
    std::string SiblingTemporaryPath(std::string_view t) override {
        return inner_.SiblingTemporaryPath(t);
    }
    std::string TemporaryFolder() override { return inner_.TemporaryFolder(); }
    void RemoveTemporaryFolder() override { inner_.RemoveTemporaryFolder(); }
    std::string WindowsDirectory() override { return inner_.WindowsDirectory(); }
    std::unique_ptr<FileLock> LockFile(std::string_view p, LockResult& r) override {
        return inner_.LockFile(p, r);
    }

private:
    FileSystem& inner_;
};

inline constexpr WindowRect TEST_WINDOW{100, 100, 460, 600};
inline constexpr FakeView::Size COMPACT{360, 475}, FULL{360, 500};
inline constexpr FakeView::Size TRACK_PREVIEW{658, 420}, CAR_PREVIEW{702, 420};

/// Pictures of Add, Display, Install, Trash and Cancel.
using ButtonRow = std::array<int, 5>;
inline constexpr ButtonRow ALL_INACTIVE{180, 175, 177, 179, 176};

inline const std::vector<std::string> kProposedTracks = {"Quarry", "Riverside", "Summit", "Tundra"};
inline const std::vector<std::string> kAddedTracks = {"<Inst.> Harbour", "<Inst.> Dunes"};
inline const std::vector<std::string> kAddedCars = {"<Inst.> Falcon", "<Inst.> Viper"};

/// The sample game (version 2, folder names in mixed case, 4 proposed tracks and 4 proposed
/// cars) in a test folder, TMPDIR in that folder, and a dialog over it. Tests may change the
/// tree or `options_` (in their constructor) before Start().
class DialogTest : public ::testing::Test {
protected:
    DialogTest() {
        options_.version = 2;
        options_.mixedCase = true;
        options_.dataSize = 200;
    }
    void SetUp() override {
        MakeFolders(tmp_);
        game_ = WriteSample(temp_ / "sample", options_);
        host_ = std::make_unique<PosixFileSystem>(game_.prefix);
        files_ = std::make_unique<RecordingFileSystem>(*host_);
        profile_ = std::make_unique<FileSystemProfile>(*files_);
    }
    void TearDown() override { dialog_.reset(); }

    std::unique_ptr<PatcherDialog> MakeDialog(FakeView& view,
                                              std::optional<std::string> disc = {}) {
        view.PlaceWindow(TEST_WINDOW);
        return std::make_unique<PatcherDialog>(*files_, *profile_, view, disc.value_or(game_.disc));
    }
    bool Start() {
        dialog_ = MakeDialog(view_);
        return dialog_->OnInitDialog();
    }
    PatcherDialog& Dialog() { return *dialog_; }
    ShellState& Shell() { return dialog_->State(); }

    static std::int32_t IndexOf(const std::vector<std::string>& entries, std::string_view text) {
        const auto it = std::find_if(entries.begin(), entries.end(), [&](const std::string& e) {
            return e == text || e.ends_with("> " + std::string(text));
        });
        return it == entries.end() ? -1 : static_cast<std::int32_t>(it - entries.begin());
    }
    /// Clicks a proposed entry (adding it to the selection, or taking it out).
    void ClickNew(const std::string& name, bool selected = true) {
        const std::int32_t index = IndexOf(Entries(IDC_NEW_LIST), name);
        ASSERT_GE(index, 0) << name;
        view_.SetListEntrySelected(IDC_NEW_LIST, index, selected);
        dialog_->OnSelchangeNewList();
    }
    void ClickAdded(const std::string& name) {
        const std::int32_t index = IndexOf(Entries(IDC_ADDED_LIST), name);
        ASSERT_GE(index, 0) << name;
        view_.SetListSelection(IDC_ADDED_LIST, index);
        dialog_->OnSelchangeAddedList();
    }
    void ShowTab(std::int32_t kind) {
        view_.SelectTab(kind);
        dialog_->OnSelchangeTab();
    }
    void AddToList(const std::vector<std::string>& names) {
        for (const std::string& name : names) {
            ClickNew(name);
        }
        dialog_->OnAddToList();
    }
    const std::vector<std::string>& Entries(std::int32_t list) const {
        return view_.List(list).entries;
    }
    std::vector<std::string> Selected(std::int32_t list) const {
        const auto& state = view_.List(list);
        std::vector<std::string> selected;
        for (std::size_t i = 0; i < state.entries.size(); ++i) {
            if (state.selected[i]) {
                selected.push_back(state.entries[i]);
            }
        }
        return selected;
    }
    ButtonRow Pictures() const {
        return {view_.Picture(IDC_ADD), view_.Picture(IDC_DISPLAY), view_.Picture(IDC_INSTALL),
                view_.Picture(IDC_TRASH), view_.Picture(IDC_CANCEL)};
    }

    std::string TrackList() const { return game_.Scripts("circuits.bin"); }
    std::string CarList() const { return game_.Scripts("voiture2.bin"); }
    std::string TrackWorkList() const { return game_.Scripts("circuits.sav"); }
    std::string CarWorkList() const { return game_.Scripts("voiture2.sav"); }
    std::string GameFile(const std::string& relative) const { return game_.Game(relative); }
    Bytes DiscFile(const std::string& relative) const { return ReadFile(game_.Disc(relative)); }
    /// A disc file's path as the core names it (Windows separators).
    std::string DiscPath(const std::string& relative) const {
        std::string path = game_.disc + "/" + relative;
        std::replace(path.begin() + static_cast<std::ptrdiff_t>(game_.disc.size()), path.end(), '/',
                     '\\');
        return path;
    }
    std::vector<std::string> TemporaryFiles() const { return FilesBelow(tmp_); }

    std::size_t RecordSize() const { return options_.version == 1 ? 128 : 140; }
    Bytes DiscTrackRecord(const std::string& name) const {
        return RecordAt(DiscFile("circuits/" + name + "/circuits.bin"), 1, RecordSize());
    }
    Bytes DiscCarRecord(const std::string& name) const {
        return RecordAt(DiscFile("voitures/" + name + "/voitures.bin"), 1, 128);
    }
    /// A disc folder circuits/`folder` whose list names `name`, with its five files.
    void AddDiscTrack(const std::string& folder, const std::string& name, std::size_t size = 64) {
        const std::string base = game_.Disc("circuits") + "/" + folder + "/";
        WriteFile(base + "circuits.bin", ListFile({TrackRecord(name, options_.version)}));
        for (const std::string& file : {name + ".bl3", name + ".img", name + ".meg", name + ".brt",
                                        "-" + name.substr(1) + ".brt"}) {
            WriteFile(base + file, Bytes(size, 0x5A));
        }
    }
    void AddDiscCar(const std::string& folder, const std::string& name) {
        const std::string base = game_.Disc("voitures") + "/" + folder + "/";
        WriteFile(base + "voitures.bin", ListFile({CarRecord(name)}));
        for (const char* extension : {".bv3", ".img", ".meg"}) {
            WriteFile(base + name + extension, Bytes(64, 0x5B));
        }
    }

    SampleOptions options_;
    TempDir temp_;
    std::string tmp_ = temp_ / "tmp";
    ScopedEnvironment tmpdir_{"TMPDIR", tmp_};
    SampleLayout game_;
    std::unique_ptr<PosixFileSystem> host_;
    std::unique_ptr<RecordingFileSystem> files_;
    std::unique_ptr<FileSystemProfile> profile_;
    FakeView view_;
    std::unique_ptr<PatcherDialog> dialog_;
};

} // namespace zav::test
