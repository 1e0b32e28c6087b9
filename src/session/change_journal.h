// ChangeJournal: what the dialog's commands tell the history of the game's changes.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/data_kind.h"
#include "platform/file_system.h"

namespace zav {

/// Why the history of a game cannot be kept (see ChangeJournal::Problem).
enum class JournalProblem {
    None,        ///< it can, or nothing is recorded
    Link,        ///< the history's folder is a symbolic link, which may lead out of the game
    NotAFolder,  ///< a file has the history folder's name
    NotWritable, ///< the user may not write in it (or, while it is missing, in the game's folder)
    Full,        ///< an entry has the last number an entry can have
};

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
    /// Why the history of the game OpenGame named cannot be kept, so that a command stops before
    /// its first change; None when it can or the journal records nothing.
    virtual JournalProblem Problem() { return JournalProblem::None; }
    /// The folder Problem speaks of (core path).
    virtual std::string HistoryFolderPath() { return {}; }
    /// Whether the journal keeps saved copies of the files a command replaces.
    virtual bool Recording() { return true; }
    /// The file system beneath the journal, whose changes are not recorded: an undo works there.
    virtual FileSystem& Unrecorded() = 0;
};

} // namespace zav
