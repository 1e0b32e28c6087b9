// Which prefix the window works in when the search found several games or none: the user is
// asked, through questions a test can answer as well as the window's dialogs.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "found_games.h"

namespace zav {

/// What the window asks the user while it settles the prefix.
class PrefixQuestions {
public:
    virtual ~PrefixQuestions() = default;
    /// The index of the game to work on among `games`; nullopt when the user cancels.
    virtual std::optional<std::size_t> ChooseGame(const std::vector<FoundGame>& games) = 0;
    /// A folder (a UTF-8 host path): the prefix, a folder inside it or the game's folder;
    /// nullopt when the user cancels.
    virtual std::optional<std::string> AskForFolder() = 0;
    /// Tells that a folder holds no game; `notice` is UTF-8.
    virtual void WarnNoGame(const std::string& notice) = 0;
};

/// `choice` (from ChoosePrefix) settled through `questions` (not asked unless the search found
/// several games or none). Several: the game chosen (origin Chosen), or nullopt when the user
/// cancels, and the window ends. None: the prefix of the folder the user names (taken up as
/// --prefix is), asked again after a warning while that prefix holds no game; when the user
/// cancels, `choice` as it was, so that the window's "ZAV not detected" names the places looked
/// at. Any other choice is returned as it is.
std::optional<PrefixChoice> SettlePrefix(PrefixChoice choice, PrefixQuestions& questions);

/// The warning of WarnNoGame: `folder` (UTF-8) holds no game (UTF-8, in the language of
/// `languageOffset`).
std::string FolderHoldsNoGameNotice(const std::string& folder, std::int32_t languageOffset = 0);

} // namespace zav
