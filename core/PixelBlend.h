#pragma once
// Composition of one layer pixel over the picture below it, and the same for whole spans; the
// row kernels the renderer is built from (fill, opaque copy, blend of one colour over a span).

#include "core/Color.h"

#include <cstdint>
#include <vector>

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
// any processor; BlendSpan takes several pixels per step with the widest form the processor has.
// All forms give exactly the same pixels.
void BlendSpanPlain(TColor32* out, int n, TColor32 color, std::uint32_t w);
void BlendSpan(TColor32* out, int n, TColor32 color, std::uint32_t w);

using TBlendSpanFunction = void (*)(TColor32* out, int n, TColor32 color, std::uint32_t w);
struct TBlendSpanForm
{
    const char* Name;
    TBlendSpanFunction Function;
};
// Every form this processor can run, the plain one first (for tests that compare them).
std::vector<TBlendSpanForm> BlendSpanForms();

// out[i] = src[i] | $FF000000: picture pixels made opaque. The ranges must not overlap.
void CopyOpaque(TColor32* out, const TColor32* src, int n);

// [out, out + n) becomes c.
void FillPixels(TColor32* out, int n, TColor32 c);

} // namespace tavrin
