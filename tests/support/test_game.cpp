// TestGame: copies of generated sample games, and host file helpers.
#include "support/test_game.h"

#ifndef _WIN32
#include <strings.h>
#endif

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>

#include "tools/sample_game.h"
#include "tools/sample_names.h"

namespace zav::test {
namespace {
namespace fs = std::filesystem;
#ifdef _WIN32
int strcasecmp(const char* a, const char* b) {
    return ::_stricmp(a, b);
}
// The tool's temporary folder comes from TEMP (and TMP) on Windows, TMPDIR elsewhere.
void SetTemporaryFolder(const char* folder) {
    for (const char* name : {"TMP", "TEMP", "TMPDIR"}) // an empty value removes the variable
        ::_putenv_s(name, folder != nullptr ? folder : "");
}
#else
void SetTemporaryFolder(const char* folder) {
    folder != nullptr ? ::setenv("TMPDIR", folder, 1) : ::unsetenv("TMPDIR");
}
#endif
// The generator is slow next to a copy: each kind of sample is written once per test program.
const std::string& Template(const GameOptions& options) {
    static TempDir root;
    static std::map<std::string, std::string> written;
    const std::string key = std::to_string(options.version) + std::to_string(options.mixedCase) +
                            std::to_string(options.accelerated);
    auto [it, added] = written.try_emplace(key, root / key);
    std::string error;
    if (added && !WriteSampleGame({.outputFolder = it->second,
                                   .version = options.version,
                                   .dataSize = 24,
                                   .mixedCase = options.mixedCase,
                                   .accelerated = options.accelerated},
                                  error)) {
        written.erase(it);
        throw std::runtime_error("cannot write the sample game: " + error);
    }
    return it->second;
}
std::string FindIgnoringCase(std::string path, std::string_view relative) {
    for (const auto& part : fs::path(relative)) {
        std::string component = part.string();
        std::error_code ignored;
        if (!component.empty() && !fs::exists(fs::symlink_status(path + "/" + component)))
            for (const auto& entry : fs::directory_iterator(path, ignored))
                if (strcasecmp(entry.path().filename().string().c_str(), component.c_str()) == 0)
                    component = entry.path().filename().string();
        path += component.empty() ? "" : "/" + component;
    }
    return path;
}
} // namespace
TestGame::TestGame(GameOptions options) : version(options.version) {
    // Entry by entry: a copy into the existing folder itself fails with MinGW's library.
    for (const auto& entry : fs::directory_iterator(Template(options)))
        fs::copy(entry.path(), fs::path(dir.path()) / entry.path().filename(),
                 fs::copy_options::recursive | fs::copy_options::copy_symlinks);
    MakeFolders(tmp);
#ifdef _WIN32
    // Wine gives TMP and TEMP from the registry, and either may be the one that counts.
    const std::string before = fs::temp_directory_path().string();
    const char* old = before.c_str();
#else
    const char* old = std::getenv("TMPDIR");
#endif
    if (old != nullptr)
        oldTmpdir_ = old, hadTmpdir_ = true;
    SetTemporaryFolder(tmp.c_str());
}
TestGame::~TestGame() {
    SetTemporaryFolder(hadTmpdir_ ? oldTmpdir_.c_str() : nullptr);
}
std::string TestGame::Game(std::string_view relative) const {
    return FindIgnoringCase(prefix + "/drive_c", "Games/ZAV/" + std::string(relative));
}
std::string TestGame::Disc(std::string_view relative) const {
    return FindIgnoringCase(disc, relative);
}
std::string TestGame::DiscPath(std::string relative) const {
#ifdef _WIN32 // the tool spells a path of a Windows host with '\' alone
    std::string path = disc + "/" + relative;
    std::ranges::replace(path, '/', '\\');
    return path;
#else
    return disc + "/" + relative;
#endif
}
Bytes TestGame::DiscRecord(DataKind kind, std::string_view folder) const {
    const std::string list = kind == DataKind::Cars ? "voitures" : "circuits";
    return RecordAt(ReadFile(Disc(list + "/" + std::string(folder) + "/" + list + ".bin")), 1,
                    kind == DataKind::Cars || version == 1 ? 128 : 140);
}
Bytes TestGame::AddDiscEntry(DataKind kind, std::string_view folder, std::string_view name,
                             std::size_t size) const {
    const bool cars = kind == DataKind::Cars;
    const std::string stem(folder), base = Disc(cars ? "voitures" : "circuits") + "/" + stem + "/";
    const Bytes list = cars ? CarList({std::string(name.empty() ? folder : name)})
                            : TrackList({std::string(name.empty() ? folder : name)});
    WriteFile(base + (cars ? "voitures.bin" : "circuits.bin"), list);
    for (const std::string& file :
         cars ? std::vector<std::string>{".bv3", ".bv4", ".img", ".meg"}
              : std::vector<std::string>{".bl3", ".bl4", ".img", ".meg", ".brt"}) {
        Bytes bytes(size, 0x5A);
        std::copy_n(file.begin(), std::min(file.size(), size), bytes.begin());
        WriteFile(base + stem + file, bytes);
    }
    // "-" in place of the first character, which may take several bytes in UTF-8.
    std::size_t cut = 1;
    while (cut < stem.size() && (static_cast<unsigned char>(stem[cut]) & 0xC0) == 0x80)
        ++cut;
    if (!cars)
        WriteFile(base + "-" + stem.substr(cut) + ".brt", Bytes(size, 0x2D));
    return RecordAt(list, 1, list.size() - 4);
}
Bytes TestGame::TrackList(const std::vector<std::string>& names, std::int64_t count) const {
    std::vector<Bytes> records;
    for (const std::string& name : names)
        records.push_back(TrackRecord(name, version, 1, static_cast<std::int32_t>(records.size()),
                                      static_cast<std::int32_t>(name.size())));
    return ListFile(records, count);
}
Bytes TestGame::CarList(const std::vector<std::string>& names, std::int64_t count) {
    std::vector<Bytes> records;
    for (const std::string& name : names)
        records.push_back(CarRecord(name, static_cast<std::uint8_t>(0x20 + name.size())));
    return ListFile(records, count);
}
std::vector<std::string> TestGame::BaseTracksAnd(std::vector<std::string> further) {
    further.insert(further.begin(), SAMPLE_BASE_TRACK_NAMES.begin(), SAMPLE_BASE_TRACK_NAMES.end());
    return further;
}
TreeSnapshot SnapshotTree(const std::string& folder) {
    TreeSnapshot snapshot;
    for (const std::string& file : FilesBelow(folder))
        snapshot[file] = ReadFile(folder + "/" + file);
    return snapshot;
}
void MakeReadOnly(const std::string& hostPath) {
    using fs::perms;
    fs::permissions(hostPath, perms::owner_read | perms::group_read | perms::others_read);
}
unsigned PermissionsOf(const std::string& hostPath) {
    return static_cast<unsigned>(fs::status(hostPath).permissions()) & 07777;
}
std::vector<std::string> Numbered(const std::string& stem, int count) {
    std::vector<std::string> names;
    for (int i = 1; i <= count; ++i)
        names.push_back(stem + std::to_string(i));
    return names;
}
} // namespace zav::test
