#include "core/LayerRenderer.h"

#include "core/Layer.h"
#include "core/LayerCollection.h"
#include "core/PixelBlend.h"
#include "core/PixelStepper.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace tavrin {

namespace {

bool PictureFits(const TBitmap32& picture, const TViewGeometry& g)
{
    return !picture.Empty() && picture.Width() == g.BitmapWidth && picture.Height() == g.BitmapHeight;
}

// The parts of `r` outside `hole`: at most four rectangles (above, below, left, right).
int Subtract(const TRect& r, const TRect& hole, TRect (&out)[4])
{
    const TRect h = Intersect(r, hole);
    if (h.IsEmpty()) {
        out[0] = r;
        return r.IsEmpty() ? 0 : 1;
    }
    int n = 0;
    const TRect parts[4] = {{r.Left, r.Top, r.Right, h.Top},
                            {r.Left, h.Bottom, r.Right, r.Bottom},
                            {r.Left, h.Top, h.Left, h.Bottom},
                            {h.Right, h.Top, r.Right, h.Bottom}};
    for (const TRect& p : parts)
        if (!p.IsEmpty())
            out[n++] = p;
    return n;
}

// Writes view rectangle `area` (inside the bitmap rectangle) of the scaled picture into rows
// `out`, whose first row and column are those of `area`. Nearest neighbour: view column vx shows
// picture column (vx - left) x width / view width, and likewise for rows.
void SamplePicture(const TBitmap32& picture, const TViewGeometry& g, const TRect& area, TColor32* out,
                   std::ptrdiff_t stride)
{
    const TRect dst = g.BitmapRect;
    const std::int64_t dw = dst.Width(), dh = dst.Height();
    const std::int64_t bw = picture.Width(), bh = picture.Height();
    const int n = area.Width();
    thread_local std::vector<int> columns;
    const bool identity = dw == bw;
    if (!identity) {
        columns.resize(static_cast<std::size_t>(n));
        TColumnStepper column(area.Left - dst.Left, static_cast<int>(bw), dw);
        for (int i = 0; i < n; ++i, column.Next())
            columns[static_cast<std::size_t>(i)] = column.Source;
    }
    const bool widened = dw > bw; // zoomed in: each picture pixel covers a run of columns
    int lastRow = -1;
    const TColor32* lastOut = nullptr;
    for (int vy = area.Top; vy < area.Bottom; ++vy, out += stride) {
        const auto sy = static_cast<int>((vy - dst.Top) * bh / dh);
        if (sy == lastRow) { // the same picture row again
            std::memcpy(out, lastOut, static_cast<std::size_t>(n) * sizeof(TColor32));
            continue;
        }
        const TColor32* src = picture.ScanLine(sy);
        if (identity) {
            CopyOpaque(out, src + (area.Left - dst.Left), n);
        } else if (widened) {
            for (int i = 0; i < n;) {
                const int sx = columns[static_cast<std::size_t>(i)];
                int j = i + 1;
                while (j < n && columns[static_cast<std::size_t>(j)] == sx)
                    ++j;
                std::fill(out + i, out + j, src[sx] | 0xFF000000u);
                i = j;
            }
        } else {
            for (int i = 0; i < n; ++i)
                out[i] = src[columns[static_cast<std::size_t>(i)]] | 0xFF000000u;
        }
        lastRow = sy;
        lastOut = out;
    }
}

void FillRows(const TPixelRows& target, const TRect& exposed, const TRect& r, TColor32 c)
{
    for (int y = r.Top; y < r.Bottom; ++y) {
        TColor32* row = target.ScanLine(y - exposed.Top) + (r.Left - exposed.Left);
        std::fill(row, row + r.Width(), c);
    }
}

} // namespace

void TPictureCache::Reset()
{
    FRect = {};
    FPicture = nullptr;
    FPixels = TBitmap32();
}

bool TPictureCache::Matches(const TBitmap32& picture, const TViewGeometry& g) const
{
    return FPicture == &picture && FBits == picture.Bits() && FVersion == picture.Version() &&
           FWidth == picture.Width() && FHeight == picture.Height() && FBitmapRect == g.BitmapRect;
}

void TPictureCache::Ensure(const TBitmap32& picture, const TViewGeometry& g, const TRect& want, const TRect& keep)
{
    if (!Matches(picture, g))
        FRect = {};
    if (want.IsEmpty() || (Intersect(want, FRect) == want))
        return;
    const TRect next = Intersect(Union(want, keep), g.BitmapRect);
    // Keep what is still valid, sample the rest.
    TBitmap32 fresh(next.Width(), next.Height());
    const TRect kept = Intersect(next, FRect);
    for (int y = kept.Top; y < kept.Bottom; ++y)
        std::memcpy(fresh.ScanLine(y - next.Top) + (kept.Left - next.Left), At(kept.Left, y),
                    static_cast<std::size_t>(kept.Width()) * sizeof(TColor32));
    TRect parts[4];
    const int count = Subtract(next, kept, parts);
    for (int i = 0; i < count; ++i)
        SamplePicture(picture, g, parts[i], fresh.ScanLine(parts[i].Top - next.Top) + (parts[i].Left - next.Left),
                      fresh.Width());
    FPixels = std::move(fresh);
    FRect = next;
    FPicture = &picture;
    FBits = picture.Bits();
    FVersion = picture.Version();
    FWidth = picture.Width();
    FHeight = picture.Height();
    FBitmapRect = g.BitmapRect;
}

void RenderViewInto(const TBitmap32& picture, const TLayerCollection& layers, const TRect& exposed,
                    TPixelRows target, TColor32 background, TPictureCache* cache, const TRect& keep)
{
    if (exposed.IsEmpty() || target.Empty())
        return;
    const TViewGeometry& g = layers.Geometry();
    const TRect shown = PictureFits(picture, g) ? Intersect(g.BitmapRect, exposed) : TRect{};
    // Only what the picture leaves free gets the background.
    TRect free[4];
    const int parts = Subtract(exposed, shown, free);
    for (int i = 0; i < parts; ++i)
        FillRows(target, exposed, free[i], background);
    if (!shown.IsEmpty()) {
        TColor32* first = target.ScanLine(shown.Top - exposed.Top) + (shown.Left - exposed.Left);
        if (cache) {
            cache->Ensure(picture, g, shown, keep);
            for (int y = shown.Top; y < shown.Bottom; ++y)
                std::memcpy(first + (y - shown.Top) * target.Stride, cache->At(shown.Left, y),
                            static_cast<std::size_t>(shown.Width()) * sizeof(TColor32));
        } else {
            SamplePicture(picture, g, shown, first, target.Stride);
        }
    }
    // Layers that may leave translucent pixels say where; a transparent layer pixel elsewhere needs no work.
    thread_local std::vector<TRect> translucent;
    translucent.clear();
    target.MaybeTranslucent = AlphaOf(background) == 0xFF ? &translucent : nullptr;
    for (int i = 0; i < layers.Count(); ++i) {
        const TCustomLayer* layer = layers.Items(i);
        if (!layer->Visible())
            continue;
        layer->Paint(target, exposed);
        if (target.MaybeTranslucent && !layer->PaintsOpaque()) {
            const TRect where = layer->PaintRect();
            if (where.IsEmpty()) // a layer that does not say where it paints: assume anywhere
                target.MaybeTranslucent = nullptr;
            else if (const TRect r = Intersect(where, exposed); !r.IsEmpty())
                translucent.push_back(r);
        }
    }
}

void RenderView(const TBitmap32& picture, const TLayerCollection& layers, const TRect& exposed,
                TBitmap32& target, TColor32 background)
{
    target.SetSize(exposed.Width(), exposed.Height());
    if (target.Empty())
        return;
    RenderViewInto(picture, layers, exposed, target, background);
}

} // namespace tavrin
