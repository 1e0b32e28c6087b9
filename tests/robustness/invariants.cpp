// Sweep commands and points, and the checks of the game after a failure.
#include "robustness/invariants.h"

#include <algorithm>
#include <cctype>
#include <random>
#include <ranges>
#include <set>

#include "platform/file_system.h"

namespace zav::test {

std::vector<std::int64_t> SweepPoints(std::int64_t count, std::int64_t tail, std::int64_t cap) {
    std::set<std::int64_t> points;
    for (std::int64_t point = std::max<std::int64_t>(1, count - tail + 1); point <= count;
         ++point) {
        points.insert(point);
    }
    std::mt19937 generator(20240611);
    const std::int64_t head = count - static_cast<std::int64_t>(points.size());
    while (head > 0 && std::ssize(points) < std::min(cap, count)) {
        points.insert(std::uniform_int_distribution<std::int64_t>(1, head)(generator));
    }
    return {points.begin(), points.end()};
}

TreeSnapshot GameAndDisc(const TestGame& game) {
    TreeSnapshot snapshot = SnapshotTree(game.dir.path());
    std::erase_if(snapshot, [](const auto& entry) { return entry.first.starts_with("tmp/"); });
    return snapshot;
}

std::vector<std::string> DifferingPaths(const TreeSnapshot& a, const TreeSnapshot& b) {
    std::vector<std::string> paths;
    for (const auto& [path, bytes] : a) {
        if (!b.contains(path) || b.at(path) != bytes) {
            paths.push_back(path);
        }
    }
    std::ranges::copy_if(std::views::keys(b), std::back_inserter(paths),
                         [&](const std::string& path) { return !a.contains(path); });
    return paths;
}

std::vector<std::string> SweepCommand::Arguments() const {
    if (verb == Verb::StartUp) {
        return {"status"};
    }
    std::vector<std::string> arguments = {"--yes", verb == Verb::Trash ? "trash" : "install",
                                          kind == DataKind::Cars ? "cars" : "tracks"};
    arguments.insert(arguments.end(), names.begin(), names.end());
    return arguments;
}

std::unique_ptr<TestGame> SweepCommand::FreshGame() const {
    auto game = std::make_unique<TestGame>(GameOptions{.version = version});
    for (const std::string& list : ALL_LISTS) {
        if (readOnlyLists) {
            MakeReadOnly(game->dir / list);
        }
    }
    return game;
}

bool IsToolFile(std::string_view path) {
    const std::string_view name = path.substr(path.find_last_of('/') + 1);
    return name.starts_with(TEMPORARY_NAME_PREFIX) || name.ends_with(".sav");
}

namespace {

// Whether `path` is a data file of entry `name` (name.* or the second record file -ame.brt).
bool IsEntryFile(const std::string& path, std::string name) {
    std::string stem = path.substr(path.find_last_of('/') + 1);
    stem = stem.substr(0, stem.find('.'));
    for (std::string* text : {&stem, &name}) {
        std::ranges::transform(*text, text->begin(),
                               [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    }
    return stem == name || (name.size() > 1 && stem == "-" + name.substr(1));
}

} // namespace

std::vector<std::string> GameProblems(const SweepCommand& command, const TreeSnapshot& before,
                                      const TreeSnapshot& after,
                                      const std::map<std::string, Bytes>& expected) {
    const std::string trashed = command.Trashed();
    std::vector<std::string> problems;
    for (const std::string& list : ALL_LISTS) {
        if (!after.contains(list)) {
            problems.push_back(list + " is gone");
        } else if (after.at(list) != before.at(list) &&
                   (!expected.contains(list) || after.at(list) != expected.at(list))) {
            problems.push_back(list + " is neither its old self nor the command's result");
        }
    }
    for (const auto& [path, bytes] : before) {
        if (IsToolFile(path) || expected.contains(path)) {
            continue;
        }
        if (!after.contains(path)) {
            if (trashed.empty() || !path.starts_with("prefix/") || !IsEntryFile(path, trashed)) {
                problems.push_back(path + " is gone");
            }
        } else if (after.at(path) != bytes) {
            problems.push_back(path + " was changed");
        }
    }
    for (const auto& [path, bytes] : after) {
        if (IsToolFile(path) || before.contains(path)) {
            continue;
        }
        const std::string file = path.substr(path.find_last_of('/') + 1);
        const bool whole = std::ranges::any_of(command.names, [&](const std::string& name) {
            for (const char* disc : {"disc/circuits/", "disc/voitures/"}) {
                const auto source = before.find(disc + name + "/" + file);
                if (source != before.end() && source->second == bytes) {
                    return true;
                }
            }
            return false;
        });
        if (!whole) {
            problems.push_back(path + " appeared and is no whole copy of a source file");
        }
    }
    return problems;
}

} // namespace zav::test
