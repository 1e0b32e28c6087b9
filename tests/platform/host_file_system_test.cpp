// The FileSystem contract on the host's implementation (PosixFileSystem and its HostPathResolver,
// or Win32FileSystem), on a Wine prefix tree whose folders differ in case from our names.
#include "support/host_file_system.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <dlfcn.h>
#include <unistd.h>

#include <csignal>
#include <functional>

#include "history/content_hash.h"
#include "platform/posix/host_path_resolver.h"
#endif
#include "platform/copy_on_write_file_system.h"
#include "support/test_game.h"
#include "support/wine_prefix.h"

#ifndef _WIN32
// Told of each fsync() of the process while set, before it runs: what the host forces to disk.
static std::function<void(int)> g_beforeFsync;
extern "C" int fsync(int fd) {
    if (g_beforeFsync)
        g_beforeFsync(fd);
    static const auto host = reinterpret_cast<int (*)(int)>(::dlsym(RTLD_NEXT, "fsync"));
    return host(fd);
}
#endif

namespace zav {
namespace {

using test::Bytes;
using Names = std::vector<std::string>;

constexpr std::string_view kScripts = "C:\\Games\\ZAV\\Data\\Binary\\Scripts\\";

namespace fs = std::filesystem;

// Whether the host lets the owner write the file: the read-only attribute on Windows.
bool OwnerMayWrite(const std::string& hostPath) {
    return (fs::status(test::HostPathOf(hostPath)).permissions() & fs::perms::owner_write) !=
           fs::perms::none;
}

#ifndef _WIN32
mode_t ModeOf(const std::string& hostPath) {
    struct stat info {};
    ::stat(hostPath.c_str(), &info);
    return info.st_mode & 07777;
}
#endif

class HostFileSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::WriteFile(Host("circuits.bin"), "game list");
#ifndef _WIN32
        ::umask(umask = ::umask(0));
#endif
    }
    std::string Host(std::string_view name) const {
        return prefix / ("drive_c/games/zav/DATA/Binary/SCRIPTS/" + std::string(name));
    }
    static std::string Core(std::string_view name) {
        return std::string(kScripts) += name;
    }
    std::string Text(std::string_view name) const {
        const Bytes bytes = test::ReadFile(Host(name));
        return {bytes.begin(), bytes.end()};
    }
    test::WinePrefix prefix;
    test::HostFileSystem files{prefix.path()};
    unsigned umask = 022;
};

#ifndef _WIN32
TEST_F(HostFileSystemTest, ResolverFindsHostNamesOfAnyCaseOnTheDrivesOfDosdevices) {
    test::MakeFolders(prefix / "drive_c/games/zav/DATA/binary");
    test::TempDir disc;
    test::WriteFile(disc / "Caf\xC3\xA9/Circuits/Foo/foo.img", "picture");
    prefix.LinkDrive('d', disc.path());
    const std::string c = prefix / "dosdevices/c:/games/", d = prefix / "dosdevices/d:/";
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {Core("CIRCUITS.bin"), c + "zav/DATA/Binary/SCRIPTS/circuits.bin"},
        {"c:/GAMES\\\\.\\zav/", c + "zav"}, // both separators, doubled, and "."
        {"C:\\games\\zav\\DATA\\binary", c + "zav/DATA/binary"}, // an exact match wins
        {"C:\\games\\zav\\DATA\\BINARY", c + "zav/DATA/Binary"}, // else the first in name order
        // A new name keeps the case given; below a missing folder nothing is looked for.
        {Core("Circuits.sav"), c + "zav/DATA/Binary/SCRIPTS/Circuits.sav"},
        // ".." never leaves the drive, and what follows it is looked up again.
        {"C:\\..\\..\\Games", prefix / "dosdevices/c:/games"},
        {"C:\\Missing\\..\\Games\\ZAV\\data", c + "zav/DATA"},
        {"D:\\caf\xC9\\circuits\\FOO\\Foo.img", d + "Caf\xC3\xA9/Circuits/Foo/foo.img"},
        {"e:\\anything", std::nullopt}, // no such drive
        // Host paths start from the root, in UTF-8.
        {disc.path() + "\\caf\xE9\\circuits\\Foo\\Foo.img",
         disc / "Caf\xC3\xA9/Circuits/Foo/foo.img"},
    };
    const HostPathResolver resolver{prefix.path()};
    for (const auto& [path, expected] : cases) {
        EXPECT_EQ(resolver.Resolve(path), expected) << path;
    }
}
#endif

TEST_F(HostFileSystemTest, OpenModesAndWhatEachOperationRefuses) {
    char buffer[16] = {};
    EXPECT_EQ(files.Open(Core("CIRCUITS.BIN"), OpenMode::ReadWrite)->ReadAt(5, buffer, 16).bytes,
              4);
    ASSERT_NE(files.Open(Core("circuits.sav"), OpenMode::ReadWrite), nullptr);
#ifndef _WIN32
    EXPECT_EQ(ModeOf(Host("circuits.sav")), 0666 & ~umask);
#endif
    EXPECT_EQ(files.Open(Core("circuits.sav"), OpenMode::CreateTruncate)->Size().bytes, 0);
    // A read-only file is never written, replaced or deleted, even when the tests run as root.
    test::WriteFile(Host("circuits.bin"), "game list");
    test::WriteFile(Host("new.bin"), "new list");
    const std::string list = Core("circuits.bin"), fresh = Core("new.bin");
    EXPECT_TRUE(files.SetAttributes(list, FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(OwnerMayWrite(Host("circuits.bin")));
    EXPECT_NE(files.Open(list, OpenMode::ReadOnly), nullptr);
    // Then missing files, folders taken for files, an existing target, a copy onto itself.
    const std::string games = "C:\\Games", missing = Core("missing.bin");
    const auto open = [&](const std::string& path, OpenMode mode) {
        return !!files.Open(path, mode);
    };
    const bool refused[] = {
        open(list, OpenMode::ReadWrite) || open(list, OpenMode::CreateTruncate),
        files.CopyFile(fresh, list, false) || files.RenameFile(fresh, list) ||
            files.DeleteFile(list),
        open(missing, OpenMode::ReadOnly) || open(games, OpenMode::ReadOnly),
        files.CopyFile(Core("circuits.sav"), fresh, true) || files.CopyFile(fresh, fresh, false),
        files.CopyFile(missing, Core("other.bin"), false) || files.CopyFile(fresh, games, false),
        files.CopyFile(games, Core("games.bin"), false) ||
            files.CopyFile(fresh, games + "\\No\\n", false),
        files.RenameFile(missing, fresh) || files.RenameFile(fresh, games),
        files.DeleteFile(games) || files.DeleteFile(missing),
        !!files.SetAttributes(missing, FILE_ATTRIBUTE_NORMAL),
    };
    for (std::size_t i = 0; i < std::size(refused); ++i) {
        EXPECT_FALSE(refused[i]) << "row " << i;
    }
    const auto cause = [](const FileResult& result) { return result.Cause(); };
    EXPECT_EQ(cause(files.CopyFile(fresh, list, false)), FileErrorCause::ReadOnly);
    EXPECT_EQ(cause(files.CopyFile(fresh, Core("circuits.sav"), true)), FileErrorCause::Exists);
    EXPECT_EQ(cause(files.CopyFile(fresh, games + "\\No\\n", false)), FileErrorCause::NotFound);
    EXPECT_EQ(test::ListNames(Host("")), (Names{"circuits.bin", "circuits.sav", "new.bin"}));
    EXPECT_EQ(Text("circuits.bin") + "|" + Text("new.bin"), "game list|new list");
    EXPECT_TRUE(files.SetAttributes(list, FILE_ATTRIBUTE_NORMAL));
    EXPECT_TRUE(OwnerMayWrite(Host("circuits.bin")));
#ifndef _WIN32
    EXPECT_EQ(ModeOf(Host("circuits.bin")), 0666 & ~umask);
#endif
    EXPECT_TRUE(files.RenameFile(fresh, Core("CIRCUITS.bin"))) << "replaces the file of any case";
    EXPECT_EQ(Text("circuits.bin"), "new list");
    EXPECT_TRUE(files.DeleteFile(Core("Circuits.Bin")));
    EXPECT_EQ(test::ListNames(Host("")), Names{"circuits.sav"});
}

TEST_F(HostFileSystemTest, CopyKeepsTimeAndReadOnlyStateAndOneOutOfRoomLeavesTheOldFileWhole) {
    test::TempDir disc;
    const std::string from = disc / "Foo.bl3";
    test::WriteFile(from, "track data");
    const fs::file_time_type written = fs::last_write_time(from) - std::chrono::hours(24 * 400);
    fs::last_write_time(from, written);
    test::MakeReadOnly(from);
    ASSERT_TRUE(files.CopyFile(disc.path() + "\\foo.BL3", Core("Foo.bl3"), true));
    EXPECT_EQ(Text("Foo.bl3"), "track data");
    EXPECT_EQ(fs::last_write_time(Host("Foo.bl3")), written);
    EXPECT_FALSE(OwnerMayWrite(Host("Foo.bl3")));
#ifndef _WIN32
    const struct timespec times[2] = {{981173106, 0}, {981173106, 123456789}};
    ::utimensat(AT_FDCWD, from.c_str(), times, 0);
    ::chmod(Host("Foo.bl3").c_str(), 0644);
    ASSERT_TRUE(files.CopyFile(from, Core("Foo.bl3"), false));
    struct stat info {};
    ::stat(Host("Foo.bl3").c_str(), &info);
    EXPECT_EQ(std::pair(info.st_mtim.tv_sec, info.st_mtim.tv_nsec),
              std::pair(981173106L, 123456789L));
    EXPECT_EQ(info.st_mode & 0222, 0u);
    // A file size limit makes the host refuse the copy's writes half-way, as a full disk would.
    test::WriteFile(Host("big.bin"), Bytes(64 * 1024, 0x5A));
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    const struct rlimit small = {4096, saved.rlim_max};
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const FileResult replaced = files.CopyFile(Core("big.bin"), Core("circuits.bin"), false);
    const FileResult created = files.CopyFile(Core("big.bin"), Core("fresh.bin"), true);
    // A handle's writes say so too: one refused outright, one cut short at the limit.
    FileCount refused = 0, cut = 0;
    if (const OpenedFile handle = files.Open(Core("fresh.bin"), OpenMode::CreateTruncate)) {
        const Bytes some(200, 0x5A);
        refused = handle->WriteAt(4096, some.data(), 1);
        cut = handle->WriteAt(4000, some.data(), 200);
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(std::pair(replaced.Cause(), created.Cause()),
              std::pair(FileErrorCause::NoSpace, FileErrorCause::NoSpace));
    EXPECT_EQ(std::tuple(refused.bytes, refused.cause, cut.bytes, cut.cause),
              std::tuple(-1, FileErrorCause::NoSpace, 96, FileErrorCause::NoSpace));
    EXPECT_TRUE(files.DeleteFile(Core("fresh.bin")));
    EXPECT_EQ(Text("circuits.bin"), "game list");
    EXPECT_EQ(test::ListNames(Host("")), (Names{"Foo.bl3", "big.bin", "circuits.bin"}))
        << "no temporary left";
#endif
}

#ifndef _WIN32 // links of the host's own kind
// A link in the game's folders is a name, replaced or removed itself: nothing writes through it or
// changes the mode of what it points to. Reading follows it.
TEST_F(HostFileSystemTest, LinksAreNamesThatNothingWritesThrough) {
    test::TempDir outside;
    const std::string secret = outside / "secret", missing = outside / "missing";
    test::WriteFile(secret, "private");
    ::chmod(secret.c_str(), 0600);
    for (const char* name : {".zav-stale", "circuits.sav", "Foo.bl3", "new.sav", "dangling"}) {
        ::symlink((*name == 'd' ? missing : secret).c_str(), Host(name).c_str());
    }
    EXPECT_EQ(files.Open(Core("foo.bl3"), OpenMode::ReadOnly)->Size().bytes, 7);
    EXPECT_EQ((std::array{!!files.Open(Core("Foo.bl3"), OpenMode::ReadWrite),
                          !!files.Open(Core("dangling"), OpenMode::CreateTruncate),
                          !!files.CopyFile(Core("circuits.bin"), Core("dangling"), true),
                          !!files.SetAttributes(Core(".zav-stale"), FILE_ATTRIBUTE_NORMAL),
                          !!files.SetAttributes(Core("Foo.bl3"), FILE_ATTRIBUTE_READONLY),
                          !!files.DeleteFile(Core(".zav-stale")),
                          !!files.CopyFile(Core("circuits.bin"), Core("circuits.sav"), false),
                          !!files.RenameFile(Core("circuits.sav"), Core("new.sav"))}),
              (std::array{false, false, false, true, true, true, true, true}));
    EXPECT_EQ(std::pair(ModeOf(secret), test::ReadFile(secret).size()), std::pair(0600u, 7ul));
    EXPECT_FALSE(test::FileExists(missing));
    EXPECT_EQ(test::ListNames(Host("")), (Names{"Foo.bl3", "circuits.bin", "dangling", "new.sav"}));
}

// The resolver keeps what it found for the run: the run's own changes keep that true, and a name
// that matched nothing is looked up again, so what another program makes meanwhile is found.
TEST_F(HostFileSystemTest, WhatTheRunFoundStaysTrueThroughItsOwnChangesAndOthersAreSeen) {
    EXPECT_FALSE(files.Status(Core("NEW.bin")));
    test::WriteFile(Host("new.BIN"), "by another program");
    EXPECT_EQ(files.Status(Core("NEW.bin")).value().size, 18);
    ASSERT_TRUE(files.DeleteFile(Core("NEW.bin")));
    test::WriteFile(Host("New.bin"), "again"); // in a folder listed already
    EXPECT_EQ(files.Status(Core("new.bin")).value().size, 5);
    // A file the run makes is the one its other spellings name, before and after a rename.
    ASSERT_TRUE(files.CopyFile(Core("circuits.bin"), Core("Made.bin"), true));
    EXPECT_NE(files.Open(Core("MADE.BIN"), OpenMode::CreateTruncate), nullptr);
    ASSERT_TRUE(files.RenameFile(Core("made.bin"), Core("Renamed.bin")));
    EXPECT_FALSE(files.Status(Core("MADE.BIN")));
    EXPECT_NE(files.Open(Core("MADE.BIN"), OpenMode::CreateTruncate), nullptr);
    EXPECT_TRUE(files.CreateDirectory(Core("Sub")));
    EXPECT_NE(files.Open(Core("SUB\\x.bin"), OpenMode::CreateTruncate), nullptr);
    EXPECT_EQ(test::ListNames(Host("")),
              (Names{"MADE.BIN", "New.bin", "Renamed.bin", "Sub", "circuits.bin"}));
    EXPECT_EQ(test::ListNames(Host("Sub")), (Names{"x.bin"}));
    // FinalPath sees through a folder link, however often it is asked.
    test::TempDir disc;
    test::WriteFile(disc / "real/Foo/foo.bl3", "data");
    ::symlink((disc / "real/Foo").c_str(), (disc / "Linked").c_str());
    const std::string linked = disc.path() + "\\LINKED\\Foo.bl3";
    const std::string final = fs::canonical(disc / "real/Foo/foo.bl3").native();
    EXPECT_EQ(files.FinalPath(linked), final);
    EXPECT_EQ(files.FinalPath(linked), final);
    EXPECT_EQ(files.FinalPath(disc.path() + "\\real\\Missing"), "");
}

// A copy made while the history records has its fingerprint from its own bytes: the same as read
// from the file afterwards, and read anew once the file is edited.
TEST_F(HostFileSystemTest, ACopysFingerprintIsTheFilesUntilItIsEdited) {
    std::string bytes(300 * 1024, 'x');
    for (std::size_t i = 0; i < bytes.size(); i += 997) {
        bytes[i] = static_cast<char>(i);
    }
    test::WriteFile(Host("big.bl3"), bytes);
    test::WriteFile(Host("small.img"), "picture");
    files.KeepCopyFingerprints();
    test::HostFileSystem reader{prefix.path()}; // knows no copies: reads every file
    for (const char* name : {"big.bl3", "small.img"}) {
        const std::string copy = Core(std::string("copy-") + name);
        ASSERT_TRUE(files.CopyFile(Core(name), copy, true));
        EXPECT_TRUE(files.SetAttributes(copy, FILE_ATTRIBUTE_NORMAL)) << "changes nothing";
        const auto fromCopy = files.CopiedFingerprint(copy);
        ASSERT_TRUE(fromCopy) << name;
        EXPECT_EQ(fromCopy, FingerprintFile(reader, copy)) << name;
        EXPECT_EQ(FingerprintFile(files, copy), fromCopy) << name;
        std::unique_ptr<FileHandle> handle = files.Open(copy, OpenMode::ReadWrite);
        ASSERT_EQ(handle->WriteAt(1, "y", 1).bytes, 1);
        handle.reset();
        EXPECT_FALSE(files.CopiedFingerprint(copy)) << name;
        EXPECT_NE(FingerprintFile(files, copy), fromCopy) << name;
    }
}
#endif

TEST_F(HostFileSystemTest, ListingsStatusAndFolders) {
    const std::string folder = prefix / "drive_c/Circuits/";
    test::MakeFolders(folder + "Caf\xC3\xA9");
    test::MakeFolders(folder + "alpine");
    for (const char* name : {"Bravo.txt", "\xC5\x8Csaka", "alp", "_x"}) {
        test::WriteFile(folder + name, "");
    }
#ifndef _WIN32
    test::WriteFile(folder + "raw\xE9", ""); // not UTF-8, which only a POSIX host can store
#endif
    std::string listed;
    const auto entries = files.ListFolder("C:\\circuits\\").value();
    for (const DirectoryEntry& entry : entries) {
        listed += entry.name + (entry.isDirectory ? "/ " : " ");
    }
    // '_' lies between the upper- and the lower-case letters; a name before its longer ones.
    EXPECT_EQ(listed, "_x alp alpine/ Bravo.txt Caf\xE9/ ")
        << "sorted without case, unnameable skipped";
    EXPECT_TRUE(files.ListFolder("C:\\Circuits\\CAF\xE9").value().empty());
    EXPECT_FALSE(files.CreateDirectory("C:\\Games\\Missing\\Sub")) << "only the last folder";
}

#ifndef _WIN32
// Once the rename has happened, the folder holding the new name is forced onto the disk.
TEST_F(HostFileSystemTest, RenameForcesItsFolderOntoTheDiskAfterwards) {
    test::WriteFile(Host("new.bin"), "new list");
    struct stat folder {};
    ASSERT_EQ(::stat(Host("").c_str(), &folder), 0);
    bool folderSynced = false, renamedBefore = false;
    g_beforeFsync = [&](int fd) {
        struct stat info {};
        if (::fstat(fd, &info) == 0 && info.st_dev == folder.st_dev &&
            info.st_ino == folder.st_ino) {
            folderSynced = true;
            renamedBefore = !test::FileExists(Host("new.bin"));
        }
    };
    const bool renamed = !!files.RenameFile(Core("new.bin"), Core("circuits.bin"));
    g_beforeFsync = nullptr;
    EXPECT_TRUE(renamed);
    EXPECT_TRUE(folderSynced && renamedBefore);
}
#endif

// A dry run refuses a rename onto a read-only file, on the disk or made so in memory, as the host
// refuses it, with the same cause, and plans nothing for it.
TEST_F(HostFileSystemTest, DryRunRefusesARenameOntoAReadOnlyFileAsTheHostDoes) {
    test::WriteFile(Host("new.bin"), "new list");
    const test::TempDir temporary;
    CopyOnWriteFileSystem dry(files, temporary / "dry/");
    ASSERT_TRUE(files.SetAttributes(Core("circuits.bin"), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(dry.CopyFile(Core("new.bin"), Core("copy.bin"), true));
    ASSERT_TRUE(dry.SetAttributes(Core("copy.bin"), FILE_ATTRIBUTE_READONLY));
    constexpr FileErrorCause kReadOnly = FileErrorCause::ReadOnly;
    EXPECT_EQ((std::array{files.RenameFile(Core("new.bin"), Core("circuits.bin")).Cause(),
                          dry.RenameFile(Core("new.bin"), Core("circuits.bin")).Cause(),
                          dry.RenameFile(Core("new.bin"), Core("copy.bin")).Cause()}),
              (std::array{kReadOnly, kReadOnly, kReadOnly}));
    EXPECT_EQ(dry.Plan().size(), 1u) << "the copy alone";
    EXPECT_TRUE(dry.Status(Core("new.bin")).has_value());
    EXPECT_EQ(Text("circuits.bin") + "|" + Text("new.bin"), "game list|new list");
}

} // namespace
} // namespace zav
