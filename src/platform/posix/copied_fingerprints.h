// The fingerprints of the files a run has copied into place, taken from the copies themselves.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <unordered_map>

#include "platform/content_fingerprint.h"

namespace zav {

/// The fingerprint of the bytes of the regular file open as `fd`, of `size` bytes, as
/// FingerprintFile gives it for a file with that last-write time; read with one pread per range
/// of FingerprintRanges. nullopt on a read error or a file shorter than `size`.
std::optional<ContentFingerprint> FingerprintOpenFile(int fd, std::int64_t size,
                                                      const LocalTime& lastWrite);

/// What the copies of a run left, by host path. A fingerprint is handed out only while the file
/// there has the length and the last-write time (to the nanosecond) the copy gave it and its
/// status has not changed since the copy was finished (its change time, which no program can set,
/// is not later), so a file edited, replaced, renamed or given another mode since is read again.
class CopiedFingerprints {
public:
    /// The copy to `hostPath` has just been renamed into place; `fingerprint` is its bytes',
    /// `source` the status of the file it copied (whose length and times it has).
    void Remember(const std::string& hostPath, const ContentFingerprint& fingerprint,
                  const struct stat& source);
    /// The fingerprint of the file at `hostPath` when it is still the copy (one status call).
    [[nodiscard]] std::optional<ContentFingerprint> Find(const std::string& hostPath) const;

private:
    struct Copied {
        ContentFingerprint fingerprint;
        struct timespec lastWrite {};
        struct timespec finished {};
    };
    std::unordered_map<std::string, Copied> copies_;
};

} // namespace zav
