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
#include "support/fake_ui.h"
#include "support/list_bytes.h"
#include "support/spy_file_system.h"
#include "support/temp_dir.h"

namespace zav::test {

/// How a folder or file is spelled on disk, compared with the name the tool builds its path from.
enum class NameCase { AsGiven, Upper, Lower };

/// `name` with its ASCII letters spelled as `nameCase` says.
std::string Spelled(std::string_view name, NameCase nameCase);

struct FixtureOptions {
    /// 1: settings section "ZAV" and 128-byte track records; 2: "ZAV2_0" and 140-byte records.
    std::int32_t gameVersion = 2;
    /// Spelling on disk of the game's folder and its data folders ("ZAV", "Data", "Binary", ...).
    NameCase gameFolderCase = NameCase::AsGiven;
    /// Spelling on disk of the disc's "circuits" and "voitures" folders and their list files.
    NameCase discFolderCase = NameCase::AsGiven;
};

/// The game starts with 16 base tracks in circuits.bin, the 8 base cars in voitures.bin and an
/// empty voiture2.bin; the disc starts empty. The session's settings are filled by Locate().
class GameFixture {
public:
    /// What the settings file stores under "Directory".
    static constexpr std::string_view GAME_DIRECTORY = "C:\\ZAV\\";

    explicit GameFixture(FixtureOptions options = {});
    ~GameFixture();
    GameFixture(const GameFixture&) = delete;
    GameFixture& operator=(const GameFixture&) = delete;

    // The game's side.
    /// Host path of a game data folder (FOLDER_*), spelled as on disk.
    [[nodiscard]] std::string GameFolderHost(std::int32_t selector) const;
    [[nodiscard]] std::string GameFileHost(std::int32_t selector, std::string_view fileName) const;
    /// The path the tool builds for a game file: GAME_DIRECTORY + data folder + file name.
    [[nodiscard]] static std::string GameFilePath(std::int32_t selector, std::string_view fileName);
    [[nodiscard]] std::string TrackListHost() const;
    [[nodiscard]] std::string TrackWorkListHost() const;
    [[nodiscard]] std::string BaseCarListHost() const;
    [[nodiscard]] std::string AddedCarListHost() const;
    [[nodiscard]] std::string CarWorkListHost() const;
    /// The names in the game's Scripts folder, to see that no temporary file was left there.
    [[nodiscard]] std::vector<std::string> ScriptsFolderNames() const;

    /// The record the fixture uses for a track in the game's record kind, or for a car; records
    /// of different names differ beyond the name too.
    [[nodiscard]] Bytes TrackRecordFor(std::string_view name) const;
    [[nodiscard]] static Bytes CarRecordFor(std::string_view name);
    [[nodiscard]] std::vector<Bytes> TrackRecordsFor(const std::vector<std::string>& names) const;
    [[nodiscard]] static std::vector<Bytes> CarRecordsFor(const std::vector<std::string>& names);
    /// The 16 base track names the game starts with, and those followed by `further`.
    [[nodiscard]] static std::vector<std::string> BaseTracks();
    [[nodiscard]] static std::vector<std::string>
    BaseTracksAnd(const std::vector<std::string>& further);

    void WriteTrackList(const std::vector<std::string>& names) const;
    void WriteBaseCarList(const std::vector<std::string>& names) const;
    void WriteAddedCarList(const std::vector<std::string>& names) const;

    // The disc's side.
    /// Host path of the disc folder: SourceDirectory.
    [[nodiscard]] std::string DiscHost() const;
    /// Host path of a file in an entry's folder on the disc (`kind` DATA_KIND_*).
    [[nodiscard]] std::string DiscFileHost(std::int32_t kind, std::string_view folder,
                                           std::string_view fileName) const;
    /// The path the tool builds for a file of a proposed entry.
    [[nodiscard]] std::string SourcePath(std::int32_t kind, std::string_view name,
                                         std::string_view fileName) const;
    /// A track's six files (bl3, bl4, img, meg, name.brt, second .brt) or a car's four.
    [[nodiscard]] static std::vector<std::string> TrackFileNames(std::string_view name);
    [[nodiscard]] static std::vector<std::string> CarFileNames(std::string_view name);
    /// The game data folder (FOLDER_*) a track or car file goes to, by its extension.
    [[nodiscard]] static std::int32_t GameFolderOf(std::string_view fileName);
    /// The bytes the fixture writes into a disc file.
    [[nodiscard]] static Bytes DiscContent(std::string_view folder, std::string_view fileName);

    /// Adds a track folder whose circuits.bin names `recordName` (the folder's name when empty)
    /// in its one record, with all six data files named after the folder and spelled as
    /// `fileCase` says. Returns the record.
    Bytes AddDiscTrack(std::string_view folder, std::string_view recordName = {},
                       NameCase fileCase = NameCase::AsGiven) const;
    /// The same for a car folder with voitures.bin and its four data files.
    Bytes AddDiscCar(std::string_view folder, std::string_view recordName = {},
                     NameCase fileCase = NameCase::AsGiven) const;

    // The tool.
    /// Fills the settings as the dialog's start-up does: FindGameDirectory, SetSourceDirectory.
    void Locate();
    /// Locate, then what the dialog's start-up does with the data: the present set of cars and
    /// tracks, the scans of cars and tracks, the work copies of the game's lists. Then forgets
    /// what the Ui and the journal saw, so a test sees only its own calls.
    void StartUp();
    /// Marks the proposed entry of `kind` named `name` (as the tables hold it) for adding.
    void MarkProposed(std::int32_t kind, std::string_view name);
    /// Marks `names` and runs AddSelectedTracks / AddSelectedCars, which must succeed; then forgets
    /// what the Ui and the journal saw.
    void AddProposed(std::int32_t kind, const std::vector<std::string>& names);
    void ForgetRecords();

    TempDir root;
    Journal journal;
    PosixFileSystem posix;
    SpyFileSystem files;
    FileSystemProfile profile;
    FakeUi ui;
    JournalUi journalUi;
    PatcherSession session;
    AnalysisState& state;

private:
    [[nodiscard]] std::string GameRootHost() const;
    [[nodiscard]] std::string DiscKindHost(std::int32_t kind) const;

    FixtureOptions options_;
};

/// Sets a host file's last-write time to a local date and time.
void SetLocalWriteTime(const std::string& hostPath, int year, int month, int day, int hour,
                       int minute, int second);
/// The permission bits of a host file.
unsigned PermissionsOf(const std::string& hostPath);
/// Takes the owner's (and everyone's) write permission away: the tool's read-only attribute.
void MakeReadOnly(const std::string& hostPath);
/// The bytes of a text.
Bytes AsBytes(std::string_view text);
/// Bytes of `records` laid out as a list file and padded with zero bytes to `size`.
Bytes PaddedList(const std::vector<Bytes>& records, std::size_t size);

} // namespace zav::test
