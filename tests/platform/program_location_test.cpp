// ProgramFolder: the folder of the running executable.
#include "platform/program_location.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace zav {
namespace {

TEST(ProgramLocationTest, IsTheFolderHoldingThisTestProgram) {
    const std::string folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), '/');
    EXPECT_TRUE(test::FileExists(folder + "/zav_core_tests"));
}

} // namespace
} // namespace zav
