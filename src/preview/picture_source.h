// PictureSource: where the picture decoder takes a file's bytes from.
#pragma once

#include <cstdint>
#include <span>

namespace zav {

/// Random access to the bytes of one picture file. The decoder asks only for the parts it uses,
/// so a file with many unused blocks is never read whole.
class PictureSource {
public:
    virtual ~PictureSource() = default;
    /// The file's length in bytes, or -1 when it cannot be told.
    virtual std::int64_t Size() = 0;
    /// Reads up to `count` bytes at `offset` into `buffer`: the number read (fewer at the end of
    /// the file), or -1 on an error.
    virtual std::int64_t ReadAt(std::int64_t offset, std::uint8_t* buffer, std::int64_t count) = 0;
};

/// A picture file held in memory; the bytes must outlive the source.
class MemoryPictureSource final : public PictureSource {
public:
    explicit MemoryPictureSource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::int64_t Size() override;
    std::int64_t ReadAt(std::int64_t offset, std::uint8_t* buffer, std::int64_t count) override;

private:
    std::span<const std::uint8_t> bytes_;
};

} // namespace zav
