// GameRun, tree snapshots and the invariant checks.
#include "game_run.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <memory>
#include <ranges>
#include <span>
#include <stdexcept>

#include "analysis/set_tables.h"
#include "platform/codepage.h"
#include "platform/ui.h"
#include "support/list_bytes.h"

namespace zav::test {

namespace fs = std::filesystem;

TreeSnapshot SnapshotTree(const std::string& folder) {
    TreeSnapshot snapshot;
    std::error_code error;
    // Links are not followed: the prefix's dosdevices/c: leads back into drive_c.
    for (auto it = fs::recursive_directory_iterator(folder, error);
         it != fs::recursive_directory_iterator(); it.increment(error)) {
        if (it->is_regular_file() && !it->is_symlink()) {
            snapshot[fs::relative(it->path(), folder).generic_string()] =
                ReadFile(it->path().string());
        }
    }
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

void CopySample(const std::string& folder, int version, bool readOnlyLists) {
    // Written once per version: the writer is slow next to a copy.
    static std::map<int, std::unique_ptr<TempDir>> samples;
    auto& sample = samples[version];
    if (sample == nullptr) {
        sample = std::make_unique<TempDir>();
        SampleOptions options;
        options.outputFolder = sample->path();
        options.version = version;
        options.dataSize = 24;
        std::string error;
        if (!WriteSampleGame(options, error)) {
            throw std::runtime_error("cannot write the sample game: " + error);
        }
    }
    fs::copy(sample->path(), folder, fs::copy_options::recursive | fs::copy_options::copy_symlinks);
    for (const std::string& list : std::span(ALL_LISTS).first(readOnlyLists ? 3 : 0)) {
        ::chmod((folder + "/" + list).c_str(), 0444);
    }
}

bool IsToolFile(std::string_view path) {
    const std::string_view name = path.substr(path.find_last_of('/') + 1);
    return name.starts_with(TEMPORARY_NAME_PREFIX) || name.ends_with(".sav");
}

namespace {

// Whether `path` is a data file of entry `name` (name.* or the second record file -ame.brt).
bool IsEntryFile(const std::string& path, const std::string& name) {
    std::string stem = path.substr(path.find_last_of('/') + 1);
    stem = stem.substr(0, stem.find('.'));
    std::string lower = name;
    for (std::string* text : {&stem, &lower}) {
        std::transform(text->begin(), text->end(), text->begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    }
    return stem == lower || (lower.size() > 1 && stem == "-" + lower.substr(1));
}

} // namespace

std::vector<std::string> GameProblems(const TreeSnapshot& before, const TreeSnapshot& after,
                                      const std::map<std::string, Bytes>& expected,
                                      const std::string& trashed,
                                      const std::vector<std::string>& copied) {
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
        const bool whole = std::any_of(copied.begin(), copied.end(), [&](const std::string& name) {
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

bool RecordingDialogView::ReportedFailureSince(std::size_t first) const {
    return std::any_of(boxes.begin() + static_cast<long>(first), boxes.end(), [](const Box& box) {
        const std::uint32_t icon = box.style & MB_ICONMASK;
        // A Yes/No box with the exclamation icon is a question, not a report.
        return (icon == MB_ICONHAND || icon == MB_ICONEXCLAMATION) &&
               (box.style & MB_TYPEMASK) != MB_YESNO;
    });
}

std::string RecordingDialogView::BoxesSince(std::size_t first) const {
    std::string lines;
    for (std::size_t i = first; i < boxes.size(); ++i) {
        lines += "[" + boxes[i].caption + "] " + boxes[i].text + "\n";
    }
    return lines;
}

GameRun::GameRun(const std::string& root)
    : root_(root), posix_(root + "/prefix"), files_(posix_), profile_(files_),
      dialog_(files_, profile_, view_, Utf8ToCp1252(root + "/disc").value_or(std::string())) {}

bool GameRun::SelectProposed(const std::vector<std::string>& names) {
    const ProposedSetView proposed = ProposedSet(Analysis(), dialog_.CurrentTab().value());
    for (const std::string& name : names) {
        bool found = false;
        for (std::int32_t i = 0; i < proposed.total; ++i) {
            if (EqualsIgnoringAsciiCase(proposed.names[static_cast<std::size_t>(i)].view(), name)) {
                view_.SetListEntrySelected(IDC_NEW_LIST, i, true);
                found = true;
            }
        }
        if (!found) {
            return false;
        }
    }
    dialog_.OnSelchangeNewList();
    return true;
}

bool GameRun::SelectAdded(std::string_view name) {
    const PresentSetView present = PresentSet(Analysis(), dialog_.CurrentTab().value());
    for (std::int32_t s = present.firstFurther; s < present.End(); ++s) {
        if (EqualsIgnoringAsciiCase(present.names[static_cast<std::size_t>(s)].view(), name)) {
            view_.SetListSelection(IDC_ADDED_LIST, s - present.firstFurther);
            dialog_.OnSelchangeAddedList();
            return true;
        }
    }
    return false;
}

std::string GameRun::Relative(std::string_view corePath) const {
    // The host path may run through the prefix's drive link (dosdevices/c:).
    std::error_code error;
    const std::string host = fs::weakly_canonical(posix_.HostPath(corePath), error).string();
    const std::string root = fs::weakly_canonical(root_, error).string() + "/";
    if (error || host.compare(0, root.size(), root) != 0) {
        return {};
    }
    return host.substr(root.size());
}

std::vector<std::string> GameRun::Further(DataKind kind, std::int32_t flag) {
    const PresentSetView present = PresentSet(Analysis(), kind);
    std::vector<std::string> names;
    for (std::int32_t s = present.firstFurther; s < present.End(); ++s) {
        if (present.flags[static_cast<std::size_t>(s)] == flag) {
            names.push_back(present.names[static_cast<std::size_t>(s)].str());
        }
    }
    return names;
}

} // namespace zav::test
