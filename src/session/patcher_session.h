// PatcherSession: the platform ports and the records of one run of the tool.
#pragma once

#include "platform/file_system.h"
#include "platform/profile.h"
#include "platform/ui.h"
#include "session/analysis_state.h"
#include "session/change_journal.h"
#include "session/command_report.h"
#include "settings/patcher_settings.h"
#include "settings/texts.h"

namespace zav {

/// Everything the core's operations share during a run. Tests build as many as they like.
struct PatcherSession {
    PatcherSession(FileSystem& fileSystem, Profile& profileReader, Ui& userInterface)
        : files(fileSystem), profile(profileReader), ui(userInterface), texts(settings, profile) {}

    PatcherSession(const PatcherSession&) = delete;
    PatcherSession& operator=(const PatcherSession&) = delete;

    FileSystem& files;
    Profile& profile;
    Ui& ui;
    PatcherSettings settings;
    TextCatalog texts;
    AnalysisState analysis;

    /// The history of the game's changes, when the front end keeps one.
    ChangeJournal* journal = nullptr;

    /// Which "left out" notices the user has had this run, so each is shown once.
    unsigned noticesShown = 0;
};

} // namespace zav
