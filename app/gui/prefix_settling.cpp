// The window's questions for the prefix, in the order a user meets them.
#include "prefix_settling.h"

#include "platform/codepage.h"
#include "settings/own_texts.h"
#include "settings/text_format.h"

namespace zav {

std::optional<PrefixChoice> SettlePrefix(PrefixChoice choice, PrefixQuestions& questions) {
#ifdef _WIN32
    (void)questions;
    return choice; // the game is that of the Windows directory: there is nothing to choose
#else
    if (choice.origin == PrefixOrigin::SeveralFound) {
        const std::optional<std::size_t> index = questions.ChooseGame(choice.search.games);
        if (!index || *index >= choice.search.games.size()) {
            return std::nullopt;
        }
        choice.origin = PrefixOrigin::Chosen;
        choice.prefix = choice.search.games[*index].prefix;
        return choice;
    }
    if (choice.origin != PrefixOrigin::NoneFound) {
        return choice;
    }
    // Asked until the user names a folder of a game or gives up: a wrong folder is a slip, not a
    // reason to end.
    while (const std::optional<std::string> folder = questions.AskForFolder()) {
        std::string prefix = EnclosingPrefix(*folder);
        if (HoldsGame(prefix)) {
            choice.origin = PrefixOrigin::Chosen;
            choice.prefix = std::move(prefix);
            return choice;
        }
        questions.WarnNoGame(FolderHoldsNoGameNotice(*folder));
    }
    return choice;
#endif
}

std::string FolderHoldsNoGameNotice(const std::string& folder, std::int32_t languageOffset) {
    // The own text is code page 1252 and the folder UTF-8: the text is made UTF-8 first, so
    // that a folder's name that code page cannot write is shown as it is.
    return FormatText(Cp1252ToUtf8(OwnText(OwnTextId::FolderHoldsNoGame, languageOffset)),
                      {folder});
}

} // namespace zav
