// The renderer's fast paths (runs, spans, the picture cache, painting into foreign rows) against
// the plain per-pixel renderer kept here as the reference: every pixel must be the same.
#include "core/BitmapLayer.h"
#include "core/ImgMap.h"
#include "core/InfoLayer.h"
#include "core/LayerCollection.h"
#include "core/LayerRenderer.h"
#include "core/PixelBlend.h"
#include "core/RubberbandLayer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

using namespace tavrin;

namespace {

// --- the reference: one pixel at a time, as simple as it gets ---

void ReferencePicture(const TBitmap32& picture, const TViewGeometry& g, const TRect& exposed, TBitmap32& out)
{
    if (picture.Empty() || picture.Width() != g.BitmapWidth || picture.Height() != g.BitmapHeight)
        return;
    const TRect dst = g.BitmapRect;
    const TRect clip = Intersect(dst, exposed);
    for (int vy = clip.Top; vy < clip.Bottom; ++vy)
        for (int vx = clip.Left; vx < clip.Right; ++vx) {
            const auto sx = static_cast<int>((vx - dst.Left) * std::int64_t{picture.Width()} / dst.Width());
            const auto sy = static_cast<int>((vy - dst.Top) * std::int64_t{picture.Height()} / dst.Height());
            out.SetPixel(vx - exposed.Left, vy - exposed.Top, picture.Pixel(sx, sy) | 0xFF000000u);
        }
}

// A polygon area as it always was: a canvas the size of the picture, cleared to transparent white
// once a vertex is there, with the polygon drawn on it.
TBitmap32 FullPolygonCanvas(const TMapPolygonLayer& p)
{
    TBitmap32 canvas(p.CanvasWidth(), p.CanvasHeight());
    if (!p.FVertices.HasVertices())
        return canvas;
    canvas.Clear(0x00FFFFFF);
    p.FVertices.DrawFill(canvas, 0xC87F7F7F);
    p.FVertices.DrawEdge(canvas, 0xC8000000);
    return canvas;
}

void ReferenceBitmapLayer(const TBitmapLayer& layer, const TBitmap32& canvas, const TRect& exposed, TBitmap32& out)
{
    if (canvas.Empty())
        return;
    const TRect dst = layer.RoundedViewBounds();
    const TRect clip = Intersect(dst, exposed);
    const TBitmap32& b = layer.Bitmap();
    if (b.DrawMode == TDrawMode::dmBlend && b.MasterAlpha == 0)
        return;
    for (int vy = clip.Top; vy < clip.Bottom; ++vy)
        for (int vx = clip.Left; vx < clip.Right; ++vx) {
            const auto sx = static_cast<int>((vx - dst.Left) * std::int64_t{canvas.Width()} / dst.Width());
            const auto sy = static_cast<int>((vy - dst.Top) * std::int64_t{canvas.Height()} / dst.Height());
            const TColor32 src = canvas.Pixel(sx, sy);
            TColor32& px = out.ScanLine(vy - exposed.Top)[vx - exposed.Left];
            px = b.DrawMode == TDrawMode::dmBlend ? BlendPixel(src, px, b.MasterAlpha) : src;
        }
}

TBitmap32 ReferenceRender(const TBitmap32& picture, const TLayerCollection& layers, const TRect& exposed,
                          TColor32 background)
{
    TBitmap32 out(exposed.Width(), exposed.Height());
    out.Clear(background);
    ReferencePicture(picture, layers.Geometry(), exposed, out);
    for (int i = 0; i < layers.Count(); ++i) {
        const TCustomLayer* layer = layers.Items(i);
        if (!layer->Visible())
            continue;
        if (const auto* polygon = dynamic_cast<const TMapPolygonLayer*>(layer))
            ReferenceBitmapLayer(*polygon, FullPolygonCanvas(*polygon), exposed, out);
        else if (const auto* bitmap = dynamic_cast<const TBitmapLayer*>(layer))
            ReferenceBitmapLayer(*bitmap, bitmap->Bitmap(), exposed, out);
        else
            layer->Paint(out, exposed); // the band draws single pixels: nothing to speed up there
    }
    return out;
}

// --- random stacks ---

struct TRandom
{
    std::mt19937 Engine;
    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(Engine); }
    bool Chance(int percent) { return Int(0, 99) < percent; }
    float Float(float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(Engine); }
    TColor32 Color() { return static_cast<TColor32>(Engine()); }
    // Alphas where the fast paths branch: none, full, and anything between.
    TColor32 LayerColor()
    {
        const TColor32 rgb = Color() & 0xFFFFFF;
        const int pick = Int(0, 3);
        const TColor32 alpha = pick == 0 ? 0 : pick == 1 ? 255 : static_cast<TColor32>(Int(1, 254));
        return alpha << 24 | rgb;
    }
};

void FillLayerBitmap(TRandom& r, TBitmap32& b)
{
    b.SetSize(r.Int(1, 9), r.Int(1, 9));
    b.Clear(r.LayerColor());
    const int style = r.Int(0, 2); // uniform, a few patches, noise
    const int pixels = style == 0 ? 0 : style == 1 ? 3 : b.Width() * b.Height();
    for (int i = 0; i < pixels; ++i)
        b.SetPixel(r.Int(0, b.Width() - 1), r.Int(0, b.Height() - 1), r.LayerColor());
    b.DrawMode = r.Chance(70) ? TDrawMode::dmBlend : TDrawMode::dmOpaque;
    const int m = r.Int(0, 3);
    b.MasterAlpha = static_cast<std::uint8_t>(m == 0 ? 0 : m == 1 ? 255 : r.Int(1, 254));
}

TFloatBounds RandomBounds(TRandom& r, float extentX, float extentY)
{
    const float l = r.Float(-0.3f * extentX, extentX), t = r.Float(-0.3f * extentY, extentY);
    return {l, t, l + r.Float(0.2f, extentX), t + r.Float(0.2f, extentY)};
}

void AddRandomLayers(TRandom& r, TLayerCollection& layers, const TBitmap32& picture)
{
    const TViewGeometry& g = layers.Geometry();
    const float viewW = static_cast<float>(g.BitmapRect.Right) + 20, viewH = static_cast<float>(g.BitmapRect.Bottom) + 20;
    const int count = r.Int(0, 10);
    for (int i = 0; i < count; ++i) {
        switch (r.Int(0, 4)) {
        case 0: { // an area or the highlight: in image space
            auto* l = layers.Add<TBitmapLayer>();
            l->SetInImageSpace(true);
            FillLayerBitmap(r, l->Bitmap());
            l->SetBounds(RandomBounds(r, static_cast<float>(picture.Width()), static_cast<float>(picture.Height())));
            break;
        }
        case 1: { // a bitmap in view pixels
            auto* l = layers.Add<TBitmapLayer>();
            FillLayerBitmap(r, l->Bitmap());
            l->SetBounds(RandomBounds(r, viewW, viewH));
            break;
        }
        case 2: { // a guide: canvas pixels with alpha 0, painted opaque
            auto* guide = layers.Add<TInfoLayer>();
            const bool vertical = r.Chance(50);
            guide->Bitmap().SetSize(vertical ? 2 : 300, vertical ? 300 : 2);
            guide->Bitmap().Clear(r.Color() & 0xFFFFFF);
            const float at = r.Float(0, vertical ? viewW : viewH);
            guide->SetBounds(vertical ? TFloatBounds{at, 0, at + 2, viewH} : TFloatBounds{0, at, viewW, at + 2});
            break;
        }
        case 3: { // a selection band
            auto* band = layers.Add<TRubberbandLayer>();
            band->SetInImageSpace(r.Chance(50));
            band->SetBounds(RandomBounds(r, viewW, viewH));
            if (r.Chance(30))
                band->FramePattern = {r.Color(), r.Color()};
            break;
        }
        default: { // a polygon area, vertices anywhere, also off the picture
            auto* p = layers.Add<TMapPolygonLayer>();
            p->PrepareCanvas(picture.Width(), picture.Height());
            const int vertices = r.Int(0, 6);
            for (int v = 0; v < vertices; ++v)
                p->AddVertex(r.Int(-10, picture.Width() + 10), r.Int(-10, picture.Height() + 10));
            if (r.Chance(30)) {
                const float dx = static_cast<float>(r.Int(-20, 20)), dy = static_cast<float>(r.Int(-20, 20));
                const TFloatBounds b = p->Bounds();
                p->SetBounds({b.Left + dx, b.Top + dy, b.Right + dx, b.Bottom + dy});
            }
            break;
        }
        }
        if (r.Chance(10))
            layers.Items(layers.Count() - 1)->SetVisible(false);
    }
}

TRect RandomExposed(TRandom& r, const TViewGeometry& g)
{
    const int w = g.BitmapRect.Right + 30, h = g.BitmapRect.Bottom + 30;
    const int l = r.Int(0, w - 1), t = r.Int(0, h - 1);
    return {l, t, r.Int(l + 1, w), r.Int(t + 1, h)};
}

::testing::AssertionResult SameRows(const TBitmap32& expected, const TColor32* rows, std::ptrdiff_t stride)
{
    for (int y = 0; y < expected.Height(); ++y)
        for (int x = 0; x < expected.Width(); ++x)
            if (rows[y * stride + x] != expected.Pixel(x, y))
                return ::testing::AssertionFailure() << "at (" << x << ", " << y << "): " << std::hex
                                                     << rows[y * stride + x] << " instead of " << expected.Pixel(x, y);
    return ::testing::AssertionSuccess();
}

} // namespace

TEST(RenderDifferential, RandomStacksMatchThePerPixelReference)
{
    TRandom r{std::mt19937(20261210)};
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        TBitmap32 picture(r.Int(1, 70), r.Int(1, 50));
        for (int y = 0; y < picture.Height(); ++y)
            for (int x = 0; x < picture.Width(); ++x)
                picture.SetPixel(x, y, r.Chance(30) ? 0x00FF8040u : r.Color()); // runs and noise, any alpha
        const float scale = r.Chance(20) ? 1.0f : r.Float(0.05f, 12.0f);
        TLayerCollection layers;
        layers.SetGeometry(TViewGeometry::Make(picture.Width(), picture.Height(), scale));
        AddRandomLayers(r, layers, picture);
        const TColor32 background = r.Chance(80) ? clWhite32 : r.Color();

        // A cache that lives across several exposed rectangles, as in a window.
        TPictureCache cache;
        for (int paint = 0; paint < 3; ++paint) {
            const TRect exposed = RandomExposed(r, layers.Geometry());
            const TBitmap32 expected = ReferenceRender(picture, layers, exposed, background);

            TBitmap32 fast;
            RenderView(picture, layers, exposed, fast, background);
            ASSERT_TRUE(SameRows(expected, fast.Bits(), fast.Width())) << "scale " << scale;

            // Rows wider than the rectangle, as a window's backing store; nothing outside is touched.
            const int stride = exposed.Width() + 7;
            std::vector<TColor32> store(static_cast<std::size_t>(stride) * exposed.Height(), 0x12345678u);
            const TRect keep = RandomExposed(r, layers.Geometry());
            RenderViewInto(picture, layers, exposed, {store.data(), exposed.Width(), exposed.Height(), stride},
                           background, &cache, keep);
            ASSERT_TRUE(SameRows(expected, store.data(), stride)) << "through the cache, scale " << scale;
            for (int y = 0; y < exposed.Height(); ++y)
                for (int x = exposed.Width(); x < stride; ++x)
                    ASSERT_EQ(store[static_cast<std::size_t>(y * stride + x)], 0x12345678u);
        }
    }
}

TEST(RenderDifferential, CacheFollowsChangesOfThePicture)
{
    TBitmap32 picture(40, 30);
    picture.Clear(0xFF102030);
    TLayerCollection layers;
    layers.SetGeometry(TViewGeometry::Make(40, 30, 2.5f));
    TPictureCache cache;
    const TRect exposed{0, 0, 120, 90};
    TBitmap32 out(exposed.Width(), exposed.Height());
    RenderViewInto(picture, layers, exposed, out, clWhite32, &cache);
    picture.SetPixel(10, 10, 0xFFABCDEF); // a write through the picture's own interface
    RenderViewInto(picture, layers, exposed, out, clWhite32, &cache);
    EXPECT_TRUE(SameRows(ReferenceRender(picture, layers, exposed, clWhite32), out.Bits(), out.Width()));
    picture.ScanLine(3)[4] = 0xFF000001; // a write through a row pointer
    layers.SetGeometry(TViewGeometry::Make(40, 30, 0.7f)); // and a new zoom
    RenderViewInto(picture, layers, exposed, out, clWhite32, &cache);
    EXPECT_TRUE(SameRows(ReferenceRender(picture, layers, exposed, clWhite32), out.Bits(), out.Width()));
}

TEST(RenderDifferential, SpanBlendEqualsThePlainForm)
{
    std::mt19937 engine(7);
    std::vector<TColor32> below(37);
    for (auto& p : below)
        p = static_cast<TColor32>(engine());
    for (std::uint32_t w = 0; w <= 255; ++w) {
        const auto color = static_cast<TColor32>(engine());
        std::vector<TColor32> plain = below;
        BlendSpanPlain(plain.data(), static_cast<int>(plain.size()), color, w);
        for (std::size_t i = 0; i < below.size(); ++i)
            ASSERT_EQ(plain[i], BlendWeighted(color, below[i], w));
        // Every form the processor runs, over lengths that end inside and at a step of each.
        for (const TBlendSpanForm& form : BlendSpanForms())
            for (const int n : {0, 3, 4, 7, 8, 9, 37}) {
                std::vector<TColor32> fast = below;
                form.Function(fast.data(), n, color, w);
                ASSERT_TRUE(std::equal(fast.begin(), fast.begin() + n, plain.begin()) &&
                            std::equal(fast.begin() + n, fast.end(), below.begin() + n))
                    << form.Name << ", weight " << w << ", " << n << " pixels";
            }
    }
}

TEST(RenderDifferential, RowKernelsEqualTheirPlainMeaning)
{
    std::mt19937 engine(11);
    std::vector<TColor32> source(45);
    for (auto& p : source)
        p = static_cast<TColor32>(engine());
    for (const int n : {0, 1, 7, 8, 9, 45}) {
        std::vector<TColor32> out(source.size(), 0x12345678u);
        CopyOpaque(out.data(), source.data(), n);
        for (std::size_t i = 0; i < out.size(); ++i)
            ASSERT_EQ(out[i], static_cast<int>(i) < n ? source[i] | 0xFF000000u : 0x12345678u) << n;
        for (const TColor32 c : {0xFFFFFFFFu, 0x00000000u, 0xFF102030u, 0x7F7F7F7Fu}) {
            std::vector<TColor32> filled(source.size(), 0x12345678u);
            FillPixels(filled.data(), n, c);
            for (std::size_t i = 0; i < filled.size(); ++i)
                ASSERT_EQ(filled[i], static_cast<int>(i) < n ? c : 0x12345678u) << n;
        }
    }
}
