// A sample game written once and copied for every run, and snapshots of file trees.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "support/temp_dir.h"
#include "tools/sample_game.h"

namespace zav::test {

/// Every regular file below a folder: its path relative to the folder ('/' separators) and its
/// bytes. Links are followed only below the folder's own tree, never out of it.
using TreeSnapshot = std::map<std::string, Bytes>;

TreeSnapshot SnapshotTree(const std::string& folder);

/// The relative paths whose bytes differ between two snapshots, or that only one of them holds.
std::vector<std::string> DifferingPaths(const TreeSnapshot& a, const TreeSnapshot& b);

/// The sample game and disc of zav_sample, written once (the writer is slow next to a copy) and
/// copied into a fresh folder for every run of a test.
class SampleGameTemplate {
public:
    explicit SampleGameTemplate(const SampleOptions& options);

    /// Copies the prefix and the disc into `folder` (which must exist), links as links.
    void CopyTo(const std::string& folder) const;
    [[nodiscard]] const std::string& Root() const { return dir_.path(); }

private:
    TempDir dir_;
};

/// Where the parts of a sample copy lie below its folder.
struct SampleGamePaths {
    explicit SampleGamePaths(std::string rootFolder) : root(std::move(rootFolder)) {}

    [[nodiscard]] std::string Prefix() const { return root + "/prefix"; }
    [[nodiscard]] std::string Disc() const { return root + "/disc"; }
    /// The game's installation folder on the host.
    [[nodiscard]] std::string Game() const { return root + "/prefix/drive_c/Games/ZAV"; }
    [[nodiscard]] std::string Scripts() const { return Game() + "/Data/Binary/Scripts"; }
    [[nodiscard]] std::string GameFile(std::string_view relative) const {
        return Game() + "/" + std::string(relative);
    }

    std::string root;
};

/// The game's list files, relative to the game folder.
inline constexpr std::string_view GAME_TRACK_LIST = "Data/Binary/Scripts/circuits.bin";
inline constexpr std::string_view GAME_CAR_LIST = "Data/Binary/Scripts/voiture2.bin";
inline constexpr std::string_view GAME_BASE_CAR_LIST = "Data/Binary/Scripts/voitures.bin";

/// Whether a file name is one of the temporaries the tool makes beside files (".zav-...").
bool IsToolTemporary(std::string_view relativePath);

} // namespace zav::test
