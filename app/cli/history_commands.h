// zavpatch's history and undo commands, which need the game but not the dialog.
#pragma once

#include "program_start.h"
#include "terminal_view.h"

namespace zav {

/// `zavpatch history`: the game's history, newest entry first, on standard output. 0, or 255
/// when the game is not found (`placesNotice`, code page 1252, then follows the notice of where
/// the game was looked for).
int ShowHistory(ProgramFileSystem& program, const std::string& placesNotice = {});

/// `zavpatch undo`: the dialog's undo (PatcherDialog::UndoNewestChange) over `view`, wired by
/// `start`. 0 when undone (the entry is printed), 1 when refused, failed part-way or there is
/// nothing to undo (the reason on standard error), 255 when the game is not found or the tool
/// runs on it already. With a dry run's file system the changes are printed as a plan instead.
int UndoLastChange(ProgramStart& start, TerminalDialogView& view);

} // namespace zav
