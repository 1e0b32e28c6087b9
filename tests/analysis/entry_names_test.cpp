// Name normalisation and the path-safety rule for entry names.
#include "analysis/entry_names.h"

#include <gtest/gtest.h>

namespace zav {
namespace {

std::string Normalised(std::string_view name) {
    NameText text;
    text.AssignCut(name);
    NormaliseName(text);
    return text.str();
}

TEST(NormaliseName, LowersAllAndRaisesALetterInFront) {
    EXPECT_EQ(Normalised("SPEED ring"), "Speed ring");
    EXPECT_EQ(Normalised("2fast"), "2fast");
    EXPECT_EQ(Normalised("zQ2"), "Zq2");
    EXPECT_EQ(Normalised(""), "");
}

TEST(NormaliseName, RaisesCodePage1252LowerCaseLettersInFrontOnly) {
    // Only ASCII letters are lowered; 0xE0-0xFE except 0xF7 count as lower-case first letters.
    EXPECT_EQ(Normalised("\xE9LAN"), "\xC9lan");
    EXPECT_EQ(Normalised("\xFE"
                         "a"),
              "\xDE"
              "a");
    EXPECT_EQ(Normalised("\xF7x"), "\xF7x");
    EXPECT_EQ(Normalised("\xFFx"), "\xFFx");
    EXPECT_EQ(Normalised("\xC9"
                         "CRIN"),
              "\xC9"
              "crin");
    EXPECT_EQ(Normalised("a\xC9"), "A\xC9");
}

TEST(SameEntryName, MatchesStoredSpellingsOfATableName) {
    EXPECT_TRUE(SameEntryName("\xE9lan", "\xC9lan"));
    EXPECT_TRUE(SameEntryName("bRAVO", "Bravo"));
    EXPECT_FALSE(SameEntryName("Bravo", "Brave"));
    EXPECT_FALSE(SameEntryName("x\xE9", "x\xC9")); // only the first letter is raised
}

TEST(IsSafeEntryName, RefusesNamesThatCouldLeaveTheirFolder) {
    for (const char* name : {"", ".", "..", "..\\evil", "a/b", "c:x", "\\", "x\\"}) {
        EXPECT_FALSE(IsSafeEntryName(name)) << name;
    }
    for (const char* name : {"Foo", ".hidden", "Speed ring", "a..b", "\xC9lan"}) {
        EXPECT_TRUE(IsSafeEntryName(name)) << name;
    }
}

TEST(SecondRecordFileName, ReplacesTheFirstCharacter) {
    EXPECT_EQ(SecondRecordFileName("Foo"), "-oo");
    EXPECT_EQ(SecondRecordFileName("X"), "-");
}

} // namespace
} // namespace zav
