// Safe filling of the tool's message texts: %s and %d only, arguments never read as formats.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace zav {

/// One value for a %s or %d of a message text.
class FormatArgument {
public:
    FormatArgument(std::string_view text) : text_(text) {}
    FormatArgument(const char* text) : text_(text != nullptr ? text : "") {}
    FormatArgument(const std::string& text) : text_(text) {}
    FormatArgument(int number) : number_(number), isNumber_(true) {}
    FormatArgument(long number) : number_(number), isNumber_(true) {}
    FormatArgument(long long number) : number_(number), isNumber_(true) {}

    [[nodiscard]] std::string ToText() const;
    [[nodiscard]] bool IsNumber() const { return isNumber_; }
    [[nodiscard]] std::string_view Text() const { return text_; }

private:
    std::string_view text_;
    long long number_ = 0;
    bool isNumber_ = false;
};

/// Fills `format`: %s, %d, %i, %u, %ld and %lu take the next argument (a missing one gives an
/// empty text), %% is a percent sign, any other % is copied as it stands. The arguments are
/// inserted as they are: a "%s" or "%n" inside one is shown, never interpreted.
std::string FormatText(std::string_view format, std::initializer_list<FormatArgument> arguments);

/// FormatText held to `maxLength` characters: when the result is longer, the text arguments
/// (paths, names) are shortened in their middle with "..." so the message keeps its shape, and
/// whatever is still too long is cut.
std::string FormatTextLimited(std::string_view format,
                              std::initializer_list<FormatArgument> arguments,
                              std::size_t maxLength);

/// The longest message the tool shows: 255 characters.
inline constexpr std::size_t MESSAGE_MAX_LENGTH = 255;

} // namespace zav
