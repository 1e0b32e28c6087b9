// zavpatch: the ZAV Data Patcher's dialog on a terminal.
#include <CLI/CLI.hpp>
#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "check_commands.h"
#include "commands.h"
#include "dry_run_plan.h"
#include "games_command.h"
#include "history_commands.h"
#include "platform/codepage.h"
#include "platform/profile_reader.h"
#include "program_start.h"
#include "settings/error_report.h"
#include "source_defaults.h"
#include "source_opening.h"
#include "stop_signals.h"
#include "terminal_view.h"
#include "zav_version.h"
#ifdef _WIN32
#include "platform/win32/win32_console.h"
#endif

namespace {

constexpr const char* kDescription =
    "zavpatch adds the new tracks and cars that lie beside it (in the sub-folders of circuits/ "
    "and voitures/ of its own folder, or of --source) to the racing game ZAV installed in a Wine "
    "prefix, and removes added ones again. It runs the same dialog as the window zav-patcher: "
    "\"install\" selects the named entries of \"New Proposed Data\", presses \"Add to List\" and "
    "then \"Install New\"; \"trash\" selects the entry of \"Added Data\" and presses \"Trash\". "
    "Every run ends with \"Close\", which removes the tool's working copies and staging lists. "
    "Every run that changes the game is recorded in the folder PatcherHistory of the game's "
    "folder, so that \"undo\" can take it back.";

constexpr const char* kFooter = R"(
Names are matched without regard to case.

Message boxes are printed to standard error with their caption. Questions (replace an existing
game file? delete a track or car?) are answered Yes with --yes, No with --no, and otherwise asked
on the terminal itself (/dev/tty, whatever the redirections; Enter means Yes), or answered No when
the run has no terminal. Ctrl-C, SIGTERM and SIGHUP end the run as Close does: the working copies
and the temporary folder are removed, and the game's lists are whole: a command under way ends
first, with every question answered No (a second signal ends the run at once).
Progress shows as a text bar when standard error is a terminal. The command line makes no pauses.

Exit status:
  0    everything asked for was done
  1    a message, a warning or a No left something undone (an entry already installed,
       a missing file, a declined question, not enough free space, a source folder that
       cannot be read, output that cannot be written; for check: something was found)
  2    a usage error, a name that is not in the list it must come from, or several
       games found and none named (checked before anything is done, so nothing changes)
  255  a fatal error: ZAV not detected, a missing list file of the game, working copies that
       cannot be made, a folder for temporary files ($TMPDIR, else /tmp) that cannot be
       used, or the tool already running on the same game

Finding the game: without --prefix, the game is the one of $WINEPREFIX when it is set, else the
one game found in the places where Wine prefixes are kept: ~/.wine, winetricks'
~/.local/share/wineprefixes, Lutris (its games' configuration and ~/Games), Bottles (also its
Flatpak and a custom bottles folder), PlayOnLinux, Steam's Proton prefixes in every Steam library
(native, Flatpak, Snap) and Heroic. A prefix holds the game when its Windows directory holds
Quorvex\Qvx.ini. "games" lists every game found, one line each, fields separated by a tab: where
it was found (wineprefix, wine, winetricks, lutris, bottles, playonlinux, steam, heroic), the
prefix, the game's folder as its settings file names it, the version (1 or 2) and the language;
it exits 0, or 1 when it found none (the places it looked at go to standard error). When several
games are found, the other commands exit 2 and list them: choose one with --prefix, which also
takes any folder inside a prefix (its drive_c, the game's folder) and goes up to the prefix.

Packs: --source takes a folder or a pack (a .zip, .7z, .tar, .tar.gz, .tar.xz or .tar.bz2
archive). The new data may lie at its top or inside one top folder, in the disc's layout
(circuits/ and voitures/) or as one track's or car's folder (whose own circuits.bin or
voitures.bin names it). A pack is unpacked into the run's private temporary folder, at most 4 GiB
and never so much that the folder's file system fills, and removed at the end of the run. A pack
with an entry that could be written elsewhere (an absolute path, a drive letter, a ".." part), a
link, a device, a name the game's code page cannot write, an encrypted entry or damaged data is
not used at all, and the message names the entry (exit status 1). The Windows build reads no
packs: extract them first.

Where the new data is: without --source, in the program's own folder when it holds circuits/ or
voitures/ (a disc it runs from), else in the working folder when it does, else on the one mounted
medium under /media/$USER, /run/media/$USER or /mnt that does; several such media give exit 2 and
are listed: choose one with --source. When none holds new data, status and install say so and
how to name a folder or pack.

Dry run: with --dry-run, install and trash (and undo) run the same dialog, answer the same
questions and give the same exit status, but every change stays in memory: nothing on disk
changes, neither the game nor the disc nor the temporary folder (but for a pack, which is
unpacked there as in a real run). The plan is printed on standard
output, one line per change (copy, replace, write, keep, delete, list, attrib, mkdir).

History: "history" lists the recorded changes of the game, newest first, with what each added,
removed, created, replaced and deleted. "undo" reverts the newest change not yet undone: the
game's lists get their earlier bytes back, files the change created are deleted, files it
replaced or deleted come back with their bytes, attributes and dates. It changes nothing and
exits 1 when a file the change touched has been changed since (the message names it), or when
there is nothing to undo. A run or an undo that was killed is finished by running undo again.
A trash of an entry whose install the history knows deletes only the files that install created
or replaced, never a file kept by answering No. The saved files of the newest 20 changes (at most
1 GiB) are kept; older changes stay listed, no longer undoable. A history that cannot be kept
(PatcherHistory a link, a file, a folder this user may not write, or full) stops install and
trash before their first change, exit status 1; --no-history (or ZAV_HISTORY=off) runs without
it. Undo asks for the free space its files need first, and changes nothing without it. The free
space an install needs counts the saved copies of the game files it replaces.

Check and repair: "check" reads the game's lists and data folders and prints what is wrong, one
finding a line, in the game's language: a record of an added track or car whose data files are
missing, data files of a track or car that no record names, a name twice in a list, a car of
voiture2.bin that is a base car or in voitures.bin, a list whose count does not match its size or
whose record cannot be read, temporaries a killed run left (.zav-*, circuits.sav, voiture2.sav;
only while no run holds the game) and history entries whose saved copies are gone. It never
writes (it checks a game this user cannot write) and exits 0 when the game is sound, 1 when it
found something, 255 when the game or one of its lists cannot be read; --dry-run is refused
there (exit 2). "repair" prints the same and mends what can be mended safely, each after a
question: it removes a record whose data files are all gone and the later records of a name
listed twice, and deletes the temporaries. A list is replaced whole, and the repair is recorded
in the history, so "undo" reverts it. It never deletes a data file: files no record names are
only reported (install the entry again from a disc, or remove them by hand). It exits 0 when
everything found was mended, 1 when something was left; --dry-run shows the plan.

Examples:
  zavpatch games
  zavpatch status
  zavpatch --prefix ~/Games/zav/drive_c/Games/ZAV --source /media/disc install tracks Quarry Summit
  zavpatch --source ~/Downloads/NewTracks.zip install tracks --all
  zavpatch --yes install cars --all
  zavpatch trash tracks Quarry
  zavpatch --dry-run --yes install tracks --all
  zavpatch history
  zavpatch undo
  zavpatch check
  zavpatch --yes repair
)";

// The kind named on the command line: "tracks" or "cars" (also singular, any case).
zav::DataKind ParseKind(const std::string& word) {
    if (zav::EqualsIgnoringAsciiCase(word, "tracks") ||
        zav::EqualsIgnoringAsciiCase(word, "track")) {
        return zav::DataKind::Tracks;
    }
    if (zav::EqualsIgnoringAsciiCase(word, "cars") || zav::EqualsIgnoringAsciiCase(word, "car")) {
        return zav::DataKind::Cars;
    }
    throw CLI::ValidationError("KIND", "must be \"tracks\" or \"cars\", not \"" + word + "\"");
}

#ifndef _WIN32
// A closed standard stream would hand its number to the next file the run opens, and what is
// printed would land in that file (a list of the game, say): a closed one gets /dev/null instead.
// False when `fd` was closed.
bool KeepStreamOpen(int fd) {
    if (::fcntl(fd, F_GETFD) != -1) {
        return true;
    }
    const int null = ::open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
    if (null >= 0 && null != fd) {
        ::dup2(null, fd);
        ::close(null);
    }
    return false;
}
#endif

int Run(int argc, char** argv);

} // namespace

// Output that did not arrive (a full disk, a closed stream) must not pass for a run that did all
// it was asked.
int main(int argc, char** argv) {
#ifdef _WIN32
    zav::UseUtf8Console();
    // CLI11 and the rest of the program take UTF-8, which the narrow argv of Windows is not.
    std::vector<std::string> words = zav::Utf8Arguments();
    std::vector<char*> wordPointers;
    for (std::string& word : words) {
        wordPointers.push_back(word.data());
    }
    wordPointers.push_back(nullptr);
    if (!words.empty()) {
        argc = static_cast<int>(words.size());
        argv = wordPointers.data();
    }
    const bool outputOpen = true;
#else
    KeepStreamOpen(STDIN_FILENO);
    const bool outputOpen = KeepStreamOpen(STDOUT_FILENO);
    KeepStreamOpen(STDERR_FILENO);
#endif
    zav::CatchStopSignals();
    const int status = Run(argc, argv);
    errno = 0;
    std::cout.flush();
    const bool written = std::fflush(stdout) == 0 && std::ferror(stdout) == 0 && std::cout.good();
    // A signal that came when the run had nothing left to stop still ends it as the signal does.
    if (const int signal = zav::CaughtStopSignal(); signal != 0) {
        zav::EndBySignal(signal);
    }
    if (outputOpen && written) {
        return status;
    }
    const int cause = errno;
    std::cerr << "zavpatch: the output could not be written to standard output ("
              << (!outputOpen  ? "it is closed"
                  : cause != 0 ? std::strerror(cause)
                               : "a write failed")
              << ").\n";
    return status == zav::EXIT_DONE ? zav::EXIT_UNDONE : status;
}

namespace {

int Run(int argc, char** argv) {
    CLI::App app(kDescription, "zavpatch");
    app.footer(kFooter);
    app.require_subcommand(1);
    app.fallthrough();
    app.set_version_flag("--version", "zavpatch " ZAV_VERSION, "print the version and exit");

    std::string prefix;
    std::string source;
    bool answerYes = false;
    bool answerNo = false;
    bool dryRun = false;
#ifdef _WIN32
    app.add_option("--prefix", prefix,
                   "(Linux only: the Wine prefix of the game; on Windows the game is found "
                   "through the Windows directory)");
#else
    app.add_option("--prefix", prefix,
                   "the Wine prefix of the game, or any folder inside it (default: $WINEPREFIX, "
                   "else the one game found; see \"games\")");
#endif
    app.add_option("--source", source,
                   "the new data: a folder holding circuits/ and voitures/, one track's or car's "
                   "folder, or a pack of either (.zip, .7z, .tar, .tar.gz, .tar.xz, .tar.bz2; not "
                   "on Windows) (default: zavpatch's own folder, the working folder or the one "
                   "mounted medium that holds "
                   "circuits/ or voitures/)");
    auto* yes = app.add_flag("--yes", answerYes, "answer every question Yes");
    auto* no = app.add_flag("--no", answerNo, "answer every question No");
    yes->excludes(no);
    bool noHistory = false;
    app.add_flag("--no-history", noHistory,
                 "record nothing in the game's history (as ZAV_HISTORY=off): the run's changes "
                 "cannot be undone");
    app.add_flag("--dry-run", dryRun,
                 "change nothing on disk; print what the command would change, one line per "
                 "change");

    zav::CommandRequest request;
    std::string kindWord;
    std::vector<std::string> names;

    auto* status = app.add_subcommand(
        "status", "print the three lists of each kind, as the window shows them");
    status->add_option("KIND", kindWord, "tracks or cars (default: both)");

    auto* install = app.add_subcommand(
        "install", "select the named proposed entries, \"Add to List\", then \"Install New\"");
    install->add_option("KIND", kindWord, "tracks or cars")->required();
    auto* installNames = install->add_option("NAME", names, "proposed entries to install");
    auto* installAll = install->add_flag("--all", request.all, "install every proposed entry");
    installNames->excludes(installAll);

    auto* trash = app.add_subcommand("trash", "\"Trash\" the named entry of \"Added Data\"");
    trash->add_option("KIND", kindWord, "tracks or cars")->required();
    trash->add_option("NAME", names, "the added entry to delete")->required()->expected(1);

    auto* history =
        app.add_subcommand("history", "list the recorded changes of the game, newest first");
    auto* undo = app.add_subcommand("undo", "revert the newest recorded change not yet undone");
    auto* check = app.add_subcommand(
        "check", "print what is wrong with the game's lists and folders; changes nothing");
    auto* repair = app.add_subcommand(
        "repair", "mend what check finds and can be mended safely, each after a question");
    auto* games = app.add_subcommand(
        "games", "list the games found in the Wine prefixes of this user, one a line");

    try {
        app.parse(argc, argv);
        if (check->parsed() && dryRun) {
            throw CLI::ValidationError("check", "--dry-run is meaningless here: check changes "
                                                "nothing (see \"repair --dry-run\")");
        }
        if (install->parsed() && names.empty() && !request.all) {
            throw CLI::ValidationError("install", "name the entries to install, or give --all");
        }
        request.verb = install->parsed() ? zav::CommandRequest::Verb::Install
                       : trash->parsed() ? zav::CommandRequest::Verb::Trash
                                         : zav::CommandRequest::Verb::Status;
        if (!kindWord.empty()) {
            request.kind = ParseKind(kindWord);
        }
    } catch (const CLI::CallForHelp& help) {
        return app.exit(help); // the help of the subcommand it was asked on
    } catch (const CLI::CallForVersion& version) {
        return app.exit(version);
    } catch (const CLI::ParseError& error) {
        // CLI11 takes a misspelt command for a stray argument and asks for one: name the word.
        const auto stray = app.remaining();
        if (app.get_subcommands().empty() && !stray.empty()) {
            std::cerr
                << "zavpatch: unknown command '" << stray.front()
                << "' (commands: status, install, trash, history, undo, check, repair, games)";
        } else {
            std::cerr << "zavpatch: " << error.what();
        }
        std::cerr << "\nRun 'zavpatch --help' for the usage.\n";
        return zav::EXIT_USAGE;
    }

#ifdef _WIN32
    if (!prefix.empty()) {
        std::cerr << "zavpatch: --prefix names a Wine prefix, which Windows has not: on Windows "
                     "the game is found through the settings file in the Windows directory.\n"
                     "Run 'zavpatch --help' for the usage.\n";
        return zav::EXIT_USAGE;
    }
#endif
    for (const std::string& name : names) {
        auto converted = zav::Utf8ToCp1252(name);
        // A name the game's code page cannot write is in none of the lists; report it as such.
        request.names.push_back(converted ? *converted : zav::UNWRITABLE_NAME_MARK + name);
    }
    if (games->parsed()) {
        return zav::ListGames(zav::FindGames(), std::cout, std::cerr);
    }
    const zav::PrefixChoice choice = zav::ChoosePrefix(prefix);
    if (choice.origin == zav::PrefixOrigin::SeveralFound) {
        return zav::RefuseSeveralGames(choice.search, std::cerr);
    }
    const std::string placesNotice = zav::PlacesLookedNotice(choice);
    // The history and undo work on the game alone: the new data's folder is not theirs to need.
    const bool readsDisc = !history->parsed() && !undo->parsed();
    if (source.empty() && readsDisc) {
        const zav::DefaultSource found = zav::ChooseDefaultSource(zav::RunSourcePlaces(true));
        if (found.origin == zav::DefaultSource::Origin::SeveralMedia) {
            std::cerr << "zavpatch: " << zav::SeveralMediaNotice(found.media);
            return zav::EXIT_USAGE;
        }
        source = found.folder;
    }
    std::string problem;
    const auto folders = zav::ResolveStartFolders(choice.prefix, source, problem, readsDisc);
    if (!folders) {
        std::cerr << "zavpatch: " << problem << "\n";
        return zav::EXIT_USAGE;
    }

    if (noHistory) {
        // Read where the file-system stack is made, so that every face turns it off alike.
#ifdef _WIN32
        _putenv_s("ZAV_HISTORY", "off");
#else
        ::setenv("ZAV_HISTORY", "off", 1);
#endif
        std::cerr << "zavpatch: --no-history: this run's changes are not recorded in the game's "
                     "history and cannot be undone.\n";
    }
    zav::ProgramStart start(*folders, dryRun);
    start.SetPlacesNotice(placesNotice);
    zav::ProgramFileSystem& program = start.Program();
    if (history->parsed()) {
        return zav::ShowHistory(program, placesNotice);
    }
    const zav::AnswerPolicy policy = answerYes  ? zav::AnswerPolicy::AlwaysYes
                                     : answerNo ? zav::AnswerPolicy::AlwaysNo
                                                : zav::AnswerPolicy::AskOrNo;
    zav::TerminalDialogView view(policy);
    if (undo->parsed()) {
        return zav::UndoLastChange(start, view);
    }
    if (check->parsed()) {
        return zav::CheckTheGame(start, view);
    }
    if (repair->parsed()) {
        return zav::RepairTheGame(start, view);
    }
    // Without these folders the scan would find nothing and blame the names asked for. A dry run
    // checks the real folder too, as it cannot foresee a full disk there.
    if (const std::string cause = zav::TemporaryFolderProblem(program); !cause.empty()) {
        std::cerr << "Fatal Error: " << cause << "\n";
        return 255;
    }
    const zav::OpenedSource opened = start.OpenSource();
    if (!opened.notice.empty()) {
        std::cerr << "zavpatch: " << zav::Cp1252ToUtf8(opened.notice) << "\n";
        if (!opened.usable) {
            return zav::EXIT_UNDONE;
        }
    }
    if (const std::string cause = zav::SourceFolderProblem(start.Folders()); !cause.empty()) {
        std::cerr << "zavpatch: " << cause << "\n";
        return zav::EXIT_UNDONE;
    }
    // An empty "New Proposed Data" list is to say why, and how to name the data.
    if (const std::string notice = start.NewDataNotice();
        opened.notice.empty() && !notice.empty() &&
        request.verb != zav::CommandRequest::Verb::Trash) {
        std::cerr << "zavpatch: " << zav::Cp1252ToUtf8(notice) << "\n";
    }
    zav::PatcherDialog& dialog = start.Wire(view);
    if (request.verb == zav::CommandRequest::Verb::Status) {
        dialog.ShowOnly(); // so that it also shows a game this user cannot write
    }
    if (!dialog.OnInitDialog()) {
        return dialog.StoppedByHistory() ? zav::EXIT_UNDONE : 255;
    }
    const int commandStatus = zav::RunCommand(dialog, view, request);
    if (zav::CopyOnWriteFileSystem* plan = program.DryRun()) {
        zav::PrintDryRunPlan(std::cout, *plan, program.Host(), dialog.Session(),
                             view.DeclinedQuestions());
    }
    return commandStatus;
}

} // namespace
