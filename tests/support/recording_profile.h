// A Profile that answers one value to every lookup.
#pragma once

#include <cstddef>
#include <string>

#include "platform/profile.h"

namespace zav::test {

class RecordingProfile final : public Profile {
public:
    explicit RecordingProfile(std::string answer = {}) : value(std::move(answer)) {}

    /// `value` cut to the buffer, like the real profile.
    std::string GetString(std::string_view, std::string_view, std::string_view,
                          std::size_t bufferSize, std::string_view) override {
        return value.substr(0, bufferSize == 0 ? 0 : bufferSize - 1);
    }

    std::string value;
};

} // namespace zav::test
