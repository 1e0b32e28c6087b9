// Atomic replacement of a file: written beside it, forced to disk, renamed over it.
#pragma once

#include <functional>
#include <string_view>

#include "platform/file_system.h"

namespace zav {

/// Replaces `target` by a copy of `source` so that `target` is at every moment either its old
/// or its whole new self: the copy is written beside it, forced to disk and renamed over it.
/// A failure with its cause (target untouched, no copy left behind) when any step fails or
/// `target` is read-only.
FileResult ReplaceFileAtomically(FileSystem& files, std::string_view source,
                                 std::string_view target);

/// Deletes a temporary copy made beside a file. A copy carries the attributes of the file it was
/// made from, so a read-only one is made writable first, or it would refuse deletion and stay.
void DeleteTemporaryCopy(FileSystem& files, std::string_view copy);

/// Changes `target` by `edit` on a copy beside it, then renames the copy over it in one step.
/// `edit` gets the copy's path and returns the cause when its change failed; then `target` is
/// untouched, and that cause is the result. A failure also when the copy or the rename fails.
FileResult EditFileAtomically(FileSystem& files, std::string_view target,
                              const std::function<FileResult(std::string_view)>& edit);

} // namespace zav
