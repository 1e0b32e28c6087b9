// The fingerprint of a file's bytes, to tell whether it changed since the tool wrote it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

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

/// Files up to this length are hashed whole; of a longer one, FingerprintFile hashes its first and
/// last FINGERPRINT_EDGE bytes and FINGERPRINT_PROBES blocks of FINGERPRINT_PROBE bytes spread
/// evenly between them.
inline constexpr std::int64_t FINGERPRINT_WHOLE_LIMIT = 256 * 1024;
inline constexpr std::int64_t FINGERPRINT_EDGE = 64 * 1024;
inline constexpr int FINGERPRINT_PROBES = 16;
inline constexpr std::int64_t FINGERPRINT_PROBE = 4096;

/// The fingerprint of the file `path`; nullopt when it is missing, a folder or cannot be read.
/// A long file is sampled (see FINGERPRINT_WHOLE_LIMIT), which tells another file or another
/// version of it apart at a fifth of the reading, and its last-write time is taken in, so that an
/// edit of a few bytes between the samples is seen too (a change of the computer's time zone
/// then reads as a change: undo refuses rather than lose an edit).
std::optional<ContentFingerprint> FingerprintFile(FileSystem& files, std::string_view path);

} // namespace zav
