// zav-inspect: shows what the patcher's core finds in an installed game and in a new-data folder.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "files/name_list_file.h"
#include "files/sized_record_file.h"
#include "platform/codepage.h"
#include "platform/profile_reader.h"
#include "program_start.h"
#include "settings/data_paths.h"
#include "settings/game_location.h"

namespace {

using zav::PathText;

constexpr int kExitShown = 0;
constexpr int kExitListMissing = 1;
constexpr int kExitUsage = 2;
constexpr int kExitNotDetected = 255;
// The language lookup keeps 29 characters, as the patcher's does.
constexpr std::size_t kLanguageBufferSize = 30;

std::string Utf8(std::string_view cp1252) {
    return zav::Cp1252ToUtf8(cp1252);
}

// The names of a list's records; reading stops at the first record that cannot be read, so a
// count larger than the file is shown as such rather than walked.
struct ListContents {
    std::int32_t count = 0;
    std::vector<std::string> names;
};

std::optional<ListContents> ReadTrackList(zav::FileSystem& files, const PathText& path,
                                          std::int32_t kind) {
    zav::SizedRecordFile list(files);
    if (list.Open(path.view(), kind, false) != 1) {
        return std::nullopt;
    }
    ListContents contents{list.Count(), {}};
    char name[zav::kTextBufferSize];
    for (std::int32_t i = 1; i <= list.Count() && list.GetName(i, name) != nullptr; ++i) {
        contents.names.emplace_back(name);
    }
    return contents;
}

std::optional<ListContents> ReadCarList(zav::FileSystem& files, const PathText& path) {
    zav::NameListFile list(files);
    if (list.Open(path.view(), false) != 1) {
        return std::nullopt;
    }
    ListContents contents{list.Count(), {}};
    char name[zav::kTextBufferSize];
    for (std::int32_t i = 1; i <= list.Count() && list.GetName(i, name) != nullptr; ++i) {
        zav::NameListFile::UnmaskName(name, name);
        contents.names.emplace_back(name);
    }
    return contents;
}

// Shows one list file; false when it cannot be opened.
bool ShowList(zav::PosixFileSystem& files, const zav::PatcherSettings& settings,
              const char* baseName, bool trackList) {
    PathText path;
    zav::BuildDataPath(settings, baseName, zav::EXT_LIST, zav::FOLDER_SCRIPTS, nullptr, &path);
    std::cout << "\n" << baseName << ".bin\n";
    std::cout << "  path:    " << Utf8(path.view()) << "\n";
    std::cout << "  host:    " << files.HostPath(path.view()) << "\n";
    const std::optional<ListContents> contents =
        trackList ? ReadTrackList(files, path, settings.GameVersion) : ReadCarList(files, path);
    if (!contents) {
        std::cout << "  cannot be opened\n";
        return false;
    }
    std::cout << "  records: " << contents->count << "\n";
    int number = 0;
    for (const std::string& name : contents->names) {
        char label[16];
        std::snprintf(label, sizeof label, "%4d  ", ++number);
        std::cout << label << Utf8(name) << "\n";
    }
    if (static_cast<std::int32_t>(contents->names.size()) < contents->count) {
        std::cout << "  record " << contents->names.size() + 1 << " and later cannot be read\n";
    }
    return true;
}

void ShowNewData(zav::PosixFileSystem& files, const zav::PatcherSettings& settings,
                 std::int32_t selector, const char* label) {
    PathText folder;
    zav::BuildFolderPath(settings, selector, nullptr, &folder);
    std::cout << "\n" << label << " in " << Utf8(folder.view()) << "\n";
    std::cout << "  host:    " << files.HostPath(folder.view()) << "\n";
    const auto entries = files.ListFolder(folder.view());
    if (!entries) {
        std::cout << "  no such folder\n";
        return;
    }
    int shown = 0;
    for (const zav::DirectoryEntry& entry : *entries) {
        if (entry.isDirectory) {
            std::cout << "  " << Utf8(entry.name) << "\n";
            ++shown;
        }
    }
    if (shown == 0) {
        std::cout << "  none\n";
    }
}

} // namespace

int main(int argc, char** argv) {
    std::string prefix;
    std::string source;
    CLI::App app("Shows what ZAV Data Patcher finds: the game folder, version and language from "
                 "the settings file, the game's track and car lists, and the new-data folders "
                 "under the source's circuits/ and voitures/.",
                 "zav-inspect");
    app.add_option("--prefix", prefix,
                   "Wine prefix of the game (default $WINEPREFIX, else ~/.wine)");
    app.add_option("--source", source,
                   "Folder holding circuits/ and voitures/ (default the program's own folder)");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? kExitShown : kExitUsage;
    }

    std::string problem;
    const auto folders = zav::ResolveStartFolders(prefix, source, problem);
    if (!folders) {
        std::cerr << "zav-inspect: " << problem << "\n";
        return kExitUsage;
    }
    zav::ProgramFileSystem program(folders->prefix);
    zav::PosixFileSystem& files = program.Host();
    zav::FileSystemProfile profile(files);
    zav::PatcherSettings settings;
    settings.GameVersion = zav::FindGameDirectory(files, profile, &settings.GameDirectory);
    if (settings.GameVersion == 0) {
        std::cerr << "ZAV not detected\n";
        return kExitNotDetected;
    }
    if (!zav::SetSourceDirectory(settings, folders->source)) {
        std::cerr << "zav-inspect: the source folder cannot be used: " << source << "\n";
        return kExitUsage;
    }
    zav::LoadLanguageSetting(profile, settings);
    const std::string language = profile.GetString("ZAV2_0", "Language", "", kLanguageBufferSize,
                                                   zav::LANGUAGE_SETTINGS_FILE_NAME);

    std::cout << "Game folder: " << Utf8(settings.GameDirectory.view()) << "\n";
    std::cout << "  host:    " << files.HostPath(settings.GameDirectory.view()) << "\n";
    std::cout << "Version:     " << settings.GameVersion << " (track records of "
              << (settings.GameVersion == 1 ? zav::RECORD_SIZE_SHORT : zav::RECORD_SIZE_LONG)
              << " bytes)\n";
    std::cout << "Language:    \"" << Utf8(language) << "\" (LanguageOffset "
              << settings.LanguageOffset << ")\n";

    bool listsOpened = ShowList(files, settings, "circuits", true);
    listsOpened = ShowList(files, settings, "voitures", false) && listsOpened;
    listsOpened = ShowList(files, settings, "voiture2", false) && listsOpened;
    ShowNewData(files, settings, zav::FOLDER_SOURCE_TRACKS, "New tracks");
    ShowNewData(files, settings, zav::FOLDER_SOURCE_CARS, "New cars");
    return listsOpened ? kExitShown : kExitListMissing;
}
