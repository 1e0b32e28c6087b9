// The sample-game generator, checked through the core: settings, lists, disc folders, pictures.
#include "tools/sample_game.h"

#include <gtest/gtest.h>

#include "files/name_list_file.h"
#include "files/sized_record_file.h"
#include "platform/posix/posix_file_system.h"
#include "platform/profile_reader.h"
#include "preview/picture_decoder.h"
#include "settings/game_location.h"
#include "support/sample_setup.h"
#include "tools/sample_names.h"
#include "tools/sample_pictures.h"

namespace zav {
namespace {

SampleOptions OptionsIn(const std::string& folder, int version = 2) {
    // Version 1 is written in mixed case and in French, version 2 as the game spells it.
    return {.outputFolder = folder,
            .version = version,
            .dataSize = 200,
            .mixedCase = version == 1,
            .language = version == 1 ? "FRENCH" : "English"};
}

class SampleGameTest : public ::testing::TestWithParam<int> {};

TEST_P(SampleGameTest, TheCoreFindsTheGameItsLanguageListsAndDiscEntries) {
    const int version = GetParam();
    test::TempDir temp;
    std::string error;
    ASSERT_TRUE(WriteSampleGame(OptionsIn(temp / "out", version), error)) << error;
    PosixFileSystem files(temp / "out/prefix");
    FileSystemProfile profile(files);
    PathText game;
    ASSERT_EQ(FindGameDirectory(files, profile, &game), version);
    EXPECT_EQ(game.view(), SAMPLE_GAME_DIRECTORY);
    PatcherSettings settings;
    LoadLanguageSetting(profile, settings);
    EXPECT_EQ(settings.LanguageOffset, version == 1 ? 96 : 0);
    const std::string scripts = game.str() + "Data\\Binary\\Scripts\\";
    EXPECT_EQ(test::ReadFile(files.HostPath(scripts + "circuits.bin")).size(),
              4u + 18u * (version == 1 ? 128u : 140u));
    SizedRecordFile tracks(files);
    ASSERT_EQ(tracks.Open(scripts + "circuits.bin", version, false), 1);
    char name[256];
    ASSERT_EQ(tracks.Count(), 18);
    ASSERT_NE(tracks.GetName(18, name), nullptr) << "the base tracks, then the further ones";
    EXPECT_EQ(name, SAMPLE_FURTHER_TRACK_NAMES[1]);
    NameListFile cars(files);
    ASSERT_EQ(cars.Open(scripts + "voiture2.bin", false), 1);
    EXPECT_EQ(cars.FindByName("VIPER"), 2);

    // Each disc track folder holds a list that names it, spelt in another case when mixed.
    const std::string folder = temp / "out/disc" + "\\circuits\\";
    const auto entries = files.ListFolder(folder).value_or(std::vector<DirectoryEntry>{});
    ASSERT_EQ(entries.size(), 4u);
    for (const DirectoryEntry& entry : entries) {
        ASSERT_EQ(tracks.Open(folder + entry.name + "\\circuits.bin", version, false), 1);
        ASSERT_NE(tracks.GetName(1, name), nullptr);
        EXPECT_NE(entry.name == name, version == 1) << name;
        EXPECT_TRUE(files.Status(folder + entry.name + "\\" + name + ".img")) << name;
    }
    EXPECT_EQ(files.ListFolder(temp / "out/disc" + "\\voitures\\").value().size(), 4u);
}

INSTANTIATE_TEST_SUITE_P(Versions, SampleGameTest, ::testing::Values(1, 2));

TEST(SampleGame, RepeatedRunsWriteIdenticalBytes) {
    test::TempDir temp;
    std::string error;
    ASSERT_TRUE(WriteSampleGame(OptionsIn(temp / "a", 1), error)) << error;
    ASSERT_TRUE(WriteSampleGame(OptionsIn(temp / "b", 1), error)) << error;
    const std::vector<std::string> written = test::FilesBelow(temp / "a");
    EXPECT_EQ(written, test::FilesBelow(temp / "b"));
    for (const std::string& file : written) {
        EXPECT_EQ(test::ReadFile(temp / "a/" + file), test::ReadFile(temp / "b/" + file)) << file;
    }
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
        const RgbImage track = DecodePicture(DrawTrackPicture("Quarry", width), DataKind::Tracks);
        EXPECT_EQ(track.width * 1000 + track.height, width * 1000 + SAMPLE_TRACK_PICTURE_HEIGHT);
    }
    EXPECT_EQ(DecodePicture(DrawCarPicture("Comet"), DataKind::Cars).width, SAMPLE_CAR_SHOWN_WIDTH);
}

} // namespace
} // namespace zav
