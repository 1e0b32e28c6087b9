// CopiedFingerprints: a copy's fingerprint, handed out while the file is the copy still.
#include "platform/posix/copied_fingerprints.h"

#include <unistd.h>

#include <cerrno>
#include <memory>

namespace zav {
namespace {

bool Before(const struct timespec& a, const struct timespec& b) {
    return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec <= b.tv_nsec);
}

} // namespace

std::optional<ContentFingerprint> FingerprintOpenFile(int fd, std::int64_t size,
                                                      const LocalTime& lastWrite) {
    ContentHasher hasher;
    std::unique_ptr<std::uint8_t[]> buffer;
    std::int64_t capacity = 0;
    for (const auto& [start, length] : FingerprintRanges(size)) {
        if (length > capacity) {
            // Left uninitialised: every byte hashed is read first.
            buffer =
                std::make_unique_for_overwrite<std::uint8_t[]>(static_cast<std::size_t>(length));
            capacity = length;
        }
        for (std::int64_t done = 0; done < length;) {
            const ssize_t got = ::pread(fd, buffer.get() + done,
                                        static_cast<std::size_t>(length - done), start + done);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got <= 0) {
                return std::nullopt;
            }
            done += got;
        }
        hasher.Add(buffer.get(), static_cast<std::size_t>(length));
    }
    if (size > FINGERPRINT_WHOLE_LIMIT) {
        FingerprintLastWrite(hasher, lastWrite);
    }
    return ContentFingerprint{size, hasher.Finish()};
}

void CopiedFingerprints::Remember(const std::string& hostPath,
                                  const ContentFingerprint& fingerprint,
                                  const struct stat& source) {
    Copied copied;
    copied.fingerprint = fingerprint;
    copied.lastWrite = source.st_mtim;
    // Every later change of the file's status (a write, a rename, a new mode) stamps it with a
    // change time from this clock, never ahead of it (a change within the clock's last tick may
    // carry an earlier stamp; a write then still moves the last-write time, compared exactly).
    ::clock_gettime(CLOCK_REALTIME, &copied.finished);
    copies_.insert_or_assign(hostPath, copied);
}

std::optional<ContentFingerprint> CopiedFingerprints::Find(const std::string& hostPath) const {
    const auto found = copies_.find(hostPath);
    struct stat info {};
    if (found == copies_.end() || ::stat(hostPath.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    const Copied& copied = found->second;
    if (info.st_size != copied.fingerprint.size || info.st_mtim.tv_sec != copied.lastWrite.tv_sec ||
        info.st_mtim.tv_nsec != copied.lastWrite.tv_nsec ||
        !Before(info.st_ctim, copied.finished)) {
        return std::nullopt;
    }
    return copied.fingerprint;
}

} // namespace zav
