// GameRun: a sample copy and the dialog over it.
#include "game_run.h"

#include <filesystem>

#include "analysis/set_tables.h"
#include "platform/codepage.h"

namespace zav::test {

SampleOptions SmallSample(int version) {
    SampleOptions options;
    options.version = version;
    options.dataSize = 24;
    return options;
}

GameRun::GameRun(const std::string& root)
    : paths_(root), posix_(paths_.Prefix()), files_(posix_), profile_(files_),
      dialog_(files_, profile_, view_, Utf8ToCp1252(paths_.Disc()).value_or(std::string())) {}

GameRun::~GameRun() {
    // A run that ended without "Close" would leave its staging folder in the host's /tmp.
    posix_.RemoveTemporaryFolder();
}

void GameRun::ShowTab(std::int32_t kind) {
    view_.SelectTab(kind);
    dialog_.OnSelchangeTab();
}

bool GameRun::SelectProposed(const std::vector<std::string>& names) {
    const std::int32_t kind = dialog_.CurrentTab();
    const ProposedSetView proposed = ProposedSet(Analysis(), kind);
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
    const std::int32_t kind = dialog_.CurrentTab();
    const PresentSetView present = PresentSet(Analysis(), kind);
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
    const std::string host =
        std::filesystem::weakly_canonical(posix_.HostPath(corePath), error).string();
    const std::string root = std::filesystem::weakly_canonical(paths_.root, error).string() + "/";
    if (error || host.compare(0, root.size(), root) != 0) {
        return {};
    }
    return host.substr(root.size());
}

std::string GameRun::GameRelative(std::string_view gameRelative) {
    return "prefix/drive_c/Games/ZAV/" + std::string(gameRelative);
}

std::vector<std::string> FurtherEntries(AnalysisState& analysis, std::int32_t kind,
                                        std::int32_t flag) {
    const PresentSetView present = PresentSet(analysis, kind);
    std::vector<std::string> names;
    for (std::int32_t s = present.firstFurther; s < present.End(); ++s) {
        if (present.flags[static_cast<std::size_t>(s)] == flag) {
            names.push_back(present.names[static_cast<std::size_t>(s)].str());
        }
    }
    return names;
}

} // namespace zav::test
