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

TEST_F(TextsTest, EachLanguageHasItsBlockAndGermanFallsBackWhereItHoldsPlaceholders) {
    const std::tuple<int, const char*, const char*> cases[] = {
        {102, "English", "Tracks"},
        {112, "", "ZAV Data Patcher"},
        {128, "Italian", "Fatal Error"},
        {119, "English",
         "Car '%s' is in base list. Please make a Reset in ZAV 'Load New Car' "
         "menu\n\t\tand then delete it."},
        {139, "English", "."},
        {138, "French", "Avertissement"},
        {123, "French", "ZAV non d\xE9tect\xE9"},
        // The name opens with a single quote and closes with a double one.
        {117, "French", "Le circuit '%s\" est d\xE9j\xE0 install\xE9 et ne sera pas ajout\xE9."},
        {102, "German", "Strecken"},
        {104, "German", "Urspr\xFCngliche Daten"},
        {106, "German", "Hinzugef\xFCgte Daten"},
        {112, "German", "ZAV Daten-Patcher"},
        {114, "German", "Please be patient while available tracks and cars are being analyzed..."},
        {128, "German", "Fatal Error"},
        {138, "German", "Warning"},
    };
    for (const auto& [id, language, text] : cases) {
        EXPECT_EQ(Load(id, language), text) << language << " " << id;
        EXPECT_TRUE(loaded);
    }
    EXPECT_EQ(settings.LanguageOffset, 48);
    EXPECT_EQ(StringTableText(162), ".") << "the table keeps its placeholders as stored";
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

} // namespace
} // namespace zav
