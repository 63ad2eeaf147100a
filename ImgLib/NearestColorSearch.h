#pragma once
// The exact nearest palette colour (squared RGB distance, ties to the lower index) for many lookups. The
// colour space is cut into cells of 8 x 8 x 8 values; the first lookup in a cell lists the few palette
// colours that can be nearest to any point of the cell (those no farther from the cell than the farthest
// corner of the cell is from the best single colour), and every lookup scans only that list.

#include "ImgLib/SystemPalette.h"

#include <cstdint>
#include <span>
#include <vector>

namespace tavrin {

class TNearestColorSearch
{
public:
    // `palette` holds 1 to 256 colours and must outlive the search.
    explicit TNearestColorSearch(std::span<const TRgb> palette);

    // r, g and b are 0..255.
    int Find(int r, int g, int b)
    {
        const std::size_t cell = static_cast<std::size_t>((r >> kShift) << (2 * kCellBits) | (g >> kShift) << kCellBits |
                                                          b >> kShift);
        if (FFirst[cell] < 0) ListCandidates(cell);
        const TCandidate* candidate = FCandidates.data() + FFirst[cell];
        const TCandidate* end = candidate + FCount[cell];
        int best = candidate->Index;
        int bestDistance = Distance(*candidate, r, g, b);
        for (++candidate; candidate != end && bestDistance != 0; ++candidate) {
            const int distance = Distance(*candidate, r, g, b);
            if (distance < bestDistance) {
                bestDistance = distance;
                best = candidate->Index;
            }
        }
        return best;
    }

private:
    static constexpr int kCellBits = 5;
    static constexpr int kShift = 8 - kCellBits;

    // A palette colour with its index, kept together so that a lookup reads one short run of memory.
    struct TCandidate
    {
        std::uint8_t R, G, B, Index;
    };

    static int Distance(TCandidate c, int r, int g, int b)
    {
        const int dr = r - c.R, dg = g - c.G, db = b - c.B;
        return dr * dr + dg * dg + db * db;
    }

    void ListCandidates(std::size_t cell);

    std::span<const TRgb> FPalette;
    std::vector<std::int32_t> FFirst; // where a cell's list starts in FCandidates; -1 until first asked
    std::vector<std::uint16_t> FCount;
    std::vector<TCandidate> FCandidates; // ascending palette index within a cell
};

} // namespace tavrin
