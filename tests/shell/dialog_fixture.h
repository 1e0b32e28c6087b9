// A PatcherDialog over a generated sample game, driven through a recording in-memory view.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/posix/posix_file_system.h"
#include "platform/profile_reader.h"
#include "shell/headless_dialog_view.h"
#include "shell/patcher_dialog.h"
#include "support/list_bytes.h"
#include "support/sample_setup.h"
#include "support/temp_dir.h"

namespace zav::test {

using Size = std::pair<std::int32_t, std::int32_t>;

/// What the dialog did to the view since the last Clear().
struct Recorded {
    std::deque<int> answers; // for Yes/No questions; then No, so a stray question destroys nothing
    std::vector<std::string> boxes; // "caption style: text"
    std::vector<Size> sizes;
    std::vector<std::int32_t> ranges; // upper ends of the progress ranges set
    int steps = 0, pausedMs = 0;
    std::vector<std::pair<std::int32_t, std::int32_t>> drawings;
    std::vector<int> ends, exits;
    std::vector<std::string> events; // "box", "resize", "wait <text>", "wait closed", "exit"
};

class FakeView final : public HeadlessDialogView, public Recorded {
public:
    void Clear() { static_cast<Recorded&>(*this) = {}; }
    int MessageBox(std::string_view text, std::string_view caption, std::uint32_t style) override {
        boxes.push_back(std::string(caption) + " " + std::to_string(style) + ": " +
                        std::string(text));
        events.emplace_back("box");
        if ((style & MB_TYPEMASK) != MB_YESNO || answers.empty()) {
            return (style & MB_TYPEMASK) != MB_YESNO ? IDOK : IDNO;
        }
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void ResizeWindow(std::int32_t width, std::int32_t height) override {
        HeadlessDialogView::ResizeWindow(width, height);
        sizes.push_back({width, height});
        events.emplace_back("resize");
    }
    void SetProgressRange(std::int32_t lower, std::int32_t upper) override {
        HeadlessDialogView::SetProgressRange(lower, upper);
        ranges.push_back(upper);
    }
    void StepProgress() override { HeadlessDialogView::StepProgress(), ++steps; }
    void Pause(int milliseconds) override { pausedMs += milliseconds; }
    void ShowWaitDialog(std::string_view text) override {
        events.push_back("wait " + std::string(text));
    }
    void CloseWaitDialog() override { events.emplace_back("wait closed"); }
    void DrawImage(std::int32_t x, std::int32_t y, const RgbImage&) override {
        drawings.push_back({x, y});
    }
    void EndDialog(int result) override {
        HeadlessDialogView::EndDialog(result), ends.push_back(result);
    }
    void ExitProcess(int code) override {
        HeadlessDialogView::ExitProcess(code);
        exits.push_back(code);
        events.emplace_back("exit");
    }
};

/// The host's files with `freeBytes` free on the drive (nullopt: the query fails), recording
/// free-space queries and folder listings.
class RecordingFileSystem final : public FileSystem {
public:
    explicit RecordingFileSystem(FileSystem& inner) : in_(inner) {}
    std::optional<std::uint64_t> freeBytes = std::uint64_t{1} << 40;
    std::vector<std::string> freeSpaceQueries, listedFolders;

    std::unique_ptr<FileHandle> Open(std::string_view p, OpenMode m) override {
        return in_.Open(p, m);
    }
    bool CopyFile(std::string_view f, std::string_view t, bool x) override {
        return in_.CopyFile(f, t, x);
    }
    bool RenameFile(std::string_view f, std::string_view t) override {
        return in_.RenameFile(f, t);
    }
    bool SyncFile(std::string_view p) override { return in_.SyncFile(p); }
    bool DeleteFile(std::string_view p) override { return in_.DeleteFile(p); }
    bool SetAttributes(std::string_view p, std::uint32_t a) override {
        return in_.SetAttributes(p, a);
    }
    std::optional<std::vector<DirectoryEntry>> ListFolder(std::string_view folder) override {
        listedFolders.emplace_back(folder);
        return in_.ListFolder(folder);
    }
    std::optional<FileStatus> Status(std::string_view p) override { return in_.Status(p); }
    std::optional<std::uint64_t> FreeSpace(std::string_view path) override {
        freeSpaceQueries.emplace_back(path);
        return freeBytes;
    }
    bool CreateDirectory(std::string_view p) override { return in_.CreateDirectory(p); }
    std::string SiblingTemporaryPath(std::string_view t) override {
        return in_.SiblingTemporaryPath(t);
    }
    std::string TemporaryFolder() override { return in_.TemporaryFolder(); }
    void RemoveTemporaryFolder() override { in_.RemoveTemporaryFolder(); }
    std::string WindowsDirectory() override { return in_.WindowsDirectory(); }
    std::unique_ptr<FileLock> LockFile(std::string_view p, LockResult& r) override {
        return in_.LockFile(p, r);
    }

private:
    FileSystem& in_;
};

inline constexpr Size COMPACT{360, 475}, FULL{360, 500}, TRACK_PREVIEW{658, 420},
    CAR_PREVIEW{702, 420};

using ButtonRow = std::array<int, 5>;
inline constexpr ButtonRow ALL_INACTIVE{180, 175, 177, 179, 176}, PENDING{180, 175, 170, 179, 169};

inline const std::vector<std::string> kProposedTracks = {"Quarry", "Riverside", "Summit", "Tundra"};
inline const std::vector<std::string> kAddedTracks = {"<Inst.> Harbour", "<Inst.> Dunes"};
inline const std::vector<std::string> kAddedCars = {"<Inst.> Falcon", "<Inst.> Viper"};

/// The sample game (version 2, folder names in mixed case, 4 proposed tracks and cars) in a test
/// folder, TMPDIR in that folder, and a dialog over it once Start() runs.
class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        MakeFolders(tmp_);
        ::setenv("TMPDIR", tmp_.c_str(), 1);
        game_ = WriteSample(temp_ / "sample", 2, 200);
        host_ = std::make_unique<PosixFileSystem>(game_.prefix);
        files_ = std::make_unique<RecordingFileSystem>(*host_);
        profile_ = std::make_unique<FileSystemProfile>(*files_);
    }
    void TearDown() override {
        dialog_.reset();
        oldTmpdir_ ? ::setenv("TMPDIR", oldTmpdir_->c_str(), 1) : ::unsetenv("TMPDIR");
    }

    std::unique_ptr<PatcherDialog> MakeDialog(FakeView& view,
                                              std::optional<std::string> disc = {}) {
        view.PlaceWindow({100, 100, 460, 600});
        return std::make_unique<PatcherDialog>(*files_, *profile_, view, disc.value_or(game_.disc));
    }
    bool Start() {
        dialog_ = MakeDialog(view_);
        return dialog_->OnInitDialog();
    }

    /// Clicks the entry of `list` showing `name` (after any "<...> " mark).
    void Click(std::int32_t list, const std::string& name, bool selected = true) {
        const auto& entries = Entries(list);
        const auto it = std::find_if(entries.begin(), entries.end(), [&](const std::string& e) {
            return e == name || e.ends_with("> " + name);
        });
        ASSERT_NE(it, entries.end()) << name;
        const auto index = static_cast<std::int32_t>(it - entries.begin());
        if (list == IDC_NEW_LIST) {
            view_.SetListEntrySelected(list, index, selected);
            dialog_->OnSelchangeNewList();
        } else {
            view_.SetListSelection(list, index);
            dialog_->OnSelchangeAddedList();
        }
    }
    void ClickNew(const std::string& name, bool selected = true) {
        Click(IDC_NEW_LIST, name, selected);
    }
    void ShowTab(DataKind kind) {
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

    std::string Script(const std::string& name) const { return game_.Scripts(name); }
    std::string DiscPath(std::string relative) const {
        std::replace(relative.begin(), relative.end(), '/', '\\');
        return game_.disc + "\\" + relative;
    }
    Bytes DiscTrack(const std::string& name) const {
        return RecordAt(ReadFile(game_.Disc("circuits/" + name + "/circuits.bin")), 1, 140);
    }
    Bytes DiscCar(const std::string& name) const {
        return RecordAt(ReadFile(game_.Disc("voitures/" + name + "/voitures.bin")), 1, 128);
    }
    /// A disc folder circuits/`folder` whose list names `name`, with its five files.
    void AddDiscTrack(const std::string& folder, const std::string& name, std::size_t size = 64) {
        const std::string base = game_.Disc("circuits") + "/" + folder + "/";
        WriteFile(base + "circuits.bin", ListFile({TrackRecord(name, 2)}));
        for (const std::string& file : {name + ".bl3", name + ".img", name + ".meg", name + ".brt",
                                        "-" + name.substr(1) + ".brt"}) {
            WriteFile(base + file, Bytes(size, 0x5A));
        }
    }

    std::optional<std::string> oldTmpdir_ =
        std::getenv("TMPDIR") ? std::optional<std::string>(std::getenv("TMPDIR")) : std::nullopt;
    TempDir temp_;
    std::string tmp_ = temp_ / "tmp";
    SampleLayout game_;
    std::unique_ptr<PosixFileSystem> host_;
    std::unique_ptr<RecordingFileSystem> files_;
    std::unique_ptr<FileSystemProfile> profile_;
    FakeView view_;
    std::unique_ptr<PatcherDialog> dialog_;
};

class StartedTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        ASSERT_TRUE(Start());
    }
};

} // namespace zav::test
