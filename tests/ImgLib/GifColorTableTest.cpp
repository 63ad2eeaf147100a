#include "ImgLib/GifColorTable.h"

#include <gtest/gtest.h>

using namespace tavrin;

namespace {

constexpr TRgb kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255}, kGrey{128, 128, 128};

TIndexedImage Picture(std::vector<TRgb> palette, std::vector<std::uint8_t> indices)
{
    TIndexedImage image;
    image.Width = static_cast<int>(indices.size());
    image.Height = 1;
    image.Palette = std::move(palette);
    image.Indices = std::move(indices);
    return image;
}

std::vector<TRgb> ColoursOfPixels(const TIndexedImage& image)
{
    std::vector<TRgb> colours;
    for (const std::uint8_t i : image.Indices)
        colours.push_back(image.Palette.at(i));
    return colours;
}

TEST(GifColorTableTest, OptimisingOrdersByUseDropsUnusedAndRenumbers)
{
    struct TCase
    {
        const char* What;
        TIndexedImage Before;
        std::vector<TRgb> Palette;
        std::vector<std::uint8_t> Indices;
    };
    const TCase cases[] = {
        {"reordered, unused dropped",
         Picture({kRed, kGreen, kBlue, kGrey}, {2, 0, 2, 2, 0, 3}),
         {kBlue, kRed, kGrey},
         {0, 1, 0, 0, 1, 2}},
        {"equal use keeps table order",
         Picture({kRed, kGreen, kBlue}, {2, 1, 1, 2}),
         {kGreen, kBlue},
         {1, 0, 0, 1}},
        {"already in order",
         Picture({kRed, kGreen, kBlue}, {0, 0, 1, 2, 0, 1}),
         {kRed, kGreen, kBlue},
         {0, 0, 1, 2, 0, 1}},
        {"one entry", Picture({kGrey}, {0, 0}), {kGrey}, {0, 0}},
        {"duplicate colours stay apart",
         Picture({kGrey, kRed, kGrey}, {0, 2, 2, 1}),
         {kGrey, kGrey, kRed},
         {1, 0, 0, 2}},
    };
    for (const TCase& c : cases) {
        TIndexedImage image = c.Before;
        OptimizeColorTable(image);
        EXPECT_EQ(image.Palette, c.Palette) << c.What;
        EXPECT_EQ(image.Indices, c.Indices) << c.What;
        EXPECT_EQ(ColoursOfPixels(image), ColoursOfPixels(c.Before)) << c.What;
        TIndexedImage again = image;
        OptimizeColorTable(again);
        EXPECT_EQ(again.Palette, image.Palette) << c.What << ": a second pass changes nothing";
        EXPECT_EQ(again.Indices, image.Indices) << c.What;
    }
}

TEST(GifColorTableTest, TransparentIndexIsTheFirstUsedEntryOfTheColour)
{
    // Entry 0 is grey but unused; entries 1 and 3 are both grey and used.
    const TIndexedImage image = Picture({kGrey, kGrey, kRed, kGrey}, {3, 1, 2, 3});
    EXPECT_EQ(FindTransparentIndex(image, kGrey), std::optional<std::uint8_t>(1));
    EXPECT_EQ(FindTransparentIndex(image, kRed), std::optional<std::uint8_t>(2));
    EXPECT_EQ(FindTransparentIndex(image, kBlue), std::nullopt);
    EXPECT_EQ(FindTransparentIndex(TIndexedImage{}, kBlue), std::nullopt);

    // Once optimised, the more used of two grey entries comes first: only its pixels become transparent.
    TIndexedImage twice = Picture({kGrey, kRed, kGrey}, {0, 2, 2, 1});
    OptimizeColorTable(twice);
    const std::optional<std::uint8_t> index = FindTransparentIndex(twice, kGrey);
    ASSERT_TRUE(index);
    EXPECT_EQ(twice.Indices[1], *index);
    EXPECT_EQ(twice.Indices[2], *index);
    EXPECT_NE(twice.Indices[0], *index);
}

} // namespace
