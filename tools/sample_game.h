// The sample game and disc generator: a Wine prefix with an installed game, and a disc of new data.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zav {

/// The game folder the sample's settings file names.
inline constexpr std::string_view SAMPLE_GAME_DIRECTORY = "C:\\Games\\ZAV\\";
inline constexpr std::int64_t SAMPLE_DEFAULT_DATA_SIZE = 4096;
/// The accelerated executable written with `accelerated`.
inline constexpr std::string_view SAMPLE_ACCELERATED_EXECUTABLE = "zavd3d5x.exe";

struct SampleOptions {
    /// Host folder (UTF-8) that receives "prefix" and "disc"; created when missing, must be empty.
    std::string outputFolder;
    /// 1: settings section [ZAV] and 128-byte track records; 2: [ZAV2_0] and 140-byte records.
    int version = 2;
    /// Entries on the disc, 0 to SAMPLE_MAX_PROPOSED each.
    int proposedTracks = 4;
    int proposedCars = 4;
    /// Base size of every opaque data file, 0 to SAMPLE_MAX_DATA_SIZE; each file adds a little.
    std::int64_t dataSize = SAMPLE_DEFAULT_DATA_SIZE;
    /// Spell folders and files on disk in another case than the game and the patcher name them.
    bool mixedCase = false;
    /// Also install the accelerated executable (and the installed entries' bl4/bv4 files).
    bool accelerated = false;
    /// Value of key "Language" of section [ZAV2_0], code page 1252, written as given.
    std::string language = "English";
};

/// True when the options can be written; otherwise false with the reason in `error`.
bool CheckSampleOptions(const SampleOptions& options, std::string& error);

/// Writes the sample below `options.outputFolder`:
/// - prefix/: a Wine prefix whose settings file names the game folder C:\Games\ZAV\ (with the
///   section of `version`), whose dosdevices/c: links to drive_c, and whose game folder holds
///   zav.exe, the data folders, fix.MEG, the track list (16 base and 2 further tracks), the base
///   car list (the 8 base cars), the added-car list (2 cars) and the data files of the further
///   tracks and added cars;
/// - disc/: circuits/<Name>/ and voitures/<Name>/ for every proposed entry, each with its
///   one-record list file and all its data files.
/// The output is the same, byte for byte, on every run with the same options. False, with the
/// reason in `error`, for invalid options, a non-empty output folder or a failed write (what was
/// written before the failure stays).
bool WriteSampleGame(const SampleOptions& options, std::string& error);

} // namespace zav
