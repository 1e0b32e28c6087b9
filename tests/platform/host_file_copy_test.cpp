// Host file copies: bytes, permission bits and times arrive, and a refused method gives way.
#include "platform/posix/host_file_copy.h"

#include <gtest/gtest.h>

#include <fcntl.h>

#include "platform/posix/unique_fd.h"
#include "support/temp_dir.h"

namespace zav {
namespace {

// The slowest method, which every other falls back on, asked for by name: several buffers and a
// ragged tail, patterned so a misplaced block shows. CopyHostFile sets mode and times whatever the
// method; the file system's test sees them arrive.
TEST(HostFileCopy, ReadingCopiesEveryByte) {
    test::Bytes bytes((std::size_t{3} << 20) + 7);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>((i * 7 + i / 4096) & 0xFF);
    }
    test::TempDir dir;
    test::WriteFile(dir / "from", bytes);
    const UniqueFd input(::open((dir / "from").c_str(), O_RDONLY | O_CLOEXEC));
    const UniqueFd output(::open((dir / "to").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600));
    EXPECT_EQ(CopyFileData(input.Get(), output.Get(), CopyMethod::ReadWrite),
              CopyMethod::ReadWrite);
    EXPECT_EQ(test::ReadFile(dir / "to"), bytes);
}

// procfs tells a size of 0 and shares nothing: only reading finds its bytes.
TEST(HostFileCopy, AFileSystemThatRefusesTheFastMethodsIsCopiedByReading) {
    test::TempDir dir;
    const UniqueFd input(::open("/proc/version", O_RDONLY | O_CLOEXEC));
    const UniqueFd output(::open((dir / "v").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600));
    ASSERT_TRUE(input && output);
    EXPECT_EQ(CopyFileData(input.Get(), output.Get()), CopyMethod::ReadWrite);
    EXPECT_EQ(test::ReadFile(dir / "v"), test::ReadFile("/proc/version"));
}

} // namespace
} // namespace zav
