#include "core/PixelBlend.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tavrin {

void BlendSpanPlain(TColor32* out, int n, TColor32 color, std::uint32_t w)
{
    for (int i = 0; i < n; ++i)
        out[i] = BlendWeighted(color, out[i], w);
}

#if defined(__SSE2__)

// Four pixels per step in 16-bit lanes: s x w + d x (255 - w), divided by 255 with the same
// rounding as Div255, so every pixel equals the plain form's.
void BlendSpan(TColor32* out, int n, TColor32 color, std::uint32_t w)
{
    if (w == 0 || w == 255) { // the ends need no arithmetic; keep the plain form's exact result
        BlendSpanPlain(out, n, color, w);
        return;
    }
    const __m128i zero = _mm_setzero_si128();
    const __m128i inverse = _mm_set1_epi16(static_cast<short>(255 - w));
    const __m128i source = _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(color)), zero);
    // s x w + 128, the same for every pixel.
    const __m128i sw = _mm_add_epi16(_mm_mullo_epi16(source, _mm_set1_epi16(static_cast<short>(w))),
                                     _mm_set1_epi16(128));
    const __m128i opaque = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    const auto mix = [&](__m128i d16) {
        __m128i t = _mm_add_epi16(_mm_mullo_epi16(d16, inverse), sw);
        t = _mm_add_epi16(t, _mm_srli_epi16(t, 8));
        return _mm_srli_epi16(t, 8);
    };
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(out + i));
        const __m128i lo = mix(_mm_unpacklo_epi8(d, zero));
        const __m128i hi = mix(_mm_unpackhi_epi8(d, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_or_si128(_mm_packus_epi16(lo, hi), opaque));
    }
    BlendSpanPlain(out + i, n - i, color, w);
}

#else

void BlendSpan(TColor32* out, int n, TColor32 color, std::uint32_t w) { BlendSpanPlain(out, n, color, w); }

#endif

void CopyOpaque(TColor32* out, const TColor32* src, int n)
{
    for (int i = 0; i < n; ++i)
        out[i] = src[i] | 0xFF000000u;
}

} // namespace tavrin
