// The GIF writer's palette, its colour reduction and error diffusion, and its file read back by other readers;
// the 8-bit icon that shares the reduction.
#include "ImageTestSupport.h"

#include "ImgLib/ErrorDiffusion.h"
#include "ImgLib/GifWriter.h"
#include "ImgLib/IconWriter.h"
#include "ImgLib/NearestColorSearch.h"
#include "ImgLib/OctreeQuantizer.h"
#include "ImgLib/QtImageBridge.h"

#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <set>
#include <utility>

using namespace tavrin;
using namespace tavrin::test;

namespace {

// More colours than a palette holds, smoothly: red across, green down, blue along the diagonal.
TBitmap32 Gradient(int width, int height)
{
    TBitmap32 b(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            b.SetPixel(x, y, MakeColor32(255, static_cast<std::uint8_t>(x * 255 / (width - 1)),
                                         static_cast<std::uint8_t>(y * 255 / (height - 1)),
                                         static_cast<std::uint8_t>((x + y) * 255 / (width + height - 2))));
    return b;
}

// `count` distinct colours scattered over the picture.
TBitmap32 FewColors(int count, int width, int height)
{
    TBitmap32 b(width, height);
    for (int i = 0; i < width * height; ++i) {
        const int c = (i * 7) % count;
        b.SetPixel(i % width, i / width, MakeColor32(255, static_cast<std::uint8_t>(c * 37), static_cast<std::uint8_t>(c),
                                                     static_cast<std::uint8_t>(255 - c)));
    }
    return b;
}

TBitmap32 Expand(const TIndexedImage& image)
{
    TBitmap32 b(image.Width, image.Height);
    for (int y = 0; y < image.Height; ++y)
        for (int x = 0; x < image.Width; ++x) {
            const TRgb c = image.Palette[image.Indices[static_cast<std::size_t>(y * image.Width + x)]];
            b.SetPixel(x, y, MakeColor32(255, c.R, c.G, c.B));
        }
    return b;
}

std::string SaveBytes(const QTemporaryDir& dir, const char* name, const std::string& bytes)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return {};
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return path.toStdString();
}

} // namespace

TEST(GifWriter, PaletteHoldsTheStaticColoursAtBothEnds)
{
    for (const TBitmap32& picture : {Gradient(64, 64), FewColors(5, 9, 9), TBitmap32(1, 1)}) {
        const TIndexedImage image = QuantizeWithStaticColors(picture);
        ASSERT_EQ(image.Palette.size(), 256u);
        for (int i = 0; i < kStaticColorCount; ++i)
            EXPECT_EQ(image.Palette[static_cast<std::size_t>(StaticColorIndex(i))], StaticSystemColors()[static_cast<std::size_t>(i)]) << i;
    }
}

TEST(GifWriter, FewColoursAreKeptExactly)
{
    QTemporaryDir dir;
    for (auto [count, width, height] : {std::tuple{1, 1, 1}, {2, 40, 30}, {200, 40, 30}, {236, 40, 30}}) {
        SCOPED_TRACE(count);
        const TBitmap32 picture = FewColors(count, width, height);
        std::string bytes;
        ASSERT_TRUE(WriteGif(picture, bytes).Ok);
        const std::string path = SaveBytes(dir, "few.gif", bytes);
        for (const std::optional<TBitmap32>& back :
             {DecodeWithTool("giftopnm", {QString::fromStdString(path)}), DecodeWithMagick(path)}) {
            ASSERT_TRUE(back);
            EXPECT_EQ(ComparePixels(picture, *back, 0).MaxChannel, 0);
        }
    }
}

// The file holds exactly the reduced picture, whatever the reader; the reduction stays close to the original:
// 4 x 4 blocks keep their average colour, and no pixel is far off.
TEST(GifWriter, GradientIsDiffusedWithBoundedError)
{
    QTemporaryDir dir;
    const TBitmap32 picture = Gradient(256, 96);
    const TIndexedImage reduced = QuantizeWithStaticColors(picture);
    const TBitmap32 expected = Expand(reduced);
    std::string bytes;
    ASSERT_TRUE(WriteGif(picture, bytes).Ok);
    const std::string path = SaveBytes(dir, "gradient.gif", bytes);
    for (const std::optional<TBitmap32>& back : {DecodeWithTool("giftopnm", {QString::fromStdString(path)}), DecodeWithMagick(path)}) {
        ASSERT_TRUE(back);
        EXPECT_EQ(ComparePixels(expected, *back, 0).MaxChannel, 0);
    }
    // Where the gradient meets the edge of the colour space (its top rows have almost no green) the nearest
    // palette colours lie inside it and a block keeps some error; elsewhere the blocks keep their mean.
    EXPECT_LE(ComparePixels(picture, expected, 0).MaxChannel, 96);
    double worstBlock = 0, totalBlock = 0;
    int blocks = 0;
    for (int by = 0; by < 96; by += 4)
        for (int bx = 0; bx < 256; bx += 4)
            for (int shift : {16, 8, 0}) {
                double sum = 0;
                for (int y = by; y < by + 4; ++y)
                    for (int x = bx; x < bx + 4; ++x)
                        sum += static_cast<int>((picture.Pixel(x, y) >> shift) & 0xFF) -
                               static_cast<int>((expected.Pixel(x, y) >> shift) & 0xFF);
                worstBlock = std::max(worstBlock, std::abs(sum / 16));
                totalBlock += std::abs(sum / 16);
                ++blocks;
            }
    EXPECT_LE(worstBlock, 20.0);
    EXPECT_LE(totalBlock / blocks, 1.5);
}

TEST(GifWriter, OctreeAndDiffusionOnTinyBitmaps)
{
    // Two clusters of near colours become their two means.
    TBitmap32 clusters(4, 1);
    clusters.SetPixel(0, 0, MakeColor32(255, 10, 10, 10));
    clusters.SetPixel(1, 0, MakeColor32(255, 14, 10, 10));
    clusters.SetPixel(2, 0, MakeColor32(255, 200, 100, 50));
    clusters.SetPixel(3, 0, MakeColor32(255, 200, 104, 50));
    std::vector<TRgb> two = OctreePalette(clusters, 2);
    std::sort(two.begin(), two.end(), [](TRgb a, TRgb b) { return a.R < b.R; });
    EXPECT_EQ(two, (std::vector<TRgb>{{12, 10, 10}, {200, 102, 50}}));
    EXPECT_EQ(OctreePalette(clusters, 4).size(), 4u);

    // 50 % grey on black and white: half the pixels each, in a fine pattern.
    TBitmap32 grey(8, 8);
    grey.Clear(MakeColor32(255, 128, 128, 128));
    const std::vector<TRgb> blackWhite{{0, 0, 0}, {255, 255, 255}};
    const std::vector<std::uint8_t> indices = DiffuseToPalette(grey, blackWhite);
    const auto white = std::count(indices.begin(), indices.end(), 1);
    EXPECT_NEAR(white, 32, 2);
    // Ties go to the lower index.
    EXPECT_EQ(NearestPaletteIndex(std::vector<TRgb>{{0, 0, 0}, {2, 0, 0}}, 1, 0, 0), 0);
    EXPECT_EQ(NearestPaletteIndex(blackWhite, 127, 128, 128), 1);
    EXPECT_EQ(NearestPaletteIndex(std::vector<TRgb>{{10, 0, 0}, {10, 0, 0}}, 10, 0, 0), 0);
}

// The diffusion's fast search finds exactly what the plain scan finds, ties to the lower index included, at
// every colour of a coarse lattice and next to every palette colour and cell border.
TEST(GifWriter, FastNearestSearchEqualsPlainScan)
{
    // The static colours, then 236 scattered ones, as a GIF palette holds them.
    std::vector<TRgb> scattered(StaticSystemColors().begin(), StaticSystemColors().end());
    std::uint32_t seed = 12345;
    for (int i = 0; i < 236; ++i) {
        seed = seed * 1103515245u + 12345u;
        scattered.push_back({static_cast<std::uint8_t>(seed >> 24), static_cast<std::uint8_t>(seed >> 16),
                             static_cast<std::uint8_t>(seed >> 8)});
    }
    const std::vector<TRgb> halftone(HalftonePalette().begin(), HalftonePalette().end()); // six colours twice
    const std::vector<TRgb> ties{{0, 0, 0}, {16, 0, 0}, {8, 8, 8}, {8, 8, 8}, {255, 255, 255}}; // 8,0,0 ties
    for (const std::vector<TRgb>* palette : {&std::as_const(scattered), &halftone, &ties}) {
        TNearestColorSearch search(*palette);
        std::vector<std::array<int, 3>> probes;
        for (int r = 0; r < 256; r += 15)
            for (int g = 0; g < 256; g += 15)
                for (int b = 0; b < 256; b += 15)
                    probes.push_back({r, g, b});
        for (const TRgb c : *palette)
            for (int d : {-8, -1, 0, 1, 7, 8})
                probes.push_back({std::clamp(c.R + d, 0, 255), std::clamp(c.G - d, 0, 255), std::clamp(c.B + d / 2, 0, 255)});
        for (int v : {0, 7, 8, 127, 128, 248, 255})
            probes.push_back({v, 255 - v, v});
        probes.push_back({8, 0, 0});
        for (const auto& [r, g, b] : probes)
            ASSERT_EQ(search.Find(r, g, b), NearestPaletteIndex(*palette, r, g, b)) << r << "," << g << "," << b;
    }
}

// The 8-bit icon and cursor carry the same reduction; Qt and ImageMagick read the colours of its table.
TEST(IconWriter, EightBitIconsReadBackAsTheirReducedColours)
{
    QTemporaryDir dir;
    const TBitmap32 picture = Gradient(32, 32);
    const TIndexedImage reduced = QuantizeWithStaticColors(picture);
    for (TIconKind kind : {TIconKind::ikIcon, TIconKind::ikCursor}) {
        const char* name = kind == TIconKind::ikIcon ? "eight.ico" : "eight.cur";
        std::string bytes;
        ASSERT_TRUE(WriteIcon8(reduced, kind, bytes).Ok);
        EXPECT_EQ(bytes.size(), 6u + 16 + 40 + 1024 + 32 * 32 + 32 * 4);
        const std::string path = SaveBytes(dir, name, bytes);
        QImageReader reader(QString::fromStdString(path), kind == TIconKind::ikIcon ? "ico" : "cur");
        const QImage qt = reader.read();
        ASSERT_FALSE(qt.isNull()) << name;
        EXPECT_EQ(ComparePixels(Expand(reduced), BitmapFromImage(qt), 0).MaxChannel, 0) << name;
        const std::optional<TBitmap32> magick = DecodeWithMagick(path);
        ASSERT_TRUE(magick);
        EXPECT_EQ(ComparePixels(Expand(reduced), *magick, 0).MaxChannel, 0) << name;
    }
}
