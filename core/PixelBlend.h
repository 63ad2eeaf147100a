#pragma once
// Composition of one layer pixel over the picture below it, and the same for whole spans.

#include "core/Color.h"

#include <cstdint>

namespace tavrin {

// x / 255 rounded, for 0 <= x <= 255 * 255.
constexpr std::uint32_t Div255(std::uint32_t x) { return (x + 128 + ((x + 128) >> 8)) >> 8; }

// The same for two 16-bit lanes at once (bits 0-15 and 16-31), each at most 255 * 255.
constexpr std::uint32_t Div255Lanes(std::uint32_t x)
{
    x += 0x00800080u;
    return ((x + ((x >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
}

// The weight a layer pixel gets: alpha(src) x master / 255.
constexpr std::uint32_t BlendWeight(TColor32 src, std::uint8_t master)
{
    return Div255(AlphaOf(src) * static_cast<std::uint32_t>(master));
}

// src over dst with weight w (0..255); the result is opaque.
constexpr TColor32 BlendWeighted(TColor32 src, TColor32 dst, std::uint32_t w)
{
    if (w == 0)
        return dst | 0xFF000000u;
    if (w == 255)
        return src | 0xFF000000u;
    const std::uint32_t rb = Div255Lanes((src & 0x00FF00FFu) * w + (dst & 0x00FF00FFu) * (255 - w));
    const std::uint32_t g = Div255(((src >> 8) & 0xFFu) * w + ((dst >> 8) & 0xFFu) * (255 - w));
    return 0xFF000000u | rb | g << 8;
}

// src over dst with weight alpha(src) x master / 255; the result is opaque.
constexpr TColor32 BlendPixel(TColor32 src, TColor32 dst, std::uint8_t master)
{
    return BlendWeighted(src, dst, BlendWeight(src, master));
}

// Every pixel of [out, out + n) becomes BlendWeighted(color, pixel, w). The plain form works on
// any processor; the other takes several pixels per step where the processor allows it. Both give
// exactly the same pixels.
void BlendSpanPlain(TColor32* out, int n, TColor32 color, std::uint32_t w);
void BlendSpan(TColor32* out, int n, TColor32 color, std::uint32_t w);

// out[i] = src[i] | $FF000000: picture pixels made opaque.
void CopyOpaque(TColor32* out, const TColor32* src, int n);

} // namespace tavrin
