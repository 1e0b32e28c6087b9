// The commands of zavpatch, each a sequence of the dialog's own handlers.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "shell/patcher_dialog.h"
#include "terminal_view.h"

namespace zav {

/// Exit statuses of zavpatch.
inline constexpr int EXIT_DONE = 0;
inline constexpr int EXIT_UNDONE = 1;
inline constexpr int EXIT_USAGE = 2;

/// Marks a name of the command line that code page 1252 cannot write: the mark, then the name as
/// typed (UTF-8). Such a name is in none of the lists.
inline constexpr char UNWRITABLE_NAME_MARK = '\x7F';

/// What the user asked for, parsed from the command line. Names are code page 1252, or marked
/// with UNWRITABLE_NAME_MARK.
struct CommandRequest {
    enum class Verb { Status, Install, Trash } verb = Verb::Status;
    /// The kind named; none for both (status only).
    std::optional<DataKind> kind;
    std::vector<std::string> names;
    bool all = false;
};

/// Runs `request` on a dialog whose start-up has run, and ends it through "Close". Returns the
/// exit status: 0 when everything asked for was done, 1 when a message, a warning or a No left
/// something undone, 2 when a name is not in the list it must come from (then nothing changed).
int RunCommand(PatcherDialog& dialog, TerminalDialogView& view, const CommandRequest& request);

} // namespace zav
