// Dialog units to pixels, for the dialog's 8-point font.
#pragma once

#include <QFont>
#include <QRect>

namespace zav {

/// The dialog's base units: the average character width and the height of its font in pixels.
/// A horizontal dialog unit is a quarter of the first, a vertical one an eighth of the second.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);
    DialogUnits(int baseWidth, int baseHeight) : baseWidth_(baseWidth), baseHeight_(baseHeight) {}

    [[nodiscard]] int X(int units) const { return (units * baseWidth_ + 2) / 4; }
    [[nodiscard]] int Y(int units) const { return (units * baseHeight_ + 4) / 8; }
    [[nodiscard]] QRect Rect(int x, int y, int width, int height) const {
        return {X(x), Y(y), X(width), Y(height)};
    }
    [[nodiscard]] int BaseWidth() const { return baseWidth_; }
    [[nodiscard]] int BaseHeight() const { return baseHeight_; }

private:
    int baseWidth_ = 6;
    int baseHeight_ = 13;
};

/// The dialog's font: a plain sans-serif face at 8 points.
QFont DialogFont();

} // namespace zav
