// Fixed-capacity 8-bit texts: the 256-byte name slots and path buffers of the tool's records.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace zav {

/// A NUL-terminated 8-bit text held in a buffer of `Capacity` bytes, terminator included.
/// Every writer keeps the terminator inside the buffer: `Assign` and `Append` refuse a text
/// that would not fit (returning false), `AssignCut` cuts it. Nothing ever writes past the end.
template <std::size_t Capacity> class FixedText {
    static_assert(Capacity >= 2, "a fixed text needs room for a character and its terminator");

public:
    static constexpr std::size_t kMaxLength = Capacity - 1;

    FixedText() { data_[0] = '\0'; }

    /// Replaces the text; false (and the text left empty) when `text` is longer than kMaxLength.
    bool Assign(std::string_view text) {
        if (text.size() > kMaxLength) {
            Clear();
            return false;
        }
        Store(text);
        return true;
    }

    /// Replaces the text with at most its first kMaxLength characters.
    void AssignCut(std::string_view text) {
        Store(text.substr(0, std::min(text.size(), kMaxLength)));
    }

    /// Appends; false (and the text unchanged) when the result would be longer than kMaxLength.
    bool Append(std::string_view text) {
        const std::size_t length = size();
        if (text.size() > kMaxLength - length) {
            return false;
        }
        std::memcpy(data_.data() + length, text.data(), text.size());
        data_[length + text.size()] = '\0';
        return true;
    }

    void Clear() { data_[0] = '\0'; }

    [[nodiscard]] std::size_t size() const { return ::strnlen(data_.data(), kMaxLength); }
    [[nodiscard]] bool empty() const { return data_[0] == '\0'; }
    [[nodiscard]] std::string_view view() const { return {data_.data(), size()}; }
    [[nodiscard]] std::string str() const { return std::string(view()); }
    /// The text with its terminator; the last byte of the buffer is always kept as a terminator.
    [[nodiscard]] const char* c_str() const { return data_.data(); }

    /// Raw buffer of `Capacity` bytes for routines that fill a caller's buffer themselves;
    /// they must leave a terminator inside it.
    [[nodiscard]] char* data() { return data_.data(); }
    [[nodiscard]] static constexpr std::size_t capacity() { return Capacity; }

    friend bool operator==(const FixedText& a, const FixedText& b) { return a.view() == b.view(); }
    friend bool operator==(const FixedText& a, std::string_view b) { return a.view() == b; }

private:
    void Store(std::string_view text) {
        std::memmove(data_.data(), text.data(), text.size());
        data_[text.size()] = '\0';
        data_[kMaxLength] = '\0';
    }

    std::array<char, Capacity> data_{};
};

/// Bytes of every name slot and path buffer: 255 characters and the terminator.
inline constexpr std::size_t kTextBufferSize = 256;
using PathText = FixedText<kTextBufferSize>;
using NameText = FixedText<kTextBufferSize>;

} // namespace zav
