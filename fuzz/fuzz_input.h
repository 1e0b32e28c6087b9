// FuzzInput: the fuzzer's bytes taken apart into the choices a fuzz target makes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zav::fuzz {

/// Reads from the front of the input; once it is used up every read gives zeros (or nothing), so
/// a target never runs out of choices.
class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    [[nodiscard]] bool Empty() const { return position_ >= size_; }
    [[nodiscard]] std::size_t Remaining() const { return size_ - position_; }

    std::uint8_t Byte() { return Empty() ? 0 : data_[position_++]; }
    std::uint16_t Uint16() {
        const std::uint16_t low = Byte();
        return static_cast<std::uint16_t>(low | (Byte() << 8));
    }
    std::int32_t Int32() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            value |= static_cast<std::uint32_t>(Byte()) << (8 * i);
        }
        return static_cast<std::int32_t>(value);
    }
    /// Up to `count` bytes; fewer when the input ends.
    std::vector<std::uint8_t> Bytes(std::size_t count) {
        const std::size_t taken = count < Remaining() ? count : Remaining();
        std::vector<std::uint8_t> bytes(data_ + position_, data_ + position_ + taken);
        position_ += taken;
        return bytes;
    }
    /// A text of a length (one byte) up to `maxLength`, its bytes as they come.
    std::string Text(std::size_t maxLength) {
        const std::size_t length = Byte() % (maxLength + 1);
        const std::vector<std::uint8_t> bytes = Bytes(length);
        return std::string(bytes.begin(), bytes.end());
    }
    /// Fills `out` with up to `count` bytes; what the input does not give stays as it was.
    void Fill(void* out, std::size_t count) {
        auto* bytes = static_cast<std::uint8_t*>(out);
        for (std::size_t i = 0; i < count && !Empty(); ++i) {
            bytes[i] = Byte();
        }
    }
    /// Everything that is left.
    std::vector<std::uint8_t> Rest() { return Bytes(Remaining()); }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

/// Stops the run so that the fuzzer keeps the input: a broken promise of the code under test.
[[noreturn]] void Broken(const char* what);

#define ZAV_FUZZ_CHECK(condition)                                                                  \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            ::zav::fuzz::Broken(#condition);                                                       \
        }                                                                                          \
    } while (false)

} // namespace zav::fuzz
