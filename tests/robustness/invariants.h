// The commands the fault and kill sweeps run, the points they try, and what they demand of the
// game after any failure.
#pragma once

#include <strings.h>

#include <random>
#include <ranges>
#include <set>
#include <span>

#include "platform/file_system.h"
#include "support/test_game.h"

namespace zav::test {

// The points 1..`count` to try, ascending: all of the last `tail`, and before them as many as make
// `cap`, drawn with a fixed seed so that every run tries the same ones. Under Wine a run costs many
// times what it does on Linux (ZAV_SAMPLED_SWEEPS): there the first and the last, where a command
// starts and finishes its work, and the two that part the rest in thirds.
inline std::vector<std::int64_t> SweepPoints(std::int64_t count, [[maybe_unused]] std::int64_t tail,
                                             [[maybe_unused]] std::int64_t cap) {
#ifdef ZAV_SANITIZE_SWEEPS
    tail /= 10, cap /= 10; // the sanitizers need only see each code path run
#endif
    std::set<std::int64_t> points;
#ifdef ZAV_SAMPLED_SWEEPS
    if (count > 0)
        points = {1, std::max<std::int64_t>(1, count / 3), std::max<std::int64_t>(1, count * 2 / 3),
                  count};
#else
    for (std::int64_t point = std::max<std::int64_t>(1, count - tail + 1); point <= count; ++point)
        points.insert(point);
    std::mt19937 generator(20240611);
    const std::int64_t head = count - std::ssize(points);
    while (head > 0 && std::ssize(points) < std::min(cap, count))
        points.insert(std::uniform_int_distribution<std::int64_t>(1, head)(generator));
#endif
    return {points.begin(), points.end()};
}
enum class Verb { StartUp, InstallNew, Trash };
struct SweepCommand {
    const char* label;
    Verb verb;
    DataKind kind;
    std::vector<std::string> names; // the entries installed, or the one trashed
    int version = 2;
    bool readOnlyLists = false;
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
// The game's lists relative to a TestGame's folder.
inline const std::string SCRIPTS = "prefix/drive_c/Games/ZAV/Data/Binary/Scripts/";
inline const std::string ALL_LISTS[] = {SCRIPTS + "circuits.bin", SCRIPTS + "voiture2.bin",
                                        SCRIPTS + "voitures.bin"};
inline const std::string& ListOf(DataKind kind) {
    return ALL_LISTS[kind == DataKind::Cars];
}
// A fresh game for the command, its lists read-only when asked.
inline std::unique_ptr<TestGame> FreshGame(const SweepCommand& command) {
    auto game = std::make_unique<TestGame>(GameOptions{.version = command.version});
    for (const std::string& list :
         command.readOnlyLists ? ALL_LISTS : std::span<const std::string>{})
        MakeReadOnly(game->dir / list);
    return game;
}
// The game and the disc, without the run's temporary folder and the game's history.
inline TreeSnapshot GameAndDisc(const TestGame& game) {
    TreeSnapshot snapshot = SnapshotTree(game.dir.path());
    std::erase_if(snapshot, [](const auto& entry) {
        return entry.first.starts_with("tmp/") ||
               entry.first.find("/PatcherHistory/") != std::string::npos;
    });
    return snapshot;
}
// Paths whose bytes differ, or that only one side holds.
inline std::vector<std::string> DifferingPaths(const TreeSnapshot& a, const TreeSnapshot& b) {
    std::vector<std::string> paths;
    for (const auto& [path, bytes] : a)
        if (!b.contains(path) || b.at(path) != bytes)
            paths.push_back(path);
    std::ranges::copy_if(std::views::keys(b), std::back_inserter(paths),
                         [&](const std::string& path) { return !a.contains(path); });
    return paths;
}
// The tool's temporaries beside files (".zav-...") and its working copies (.sav).
inline bool IsToolFile(std::string_view path) {
    const std::string_view name = path.substr(path.find_last_of('/') + 1);
    return name.starts_with(TEMPORARY_NAME_PREFIX) || name.ends_with(".sav");
}
// The tool files the next run of the program left behind.
inline void AddLeftovers(const TreeSnapshot& afterNextRun, std::vector<std::string>& problems) {
    for (const auto& [path, bytes] : afterNextRun)
        if (path.starts_with("prefix/") && IsToolFile(path))
            problems.push_back(path + " is left after the next run");
}
// Problems with `after` against `before`: a game list that is neither its old bytes nor
// `expected` (its value for the list the command changes), a file lost or changed (the game's
// data files of the trashed entry, name.* and -ame.brt, may go), a new file that is no whole copy
// of a disc file of the command's entries.
inline std::vector<std::string> GameProblems(const SweepCommand& command,
                                             const TreeSnapshot& before, const TreeSnapshot& after,
                                             const std::map<std::string, Bytes>& expected) {
    const auto trashedFile = [&](const std::string& path) {
        const std::string file = path.substr(path.find_last_of('/') + 1);
        const std::string stem = file.substr(0, file.find('.')), name = command.names[0];
        return ::strcasecmp(stem.c_str(), name.c_str()) == 0 ||
               ::strcasecmp(stem.c_str(), ("-" + name.substr(1)).c_str()) == 0;
    };
    std::vector<std::string> problems;
    for (const auto& [path, bytes] : before) {
        const auto now = after.find(path);
        if (!IsToolFile(path) && now == after.end() &&
            !(command.verb == Verb::Trash && path.starts_with("prefix/") && trashedFile(path)))
            problems.push_back(path + " is gone");
        else if (!IsToolFile(path) && now != after.end() && now->second != bytes &&
                 (!expected.contains(path) || expected.at(path) != now->second))
            problems.push_back(path + " is neither its old self nor the command's result");
    }
    const std::string disc = command.kind == DataKind::Cars ? "disc/voitures/" : "disc/circuits/";
    for (const auto& [path, bytes] : after) {
        const bool whole = std::ranges::any_of(command.names, [&](const std::string& name) {
            const auto source = before.find(disc + name + path.substr(path.find_last_of('/')));
            return source != before.end() && source->second == bytes;
        });
        if (!IsToolFile(path) && !before.contains(path) && !whole)
            problems.push_back(path + " appeared and is no whole copy of a source file");
    }
    return problems;
}
} // namespace zav::test
