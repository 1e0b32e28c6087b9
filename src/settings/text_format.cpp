// FormatText and its length-limited form.
#include "settings/text_format.h"

#include <algorithm>
#include <vector>

namespace zav {
namespace {

std::string FormatWith(std::string_view format, const std::vector<std::string>& values) {
    std::string out;
    std::size_t next = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%' || i + 1 >= format.size()) {
            out.push_back(format[i]);
            continue;
        }
        std::size_t j = i + 1;
        if (format[j] == '%') {
            out.push_back('%');
            i = j;
            continue;
        }
        if (format[j] == 'l' && j + 1 < format.size()) {
            ++j;
        }
        const char conversion = format[j];
        if (conversion == 's' || conversion == 'd' || conversion == 'i' || conversion == 'u') {
            if (next < values.size()) {
                out += values[next];
            }
            ++next;
            i = j;
            continue;
        }
        out.push_back('%');
    }
    return out;
}

std::string ShortenMiddle(const std::string& text, std::size_t keep) {
    static constexpr std::string_view kEllipsis = "...";
    if (keep <= kEllipsis.size()) {
        return std::string(kEllipsis.substr(0, keep));
    }
    const std::size_t visible = keep - kEllipsis.size();
    const std::size_t head = (visible + 1) / 2;
    const std::size_t tail = visible - head;
    return text.substr(0, head) + std::string(kEllipsis) + text.substr(text.size() - tail);
}

} // namespace

std::string FormatArgument::ToText() const {
    return isNumber_ ? std::to_string(number_) : std::string(text_);
}

std::string FormatText(std::string_view format, std::initializer_list<FormatArgument> arguments) {
    std::vector<std::string> values;
    values.reserve(arguments.size());
    for (const FormatArgument& argument : arguments) {
        values.push_back(argument.ToText());
    }
    return FormatWith(format, values);
}

std::string FormatTextLimited(std::string_view format,
                              std::initializer_list<FormatArgument> arguments,
                              std::size_t maxLength) {
    std::vector<std::string> values;
    std::vector<bool> shortenable;
    for (const FormatArgument& argument : arguments) {
        values.push_back(argument.ToText());
        shortenable.push_back(!argument.IsNumber());
    }
    std::string out = FormatWith(format, values);
    while (out.size() > maxLength) {
        // Take the excess off the longest text argument that can still give something up.
        std::size_t longest = values.size();
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (shortenable[i] && values[i].size() > 3 &&
                (longest == values.size() || values[i].size() > values[longest].size())) {
                longest = i;
            }
        }
        if (longest == values.size()) {
            break;
        }
        const std::size_t excess = out.size() - maxLength;
        const std::size_t keep =
            values[longest].size() > excess + 3 ? values[longest].size() - excess : 3;
        values[longest] = ShortenMiddle(values[longest], keep);
        shortenable[longest] = false;
        out = FormatWith(format, values);
    }
    if (out.size() > maxLength) {
        out.resize(maxLength);
    }
    return out;
}

} // namespace zav
