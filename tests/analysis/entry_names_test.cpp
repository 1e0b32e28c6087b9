// Name normalisation and the path-safety rule for entry names.
#include "analysis/entry_names.h"

#include <gtest/gtest.h>

namespace zav {
namespace {

TEST(EntryNames, NormaliseLowersAsciiAndRaisesTheFirstLetterIncludingCp1252) {
    // Only ASCII letters are lowered; 0xE0-0xFE except 0xF7 count as lower-case first letters.
    const std::pair<const char*, const char*> cases[] = {
        {"SPEED ring", "Speed ring"}, {"2fast", "2fast"},   {"zQ2", "Zq2"},     {"", ""},
        {"\xE9LAN", "\xC9lan"},       {"\xFE_a", "\xDE_a"}, {"\xF7x", "\xF7x"}, {"\xFFx", "\xFFx"},
        {"\xC9 CRIN", "\xC9 crin"},   {"a\xC9", "A\xC9"},
    };
    for (const auto& [name, expected] : cases) {
        NameText text;
        text.AssignCut(name);
        NormaliseName(text);
        EXPECT_EQ(text.str(), expected) << name;
    }
    EXPECT_TRUE(SameEntryName("\xE9lan", "\xC9lan") && SameEntryName("bRAVO", "Bravo"));
    // Only the first letter is raised.
    EXPECT_FALSE(SameEntryName("Bravo", "Brave") || SameEntryName("x\xE9", "x\xC9"));
}

TEST(EntryNames, UnsafeNamesAreRefusedAndTheSecondRecordFileIsNamed) {
    for (const char* name : {"", ".", "..", "..\\evil", "a/b", "c:x", "\\", "x\\", "Tab\tTrack",
                             "a\nb", "a\rb", "\x01", "x\x7F"}) {
        EXPECT_FALSE(IsSafeEntryName(name)) << name;
    }
    for (const char* name : {"Foo", ".hidden", "Speed ring", "a..b", "\xC9lan"}) {
        EXPECT_TRUE(IsSafeEntryName(name)) << name;
    }
    EXPECT_EQ(SecondRecordFileName("Foo"), "-oo");
    EXPECT_EQ(SecondRecordFileName("X"), "-");
}

} // namespace
} // namespace zav
