// The tests' one game: a sample game in a Wine prefix and a disc of new tracks and cars, written by
// the sample generator into a temporary folder, and the edits tests make to them.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "session/analysis_state.h"
#include "support/list_bytes.h"
#include "support/temp_dir.h"

namespace zav::test {
struct GameOptions {
    /// 1: settings section [ZAV] and 128-byte track records; 2: [ZAV2_0] and 140-byte records.
    int version = 2;
    /// Folders and files on disk spelled in another case than the game names them.
    bool mixedCase = false;
    /// The accelerated executable is there, and the installed entries' bl4/bv4 files.
    bool accelerated = false;
};
/// The game holds the 16 base tracks (Alpine ... Prairie) then Harbour and Dunes in circuits.bin,
/// the 8 base cars in voitures.bin, Falcon and Viper in voiture2.bin, and the data files of the
/// four; the disc proposes the tracks Quarry, Riverside, Summit, Tundra and the cars Comet, Lynx,
/// Mistral, Nomad. TMPDIR points to the folder's tmp/ while the game lives.
class TestGame {
public:
    explicit TestGame(GameOptions options = {});
    ~TestGame();
    /// Host path of `relative` ('/' separators) under C:\Games\ZAV\ or under the disc, each
    /// component spelled as on disk when one matches it ignoring case.
    [[nodiscard]] std::string Game(std::string_view relative) const;
    [[nodiscard]] std::string Disc(std::string_view relative) const;
    [[nodiscard]] std::string Script(std::string_view name) const {
        return Game("Data/Binary/Scripts/" + std::string(name));
    }
    /// A disc file as the tool names it (the host's '/' separators).
    [[nodiscard]] std::string DiscPath(std::string relative) const;
    /// The one record of the list of disc entry `folder`.
    [[nodiscard]] Bytes DiscRecord(DataKind kind, std::string_view folder) const;
    /// Writes disc entry `folder`: its list, whose one record names `name` (the folder's name
    /// when empty), and all its data files named after the folder, `size` bytes each. Returns the
    /// record.
    Bytes AddDiscEntry(DataKind kind, std::string_view folder, std::string_view name = {},
                       std::size_t size = 64) const;
    /// Track and car lists of the game's record size, whose records differ beyond the name.
    [[nodiscard]] Bytes TrackList(const std::vector<std::string>& names,
                                  std::int64_t count = -1) const;
    [[nodiscard]] static Bytes CarList(const std::vector<std::string>& names,
                                       std::int64_t count = -1);
    /// The 16 base track names followed by `further`.
    [[nodiscard]] static std::vector<std::string> BaseTracksAnd(std::vector<std::string> further);
    const int version;
    const TempDir dir;
    const std::string prefix = dir / "prefix", disc = dir / "disc", tmp = dir / "tmp";

private:
    std::string oldTmpdir_;
    bool hadTmpdir_ = false;
};
/// Every regular file below a folder by its '/'-separated relative path; links are not followed.
using TreeSnapshot = std::map<std::string, Bytes>;
TreeSnapshot SnapshotTree(const std::string& folder);
void MakeReadOnly(const std::string& hostPath);
unsigned PermissionsOf(const std::string& hostPath);
/// stem1, stem2, ... stem`count`.
std::vector<std::string> Numbered(const std::string& stem, int count);
} // namespace zav::test
