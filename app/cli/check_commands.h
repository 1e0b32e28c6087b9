// zavpatch check and repair, which need the game but neither the new data nor the dialog's lists.
#pragma once

#include "program_start.h"
#include "terminal_view.h"

namespace zav {

/// `zavpatch check`: what is wrong with the game (PatcherDialog::CheckGame), one finding a line
/// on standard output in the game's language, or "No problems found."; changes nothing, so it
/// also checks a game this user cannot write. 0 when the game is sound, 1 when something was
/// found, 255 when the game is not found or one of its lists cannot be read.
int CheckTheGame(ProgramStart& start, TerminalDialogView& view);

/// `zavpatch repair`: the findings as check prints them, then each one that can be mended asked
/// about through `view` (--yes, --no or the terminal) and mended after Yes; the counts on
/// standard error. 0 when everything found was mended (or nothing was found), 1 when something
/// was left, 255 as check, or when another run holds the game. In a dry run the plan follows.
int RepairTheGame(ProgramStart& start, TerminalDialogView& view);

} // namespace zav
