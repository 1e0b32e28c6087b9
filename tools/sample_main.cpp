// zav-sample: writes a sample game in a Wine prefix and a disc of new tracks and cars.
#include <CLI/CLI.hpp>

#include <iostream>
#include <optional>
#include <string>

#include "platform/codepage.h"
#include "tools/sample_data_file.h"
#include "tools/sample_game.h"
#include "tools/sample_names.h"

namespace {

constexpr int kExitWritten = 0;
constexpr int kExitCannotWrite = 1;
constexpr int kExitUsage = 2;

const char* const kDescription =
    "Writes a sample installation of the game ZAV and a disc of new data:\n"
    "  OUTDIR/prefix  a Wine prefix: the settings file naming C:\\Games\\ZAV\\, the game folder\n"
    "                 with 18 tracks (16 base, 2 added) and 10 cars (8 base, 2 added)\n"
    "  OUTDIR/disc    circuits/<Name>/ and voitures/<Name>/ for each proposed track and car\n"
    "OUTDIR is created when missing and must be empty. Runs with the same options write the\n"
    "same bytes.";

} // namespace

int main(int argc, char** argv) {
    zav::SampleOptions options;
    CLI::App app(kDescription, "zav-sample");
    app.add_option("OUTDIR", options.outputFolder, "Folder to write the prefix and the disc into")
        ->required();
    app.add_option("--version", options.version,
                   "Game version: 1 ([ZAV], 128-byte track records) or 2 ([ZAV2_0], 140-byte)")
        ->check(CLI::IsMember({1, 2}))
        ->capture_default_str();
    app.add_option("--proposed-tracks", options.proposedTracks, "Tracks on the disc")
        ->check(CLI::Range(0, zav::SAMPLE_MAX_PROPOSED))
        ->capture_default_str();
    app.add_option("--proposed-cars", options.proposedCars, "Cars on the disc")
        ->check(CLI::Range(0, zav::SAMPLE_MAX_PROPOSED))
        ->capture_default_str();
    app.add_option("--data-size", options.dataSize,
                   "Base size in bytes of each data file (bl3, bv3, meg, brt...); each file adds "
                   "up to 96 bytes")
        ->check(CLI::Range(std::int64_t{0}, zav::SAMPLE_MAX_DATA_SIZE))
        ->capture_default_str();
    app.add_flag("--mixed-case", options.mixedCase,
                 "Spell folders and files on disk in another case than the game names them");
    app.add_flag("--accelerated", options.accelerated,
                 "Also install the accelerated executable zavd3d5x.exe");
    std::string language = options.language;
    app.add_option("--language", language, "Value of Language in section [ZAV2_0]")
        ->capture_default_str();

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? kExitWritten : kExitUsage;
    }

    // The settings file is read in the game's code page.
    const std::optional<std::string> encoded = zav::Utf8ToCp1252(language);
    if (!encoded) {
        std::cerr << "zav-sample: the language cannot be written in code page 1252\n";
        return kExitUsage;
    }
    options.language = *encoded;

    std::string error;
    if (!zav::CheckSampleOptions(options, error)) {
        std::cerr << "zav-sample: " << error << "\n";
        return kExitUsage;
    }
    if (!zav::WriteSampleGame(options, error)) {
        std::cerr << "zav-sample: " << error << "\n";
        return kExitCannotWrite;
    }
    std::cout << "Sample game written to " << options.outputFolder << "/prefix, disc to "
              << options.outputFolder << "/disc\n";
    return kExitWritten;
}
