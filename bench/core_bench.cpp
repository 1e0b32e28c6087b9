// Benchmarks of the tool's job: the start-up analysis and scan, an install of 20 tracks against a
// plain copy of the same files, and the whole zavpatch run with and without its history. Run by
// hand: `cmake --build build
// --target bench`.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "analysis/entry_names.h"
#include "analysis/new_data_scan.h"
#include "analysis/present_set.h"
#include "install/install_added.h"
#include "install/staging_updates.h"
#include "platform/posix/posix_file_system.h"
#include "platform/profile_reader.h"
#include "session/patcher_session.h"
#include "settings/data_paths.h"
#include "settings/error_report.h"
#include "settings/game_location.h"
#include "tools/sample_game.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr std::int64_t kMegabyte = 1024 * 1024;

class QuietUi final : public zav::Ui {
public:
    int MessageBox(std::string_view, std::string_view, std::uint32_t) override {
        return zav::IDYES;
    }
    void ProgressStep() override {}
    void Pause(int) override {}
};

// A sample game in a fresh folder below the build tree's temporary folder.
fs::path MakeSample(const std::string& name, int tracks, int cars, std::int64_t dataSize) {
    const fs::path folder = fs::temp_directory_path() / ("zav-bench-" + name);
    fs::remove_all(folder);
    zav::SampleOptions options;
    options.outputFolder = folder.string();
    options.proposedTracks = tracks;
    options.proposedCars = cars;
    options.dataSize = dataSize;
    std::string error;
    if (!zav::WriteSampleGame(options, error)) {
        throw std::runtime_error(error);
    }
    return folder;
}

// The session of a run on `sample`, with the game found and the source set.
struct Run {
    explicit Run(const fs::path& sample)
        : files((sample / "prefix").string()), profile(files), session(files, profile, ui) {
        session.settings.GameVersion =
            zav::FindGameDirectory(files, profile, &session.settings.GameDirectory);
        zav::SetSourceDirectory(session.settings, (sample / "disc").string());
    }
    zav::PosixFileSystem files;
    zav::FileSystemProfile profile;
    QuietUi ui;
    zav::PatcherSession session;
};

void AnalyseAndScan(zav::PatcherSession& session) {
    zav::CommandReport report;
    zav::AnalysePresentSet(session, zav::DataKind::Cars, report);
    zav::AnalysePresentSet(session, zav::DataKind::Tracks, report);
    zav::ScanNewData(session, zav::DataKind::Cars);
    zav::ScanNewData(session, zav::DataKind::Tracks);
}

void BM_StartUpAnalysisAndScan96(benchmark::State& state) {
    const fs::path sample = MakeSample("scan", 96, 96, 4096);
    Run run(sample);
    for (auto _ : state) {
        AnalyseAndScan(run.session);
        benchmark::DoNotOptimize(run.session.analysis.NewTrackTotal);
    }
    if (run.session.analysis.NewTrackTotal != 96 || run.session.analysis.NewCarTotal != 96) {
        state.SkipWithError("the scan did not find 96 tracks and 96 cars");
    }
    run.files.RemoveTemporaryFolder();
    fs::remove_all(sample);
}
BENCHMARK(BM_StartUpAnalysisAndScan96)->Unit(benchmark::kMillisecond);

// The files an install of every proposed track copies: each track's five set files.
std::vector<fs::path> TrackSetFiles(const fs::path& disc) {
    std::vector<fs::path> files;
    for (const auto& folder : fs::directory_iterator(disc / "circuits")) {
        const std::string name = folder.path().filename().string();
        const std::string second = zav::SecondRecordFileName(name);
        for (const std::string& file :
             {name + ".bl3", name + ".img", name + ".meg", name + ".brt", second + ".brt"}) {
            files.push_back(folder.path() / file);
        }
    }
    return files;
}

// A copy of the pristine game to work on, made outside the timing.
void ResetGame(const fs::path& pristine, const fs::path& work) {
    fs::remove_all(work);
    fs::copy(pristine, work, fs::copy_options::recursive | fs::copy_options::copy_symlinks);
}

void BM_InstallTwentyTracksOfOneMegabyteFiles(benchmark::State& state) {
    const fs::path pristine = MakeSample("install", 20, 0, kMegabyte);
    const fs::path work = pristine.string() + "-work";
    for (auto _ : state) {
        state.PauseTiming();
        ResetGame(pristine, work);
        auto run = std::make_unique<Run>(work);
        AnalyseAndScan(run->session);
        state.ResumeTiming();
        zav::AnalysisState& analysis = run->session.analysis;
        // The working copy the start-up makes, then "Add to List" and "Install New".
        zav::BuildDataPath(run->session.settings, "circuits", zav::EXT_WORK_COPY,
                           zav::FOLDER_SCRIPTS, nullptr, &analysis.TrackWorkListPath);
        run->files.CopyFile(analysis.TrackListPath.view(), analysis.TrackWorkListPath.view(),
                            false);
        for (std::int32_t i = 0; i < analysis.NewTrackTotal; ++i) {
            analysis.NewTrackFlags[static_cast<std::size_t>(i)] = zav::PROPOSED_MARKED;
        }
        zav::CommandReport report;
        if (zav::AddSelectedTracks(run->session, report) != zav::RESULT_OK ||
            zav::InstallAddedTracks(run->session, report) != zav::RESULT_OK) {
            state.SkipWithError("the install failed");
        }
        state.PauseTiming();
        run->files.RemoveTemporaryFolder();
        run.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 20 * 5 * kMegabyte);
    fs::remove_all(work);
    fs::remove_all(pristine);
}
BENCHMARK(BM_InstallTwentyTracksOfOneMegabyteFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PlainCopyOfTheSameFiles(benchmark::State& state) {
    const fs::path pristine = MakeSample("plain", 20, 0, kMegabyte);
    const std::vector<fs::path> files = TrackSetFiles(pristine / "disc");
    const fs::path target = pristine.string() + "-copy";
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(target);
        fs::create_directories(target);
        state.ResumeTiming();
        for (const fs::path& file : files) {
            fs::copy_file(file, target / file.filename());
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 20 * 5 * kMegabyte);
    fs::remove_all(target);
    fs::remove_all(pristine);
}
BENCHMARK(BM_PlainCopyOfTheSameFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

int RunProgram(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (spawned != 0 || waitpid(child, &status, 0) != child) {
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void BM_ZavpatchInstallAllTracks(benchmark::State& state) {
    const fs::path pristine = MakeSample("zavpatch", 20, 0, kMegabyte);
    const fs::path work = pristine.string() + "-work";
    const std::string zavpatch = ZAVPATCH_PATH;
    for (auto _ : state) {
        state.PauseTiming();
        ResetGame(pristine, work);
        state.ResumeTiming();
        const int status =
            RunProgram({zavpatch, "--prefix", (work / "prefix").string(), "--source",
                        (work / "disc").string(), "--yes", "install", "tracks", "--all"});
        if (status != 0) {
            state.SkipWithError("zavpatch install tracks --all failed");
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 20 * 5 * kMegabyte);
    fs::remove_all(work);
    fs::remove_all(pristine);
}
BENCHMARK(BM_ZavpatchInstallAllTracks)->Unit(benchmark::kMillisecond)->UseRealTime();

// The cost of the game's history (a saved copy of the list, every new file named and
// fingerprinted): the same zavpatch run with ZAV_HISTORY=off and on, in turns within each
// iteration so that the machine's other load falls on both alike. The counter "ratio" is the
// time with the history over the time without.
void BM_ZavpatchHistoryCost(benchmark::State& state) {
    const fs::path pristine = MakeSample("history", 20, 0, kMegabyte);
    const fs::path work = pristine.string() + "-work";
    double seconds[2] = {0, 0};
    for (auto _ : state) {
        double lap = 0;
        for (const int history : {1, 0}) {
            ResetGame(pristine, work);
            ::setenv("ZAV_HISTORY", history != 0 ? "on" : "off", 1);
            const auto start = std::chrono::steady_clock::now();
            const int status =
                RunProgram({ZAVPATCH_PATH, "--prefix", (work / "prefix").string(), "--source",
                            (work / "disc").string(), "--yes", "install", "tracks", "--all"});
            const double took =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            seconds[history] += took;
            lap += took;
            if (status != 0) {
                state.SkipWithError("zavpatch install tracks --all failed");
            }
        }
        state.SetIterationTime(lap);
    }
    ::unsetenv("ZAV_HISTORY");
    const auto runs = static_cast<double>(state.iterations());
    state.counters["off_ms"] = 1000 * seconds[0] / runs;
    state.counters["on_ms"] = 1000 * seconds[1] / runs;
    state.counters["ratio"] = seconds[1] / seconds[0];
    fs::remove_all(work);
    fs::remove_all(pristine);
}
BENCHMARK(BM_ZavpatchHistoryCost)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(20);

} // namespace

BENCHMARK_MAIN();
