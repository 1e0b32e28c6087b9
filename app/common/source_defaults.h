// Where the new data is taken from when the user names no source.
#pragma once

#include <string>
#include <vector>

namespace zav {

/// The places the default source is looked for, in the order they are tried.
struct SourcePlaces {
    std::string programFolder;      ///< the program's own folder (a disc it runs from)
    std::string workingFolder;      ///< the working folder; empty for a window
    std::vector<std::string> media; ///< the mounted media, each a folder (see MountedMedia)
};

/// This run's places: the program's folder, the working folder when `withWorkingFolder` (the
/// command line's; a window started from a menu has no meaningful one), MountedMedia().
SourcePlaces RunSourcePlaces(bool withWorkingFolder);

/// What ChooseDefaultSource found.
struct DefaultSource {
    enum class Origin { ProgramFolder, WorkingFolder, Medium, SeveralMedia, None };
    Origin origin = Origin::None;
    /// The folder to read the new data from (UTF-8 host path): the one found, or the program's
    /// own folder when none holds new data (its notice then tells), or when several media do.
    std::string folder;
    /// The media that hold new data, when several do.
    std::vector<std::string> media;
};

/// Whether `folder` holds a circuits or voitures folder (names matched without regard to case,
/// as a disc's file system may show them in capitals).
bool HoldsNewDataFolders(const std::string& folder);

/// Those of `media` that hold new data, in their order.
std::vector<std::string> MediaHoldingNewData(const std::vector<std::string>& media);

/// The first of `places` that holds new data: the program's folder, the working folder, then the
/// one medium that does.
DefaultSource ChooseDefaultSource(const SourcePlaces& places);

/// For a window: when `source` is empty, sets it to ChooseDefaultSource's folder over this run's
/// places without the working folder (a window started from a menu has no meaningful one).
/// Returns the media holding new data when several do, for the window to name; else none.
std::vector<std::string> TakeWindowDefaultSource(std::string& source);

/// The command line's refusal when several media hold new data: they are named, one a line, and
/// --source asked for. English, UTF-8, ending with a line feed.
std::string SeveralMediaNotice(const std::vector<std::string>& media);

} // namespace zav
