#include "ImgLib/GifColorTable.h"

#include <algorithm>
#include <array>
#include <numeric>

namespace tavrin {
namespace {

std::array<std::uint64_t, 256> CountUse(const TIndexedImage& image)
{
    std::array<std::uint64_t, 256> counts{};
    for (const std::uint8_t index : image.Indices)
        ++counts[index];
    return counts;
}

} // namespace

void OptimizeColorTable(TIndexedImage& image)
{
    const std::size_t size = image.Palette.size();
    if (size < 2) return;
    const std::array<std::uint64_t, 256> counts = CountUse(image);

    std::vector<int> order(size);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return counts[a] > counts[b]; });
    while (!order.empty() && counts[order.back()] == 0)
        order.pop_back();

    const bool unchanged = order.size() == size && std::is_sorted(order.begin(), order.end());
    if (unchanged) return;

    std::array<std::uint8_t, 256> newIndex{};
    std::vector<TRgb> palette;
    palette.reserve(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        newIndex[order[i]] = static_cast<std::uint8_t>(i);
        palette.push_back(image.Palette[order[i]]);
    }
    for (std::uint8_t& index : image.Indices)
        index = newIndex[index];
    image.Palette = std::move(palette);
}

std::optional<std::uint8_t> FindTransparentIndex(const TIndexedImage& image, TRgb color)
{
    const std::array<std::uint64_t, 256> counts = CountUse(image);
    for (std::size_t i = 0; i < image.Palette.size() && i < 256; ++i)
        if (image.Palette[i] == color && counts[i] > 0) return static_cast<std::uint8_t>(i);
    return std::nullopt;
}

} // namespace tavrin
