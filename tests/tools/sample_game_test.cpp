// The sample-game generator, checked through the core: settings, lists, disc folders, pictures.
#include "tools/sample_game.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "files/name_list_file.h"
#include "files/sized_record_file.h"
#include "platform/codepage.h"
#include "platform/posix/posix_file_system.h"
#include "platform/profile_reader.h"
#include "preview/picture_decoder.h"
#include "settings/data_paths.h"
#include "settings/game_location.h"
#include "support/temp_dir.h"
#include "tools/sample_names.h"
#include "tools/sample_pictures.h"

namespace zav {
namespace {

SampleOptions OptionsIn(const std::string& folder, int version = 2, bool mixedCase = false) {
    return {.outputFolder = folder, .version = version, .dataSize = 200, .mixedCase = mixedCase};
}

class SampleGameTest : public ::testing::TestWithParam<int> {};

// Version 1 is written in mixed case, version 2 as the game spells it.
TEST_P(SampleGameTest, TheCoreFindsTheGameItsListsAndTheDiscEntries) {
    const int version = GetParam();
    test::TempDir temp;
    std::string error;
    ASSERT_TRUE(WriteSampleGame(OptionsIn(temp / "out", version, version == 1), error)) << error;
    PosixFileSystem files(temp / "out/prefix");
    FileSystemProfile profile(files);
    PatcherSettings settings;
    ASSERT_EQ(FindGameDirectory(files, profile, &settings.GameDirectory), version);
    EXPECT_EQ(settings.GameDirectory.view(), SAMPLE_GAME_DIRECTORY);
    ASSERT_TRUE(SetSourceDirectory(settings, temp / "out/disc"));
    const auto path = [&](const char* base, int extension, std::int32_t folder,
                          const char* entry = nullptr) {
        PathText out;
        BuildDataPath(settings, base, extension, folder, entry, &out);
        return out.str();
    };

    SizedRecordFile tracks(files);
    ASSERT_EQ(tracks.Open(path("circuits", EXT_LIST, FOLDER_SCRIPTS), version, false), 1);
    EXPECT_EQ(test::ReadFile(files.HostPath(path("circuits", EXT_LIST, FOLDER_SCRIPTS))).size(),
              4u + 18u * (version == 1 ? 128u : 140u));
    char name[256];
    ASSERT_EQ(tracks.Count(), 18);
    ASSERT_NE(tracks.GetName(18, name), nullptr) << "the base tracks, then the further ones";
    EXPECT_EQ(name, SAMPLE_FURTHER_TRACK_NAMES[1]);
    NameListFile cars(files);
    ASSERT_EQ(cars.Open(path("voiture2", EXT_LIST, FOLDER_SCRIPTS), false), 1);
    EXPECT_EQ(cars.Count(), 2);
    EXPECT_EQ(cars.FindByName("VIPER"), 2);
    EXPECT_TRUE(files.Status(path("Viper", EXT_PICTURE, FOLDER_MIMG)));

    // Each disc folder holds a one-record list that names it, with the entry's files.
    for (const std::int32_t selector : {FOLDER_SOURCE_TRACKS, FOLDER_SOURCE_CARS}) {
        PathText folder;
        BuildFolderPath(settings, selector, nullptr, &folder);
        const auto entries =
            files.ListFolder(folder.view()).value_or(std::vector<DirectoryEntry>{});
        ASSERT_EQ(entries.size(), 4u);
        for (const DirectoryEntry& entry : entries) {
            const char* e = entry.name.c_str();
            if (selector == FOLDER_SOURCE_TRACKS) {
                ASSERT_EQ(tracks.Open(path("circuits", EXT_LIST, selector, e), version, false), 1);
                ASSERT_NE(tracks.GetName(1, name), nullptr);
            } else {
                ASSERT_EQ(cars.Open(path("voitures", EXT_LIST, selector, e), false), 1);
                ASSERT_NE(cars.GetName(1, name), nullptr);
                NameListFile::UnmaskName(name, name);
            }
            EXPECT_TRUE(EqualsIgnoringAsciiCase(name, e)) << name;
            EXPECT_NE(entry.name == name, version == 1) << "spelt in another case when mixed";
            EXPECT_TRUE(files.Status(path(name, EXT_PICTURE, selector, e))) << name;
            EXPECT_TRUE(files.Status(path(name, EXT_SOUND, selector, e))) << name;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Versions, SampleGameTest, ::testing::Values(1, 2));

TEST(SampleGame, RepeatedRunsWriteIdenticalBytesAndOptionsReachTheCore) {
    test::TempDir temp;
    SampleOptions options = OptionsIn(temp / "a", 1, true);
    options.language = "FRENCH";
    options.accelerated = true;
    std::string error;
    ASSERT_TRUE(WriteSampleGame(options, error)) << error;
    options.outputFolder = temp / "b";
    ASSERT_TRUE(WriteSampleGame(options, error)) << error;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(temp / "a")) {
        const auto relative = std::filesystem::relative(entry.path(), temp / "a").string();
        if (entry.is_regular_file() && !entry.is_symlink()) {
            EXPECT_EQ(test::ReadFile(temp / ("a/" + relative)),
                      test::ReadFile(temp / ("b/" + relative)))
                << relative;
        }
    }

    PosixFileSystem files(temp / "a/prefix");
    FileSystemProfile profile(files);
    PatcherSettings settings;
    ASSERT_EQ(FindGameDirectory(files, profile, &settings.GameDirectory), 1);
    LoadLanguageSetting(profile, settings);
    EXPECT_EQ(settings.LanguageOffset, 96);
    EXPECT_TRUE(files.Status(settings.GameDirectory.str() + "zavd3d5x.exe"));
    EXPECT_TRUE(files.Status(settings.GameDirectory.str() + "Data\\Binary\\Circuits\\Dunes.bl4"));
}

TEST(SampleGame, RefusesBadOptionsAndOutputFoldersBeforeWritingAnything) {
    test::TempDir temp;
    test::WriteFile(temp / "used/keep.txt", "mine");
    test::WriteFile(temp / "file", "not a folder");
    std::vector<SampleOptions> bad(7, OptionsIn(temp / "out"));
    bad[0].version = 3;
    bad[1].proposedTracks = SAMPLE_MAX_PROPOSED + 1;
    bad[2].proposedCars = -1;
    bad[3].dataSize = -1;
    bad[4].language = "English\r\n[ZAV]";
    bad[5].outputFolder = temp / "used";
    bad[6].outputFolder = temp / "file/out";
    for (const SampleOptions& options : bad) {
        std::string error;
        EXPECT_FALSE(WriteSampleGame(options, error)) << options.outputFolder;
        EXPECT_FALSE(error.empty());
    }
    EXPECT_FALSE(test::FileExists(temp / "out"));
    EXPECT_EQ(test::ListNames(temp / "used"), std::vector<std::string>{"keep.txt"});
}

TEST(SampleGame, PicturesDecodeToTheirSizes) {
    for (const int width : {SAMPLE_TRACK_PICTURE_ODD_WIDTH, SAMPLE_TRACK_PICTURE_EVEN_WIDTH}) {
        const RgbImage track = DecodePicture(DrawTrackPicture("Quarry", width), PICTURE_TRACK);
        EXPECT_EQ(track.width, width);
        EXPECT_EQ(track.height, SAMPLE_TRACK_PICTURE_HEIGHT);
    }
    EXPECT_EQ(DecodePicture(DrawCarPicture("Comet"), PICTURE_CAR).width, SAMPLE_CAR_SHOWN_WIDTH);
}

} // namespace
} // namespace zav
