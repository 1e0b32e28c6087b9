// Replays files through a fuzz target's entry point: the corpus and the saved crashes as
// regression inputs of the normal test suite, built by any compiler.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

/// Each argument is a file or a folder whose files (not its sub-folders, nor its README) are
/// replayed in the order of their paths. Exits 0 when all could be read; a broken input aborts.
int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    std::set<fs::path> files;
    for (int i = 1; i < argc; ++i) {
        if (!fs::is_directory(argv[i])) {
            files.insert(argv[i]);
            continue;
        }
        for (const auto& entry : fs::directory_iterator(argv[i])) {
            if (entry.is_regular_file() && entry.path().filename() != "README") {
                files.insert(entry.path());
            }
        }
    }
    std::size_t failures = 0;
    for (const fs::path& file : files) {
        std::ifstream in(file, std::ios::binary);
        const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
        if (!in.eof() && in.fail()) {
            std::fprintf(stderr, "cannot read %s\n", file.c_str());
            ++failures;
            continue;
        }
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
    std::printf("replayed %zu inputs\n", files.size() - failures);
    return failures == 0 ? 0 : 1;
}
