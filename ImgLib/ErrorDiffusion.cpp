#include "ImgLib/ErrorDiffusion.h"

#include "ImgLib/NearestColorSearch.h"
#include "core/Bitmap32.h"

#include <algorithm>
#include <limits>

namespace tavrin {
namespace {

// The error a pixel receives from its neighbours, damped where it is large: up to 16 it passes whole,
// from 16 to 48 at half strength, and never beyond 32. Where the picture leaves the hull of the palette the
// error cannot be paid off; undamped it piles up into streaks of far-off colours, damped it stays local.
int DampedError(int error)
{
    constexpr int kKnee = 16;
    const int magnitude = error < 0 ? -error : error;
    const int damped = magnitude < kKnee ? magnitude : magnitude < 3 * kKnee ? kKnee + (magnitude - kKnee) / 2 : 2 * kKnee;
    return error < 0 ? -damped : damped;
}

int Clamp255(int v)
{
    return v < 0 ? 0 : v > 255 ? 255 : v;
}

} // namespace

int NearestPaletteIndex(std::span<const TRgb> palette, int r, int g, int b)
{
    int best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const int dr = r - palette[i].R, dg = g - palette[i].G, db = b - palette[i].B;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = static_cast<int>(i);
            if (distance == 0) break;
        }
    }
    return best;
}

std::vector<std::uint8_t> DiffuseToPalette(const TBitmap32& bitmap, std::span<const TRgb> palette)
{
    const int width = bitmap.Width();
    std::vector<std::uint8_t> indices(static_cast<std::size_t>(width) * static_cast<std::size_t>(bitmap.Height()));
    if (palette.empty() || indices.empty()) return indices;
    TNearestColorSearch nearest(palette);
    // Errors in sixteenths, three channels a pixel, with a spare pixel at each end of the row.
    std::vector<int> current(static_cast<std::size_t>(width + 2) * 3, 0);
    std::vector<int> next(current.size(), 0);
    for (int y = 0; y < bitmap.Height(); ++y) {
        const TColor32* row = bitmap.ScanLine(y);
        std::uint8_t* out = indices.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
        const bool forward = y % 2 == 0;
        const int step = forward ? 1 : -1;
        std::fill(next.begin(), next.end(), 0);
        for (int i = 0; i < width; ++i) {
            const int x = forward ? i : width - 1 - i;
            const TColor32 p = row[x];
            int* e = &current[static_cast<std::size_t>(x + 1) * 3];
            const int r = Clamp255(RedOf(p) + DampedError((e[0] + 8) >> 4));
            const int g = Clamp255(GreenOf(p) + DampedError((e[1] + 8) >> 4));
            const int b = Clamp255(BlueOf(p) + DampedError((e[2] + 8) >> 4));
            const int index = nearest.Find(r, g, b);
            out[x] = static_cast<std::uint8_t>(index);
            const TRgb& c = palette[static_cast<std::size_t>(index)];
            const int error[3] = {r - c.R, g - c.G, b - c.B};
            int* ahead = &current[static_cast<std::size_t>(x + 1 + step) * 3];
            int* below = &next[static_cast<std::size_t>(x + 1) * 3];
            int* belowBehind = &next[static_cast<std::size_t>(x + 1 - step) * 3];
            int* belowAhead = &next[static_cast<std::size_t>(x + 1 + step) * 3];
            for (int k = 0; k < 3; ++k) {
                ahead[k] += error[k] * 7;
                belowBehind[k] += error[k] * 3;
                below[k] += error[k] * 5;
                belowAhead[k] += error[k];
            }
        }
        std::swap(current, next);
    }
    return indices;
}

} // namespace tavrin
