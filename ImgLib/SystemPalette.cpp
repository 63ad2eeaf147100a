#include "ImgLib/SystemPalette.h"

namespace tavrin {
namespace {

constexpr std::array<TRgb, kStaticColorCount> kStaticColors{{
    {0, 0, 0},       // black
    {128, 0, 0},     // maroon
    {0, 128, 0},     // green
    {128, 128, 0},   // olive
    {0, 0, 128},     // navy
    {128, 0, 128},   // purple
    {0, 128, 128},   // teal
    {192, 192, 192}, // silver
    {192, 220, 192}, // money green
    {166, 202, 240}, // sky blue
    {255, 251, 240}, // cream
    {160, 160, 164}, // medium grey
    {128, 128, 128}, // grey
    {255, 0, 0},     // red
    {0, 255, 0},     // lime
    {255, 255, 0},   // yellow
    {0, 0, 255},     // blue
    {255, 0, 255},   // fuchsia
    {0, 255, 255},   // aqua
    {255, 255, 255}, // white
}};

constexpr std::array<TRgb, kHalftoneColorCount> MakeHalftonePalette()
{
    std::array<TRgb, kHalftoneColorCount> table{};
    for (int i = 0; i < kHalftoneColorCount; ++i)
        table[i] = {static_cast<std::uint8_t>(32 * (i % 8)), static_cast<std::uint8_t>(32 * ((i / 8) % 8)),
                    static_cast<std::uint8_t>(64 * (i / 64))};
    for (int i = 0; i < kStaticColorCount; ++i)
        table[StaticColorIndex(i)] = kStaticColors[i];
    return table;
}

constexpr std::array<TRgb, kHalftoneColorCount> kHalftone = MakeHalftonePalette();

} // namespace

const std::array<TRgb, kHalftoneColorCount>& HalftonePalette()
{
    return kHalftone;
}

const std::array<TRgb, kStaticColorCount>& StaticSystemColors()
{
    return kStaticColors;
}

} // namespace tavrin
