// A generated sample game in a test's folder, and host paths into it found without regard to case.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "support/temp_dir.h"
#include "tools/sample_game.h"

namespace zav::test {

/// Where a generated sample lies on the host.
struct SampleLayout {
    std::string prefix; ///< the Wine prefix
    std::string disc;   ///< the folder holding circuits/ and voitures/

    /// Host path of `relative` ('/' separators) under the game folder C:\Games\ZAV\.
    [[nodiscard]] std::string Game(std::string_view relative) const;
    /// Host path of `relative` under the disc folder.
    [[nodiscard]] std::string Disc(std::string_view relative) const;
    /// Host path of one of the game's list files in Data/Binary/Scripts.
    [[nodiscard]] std::string Scripts(std::string_view fileName) const {
        return Game("Data/Binary/Scripts/" + std::string(fileName));
    }
};

/// Writes the sample of `options` into `folder` (which must not exist yet); fails the current
/// test with the generator's reason otherwise.
SampleLayout WriteSample(const std::string& folder, SampleOptions options);

/// `root` + `relative`, each component taken as it stands on disk when one matches it ignoring
/// ASCII case, and as given from the first one that matches nothing.
std::string FindIgnoringCase(const std::string& root, std::string_view relative);

/// Every file below `folder` (relative paths, '/' separators, sorted); folders are not listed.
std::vector<std::string> FilesBelow(const std::string& folder);

/// Sets an environment variable for the lifetime of the object, then restores the old value.
class ScopedEnvironment {
public:
    ScopedEnvironment(std::string name, const std::string& value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::string name_;
    bool hadValue_ = false;
    std::string oldValue_;
};

} // namespace zav::test
