// Code page 1252 <-> UTF-8, the ASCII-only case folding of names, and texts bounded to 255.
#include "platform/codepage.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/fixed_text.h"

namespace zav {
namespace {

TEST(CodepageTest, EveryCodePageByteSurvivesTheRoundTripAsItsUnicodeCharacter) {
    for (int byte = 0; byte < 256; ++byte) {
        const std::string text(1, static_cast<char>(byte));
        EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(text)), text) << "byte " << byte;
    }
    EXPECT_EQ(Cp1252ToUtf8("Caf\xE9"), "Caf\xC3\xA9");
    EXPECT_EQ(Cp1252ToUtf8("\x80"), "\xE2\x82\xAC") << "the euro sign";
    EXPECT_EQ(Cp1252ToUtf8("\x9F"), "\xC5\xB8");
    EXPECT_EQ(Cp1252ToUtf8("\x9D"), "\xC2\x9D") << "an undefined byte keeps its value";
}

TEST(CodepageTest, UnwritableOrMalformedUtf8IsRefused) {
    for (const char* text : {"\xC5\x8Csaka", "\xE6\x97\xA5", "\xF0\x9F\x9A\x97",
                             "\xC2\x80", // U+0080 has no byte: 0x80 is the euro
                             "Caf\xE9",  // a code page byte is not UTF-8
                             "\xC3", "\xC0\xAF", "\xED\xA0\x80", "\x80"}) {
        EXPECT_FALSE(Utf8ToCp1252(text).has_value()) << text;
    }
}

TEST(CodepageTest, CaseIsIgnoredForAsciiLettersOnly) {
    EXPECT_TRUE(EqualsIgnoringAsciiCase("Circuits.BIN", "circuits.bin"));
    EXPECT_FALSE(EqualsIgnoringAsciiCase("circuit", "circuits"));
    EXPECT_FALSE(EqualsIgnoringAsciiCase("caf\xE9", "CAF\xC9"));
    EXPECT_FALSE(EqualsIgnoringAsciiCase("[", "{")) << "only letters fold";
}

TEST(FixedTextTest, TextsNeverPassTheirBuffer) {
    PathText text;
    ASSERT_TRUE(text.Assign("old"));
    EXPECT_FALSE(text.Assign(std::string(256, 'x')));
    EXPECT_TRUE(text.empty()) << "a refused assignment leaves it empty";
    ASSERT_TRUE(text.Assign(std::string(250, 'a')));
    EXPECT_FALSE(text.Append("123456"));
    EXPECT_EQ(text.view(), std::string(250, 'a')) << "a refused append keeps the text";
    EXPECT_TRUE(text.Append("12345"));
    EXPECT_EQ(text.size(), 255u);
    const std::string longText = std::string(255, 'k') + "cut";
    text.AssignCut(longText);
    EXPECT_EQ(text.view(), std::string(255, 'k'));
    FixedText<4> small;
    small.AssignCut("abcdef");
    EXPECT_EQ(small, "abc");
}

} // namespace
} // namespace zav
