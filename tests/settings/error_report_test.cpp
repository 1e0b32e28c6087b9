// What an error report shows: message, caption and style for each code and language.
#include "settings/error_report.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "support/recording_profile.h"

namespace zav {
namespace {

class ErrorReportTest : public ::testing::Test {
protected:
    ErrorReport Report(std::int32_t code, const char* argument, bool fatal = false) {
        return FormatErrorReport(texts, code, argument, fatal);
    }

    PatcherSettings settings;
    test::RecordingProfile profile;
    TextCatalog texts{settings, profile};
};

TEST_F(ErrorReportTest, CaptionAndIconFollowFatality) {
    const ErrorReport warning = Report(9, "ignored");
    EXPECT_EQ(warning.message, "");
    EXPECT_EQ(warning.caption, "ZAV Data Patcher");
    EXPECT_EQ(warning.style, 0x30u) << "OK with the exclamation icon";
    const ErrorReport fatal = Report(ERR_GAME_NOT_DETECTED, nullptr, true);
    EXPECT_EQ(fatal.message, "ZAV not detected");
    EXPECT_EQ(fatal.caption, "Fatal Error");
    EXPECT_EQ(fatal.style, 0x10u) << "OK with the stop icon";
}

TEST_F(ErrorReportTest, EachCodeHasItsMessage) {
    const std::pair<std::int32_t, std::string> cases[] = {
        {ERR_FILE_NOT_FOUND, "File 'ARG' not found"},
        {ERR_UNREFERENCED, "Unreferenced error"},
        {ERR_UNINSTALL, "Uninstall Quorvex product"},
        {ERR_TEMP_FILE, "Failed to create temporary file 'ARG'"},
        {ERR_UPDATE_FAILED, "Unable to update 'ARG' file"},
        {ERR_INSTALL_FAILED, "Unable to install 'ARG' file"},
        {ERR_NEW_DATA_NOT_FOUND, "New data files not found"},
        {ERR_TRACK_ALREADY_INSTALLED, "Track 'ARG' is already installed and won't be added."},
        {ERR_CAR_ALREADY_INSTALLED, "Car 'ARG' is already installed and won't be added."},
    };
    for (const auto& [code, message] : cases) {
        EXPECT_EQ(Report(code, "ARG").message, message) << code;
    }
    EXPECT_EQ(Report(ERR_CAR_IN_BASE_LIST, "Baz").message.substr(0, 30),
              "Car 'Baz' is in base list. Ple");
    EXPECT_EQ(Report(ERR_FILE_NOT_FOUND, "C:\\%s%n%x.bin").message,
              "File 'C:\\%s%n%x.bin' not found")
        << "an argument holding formats is shown as it stands";
    for (const std::int32_t code : {8, 9, 13, INT_MAX, -1, -2, INT_MIN}) {
        EXPECT_EQ(ErrorMessageId(code), 0) << code;
        EXPECT_EQ(Report(code, "%s").message, "") << code;
    }
}

TEST_F(ErrorReportTest, ALongPathKeepsTheMessageWithin255Characters) {
    const std::string path = "C:\\" + std::string(239, 't') + "\\circuits.bin";
    const std::string message = Report(ERR_TEMP_FILE, path.c_str(), true).message;
    EXPECT_EQ(message.size(), 255u);
    EXPECT_EQ(message.substr(0, 36), "Failed to create temporary file 'C:\\");
    EXPECT_EQ(message.substr(message.size() - 14), "\\circuits.bin'") << message;
    EXPECT_NE(message.find("..."), std::string::npos);
}

TEST_F(ErrorReportTest, ReportsSpeakTheChosenLanguageAndGermanFallsBackToEnglish) {
    profile.value = "French";
    const ErrorReport report = Report(ERR_TRACK_ALREADY_INSTALLED, "Foo");
    EXPECT_EQ(report.message,
              "Le circuit 'Foo\" est d\xE9j\xE0 install\xE9 et ne sera pas ajout\xE9.");
    EXPECT_EQ(report.caption, "ZAV Data Patcher");
    EXPECT_EQ(Report(ERR_GAME_NOT_DETECTED, nullptr, true).caption, "Erreur fatale");

    PatcherSettings german;
    test::RecordingProfile germanProfile("German");
    TextCatalog germanTexts(german, germanProfile);
    const ErrorReport fatal = FormatErrorReport(germanTexts, ERR_GAME_NOT_DETECTED, nullptr, true);
    EXPECT_EQ(fatal.message, "ZAV not detected");
    EXPECT_EQ(fatal.caption, "Fatal Error");
    EXPECT_EQ(FormatErrorReport(germanTexts, 9, nullptr, false).caption, "ZAV Daten-Patcher");
}

} // namespace
} // namespace zav
