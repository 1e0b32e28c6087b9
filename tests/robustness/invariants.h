// What the fault and kill sweeps demand of the game after any failure, and which failure points
// they try.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/analysis_state.h"
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

/// The game's lists relative to a TestGame's folder.
inline const std::string GAME = "prefix/drive_c/Games/ZAV/";
inline const std::string TRACK_LIST = GAME + "Data/Binary/Scripts/circuits.bin";
inline const std::string CAR_LIST = GAME + "Data/Binary/Scripts/voiture2.bin";
inline const std::string ALL_LISTS[] = {TRACK_LIST, CAR_LIST,
                                        GAME + "Data/Binary/Scripts/voitures.bin"};
inline const std::string& ListOf(std::int32_t kind) {
    return kind == DATA_KIND_CARS ? CAR_LIST : TRACK_LIST;
}

/// The game and the disc, without the run's temporary folder.
TreeSnapshot GameAndDisc(const TestGame& game);
/// Paths whose bytes differ, or that only one side holds.
std::vector<std::string> DifferingPaths(const TreeSnapshot& a, const TreeSnapshot& b);
/// The tool's temporaries beside files (".zav-...") and its working copies (.sav).
bool IsToolFile(std::string_view path);
/// Problems with `after` against `before`: a game list that is neither its old bytes nor
/// `expected` (its value for the list the command changes), a file lost or changed (the data files
/// of `trashed` may go), a new file that is no whole copy of a disc file of `copied`.
std::vector<std::string> GameProblems(const TreeSnapshot& before, const TreeSnapshot& after,
                                      const std::map<std::string, Bytes>& expected,
                                      const std::string& trashed,
                                      const std::vector<std::string>& copied);

} // namespace zav::test
