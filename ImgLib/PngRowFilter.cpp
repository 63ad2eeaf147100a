#include "ImgLib/PngRowFilter.h"

#include <array>
#include <cstdlib>

namespace tavrin {
namespace {

constexpr std::size_t kPixelBytes = 3;

enum TPngFilter : std::uint8_t { pfNone, pfSub, pfUp, pfAverage, pfPaeth, pfCount };

// The byte as libpng weighs it: its distance from zero read as a signed value.
inline unsigned Weight(std::uint8_t v)
{
    return v < 128 ? v : 256u - v;
}

inline std::uint8_t PaethPredictor(int a, int b, int c)
{
    const int pa = std::abs(b - c), pb = std::abs(a - c), pc = std::abs(a + b - 2 * c);
    if (pa <= pb && pa <= pc) return static_cast<std::uint8_t>(a);
    return static_cast<std::uint8_t>(pb <= pc ? b : c);
}

// One filter's output byte at `i`; `left` and `corner` are zero in the first pixel.
inline std::uint8_t Filtered(TPngFilter filter, const std::uint8_t* row, const std::uint8_t* above, std::size_t i)
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

// The weights of all five filters in one pass over the row: loops without branches on the filter, which
// the compiler turns into vector code.
std::array<unsigned long, pfCount> Weights(const std::uint8_t* row, const std::uint8_t* above, std::size_t bytes)
{
    std::array<unsigned long, pfCount> sums{};
    const std::size_t head = bytes < kPixelBytes ? bytes : kPixelBytes;
    for (std::size_t i = 0; i < head; ++i)
        for (int f = pfNone; f < pfCount; ++f)
            sums[f] += Weight(Filtered(static_cast<TPngFilter>(f), row, above, i));
    unsigned long none = 0, sub = 0, up = 0, average = 0, paeth = 0;
    for (std::size_t i = head; i < bytes; ++i) {
        const int x = row[i], a = row[i - kPixelBytes], b = above[i], c = above[i - kPixelBytes];
        none += Weight(static_cast<std::uint8_t>(x));
        sub += Weight(static_cast<std::uint8_t>(x - a));
        up += Weight(static_cast<std::uint8_t>(x - b));
        average += Weight(static_cast<std::uint8_t>(x - ((a + b) >> 1)));
        const int pa = std::abs(b - c), pb = std::abs(a - c), pc = std::abs(a + b - 2 * c);
        const int predicted = (pa <= pb && pa <= pc) ? a : (pb <= pc ? b : c);
        paeth += Weight(static_cast<std::uint8_t>(x - predicted));
    }
    sums[pfNone] += none;
    sums[pfSub] += sub;
    sums[pfUp] += up;
    sums[pfAverage] += average;
    sums[pfPaeth] += paeth;
    return sums;
}

// Past the first pixel every byte has a left neighbour.
template <TPngFilter Filter>
inline std::uint8_t FilteredPastFirstPixel(const std::uint8_t* row, const std::uint8_t* above, std::size_t i)
{
    const int x = row[i], a = row[i - kPixelBytes], b = above[i], c = above[i - kPixelBytes];
    if constexpr (Filter == pfSub) return static_cast<std::uint8_t>(x - a);
    if constexpr (Filter == pfUp) return static_cast<std::uint8_t>(x - b);
    if constexpr (Filter == pfAverage) return static_cast<std::uint8_t>(x - ((a + b) >> 1));
    if constexpr (Filter == pfPaeth) return static_cast<std::uint8_t>(x - PaethPredictor(a, b, c));
    return static_cast<std::uint8_t>(x);
}

template <TPngFilter Filter>
void Apply(const std::uint8_t* row, const std::uint8_t* above, std::size_t bytes, std::uint8_t* out)
{
    const std::size_t head = bytes < kPixelBytes ? bytes : kPixelBytes;
    for (std::size_t i = 0; i < head; ++i)
        out[i] = Filtered(Filter, row, above, i);
    for (std::size_t i = head; i < bytes; ++i)
        out[i] = FilteredPastFirstPixel<Filter>(row, above, i);
}

} // namespace

void FilterPngRow(const std::uint8_t* row, const std::uint8_t* above, std::size_t bytes, std::uint8_t* out)
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
