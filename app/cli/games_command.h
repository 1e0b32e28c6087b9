// zavpatch games, and the refusal to guess between several games.
#pragma once

#include <ostream>

#include "found_games.h"

namespace zav {

/// Prints the line of every game of `search` to `out` (GameLine). EXIT_DONE when there is one or
/// more; EXIT_UNDONE when there is none, the places looked at then told on `err`.
int ListGames(const GameSearch& search, std::ostream& out, std::ostream& err);

/// Tells on `err` that several games were found, with their lines, asking for --prefix.
/// EXIT_USAGE: nothing was done.
int RefuseSeveralGames(const GameSearch& search, std::ostream& err);

} // namespace zav
