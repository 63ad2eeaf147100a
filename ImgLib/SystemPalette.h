#pragma once
// The platform's standard 256-colour halftone palette: the 20 static system colours at entries 0-9 and
// 246-255 and a 8 x 8 x 4 colour cube (red varying fastest) in between. Pictures reduced to 256 colours
// for the transparent GIF and the writers' fixed entries use it.

#include <array>
#include <cstdint>
#include <span>

namespace tavrin {

// One colour of a palette.
struct TRgb
{
    std::uint8_t R = 0;
    std::uint8_t G = 0;
    std::uint8_t B = 0;
    friend constexpr bool operator==(TRgb, TRgb) = default;
};

constexpr int kHalftoneColorCount = 256;
constexpr int kStaticColorCount = 20;

// The whole table, entry by entry. Six colours appear twice (32 = 2, 36 = 3, 128 = 4, 132 = 5, 160 = 6,
// 164 = 248).
const std::array<TRgb, kHalftoneColorCount>& HalftonePalette();

// The 20 static colours in table order: entries 0-9, then entries 246-255.
const std::array<TRgb, kStaticColorCount>& StaticSystemColors();

// The table index of the i-th static colour (0-9 give 0-9, 10-19 give 246-255).
constexpr int StaticColorIndex(int i)
{
    return i < 10 ? i : i + 236;
}

} // namespace tavrin
