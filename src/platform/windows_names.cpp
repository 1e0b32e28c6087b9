// Device names and the characters Windows refuses in file names.
#include "platform/windows_names.h"

#include <algorithm>
#include <array>

#include "platform/codepage.h"

namespace zav {

bool IsWindowsDeviceName(std::string_view part) {
    const std::string_view stem = part.substr(0, part.find('.'));
    static constexpr std::array<std::string_view, 4> kPlain = {"con", "prn", "aux", "nul"};
    for (const std::string_view device : kPlain) {
        if (EqualsIgnoringAsciiCase(stem, device)) {
            return true;
        }
    }
    return stem.size() == 4 &&
           (EqualsIgnoringAsciiCase(stem.substr(0, 3), "com") ||
            EqualsIgnoringAsciiCase(stem.substr(0, 3), "lpt")) &&
           stem[3] >= '1' && stem[3] <= '9';
}

bool WindowsCanHoldName(std::string_view part) {
    if (part.empty() || IsWindowsDeviceName(part) || part.back() == '.' || part.back() == ' ') {
        return false;
    }
    return std::none_of(part.begin(), part.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F ||
               std::string_view("<>\"|?*:").find(c) != std::string_view::npos;
    });
}

} // namespace zav
