// What a command of the dialog did beyond its result code.
#pragma once

#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/fixed_text.h"

namespace zav {

/// Filled by a command (add, install, the guarded copy) for the front end to report: the result
/// code says what happened, this says of what and why.
struct CommandReport {
    /// The argument of the error message: the file or list the failure names, cut to a path's
    /// length (the message argument of the fixed error texts).
    PathText argument;
    /// Why the file `argument` names could not be written; None when its status could not be
    /// read (see FileErrorMessage).
    FileErrorCause cause = FileErrorCause::None;
    /// What the command found wrong beyond its code (a damaged list, say), for the error report
    /// to add as a second paragraph; empty when there is nothing to add.
    std::string detail;

    /// Names `path` as the file that failed, for `why`.
    void FileFailed(std::string_view path, FileErrorCause why) {
        argument.AssignCut(path);
        cause = why;
    }
};

} // namespace zav
