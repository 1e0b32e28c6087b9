// zav-patcher: the ZAV Data Patcher's window.
#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "patcher_app.h"
#include "platform/codepage.h"
#include "platform/program_location.h"
#include "zav_version.h"

namespace {

std::string DefaultPrefix() {
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix != nullptr && *prefix != '\0') {
        return prefix;
    }
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/.wine";
}

} // namespace

int main(int argc, char** argv) {
    // Answered before QApplication, which needs a display: a package tool or a user on a bare
    // terminal may ask which version is installed.
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        if (std::strcmp(argv[i], "--version") == 0 || std::strcmp(argv[i], "-v") == 0) {
            std::cout << "zav-patcher " ZAV_VERSION "\n";
            return 0;
        }
    }
    QApplication application(argc, argv);
    // No application display name: the window system would append it to every window's title,
    // and the message boxes must show their captions ("Fatal Error", "Warning") as they stand.
    QApplication::setApplicationName(QStringLiteral("zav-patcher"));
    QApplication::setApplicationVersion(QStringLiteral(ZAV_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Adds the new tracks and cars lying beside the tool (in circuits/ and voitures/) to the "
        "racing game ZAV installed in a Wine prefix, and removes added ones again."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption prefixOption(
        QStringLiteral("prefix"),
        QStringLiteral("The Wine prefix of the game (default: $WINEPREFIX, else ~/.wine)."),
        QStringLiteral("DIR"));
    const QCommandLineOption sourceOption(
        QStringLiteral("source"),
        QStringLiteral(
            "The folder holding circuits/ and voitures/ (default: the program's own folder)."),
        QStringLiteral("DIR"));
    parser.addOption(prefixOption);
    parser.addOption(sourceOption);
    parser.process(application);

    const std::string prefix =
        parser.isSet(prefixOption) ? parser.value(prefixOption).toStdString() : DefaultPrefix();
    const std::string source = parser.isSet(sourceOption) ? parser.value(sourceOption).toStdString()
                                                          : zav::ProgramFolder();
    const auto sourceFolder = zav::Utf8ToCp1252(source);
    if (!sourceFolder || !zav::Utf8ToCp1252(prefix)) {
        QMessageBox::critical(nullptr, QStringLiteral("ZAV Data Patcher"),
                              QStringLiteral("The folder '%1' has characters that the game's code "
                                             "page (1252) cannot write; move or link it to a "
                                             "folder with a plainer name.")
                                  .arg(QString::fromStdString(sourceFolder ? prefix : source)));
        return 2;
    }
    zav::PatcherApp app({prefix, *sourceFolder});
    return app.InitInstance();
}
