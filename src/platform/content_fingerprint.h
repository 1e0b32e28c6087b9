// The fingerprint of a file's bytes, shared by the copies that make files and the history.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/file_system.h"

namespace zav {

/// A file's length and a 64-bit hash of its bytes.
struct ContentFingerprint {
    std::int64_t size = 0;
    std::uint64_t hash = 0;
    friend bool operator==(const ContentFingerprint&, const ContentFingerprint&) = default;
};

/// A fast non-cryptographic 64-bit hash over a stream of bytes fed in pieces of any size; the
/// same bytes give the same value however they are cut. It guards against accidents (an edited
/// or replaced file), not against somebody forging a file.
class ContentHasher {
public:
    void Add(const std::uint8_t* bytes, std::size_t count);
    [[nodiscard]] std::uint64_t Finish() const;

private:
    void Stripe(const std::uint8_t* stripe);

    std::uint64_t lanes_[4] = {0x60EA27EEADC0B5D6ULL, 0xC2B2AE3D27D4EB4FULL, 0ULL,
                               0x61C8864E7A143579ULL};
    std::uint8_t pending_[32] = {};
    std::size_t pendingCount_ = 0;
    std::uint64_t total_ = 0;
};

/// Files up to this length are hashed whole; of a longer one, the fingerprint hashes its first and
/// last FINGERPRINT_EDGE bytes and FINGERPRINT_PROBES blocks of FINGERPRINT_PROBE bytes spread
/// evenly between them, then its last-write time (see FingerprintLastWrite).
inline constexpr std::int64_t FINGERPRINT_WHOLE_LIMIT = 256 * 1024;
inline constexpr std::int64_t FINGERPRINT_EDGE = 64 * 1024;
inline constexpr int FINGERPRINT_PROBES = 16;
inline constexpr std::int64_t FINGERPRINT_PROBE = 4096;

/// The byte ranges (offset, length) a fingerprint of a file of `size` bytes hashes, in order, with
/// ranges that touch joined into one, so that each is one read.
std::vector<std::pair<std::int64_t, std::int64_t>> FingerprintRanges(std::int64_t size);

/// Takes the last-write time of a sampled file into its hash: an edit between the samples still
/// changes it, since the host sets it on every write.
void FingerprintLastWrite(ContentHasher& hasher, const LocalTime& lastWrite);

/// A file system that can tell the fingerprint of a file it has made by copying, from the bytes
/// of the copy, without reading the file again. Found by a dynamic_cast on the FileSystem.
class CopyFingerprints {
public:
    virtual ~CopyFingerprints() = default;
    /// From now on each copy takes its fingerprint (which costs a few reads of what it copies).
    virtual void KeepCopyFingerprints() = 0;
    /// The fingerprint of the file at `path` when it is still the one a copy made, untouched
    /// since (same file, length, last-write time, and no change of its status at all); nullopt
    /// otherwise, and the caller reads the file.
    virtual std::optional<ContentFingerprint> CopiedFingerprint(std::string_view path) = 0;
};

} // namespace zav
