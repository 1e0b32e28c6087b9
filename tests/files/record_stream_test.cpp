// RecordStream: positioning limits, the sticky fail flag and its check.
#include "files/record_stream.h"

#include <gtest/gtest.h>

#include "platform/posix/posix_file_system.h"
#include "support/temp_dir.h"

namespace zav {
namespace {

using test::Bytes;

class RecordStreamTest : public ::testing::Test {
protected:
    test::TempDir dir;
    PosixFileSystem files{dir.path()};
    RecordStream stream{files};
    std::string path = dir / "list.bin";
};

TEST_F(RecordStreamTest, PositioningOutsideTheFileFailsAndTheEndIsReachable) {
    test::WriteFile(path, Bytes(10, 0x55));
    ASSERT_TRUE(stream.Open(path, true));
    stream.Seek(10);
    EXPECT_TRUE(stream.Check()) << "the end of the file is where an append writes";
    stream.Seek(11);
    EXPECT_FALSE(stream.Check());
    stream.Seek(0);
    stream.SeekRelative(-1);
    EXPECT_FALSE(stream.Check());
    stream.Seek(4);
    stream.SeekRelative(6);
    EXPECT_TRUE(stream.Check());
}

TEST_F(RecordStreamTest, AFailureStaysUntilCheckedAndTheCheckClearsIt) {
    test::WriteFile(path, Bytes{1, 2, 3, 4});
    ASSERT_TRUE(stream.Open(path, true));
    stream.Seek(99);
    stream.Seek(0);
    std::uint8_t byte = 0;
    EXPECT_EQ(stream.Read(&byte, 1), 0) << "a failed stream does nothing";
    const std::uint8_t nine = 9;
    stream.Write(&nine, 1);
    EXPECT_EQ(test::ReadFile(path), (Bytes{1, 2, 3, 4}));
    EXPECT_FALSE(stream.Check());
    EXPECT_TRUE(stream.Check()) << "the check reports a failure once";
    stream.Seek(1);
    EXPECT_EQ(stream.Read(&byte, 1), 1);
    EXPECT_EQ(byte, 2);
}

} // namespace
} // namespace zav
