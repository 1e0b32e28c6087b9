// Once-per-run notices about entries that did not fit.
#include "analysis/left_out_notice.h"

#include "platform/ui.h"
#include "settings/string_table.h"

namespace zav {

void ShowLeftOutNotice(PatcherSession& session, LeftOutCause cause, const std::string& text) {
    const auto bit = static_cast<unsigned>(cause);
    if ((session.noticesShown & bit) != 0) {
        return;
    }
    session.noticesShown |= bit;
    session.ui.MessageBox(text, session.texts.Text(TEXT_PROGRAM_TITLE), MB_OK | MB_ICONEXCLAMATION);
}

std::string JoinNamesForNotice(const std::vector<std::string>& names) {
    constexpr std::size_t kShown = 8;
    std::string joined;
    for (std::size_t i = 0; i < names.size() && i < kShown; ++i) {
        if (i > 0) {
            joined += (i + 1 == names.size()) ? " and " : ", ";
        }
        joined += names[i];
    }
    if (names.size() > kShown) {
        joined += " and " + std::to_string(names.size() - kShown) + " more";
    }
    return joined;
}

} // namespace zav
