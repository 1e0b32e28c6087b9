// What an error report shows: message, caption and style for each code and language.
#include "settings/error_report.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "platform/ui.h"
#include "support/recording_profile.h"

namespace zav {
namespace {

class ErrorReportTest : public ::testing::Test {
protected:
    ErrorReport Report(std::int32_t code, const char* argument, bool fatal) {
        return FormatErrorReport(texts, code, argument, fatal);
    }

    PatcherSettings settings;
    test::RecordingProfile profile;
    TextCatalog texts{settings, profile};
};

TEST_F(ErrorReportTest, ANonFatalReportUsesTheProgramTitleAndTheExclamationIcon) {
    const ErrorReport report = Report(9, "ignored", false);
    EXPECT_EQ(report.message, "");
    EXPECT_EQ(report.caption, "ZAV Data Patcher");
    EXPECT_EQ(report.style, 0x30u);
    EXPECT_EQ(report.style, MB_OK | MB_ICONEXCLAMATION);
}

TEST_F(ErrorReportTest, AFatalReportUsesFatalErrorAndTheStopIcon) {
    const ErrorReport report = Report(ERR_GAME_NOT_DETECTED, nullptr, true);
    EXPECT_EQ(report.message, "ZAV not detected");
    EXPECT_EQ(report.caption, "Fatal Error");
    EXPECT_EQ(report.style, 0x10u);
}

TEST_F(ErrorReportTest, EachCodeHasItsMessage) {
    const char* path = "C:\\Games\\ZAV\\Data\\Binary\\Scripts\\circuits.bin";
    EXPECT_EQ(Report(ERR_FILE_NOT_FOUND, path, false).message,
              "File 'C:\\Games\\ZAV\\Data\\Binary\\Scripts\\circuits.bin' not found");
    EXPECT_EQ(Report(ERR_UNREFERENCED, "", false).message, "Unreferenced error");
    EXPECT_EQ(Report(ERR_UNINSTALL, nullptr, false).message, "Uninstall Quorvex product");
    EXPECT_EQ(Report(ERR_TEMP_FILE, "t", true).message, "Failed to create temporary file 't'");
    EXPECT_EQ(Report(ERR_UPDATE_FAILED, "u", false).message, "Unable to update 'u' file");
    EXPECT_EQ(Report(ERR_INSTALL_FAILED, "i", false).message, "Unable to install 'i' file");
    EXPECT_EQ(Report(ERR_NEW_DATA_NOT_FOUND, "x", false).message, "New data files not found");
    EXPECT_EQ(Report(ERR_TRACK_ALREADY_INSTALLED, "Foo", false).message,
              "Track 'Foo' is already installed and won't be added.");
    EXPECT_EQ(Report(ERR_CAR_ALREADY_INSTALLED, "Bar", false).message,
              "Car 'Bar' is already installed and won't be added.");
    EXPECT_EQ(Report(ERR_CAR_IN_BASE_LIST, "Baz", false).message.substr(0, 30),
              "Car 'Baz' is in base list. Ple");
}

TEST_F(ErrorReportTest, CodesWithoutMessageShowAnEmptyOne) {
    for (const std::int32_t code : {8, 9, 13, INT_MAX, -1, -2, INT_MIN}) {
        EXPECT_EQ(ErrorMessageId(code), 0) << code;
        EXPECT_EQ(Report(code, "%s", false).message, "") << code;
    }
}

TEST_F(ErrorReportTest, ALongPathKeepsTheMessageWithin255Characters) {
    const std::string path = "C:\\" + std::string(239, 't') + "\\circuits.bin";
    ASSERT_EQ(path.size(), 255u);
    const std::string message = Report(ERR_TEMP_FILE, path.c_str(), true).message;
    EXPECT_EQ(message.size(), 255u);
    EXPECT_EQ(message.substr(0, 36), "Failed to create temporary file 'C:\\");
    EXPECT_EQ(message.substr(message.size() - 14), "\\circuits.bin'") << message;
    EXPECT_NE(message.find("..."), std::string::npos);
}

TEST_F(ErrorReportTest, AnArgumentHoldingFormatsIsShownAsItStands) {
    EXPECT_EQ(Report(ERR_FILE_NOT_FOUND, "C:\\%s%n%x.bin", false).message,
              "File 'C:\\%s%n%x.bin' not found");
}

TEST_F(ErrorReportTest, ReportsSpeakTheChosenLanguage) {
    profile.value = "French";
    const ErrorReport report = Report(ERR_TRACK_ALREADY_INSTALLED, "Foo", false);
    EXPECT_EQ(report.message,
              "Le circuit 'Foo\" est d\xE9j\xE0 install\xE9 et ne sera pas ajout\xE9.");
    EXPECT_EQ(report.caption, "ZAV Data Patcher");
    EXPECT_EQ(Report(ERR_GAME_NOT_DETECTED, nullptr, true).caption, "Erreur fatale");
}

TEST_F(ErrorReportTest, GermanReportsFallBackToEnglishTexts) {
    profile.value = "German";
    const ErrorReport report = Report(ERR_GAME_NOT_DETECTED, nullptr, true);
    EXPECT_EQ(report.message, "ZAV not detected");
    EXPECT_EQ(report.caption, "Fatal Error");
    EXPECT_EQ(Report(9, nullptr, false).caption, "ZAV Daten-Patcher");
}

} // namespace
} // namespace zav
