// Host file copies by each method: the bytes, the permission bits and the times arrive, and a
// method the file system refuses gives way to a slower one.
#include "platform/posix/host_file_copy.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdlib>

#include "platform/posix/unique_fd.h"
#include "support/temp_dir.h"

namespace zav {
namespace {

// Over several read/write buffers and a ragged tail, and patterned so a misplaced block shows.
test::Bytes PatternedBytes() {
    test::Bytes bytes((std::size_t{3} << 20) + 7);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>((i * 7 + i / 4096) & 0xFF);
    }
    return bytes;
}

class HostFileCopy : public testing::TestWithParam<CopyMethod> {};

std::string MethodName(const testing::TestParamInfo<CopyMethod>& method) {
    static constexpr const char* kNames[] = {"Clone", "KernelCopy", "ReadWrite"};
    return kNames[static_cast<int>(method.param)];
}

TEST_P(HostFileCopy, KeepsBytesModeAndTimesAndIsNeverFasterThanAllowed) {
    test::TempDir dir;
    const std::string from = dir / "from.bin";
    const std::string to = dir / "to.bin";
    const test::Bytes bytes = PatternedBytes();
    test::WriteFile(from, bytes);
    const struct timespec times[2] = {{981173106, 5}, {981173106, 123456789}};
    ASSERT_EQ(::utimensat(AT_FDCWD, from.c_str(), times, 0), 0);
    const UniqueFd input(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
    const UniqueFd output(::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    struct stat fromInfo {};
    ASSERT_EQ(::fstat(input.Get(), &fromInfo), 0);

    ASSERT_TRUE(CopyHostFile(input.Get(), fromInfo, output.Get(), 0444, GetParam()));
    struct stat toInfo {}; // before reading the copy moves its access time on
    ASSERT_EQ(::stat(to.c_str(), &toInfo), 0);
    EXPECT_EQ(toInfo.st_mode & 07777, 0444u);
    EXPECT_EQ(toInfo.st_mtim.tv_sec, 981173106);
    EXPECT_EQ(toInfo.st_mtim.tv_nsec, 123456789);
    EXPECT_EQ(toInfo.st_atim.tv_nsec, 5);
    EXPECT_EQ(test::ReadFile(to), bytes);

    const UniqueFd again(::open((dir / "again.bin").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600));
    const auto used = CopyFileData(input.Get(), again.Get(), GetParam());
    ASSERT_TRUE(used.has_value());
    EXPECT_GE(*used, GetParam());
    EXPECT_EQ(test::ReadFile(dir / "again.bin"), bytes);
}

INSTANTIATE_TEST_SUITE_P(Methods, HostFileCopy,
                         testing::Values(CopyMethod::Clone, CopyMethod::KernelCopy,
                                         CopyMethod::ReadWrite),
                         MethodName);

// procfs tells a size of 0 and shares nothing: only reading finds its bytes.
TEST(HostFileCopyFallback, AFileSystemThatRefusesTheFastMethodsIsCopiedByReading) {
    test::TempDir dir;
    const std::string to = dir / "version";
    const UniqueFd input(::open("/proc/version", O_RDONLY | O_CLOEXEC));
    const UniqueFd output(::open(to.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600));
    ASSERT_TRUE(input && output);
    EXPECT_EQ(CopyFileData(input.Get(), output.Get()), CopyMethod::ReadWrite);
    const test::Bytes copied = test::ReadFile(to);
    EXPECT_FALSE(copied.empty());
    EXPECT_EQ(copied, test::ReadFile("/proc/version"));
}

} // namespace
} // namespace zav
