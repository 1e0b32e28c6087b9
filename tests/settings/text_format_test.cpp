// FormatText and FormatTextLimited: safe filling of message texts.
#include "settings/text_format.h"

#include <gtest/gtest.h>

#include <string>

namespace zav {
namespace {

TEST(TextFormatTest, ConversionsTakeTheArgumentsInOrderAndShowThemAsTheyStand) {
    EXPECT_EQ(FormatText("%s: %d of %u (%ld, %i)", {"Copy", 3, 5L, 7LL, -2}),
              "Copy: 3 of 5 (7, -2)");
    EXPECT_EQ(FormatText("100%% done", {}), "100% done");
    EXPECT_EQ(FormatText("%x stays, so does 50%", {"unused"}), "%x stays, so does 50%");
    EXPECT_EQ(FormatText("'%s' and '%s'", {"one"}), "'one' and ''")
        << "a missing argument is empty";
    EXPECT_EQ(FormatText("%s", {static_cast<const char*>(nullptr)}), "");
    EXPECT_EQ(FormatText("Track '%s' is installed", {"%s%n%d%%"}), "Track '%s%n%d%%' is installed");
}

// The shortening of a long path in its middle is pinned by the error reports' test.
TEST(TextFormatTest, OnlyTextArgumentsAreShortenedAndTheRestIsCut) {
    EXPECT_EQ(FormatTextLimited("short '%s'", {"path"}, 100), "short 'path'");
    EXPECT_EQ(FormatTextLimited(std::string(300, 'm'), {}, 255), std::string(255, 'm'));
    EXPECT_EQ(FormatTextLimited("%d%s", {123456, "abcdef"}, 5), "12345");
}

} // namespace
} // namespace zav
