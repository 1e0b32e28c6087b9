// The sample's preview pictures: a circuit outline for a track, a car's side view for a car.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace zav {

inline constexpr int SAMPLE_TRACK_PICTURE_HEIGHT = 200;
/// Track picture widths: one that is not a multiple of 4 (rows that a drawing interface would
/// pad) and one that is.
inline constexpr int SAMPLE_TRACK_PICTURE_ODD_WIDTH = 286;
inline constexpr int SAMPLE_TRACK_PICTURE_EVEN_WIDTH = 288;
/// Car pictures are wider than the 332 columns the patcher shows, with something to see beyond.
inline constexpr int SAMPLE_CAR_PICTURE_WIDTH = 360;
inline constexpr int SAMPLE_CAR_PICTURE_HEIGHT = 256;
inline constexpr int SAMPLE_CAR_SHOWN_WIDTH = 332;

/// An 8-bit picture file, `width` × SAMPLE_TRACK_PICTURE_HEIGHT (width 16 to 4096, else empty):
/// a closed loop road with kerbs and a chequered start line on striped grass in a frame. The
/// loop's shape and the colours follow from `name`.
std::vector<std::uint8_t> DrawTrackPicture(std::string_view name, int width);

/// A 16-bit picture file, SAMPLE_CAR_PICTURE_WIDTH × SAMPLE_CAR_PICTURE_HEIGHT: a car seen from
/// the side (body, stripe, cabin with two windows, lights, two wheels) on a plain background,
/// and a chequered band in the columns from SAMPLE_CAR_SHOWN_WIDTH on. Colours follow from
/// `name`.
std::vector<std::uint8_t> DrawCarPicture(std::string_view name);

} // namespace zav
