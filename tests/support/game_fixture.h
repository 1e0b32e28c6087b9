// A game installed in a Wine prefix, a disc of new tracks and cars beside the tool, and a session
// of the tool over them: real files in a temporary folder, reached through PosixFileSystem.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/patcher_session.h"
#include "platform/posix/posix_file_system.h"
#include "platform/profile_reader.h"
#include "settings/data_paths.h"
#include "support/fake_ui.h"
#include "support/fault_injecting_file_system.h"
#include "support/list_bytes.h"
#include "support/temp_dir.h"

namespace zav::test {

struct FixtureOptions {
    /// 1: settings section "ZAV" and 128-byte track records; 2: "ZAV2_0" and 140-byte records.
    std::int32_t gameVersion = 2;
    /// "ZAV/DATA/BINARY/...", "CIRCUITS", "VOITURES" and the disc's lists spelled in upper case.
    bool upperFolders = false;
};

/// The game starts with 16 base tracks in circuits.bin, the 8 base cars in voitures.bin and an
/// empty voiture2.bin; the disc starts empty.
class GameFixture {
public:
    explicit GameFixture(FixtureOptions options = {});
    ~GameFixture() { posix.RemoveTemporaryFolder(); }
    GameFixture(const GameFixture&) = delete;
    GameFixture& operator=(const GameFixture&) = delete;

    /// Host path of a game data folder (FOLDER_*) or of a file in it, spelled as on disk.
    [[nodiscard]] std::string GameFolderHost(std::int32_t selector) const;
    [[nodiscard]] std::string GameFileHost(std::int32_t selector, std::string_view file) const {
        return GameFolderHost(selector) + "/" + std::string(file);
    }
    [[nodiscard]] std::string Script(std::string_view file) const {
        return GameFileHost(FOLDER_SCRIPTS, file);
    }

    /// Lists of records of the game's kind; records of different names differ beyond the name.
    [[nodiscard]] Bytes TrackList(const std::vector<std::string>& names,
                                  std::int64_t count = -1) const;
    [[nodiscard]] static Bytes CarList(const std::vector<std::string>& names,
                                       std::int64_t count = -1);
    /// The 16 base track names followed by `further`.
    [[nodiscard]] static std::vector<std::string> BaseTracksAnd(std::vector<std::string> further);

    [[nodiscard]] std::string DiscFileHost(DataKind kind, std::string_view folder,
                                           std::string_view file) const;
    /// The path the tool builds for a file of a proposed entry.
    [[nodiscard]] std::string SourcePath(DataKind kind, std::string_view name,
                                         std::string_view file) const;
    /// A track's six files (bl3, bl4, img, meg, name.brt, second .brt) or a car's four.
    [[nodiscard]] static std::vector<std::string> EntryFiles(DataKind kind,
                                                             std::string_view name);
    /// The game data folder a track or car file goes to, by its extension.
    [[nodiscard]] static std::int32_t GameFolderOf(std::string_view file);
    [[nodiscard]] static Bytes DiscContent(std::string_view folder, std::string_view file);
    /// Adds an entry folder whose list names `recordName` (the folder's name when empty) in its one
    /// record, with all data files named after the folder, in upper case when asked.
    Bytes AddDisc(DataKind kind, std::string_view folder, std::string_view recordName = {},
                  bool upperFiles = false) const;

    /// Fills the settings as the dialog's start-up does.
    void Locate();
    /// Locate, the present sets, the scans and the work copies of the game's lists, as the
    /// dialog's start-up does; then forgets what the Ui saw.
    void StartUp();
    void MarkProposed(DataKind kind, std::string_view name);
    /// Marks `names` and adds them to the work list, which must succeed.
    void AddProposed(DataKind kind, const std::vector<std::string>& names);
    void ForgetUi() { ui = FakeUi(); }

    TempDir root;
    PosixFileSystem posix;
    FaultInjectingFileSystem files;
    FileSystemProfile profile;
    FakeUi ui;
    PatcherSession session;
    AnalysisState& state;

private:
    FixtureOptions options_;
};

/// Sets a file's write time to `when`, "YYYY-MM-DD hh:mm:ss" in local time.
void SetLocalWriteTime(const std::string& hostPath, const char* when);
unsigned PermissionsOf(const std::string& hostPath);
void MakeReadOnly(const std::string& hostPath);
Bytes AsBytes(std::string_view text);
/// stem1, stem2, ... stem`count`.
std::vector<std::string> Numbered(const std::string& stem, int count);

} // namespace zav::test
