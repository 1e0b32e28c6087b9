// Where the running program lives on the host.
#pragma once

#include <string>

namespace zav {

/// The folder holding the running executable, as a UTF-8 host path without a trailing
/// separator; empty when the system does not tell.
std::string ProgramFolder();

/// Why ProgramFolder is empty, as a sentence naming the folder: under Wine a program started from
/// a folder that no drive letter of the prefix leads to gets a name no Windows call can open
/// ("unix\..."). Empty when ProgramFolder names the folder.
std::string ProgramFolderProblem();

} // namespace zav
