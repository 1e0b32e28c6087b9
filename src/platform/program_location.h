// Where the running program lives on the host.
#pragma once

#include <string>

namespace zav {

/// The folder holding the running executable, as a UTF-8 host path without a trailing
/// separator; empty when the system does not tell.
std::string ProgramFolder();

} // namespace zav
