// FuzzInput: the fuzzer's bytes taken apart into the choices a fuzz target makes.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace zav::fuzz {

/// Reads from the front of the input; once it is used up every read gives zeros (or nothing), so
/// a target never runs out of choices.
class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    [[nodiscard]] bool Empty() const { return position_ >= size_; }
    std::uint8_t Byte() { return Empty() ? 0 : data_[position_++]; }
    /// The next `count` bytes (fewer when the input ends) as an input of their own.
    FuzzInput Take(std::size_t count) {
        const FuzzInput part(data_ + position_, std::min(count, size_ - position_));
        position_ += part.size_;
        return part;
    }
    std::vector<std::uint8_t> Bytes(std::size_t count) {
        const FuzzInput part = Take(count);
        return {part.data_, part.data_ + part.size_};
    }
    /// A text of a length (one byte) up to `maxLength`, its bytes as they come.
    std::string Text(std::size_t maxLength) {
        const std::vector<std::uint8_t> bytes = Bytes(Byte() % (maxLength + 1));
        return {bytes.begin(), bytes.end()};
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

/// Stops the run so that the fuzzer keeps the input: a broken promise of the code under test.
[[noreturn]] inline void BrokenPromise(const char* condition) {
    std::fprintf(stderr, "broken promise: %s\n", condition);
    std::abort();
}
#define ZAV_FUZZ_CHECK(condition) ((condition) ? void() : ::zav::fuzz::BrokenPromise(#condition))

} // namespace zav::fuzz
