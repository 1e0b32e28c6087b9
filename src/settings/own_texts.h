// The texts this tool adds to the game tool's string table, in its three languages.
#pragma once

#include <cstdint>
#include <string>

namespace zav {

/// Texts of our own: screen reader names and tooltips of the picture buttons (the words their
/// pictures show), the notices the string table has no words for.
enum class OwnTextId : int {
    ButtonAdd,          ///< the picture of "Add to List"
    ButtonDisplay,      ///< the picture of "Display ->"
    ButtonInstall,      ///< the picture of "Install New"
    ButtonTrash,        ///< the picture of "Trash"
    ButtonCancel,       ///< the picture of "Cancel"
    ButtonClose,        ///< the picture of "Close"
    CommandAvailable,   ///< a picture button whose command can act now
    CommandUnavailable, ///< one whose command does nothing now
    ProgressArea,       ///< the progress bar while no command runs
    AboutMenuItem,      ///< the context menu's entry that opens the about box
    NoNewDataFolders,   ///< %s, %s: the two new-data folders, neither of which exists
    AlreadyRunning,     ///< another run works on the same game
    GameSearchNotice,   ///< %s: the settings file looked for, %s: the Wine prefix
    TracksOverflow,     ///< %d tracks in the game's list, %d of them not shown
    CarsOverflow,       ///< %d further cars in the lists, %d shown, %d not shown
    ListCountDamaged,   ///< %s: a game's list, %d: the count it states, %d: the records it holds
    WorkCopyNotWritten, ///< %s: a game's list whose working copy takes no record
    UndoMenuItem,       ///< the context menu's entry that undoes the game's last change
    UndoQuestion,       ///< %s: what the change did, in lines
    UndoDone,           ///< %d: the number of the change undone
    NothingToUndo,      ///< the game's history holds no change left to undo
    // Texts with a track form and a car form: the car form is the id after the track form.
    SelectionDoesNotFitTracks, ///< %s: the names left out
    SelectionDoesNotFitCars,
    RecordsNotReadBackTracks, ///< %s: the names left out
    RecordsNotReadBackCars,
    FolderPathTooLongTrack, ///< %s: the entry's name
    FolderPathTooLongCar,
    UnsafeNameTrack, ///< %s: the entry's name
    UnsafeNameCar,
    UnsafeFoldersTracks, ///< %s: the folders' names
    UnsafeFoldersCars,
    RepeatedFoldersTracks, ///< %s: the folders' names
    RepeatedFoldersCars,
    ProposedOverflowTracks, ///< %s: the names left out
    ProposedOverflowCars,
    FilesKeptTrack, ///< %s: the name removed from the game's list
    FilesKeptCar,
    OutsideFoldersTracks, ///< %s: the folders' names
    OutsideFoldersCars,
    GameSearchNoticeWindows, ///< %s: the settings file looked for in the Windows directory
    PrefixesSearched,        ///< %s: the places looked at for other prefixes, one a line
    SeveralGamesFound,       ///< %s: the games found, one a line
    NoGameFound,             ///< %s: the places looked at, one a line
    // Opening a pack or a folder of new data; %s: the pack, %s: its entry, %s: the cause.
    PackNotSupported,   ///< %s: the pack, which this build cannot read
    PackUnreadable,     ///< %s, %s: the pack, the cause
    PackUnknownFormat,  ///< %s, %s: the file, the reader's words
    PackDamaged,        ///< %s, %s, %s
    PackEncrypted,      ///< %s, %s
    PackUnsafeName,     ///< %s, %s
    PackUnwritableName, ///< %s, %s
    PackLink,           ///< %s, %s
    PackNotAFile,       ///< %s, %s
    PackTooLarge,       ///< %s, %s, %s: the limit
    PackNoSpace,        ///< %s, %s, %s: the room there was
    PackWriteFailed,    ///< %s, %s, %s
    UnknownLayout,      ///< %s: the folder or pack, %s: what it holds
    NothingFound,       ///< what UnknownLayout says of an empty folder
    FileNotDeleted,     ///< %s: the file, %s: why (the entry is out of the list)
    // Choosing the new data.
    ChooseSourceHint,    ///< how to name the new data's folder or pack
    SeveralMedia,        ///< %s: the mounted media holding new data, one a line
    OpenSourceMenuItem,  ///< the context menu's entry that opens a disc, folder or pack
    OpenSourceTitle,     ///< the caption of the file dialog of that entry
    PendingBeforeSource, ///< the question asked before a new source when work is pending
    HelpTitle,           ///< the caption of the F1 help
    HelpText,            ///< %s: the game's folder, %s: the new data's folder
    // A history that cannot be kept.
    HistoryUnusable,    ///< %s: the history's folder, %s: one of the four causes below
    HistoryIsLink,      ///< the folder is a symbolic link
    HistoryIsFile,      ///< a file has its name
    HistoryNotWritable, ///< the user may not write there
    HistoryFull,        ///< an entry has the last number
    // Paths and names the game or Windows cannot hold.
    PathTooLongTrack, ///< %s: the entry's name, %s: its file's path, %d: the path's length
    PathTooLongCar,
    GameFolderTooLong, ///< %s: the game's folder
    WindowsNameTrack,  ///< %s: the entry's name
    WindowsNameCar,
    ListTooShort,       ///< %s: a game's list, %d: its length in bytes
    NotInCodePageTrack, ///< %s: the name as typed
    NotInCodePageCar,
    // Checking and mending the game.
    CheckMenuItem,            ///< the context menu's entry that checks the game
    CheckTitle,               ///< the caption of the check's boxes
    CheckNoProblems,          ///< the check found nothing wrong
    FindingMissingFilesTrack, ///< %s: the name, %s: its list, %s: the missing files
    FindingMissingFilesCar,
    FindingUnlistedTrack, ///< %s: the name, %s: the list, %s: the files there
    FindingUnlistedCar,
    FindingRepeatedRecord,   ///< %s: the name, %s: the list, %d: the record, %d: the first one
    FindingBaseCarName,      ///< %s: the name, %s: voiture2.bin
    FindingCarInGameList,    ///< %s: the name, %s: voiture2.bin, %s: voitures.bin
    FindingUnusableRecord,   ///< %s: the list, %d: the record
    FindingTemporary,        ///< %s: the file
    FindingSavedCopyMissing, ///< %d: the history entry, %s: the files whose copies are gone
    RepairRemoveRecord,      ///< %d: the record, %s: the name, %s: the list
    RepairDeleteTemporary,   ///< %s: the file
    RepairFailed,            ///< %s: the file, %s: why
    RepairOffer,             ///< %d: how many findings can be mended
    RepairSummary,           ///< %d found, %d mended, %d left
    OtherFolderMenuItem,     ///< after the drives holding new data: a folder chosen in a dialog
    // Choosing the game when the search found several or none.
    ChooseGameTitle,    ///< the caption of the chooser among the games found
    ChooseGameHint,     ///< what the chooser asks
    GameColumnWhere,    ///< the chooser's columns: where the game was found,
    GameColumnPrefix,   ///< its Wine prefix,
    GameColumnFolder,   ///< its folder as its settings file names it,
    GameColumnLanguage, ///< and its language
    ChoosePrefixTitle,  ///< the caption of the folder dialog when no game was found
    FolderHoldsNoGame,  ///< %s: the folder chosen, which lies in no prefix holding the game
    // Why undo stopped.
    UndoHistoryIsLink,      ///< %s: the history's folder
    UndoEntryDamaged,       ///< %d: the change, %s: its manifest, %s: what is damaged
    UndoEntryPruned,        ///< %d: the change
    UndoSavedCopyIsLink,    ///< %s: the saved copy, %s: its file, %d: the line, %d: the change
    UndoSavedCopyMissing,   ///< %s: the file, %s: the entry's folder
    UndoSavedCopyChanged,   ///< %s: the saved copy, %s: its file, %d: the line, %d: the change
    UndoFileChangedSince,   ///< %s: the file, %d: the change
    UndoNoRoom,             ///< %d: the change, %s: bytes needed, %s: the folder, %s: bytes free
    UndoHistoryNotWritable, ///< %s: the entry's folder
    UndoFileNotPutBack,     ///< %s: the file
    UndoNotMarked,          ///< %s: the entry's folder
    Count
};

/// The car form of `trackText` when `forCars`, else `trackText` itself.
constexpr OwnTextId ForKind(OwnTextId trackText, bool forCars) {
    return forCars ? static_cast<OwnTextId>(static_cast<int>(trackText) + 1) : trackText;
}

/// The text `id` in the language of `languageOffset` (0 English, 48 German, 96 French, as the
/// string table's blocks), code page 1252; English for any other offset. Never empty.
std::string OwnText(OwnTextId id, std::int32_t languageOffset);

} // namespace zav
