// Telling the user, once per run and cause, what did not fit into the tool's tables.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "session/patcher_session.h"

namespace zav {

/// The causes of a notice; each is shown at most once per run.
enum class LeftOutCause : unsigned {
    PresentTracksOverflow = 1u << 0,
    PresentCarsOverflow = 1u << 1,
    ProposedTracksOverflow = 1u << 2,
    ProposedCarsOverflow = 1u << 3,
    UnsafeProposedTrack = 1u << 4,
    UnsafeProposedCar = 1u << 5,
    RepeatedProposedTrack = 1u << 6,
    RepeatedProposedCar = 1u << 7,
    OutsideProposedTrack = 1u << 8,
    OutsideProposedCar = 1u << 9,
};

/// Shows `text` in a warning box under the program's title, unless a notice of `cause` was
/// shown before in this run.
void ShowLeftOutNotice(PatcherSession& session, LeftOutCause cause, const std::string& text);

/// "A, B and 3 more": names for a notice, the list kept short enough to read.
std::string JoinNamesForNotice(const std::vector<std::string>& names);

} // namespace zav
