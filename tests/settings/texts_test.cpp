// The string table's language blocks as LoadText hands them out.
#include "settings/texts.h"

#include <gtest/gtest.h>

#include <string>

#include "settings/string_table.h"
#include "support/recording_profile.h"

namespace zav {
namespace {

class TextsTest : public ::testing::Test {
protected:
    std::string Load(int id, std::string_view language) {
        profile.value = std::string(language);
        TextCatalog catalog(settings, profile);
        std::string text = "stale";
        loaded = catalog.LoadText(id, text);
        return text;
    }

    PatcherSettings settings;
    test::RecordingProfile profile;
    bool loaded = false;
};

TEST_F(TextsTest, EnglishIsTheBlockOfOffsetZero) {
    EXPECT_EQ(Load(102, "English"), "Tracks");
    EXPECT_EQ(Load(112, ""), "ZAV Data Patcher");
    EXPECT_EQ(Load(128, "Italian"), "Fatal Error");
    EXPECT_EQ(Load(119, "English"),
              "Car '%s' is in base list. Please make a Reset in ZAV 'Load New Car' menu\n\t\tand "
              "then delete it.");
    EXPECT_EQ(Load(139, "English"), ".");
    EXPECT_TRUE(loaded);
}

TEST_F(TextsTest, FrenchIsTheBlockOfOffset96InCodePage1252) {
    EXPECT_EQ(Load(137, "French"), "Information");
    EXPECT_EQ(settings.LanguageOffset, 96);
    EXPECT_EQ(Load(138, "French"), "Avertissement");
    EXPECT_EQ(Load(123, "French"), "ZAV non d\xE9tect\xE9");
    EXPECT_EQ(Load(117, "French"),
              "Le circuit '%s\" est d\xE9j\xE0 install\xE9 et ne sera pas ajout\xE9.")
        << "the name opens with a single quote and closes with a double one";
}

TEST_F(TextsTest, GermanHasItsFirstTextsAndEnglishWhereItHoldsPlaceholders) {
    EXPECT_EQ(Load(102, "German"), "Strecken");
    EXPECT_EQ(settings.LanguageOffset, 48);
    EXPECT_EQ(Load(103, "German"), "Fahrzeuge");
    EXPECT_EQ(Load(104, "German"), "Urspr\xFCngliche Daten");
    EXPECT_EQ(Load(105, "German"), "Verf\xFCgbare Daten");
    EXPECT_EQ(Load(106, "German"), "Hinzugef\xFCgte Daten");
    EXPECT_EQ(Load(108, "German"), "Installieren");
    EXPECT_EQ(Load(112, "German"), "ZAV Daten-Patcher");
    EXPECT_EQ(Load(114, "German"),
              "Please be patient while available tracks and cars are being analyzed...");
    EXPECT_EQ(Load(128, "German"), "Fatal Error");
    EXPECT_EQ(Load(138, "German"), "Warning");
    EXPECT_TRUE(loaded);
}

TEST_F(TextsTest, TheTableKeepsItsPlaceholdersAsStored) {
    EXPECT_EQ(StringTableText(162), ".");
    EXPECT_EQ(StringTableText(197), ".");
    EXPECT_EQ(StringTableText(245), ".");
    EXPECT_EQ(StringTableText(160), "ZAV Daten-Patcher");
}

TEST_F(TextsTest, IdsTheTableDoesNotHoldGiveFalseAndAnEmptyText) {
    for (const char* language : {"English", "German", "French"}) {
        for (const int id : {107, 109, 110, 111, 113}) {
            EXPECT_EQ(Load(id, language), "") << language << " " << id;
            EXPECT_FALSE(loaded) << language << " " << id;
        }
    }
    EXPECT_EQ(Load(101, "English"), "");
    EXPECT_FALSE(loaded);
    EXPECT_FALSE(StringTableText(0));
    EXPECT_FALSE(StringTableText(246));
}

TEST_F(TextsTest, EachEntryReadsTheLanguageOnItsOwnFirstUse) {
    profile.value = "French";
    TextCatalog catalog(settings, profile);
    std::string text;
    catalog.LoadText(138, text);
    catalog.LoadText(137, text);
    EXPECT_EQ(profile.lookups.size(), 1u);
    EXPECT_EQ(catalog.Text(138), "Avertissement");
    profile.value = "German";
    EXPECT_TRUE(catalog.LoadControlText(102, text));
    EXPECT_EQ(profile.lookups.size(), 2u);
    EXPECT_EQ(text, "Strecken");
    catalog.LoadControlText(103, text);
    catalog.LoadText(103, text);
    EXPECT_EQ(profile.lookups.size(), 2u);
}

} // namespace
} // namespace zav
