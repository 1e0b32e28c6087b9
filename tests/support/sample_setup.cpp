// Generated sample games and case-blind host paths for the tests.
#include "support/sample_setup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "tools/sample_game.h"

namespace zav::test {

namespace fs = std::filesystem;

std::string SampleLayout::Game(std::string_view relative) const {
    return FindIgnoringCase(prefix + "/drive_c", "Games/ZAV/" + std::string(relative));
}

std::string SampleLayout::Disc(std::string_view relative) const {
    return FindIgnoringCase(disc, relative);
}

SampleLayout WriteSample(const std::string& folder, int version, std::int64_t dataSize,
                         bool accelerated) {
    SampleOptions options;
    options.outputFolder = folder;
    options.version = version;
    options.dataSize = dataSize;
    options.mixedCase = true;
    options.accelerated = accelerated;
    std::string error;
    EXPECT_TRUE(WriteSampleGame(options, error)) << error;
    return {folder + "/prefix", folder + "/disc"};
}

std::string FindIgnoringCase(const std::string& root, std::string_view relative) {
    const auto lower = [](std::string text) {
        std::transform(text.begin(), text.end(), text.begin(),
                       [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
        return text;
    };
    std::string path = root;
    bool matching = true;
    for (const auto& part : fs::path(relative)) {
        std::string component = part.string();
        if (component.empty()) {
            continue;
        }
        if (matching && !fs::exists(fs::symlink_status(path + "/" + component))) {
            std::vector<std::string> names;
            std::error_code ignored;
            for (const auto& entry : fs::directory_iterator(path, ignored)) {
                names.push_back(entry.path().filename().string());
            }
            std::sort(names.begin(), names.end());
            const auto found = std::find_if(names.begin(), names.end(), [&](const auto& name) {
                return lower(name) == lower(component);
            });
            matching = found != names.end();
            component = matching ? *found : component;
        }
        path += "/" + component;
    }
    return path;
}

std::vector<std::string> FilesBelow(const std::string& folder) {
    std::vector<std::string> files;
    std::error_code ignored;
    for (auto it = fs::recursive_directory_iterator(folder, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored)) {
        if (!it->is_directory(ignored)) {
            files.push_back(fs::relative(it->path(), folder, ignored).generic_string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace zav::test
