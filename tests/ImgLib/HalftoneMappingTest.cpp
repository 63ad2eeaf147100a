#include "ImgLib/HalftoneMapping.h"

#include <gtest/gtest.h>

using namespace tavrin;

namespace {

// The rule itself, by brute force over the table.
int BruteForceNearest(TRgb c)
{
    const auto& palette = HalftonePalette();
    int best = 0, bestDistance = 1 << 30;
    for (int i = 0; i < kHalftoneColorCount; ++i) {
        const int dr = c.R - palette[i].R, dg = c.G - palette[i].G, db = c.B - palette[i].B;
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

TEST(HalftoneMappingTest, ChosenColours)
{
    struct TCase
    {
        TRgb Color;
        int Index;
    };
    const TCase cases[] = {
        {{0, 26, 231}, 252},                        // a sum of channel differences would pick 200
        {{80, 32, 0}, 10},                          // half-way between entries 10 and 11: the lower wins
        {{0, 128, 0}, 2},                           // held twice (2 and 32): the lower
        {{128, 128, 128}, 164},                     // held twice (164 and 248): the lower
        {{190, 218, 195}, 8},                       // near money green
        {{250, 250, 250}, 255}, {{97, 33, 62}, 75}, // (96, 32, 64)
        {{17, 16, 0}, 0},                           // black is nearer than any cube entry
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(NearestHalftoneIndex(c.Color), c.Index)
            << int(c.Color.R) << "," << int(c.Color.G) << "," << int(c.Color.B);
        EXPECT_EQ(BruteForceNearest(c.Color), c.Index) << "the case itself is wrong";
    }
}

TEST(HalftoneMappingTest, EveryEntryMapsToTheFirstEntryOfItsColour)
{
    const auto& palette = HalftonePalette();
    for (int i = 0; i < kHalftoneColorCount; ++i) {
        const int first =
            static_cast<int>(std::find(palette.begin(), palette.end(), palette[i]) - palette.begin());
        EXPECT_EQ(NearestHalftoneIndex(palette[i]), first) << "entry " << i;
    }
}

TEST(HalftoneMappingTest, AgreesWithTheRuleAcrossTheColourSpaceAndDuplicatesStayUnused)
{
    // Steps of 7 with different starts per channel fall at every offset within the cells of the lookup.
    std::array<bool, kHalftoneColorCount> used{};
    for (int r = 0; r < 256; r += 7)
        for (int g = 1; g < 256; g += 7)
            for (int b = 2; b < 256; b += 7) {
                const TRgb c{std::uint8_t(r), std::uint8_t(g), std::uint8_t(b)};
                const int index = NearestHalftoneIndex(c);
                used[index] = true;
                if (index != BruteForceNearest(c)) {
                    ADD_FAILURE() << r << "," << g << "," << b << " gives " << index;
                    return;
                }
            }
    for (int duplicate : {32, 36, 128, 132, 160, 248})
        EXPECT_FALSE(used[duplicate]) << "entry " << duplicate;
}

TEST(HalftoneMappingTest, PictureTakesTheTableAndIgnoresAlpha)
{
    TBitmap32 bitmap(3, 2);
    bitmap.SetPixel(0, 0, 0xFF000000);
    bitmap.SetPixel(1, 0, 0x00FF0000); // red with alpha 0
    bitmap.SetPixel(2, 0, 0xFF00FF00);
    bitmap.SetPixel(0, 1, 0xFF0019E7); // (0, 25, 231)
    bitmap.SetPixel(1, 1, 0xFF808080);
    bitmap.SetPixel(2, 1, 0xFF808080);
    const TIndexedImage image = ToHalftoneImage(bitmap);
    EXPECT_EQ(image.Width, 3);
    EXPECT_EQ(image.Height, 2);
    EXPECT_EQ(image.Indices, (std::vector<std::uint8_t>{0, 249, 250, 252, 164, 164}));
    ASSERT_EQ(image.Palette.size(), 256u);
    EXPECT_EQ(image.Palette[9], (TRgb{166, 202, 240}));

    EXPECT_TRUE(ToHalftoneImage(TBitmap32()).Empty());
    EXPECT_TRUE(ToHalftoneImage(TBitmap32()).Indices.empty());
}

} // namespace
