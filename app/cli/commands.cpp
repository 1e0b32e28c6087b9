// zavpatch's commands: status, install, trash.
#include "commands.h"

#include <algorithm>
#include <cstdio>
#include <iostream>

#include "analysis/file_sets.h"
#include "analysis/install_space.h"
#include "analysis/set_tables.h"
#include "platform/codepage.h"
#include "settings/own_texts.h"
#include "settings/text_format.h"
#include "stop_signals.h"

namespace zav {
namespace {

std::string KindTitle(DataKind kind) {
    return std::string(KindWord(kind)) + "s";
}

void ShowTab(PatcherDialog& dialog, HeadlessDialogView& view, DataKind kind) {
    view.SelectTab(kind);
    dialog.OnSelchangeTab();
}

void PrintList(HeadlessDialogView& view, std::int32_t label, std::int32_t list) {
    const auto& entries = view.List(list).entries;
    std::cout << "  " << Cp1252ToUtf8(view.ControlText(label)) << " (" << entries.size() << "):\n";
    for (const std::string& entry : entries) {
        std::cout << "    " << Cp1252ToUtf8(entry) << '\n';
    }
}

void PrintStatus(PatcherDialog& dialog, HeadlessDialogView& view, DataKind kind) {
    ShowTab(dialog, view, kind);
    std::cout << Cp1252ToUtf8(view.CurrentTabText()) << '\n';
    PrintList(view, IDC_PRESENT_LABEL, IDC_PRESENT_LIST);
    PrintList(view, IDC_NEW_LABEL, IDC_NEW_LIST);
    PrintList(view, IDC_ADDED_LABEL, IDC_ADDED_LIST);
}

std::string JoinedNames(const NameTable& names, std::int32_t first, std::int32_t end) {
    std::string joined;
    for (std::int32_t i = first; i < end && i < MAX_SET_ENTRIES; ++i) {
        joined +=
            (joined.empty() ? "" : ", ") + Cp1252ToUtf8(names[static_cast<std::size_t>(i)].view());
    }
    return joined.empty() ? "none" : joined;
}

// A byte count as a player reads it, exact and rounded: "5000 bytes", "3221225472 bytes (3.0 GiB)".
std::string SpaceText(std::uint64_t bytes) {
    constexpr double MiB = 1048576.0;
    char text[64];
    if (bytes < 1048576) {
        std::snprintf(text, sizeof text, "%llu bytes", static_cast<unsigned long long>(bytes));
    } else if (bytes < 1073741824) {
        std::snprintf(text, sizeof text, "%llu bytes (%.1f MiB)",
                      static_cast<unsigned long long>(bytes), static_cast<double>(bytes) / MiB);
    } else {
        std::snprintf(text, sizeof text, "%llu bytes (%.1f GiB)",
                      static_cast<unsigned long long>(bytes),
                      static_cast<double>(bytes) / (MiB * 1024));
    }
    return text;
}

int Finish(PatcherDialog& dialog, int status) {
    if (!dialog.Ended()) {
        dialog.OnCloseButton();
    }
    return status;
}

int UsageFailure(PatcherDialog& dialog, const std::string& message) {
    std::cerr << "zavpatch: " << message << '\n';
    return Finish(dialog, EXIT_USAGE);
}

// Told as typed, with the reason it is in no list: the game's code page cannot write it.
int RefuseUnwritableName(PatcherDialog& dialog, DataKind kind, std::string_view marked) {
    const OwnTextId id = ForKind(OwnTextId::NotInCodePageTrack, kind == DataKind::Cars);
    // The text is made UTF-8 first and the name, UTF-8 already, put in after.
    const std::string text = Cp1252ToUtf8(FormatText(dialog.Session().texts.Own(id), {"%s"}));
    return UsageFailure(dialog, FormatText(text, {marked.substr(1)}));
}

bool IsUnwritable(std::string_view name) {
    return !name.empty() && name.front() == UNWRITABLE_NAME_MARK;
}

int Install(PatcherDialog& dialog, TerminalDialogView& view, const CommandRequest& request) {
    // The command line requires the kind of an install or a trash.
    const DataKind kind = request.kind.value_or(DataKind::Tracks);
    ShowTab(dialog, view, kind);
    AnalysisState& analysis = dialog.Session().analysis;
    const ProposedSetView proposed = ProposedSet(analysis, kind);
    std::vector<std::int32_t> chosen;
    if (request.all) {
        for (std::int32_t i = 0; i < proposed.total; ++i) {
            chosen.push_back(i);
        }
        if (chosen.empty()) {
            std::cerr << "zavpatch: no new " << KindTitle(kind)
                      << " are proposed beside the tool.\n";
            return Finish(dialog, EXIT_DONE);
        }
    }
    for (const std::string& name : request.names) {
        if (IsUnwritable(name)) {
            return RefuseUnwritableName(dialog, kind, name);
        }
        const std::int32_t index = FindNamed(proposed.names, 0, proposed.total, name);
        if (index < 0) {
            return UsageFailure(dialog, "no new " + std::string(KindWord(kind)) + " named '" +
                                            Cp1252ToUtf8(name) + "' is proposed; proposed: " +
                                            JoinedNames(proposed.names, 0, proposed.total) + ".");
        }
        if (std::find(chosen.begin(), chosen.end(), index) == chosen.end()) {
            chosen.push_back(index);
        }
    }
    for (const std::int32_t index : chosen) {
        view.SetListEntrySelected(IDC_NEW_LIST, index, true);
    }
    dialog.OnSelchangeNewList();
    if (dialog.State().AddEnabled == 0) {
        PatcherSession& session = dialog.Session();
        std::vector<std::string> chosenNames;
        for (const std::int32_t index : chosen) {
            chosenNames.push_back(proposed.names[static_cast<std::size_t>(index)].str());
        }
        // The history's saved copies of the files the install replaces are written there too.
        const std::int64_t required = InstallSpaceNeeded(session, kind, chosenNames);
        const std::string_view folder = session.settings.GameDirectory.view();
        const auto free = session.files.FreeSpace(folder);
        std::cerr << "zavpatch: not enough free space for the selection in the game's folder '"
                  << Cp1252ToUtf8(folder)
                  << "': " << SpaceText(static_cast<std::uint64_t>(required)) << " required, "
                  << (free ? SpaceText(*free) : "an unknown amount")
                  << " free; nothing was added.\n";
        return Finish(dialog, EXIT_UNDONE);
    }
    dialog.OnAddToList();
    if (dialog.Ended()) {
        return EXIT_UNDONE;
    }
    if (CaughtStopSignal() != 0) {
        return Finish(dialog, EXIT_UNDONE); // as Close with entries added but not installed
    }
    dialog.OnInstallNew();
    if (dialog.Ended()) {
        return EXIT_UNDONE;
    }
    // Everything asked for is done when each chosen entry is now installed in the game.
    const PresentSetView present = PresentSet(analysis, kind);
    std::string notInstalled;
    for (const std::int32_t index : chosen) {
        const std::string& name = proposed.names[static_cast<std::size_t>(index)].str();
        const std::int32_t slot =
            FindNamed(present.names, present.firstFurther, present.End(), name);
        if (slot < 0 || present.flags[static_cast<std::size_t>(slot)] != PRESENT_INSTALLED) {
            notInstalled += (notInstalled.empty() ? "" : ", ") + Cp1252ToUtf8(name);
        }
    }
    // Most causes were told in a message box; a quiet one (no further slot left in a short track
    // list, say) still deserves a line.
    if (!notInstalled.empty() && !view.SomethingUndone()) {
        std::cerr << "zavpatch: not installed: " << notInstalled << ".\n";
    }
    return Finish(dialog,
                  notInstalled.empty() && !view.SomethingUndone() ? EXIT_DONE : EXIT_UNDONE);
}

int Trash(PatcherDialog& dialog, TerminalDialogView& view, const CommandRequest& request) {
    // The command line requires the kind of an install or a trash.
    const DataKind kind = request.kind.value_or(DataKind::Tracks);
    ShowTab(dialog, view, kind);
    const PresentSetView present = PresentSet(dialog.Session().analysis, kind);
    const std::string& name = request.names.front();
    if (IsUnwritable(name)) {
        return RefuseUnwritableName(dialog, kind, name);
    }
    const std::int32_t slot = FindNamed(present.names, present.firstFurther, present.End(), name);
    if (slot < 0) {
        return UsageFailure(
            dialog, "no " + std::string(KindWord(kind)) + " named '" + Cp1252ToUtf8(name) +
                        "' is among the added data; added: " +
                        JoinedNames(present.names, present.firstFurther, present.End()) + ".");
    }
    // A car of the base list that was added again is listed twice; deleting one leaves the other.
    const std::int32_t listedBefore =
        CountNamed(present.names, present.firstFurther, present.End(), name);
    view.SetListSelection(IDC_ADDED_LIST, slot - present.firstFurther);
    dialog.OnSelchangeAddedList();
    if (dialog.State().TrashEnabled == 0) {
        std::cerr << "zavpatch: '" << Cp1252ToUtf8(name)
                  << "' cannot be deleted while added entries wait to be installed.\n";
        return Finish(dialog, EXIT_UNDONE);
    }
    dialog.OnTrash();
    if (dialog.Ended()) {
        return EXIT_UNDONE;
    }
    const bool deleted =
        CountNamed(present.names, present.firstFurther, present.End(), name) < listedBefore;
    return Finish(dialog, deleted && !view.SomethingUndone() ? EXIT_DONE : EXIT_UNDONE);
}

} // namespace

int RunCommand(PatcherDialog& dialog, TerminalDialogView& view, const CommandRequest& request) {
    // A notice of the start-up (entries left out of the tables) says nothing about the command.
    view.ForgetWarnings();
    // A stop signal during the start-up: the run closes before it changes anything.
    if (CaughtStopSignal() != 0) {
        return Finish(dialog, EXIT_UNDONE);
    }
    switch (request.verb) {
    case CommandRequest::Verb::Status:
        for (const DataKind kind : {DataKind::Tracks, DataKind::Cars}) {
            if (!request.kind || request.kind == kind) {
                PrintStatus(dialog, view, kind);
            }
        }
        return Finish(dialog, EXIT_DONE);
    case CommandRequest::Verb::Install:
        return Install(dialog, view, request);
    case CommandRequest::Verb::Trash:
        return Trash(dialog, view, request);
    }
    return Finish(dialog, EXIT_USAGE);
}

} // namespace zav
