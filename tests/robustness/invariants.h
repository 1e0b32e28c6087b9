// The commands the fault and kill sweeps run, the points they try, and what they demand of the
// game after any failure.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "support/test_game.h"

namespace zav::test {

/// Under the sanitizers a few points suffice: they need only see each code path run.
#ifdef ZAV_SANITIZE_SWEEPS
inline constexpr bool SWEEP_EVERYTHING = false;
#else
inline constexpr bool SWEEP_EVERYTHING = true;
#endif

/// The points 1..`count` to try, ascending: all of the last `tail`, and before them as many as
/// make `cap`, chosen by a generator of fixed seed so that every run tries the same ones.
std::vector<std::int64_t> SweepPoints(std::int64_t count, std::int64_t tail, std::int64_t cap);

enum class Verb { StartUp, InstallNew, Trash };

struct SweepCommand {
    const char* label;
    Verb verb;
    DataKind kind;
    std::vector<std::string> names; // the entries installed, or the one trashed
    int version = 2;
    bool readOnlyLists = false;

    /// The same command for zavpatch.
    [[nodiscard]] std::vector<std::string> Arguments() const;
    /// A fresh game for the command, its lists read-only when asked.
    [[nodiscard]] std::unique_ptr<TestGame> FreshGame() const;
    [[nodiscard]] std::string Trashed() const { return verb == Verb::Trash ? names[0] : ""; }
};

inline const SweepCommand SWEEP_COMMANDS[] = {
    {"StartUp", Verb::StartUp, DataKind::Tracks, {}},
    {"StartUpOnReadOnlyLists", Verb::StartUp, DataKind::Tracks, {}, 2, true},
    {"InstallTracks", Verb::InstallNew, DataKind::Tracks, {"Quarry", "Summit"}},
    {"InstallTracksVersion1", Verb::InstallNew, DataKind::Tracks, {"Quarry", "Tundra"}, 1},
    {"InstallCars", Verb::InstallNew, DataKind::Cars, {"Comet", "Mistral"}},
    {"TrashTrack", Verb::Trash, DataKind::Tracks, {"Harbour"}},
    {"TrashTrackVersion1", Verb::Trash, DataKind::Tracks, {"Harbour"}, 1},
    {"TrashCar", Verb::Trash, DataKind::Cars, {"Falcon"}},
};

/// The game's lists relative to a TestGame's folder.
inline const std::string TRACK_LIST = "prefix/drive_c/Games/ZAV/Data/Binary/Scripts/circuits.bin";
inline const std::string CAR_LIST = "prefix/drive_c/Games/ZAV/Data/Binary/Scripts/voiture2.bin";
inline const std::string ALL_LISTS[] = {
    TRACK_LIST, CAR_LIST, "prefix/drive_c/Games/ZAV/Data/Binary/Scripts/voitures.bin"};
inline const std::string& ListOf(DataKind kind) {
    return kind == DataKind::Cars ? CAR_LIST : TRACK_LIST;
}

/// The game and the disc, without the run's temporary folder.
TreeSnapshot GameAndDisc(const TestGame& game);
/// Paths whose bytes differ, or that only one side holds.
std::vector<std::string> DifferingPaths(const TreeSnapshot& a, const TreeSnapshot& b);
/// The tool's temporaries beside files (".zav-...") and its working copies (.sav).
bool IsToolFile(std::string_view path);
/// Problems with `after` against `before`: a game list that is neither its old bytes nor
/// `expected` (its value for the list the command changes), a file lost or changed (the data files
/// of the trashed entry may go), a new file that is no whole copy of a disc file of the command's
/// entries.
std::vector<std::string> GameProblems(const SweepCommand& command, const TreeSnapshot& before,
                                      const TreeSnapshot& after,
                                      const std::map<std::string, Bytes>& expected);

} // namespace zav::test
