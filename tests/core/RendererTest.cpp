#include "core/BitmapLayer.h"
#include "core/LayerCollection.h"
#include "core/LayerRenderer.h"
#include "core/PixelBlend.h"
#include "core/RubberbandLayer.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace tavrin;

namespace {

// A picture whose every pixel tells where it came from.
TBitmap32 Numbered(int w, int h)
{
    TBitmap32 b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.SetPixel(x, y, 0xFF000000u | static_cast<TColor32>(y << 8 | x));
    return b;
}

TColor32 At(const TBitmap32& out, int x, int y) { return out.Pixel(x, y); }

} // namespace

TEST(Renderer, PictureNearestNeighbourAtScaleOnWhite)
{
    const TBitmap32 picture = Numbered(4, 3);
    TLayerCollection layers;
    TBitmap32 out;
    layers.SetGeometry(TViewGeometry::Make(4, 3, 2.0f));
    RenderView(picture, layers, {0, 0, 10, 8}, out);
    EXPECT_EQ(At(out, 0, 0), picture.Pixel(0, 0));
    EXPECT_EQ(At(out, 3, 5), picture.Pixel(1, 2));
    EXPECT_EQ(At(out, 7, 1), picture.Pixel(3, 0));
    EXPECT_EQ(At(out, 8, 0), clWhite32); // past the picture
    EXPECT_EQ(At(out, 0, 6), clWhite32);

    layers.SetGeometry(TViewGeometry::Make(4, 3, 0.5f)); // 2 x 2 view pixels (1.5 rounds to 2)
    RenderView(picture, layers, {0, 0, 3, 3}, out);
    EXPECT_EQ(At(out, 1, 1), picture.Pixel(2, 1));
    EXPECT_EQ(At(out, 2, 2), clWhite32);
}

TEST(Renderer, ExposedRectMatchesTheSameRegionOfAFullRender)
{
    const TBitmap32 picture = Numbered(50, 40);
    TLayerCollection layers;
    layers.SetGeometry(TViewGeometry::Make(50, 40, 3.7f));
    auto* area = layers.Add<TBitmapLayer>();
    area->SetInImageSpace(true);
    area->SetBounds({5, 5, 20, 17});
    area->Bitmap().SetSize(3, 3);
    area->Bitmap().Clear(0x80FF0000);
    area->Bitmap().DrawMode = TDrawMode::dmBlend;
    auto* band = layers.Add<TRubberbandLayer>();
    band->SetBounds({30, 30, 90, 80});
    TBitmap32 full, part;
    RenderView(picture, layers, {0, 0, 200, 160}, full);
    const TRect sub{27, 33, 95, 101};
    RenderView(picture, layers, sub, part);
    for (int y = sub.Top; y < sub.Bottom; ++y)
        for (int x = sub.Left; x < sub.Right; ++x)
            ASSERT_EQ(part.Pixel(x - sub.Left, y - sub.Top), full.Pixel(x, y)) << x << "," << y;
}

TEST(Renderer, BitmapLayerDrawModes)
{
    TBitmap32 picture(4, 4);
    picture.Clear(0xFF000000);
    TLayerCollection layers;
    layers.SetGeometry(TViewGeometry::Make(4, 4, 1.0f));
    auto* layer = layers.Add<TBitmapLayer>();
    layer->SetBounds({0, 0, 4, 4});
    layer->Bitmap().SetSize(1, 1);
    layer->Bitmap().Clear(0x00FFFFFF); // alpha 0: opaque mode copies it anyway
    TBitmap32 out;
    RenderView(picture, layers, {0, 0, 4, 4}, out);
    EXPECT_EQ(At(out, 3, 3) & 0xFFFFFF, 0xFFFFFFu);

    layer->Bitmap().DrawMode = TDrawMode::dmBlend;
    RenderView(picture, layers, {0, 0, 4, 4}, out);
    EXPECT_EQ(At(out, 3, 3) & 0xFFFFFF, 0u); // alpha 0 blends to nothing
    layer->Bitmap().Clear(0xFFFFFFFF);
    layer->Bitmap().MasterAlpha = 0;
    RenderView(picture, layers, {0, 0, 4, 4}, out);
    EXPECT_EQ(At(out, 3, 3) & 0xFFFFFF, 0u);
    layer->Bitmap().MasterAlpha = 20; // the highlight's weight
    RenderView(picture, layers, {0, 0, 4, 4}, out);
    EXPECT_EQ(At(out, 0, 0) & 0xFF, 20u);
    layer->SetVisible(false);
    RenderView(picture, layers, {0, 0, 4, 4}, out);
    EXPECT_EQ(At(out, 0, 0) & 0xFFFFFF, 0u);
}

TEST(Renderer, BandFramePatternAndGrips)
{
    TBitmap32 picture;
    TLayerCollection layers;
    auto* band = layers.Add<TRubberbandLayer>();
    band->SetBounds({10, 10, 40, 30});
    band->FramePattern = {clWhite32, clBlack32};
    TBitmap32 out;
    RenderView(picture, layers, {0, 0, 60, 50}, out);
    // top row from the left: white, black, ... (away from the grips)
    EXPECT_EQ(At(out, 14, 10), clWhite32);
    EXPECT_EQ(At(out, 15, 10), clBlack32);
    // right column continues the trace: (39, 10) is pixel 29, (39, 14) is pixel 33
    EXPECT_EQ(At(out, 39, 15), clWhite32);
    EXPECT_EQ(At(out, 39, 16), clBlack32);
    // a corner grip: 6 x 6 from (7, 7), black frame, white fill
    EXPECT_EQ(At(out, 7, 7), clBlack32);
    EXPECT_EQ(At(out, 9, 9), clWhite32);
    EXPECT_EQ(At(out, 14, 14), clWhite32); // inside the band, nothing drawn: background
    EXPECT_EQ(At(out, 13, 9), clWhite32);  // next to the grip: background
}

TEST(Renderer, BlendMatchesExactWeightedMean)
{
    for (std::uint32_t a : {1u, 20u, 100u, 128u, 200u, 254u})
        for (std::uint32_t m : {1u, 20u, 120u, 255u})
            for (std::uint32_t s : {0u, 1u, 127u, 200u, 255u})
                for (std::uint32_t d : {0u, 3u, 128u, 255u}) {
                    const TColor32 src = a << 24 | s << 16 | d << 8 | s;
                    const TColor32 dst = 0xFF000000u | d << 16 | s << 8 | d;
                    const TColor32 out = BlendPixel(src, dst, static_cast<std::uint8_t>(m));
                    const double w = std::round(a * m / 255.0) / 255.0;
                    EXPECT_NEAR(RedOf(out), s * w + d * (1 - w), 0.51);
                    EXPECT_NEAR(GreenOf(out), d * w + s * (1 - w), 0.51);
                    EXPECT_EQ(AlphaOf(out), 255u);
                }
}
