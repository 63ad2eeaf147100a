#include "ImgLib/HalftoneMapping.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace tavrin {
namespace {

// The colour space is cut into cells of 8 x 8 x 8 colours. Each cell keeps, in table order, the entries
// that can be nearest to some colour in it: those whose least distance to the cell is no more than the
// smallest greatest distance of any entry. Scanning them in order with a strict comparison gives the
// exact nearest entry and keeps ties on the lower index, at a few distance sums a pixel.
constexpr int kCellBits = 3;
constexpr int kCellSide = 1 << kCellBits;
constexpr int kCellsPerAxis = 256 / kCellSide;
constexpr int kCellCount = kCellsPerAxis * kCellsPerAxis * kCellsPerAxis;

int Square(int v)
{
    return v * v;
}

// Least and greatest squared distance from value v to the interval [lo, hi].
int LeastDistance(int v, int lo, int hi)
{
    return v < lo ? Square(lo - v) : v > hi ? Square(v - hi) : 0;
}
int GreatestDistance(int v, int lo, int hi)
{
    return std::max(Square(v - lo), Square(hi - v));
}

int CellOf(int r, int g, int b)
{
    return (r >> kCellBits) << (2 * (8 - kCellBits)) | (g >> kCellBits) << (8 - kCellBits) | (b >> kCellBits);
}

class TCandidateTable
{
  public:
    TCandidateTable()
    {
        const auto& palette = HalftonePalette();
        FStart.reserve(kCellCount + 1);
        for (int cell = 0; cell < kCellCount; ++cell) {
            FStart.push_back(static_cast<std::uint32_t>(FEntries.size()));
            AddCandidates(cell, palette);
        }
        FStart.push_back(static_cast<std::uint32_t>(FEntries.size()));
    }

    std::uint8_t Nearest(int r, int g, int b) const
    {
        const int cell = CellOf(r, g, b);
        const std::uint8_t* entry = FEntries.data() + FStart[static_cast<std::size_t>(cell)];
        const std::uint8_t* const end = FEntries.data() + FStart[static_cast<std::size_t>(cell) + 1];
        const auto& palette = HalftonePalette();
        std::uint8_t best = *entry;
        int bestDistance = std::numeric_limits<int>::max();
        for (; entry != end; ++entry) {
            const TRgb c = palette[*entry];
            const int d = Square(r - c.R) + Square(g - c.G) + Square(b - c.B);
            if (d < bestDistance) {
                bestDistance = d;
                best = *entry;
            }
        }
        return best;
    }

  private:
    void AddCandidates(int cell, const std::array<TRgb, kHalftoneColorCount>& palette)
    {
        const int r0 = (cell >> (2 * (8 - kCellBits))) * kCellSide;
        const int g0 = ((cell >> (8 - kCellBits)) % kCellsPerAxis) * kCellSide;
        const int b0 = (cell % kCellsPerAxis) * kCellSide;
        const int side = kCellSide - 1;
        int least[kHalftoneColorCount];
        int bound = std::numeric_limits<int>::max();
        for (int i = 0; i < kHalftoneColorCount; ++i) {
            const TRgb c = palette[i];
            least[i] = LeastDistance(c.R, r0, r0 + side) + LeastDistance(c.G, g0, g0 + side) +
                       LeastDistance(c.B, b0, b0 + side);
            bound =
                std::min(bound, GreatestDistance(c.R, r0, r0 + side) + GreatestDistance(c.G, g0, g0 + side) +
                                    GreatestDistance(c.B, b0, b0 + side));
        }
        for (int i = 0; i < kHalftoneColorCount; ++i)
            if (least[i] <= bound) FEntries.push_back(static_cast<std::uint8_t>(i));
    }

    std::vector<std::uint32_t> FStart;
    std::vector<std::uint8_t> FEntries;
};

const TCandidateTable& Candidates()
{
    static const TCandidateTable table;
    return table;
}

} // namespace

std::uint8_t NearestHalftoneIndex(TRgb color)
{
    return Candidates().Nearest(color.R, color.G, color.B);
}

TIndexedImage ToHalftoneImage(const TBitmap32& bitmap)
{
    TIndexedImage image;
    if (bitmap.Empty()) return image;
    const auto& palette = HalftonePalette();
    image.Palette.assign(palette.begin(), palette.end());
    image.Width = bitmap.Width();
    image.Height = bitmap.Height();
    image.Indices.resize(static_cast<std::size_t>(image.Width) * static_cast<std::size_t>(image.Height));

    const TCandidateTable& table = Candidates();
    std::uint8_t* out = image.Indices.data();
    // Neighbouring pixels are often equal: the last colour's answer is kept.
    TColor32 last = 0xFF000000; // no masked pixel equals it
    std::uint8_t lastIndex = 0;
    for (int y = 0; y < image.Height; ++y) {
        const TColor32* row = bitmap.ScanLine(y);
        for (int x = 0; x < image.Width; ++x) {
            const TColor32 p = row[x] & 0xFFFFFF;
            if (p != last) {
                last = p;
                lastIndex = table.Nearest(RedOf(p), GreenOf(p), BlueOf(p));
            }
            *out++ = lastIndex;
        }
    }
    return image;
}

} // namespace tavrin
