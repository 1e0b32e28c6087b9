// ChangeJournal: what the dialog's commands tell the history of the game's changes.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/data_kind.h"
#include "platform/file_system.h"

namespace zav {

/// The history of the changes the tool made to one game, as the commands see it. Every call is
/// safe in any order; a journal without a game records nothing and knows nothing.
class ChangeJournal {
public:
    virtual ~ChangeJournal() = default;
    /// The game whose history is kept: its folder (code page 1252, trailing backslash).
    virtual void OpenGame(std::string_view gameDirectory) = 0;
    /// The changes from now until EndCommand belong to one command, described as the user would
    /// type it ("install tracks").
    virtual void BeginCommand(std::string_view command) = 0;
    /// The command added (or removed) the entry `name` of `kind`.
    virtual void NoteEntry(DataKind kind, std::string_view name, bool added) = 0;
    /// The command is over: its record is completed and forced to disk.
    virtual void EndCommand() = 0;
    /// The game files (core paths) the tool created or replaced when it installed the entry
    /// `name` of `kind`, when the history knows that install and nothing removed the entry since;
    /// nullopt when it does not.
    virtual std::optional<std::vector<std::string>> InstalledFiles(DataKind kind,
                                                                   std::string_view name) = 0;
    /// The file system beneath the journal, whose changes are not recorded: an undo works there.
    virtual FileSystem& Unrecorded() = 0;
};

} // namespace zav
