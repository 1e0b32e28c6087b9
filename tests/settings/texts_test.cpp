// The string table's language blocks as LoadText hands them out, the error reports made of
// them (message, caption and style for each code and language), and the safe filling of texts.
#include "settings/texts.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>

#include "settings/error_report.h"
#include "settings/string_table.h"
#include "settings/text_format.h"

namespace zav {
namespace {

// Answers `language` to every lookup, cut to the buffer like the real profile.
class LanguageProfile final : public Profile {
public:
    std::string GetString(std::string_view, std::string_view, std::string_view, std::size_t size,
                          std::string_view) override {
        return language.substr(0, size == 0 ? 0 : size - 1);
    }
    std::string language;
};

class TextsTest : public ::testing::Test {
protected:
    // A catalog of its own reads the language at its first use.
    TextCatalog& Catalog(std::string_view language) {
        profile.language = language;
        return catalog.emplace(settings, profile);
    }
    std::string Load(int id, std::string_view language) {
        std::string text = "stale";
        loaded = Catalog(language).LoadText(id, text);
        return text;
    }
    ErrorReport Report(std::int32_t code, const char* argument, bool fatal = false,
                       std::string_view language = "English") {
        return FormatErrorReport(Catalog(language), code, argument, fatal);
    }

    PatcherSettings settings;
    LanguageProfile profile;
    std::optional<TextCatalog> catalog;
    bool loaded = false;
};

TEST_F(TextsTest, EachLanguageHasItsBlockGermanFallsBackAndMissingIdsGiveNothing) {
    const std::tuple<int, const char*, const char*> cases[] = {
        {102, "English", "Tracks"},
        {112, "", "ZAV Data Patcher"},
        {128, "Italian", "Fatal Error"},
        {139, "English", "."},
        {138, "French", "Avertissement"},
        {123, "French", "ZAV non d\xE9tect\xE9"},
        {102, "German", "Strecken"},
        {104, "German", "Urspr\xFCngliche Daten"},
        {114, "German", "Please be patient while available tracks and cars are being analyzed..."},
        {138, "German", "Warning"},
    };
    for (const auto& [id, language, text] : cases) {
        EXPECT_EQ(Load(id, language), text) << language << " " << id;
        EXPECT_TRUE(loaded);
    }
    EXPECT_EQ(settings.LanguageOffset, 48);
    EXPECT_EQ(StringTableText(162), ".") << "the table keeps its placeholders as stored";

    // Ids the table does not hold give false and an empty text.
    for (const char* language : {"English", "German", "French"}) {
        for (const int id : {107, 109, 110, 111, 113}) {
            EXPECT_EQ(Load(id, language), "") << language << " " << id;
            EXPECT_FALSE(loaded) << language << " " << id;
        }
    }
    EXPECT_EQ(Load(101, "English"), "");
    EXPECT_FALSE(loaded || StringTableText(0) || StringTableText(246));
}

TEST_F(TextsTest, ReportsOfEachCodeAndLanguageNeverUseArgumentsAsFormatsAndAreCutTo255) {
    const std::pair<std::int32_t, std::string> cases[] = {
        {ERR_FILE_NOT_FOUND, "File 'ARG' not found"},
        {ERR_UNREFERENCED, "Unreferenced error"},
        {ERR_UNINSTALL, "Uninstall Quorvex product"},
        {ERR_TEMP_FILE, "Failed to create temporary file 'ARG'"},
        {ERR_UPDATE_FAILED, "Unable to update 'ARG' file"},
        {ERR_INSTALL_FAILED, "Unable to install 'ARG' file"},
        {ERR_CAR_ALREADY_INSTALLED, "Car 'ARG' is already installed and won't be added."},
    };
    for (const auto& [code, message] : cases) {
        EXPECT_EQ(Report(code, "ARG").message, message) << code;
    }
    EXPECT_EQ(Report(ERR_CAR_IN_BASE_LIST, "Baz").message,
              "Car 'Baz' is in base list. Please make a Reset in ZAV 'Load New Car' menu\n\t\tand "
              "then delete it.");
    EXPECT_EQ(Report(ERR_FILE_NOT_FOUND, "C:\\%s%n%x.bin").message,
              "File 'C:\\%s%n%x.bin' not found");
    for (const std::int32_t code : {8, 9, 13, INT_MAX, -1, INT_MIN}) {
        EXPECT_EQ(ErrorMessageId(code), 0) << code;
        EXPECT_EQ(Report(code, "%s").message, "") << code;
    }

    // A long path is shortened in its middle, and messages are cut to 255.
    const std::string path = "C:\\" + std::string(239, 't') + "\\circuits.bin";
    const std::string message = Report(ERR_TEMP_FILE, path.c_str(), true).message;
    EXPECT_EQ(message.size(), 255u);
    EXPECT_EQ(message.substr(0, 36), "Failed to create temporary file 'C:\\");
    EXPECT_EQ(message.substr(message.size() - 14), "\\circuits.bin'") << message;
    EXPECT_NE(message.find("..."), std::string::npos);
    EXPECT_EQ(FormatTextLimited(std::string(300, 'm'), {}, 255), std::string(255, 'm'));
    EXPECT_EQ(FormatTextLimited("%d%s", {123456, "abcdef"}, 5), "12345") << "numbers stay whole";

    // Reports speak the chosen language; German falls back to English.
    // The name opens with a single quote and closes with a double one, as the table has it.
    const ErrorReport french = Report(ERR_TRACK_ALREADY_INSTALLED, "Foo", false, "French");
    EXPECT_EQ(french.message,
              "Le circuit 'Foo\" est d\xE9j\xE0 install\xE9 et ne sera pas ajout\xE9.");
    EXPECT_EQ(french.caption, "ZAV Data Patcher");
    EXPECT_EQ(Report(ERR_GAME_NOT_DETECTED, nullptr, true, "French").caption, "Erreur fatale");
    const ErrorReport german = Report(ERR_GAME_NOT_DETECTED, nullptr, true, "German");
    EXPECT_EQ(german.message + "|" + german.caption, "ZAV not detected|Fatal Error");
    EXPECT_EQ(german.style, 0x10u);
    const ErrorReport warning = Report(9, nullptr, false, "German");
    EXPECT_EQ(warning.caption, "ZAV Daten-Patcher");
    EXPECT_EQ(warning.style, 0x30u);
}

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

} // namespace
} // namespace zav
