// FakeView: recorded window calls, scripted answers.
#include "support/fake_view.h"

namespace zav::test {

int FakeView::MessageBox(std::string_view text, std::string_view caption, std::uint32_t style) {
    boxes.push_back({std::string(text), std::string(caption), style});
    events.emplace_back("box");
    if ((style & MB_TYPEMASK) != MB_YESNO) {
        return IDOK;
    }
    if (answers.empty()) {
        return IDNO;
    }
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}

void FakeView::SetButtonPicture(std::int32_t button, int bitmap) {
    HeadlessDialogView::SetButtonPicture(button, bitmap);
    pictures.push_back({button, bitmap});
}

void FakeView::ResizeWindow(std::int32_t width, std::int32_t height) {
    HeadlessDialogView::ResizeWindow(width, height);
    sizes.push_back({width, height});
    events.emplace_back("resize");
}

void FakeView::SetProgressRange(std::int32_t lower, std::int32_t upper) {
    HeadlessDialogView::SetProgressRange(lower, upper);
    progressRanges.emplace_back(lower, upper);
}

void FakeView::SetProgressStep(std::int32_t step) {
    HeadlessDialogView::SetProgressStep(step);
    progressStepSizes.push_back(step);
}

void FakeView::SetProgressPosition(std::int32_t position) {
    HeadlessDialogView::SetProgressPosition(position);
    progressPositions.push_back(position);
}

void FakeView::StepProgress() {
    HeadlessDialogView::StepProgress();
    ++progressSteps;
}

void FakeView::ShowWaitDialog(std::string_view text) {
    HeadlessDialogView::ShowWaitDialog(text);
    waitTextsShown.emplace_back(text);
    events.emplace_back("wait-shown");
}

void FakeView::CloseWaitDialog() {
    HeadlessDialogView::CloseWaitDialog();
    ++waitDialogsClosed;
    events.emplace_back("wait-closed");
}

void FakeView::DrawImage(std::int32_t x, std::int32_t y, const RgbImage& image) {
    drawings.push_back({x, y, image.width, image.height});
}

void FakeView::EndDialog(int result) {
    HeadlessDialogView::EndDialog(result);
    endDialogResults.push_back(result);
    events.emplace_back("end");
}

void FakeView::ExitProcess(int exitCode) {
    HeadlessDialogView::ExitProcess(exitCode);
    exitCodes.push_back(exitCode);
    events.emplace_back("exit");
}

void FakeView::ClearRecords() {
    boxes.clear();
    pictures.clear();
    sizes.clear();
    progressRanges.clear();
    progressStepSizes.clear();
    progressPositions.clear();
    progressSteps = 0;
    pauses.clear();
    waitTextsShown.clear();
    waitDialogsClosed = 0;
    aboutBoxes = 0;
    iconsDrawn = 0;
    drawings.clear();
    endDialogResults.clear();
    exitCodes.clear();
    events.clear();
}

std::vector<ShownBox> FakeView::BoxesCaptioned(std::string_view caption) const {
    std::vector<ShownBox> found;
    for (const ShownBox& box : boxes) {
        if (box.caption == caption) {
            found.push_back(box);
        }
    }
    return found;
}

} // namespace zav::test
