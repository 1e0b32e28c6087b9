// Writing the sample game, its Wine prefix and its disc.
#include "tools/sample_game.h"

#include <algorithm>
#include <filesystem>
#include <vector>

#include "settings/data_paths.h"
#include "tools/sample_data_file.h"
#include "tools/sample_list_records.h"
#include "tools/sample_names.h"
#include "tools/sample_pictures.h"
#include "tools/sample_tree.h"

namespace zav {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using Components = std::vector<std::string>;

const Components kGameFolder = {"Games", "ZAV"};
constexpr std::string_view kDiscTracks = "circuits";
constexpr std::string_view kDiscCars = "voitures";

enum class EntryKind { Track, Car };

// One file of a track's or car's set: the game data folder it belongs in, its name, its bytes.
struct SetFile {
    std::int32_t folder;
    std::string name;
    Bytes bytes;
};

// Which variants of the track or car file a set holds.
struct Variants {
    bool standard;
    bool accelerated;
};

struct Context {
    const SampleOptions& options;
    SampleTree tree;
    fs::path prefix;
    fs::path disc;
};

// "Data\Binary\Circuits\" as path components.
Components DataFolderComponents(std::int32_t folder) {
    Components components;
    std::string current;
    for (const char c : DataFolders[static_cast<std::size_t>(folder)]) {
        if (c == '\\') {
            components.push_back(current);
            current.clear();
        } else {
            current.push_back(c);
        }
    }
    return components;
}

std::string WithExtension(std::string_view base, int extensionIndex) {
    return std::string(base) + "." +
           std::string(FileExtensions[static_cast<std::size_t>(extensionIndex)]);
}

SetFile DataFile(const Context& context, std::int32_t folder, std::string name, EntryKind kind,
                 std::string_view entry) {
    const std::int64_t size = SampleDataSize(context.options.dataSize, name);
    Bytes bytes = SampleDataFile(name, kind == EntryKind::Track ? "track" : "car", entry, size);
    return {folder, std::move(name), std::move(bytes)};
}

// The track's files: bl3 and/or bl4, img, meg, its record file and the second record file whose
// name has a '-' in place of the first character.
std::vector<SetFile> TrackSet(const Context& context, std::string_view name, int pictureWidth,
                              Variants variants) {
    std::vector<SetFile> files;
    if (variants.standard) {
        files.push_back(DataFile(context, FOLDER_CIRCUITS, WithExtension(name, EXT_TRACK_STANDARD),
                                 EntryKind::Track, name));
    }
    if (variants.accelerated) {
        files.push_back(DataFile(context, FOLDER_CIRCUITS,
                                 WithExtension(name, EXT_TRACK_ACCELERATED), EntryKind::Track,
                                 name));
    }
    files.push_back(
        {FOLDER_MIMG, WithExtension(name, EXT_PICTURE), DrawTrackPicture(name, pictureWidth)});
    files.push_back(
        DataFile(context, FOLDER_RESSON, WithExtension(name, EXT_SOUND), EntryKind::Track, name));
    files.push_back(DataFile(context, FOLDER_RECORDS, WithExtension(name, EXT_RECORDS),
                             EntryKind::Track, name));
    const std::string second = "-" + std::string(name.substr(1));
    files.push_back(DataFile(context, FOLDER_RECORDS, WithExtension(second, EXT_RECORDS),
                             EntryKind::Track, name));
    return files;
}

std::vector<SetFile> CarSet(const Context& context, std::string_view name, Variants variants) {
    std::vector<SetFile> files;
    if (variants.standard) {
        files.push_back(DataFile(context, FOLDER_VOITURES, WithExtension(name, EXT_CAR_STANDARD),
                                 EntryKind::Car, name));
    }
    if (variants.accelerated) {
        files.push_back(DataFile(context, FOLDER_VOITURES, WithExtension(name, EXT_CAR_ACCELERATED),
                                 EntryKind::Car, name));
    }
    files.push_back({FOLDER_MIMG, WithExtension(name, EXT_PICTURE), DrawCarPicture(name)});
    files.push_back(
        DataFile(context, FOLDER_RESSON, WithExtension(name, EXT_SOUND), EntryKind::Car, name));
    return files;
}

// Tracks alternate between a picture width that is a multiple of 4 and one that is not.
int TrackPictureWidth(int serial) {
    return serial % 2 == 0 ? SAMPLE_TRACK_PICTURE_ODD_WIDTH : SAMPLE_TRACK_PICTURE_EVEN_WIDTH;
}

fs::path GameRoot(const Context& context) {
    return context.tree.Place(context.prefix / "drive_c", kGameFolder);
}

fs::path GameDataFolder(const Context& context, std::int32_t folder) {
    return context.tree.Place(GameRoot(context), DataFolderComponents(folder));
}

void InstallSet(Context& context, const std::vector<SetFile>& files) {
    for (const SetFile& file : files) {
        context.tree.WriteFile(
            context.tree.Place(GameDataFolder(context, file.folder), {file.name}), file.bytes);
    }
}

void WriteDiscEntry(Context& context, std::string_view kindFolder, std::string_view name,
                    std::string_view listName, const Bytes& list,
                    const std::vector<SetFile>& files) {
    const fs::path folder =
        context.tree.Place(context.disc, {std::string(kindFolder), std::string(name)});
    context.tree.WriteFile(context.tree.Place(folder, {std::string(listName)}), list);
    for (const SetFile& file : files) {
        context.tree.WriteFile(context.tree.Place(folder, {file.name}), file.bytes);
    }
}

std::string SettingsText(const SampleOptions& options) {
    const std::string directory = "Directory=" + std::string(SAMPLE_GAME_DIRECTORY) + "\r\n";
    std::string text;
    if (options.version == 1) {
        text = "[ZAV]\r\n" + directory + "\r\n[ZAV2_0]\r\n";
    } else {
        text = "[ZAV2_0]\r\n" + directory;
    }
    return text + "Language=" + options.language + "\r\n";
}

Bytes DummyExecutable(std::string_view name) {
    const std::string text = "MZ ZAV sample stand-in for " + std::string(name) + "\n";
    return Bytes(text.begin(), text.end());
}

void WritePrefix(Context& context) {
    context.tree.MakeFolder(context.prefix / "drive_c" / "windows");
    context.tree.WriteFile(
        context.tree.Place(context.prefix / "drive_c" / "windows", {"Quorvex", "Qvx.ini"}),
        SettingsText(context.options));
#ifndef _WIN32
    // Wine's drive link; Windows has no such thing, and the tests there map C: themselves.
    context.tree.MakeFolderLink("../drive_c", context.prefix / "dosdevices" / "c:");
#endif
}

void WriteGameFolder(Context& context) {
    const fs::path root = GameRoot(context);
    context.tree.WriteFile(context.tree.Place(root, {"zav.exe"}), DummyExecutable("zav.exe"));
    if (context.options.accelerated) {
        const std::string name(SAMPLE_ACCELERATED_EXECUTABLE);
        context.tree.WriteFile(context.tree.Place(root, {name}), DummyExecutable(name));
    }
    for (const std::int32_t folder : {FOLDER_CIRCUITS, FOLDER_VOITURES, FOLDER_SCRIPTS, FOLDER_MIMG,
                                      FOLDER_RESSON, FOLDER_RECORDS}) {
        context.tree.MakeFolder(GameDataFolder(context, folder));
    }
    const std::string fix = "fix.MEG";
    context.tree.WriteFile(
        context.tree.Place(GameDataFolder(context, FOLDER_RESSON), {fix}),
        SampleDataFile(fix, "game", "ZAV", SampleDataSize(context.options.dataSize, fix)));
}

void WriteGameLists(Context& context) {
    const int kind = context.options.version;
    std::vector<Bytes> tracks;
    for (const std::string_view name : SAMPLE_BASE_TRACK_NAMES) {
        tracks.push_back(SampleTrackRecord(name, kind, static_cast<int>(tracks.size()) + 1));
    }
    for (const std::string_view name : SAMPLE_FURTHER_TRACK_NAMES) {
        tracks.push_back(SampleTrackRecord(name, kind, static_cast<int>(tracks.size()) + 1));
    }
    std::vector<Bytes> baseCars;
    for (const std::string_view name : SAMPLE_BASE_CAR_NAMES) {
        baseCars.push_back(SampleCarRecord(name, static_cast<int>(baseCars.size()) + 1));
    }
    std::vector<Bytes> addedCars;
    for (const std::string_view name : SAMPLE_ADDED_CAR_NAMES) {
        addedCars.push_back(SampleCarRecord(name, 20 + static_cast<int>(addedCars.size())));
    }
    const fs::path scripts = GameDataFolder(context, FOLDER_SCRIPTS);
    context.tree.WriteFile(context.tree.Place(scripts, {"circuits.bin"}), SampleListFile(tracks));
    context.tree.WriteFile(context.tree.Place(scripts, {"voitures.bin"}), SampleListFile(baseCars));
    context.tree.WriteFile(context.tree.Place(scripts, {"voiture2.bin"}),
                           SampleListFile(addedCars));
}

// The further tracks and added cars are installed the way the game uses them: the standard
// file, and the accelerated one too when the accelerated executable is there.
void WriteInstalledEntries(Context& context) {
    const Variants installed{true, context.options.accelerated};
    int serial = 0;
    for (const std::string_view name : SAMPLE_FURTHER_TRACK_NAMES) {
        InstallSet(context, TrackSet(context, name, TrackPictureWidth(serial++), installed));
    }
    for (const std::string_view name : SAMPLE_ADDED_CAR_NAMES) {
        InstallSet(context, CarSet(context, name, installed));
    }
}

void WriteDisc(Context& context) {
    const Variants both{true, true};
    const int kind = context.options.version;
    context.tree.MakeFolder(context.tree.Place(context.disc, {std::string(kDiscTracks)}));
    context.tree.MakeFolder(context.tree.Place(context.disc, {std::string(kDiscCars)}));
    for (int i = 0; i < context.options.proposedTracks && context.tree.Ok(); ++i) {
        const std::string name = ProposedTrackName(i);
        const Bytes list = SampleListFile({SampleTrackRecord(name, kind, 100 + i)});
        WriteDiscEntry(context, kDiscTracks, name, "circuits.bin", list,
                       TrackSet(context, name, TrackPictureWidth(i), both));
    }
    for (int i = 0; i < context.options.proposedCars && context.tree.Ok(); ++i) {
        const std::string name = ProposedCarName(i);
        const Bytes list = SampleListFile({SampleCarRecord(name, 100 + i)});
        WriteDiscEntry(context, kDiscCars, name, "voitures.bin", list, CarSet(context, name, both));
    }
}

bool PrepareOutputFolder(const fs::path& folder, std::string& error) {
    std::error_code code;
    fs::create_directories(folder, code);
    if (code) {
        error = "cannot create " + folder.string() + ": " + code.message();
        return false;
    }
    const bool empty = fs::is_empty(folder, code);
    if (code) {
        error = "cannot read " + folder.string() + ": " + code.message();
        return false;
    }
    if (!empty) {
        error = folder.string() + " is not empty";
        return false;
    }
    return true;
}

} // namespace

bool CheckSampleOptions(const SampleOptions& options, std::string& error) {
    if (options.outputFolder.empty()) {
        error = "no output folder given";
    } else if (options.version != 1 && options.version != 2) {
        error = "the version must be 1 or 2";
    } else if (options.proposedTracks < 0 || options.proposedTracks > SAMPLE_MAX_PROPOSED ||
               options.proposedCars < 0 || options.proposedCars > SAMPLE_MAX_PROPOSED) {
        error = "the number of proposed tracks and cars must lie between 0 and " +
                std::to_string(SAMPLE_MAX_PROPOSED);
    } else if (options.dataSize < 0 || options.dataSize > SAMPLE_MAX_DATA_SIZE) {
        error = "the data size must lie between 0 and " + std::to_string(SAMPLE_MAX_DATA_SIZE);
    } else if (std::any_of(options.language.begin(), options.language.end(),
                           [](char c) { return static_cast<unsigned char>(c) < 0x20; })) {
        error = "the language must not hold control characters";
    } else {
        return true;
    }
    return false;
}

bool WriteSampleGame(const SampleOptions& options, std::string& error) {
    if (!CheckSampleOptions(options, error)) {
        return false;
    }
    const fs::path output(options.outputFolder);
    if (!PrepareOutputFolder(output, error)) {
        return false;
    }
    Context context{options, SampleTree(options.mixedCase), output / "prefix", output / "disc"};
    WritePrefix(context);
    WriteGameFolder(context);
    WriteGameLists(context);
    WriteInstalledEntries(context);
    WriteDisc(context);
    if (!context.tree.Ok()) {
        error = context.tree.Error();
        return false;
    }
    return true;
}

} // namespace zav
