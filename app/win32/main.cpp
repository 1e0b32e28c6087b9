// zav-patcher.exe: the ZAV Data Patcher's window on Windows.
#include <string>
#include <string_view>
#include <vector>

#include "platform/codepage.h"
#include "platform/win32/win32_console.h"
#include "program_start.h"
#include "settings/string_table.h"
#include "shell/patcher_dialog.h"
#include "source_defaults.h"
#include "source_opening.h"
#include "zav_version.h"

#include "patcher_window.h"
#include "platform/win32/wide_text.h"

namespace {

constexpr int EXIT_USAGE = 2;

constexpr char kUsage[] =
    "zav-patcher [--source FOLDER]\n\n"
    "Adds the new tracks and cars lying beside the program (in its circuits\\ and voitures\\ "
    "folders) to the racing game ZAV, and removes added ones again.\n\n"
    "--source FOLDER\tthe folder holding circuits\\ and voitures\\, or one track's or car's "
    "folder (default: the program's own folder, else the CD drive holding them). A pack (.zip, "
    ".7z...) must first be extracted: "
    "in Explorer, right-click it, Extract All...\n"
    "--version\tthe program's version\n\n"
    "The game is found through its settings file in the Windows directory.";

// A window program has no console to print on: what the command line asks for is shown in a box.
int Tell(std::string_view text, UINT icon, int status) {
    MessageBoxW(nullptr, zav::Utf8ToWide(text).c_str(), L"ZAV Data Patcher", MB_OK | icon);
    return status;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    const std::vector<std::string> words = zav::Utf8Arguments();
    std::string source;
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::string_view word = words[i];
        if (word == "--version" || word == "-v") {
            return Tell("zav-patcher " ZAV_VERSION, MB_ICONINFORMATION, 0);
        }
        if (word == "--help" || word == "-h" || word == "/?") {
            return Tell(kUsage, MB_ICONINFORMATION, 0);
        }
        if (word == "--source" && i + 1 < words.size()) {
            source = words[++i];
        } else if (word.starts_with("--source=")) {
            source = word.substr(9);
        } else if (word == "--prefix" || word.starts_with("--prefix=")) {
            return Tell("--prefix names a Wine prefix, which Windows has not: on Windows the game "
                        "is found through the settings file in the Windows directory.",
                        MB_ICONHAND, EXIT_USAGE);
        } else {
            return Tell("Unknown argument '" + std::string(word) + "'.\n\n" + kUsage, MB_ICONHAND,
                        EXIT_USAGE);
        }
    }

    // Started from the Start menu the working folder means nothing: the program's folder or the
    // CD drive holding new data.
    const std::vector<std::string> severalMedia = zav::TakeWindowDefaultSource(source);
    std::string problem;
    auto folders = zav::ResolveStartFolders("", source, problem);
    if (!folders) {
        return Tell(problem, MB_ICONHAND, EXIT_USAGE);
    }
    zav::ProgramStart start(*folders);
    zav::PatcherWindow window(instance);
    window.SetLanguage(start.LanguageOffset());
    start.OpenSource();
    zav::PatcherDialog& dialog = start.Wire(window);
    window.AttachDialog(&dialog);
    window.OnStarted([&] {
        if (const std::string notice = start.StartNotice(severalMedia); !notice.empty()) {
            window.MessageBox(notice, dialog.Session().texts.Text(zav::TEXT_PROGRAM_TITLE),
                              MB_OK | MB_ICONEXCLAMATION);
        }
    });
    // A fatal error or a close of the window end the process themselves; the dialog returns here
    // only after "Close" (or Enter).
    window.Run();
    return 0;
}
