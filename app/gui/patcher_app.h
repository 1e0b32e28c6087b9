// PatcherApp: runs the main dialog's window modally; the program ends when it ends.
#pragma once

#include <string>

class QApplication;

namespace zav {

struct PatcherAppOptions {
    std::string prefix;       ///< the Wine prefix, a UTF-8 host path
    std::string sourceFolder; ///< the folder holding circuits/ and voitures/, code page 1252
};

class PatcherApp {
public:
    explicit PatcherApp(PatcherAppOptions options) : options_(std::move(options)) {}
    /// Builds the window and the dialog logic, runs the start-up and then the window modally.
    /// Returns 0 when the dialog ended normally (a fatal error or a window close end the process
    /// themselves).
    int InitInstance();

private:
    PatcherAppOptions options_;
};

} // namespace zav
