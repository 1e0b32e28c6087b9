// bench_gui: how long the window takes to come up on a full disc, and to draw a car's picture.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTabBar>
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "patcher_window.h"
#include "platform/posix/posix_file_system.h"
#include "platform/profile_reader.h"
#include "preview/draw_preview.h"
#include "preview/picture_decoder.h"
#include "shell/patcher_dialog.h"
#include "shell/window_model.h"
#include "tools/sample_game.h"

namespace {

constexpr int kProposed = 96;

/// A sample game whose disc fills every proposed slot: 96 tracks and 96 cars. Written once.
class FullDisc {
public:
    static FullDisc& Get() {
        static FullDisc disc;
        return disc;
    }
    [[nodiscard]] bool Ok() const { return error.empty(); }

    std::string prefix;
    std::string source;
    std::string error;

private:
    FullDisc() {
        const QString temporary = folder_.filePath(QStringLiteral("tmp"));
        QDir().mkpath(temporary);
        qputenv("TMPDIR", temporary.toUtf8()); // the runs' staging lists stay in here
        zav::SampleOptions options;
        options.outputFolder = folder_.filePath(QStringLiteral("sample")).toStdString();
        options.proposedTracks = kProposed;
        options.proposedCars = kProposed;
        if (zav::WriteSampleGame(options, error)) {
            prefix = options.outputFolder + "/prefix";
            source = options.outputFolder + "/disc";
        }
    }
    QTemporaryDir folder_;
};

/// Notes the first paint of a window.
class FirstPaint final : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        painted = painted || event->type() == QEvent::Paint;
        return false;
    }
    bool painted = false;
};

/// The window with its dialog logic over the full disc, pauses off.
struct Run {
    Run()
        : files(FullDisc::Get().prefix), profile(files),
          window(zav::PatcherWindow::Options{false, [](int) {}, {}}),
          dialog(files, profile, window, FullDisc::Get().source) {
        window.AttachDialog(&dialog);
    }
    ~Run() {
        if (!dialog.Ended()) {
            dialog.OnCloseButton(); // deletes the run's working copies and staging lists
        }
        window.AttachDialog(nullptr);
    }
    zav::PosixFileSystem files;
    zav::FileSystemProfile profile;
    zav::PatcherWindow window;
    zav::PatcherDialog dialog;
};

// From the window's construction to its first paint with the lists filled: the analysis of the
// game, the scan of 96 + 96 proposed entries, the working copies, the widgets and their drawing.
void StartToShownWindow(benchmark::State& state) {
    if (!FullDisc::Get().Ok()) {
        state.SkipWithError(FullDisc::Get().error.c_str());
        return;
    }
    for (auto _ : state) {
        auto run = std::make_unique<Run>();
        FirstPaint watch;
        run->window.installEventFilter(&watch);
        if (!run->dialog.OnInitDialog()) {
            state.SkipWithError("the start-up failed");
            return;
        }
        while (!watch.painted) {
            QApplication::processEvents();
        }
        state.PauseTiming();
        if (run->window.ListCount(zav::IDC_NEW_LIST) != kProposed) {
            state.SkipWithError("the proposed list is not full");
        }
        run->window.removeEventFilter(&watch);
        run.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(StartToShownWindow)->Unit(benchmark::kMillisecond);

// A PreviewCanvas that draws into an image as the window does.
class ImageCanvas final : public zav::PreviewCanvas {
public:
    ImageCanvas() : image_(800, 600, QImage::Format_RGB32) { image_.fill(Qt::lightGray); }
    void DrawImage(std::int32_t x, std::int32_t y, const zav::RgbImage& picture) override {
        const QImage rows(picture.rgb.data(), picture.width, picture.height, picture.width * 3,
                          QImage::Format_RGB888);
        QPainter painter(&image_);
        painter.drawImage(QPoint(x, y), rows);
    }

private:
    QImage image_;
};

std::string CarPicturePath() {
    return FullDisc::Get().source + "/voitures/Comet/Comet.img";
}

// DrawPreview of a 360 × 256 car picture: open, read, decode to 332 × 256 RGB, draw.
void DecodeAndDrawCarPicture(benchmark::State& state) {
    if (!FullDisc::Get().Ok()) {
        state.SkipWithError(FullDisc::Get().error.c_str());
        return;
    }
    zav::PosixFileSystem files(FullDisc::Get().prefix);
    ImageCanvas canvas;
    const std::string path = CarPicturePath();
    for (auto _ : state) {
        if (zav::DrawPreview(files, canvas, 399, 457, zav::DataKind::Cars, path) != 1) {
            state.SkipWithError("the car picture did not open");
            return;
        }
    }
}
BENCHMARK(DecodeAndDrawCarPicture)->Unit(benchmark::kMicrosecond);

// A whole paint of the window in its car preview layout: the widgets and the picture, decoded
// again as every paint does.
void RepaintCarPreviewWindow(benchmark::State& state) {
    if (!FullDisc::Get().Ok()) {
        state.SkipWithError(FullDisc::Get().error.c_str());
        return;
    }
    Run run;
    if (!run.dialog.OnInitDialog()) {
        state.SkipWithError("the start-up failed");
        return;
    }
    auto* tabs = qobject_cast<QTabBar*>(run.window.Control(zav::IDC_TAB));
    tabs->setCurrentIndex(1);
    run.window.SetListEntrySelected(zav::IDC_NEW_LIST, 0, true);
    run.dialog.UpdateButtonStates();
    run.dialog.OnDisplay();
    if (run.dialog.State().PreviewShown != 1) {
        state.SkipWithError("no car preview");
        return;
    }
    QApplication::processEvents();
    for (auto _ : state) {
        run.window.repaint();
    }
}
BENCHMARK(RepaintCarPreviewWindow)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    // Runs without a display unless told otherwise.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    QApplication application(argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
