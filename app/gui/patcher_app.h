// PatcherApp: runs the main dialog's window modally; the program ends when it ends.
#pragma once

#include <string>
#include <vector>

#include "program_start.h"

namespace zav {

struct PatcherAppOptions {
    StartFolders folders;     ///< the Wine prefix and the folder holding circuits/ and voitures/
    std::string placesNotice; ///< where else the game was looked for (see ProgramStart)
    std::vector<std::string> severalMedia; ///< the mounted media holding new data, when several
};

class PatcherApp {
public:
    explicit PatcherApp(PatcherAppOptions options) : options_(std::move(options)) {}
    /// Builds the window and the dialog logic in the game's language, runs the start-up, tells
    /// once when no new data can be found, then runs the window modally. Returns 0 when the
    /// dialog ended normally (a fatal error or a window close end the process themselves).
    int InitInstance();

private:
    PatcherAppOptions options_;
};

} // namespace zav
