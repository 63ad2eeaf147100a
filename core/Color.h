#pragma once
// Two colour types that must never be mixed silently:
//  - TColor32: a layer-bitmap pixel, $AARRGGBB, alpha in the top byte.
//  - TColor:   a platform colour value, $00BBGGRR (red in the low byte), used for picture pixels as
//              read out, swatches, the guide colour and every colour code.

#include <cstdint>

namespace tavrin {

using TColor32 = std::uint32_t;

enum class TColor : std::uint32_t {};

constexpr TColor32 clTransparent32 = 0x00000000;
constexpr TColor32 clBlack32 = 0xFF000000;
constexpr TColor32 clWhite32 = 0xFFFFFFFF;

constexpr TColor clBlack{0x000000};
constexpr TColor clWhite{0xFFFFFF};
constexpr TColor clRed{0x0000FF};
// What a pixel read outside a picture gives: the platform's invalid colour.
constexpr TColor clInvalidColor{0xFFFFFFFF};

constexpr TColor MakeColor(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    return TColor{static_cast<std::uint32_t>(r) | static_cast<std::uint32_t>(g) << 8 |
                  static_cast<std::uint32_t>(b) << 16};
}
constexpr std::uint32_t ColorValue(TColor c) { return static_cast<std::uint32_t>(c) & 0xFFFFFF; }
constexpr std::uint32_t RawColorValue(TColor c) { return static_cast<std::uint32_t>(c); }

constexpr std::uint8_t AlphaOf(TColor32 c) { return static_cast<std::uint8_t>(c >> 24); }
constexpr std::uint8_t RedOf(TColor32 c) { return static_cast<std::uint8_t>(c >> 16); }
constexpr std::uint8_t GreenOf(TColor32 c) { return static_cast<std::uint8_t>(c >> 8); }
constexpr std::uint8_t BlueOf(TColor32 c) { return static_cast<std::uint8_t>(c); }

constexpr TColor32 MakeColor32(std::uint8_t a, std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    return static_cast<TColor32>(a) << 24 | static_cast<TColor32>(r) << 16 | static_cast<TColor32>(g) << 8 | b;
}

// The pixel a canvas writes for a platform colour: the same RGB with alpha byte 0.
constexpr TColor32 CanvasPixelOf(TColor c)
{
    const std::uint32_t v = ColorValue(c);
    return MakeColor32(0, v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
}

// The platform colour of a pixel; alpha is dropped.
constexpr TColor ColorOfPixel(TColor32 p) { return MakeColor(RedOf(p), GreenOf(p), BlueOf(p)); }

// A pixel of the given platform colour, fully opaque.
constexpr TColor32 OpaquePixelOf(TColor c) { return CanvasPixelOf(c) | 0xFF000000u; }

} // namespace tavrin
