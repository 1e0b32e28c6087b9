// Generated sample games and case-blind host paths for the tests.
#include "support/sample_setup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace zav::test {
namespace {

namespace fs = std::filesystem;

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

} // namespace

std::string SampleLayout::Game(std::string_view relative) const {
    return FindIgnoringCase(prefix + "/drive_c", "Games/ZAV/" + std::string(relative));
}

std::string SampleLayout::Disc(std::string_view relative) const {
    return FindIgnoringCase(disc, relative);
}

SampleLayout WriteSample(const std::string& folder, SampleOptions options) {
    options.outputFolder = folder;
    std::string error;
    EXPECT_TRUE(WriteSampleGame(options, error)) << error;
    return {folder + "/prefix", folder + "/disc"};
}

std::string FindIgnoringCase(const std::string& root, std::string_view relative) {
    std::string path = root;
    bool matching = true;
    std::size_t start = 0;
    while (start <= relative.size()) {
        std::size_t end = relative.find('/', start);
        if (end == std::string_view::npos) {
            end = relative.size();
        }
        std::string component(relative.substr(start, end - start));
        start = end + 1;
        if (component.empty()) {
            continue;
        }
        if (matching && !fs::exists(fs::symlink_status(path + "/" + component))) {
            matching = false;
            std::error_code ignored;
            std::vector<std::string> names;
            for (const auto& entry : fs::directory_iterator(path, ignored)) {
                names.push_back(entry.path().filename().string());
            }
            std::sort(names.begin(), names.end());
            for (const std::string& name : names) {
                if (SameIgnoringAsciiCase(name, component)) {
                    component = name;
                    matching = true;
                    break;
                }
            }
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

ScopedEnvironment::ScopedEnvironment(std::string name, const std::string& value)
    : name_(std::move(name)) {
    if (const char* old = std::getenv(name_.c_str()); old != nullptr) {
        hadValue_ = true;
        oldValue_ = old;
    }
    ::setenv(name_.c_str(), value.c_str(), 1);
}

ScopedEnvironment::~ScopedEnvironment() {
    if (hadValue_) {
        ::setenv(name_.c_str(), oldValue_.c_str(), 1);
    } else {
        ::unsetenv(name_.c_str());
    }
}

} // namespace zav::test
