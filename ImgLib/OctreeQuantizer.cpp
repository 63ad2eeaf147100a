#include "ImgLib/OctreeQuantizer.h"

#include "ImgLib/NearestColorSearch.h"
#include "core/Bitmap32.h"

#include <array>
#include <cstdint>
#include <queue>

namespace tavrin {
namespace {

constexpr int kLeafBits = 6;
constexpr int kRefinePasses = 10;
constexpr int kCells = 1 << (3 * kLeafBits);

struct TCell
{
    std::uint64_t Count = 0;
    std::uint64_t R = 0, G = 0, B = 0;
};

std::uint8_t RoundedMean(std::uint64_t sum, std::uint64_t count)
{
    return static_cast<std::uint8_t>((sum + count / 2) / count);
}

// Pixel counts and channel sums of every 6-bit cell.
std::vector<TCell> Histogram(const TBitmap32& bitmap)
{
    std::vector<TCell> cells(kCells);
    for (int y = 0; y < bitmap.Height(); ++y) {
        const TColor32* row = bitmap.ScanLine(y);
        for (int x = 0; x < bitmap.Width(); ++x) {
            const TColor32 p = row[x];
            const unsigned r = RedOf(p), g = GreenOf(p), b = BlueOf(p);
            TCell& c = cells[(r >> 2) << 12 | (g >> 2) << 6 | b >> 2];
            ++c.Count;
            c.R += r;
            c.G += g;
            c.B += b;
        }
    }
    return cells;
}

struct TNode
{
    std::array<int, 8> Children{-1, -1, -1, -1, -1, -1, -1, -1};
    int Parent = -1;
    int ChildCount = 0;
    bool Leaf = false;
    TCell Sum;
};

class TOctree
{
public:
    explicit TOctree(const std::vector<TCell>& cells)
    {
        FNodes.emplace_back();
        for (int index = 0; index < kCells; ++index)
            if (cells[static_cast<std::size_t>(index)].Count) Insert(index, cells[static_cast<std::size_t>(index)]);
    }

    // Folds subtrees into their parents, least added error first, until at most `maxLeaves` remain.
    void Reduce(int maxLeaves)
    {
        using TEntry = std::pair<double, int>;
        std::priority_queue<TEntry, std::vector<TEntry>, std::greater<>> queue;
        for (int n = 0; n < static_cast<int>(FNodes.size()); ++n)
            if (Reducible(n)) queue.emplace(MergeCost(n), n);
        while (FLeaves > maxLeaves && !queue.empty()) {
            const int n = queue.top().second;
            queue.pop();
            TNode& node = FNodes[static_cast<std::size_t>(n)];
            FLeaves -= node.ChildCount - 1;
            node.Leaf = true;
            if (node.Parent >= 0 && Reducible(node.Parent)) queue.emplace(MergeCost(node.Parent), node.Parent);
        }
    }

    std::vector<TRgb> LeafColors() const
    {
        std::vector<TRgb> colors;
        Collect(0, colors);
        return colors;
    }

private:
    void Insert(int index, const TCell& cell)
    {
        const unsigned r = static_cast<unsigned>(index) >> 12, g = (static_cast<unsigned>(index) >> 6) & 63,
                       b = static_cast<unsigned>(index) & 63;
        int n = 0;
        Add(FNodes[0].Sum, cell);
        for (int level = 0; level < kLeafBits; ++level) {
            const int shift = kLeafBits - 1 - level;
            const int child = static_cast<int>(((r >> shift) & 1) << 2 | ((g >> shift) & 1) << 1 | ((b >> shift) & 1));
            int next = FNodes[static_cast<std::size_t>(n)].Children[static_cast<std::size_t>(child)];
            if (next < 0) {
                next = static_cast<int>(FNodes.size());
                TNode created;
                created.Parent = n;
                created.Leaf = level == kLeafBits - 1;
                FNodes.push_back(created);
                FNodes[static_cast<std::size_t>(n)].Children[static_cast<std::size_t>(child)] = next;
                ++FNodes[static_cast<std::size_t>(n)].ChildCount;
                if (created.Leaf) ++FLeaves;
            }
            n = next;
            Add(FNodes[static_cast<std::size_t>(n)].Sum, cell);
        }
    }

    static void Add(TCell& to, const TCell& c)
    {
        to.Count += c.Count;
        to.R += c.R;
        to.G += c.G;
        to.B += c.B;
    }

    bool Reducible(int n) const
    {
        const TNode& node = FNodes[static_cast<std::size_t>(n)];
        if (node.Leaf) return false;
        for (int child : node.Children)
            if (child >= 0 && !FNodes[static_cast<std::size_t>(child)].Leaf) return false;
        return true;
    }

    // |S|^2 / n is what a group contributes to the fit; merging loses the children's excess over the parent's.
    static double Fit(const TCell& c)
    {
        const double r = static_cast<double>(c.R), g = static_cast<double>(c.G), b = static_cast<double>(c.B);
        return (r * r + g * g + b * b) / static_cast<double>(c.Count);
    }

    double MergeCost(int n) const
    {
        const TNode& node = FNodes[static_cast<std::size_t>(n)];
        double cost = -Fit(node.Sum);
        for (int child : node.Children)
            if (child >= 0) cost += Fit(FNodes[static_cast<std::size_t>(child)].Sum);
        return cost;
    }

    void Collect(int n, std::vector<TRgb>& colors) const
    {
        const TNode& node = FNodes[static_cast<std::size_t>(n)];
        if (node.Leaf) {
            colors.push_back({RoundedMean(node.Sum.R, node.Sum.Count), RoundedMean(node.Sum.G, node.Sum.Count),
                              RoundedMean(node.Sum.B, node.Sum.Count)});
            return;
        }
        for (int child : node.Children)
            if (child >= 0) Collect(child, colors);
    }

    std::vector<TNode> FNodes;
    int FLeaves = 0;
};

// The octree's groups are bounded by the tree's fixed cubes; a few rounds of moving every colour to the mean
// of the cells nearest to it (Lloyd's k-means) let the groups follow the picture's colours instead. Each round
// lowers the squared error; a colour no cell is nearest to stays where it is.
void Refine(const std::vector<TCell>& cells, std::vector<TRgb>& colors, int passes)
{
    for (int pass = 0; pass < passes; ++pass) {
        TNearestColorSearch nearest(colors);
        std::vector<TCell> groups(colors.size());
        for (const TCell& cell : cells) {
            if (!cell.Count) continue;
            TCell& group = groups[static_cast<std::size_t>(
                nearest.Find(RoundedMean(cell.R, cell.Count), RoundedMean(cell.G, cell.Count), RoundedMean(cell.B, cell.Count)))];
            group.Count += cell.Count;
            group.R += cell.R;
            group.G += cell.G;
            group.B += cell.B;
        }
        bool moved = false;
        for (std::size_t i = 0; i < colors.size(); ++i) {
            const TCell& group = groups[i];
            if (!group.Count) continue;
            const TRgb mean{RoundedMean(group.R, group.Count), RoundedMean(group.G, group.Count),
                            RoundedMean(group.B, group.Count)};
            moved = moved || !(mean == colors[i]);
            colors[i] = mean;
        }
        if (!moved) return;
    }
}

} // namespace

std::vector<TRgb> DistinctColors(const TBitmap32& bitmap, int maxColors)
{
    // A small open-addressed set; most photographs leave it after a few rows.
    constexpr std::uint32_t kEmpty = 0xFFFFFFFF;
    std::vector<std::uint32_t> slots(1024, kEmpty);
    std::vector<TRgb> colors;
    std::uint32_t previous = kEmpty;
    for (int y = 0; y < bitmap.Height(); ++y) {
        const TColor32* row = bitmap.ScanLine(y);
        for (int x = 0; x < bitmap.Width(); ++x) {
            const std::uint32_t rgb = row[x] & 0xFFFFFF;
            if (rgb == previous) continue;
            previous = rgb;
            std::uint32_t slot = (rgb * 2654435761u) >> 22;
            while (slots[slot] != kEmpty && slots[slot] != rgb)
                slot = (slot + 1) & 1023;
            if (slots[slot] == rgb) continue;
            if (static_cast<int>(colors.size()) == maxColors) return {};
            slots[slot] = rgb;
            colors.push_back({static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
                              static_cast<std::uint8_t>(rgb)});
        }
    }
    return colors;
}

std::vector<TRgb> OctreePalette(const TBitmap32& bitmap, int maxColors)
{
    if (maxColors <= 0 || bitmap.Empty()) return {};
    if (maxColors < 512) { // the exact set fits the small table
        std::vector<TRgb> exact = DistinctColors(bitmap, maxColors);
        if (!exact.empty()) return exact;
    }
    const std::vector<TCell> cells = Histogram(bitmap);
    TOctree tree(cells);
    tree.Reduce(maxColors);
    std::vector<TRgb> colors = tree.LeafColors();
    Refine(cells, colors, kRefinePasses);
    return colors;
}

} // namespace tavrin
