// The search for the game's prefixes: each prefix manager's folders and configuration files.
#include "platform/posix/game_prefixes.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <set>

#include "platform/posix/posix_file_system.h"
#include "platform/posix/prefix_manager_files.h"
#include "platform/posix/unique_fd.h"

namespace zav {
namespace {

namespace fs = std::filesystem;

// A home folder with thousands of games is still searched; a folder with more entries than
// this (a hostile configuration naming /usr/lib, say) is cut, in name order.
constexpr std::size_t kMostEntriesPerFolder = 4096;
constexpr std::size_t kMostPrefixesTried = 8192;
constexpr std::string_view kSettingsFile = "\\Quorvex\\Qvx.ini";

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

bool IsFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// `path` lexically normal, without a trailing '/'.
std::string Normal(const std::string& path) {
    std::string normal = fs::path(path).lexically_normal().native();
    while (normal.size() > 1 && normal.back() == '/') {
        normal.pop_back();
    }
    return normal;
}

// The names of the entries of `folder` that `keep` accepts, in byte order, at most
// kMostEntriesPerFolder; none when it cannot be listed.
template <typename Keep> std::vector<std::string> EntryNames(const std::string& folder, Keep keep) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return names;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name(entry->d_name);
        if (name != "." && name != ".." && keep(name)) {
            names.emplace_back(name);
        }
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    if (names.size() > kMostEntriesPerFolder) {
        names.resize(kMostEntriesPerFolder);
    }
    return names;
}

// The bytes of a configuration file; nullopt when it is not a regular file (a FIFO would block
// the search, a device never ends), is larger than PREFIX_MANAGER_FILE_LIMIT or cannot be read.
std::optional<std::string> ReadConfigurationFile(const std::string& path) {
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat info {};
    if (!fd || ::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        static_cast<std::uint64_t>(info.st_size) > PREFIX_MANAGER_FILE_LIMIT) {
        return std::nullopt;
    }
    std::string bytes(PREFIX_MANAGER_FILE_LIMIT + 1, '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(fd.Get(), bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    if (done > PREFIX_MANAGER_FILE_LIMIT) {
        return std::nullopt; // it grew while it was read
    }
    bytes.resize(done);
    return bytes;
}

class Search {
public:
    explicit Search(const PrefixEnvironment& environment) : home_(environment.home) {
        const auto base = [this](const std::string& value, const char* fallback) {
            return !value.empty() && value.front() == '/' ? Normal(value) : Home(fallback);
        };
        configHome_ = base(environment.xdgConfigHome, ".config");
        dataHome_ = base(environment.xdgDataHome, ".local/share");
        winePrefixes_ = base(environment.winePrefixes, ".local/share/wineprefixes");
        winePrefix_ = environment.winePrefix;
    }

    PrefixSearch Run() {
        if (!winePrefix_.empty()) {
            Look(PrefixKind::WinePrefixVariable, winePrefix_);
            Try(PrefixKind::WinePrefixVariable, winePrefix_);
        }
        if (!home_.empty()) {
            Look(PrefixKind::Wine, Home(".wine"));
            Try(PrefixKind::Wine, Home(".wine"));
        }
        TryEach(PrefixKind::Winetricks, winePrefixes_);
        if (home_.empty()) {
            return std::move(result_); // every other place is below the home folder
        }
        Lutris();
        Bottles();
        TryEach(PrefixKind::PlayOnLinux, Home(".PlayOnLinux/wineprefix"));
        Steam();
        Heroic();
        return std::move(result_);
    }

private:
    std::string Home(std::string_view below) const { return home_ + "/" + std::string(below); }

    // A prefix as a configuration file names it, "~" being the home folder.
    std::string Expanded(const std::string& named) const {
        if (named == "~" || named.starts_with("~/")) {
            return home_.empty() ? std::string() : home_ + named.substr(1);
        }
        return named;
    }

    void Look(PrefixKind kind, std::string where) {
        result_.places.push_back({kind, Normal(where)});
    }

    // Takes `folder` when its Windows directory holds the settings file and no place before
    // named it.
    void Try(PrefixKind kind, const std::string& named) {
        if (named.empty() || named.front() != '/' || ++tried_ > kMostPrefixesTried ||
            std::any_of(named.begin(), named.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; })) {
            return;
        }
        const std::string folder = Normal(named);
        std::error_code error;
        const fs::path canonical = fs::canonical(folder, error);
        if (error || !IsFolder(folder) || !HoldsSettingsFile(folder) ||
            !seen_.insert(canonical.native()).second) {
            return;
        }
        result_.prefixes.push_back({kind, folder});
    }

    // The settings file as the game-location code will read it: through the same file system.
    static bool HoldsSettingsFile(const std::string& folder) {
        PosixFileSystem files(folder);
        const std::string windows = files.WindowsDirectory();
        if (windows.empty()) {
            return false; // a prefix the game's code page cannot name cannot be worked on
        }
        const auto status = files.Status(windows + std::string(kSettingsFile));
        return status && !status->isDirectory;
    }

    static std::vector<std::string> SubFolders(const std::string& folder) {
        std::vector<std::string> folders;
        for (const std::string& name : EntryNames(folder, [](std::string_view) { return true; })) {
            if (IsFolder(folder + "/" + name)) {
                folders.push_back(folder + "/" + name);
            }
        }
        return folders;
    }

    // Every sub-folder of `folder`, `below` appended, as a prefix.
    void TryEach(PrefixKind kind, const std::string& folder, std::string_view below = {}) {
        Look(kind, folder + "/*" + std::string(below));
        for (const std::string& sub : SubFolders(folder)) {
            Try(kind, sub + std::string(below));
        }
    }

    // The regular files of `folder` whose names end in `extension`, read.
    static std::vector<std::string> ConfigurationFiles(const std::string& folder,
                                                       std::string_view extension) {
        std::vector<std::string> texts;
        for (const std::string& name : EntryNames(folder, [extension](std::string_view name) {
                 return name.size() > extension.size() && name.ends_with(extension);
             })) {
            if (auto text = ReadConfigurationFile(folder + "/" + name)) {
                texts.push_back(std::move(*text));
            }
        }
        return texts;
    }

    void Lutris() {
        // Lutris takes its data folder only when its configuration folder does not exist.
        const std::array<std::string, 2> configurations = {
            IsFolder(configHome_ + "/lutris") ? configHome_ + "/lutris" : dataHome_ + "/lutris",
            IsFolder(Home(".var/app/net.lutris.Lutris/config/lutris"))
                ? Home(".var/app/net.lutris.Lutris/config/lutris")
                : Home(".var/app/net.lutris.Lutris/data/lutris")};
        for (const std::string& folder : configurations) {
            Look(PrefixKind::Lutris, folder + "/games/*.yml");
            for (const std::string& text : ConfigurationFiles(folder + "/games", ".yml")) {
                if (auto prefix = YamlScalar(text, "game", "prefix")) {
                    Try(PrefixKind::Lutris, Expanded(*prefix));
                }
            }
        }
        TryEach(PrefixKind::Lutris, Home("Games"));
    }

    // A bottle stored elsewhere leaves a placeholder that names it.
    void TryBottles(const std::string& folder) {
        Look(PrefixKind::Bottles, folder + "/*");
        for (const std::string& bottle : SubFolders(folder)) {
            Try(PrefixKind::Bottles, bottle);
            if (auto text = ReadConfigurationFile(bottle + "/placeholder.yml")) {
                if (auto path = YamlScalar(*text, "", "Path")) {
                    Try(PrefixKind::Bottles, Expanded(*path));
                }
            }
        }
    }

    void Bottles() {
        for (const std::string& base :
             {dataHome_ + "/bottles", Home(".var/app/com.usebottles.bottles/data/bottles")}) {
            TryBottles(base + "/bottles");
            Look(PrefixKind::Bottles, base + "/data.yml");
            if (auto text = ReadConfigurationFile(base + "/data.yml")) {
                if (auto custom = YamlScalar(*text, "", "custom_bottles_path")) {
                    const std::string folder = Expanded(*custom);
                    if (!folder.empty() && folder.front() == '/') {
                        TryBottles(Normal(folder));
                    }
                }
            }
        }
    }

    void Steam() {
        std::set<std::string> libraries;
        const auto library = [&](const std::string& folder) {
            if (folder.empty() || folder.front() != '/') {
                return;
            }
            std::error_code error;
            const fs::path canonical = fs::canonical(folder, error);
            if (libraries.insert(error ? Normal(folder) : canonical.native()).second) {
                TryEach(PrefixKind::Steam, Normal(folder) + "/steamapps/compatdata", "/pfx");
            }
        };
        for (const char* steam : {".steam/steam", ".local/share/Steam",
                                  ".var/app/com.valvesoftware.Steam/.local/share/Steam",
                                  "snap/steam/common/.local/share/Steam"}) {
            const std::string folder = Home(steam);
            library(folder);
            const std::string vdf = folder + "/steamapps/libraryfolders.vdf";
            Look(PrefixKind::Steam, vdf);
            if (auto text = ReadConfigurationFile(vdf)) {
                for (const std::string& other : VdfLibraryFolders(*text)) {
                    library(Expanded(other));
                }
            }
        }
    }

    void Heroic() {
        for (const std::string& folder :
             {configHome_ + "/heroic",
              Home(".var/app/com.heroicgameslauncher.hgl/config/heroic")}) {
            Look(PrefixKind::Heroic, folder + "/GamesConfig/*.json");
            for (const std::string& text : ConfigurationFiles(folder + "/GamesConfig", ".json")) {
                for (const std::string& prefix : JsonStringMembers(text, "winePrefix")) {
                    Try(PrefixKind::Heroic, Expanded(prefix));
                }
            }
        }
        // Newer versions keep the prefixes one level deeper, below the Wine version's name.
        const std::string defaults = Home("Games/Heroic/Prefixes");
        TryEach(PrefixKind::Heroic, defaults);
        Look(PrefixKind::Heroic, defaults + "/*/*");
        for (const std::string& group : SubFolders(defaults)) {
            if (!IsFolder(group + "/drive_c") && !IsFolder(group + "/dosdevices")) {
                for (const std::string& prefix : SubFolders(group)) {
                    Try(PrefixKind::Heroic, prefix);
                }
            }
        }
    }

    std::string home_, configHome_, dataHome_, winePrefixes_, winePrefix_;
    PrefixSearch result_;
    std::set<std::string> seen_;
    std::size_t tried_ = 0;
};

} // namespace

PrefixEnvironment PrefixEnvironmentOfProcess() {
    return {Variable("HOME"), Variable("WINEPREFIX"), Variable("XDG_CONFIG_HOME"),
            Variable("XDG_DATA_HOME"), Variable("WINE_PREFIXES")};
}

std::string_view PrefixKindWord(PrefixKind kind) {
    switch (kind) {
    case PrefixKind::WinePrefixVariable:
        return "wineprefix";
    case PrefixKind::Wine:
        return "wine";
    case PrefixKind::Winetricks:
        return "winetricks";
    case PrefixKind::Lutris:
        return "lutris";
    case PrefixKind::Bottles:
        return "bottles";
    case PrefixKind::PlayOnLinux:
        return "playonlinux";
    case PrefixKind::Steam:
        return "steam";
    case PrefixKind::Heroic:
        return "heroic";
    }
    return "wine";
}

PrefixSearch FindGamePrefixes(const PrefixEnvironment& environment) {
    return Search(environment).Run();
}

std::string EnclosingPrefix(std::string_view folder) {
    std::error_code error;
    const fs::path absolute = fs::absolute(fs::path(folder), error);
    if (error || folder.empty()) {
        return std::string(folder);
    }
    for (fs::path at = fs::path(Normal(absolute.native()));; at = at.parent_path()) {
        if (IsFolder((at / "drive_c").native()) || IsFolder((at / "dosdevices").native())) {
            return at.native();
        }
        if (at == at.parent_path()) {
            return std::string(folder);
        }
    }
}

} // namespace zav
