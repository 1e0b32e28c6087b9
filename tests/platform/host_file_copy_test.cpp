// Host file copies by each method: bytes, permission bits and times arrive; a refused method
// yields.
#include "platform/posix/host_file_copy.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include "platform/posix/unique_fd.h"
#include "support/temp_dir.h"

namespace zav {
namespace {

class HostFileCopy : public testing::TestWithParam<CopyMethod> {};

TEST_P(HostFileCopy, KeepsBytesModeAndTimesAndIsNeverFasterThanAllowed) {
    // Over several read/write buffers and a ragged tail, and patterned so a misplaced block shows.
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
    ASSERT_TRUE(CopyHostFile(input.Get(), info, output.Get(), 0444, GetParam()));
    ASSERT_EQ(::stat(to.c_str(), &info), 0); // before reading the copy moves its access time on
    EXPECT_EQ(info.st_mode & 07777, 0444u);
    EXPECT_EQ(std::pair(info.st_mtim.tv_sec, info.st_mtim.tv_nsec),
              std::pair(981173106L, 123456789L));
    EXPECT_EQ(info.st_atim.tv_nsec, 5);
    EXPECT_EQ(test::ReadFile(to), bytes);

    const UniqueFd again(::open((dir / "again.bin").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600));
    const auto used = CopyFileData(input.Get(), again.Get(), GetParam());
    ASSERT_TRUE(used.has_value());
    EXPECT_GE(*used, GetParam());
    EXPECT_EQ(test::ReadFile(dir / "again.bin"), bytes);
}

INSTANTIATE_TEST_SUITE_P(Methods, HostFileCopy,
                         testing::Values(CopyMethod::Clone, CopyMethod::KernelCopy,
                                         CopyMethod::ReadWrite));

// procfs tells a size of 0 and shares nothing: only reading finds its bytes.
TEST(HostFileCopyFallback, AFileSystemThatRefusesTheFastMethodsIsCopiedByReading) {
    test::TempDir dir;
    const UniqueFd input(::open("/proc/version", O_RDONLY | O_CLOEXEC));
    const UniqueFd output(::open((dir / "v").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600));
    ASSERT_TRUE(input && output);
    EXPECT_EQ(CopyFileData(input.Get(), output.Get()), CopyMethod::ReadWrite);
    EXPECT_FALSE(test::ReadFile(dir / "v").empty());
    EXPECT_EQ(test::ReadFile(dir / "v"), test::ReadFile("/proc/version"));
}

} // namespace
} // namespace zav
