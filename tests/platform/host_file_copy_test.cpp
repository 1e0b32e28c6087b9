// Host file copies: bytes, permission bits and times arrive, and a refused method gives way.
#include "platform/posix/host_file_copy.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include "platform/posix/unique_fd.h"
#include "support/temp_dir.h"

namespace zav {
namespace {

// The slowest method, which every other falls back on, by name (the file system's test copies by
// the default): several buffers and a ragged tail, patterned so a misplaced block shows.
TEST(HostFileCopy, ReadingKeepsBytesModeAndTimes) {
    test::Bytes bytes((std::size_t{3} << 20) + 7);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>((i * 7 + i / 4096) & 0xFF);
    }
    test::TempDir dir;
    const std::string from = dir / "from.bin", to = dir / "to.bin";
    test::WriteFile(from, bytes);
    const struct timespec times[2] = {{981173106, 5}, {981173106, 123456789}};
    ASSERT_EQ(::utimensat(AT_FDCWD, from.c_str(), times, 0), 0);
    const UniqueFd input(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
    const UniqueFd output(::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    struct stat info {};
    ASSERT_EQ(::fstat(input.Get(), &info), 0);
    ASSERT_TRUE(CopyHostFile(input.Get(), info, output.Get(), 0444, CopyMethod::ReadWrite));
    ASSERT_EQ(::stat(to.c_str(), &info), 0); // before reading the copy moves its access time on
    EXPECT_EQ(info.st_mode & 07777, 0444u);
    EXPECT_EQ(std::pair(info.st_mtim.tv_sec, info.st_mtim.tv_nsec),
              std::pair(981173106L, 123456789L));
    EXPECT_EQ(info.st_atim.tv_nsec, 5);
    EXPECT_EQ(test::ReadFile(to), bytes);
}

// procfs tells a size of 0 and shares nothing: only reading finds its bytes.
TEST(HostFileCopy, AFileSystemThatRefusesTheFastMethodsIsCopiedByReading) {
    test::TempDir dir;
    const UniqueFd input(::open("/proc/version", O_RDONLY | O_CLOEXEC));
    const UniqueFd output(::open((dir / "v").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600));
    ASSERT_TRUE(input && output);
    EXPECT_EQ(CopyFileData(input.Get(), output.Get()), CopyMethod::ReadWrite);
    EXPECT_EQ(test::ReadFile(dir / "v"), test::ReadFile("/proc/version"));
    EXPECT_FALSE(test::ReadFile(dir / "v").empty());
}

} // namespace
} // namespace zav
