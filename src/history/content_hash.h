// The fingerprint of a file's bytes, to tell whether it changed since the tool wrote it.
#pragma once

#include <optional>
#include <string_view>

#include "platform/content_fingerprint.h"
#include "platform/file_system.h"

namespace zav {

/// The fingerprint of the file `path`; nullopt when it is missing, a folder or cannot be read.
/// A long file is sampled (see FINGERPRINT_WHOLE_LIMIT), which tells another file or another
/// version of it apart at a fifth of the reading, and its last-write time is taken in, so that an
/// edit of a few bytes between the samples is seen too (a change of the computer's time zone
/// then reads as a change: undo refuses rather than lose an edit). A file that `files` copied
/// into place and that is untouched since has its fingerprint from the copy (CopyFingerprints).
std::optional<ContentFingerprint> FingerprintFile(FileSystem& files, std::string_view path);

} // namespace zav
