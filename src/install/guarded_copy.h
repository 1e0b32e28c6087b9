// GuardedCopy: replacing a file the game already has, only after the user's Yes.
#pragma once

#include <string>
#include <string_view>

#include "session/patcher_session.h"

namespace zav {

/// The question's caption; fixed English like its text.
inline constexpr std::string_view GUARDED_COPY_CAPTION = "File in copy";

/// The question for replacing `destination` by `source`, naming both files with their last-write
/// local times (hour:minute:second, month/day/year, no leading zeros).
std::string GuardedCopyQuestion(std::string_view sourceName, const LocalTime& sourceTime,
                                std::string_view destinationName, const LocalTime& destinationTime);

/// Reads the status of both files, asks the user (Yes/No, no icon) and on Yes clears the
/// destination's read-only attribute and copies `source` over it. True when the user said No or
/// the copy succeeded. False when the status of either file cannot be read (missing, or not
/// readable; nothing is asked or copied then) or when the copy after a Yes failed: the report
/// names that file and why the copy failed (None for a status), and the running command must end
/// (see FileErrorMessage).
bool GuardedCopy(PatcherSession& session, std::string_view source, std::string_view destination,
                 CommandReport& report);

/// Copies a guarded game file the way an install does: a plain copy that refuses an existing
/// destination, then GuardedCopy when that copy failed because the destination exists (or for a
/// reason the file system does not name). A copy that failed for another reason (a full disk, a
/// folder the user may not write, a missing folder) ends the command: false, with the report
/// naming the file and the cause.
bool CopyIntoGame(PatcherSession& session, std::string_view source, std::string_view destination,
                  CommandReport& report);

/// Why a file operation failed, as the end of a sentence ("no space is left on its drive"); empty
/// for None and Other.
std::string_view FileErrorCauseText(FileErrorCause cause);

/// The text of the file error that ends a command. With `cause` None: that `path` cannot be
/// found, cannot be read when it exists, or cannot be replaced when it can be read. Otherwise
/// that `path` cannot be created (or replaced, when it exists), and why.
std::string FileErrorMessage(FileSystem& files, std::string_view path, FileErrorCause cause);

/// For a report's second paragraph: FileErrorMessage for `path`, which could not be created or
/// replaced for `cause`; empty when the cause names no reason (None, Other).
std::string FileCauseDetail(FileSystem& files, std::string_view path, FileErrorCause cause);

} // namespace zav
