// zav-patcher: the ZAV Data Patcher's window.
#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>
#include <cstring>
#include <iostream>
#include <optional>

#include "found_games.h"
#include "patcher_app.h"
#include "prefix_dialogs.h"
#include "program_start.h"
#include "source_defaults.h"
#include "zav_version.h"

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
        QStringLiteral("The Wine prefix of the game, or any folder inside it (default: "
                       "$WINEPREFIX, else the game found where Wine prefixes are kept: a "
                       "chooser when several are, a folder dialog when none is)."),
        QStringLiteral("DIR"));
    const QCommandLineOption sourceOption(
        QStringLiteral("source"),
        QStringLiteral(
            "The new data: a folder holding circuits/ and voitures/, one track's or car's "
            "folder, or a pack of either (.zip, .7z, .tar, .tar.gz, .tar.xz, .tar.bz2) (default: "
            "the program's own folder, else the one mounted medium holding them)."),
        QStringLiteral("DIR|PACK"));
    parser.addOption(prefixOption);
    parser.addOption(sourceOption);
    parser.addPositionalArgument(
        QStringLiteral("PATH"),
        QStringLiteral("The new data, as --source takes it (the file manager's \"Open With\")."),
        QStringLiteral("[PATH]"));
    parser.process(application);
    const QStringList paths = parser.positionalArguments();
    if (paths.size() > 1 || (paths.size() == 1 && parser.isSet(sourceOption))) {
        QMessageBox::critical(nullptr, QStringLiteral("ZAV Data Patcher"),
                              QStringLiteral("Name one source of new data: a folder or a pack."));
        return 2;
    }
    std::string source =
        paths.size() == 1 ? paths.front().toStdString() : parser.value(sourceOption).toStdString();
    // Started from a menu the working folder means nothing: the program's folder or a medium.
    const std::vector<std::string> severalMedia = zav::TakeWindowDefaultSource(source);

    // The game named, else the one found where Linux players keep Wine prefixes; with several
    // found and none named, the user chooses among them, and with none found names its folder.
    zav::PrefixDialogs questions;
    const std::optional<zav::PrefixChoice> choice =
        zav::SettlePrefix(zav::ChoosePrefix(parser.value(prefixOption).toStdString()), questions);
    if (!choice) {
        return 2; // the user declined to choose among the games found
    }
    std::string problem;
    const auto folders = zav::ResolveStartFolders(choice->prefix, source, problem);
    if (!folders) {
        QMessageBox::critical(nullptr, QStringLiteral("ZAV Data Patcher"),
                              QString::fromStdString(problem));
        return 2;
    }
    zav::PatcherApp app({*folders, zav::PlacesLookedNotice(*choice), severalMedia});
    return app.InitInstance();
}
