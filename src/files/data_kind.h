// DataKind: whether an operation works on the game's tracks or on its cars.
#pragma once

#include <cstdint>

namespace zav {

/// What an operation works on. The values are the ones the tool stores and compares (0 tracks,
/// 1 cars): a tab that is neither is told apart with std::optional, never with a third value.
enum class DataKind : std::int32_t { Tracks = 0, Cars = 1 };

} // namespace zav
