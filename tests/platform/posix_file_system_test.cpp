// PosixFileSystem on real host files inside a Wine prefix: opening, attributes, copies,
// listings, status and the temporary folder.
#include "platform/posix/posix_file_system.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <cstdlib>
#include <ctime>

#include "support/wine_prefix.h"

namespace zav {
namespace {

using test::Bytes;

constexpr std::string_view kScripts = "C:\\Games\\ZAV\\Data\\Binary\\Scripts\\";

mode_t ModeOf(const std::string& hostPath) {
    struct stat info {};
    ::stat(hostPath.c_str(), &info);
    return info.st_mode & 07777;
}

struct timespec MtimeOf(const std::string& hostPath) {
    struct stat info {};
    ::stat(hostPath.c_str(), &info);
    return info.st_mtim;
}

std::vector<std::string> Names(const std::vector<DirectoryEntry>& entries) {
    std::vector<std::string> names;
    for (const DirectoryEntry& entry : entries) {
        names.push_back(entry.name);
    }
    return names;
}

class PosixFileSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::WriteFile(Host("circuits.bin"), "game list");
        umask = ::umask(0);
        ::umask(umask);
    }
    std::string Host(std::string_view name) const {
        return prefix / ("drive_c/games/zav/DATA/Binary/SCRIPTS/" + std::string(name));
    }
    static std::string Core(std::string_view name) {
        return std::string(kScripts) + std::string(name);
    }
    void MakeReadOnly(const std::string& hostPath) const { ::chmod(hostPath.c_str(), 0444); }

    test::WinePrefix prefix;
    PosixFileSystem files{prefix.path()};
    mode_t umask = 022;
};

TEST_F(PosixFileSystemTest, OpenModesReadWriteAndCreate) {
    EXPECT_EQ(files.Open(Core("missing.bin"), OpenMode::ReadOnly), nullptr);
    EXPECT_EQ(files.Open("C:\\Games", OpenMode::ReadOnly), nullptr) << "a folder is not a file";

    auto existing = files.Open(Core("CIRCUITS.BIN"), OpenMode::ReadWrite);
    ASSERT_NE(existing, nullptr);
    EXPECT_EQ(existing->Size(), 9);
    char buffer[16] = {};
    EXPECT_EQ(existing->ReadAt(5, buffer, 16), 4) << "fewer bytes at the end of the file";
    EXPECT_STREQ(buffer, "list");
    EXPECT_EQ(existing->WriteAt(0, "GAME", 4), 4);
    EXPECT_EQ(existing->ReadAt(-1, buffer, 1), -1);
    existing.reset();
    EXPECT_EQ(test::ReadFile(Host("circuits.bin")),
              Bytes({'G', 'A', 'M', 'E', ' ', 'l', 'i', 's', 't'}));

    ASSERT_NE(files.Open(Core("circuits.sav"), OpenMode::ReadWrite), nullptr);
    EXPECT_TRUE(test::FileExists(Host("circuits.sav")));
    EXPECT_EQ(ModeOf(Host("circuits.sav")), 0666 & ~umask);
    auto truncated = files.Open(Core("circuits.bin"), OpenMode::CreateTruncate);
    ASSERT_NE(truncated, nullptr);
    EXPECT_EQ(truncated->Size(), 0);
}

// Tests may run as root, whom the host lets write anything: the attribute must hold regardless.
TEST_F(PosixFileSystemTest, AReadOnlyFileIsNeverWrittenReplacedOrDeleted) {
    test::WriteFile(Host("voitures.bin"), "other");
    MakeReadOnly(Host("circuits.bin"));
    EXPECT_EQ(files.Open(Core("circuits.bin"), OpenMode::ReadWrite), nullptr);
    EXPECT_EQ(files.Open(Core("circuits.bin"), OpenMode::CreateTruncate), nullptr);
    EXPECT_NE(files.Open(Core("circuits.bin"), OpenMode::ReadOnly), nullptr);
    EXPECT_FALSE(files.CopyFile(Core("voitures.bin"), Core("circuits.bin"), false));
    EXPECT_FALSE(files.RenameFile(Core("voitures.bin"), Core("circuits.bin")));
    EXPECT_FALSE(files.DeleteFile(Core("circuits.bin")));
    EXPECT_EQ(test::ReadFile(Host("circuits.bin")),
              Bytes({'g', 'a', 'm', 'e', ' ', 'l', 'i', 's', 't'}));
    ASSERT_TRUE(files.Status(Core("circuits.bin")).has_value());
    EXPECT_TRUE(files.Status(Core("circuits.bin"))->readOnly);

    EXPECT_TRUE(files.SetAttributes(Core("circuits.bin"), FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(ModeOf(Host("circuits.bin")), 0666 & ~umask);
    EXPECT_TRUE(files.DeleteFile(Core("circuits.bin")));
    EXPECT_FALSE(test::FileExists(Host("circuits.bin")));
}

TEST_F(PosixFileSystemTest, SetAttributesReadOnlyTakesEveryWritePermission) {
    EXPECT_TRUE(files.SetAttributes(Core("circuits.bin"), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(ModeOf(Host("circuits.bin")) & 0222, 0u);
    EXPECT_FALSE(files.SetAttributes(Core("missing.bin"), FILE_ATTRIBUTE_NORMAL));
    const mode_t folderMode = ModeOf(prefix / "drive_c/games");
    EXPECT_TRUE(files.SetAttributes("C:\\Games", FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(ModeOf(prefix / "drive_c/games"), folderMode) << "folders keep their permissions";
}

TEST_F(PosixFileSystemTest, CopyFileKeepsTheLastWriteTimeAndTheReadOnlyState) {
    test::TempDir disc;
    test::WriteFile(disc / "Foo.bl3", "track data");
    const struct timespec times[2] = {{981173106, 0}, {981173106, 123456789}};
    ::utimensat(AT_FDCWD, (disc / "Foo.bl3").c_str(), times, 0);
    MakeReadOnly(disc / "Foo.bl3");

    ASSERT_TRUE(files.CopyFile(disc.path() + "\\foo.BL3", Core("Foo.bl3"), true));
    EXPECT_EQ(test::ReadFile(Host("Foo.bl3")), test::ReadFile(disc / "Foo.bl3"));
    EXPECT_EQ(MtimeOf(Host("Foo.bl3")).tv_sec, 981173106);
    EXPECT_EQ(MtimeOf(Host("Foo.bl3")).tv_nsec, 123456789);
    EXPECT_EQ(ModeOf(Host("Foo.bl3")) & 0222, 0u);
    EXPECT_EQ(test::ListNames(Host("")), (std::vector<std::string>{"Foo.bl3", "circuits.bin"}))
        << "no temporary file is left behind";
}

TEST_F(PosixFileSystemTest, CopyFileReplacesOnlyWhenAskedAndNeverAFolder) {
    test::WriteFile(Host("new.bin"), "new list");
    EXPECT_FALSE(files.CopyFile(Core("new.bin"), Core("circuits.bin"), true));
    EXPECT_EQ(test::ReadFile(Host("circuits.bin")).size(), 9u);
    EXPECT_TRUE(files.CopyFile(Core("new.bin"), Core("circuits.bin"), false));
    EXPECT_EQ(test::ReadFile(Host("circuits.bin")), test::ReadFile(Host("new.bin")));
    EXPECT_EQ(ModeOf(Host("circuits.bin")), 0666 & ~umask);

    EXPECT_FALSE(files.CopyFile(Core("missing.bin"), Core("other.bin"), false));
    EXPECT_FALSE(test::FileExists(Host("other.bin")));
    EXPECT_FALSE(files.CopyFile(Core("new.bin"), "C:\\Games", false));
    EXPECT_FALSE(files.CopyFile("C:\\Games", Core("games.bin"), false));
    EXPECT_FALSE(files.CopyFile(Core("new.bin"), Core("new.bin"), false));
    EXPECT_FALSE(files.CopyFile(Core("new.bin"), "C:\\No\\Such\\Folder\\new.bin", false));
    EXPECT_EQ(test::ListNames(Host("")), (std::vector<std::string>{"circuits.bin", "new.bin"}));
}

TEST_F(PosixFileSystemTest, ACopyThatRunsOutOfRoomLeavesTheOldFileWhole) {
    test::WriteFile(Host("big.bin"), Bytes(64 * 1024, 0x5A));
    const Bytes before = test::ReadFile(Host("circuits.bin"));
    // A file size limit makes the host refuse the copy's writes half-way, as a full disk would.
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool copied = files.CopyFile(Core("big.bin"), Core("circuits.bin"), false);
    const bool copiedNew = files.CopyFile(Core("big.bin"), Core("fresh.bin"), true);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(copied);
    EXPECT_FALSE(copiedNew);
    EXPECT_EQ(test::ReadFile(Host("circuits.bin")), before);
    EXPECT_EQ(test::ListNames(Host("")), (std::vector<std::string>{"big.bin", "circuits.bin"}));
}

TEST_F(PosixFileSystemTest, RenameFileReplacesTheDestination) {
    test::WriteFile(Host(".zav-new.tmp"), "staged");
    EXPECT_TRUE(files.RenameFile(Core(".zav-new.tmp"), Core("CIRCUITS.bin")));
    EXPECT_EQ(test::ReadFile(Host("circuits.bin")), Bytes({'s', 't', 'a', 'g', 'e', 'd'}));
    EXPECT_FALSE(test::FileExists(Host(".zav-new.tmp")));
    EXPECT_FALSE(files.RenameFile(Core("missing"), Core("circuits.bin")));
    EXPECT_FALSE(files.RenameFile(Core("circuits.bin"), "C:\\Games"));
}

TEST_F(PosixFileSystemTest, DeleteFileRefusesFoldersAndMissingFiles) {
    EXPECT_FALSE(files.DeleteFile("C:\\Games"));
    EXPECT_FALSE(files.DeleteFile(Core("missing.bin")));
    EXPECT_TRUE(files.DeleteFile(Core("Circuits.Bin")));
    EXPECT_FALSE(test::FileExists(Host("circuits.bin")));
}

TEST_F(PosixFileSystemTest, ListingsAreInCodePage1252SortedWithoutCaseAndSkipWhatItCannotName) {
    const std::string folder = prefix / "drive_c/Circuits";
    test::MakeFolders(folder + "/Caf\xC3\xA9");
    test::MakeFolders(folder + "/alpine");
    test::WriteFile(folder + "/Bravo.txt", "b");
    test::WriteFile(folder + "/\xC5\x8Csaka", "not in the code page");
    test::WriteFile(folder + "/raw\xE9", "not UTF-8");
    test::WriteFile(folder + "/ZULU", "z");
    const auto entries = files.ListFolder("C:\\circuits\\");
    ASSERT_TRUE(entries.has_value());
    EXPECT_EQ(Names(*entries),
              (std::vector<std::string>{"alpine", "Bravo.txt", "Caf\xE9", "ZULU"}));
    EXPECT_TRUE((*entries)[0].isDirectory);
    EXPECT_FALSE((*entries)[1].isDirectory);
    EXPECT_TRUE((*entries)[2].isDirectory);

    const auto inside = files.ListFolder("C:\\Circuits\\CAF\xE9");
    ASSERT_TRUE(inside.has_value());
    EXPECT_TRUE(inside->empty());
    EXPECT_FALSE(files.ListFolder("C:\\NoSuchFolder").has_value());
}

TEST_F(PosixFileSystemTest, StatusGivesSizeKindAndLocalLastWriteTime) {
    const struct timespec times[2] = {{1000000000, 0}, {1000000000, 0}};
    ::utimensat(AT_FDCWD, Host("circuits.bin").c_str(), times, 0);
    const auto status = files.Status(Core("circuits.bin"));
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(status->size, 9);
    EXPECT_FALSE(status->isDirectory);
    EXPECT_FALSE(status->readOnly);
    const std::time_t when = 1000000000;
    std::tm local{};
    ::localtime_r(&when, &local);
    EXPECT_EQ(status->lastWrite.year, local.tm_year + 1900);
    EXPECT_EQ(status->lastWrite.month, local.tm_mon + 1);
    EXPECT_EQ(status->lastWrite.day, local.tm_mday);
    EXPECT_EQ(status->lastWrite.hour, local.tm_hour);
    EXPECT_EQ(status->lastWrite.minute, local.tm_min);
    EXPECT_EQ(status->lastWrite.second, local.tm_sec);

    ASSERT_TRUE(files.Status("C:\\games").has_value());
    EXPECT_TRUE(files.Status("C:\\games")->isDirectory);
    EXPECT_FALSE(files.Status(Core("missing.bin")).has_value());
}

TEST_F(PosixFileSystemTest, CreateDirectoryMakesOnlyTheLastFolder) {
    EXPECT_TRUE(files.CreateDirectory("C:\\GAMES\\ZAV\\Data\\Records"));
    EXPECT_TRUE(test::FileExists(prefix / "drive_c/games/zav/DATA/Records"));
    EXPECT_FALSE(files.CreateDirectory("C:\\Games\\ZAV\\Data\\Records"));
    EXPECT_FALSE(files.CreateDirectory("C:\\Games\\Missing\\Sub"));
}

TEST_F(PosixFileSystemTest, FreeSpaceIsAskedOfTheDriveHoldingThePath) {
    EXPECT_TRUE(files.FreeSpace("C:\\Games\\").has_value());
    EXPECT_FALSE(files.FreeSpace("Q:\\").has_value());
}

TEST_F(PosixFileSystemTest, SiblingTemporaryPathsNameNoFileInTheSameFolder) {
    const std::string first = files.SiblingTemporaryPath(Core("circuits.bin"));
    const std::string second = files.SiblingTemporaryPath(Core("circuits.bin"));
    EXPECT_EQ(first.substr(0, kScripts.size()), kScripts);
    EXPECT_EQ(first.find_first_of("\\/", kScripts.size()), std::string::npos);
    EXPECT_NE(first, second);
    EXPECT_FALSE(files.Status(first).has_value());
}

TEST_F(PosixFileSystemTest, TheTemporaryFolderIsPrivateAndRemovedWithItsFiles) {
    test::TempDir base;
    const char* saved = std::getenv("TMPDIR");
    const std::string savedValue = saved != nullptr ? saved : "";
    ::setenv("TMPDIR", base.path().c_str(), 1);
    const std::string folder = files.TemporaryFolder();
    saved != nullptr ? ::setenv("TMPDIR", savedValue.c_str(), 1) : ::unsetenv("TMPDIR");

    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.substr(0, base.path().size()), base.path());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_EQ(files.TemporaryFolder(), folder) << "one folder per run";
    EXPECT_EQ(ModeOf(folder), 0700u);
    ASSERT_NE(files.Open(folder + "circuits.bin", OpenMode::ReadWrite), nullptr);
    files.RemoveTemporaryFolder();
    EXPECT_FALSE(test::FileExists(folder));
}

TEST_F(PosixFileSystemTest, TheWindowsDirectoryHoldsTheSettingsFolder) {
    prefix.WriteSettings("[ZAV]\n");
    EXPECT_EQ(files.WindowsDirectory(), prefix / "drive_c/windows");
    EXPECT_NE(files.Open(files.WindowsDirectory() + "\\Quorvex\\Qvx.ini", OpenMode::ReadOnly),
              nullptr);
}

} // namespace
} // namespace zav
