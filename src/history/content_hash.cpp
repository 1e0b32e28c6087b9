// FingerprintFile: the sampled fingerprint of a file read through the FileSystem port.
#include "history/content_hash.h"

#include <algorithm>
#include <memory>

namespace zav {
namespace {

constexpr std::int64_t kReadPiece = 1 << 20;

} // namespace

std::optional<ContentFingerprint> FingerprintFile(FileSystem& files, std::string_view path) {
    // A file the run copied into place was fingerprinted from the copy's own bytes.
    if (auto* copies = dynamic_cast<CopyFingerprints*>(&files)) {
        if (auto known = copies->CopiedFingerprint(path)) {
            return known;
        }
    }
    const auto handle = files.Open(path, OpenMode::ReadOnly);
    const std::int64_t size = handle ? handle->Size().bytes : -1;
    if (size < 0) {
        return std::nullopt;
    }
    ContentHasher hasher;
    // Left uninitialised: every byte hashed is read first.
    const auto piece = std::make_unique_for_overwrite<std::uint8_t[]>(
        static_cast<std::size_t>(std::min(size, kReadPiece)));
    for (const auto& [start, length] : FingerprintRanges(size)) {
        for (std::int64_t offset = start; offset < start + length;) {
            const std::int64_t read =
                handle->ReadAt(offset, piece.get(), std::min(start + length - offset, kReadPiece))
                    .bytes;
            if (read <= 0) {
                return std::nullopt;
            }
            hasher.Add(piece.get(), static_cast<std::size_t>(read));
            offset += read;
        }
    }
    if (size > FINGERPRINT_WHOLE_LIMIT) {
        // An edit between the samples still changes the file's last-write time, which the host
        // sets on every write: taken in, it makes the sampled fingerprint tell edits apart too.
        const auto status = files.Status(path);
        if (!status) {
            return std::nullopt;
        }
        FingerprintLastWrite(hasher, status->lastWrite);
    }
    return ContentFingerprint{size, hasher.Finish()};
}

} // namespace zav
