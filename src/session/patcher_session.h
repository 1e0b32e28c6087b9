// PatcherSession: the platform ports and the records of one run of the tool.
#pragma once

#include "platform/file_system.h"
#include "platform/profile.h"
#include "platform/ui.h"
#include "session/analysis_state.h"
#include "session/change_journal.h"
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

    /// Why the file error that ended the latest install failed to write its file; None when the
    /// file's status could not be read (see FileErrorMessage).
    FileErrorCause fileErrorCause = FileErrorCause::None;

    /// What an operation found wrong beyond its error code (a damaged list, say), for the error
    /// report to add as a second paragraph; the report clears it.
    std::string errorDetail;

    /// Which "left out" notices the user has had this run, so each is shown once.
    unsigned noticesShown = 0;
};

} // namespace zav
