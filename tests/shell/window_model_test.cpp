// The main window's layouts and the pictures its buttons show for the command flags.
#include "shell/window_model.h"

#include <gtest/gtest.h>

namespace zav {
namespace {

TEST(WindowModelTest, LayoutsAreSizesRelativeToTheInitialWindow) {
    const WindowRect initial{100, 100, 460, 600};
    const auto size = [&](Layout layout) {
        const WindowSize s = LayoutSize(layout, initial);
        return std::pair{s.width, s.height};
    };
    EXPECT_EQ(size(Layout::Compact), std::pair(360, 475));
    EXPECT_EQ(size(Layout::Full), std::pair(360, 500));
    EXPECT_EQ(size(Layout::TrackPreview), std::pair(658, 420));
    EXPECT_EQ(size(Layout::CarPreview), std::pair(702, 420));
}

std::vector<int> PicturesInRefreshOrder(const ShellState& state) {
    std::vector<int> pictures;
    for (const std::int32_t button : {IDC_ADD, IDC_DISPLAY, IDC_INSTALL, IDC_TRASH, IDC_CANCEL}) {
        pictures.push_back(ButtonPictureFor(state, button));
    }
    return pictures;
}

TEST(WindowModelTest, ButtonsShowTheirInactivePicturesWhileTheirFlagsAreZero) {
    ShellState state;
    EXPECT_EQ(PicturesInRefreshOrder(state), (std::vector<int>{180, 175, 177, 179, 176}));
    EXPECT_EQ(ButtonPictureFor(state, IDC_CLOSE), 171);
}

TEST(WindowModelTest, EachFlagSwitchesOnlyItsOwnButton) {
    ShellState state;
    state.TrashEnabled = 1;
    EXPECT_EQ(PicturesInRefreshOrder(state), (std::vector<int>{180, 175, 177, 172, 176}));
    state.AddEnabled = state.DisplayEnabled = state.InstallEnabled = state.CancelEnabled = 1;
    EXPECT_EQ(PicturesInRefreshOrder(state), (std::vector<int>{173, 168, 170, 172, 169}));
    EXPECT_EQ(ButtonPictureFor(state, IDC_CLOSE), 171);
    EXPECT_EQ(ButtonPictureFor(state, IDC_NEW_LIST), 0) << "not a picture button";
}

} // namespace
} // namespace zav
