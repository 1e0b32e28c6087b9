// A Profile that answers one value and records what it was asked.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/profile.h"

namespace zav::test {

/// Answers `value` (cut to the buffer like the real profile) to every lookup and keeps the
/// arguments of each.
class RecordingProfile final : public Profile {
public:
    struct Lookup {
        std::string section;
        std::string key;
        std::size_t bufferSize;
        std::string file;
    };

    explicit RecordingProfile(std::string answer = {}) : value(std::move(answer)) {}

    std::string GetString(std::string_view section, std::string_view key, std::string_view,
                          std::size_t bufferSize, std::string_view file) override {
        lookups.push_back({std::string(section), std::string(key), bufferSize, std::string(file)});
        return value.substr(0, bufferSize == 0 ? 0 : bufferSize - 1);
    }

    std::string value;
    std::vector<Lookup> lookups;
};

} // namespace zav::test
