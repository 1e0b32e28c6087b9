// RecordStream: positioning limits, the sticky fail flag and its check.
#include "files/record_stream.h"

#include <gtest/gtest.h>

#include "platform/posix/posix_file_system.h"
#include "support/temp_dir.h"

namespace zav {
namespace {

TEST(RecordStreamTest, PositionsOutsideTheFileFailUntilCheckedAndTheEndIsReachable) {
    test::TempDir dir;
    PosixFileSystem files{dir.path()};
    RecordStream stream{files};
    test::WriteFile(dir / "list.bin", test::Bytes{1, 2, 3, 4});
    ASSERT_TRUE(stream.Open(dir / "list.bin", true));
    stream.Seek(4);
    EXPECT_TRUE(stream.Check()) << "the end of the file is where an append writes";
    stream.Seek(0);
    stream.SeekRelative(-1);
    EXPECT_FALSE(stream.Check());
    stream.Seek(1);
    stream.SeekRelative(3);
    EXPECT_TRUE(stream.Check());

    stream.Seek(5);
    stream.Seek(0);
    std::uint8_t byte = 9;
    EXPECT_EQ(stream.Read(&byte, 1), 0) << "a failed stream does nothing";
    stream.Write(&byte, 1);
    EXPECT_EQ(test::ReadFile(dir / "list.bin"), (test::Bytes{1, 2, 3, 4}));
    EXPECT_FALSE(stream.Check());
    EXPECT_TRUE(stream.Check()) << "the check reports a failure once";
    stream.Seek(1);
    EXPECT_EQ(stream.Read(&byte, 1), 1);
    EXPECT_EQ(byte, 2);
}

} // namespace
} // namespace zav
