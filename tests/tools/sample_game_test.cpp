// The sample game as the core sees it: settings, list files, disc folders, for both versions.
#include "tools/sample_game.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <set>

#include "files/name_list_file.h"
#include "files/sized_record_file.h"
#include "platform/codepage.h"
#include "platform/posix/posix_file_system.h"
#include "platform/profile_reader.h"
#include "settings/data_paths.h"
#include "settings/game_location.h"
#include "support/list_bytes.h"
#include "tools/sample_names.h"

namespace zav {
namespace {

using test::Bytes;
using test::FileExists;
using test::GetInt32;
using test::ReadFile;

struct Variant {
    int version;
    bool mixedCase;
};

void PrintTo(const Variant& variant, std::ostream* out) {
    *out << "version " << variant.version << (variant.mixedCase ? ", mixed case" : "");
}

std::string VariantName(const ::testing::TestParamInfo<Variant>& info) {
    return "Version" + std::to_string(info.param.version) +
           (info.param.mixedCase ? "MixedCase" : "PlainCase");
}

// The masked name of a record as the independent builders lay it out.
Bytes MaskedTrackName(std::string_view name, int kind) {
    const Bytes record = test::TrackRecord(name, kind);
    return Bytes(record.begin() + 20, record.begin() + 20 + static_cast<long>(name.size()) + 1);
}

Bytes MaskedCarName(std::string_view name) {
    const Bytes record = test::CarRecord(name);
    return Bytes(record.begin(), record.begin() + static_cast<long>(name.size()) + 1);
}

class SampleGameTest : public ::testing::TestWithParam<Variant> {
protected:
    void SetUp() override {
        SampleOptions options;
        options.outputFolder = temp_ / "out";
        options.version = GetParam().version;
        options.mixedCase = GetParam().mixedCase;
        options.dataSize = 300;
        std::string error;
        ASSERT_TRUE(WriteSampleGame(options, error)) << error;
        files_ = std::make_unique<PosixFileSystem>(temp_ / "out/prefix");
        FileSystemProfile profile(*files_);
        settings_.GameVersion = FindGameDirectory(*files_, profile, &settings_.GameDirectory);
        ASSERT_TRUE(SetSourceDirectory(settings_, temp_ / "out/disc"));
    }

    std::string ScriptsFile(const char* baseName) {
        PathText path;
        BuildDataPath(settings_, baseName, EXT_LIST, FOLDER_SCRIPTS, nullptr, &path);
        return files_->HostPath(path.view());
    }

    std::vector<std::string> DiscFolders(std::int32_t selector) {
        PathText folder;
        BuildFolderPath(settings_, selector, nullptr, &folder);
        std::vector<std::string> names;
        for (const DirectoryEntry& entry :
             files_->ListFolder(folder.view()).value_or(std::vector<DirectoryEntry>{})) {
            if (entry.isDirectory) {
                names.push_back(entry.name);
            }
        }
        return names;
    }

    bool SourceFileExists(const std::string& name, const std::string& base, int extension,
                          std::int32_t selector) {
        PathText path;
        BuildDataPath(settings_, base.c_str(), extension, selector, name.c_str(), &path);
        return files_->Status(path.view()).has_value();
    }

    int RecordSize() const { return GetParam().version == 1 ? 128 : 140; }

    test::TempDir temp_;
    std::unique_ptr<PosixFileSystem> files_;
    PatcherSettings settings_;
};

TEST_P(SampleGameTest, GameIsFoundThroughItsSettingsFile) {
    EXPECT_EQ(settings_.GameVersion, GetParam().version);
    EXPECT_EQ(settings_.GameDirectory.view(), SAMPLE_GAME_DIRECTORY);
    FileSystemProfile profile(*files_);
    LoadLanguageSetting(profile, settings_);
    EXPECT_EQ(settings_.LanguageOffset, 0);

    const std::string trackList = ScriptsFile("circuits");
    ASSERT_TRUE(FileExists(trackList)) << trackList;
    const bool spelledAsBuilt = trackList.ends_with("Games/ZAV/Data/Binary/Scripts/circuits.bin");
    EXPECT_NE(spelledAsBuilt, GetParam().mixedCase) << trackList;
}

TEST_P(SampleGameTest, TrackListHoldsBaseThenFurtherTracksInTheVersionsRecordSize) {
    const int kind = GetParam().version;
    const Bytes bytes = ReadFile(ScriptsFile("circuits"));
    ASSERT_EQ(bytes.size(), 4u + 18u * static_cast<std::size_t>(RecordSize()));
    EXPECT_EQ(GetInt32(bytes, 0), 18);

    std::vector<std::string_view> expected(SAMPLE_BASE_TRACK_NAMES.begin(),
                                           SAMPLE_BASE_TRACK_NAMES.end());
    expected.insert(expected.end(), SAMPLE_FURTHER_TRACK_NAMES.begin(),
                    SAMPLE_FURTHER_TRACK_NAMES.end());
    SizedRecordFile list(*files_);
    ASSERT_EQ(list.Open(ScriptsFile("circuits"), kind, false), 1);
    char name[256];
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const Bytes masked = MaskedTrackName(expected[i], kind);
        const auto start = bytes.begin() + 4 + static_cast<long>(i) * RecordSize() + 20;
        EXPECT_TRUE(std::equal(masked.begin(), masked.end(), start)) << expected[i];
        ASSERT_NE(list.GetName(static_cast<std::int32_t>(i) + 1, name), nullptr);
        EXPECT_EQ(std::string_view(name), expected[i]);
    }
}

TEST_P(SampleGameTest, CarListsHoldTheBaseCarsInOrderAndTheAddedCars) {
    const Bytes base = ReadFile(ScriptsFile("voitures"));
    ASSERT_EQ(base.size(), 4u + 8u * 128u);
    EXPECT_EQ(GetInt32(base, 0), 8);
    for (std::size_t i = 0; i < SAMPLE_BASE_CAR_NAMES.size(); ++i) {
        const Bytes masked = MaskedCarName(SAMPLE_BASE_CAR_NAMES[i]);
        EXPECT_TRUE(
            std::equal(masked.begin(), masked.end(), base.begin() + 4 + 128 * static_cast<long>(i)))
            << SAMPLE_BASE_CAR_NAMES[i];
    }

    const Bytes added = ReadFile(ScriptsFile("voiture2"));
    ASSERT_EQ(added.size(), 4u + 2u * 128u);
    NameListFile list(*files_);
    ASSERT_EQ(list.Open(ScriptsFile("voiture2"), false), 1);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.FindByName("falcon"), 1);
    EXPECT_EQ(list.FindByName("VIPER"), 2);
}

TEST_P(SampleGameTest, InstalledEntriesHaveTheirFilesInTheGameFolders) {
    const auto exists = [&](const std::string& base, int extension, std::int32_t folder) {
        PathText path;
        BuildDataPath(settings_, base.c_str(), extension, folder, nullptr, &path);
        return files_->Status(path.view()).has_value();
    };
    EXPECT_TRUE(exists("Harbour", EXT_TRACK_STANDARD, FOLDER_CIRCUITS));
    EXPECT_FALSE(exists("Harbour", EXT_TRACK_ACCELERATED, FOLDER_CIRCUITS));
    EXPECT_TRUE(exists("Harbour", EXT_PICTURE, FOLDER_MIMG));
    EXPECT_TRUE(exists("Harbour", EXT_SOUND, FOLDER_RESSON));
    EXPECT_TRUE(exists("Harbour", EXT_RECORDS, FOLDER_RECORDS));
    EXPECT_TRUE(exists("-arbour", EXT_RECORDS, FOLDER_RECORDS));
    EXPECT_TRUE(exists("Viper", EXT_CAR_STANDARD, FOLDER_VOITURES));
    EXPECT_TRUE(exists("Viper", EXT_PICTURE, FOLDER_MIMG));
    EXPECT_TRUE(exists("Viper", EXT_SOUND, FOLDER_RESSON));
    EXPECT_TRUE(exists("fix", EXT_NONE, FOLDER_RESSON) ||
                exists("fix.MEG", EXT_NONE, FOLDER_RESSON));
    EXPECT_TRUE(exists("zav.exe", EXT_NONE, FOLDER_GAME_ROOT));
    EXPECT_FALSE(exists("zavd3d5x.exe", EXT_NONE, FOLDER_GAME_ROOT));
}

TEST_P(SampleGameTest, EachDiscTrackFolderIsNamedByItsOwnListAndHoldsItsSet) {
    const std::vector<std::string> folders = DiscFolders(FOLDER_SOURCE_TRACKS);
    ASSERT_EQ(folders.size(), 4u);
    for (const std::string& folder : folders) {
        PathText listPath;
        BuildDataPath(settings_, "circuits", EXT_LIST, FOLDER_SOURCE_TRACKS, folder.c_str(),
                      &listPath);
        const Bytes bytes = ReadFile(files_->HostPath(listPath.view()));
        EXPECT_EQ(bytes.size(), 4u + static_cast<std::size_t>(RecordSize())) << folder;
        SizedRecordFile list(*files_);
        ASSERT_EQ(list.Open(listPath.view(), GetParam().version, false), 1) << folder;
        EXPECT_EQ(list.Count(), 1);
        char name[256];
        ASSERT_NE(list.GetName(1, name), nullptr);
        EXPECT_TRUE(EqualsIgnoringAsciiCase(name, folder)) << name << " in " << folder;
        EXPECT_NE(folder == name, GetParam().mixedCase) << folder;

        const std::string entry = name;
        const std::string second = "-" + entry.substr(1);
        for (const int extension :
             {EXT_TRACK_STANDARD, EXT_TRACK_ACCELERATED, EXT_PICTURE, EXT_SOUND, EXT_RECORDS}) {
            EXPECT_TRUE(SourceFileExists(entry, entry, extension, FOLDER_SOURCE_TRACKS))
                << entry << " extension " << extension;
        }
        EXPECT_TRUE(SourceFileExists(entry, second, EXT_RECORDS, FOLDER_SOURCE_TRACKS)) << second;
    }
}

TEST_P(SampleGameTest, EachDiscCarFolderIsNamedByItsOwnListAndHoldsItsSet) {
    const std::vector<std::string> folders = DiscFolders(FOLDER_SOURCE_CARS);
    ASSERT_EQ(folders.size(), 4u);
    for (const std::string& folder : folders) {
        PathText listPath;
        BuildDataPath(settings_, "voitures", EXT_LIST, FOLDER_SOURCE_CARS, folder.c_str(),
                      &listPath);
        NameListFile list(*files_);
        ASSERT_EQ(list.Open(listPath.view(), false), 1) << folder;
        EXPECT_EQ(list.Count(), 1);
        char name[256];
        ASSERT_NE(list.GetName(1, name), nullptr);
        NameListFile::UnmaskName(name, name);
        EXPECT_TRUE(EqualsIgnoringAsciiCase(name, folder)) << name << " in " << folder;

        for (const int extension :
             {EXT_CAR_STANDARD, EXT_CAR_ACCELERATED, EXT_PICTURE, EXT_SOUND}) {
            EXPECT_TRUE(SourceFileExists(name, name, extension, FOLDER_SOURCE_CARS))
                << name << " extension " << extension;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Variants, SampleGameTest,
                         ::testing::Values(Variant{1, false}, Variant{2, false}, Variant{1, true},
                                           Variant{2, true}),
                         VariantName);

// ---- Options, repeatability and failures ----------------------------------------------------

SampleOptions OptionsIn(const std::string& folder) {
    SampleOptions options;
    options.outputFolder = folder;
    options.dataSize = 200;
    return options;
}

std::vector<std::pair<std::string, Bytes>> Snapshot(const std::string& root) {
    std::vector<std::pair<std::string, Bytes>> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        const std::string relative = std::filesystem::relative(entry.path(), root).string();
        files.emplace_back(relative, entry.is_regular_file() && !entry.is_symlink()
                                         ? ReadFile(entry.path().string())
                                         : Bytes{});
    }
    std::sort(files.begin(), files.end());
    return files;
}

TEST(SampleGame, RepeatedRunsWriteIdenticalBytes) {
    test::TempDir temp;
    SampleOptions options = OptionsIn(temp / "a");
    options.mixedCase = true;
    options.accelerated = true;
    options.proposedTracks = 7;
    std::string error;
    ASSERT_TRUE(WriteSampleGame(options, error)) << error;
    options.outputFolder = temp / "b";
    ASSERT_TRUE(WriteSampleGame(options, error)) << error;
    const auto first = Snapshot(temp / "a");
    EXPECT_GT(first.size(), 80u);
    EXPECT_EQ(first, Snapshot(temp / "b"));
}

TEST(SampleGame, LanguageAndAcceleratedExecutableReachTheCore) {
    test::TempDir temp;
    SampleOptions options = OptionsIn(temp / "out");
    options.version = 1;
    options.language = "FRENCH";
    options.accelerated = true;
    std::string error;
    ASSERT_TRUE(WriteSampleGame(options, error)) << error;

    PosixFileSystem files(temp / "out/prefix");
    FileSystemProfile profile(files);
    PatcherSettings settings;
    ASSERT_EQ(FindGameDirectory(files, profile, &settings.GameDirectory), 1);
    LoadLanguageSetting(profile, settings);
    EXPECT_EQ(settings.LanguageOffset, 2 * LANGUAGE_BLOCK_STRIDE);
    const std::string game(settings.GameDirectory.view());
    EXPECT_TRUE(files.Status(game + "zavd3d5x.exe").has_value());
    EXPECT_TRUE(files.Status(game + "Data\\Binary\\Circuits\\Dunes.bl4").has_value());
    EXPECT_TRUE(files.Status(game + "Data\\Binary\\Voitures\\Falcon.bv4").has_value());
}

TEST(SampleGame, HundredAndTwentyProposedEntriesGetDistinctFolders) {
    test::TempDir temp;
    SampleOptions options = OptionsIn(temp / "out");
    options.proposedTracks = SAMPLE_MAX_PROPOSED;
    options.proposedCars = SAMPLE_MAX_PROPOSED;
    options.dataSize = 0;
    std::string error;
    ASSERT_TRUE(WriteSampleGame(options, error)) << error;
    // The folders are distinct on a file system that ignores case as well.
    for (const char* kind : {"circuits", "voitures"}) {
        std::set<std::string> folded;
        for (const std::string& name : test::ListNames(temp / ("out/disc/" + std::string(kind)))) {
            std::string lower;
            for (const char c : name) {
                lower.push_back(AsciiLower(c));
            }
            folded.insert(lower);
            EXPECT_LE(name.size(), 63u) << name;
        }
        EXPECT_EQ(folded.size(), static_cast<std::size_t>(SAMPLE_MAX_PROPOSED)) << kind;
    }
}

TEST(SampleGame, DataFilesHaveTheRequestedSizeAndNameTheirEntry) {
    test::TempDir temp;
    SampleOptions options = OptionsIn(temp / "out");
    options.dataSize = 1000;
    std::string error;
    ASSERT_TRUE(WriteSampleGame(options, error)) << error;
    const Bytes track = ReadFile(temp / "out/disc/circuits/Quarry/Quarry.bl3");
    const Bytes sound = ReadFile(temp / "out/disc/circuits/Quarry/Quarry.meg");
    ASSERT_GE(track.size(), 1000u);
    EXPECT_LE(track.size(), 1096u);
    EXPECT_NE(track.size(), sound.size());
    const std::string expected = "ZAV sample data: Quarry.bl3 of track Quarry\n";
    EXPECT_EQ(std::string(track.begin(), track.begin() + static_cast<long>(expected.size())),
              expected);
}

TEST(SampleGame, RefusesAnOutputFolderThatIsNotEmpty) {
    test::TempDir temp;
    test::WriteFile(temp / "out/keep.txt", "mine");
    std::string error;
    EXPECT_FALSE(WriteSampleGame(OptionsIn(temp / "out"), error));
    EXPECT_NE(error.find("not empty"), std::string::npos) << error;
    EXPECT_EQ(test::ListNames(temp / "out"), std::vector<std::string>{"keep.txt"});
}

TEST(SampleGame, RefusesInvalidOptionsBeforeWritingAnything) {
    test::TempDir temp;
    const auto refused = [&](SampleOptions options) {
        std::string error;
        const bool written = WriteSampleGame(options, error);
        return !written && !error.empty() && !FileExists(temp / "out");
    };
    SampleOptions options = OptionsIn(temp / "out");
    options.version = 3;
    EXPECT_TRUE(refused(options));
    options = OptionsIn(temp / "out");
    options.proposedTracks = SAMPLE_MAX_PROPOSED + 1;
    EXPECT_TRUE(refused(options));
    options = OptionsIn(temp / "out");
    options.proposedCars = -1;
    EXPECT_TRUE(refused(options));
    options = OptionsIn(temp / "out");
    options.dataSize = -1;
    EXPECT_TRUE(refused(options));
    options = OptionsIn(temp / "out");
    options.language = "English\r\n[ZAV]";
    EXPECT_TRUE(refused(options));
    EXPECT_TRUE(refused(OptionsIn("")));
}

TEST(SampleGame, ReportsAnOutputFolderThatCannotBeCreated) {
    test::TempDir temp;
    test::WriteFile(temp / "file", "not a folder");
    std::string error;
    EXPECT_FALSE(WriteSampleGame(OptionsIn(temp / "file/out"), error));
    EXPECT_NE(error.find("file/out"), std::string::npos) << error;
}

} // namespace
} // namespace zav
