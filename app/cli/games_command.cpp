// zavpatch games: one tab-separated line per game found.
#include "games_command.h"

#include "commands.h"
#include "platform/codepage.h"

namespace zav {

int ListGames(const GameSearch& search, std::ostream& out, std::ostream& err) {
    for (const FoundGame& game : search.games) {
        out << GameLine(game) << '\n';
    }
    if (search.games.empty()) {
        err << "zavpatch: " << Cp1252ToUtf8(NoGameFoundNotice(search)) << '\n';
        return EXIT_UNDONE;
    }
    return EXIT_DONE;
}

int RefuseSeveralGames(const GameSearch& search, std::ostream& err) {
    err << "zavpatch: " << Cp1252ToUtf8(SeveralGamesNotice(search)) << '\n';
    return EXIT_USAGE;
}

} // namespace zav
