// A generated sample game in a test's folder, and host paths into it found without regard to case.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "support/list_bytes.h"
#include "support/temp_dir.h"

namespace zav::test {

/// Where a generated sample lies: the Wine prefix, and the disc folder with circuits/, voitures/.
struct SampleLayout {
    std::string prefix, disc;

    /// Host path of `relative` ('/' separators) under C:\Games\ZAV\, or under the disc.
    [[nodiscard]] std::string Game(std::string_view relative) const;
    [[nodiscard]] std::string Disc(std::string_view relative) const;
    /// Host path of one of the game's lists in Data/Binary/Scripts.
    [[nodiscard]] std::string Scripts(std::string_view name) const {
        return Game("Data/Binary/Scripts/" + std::string(name));
    }
};

/// Writes the sample, folder names in mixed case, into `folder` (which must not exist); fails
/// the test otherwise.
SampleLayout WriteSample(const std::string& folder, int version, std::int64_t dataSize,
                         bool accelerated = false);

/// `root` + `relative`, each component as it stands on disk when one matches it ignoring ASCII
/// case, and as given from the first one that matches nothing.
std::string FindIgnoringCase(const std::string& root, std::string_view relative);

/// Every file below `folder` (relative paths, '/' separators, sorted).
std::vector<std::string> FilesBelow(const std::string& folder);

} // namespace zav::test
