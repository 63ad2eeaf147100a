#include "core/PixelBlend.h"

#include <algorithm>
#include <cstring>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define TAVRIN_X86_KERNELS 1
#endif

namespace tavrin {

void BlendSpanPlain(TColor32* out, int n, TColor32 color, std::uint32_t w)
{
    for (int i = 0; i < n; ++i)
        out[i] = BlendWeighted(color, out[i], w);
}

namespace {

#if defined(TAVRIN_X86_KERNELS)

// Per 16-bit lane: s x w + d x (255 - w) + 128, then x 257 >> 16, which equals Div255's
// (t + (t >> 8)) >> 8 for every t up to 255 x 255 + 128, so every pixel equals the plain form's.
// The weights 0 and 255 never come here.
void BlendSpanSse2(TColor32* out, int n, TColor32 color, std::uint32_t w)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i inverse = _mm_set1_epi16(static_cast<short>(255 - w));
    const __m128i source = _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(color)), zero);
    const __m128i sw = _mm_add_epi16(_mm_mullo_epi16(source, _mm_set1_epi16(static_cast<short>(w))),
                                     _mm_set1_epi16(128));
    const __m128i by257 = _mm_set1_epi16(257);
    const __m128i opaque = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    const auto mix = [&](__m128i d16) {
        return _mm_mulhi_epu16(_mm_add_epi16(_mm_mullo_epi16(d16, inverse), sw), by257);
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

// The same eight pixels per step. Unpack and pack work within each 128-bit half, so the pixel
// order stays as it was.
__attribute__((target("avx2"))) void BlendSpanAvx2(TColor32* out, int n, TColor32 color, std::uint32_t w)
{
    const __m256i zero = _mm256_setzero_si256();
    const __m256i inverse = _mm256_set1_epi16(static_cast<short>(255 - w));
    const __m256i source = _mm256_unpacklo_epi8(_mm256_set1_epi32(static_cast<int>(color)), zero);
    const __m256i sw = _mm256_add_epi16(_mm256_mullo_epi16(source, _mm256_set1_epi16(static_cast<short>(w))),
                                        _mm256_set1_epi16(128));
    const __m256i by257 = _mm256_set1_epi16(257);
    const __m256i opaque = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(out + i));
        const __m256i lo = _mm256_mulhi_epu16(
            _mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpacklo_epi8(d, zero), inverse), sw), by257);
        const __m256i hi = _mm256_mulhi_epu16(
            _mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpackhi_epi8(d, zero), inverse), sw), by257);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i),
                            _mm256_or_si256(_mm256_packus_epi16(lo, hi), opaque));
    }
    BlendSpanSse2(out + i, n - i, color, w);
}

__attribute__((target("avx2"))) void FillAvx2(TColor32* out, int n, TColor32 c)
{
    const __m256i v = _mm256_set1_epi32(static_cast<int>(c));
    int i = 0;
    for (; i + 8 <= n; i += 8)
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), v);
    std::fill(out + i, out + n, c);
}

__attribute__((target("avx2"))) void CopyOpaqueAvx2(TColor32* out, const TColor32* src, int n)
{
    const __m256i opaque = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), _mm256_or_si256(s, opaque));
    }
    for (; i < n; ++i)
        out[i] = src[i] | 0xFF000000u;
}

bool HasAvx2()
{
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

#endif

} // namespace

void BlendSpan(TColor32* out, int n, TColor32 color, std::uint32_t w)
{
#if defined(TAVRIN_X86_KERNELS)
    if (w != 0 && w != 255) {
        (HasAvx2() ? BlendSpanAvx2 : BlendSpanSse2)(out, n, color, w);
        return;
    }
#endif
    BlendSpanPlain(out, n, color, w);
}

std::vector<TBlendSpanForm> BlendSpanForms()
{
    std::vector<TBlendSpanForm> forms{{"plain", BlendSpanPlain}, {"best", BlendSpan}};
#if defined(TAVRIN_X86_KERNELS)
    // The weights 0 and 255 go to the plain form in BlendSpan; the vector forms are given only the rest.
    forms.push_back({"sse2", [](TColor32* out, int n, TColor32 color, std::uint32_t w) {
                         (w == 0 || w == 255 ? BlendSpanPlain : BlendSpanSse2)(out, n, color, w);
                     }});
    if (HasAvx2())
        forms.push_back({"avx2", [](TColor32* out, int n, TColor32 color, std::uint32_t w) {
                             (w == 0 || w == 255 ? BlendSpanPlain : BlendSpanAvx2)(out, n, color, w);
                         }});
#endif
    return forms;
}

void CopyOpaque(TColor32* out, const TColor32* src, int n)
{
#if defined(TAVRIN_X86_KERNELS)
    if (HasAvx2()) {
        CopyOpaqueAvx2(out, src, n);
        return;
    }
#endif
    for (int i = 0; i < n; ++i)
        out[i] = src[i] | 0xFF000000u;
}

void FillPixels(TColor32* out, int n, TColor32 c)
{
    if (n <= 0)
        return;
    const auto byte = static_cast<unsigned char>(c);
    if (c == byte * 0x01010101u) { // white, black: the library's fill
        std::memset(out, byte, static_cast<std::size_t>(n) * sizeof(TColor32));
        return;
    }
#if defined(TAVRIN_X86_KERNELS)
    if (HasAvx2()) {
        FillAvx2(out, n, c);
        return;
    }
#endif
    std::fill(out, out + n, c);
}

} // namespace tavrin
