// The two fixed colour tables that colour indices 0..9 of lesson files select from.
#pragma once

#include "platform/Geometry.h"

#include <array>
#include <cstdint>

namespace lorvenna {

inline constexpr std::array<Color, 10> kNormalPalette{{
    {0, 0, 0},
    {128, 0, 0},
    {226, 14, 14},
    {226, 154, 14},
    {214, 226, 14},
    {14, 226, 59},
    {33, 14, 227},
    {235, 5, 227},
    {128, 128, 128},
    {204, 204, 204},
}};

inline constexpr std::array<Color, 10> kHighlightPalette{{
    {240, 240, 240},
    {0, 240, 240},
    {0, 128, 128},
    {0, 0, 240},
    {0, 0, 128},
    {128, 0, 128},
    {128, 128, 0},
    {0, 128, 0},
    {192, 192, 192},
    {128, 128, 128},
}};

// An index outside 0..9 takes the nearest end of the table.
inline int clampColorIndex(std::int32_t index) {
    return index < 0 ? 0 : (index > 9 ? 9 : index);
}
inline Color normalColor(std::int32_t index) {
    return kNormalPalette[clampColorIndex(index)];
}
inline Color highlightColor(std::int32_t index) {
    return kHighlightPalette[clampColorIndex(index)];
}

} // namespace lorvenna
