// Code page 1252 <-> UTF-8 conversion and the ASCII-only case folding of names.
#include "platform/codepage.h"

#include <gtest/gtest.h>

#include <string>

namespace zav {
namespace {

TEST(CodepageTest, EveryCodePageByteSurvivesTheRoundTrip) {
    for (int byte = 0; byte < 256; ++byte) {
        const std::string text(1, static_cast<char>(byte));
        const auto back = Utf8ToCp1252(Cp1252ToUtf8(text));
        ASSERT_TRUE(back.has_value()) << "byte " << byte;
        EXPECT_EQ(*back, text) << "byte " << byte;
    }
}

TEST(CodepageTest, BytesBecomeTheirUnicodeCharacters) {
    EXPECT_EQ(Cp1252ToUtf8("Caf\xE9"), "Caf\xC3\xA9");
    EXPECT_EQ(Cp1252ToUtf8("\x80"), "\xE2\x82\xAC") << "the euro sign";
    EXPECT_EQ(Cp1252ToUtf8("\x9F"), "\xC5\xB8") << "Y with diaeresis";
    EXPECT_EQ(Cp1252ToUtf8("\x9D"), "\xC2\x9D") << "an undefined byte keeps its value";
    EXPECT_EQ(Utf8ToCp1252("Ursprüngliche"), "Urspr\xFCngliche");
}

TEST(CodepageTest, CharactersTheCodePageCannotWriteAreRefused) {
    EXPECT_FALSE(Utf8ToCp1252("\xC5\x8Csaka").has_value()) << "O with macron";
    EXPECT_FALSE(Utf8ToCp1252("\xE6\x97\xA5").has_value());
    EXPECT_FALSE(Utf8ToCp1252("\xF0\x9F\x9A\x97").has_value());
    EXPECT_FALSE(Utf8ToCp1252("\xC2\x80").has_value()) << "U+0080 has no byte: 0x80 is the euro";
}

TEST(CodepageTest, MalformedUtf8IsRefused) {
    EXPECT_FALSE(Utf8ToCp1252("Caf\xE9").has_value()) << "a code page byte is not UTF-8";
    EXPECT_FALSE(Utf8ToCp1252("\xC3").has_value()) << "cut sequence";
    EXPECT_FALSE(Utf8ToCp1252("\xC0\xAF").has_value()) << "overlong form of '/'";
    EXPECT_FALSE(Utf8ToCp1252("\xED\xA0\x80").has_value()) << "surrogate";
    EXPECT_FALSE(Utf8ToCp1252("\x80").has_value()) << "lone continuation byte";
}

TEST(CodepageTest, CaseIsIgnoredForAsciiLettersOnly) {
    EXPECT_TRUE(EqualsIgnoringAsciiCase("Circuits.BIN", "circuits.bin"));
    EXPECT_TRUE(EqualsIgnoringAsciiCase("", ""));
    EXPECT_FALSE(EqualsIgnoringAsciiCase("circuit", "circuits"));
    EXPECT_FALSE(EqualsIgnoringAsciiCase("caf\xE9", "CAF\xC9"));
    EXPECT_FALSE(EqualsIgnoringAsciiCase("[", "{")) << "only letters fold";
    EXPECT_EQ(AsciiLower('Z'), 'z');
    EXPECT_EQ(AsciiLower('\xC9'), '\xC9');
}

} // namespace
} // namespace zav
