// The console of a Windows command-line program: its arguments, its output code page, questions.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zav {

/// The program's arguments as UTF-8, from the wide command line: the narrow argv of a Windows
/// program holds them in the ANSI code page, which loses characters other code pages have.
std::vector<std::string> Utf8Arguments();

/// Makes the console show the UTF-8 the program writes; standard output and error then pass bytes
/// unchanged (no CR added before LF), as on other hosts. Nothing changes without a console.
void UseUtf8Console();

/// Whether standard error is a console, where a progress bar can be redrawn in place.
bool StandardErrorIsConsole();

/// Reads a line typed on the program's console (CONIN$), as UTF-8 without its line end, whatever
/// standard input is; nullopt without a console or at its end.
std::optional<std::string> ReadConsoleLine();

/// Whether the program has a console to ask questions on.
bool HasConsoleInput();

} // namespace zav
