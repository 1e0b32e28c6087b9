// Replays files through a fuzz target's entry point: the corpus and the saved crashes as
// regression inputs of the normal test suite, built by any compiler.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

/// Each argument is a file or a folder whose files (not its sub-folders, nor its README) are
/// replayed in the order of their names. Exits 0 when all could be read; a broken input aborts.
int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    int failures = 0;
    int replayed = 0;
    for (int i = 1; i < argc; ++i) {
        std::vector<fs::path> files{argv[i]};
        if (fs::is_directory(files[0])) {
            files.clear();
            for (const auto& entry : fs::directory_iterator(argv[i])) {
                if (entry.is_regular_file() && entry.path().filename() != "README") {
                    files.push_back(entry.path());
                }
            }
            std::sort(files.begin(), files.end());
        }
        for (const fs::path& file : files) {
            std::ifstream in(file, std::ios::binary);
            const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
            if (!in.eof() && in.fail()) {
                std::fprintf(stderr, "cannot read %s\n", file.c_str());
                ++failures;
                continue;
            }
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
            ++replayed;
        }
    }
    std::printf("replayed %d inputs\n", replayed);
    return failures == 0 ? 0 : 1;
}
