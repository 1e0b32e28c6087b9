#include <gtest/gtest.h>
#include "files/name_list_file.h"
#include "platform/posix/posix_file_system.h"
#include "support/list_bytes.h"
TEST(Smoke, Builds) {
    zav::test::TempDir dir;
    zav::test::WriteFile(dir / "a.bin", zav::test::ListFile({zav::test::CarRecord("Foo")}));
    zav::PosixFileSystem fs(dir.path());
    zav::NameListFile f(fs);
    ASSERT_EQ(f.Open(dir / "a.bin", false), 1);
    EXPECT_EQ(f.FindByName("FOO"), 1);
}
