// FakeView: the dialog's window held in memory, recording what the dialog does to it.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "shell/headless_dialog_view.h"
#include "support/fake_ui.h"

namespace zav::test {

/// A HeadlessDialogView that records every message box (answering Yes/No questions from a
/// script), every picture set, resize, progress call, pause, drawing and ending, so tests can
/// check both the resulting window state and the calls that led to it.
class FakeView final : public HeadlessDialogView {
public:
    struct PictureSet {
        std::int32_t button;
        int bitmap;
    };
    struct Size {
        std::int32_t width;
        std::int32_t height;
        bool operator==(const Size&) const = default;
    };
    struct Drawing {
        std::int32_t x;
        std::int32_t y;
        std::int32_t width;
        std::int32_t height;
    };

    int MessageBox(std::string_view text, std::string_view caption, std::uint32_t style) override;
    void SetButtonPicture(std::int32_t button, int bitmap) override;
    void ResizeWindow(std::int32_t width, std::int32_t height) override;
    void SetProgressRange(std::int32_t lower, std::int32_t upper) override;
    void SetProgressStep(std::int32_t step) override;
    void SetProgressPosition(std::int32_t position) override;
    void StepProgress() override;
    void Pause(int milliseconds) override { pauses.push_back(milliseconds); }
    void ShowWaitDialog(std::string_view text) override;
    void CloseWaitDialog() override;
    void ShowAboutBox() override { ++aboutBoxes; }
    void DrawIconCentred() override { ++iconsDrawn; }
    void DrawImage(std::int32_t x, std::int32_t y, const RgbImage& image) override;
    void EndDialog(int result) override;
    void ExitProcess(int exitCode) override;

    /// Forgets what was recorded so far (the window's state stays).
    void ClearRecords();
    /// The boxes shown whose caption is `caption`.
    [[nodiscard]] std::vector<ShownBox> BoxesCaptioned(std::string_view caption) const;

    /// Answers for the next Yes/No questions, in order; IDNO when none is left, so a question
    /// that a test did not expect never destroys anything.
    std::deque<int> answers;

    std::vector<ShownBox> boxes;
    std::vector<PictureSet> pictures;
    std::vector<Size> sizes;
    std::vector<std::pair<std::int32_t, std::int32_t>> progressRanges;
    std::vector<std::int32_t> progressStepSizes;
    std::vector<std::int32_t> progressPositions;
    int progressSteps = 0;
    std::vector<int> pauses;
    std::vector<std::string> waitTextsShown;
    int waitDialogsClosed = 0;
    int aboutBoxes = 0;
    int iconsDrawn = 0;
    std::vector<Drawing> drawings;
    std::vector<int> endDialogResults;
    std::vector<int> exitCodes;
    /// "box", "wait-shown", "wait-closed", "resize", "exit", "end": the order things happened in.
    std::vector<std::string> events;
};

} // namespace zav::test
