// The default source on planted folders: the program's folder, the working folder, the one
// medium, several media, none.
#include "source_defaults.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "platform/mounted_media.h"
#include "support/temp_dir.h"

namespace zav {
namespace {

namespace fs = std::filesystem;

TEST(SourceDefaults, TakesTheFirstPlaceHoldingNewDataInOrder) {
    const test::TempDir dir;
    const std::string program = dir / "program", working = dir / "working";
    const std::string media = dir / "media", mnt = dir / "mnt";
    for (const std::string& folder : {program, working, media + "/EMPTY", mnt}) {
        fs::create_directories(folder);
    }
    fs::create_directories(mnt + "/cdrom/circuits/Quarry"); // a medium, as mounted
    const SourcePlaces places{program, working, MediaInside({media, dir / "absent", mnt})};

    DefaultSource found = ChooseDefaultSource(places);
    EXPECT_EQ(found.origin, DefaultSource::Origin::Medium);
    EXPECT_EQ(fs::path(found.folder), fs::path(mnt + "/cdrom"));

    // A disc's file system may show its folders in capitals; a file named so is no folder.
    fs::create_directories(working + "/VOITURES");
    { std::ofstream(program + "/circuits") << "not a folder"; }
    found = ChooseDefaultSource(places);
    EXPECT_EQ(found.origin, DefaultSource::Origin::WorkingFolder);
    EXPECT_EQ(found.folder, working);

    fs::create_directories(program + "/voitures");
    found = ChooseDefaultSource(places);
    EXPECT_EQ(found.origin, DefaultSource::Origin::ProgramFolder);
    EXPECT_EQ(found.folder, program);
}

TEST(SourceDefaults, SeveralMediaAreListedAndNoneFallsBackToTheProgramFolder) {
    const test::TempDir dir;
    const std::string program = dir / "program", media = dir / "media";
    fs::create_directories(program);
    fs::create_directories(media + "/DISC1/circuits");
    fs::create_directories(media + "/DISC2/voitures");
    std::vector<std::string> found = {media + "/DISC1", media + "/DISC2"};
#ifndef _WIN32
    // The same medium reached through a second root is one medium.
    fs::create_directories(dir / "run");
    fs::create_directory_symlink(media + "/DISC1", dir / "run/DISC1");
    EXPECT_EQ(MediaInside({media, dir / "run"}), found);
#endif
    const DefaultSource several = ChooseDefaultSource({program, "", found});
    EXPECT_EQ(several.origin, DefaultSource::Origin::SeveralMedia);
    EXPECT_EQ(several.folder, program);
    EXPECT_EQ(several.media, found);
    EXPECT_EQ(SeveralMediaNotice(several.media),
              "Several mounted media hold new data (circuits/ or voitures/):\n  " + media +
                  "/DISC1\n  " + media + "/DISC2\nChoose one with --source.\n");

    const DefaultSource none = ChooseDefaultSource({program, "", {dir / "nowhere"}});
    EXPECT_EQ(none.origin, DefaultSource::Origin::None);
    EXPECT_EQ(none.folder, program);
}

#ifdef _WIN32
// scripts/test-windows gives its Wine prefix a CD drive (ZAV_TEST_CD_DRIVE) on an empty folder
// (ZAV_TEST_CD_FOLDER): a disc of new data put in it is the medium a window offers first.
TEST(SourceDefaults, ACdDriveIsAMediumOnceItHoldsNewData) {
    const char* drive = std::getenv("ZAV_TEST_CD_DRIVE");
    const char* folder = std::getenv("ZAV_TEST_CD_FOLDER");
    if (drive == nullptr || folder == nullptr) {
        GTEST_SKIP() << "no CD drive was given";
    }
    const std::vector<std::string> media = MountedMedia();
    ASSERT_NE(std::find(media.begin(), media.end(), drive), media.end());
    EXPECT_TRUE(MediaHoldingNewData(media).empty());

    const fs::path disc = fs::u8path(folder);
    fs::create_directories(disc / "CIRCUITS" / "Quarry");
    const std::vector<std::string> holding = MediaHoldingNewData(media);
    const DefaultSource found = ChooseDefaultSource({"", "", media});
    fs::remove_all(disc / "CIRCUITS");
    EXPECT_EQ(holding, std::vector<std::string>{drive});
    EXPECT_EQ(found.origin, DefaultSource::Origin::Medium);
    EXPECT_EQ(found.folder, drive);
}
#endif

} // namespace
} // namespace zav
