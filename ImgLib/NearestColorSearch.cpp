#include "ImgLib/NearestColorSearch.h"

#include <algorithm>
#include <limits>

namespace tavrin {
namespace {

// Squared distance from `v` to the nearest and to the farthest value of [low, high], one channel.
int NearSquare(int v, int low, int high)
{
    const int d = v < low ? low - v : v > high ? v - high : 0;
    return d * d;
}

int FarSquare(int v, int low, int high)
{
    const int d = std::max(v - low, high - v);
    return d * d;
}

} // namespace

TNearestColorSearch::TNearestColorSearch(std::span<const TRgb> palette)
    : FPalette(palette), FFirst(std::size_t{1} << (3 * kCellBits), -1), FCount(FFirst.size(), 0)
{
}

void TNearestColorSearch::ListCandidates(std::size_t cell)
{
    constexpr int kMask = (1 << kCellBits) - 1;
    constexpr int kSide = (1 << kShift) - 1;
    const int r0 = static_cast<int>(cell >> (2 * kCellBits)) << kShift;
    const int g0 = static_cast<int>((cell >> kCellBits) & kMask) << kShift;
    const int b0 = static_cast<int>(cell & kMask) << kShift;
    const auto nearSquare = [&](TRgb c) {
        return NearSquare(c.R, r0, r0 + kSide) + NearSquare(c.G, g0, g0 + kSide) + NearSquare(c.B, b0, b0 + kSide);
    };
    // Every point of the cell lies within `bound` of some colour, so its nearest colour is no farther from the
    // cell than that; a colour at exactly `bound` is kept, since it may win a tie by its lower index.
    int bound = std::numeric_limits<int>::max();
    for (const TRgb c : FPalette)
        bound = std::min(bound, FarSquare(c.R, r0, r0 + kSide) + FarSquare(c.G, g0, g0 + kSide) +
                                    FarSquare(c.B, b0, b0 + kSide));
    FFirst[cell] = static_cast<std::int32_t>(FCandidates.size());
    for (std::size_t i = 0; i < FPalette.size(); ++i)
        if (nearSquare(FPalette[i]) <= bound)
            FCandidates.push_back({FPalette[i].R, FPalette[i].G, FPalette[i].B, static_cast<std::uint8_t>(i)});
    FCount[cell] = static_cast<std::uint16_t>(FCandidates.size() - static_cast<std::size_t>(FFirst[cell]));
}

} // namespace tavrin
