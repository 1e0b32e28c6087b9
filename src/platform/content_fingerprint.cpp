// ContentHasher: four lanes of multiply-rotate rounds over 32-byte stripes, folded at the end;
// the ranges a sampled fingerprint reads.
#include "platform/content_fingerprint.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

namespace zav {
namespace {

constexpr std::uint64_t kPrime1 = 0x9E3779B185EBCA87ULL;
constexpr std::uint64_t kPrime2 = 0xC2B2AE3D27D4EB4FULL;
constexpr std::uint64_t kPrime3 = 0x165667B19E3779F9ULL;
constexpr std::uint64_t kPrime4 = 0x85EBCA77C2B2AE63ULL;

constexpr std::uint64_t RotateLeft(std::uint64_t value, int bits) {
    return (value << bits) | (value >> (64 - bits));
}

// Little-endian whatever the host, so both builds of the tool read one history alike.
std::uint64_t Load64(const std::uint8_t* bytes) {
    std::uint64_t value = 0;
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(&value, bytes, sizeof value);
        return value;
    }
    for (int i = 7; i >= 0; --i) {
        value = (value << 8) | bytes[i];
    }
    return value;
}

constexpr std::uint64_t Round(std::uint64_t lane, std::uint64_t word) {
    return RotateLeft(lane + word * kPrime2, 31) * kPrime1;
}

} // namespace

void ContentHasher::Stripe(const std::uint8_t* stripe) {
    for (int lane = 0; lane < 4; ++lane) {
        lanes_[lane] = Round(lanes_[lane], Load64(stripe + 8 * lane));
    }
}

void ContentHasher::Add(const std::uint8_t* bytes, std::size_t count) {
    total_ += count;
    if (pendingCount_ > 0) {
        const std::size_t take = std::min(count, sizeof pending_ - pendingCount_);
        std::memcpy(pending_ + pendingCount_, bytes, take);
        pendingCount_ += take;
        bytes += take;
        count -= take;
        if (pendingCount_ < sizeof pending_) {
            return;
        }
        Stripe(pending_);
        pendingCount_ = 0;
    }
    // The lanes are kept in locals: through `bytes`, which may alias anything, the compiler would
    // otherwise store and load the members around every stripe, at a third of the speed.
    std::uint64_t a = lanes_[0];
    std::uint64_t b = lanes_[1];
    std::uint64_t c = lanes_[2];
    std::uint64_t d = lanes_[3];
    for (; count >= sizeof pending_; bytes += sizeof pending_, count -= sizeof pending_) {
        a = Round(a, Load64(bytes));
        b = Round(b, Load64(bytes + 8));
        c = Round(c, Load64(bytes + 16));
        d = Round(d, Load64(bytes + 24));
    }
    lanes_[0] = a;
    lanes_[1] = b;
    lanes_[2] = c;
    lanes_[3] = d;
    std::memcpy(pending_, bytes, count);
    pendingCount_ = count;
}

std::uint64_t ContentHasher::Finish() const {
    std::uint64_t hash = RotateLeft(lanes_[0], 1) + RotateLeft(lanes_[1], 7) +
                         RotateLeft(lanes_[2], 12) + RotateLeft(lanes_[3], 18);
    for (const std::uint64_t lane : lanes_) {
        hash = (hash ^ Round(0, lane)) * kPrime1 + kPrime4;
    }
    hash += total_;
    for (std::size_t i = 0; i < pendingCount_; ++i) {
        hash = RotateLeft(hash ^ (pending_[i] * kPrime3), 11) * kPrime1;
    }
    hash ^= hash >> 33;
    hash *= kPrime2;
    hash ^= hash >> 29;
    hash *= kPrime3;
    return hash ^ (hash >> 32);
}

std::vector<std::pair<std::int64_t, std::int64_t>> FingerprintRanges(std::int64_t size) {
    std::vector<std::pair<std::int64_t, std::int64_t>> ranges;
    const auto add = [&ranges](std::int64_t start, std::int64_t length) {
        if (!ranges.empty() && ranges.back().first + ranges.back().second == start) {
            ranges.back().second += length;
        } else {
            ranges.emplace_back(start, length);
        }
    };
    if (size <= FINGERPRINT_WHOLE_LIMIT) {
        add(0, size);
        return ranges;
    }
    add(0, FINGERPRINT_EDGE);
    const std::int64_t inner = size - 2 * FINGERPRINT_EDGE - FINGERPRINT_PROBE;
    for (int i = 0; i < FINGERPRINT_PROBES; ++i) {
        add(FINGERPRINT_EDGE + inner * i / (FINGERPRINT_PROBES - 1), FINGERPRINT_PROBE);
    }
    add(size - FINGERPRINT_EDGE, FINGERPRINT_EDGE);
    return ranges;
}

void FingerprintLastWrite(ContentHasher& hasher, const LocalTime& lastWrite) {
    const std::int32_t fields[] = {lastWrite.year, lastWrite.month,  lastWrite.day,
                                   lastWrite.hour, lastWrite.minute, lastWrite.second};
    for (const std::int32_t field : fields) {
        std::uint8_t bytes[4];
        for (int i = 0; i < 4; ++i) {
            bytes[i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(field) >> (8 * i));
        }
        hasher.Add(bytes, sizeof bytes);
    }
}

} // namespace zav
