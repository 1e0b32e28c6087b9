// Case variants of the mixed-case sample.
#include "tools/disk_spelling.h"

#include <gtest/gtest.h>

#include "platform/codepage.h"

namespace zav {
namespace {

TEST(DiskSpelling, MixedCaseDiffersOnlyInCase) {
    for (const char* name :
         {"Games", "ZAV", "circuits.bin", "Quarry.img", "-uarry.brt", "a", "Zq2"}) {
        const std::string spelt = DiskSpelling(name, true);
        EXPECT_NE(spelt, name);
        EXPECT_TRUE(EqualsIgnoringAsciiCase(spelt, name)) << spelt;
        EXPECT_EQ(DiskSpelling(name, true), spelt) << "the same name is always spelt alike";
        EXPECT_EQ(DiskSpelling(name, false), name);
    }
    EXPECT_EQ(DiskSpelling("2-1", true), "2-1");
}

} // namespace
} // namespace zav
