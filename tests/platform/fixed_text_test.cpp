// FixedText: texts that never pass their buffer.
#include "platform/fixed_text.h"

#include <gtest/gtest.h>

#include <string>

namespace zav {
namespace {

TEST(FixedTextTest, AssignRefusesATextLongerThan255AndLeavesItEmpty) {
    PathText text;
    ASSERT_TRUE(text.Assign("old"));
    EXPECT_FALSE(text.Assign(std::string(256, 'x')));
    EXPECT_TRUE(text.empty());
    EXPECT_TRUE(text.Assign(std::string(255, 'x')));
    EXPECT_EQ(text.size(), 255u);
}

TEST(FixedTextTest, AppendRefusesToPassTheBufferAndKeepsTheText) {
    PathText text;
    ASSERT_TRUE(text.Assign(std::string(250, 'a')));
    EXPECT_FALSE(text.Append("123456"));
    EXPECT_EQ(text.view(), std::string(250, 'a'));
    EXPECT_TRUE(text.Append("12345"));
    EXPECT_EQ(text.size(), 255u);
    EXPECT_EQ(text.c_str()[255], '\0');
}

TEST(FixedTextTest, AssignCutKeepsTheFirst255Characters) {
    PathText text;
    const std::string longText = std::string(255, 'k') + "cut";
    text.AssignCut(longText);
    EXPECT_EQ(text.view(), std::string(255, 'k'));
    FixedText<4> small;
    small.AssignCut("abcdef");
    EXPECT_EQ(small, "abc");
}

} // namespace
} // namespace zav
