#include "ImgLib/PngRowFilter.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace tavrin {
namespace {

constexpr std::size_t kPixelBytes = 3;

// On x86-64 the filter loops are made twice, for AVX2 (five times the speed) and for any processor; the
// loader picks one.
#if defined(__x86_64__) && defined(__GNUC__)
#define TAVRIN_FILTER_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define TAVRIN_FILTER_CLONES
#endif

enum TPngFilter : std::uint8_t
{
    pfNone,
    pfSub,
    pfUp,
    pfAverage,
    pfPaeth,
    pfCount
};

// The byte as libpng weighs it: its distance from zero read as a signed value.
inline unsigned Weight(std::uint8_t v)
{
    return v < 128 ? v : 256u - v;
}

// Weight() of the low byte of `v`, in 16-bit arithmetic.
inline std::uint16_t SignedWeight(std::int16_t v)
{
    const auto low = static_cast<std::int16_t>(static_cast<std::int8_t>(v & 0xFF));
    return static_cast<std::uint16_t>(low < 0 ? -low : low);
}

// The Paeth predictor in 16-bit arithmetic without branches.
inline std::int16_t Paeth16(std::int16_t a, std::int16_t b, std::int16_t c)
{
    const auto abs16 = [](int v) { return static_cast<std::int16_t>(v < 0 ? -v : v); };
    const std::int16_t pa = abs16(b - c), pb = abs16(a - c), pc = abs16(a + b - 2 * c);
    const std::int16_t bc = pb <= pc ? b : c;
    return (pa <= pb && pa <= pc) ? a : bc;
}

inline std::uint8_t PaethPredictor(int a, int b, int c)
{
    const int pa = std::abs(b - c), pb = std::abs(a - c), pc = std::abs(a + b - 2 * c);
    if (pa <= pb && pa <= pc) return static_cast<std::uint8_t>(a);
    return static_cast<std::uint8_t>(pb <= pc ? b : c);
}

// One filter's output byte at `i`; `left` and `corner` are zero in the first pixel.
inline std::uint8_t Filtered(TPngFilter filter, const std::uint8_t* row, const std::uint8_t* above,
                             std::size_t i)
{
    const int x = row[i], b = above[i];
    const int a = i >= kPixelBytes ? row[i - kPixelBytes] : 0;
    const int c = i >= kPixelBytes ? above[i - kPixelBytes] : 0;
    switch (filter) {
    case pfSub:
        return static_cast<std::uint8_t>(x - a);
    case pfUp:
        return static_cast<std::uint8_t>(x - b);
    case pfAverage:
        return static_cast<std::uint8_t>(x - ((a + b) >> 1));
    case pfPaeth:
        return static_cast<std::uint8_t>(x - PaethPredictor(a, b, c));
    default:
        return static_cast<std::uint8_t>(x);
    }
}

// The weights of all five filters in one pass over the row: branch-free loops on small integers, which
// the compiler turns into vector code. A stretch of kStretch bytes cannot overflow the 32-bit sums.
constexpr std::size_t kStretch = 1 << 16;

TAVRIN_FILTER_CLONES std::array<unsigned long, pfCount> Weights(const std::uint8_t* row,
                                                                const std::uint8_t* above, std::size_t bytes)
{
    std::array<unsigned long, pfCount> sums{};
    const std::size_t head = bytes < kPixelBytes ? bytes : kPixelBytes;
    for (std::size_t i = 0; i < head; ++i)
        for (int f = pfNone; f < pfCount; ++f)
            sums[f] += Weight(Filtered(static_cast<TPngFilter>(f), row, above, i));
    for (std::size_t start = head; start < bytes; start += kStretch) {
        const std::size_t end = std::min(bytes, start + kStretch);
        std::uint32_t none = 0, sub = 0, up = 0, average = 0, paeth = 0;
        for (std::size_t i = start; i < end; ++i) {
            const std::int16_t x = row[i], a = row[i - kPixelBytes], b = above[i], c = above[i - kPixelBytes];
            none += SignedWeight(x);
            sub += SignedWeight(static_cast<std::int16_t>(x - a));
            up += SignedWeight(static_cast<std::int16_t>(x - b));
            average += SignedWeight(static_cast<std::int16_t>(x - ((a + b) >> 1)));
            paeth += SignedWeight(static_cast<std::int16_t>(x - Paeth16(a, b, c)));
        }
        sums[pfNone] += none;
        sums[pfSub] += sub;
        sums[pfUp] += up;
        sums[pfAverage] += average;
        sums[pfPaeth] += paeth;
    }
    return sums;
}

// Past the first pixel every byte has a left neighbour.
template <TPngFilter Filter>
inline std::uint8_t FilteredPastFirstPixel(const std::uint8_t* row, const std::uint8_t* above, std::size_t i)
{
    const std::int16_t x = row[i], a = row[i - kPixelBytes], b = above[i], c = above[i - kPixelBytes];
    if constexpr (Filter == pfSub) return static_cast<std::uint8_t>(x - a);
    if constexpr (Filter == pfUp) return static_cast<std::uint8_t>(x - b);
    if constexpr (Filter == pfAverage) return static_cast<std::uint8_t>(x - ((a + b) >> 1));
    if constexpr (Filter == pfPaeth) return static_cast<std::uint8_t>(x - Paeth16(a, b, c));
    return static_cast<std::uint8_t>(x);
}

template <TPngFilter Filter>
void Apply(const std::uint8_t* __restrict row, const std::uint8_t* __restrict above, std::size_t bytes,
           std::uint8_t* __restrict out)
{
    const std::size_t head = bytes < kPixelBytes ? bytes : kPixelBytes;
    for (std::size_t i = 0; i < head; ++i)
        out[i] = Filtered(Filter, row, above, i);
    for (std::size_t i = head; i < bytes; ++i)
        out[i] = FilteredPastFirstPixel<Filter>(row, above, i);
}

} // namespace

TAVRIN_FILTER_CLONES void FilterPngRow(const std::uint8_t* row, const std::uint8_t* above, std::size_t bytes,
                                       std::uint8_t* out)
{
    const std::array<unsigned long, pfCount> sums = Weights(row, above, bytes);
    TPngFilter best = pfNone; // ties go to the simpler filter, as in libpng
    for (int f = pfSub; f < pfCount; ++f)
        if (sums[f] < sums[best]) best = static_cast<TPngFilter>(f);
    out[0] = best;
    switch (best) {
    case pfSub:
        return Apply<pfSub>(row, above, bytes, out + 1);
    case pfUp:
        return Apply<pfUp>(row, above, bytes, out + 1);
    case pfAverage:
        return Apply<pfAverage>(row, above, bytes, out + 1);
    case pfPaeth:
        return Apply<pfPaeth>(row, above, bytes, out + 1);
    default:
        return Apply<pfNone>(row, above, bytes, out + 1);
    }
}

} // namespace tavrin
