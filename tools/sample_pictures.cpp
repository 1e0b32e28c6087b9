// Drawing of the sample's track and car pictures.
#include "tools/sample_pictures.h"

#include <cmath>
#include <numbers>

#include "tools/name_hash.h"
#include "tools/picture_writer.h"

namespace zav {
namespace {

struct Rgb {
    int red, green, blue;
};

// Hue in degrees, saturation and value from 0 to 1.
Rgb FromHsv(int hue, double saturation, double value) {
    const double h = static_cast<double>(((hue % 360) + 360) % 360) / 60.0;
    const double chroma = value * saturation;
    const double x = chroma * (1.0 - std::fabs(std::fmod(h, 2.0) - 1.0));
    double r = 0, g = 0, b = 0;
    switch (static_cast<int>(h)) {
    case 0:
        r = chroma, g = x;
        break;
    case 1:
        r = x, g = chroma;
        break;
    case 2:
        g = chroma, b = x;
        break;
    case 3:
        g = x, b = chroma;
        break;
    case 4:
        r = x, b = chroma;
        break;
    default:
        r = chroma, b = x;
        break;
    }
    const double m = value - chroma;
    const auto byte = [m](double c) { return static_cast<int>(std::lround((c + m) * 255.0)); };
    return {byte(r), byte(g), byte(b)};
}

std::uint16_t Colour(const Rgb& rgb) {
    return Rgb555(rgb.red, rgb.green, rgb.blue);
}

// ---- Track ----------------------------------------------------------------------------------

enum TrackIndex : std::uint8_t {
    INDEX_BLACK = 0,
    INDEX_WHITE = 1,
    INDEX_ROAD = 2,
    INDEX_KERB = 3,
    INDEX_GRASS_LIGHT = 4,
    INDEX_GRASS_DARK = 5,
    INDEX_FRAME = 6,
    INDEX_FIRST_RAMP = 16,
};

Palette555 TrackPalette(std::uint32_t hash) {
    Palette555 palette{};
    const int grassHue = 85 + static_cast<int>((hash >> 8) % 60);
    const int kerbHue = static_cast<int>(hash % 360);
    palette[INDEX_BLACK] = Rgb555(0, 0, 0);
    palette[INDEX_WHITE] = Rgb555(255, 255, 255);
    palette[INDEX_ROAD] = Colour(FromHsv(kerbHue, 0.08, 0.42));
    palette[INDEX_KERB] = Colour(FromHsv(kerbHue, 0.9, 0.9));
    palette[INDEX_GRASS_LIGHT] = Colour(FromHsv(grassHue, 0.6, 0.62));
    palette[INDEX_GRASS_DARK] = Colour(FromHsv(grassHue, 0.65, 0.5));
    palette[INDEX_FRAME] = Colour(FromHsv(kerbHue + 180, 0.5, 0.3));
    // The rest of the table is a full hue circle, so every entry of the block holds a colour.
    for (int i = INDEX_FIRST_RAMP; i < PICTURE_PALETTE_ENTRIES; ++i) {
        palette[static_cast<std::size_t>(i)] =
            Colour(FromHsv((i - INDEX_FIRST_RAMP) * 3 / 2, 0.7, 0.85));
    }
    return palette;
}

// The loop is a wobbly ellipse: its radius, relative to the ellipse, at angle theta.
struct LoopShape {
    double wobble2, phase2, wobble3, phase3;

    explicit LoopShape(std::uint32_t hash)
        : wobble2(0.08 + 0.01 * ((hash >> 3) % 9)), phase2(0.1 * ((hash >> 7) % 63)),
          wobble3(0.04 + 0.01 * ((hash >> 13) % 6)), phase3(0.1 * ((hash >> 17) % 63)) {}

    [[nodiscard]] double Radius(double theta) const {
        return 1.0 + wobble2 * std::sin(2.0 * theta + phase2) +
               wobble3 * std::sin(3.0 * theta + phase3);
    }
};

std::uint8_t TrackPixel(int x, int y, int width, int height, const LoopShape& shape) {
    constexpr int kFrame = 2;
    constexpr double kRoadHalf = 0.075;
    constexpr double kKerbHalf = 0.105;
    constexpr int kKerbSegments = 40;
    if (x < kFrame || y < kFrame || x >= width - kFrame || y >= height - kFrame) {
        return INDEX_FRAME;
    }
    const double centreX = width / 2.0;
    const double centreY = height / 2.0;
    const double dx = (x + 0.5 - centreX) / (width * 0.36);
    const double dy = (y + 0.5 - centreY) / (height * 0.34);
    const double theta = std::atan2(dy, dx);
    const double offset = std::hypot(dx, dy) - shape.Radius(theta);
    if (std::fabs(offset) < kRoadHalf) {
        // The start line crosses the bottom straight, where the road runs across the picture.
        if (y > centreY && std::abs(x - static_cast<int>(centreX)) <= 3) {
            return ((x / 2 + y / 2) % 2 == 0) ? INDEX_WHITE : INDEX_BLACK;
        }
        return INDEX_ROAD;
    }
    if (std::fabs(offset) < kKerbHalf) {
        const double turn = (theta + std::numbers::pi) / (2.0 * std::numbers::pi);
        return static_cast<int>(turn * kKerbSegments) % 2 == 0 ? INDEX_KERB : INDEX_WHITE;
    }
    // Mown grass: diagonal stripes.
    return ((x + y) / 12) % 2 == 0 ? INDEX_GRASS_LIGHT : INDEX_GRASS_DARK;
}

// ---- Car ------------------------------------------------------------------------------------

struct CarColours {
    std::uint16_t background, body, stripe, window, tyre, hub, headlight, taillight, flagDark,
        flagLight;
};

CarColours CarPalette(std::uint32_t hash) {
    const int bodyHue = static_cast<int>(hash % 360);
    return {Colour(FromHsv(bodyHue + 180, 0.15, 0.95)),
            Colour(FromHsv(bodyHue, 0.85, 0.8)),
            Colour(FromHsv(bodyHue + 150, 0.7, 0.95)),
            Colour(FromHsv(205, 0.35, 0.9)),
            Rgb555(24, 24, 24),
            Rgb555(170, 170, 170),
            Rgb555(255, 240, 120),
            Rgb555(220, 20, 20),
            Rgb555(0, 0, 0),
            Rgb555(255, 255, 255)};
}

bool InCircle(int x, int y, int centreX, int centreY, int radius) {
    const int dx = x - centreX;
    const int dy = y - centreY;
    return dx * dx + dy * dy <= radius * radius;
}

// Inside the rectangle [left, right) × [top, bottom) with corners rounded by `radius`.
bool InRoundedBox(int x, int y, int left, int top, int right, int bottom, int radius) {
    if (x < left || x >= right || y < top || y >= bottom) {
        return false;
    }
    const int nearX =
        x < left + radius ? left + radius : (x >= right - radius ? right - radius - 1 : x);
    const int nearY =
        y < top + radius ? top + radius : (y >= bottom - radius ? bottom - radius - 1 : y);
    return InCircle(x, y, nearX, nearY, radius);
}

// The cabin narrows towards its roof: a trapezoid from (70..270) at y 122 to (105..225) at y 72.
bool InCabin(int x, int y, int inset) {
    constexpr int kRoof = 72;
    constexpr int kBase = 122;
    if (y < kRoof + inset || y >= kBase) {
        return false;
    }
    const int rise = kBase - y;
    const int left = 70 + rise * 35 / (kBase - kRoof) + inset;
    const int right = 270 - rise * 45 / (kBase - kRoof) - inset;
    return x >= left && x < right;
}

std::uint16_t CarPixel(int x, int y, const CarColours& colours) {
    constexpr int kFlagSquare = 7;
    constexpr int kWheelY = 186;
    if (x >= SAMPLE_CAR_SHOWN_WIDTH) {
        const bool dark = ((x - SAMPLE_CAR_SHOWN_WIDTH) / kFlagSquare + y / kFlagSquare) % 2 == 0;
        return dark ? colours.flagDark : colours.flagLight;
    }
    for (const int wheelX : {92, 248}) {
        if (InCircle(x, y, wheelX, kWheelY, 31)) {
            if (InCircle(x, y, wheelX, kWheelY, 4)) {
                return colours.tyre;
            }
            return InCircle(x, y, wheelX, kWheelY, 14) ? colours.hub : colours.tyre;
        }
    }
    if (x >= 301 && x < 312 && y >= 132 && y < 144) {
        return colours.headlight;
    }
    if (x >= 28 && x < 36 && y >= 130 && y < 146) {
        return colours.taillight;
    }
    if (InRoundedBox(x, y, 28, 120, 312, 190, 14)) {
        return y >= 148 && y < 156 ? colours.stripe : colours.body;
    }
    if (InCabin(x, y, 0)) {
        // Two side windows separated by the pillar behind the door.
        const bool window = InCabin(x, y, 7) && (x < 160 || x >= 170);
        return window ? colours.window : colours.body;
    }
    return colours.background;
}

Palette555 GreyPalette() {
    Palette555 palette{};
    for (int i = 0; i < PICTURE_PALETTE_ENTRIES; ++i) {
        palette[static_cast<std::size_t>(i)] = Rgb555(i, i, i);
    }
    return palette;
}

} // namespace

std::vector<std::uint8_t> DrawTrackPicture(std::string_view name, int width) {
    constexpr int kMinWidth = 16;
    constexpr int kMaxWidth = 4096;
    if (width < kMinWidth || width > kMaxWidth) {
        return {};
    }
    const std::uint32_t hash = NameHash(name);
    const LoopShape shape(hash);
    const int height = SAMPLE_TRACK_PICTURE_HEIGHT;
    std::vector<std::uint8_t> pixels;
    pixels.reserve(static_cast<std::size_t>(width * height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            pixels.push_back(TrackPixel(x, y, width, height, shape));
        }
    }
    return EncodeIndexedPicture(width, height, TrackPalette(hash), pixels);
}

std::vector<std::uint8_t> DrawCarPicture(std::string_view name) {
    const CarColours colours = CarPalette(NameHash(name));
    std::vector<std::uint16_t> pixels;
    pixels.reserve(static_cast<std::size_t>(SAMPLE_CAR_PICTURE_WIDTH * SAMPLE_CAR_PICTURE_HEIGHT));
    for (int y = 0; y < SAMPLE_CAR_PICTURE_HEIGHT; ++y) {
        for (int x = 0; x < SAMPLE_CAR_PICTURE_WIDTH; ++x) {
            pixels.push_back(CarPixel(x, y, colours));
        }
    }
    return EncodeDirectPicture(SAMPLE_CAR_PICTURE_WIDTH, SAMPLE_CAR_PICTURE_HEIGHT, GreyPalette(),
                               pixels);
}

} // namespace zav
