#include "core/LayerRenderer.h"

#include "core/Layer.h"
#include "core/LayerCollection.h"
#include "core/PixelBlend.h"
#include "core/PixelStepper.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tavrin {

namespace {

// Rows per band when layers are painted over the picture: a band of a full-width view is a few
// hundred kilobytes, well inside the second-level cache.
constexpr int kBandRows = 32;

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

// Nearest-neighbour sampling of the picture into view rectangle `area` (inside the bitmap
// rectangle): view column vx shows picture column (vx - left) x width / view width, and likewise
// for rows. The column mapping is worked out once; rows are then written a stretch at a time, each
// picture row sampled once per stretch and copied to the view rows that show it again.
class TPictureSampler
{
public:
    TPictureSampler(const TBitmap32& picture, const TViewGeometry& g, const TRect& area)
        : FPicture(picture), FDst(g.BitmapRect), FArea(area)
    {
        const std::int64_t dw = FDst.Width(), bw = picture.Width();
        FIdentity = dw == bw;
        FWidened = dw > bw; // zoomed in: each picture pixel covers a run of columns
        if (FIdentity)
            return;
        TColumnStepper column(area.Left - FDst.Left, static_cast<int>(bw), dw);
        if (FWidened) {
            for (int i = 0; i < area.Width(); ++i, column.Next()) {
                if (!FRuns.empty() && FRuns.back().Source == column.Source)
                    ++FRuns.back().Length;
                else
                    FRuns.push_back({column.Source, i, 1});
            }
        } else {
            FColumns.resize(static_cast<std::size_t>(area.Width()));
            for (int& c : FColumns) {
                c = column.Source;
                column.Next();
            }
        }
    }

    // View rows [top, bottom) of the area into `out` (view row `top`, column area.Left).
    void Rows(int top, int bottom, TColor32* out, std::ptrdiff_t stride) const
    {
        const std::int64_t dh = FDst.Height(), bh = FPicture.Height();
        const std::size_t bytes = static_cast<std::size_t>(FArea.Width()) * sizeof(TColor32);
        for (int vy = top; vy < bottom;) {
            const auto sy = static_cast<int>((vy - FDst.Top) * bh / dh);
            const auto nextSy = static_cast<int>(std::min<std::int64_t>((vy + 1 - FDst.Top) * bh / dh, bh - 1));
            SampleRow(FPicture.ScanLine(sy), FPicture.ScanLine(nextSy), out);
            const TColor32* first = out;
            for (++vy, out += stride; vy < bottom && (vy - FDst.Top) * bh / dh == sy; ++vy, out += stride)
                std::memcpy(out, first, bytes);
        }
    }

private:
    struct TRun
    {
        int Source;
        int Start;
        int Length;
    };

    // `next` is the picture row the following view row shows.
    void SampleRow(const TColor32* src, const TColor32* next, TColor32* out) const
    {
        const int n = FArea.Width();
        if (FIdentity)
            CopyOpaque(out, src + (FArea.Left - FDst.Left), n);
        else if (FWidened)
            FillRuns(src, out);
        else
            Gather(src, next, out, n);
    }

    void FillRuns(const TColor32* src, TColor32* out) const
    {
        const int n = FArea.Width();
        for (const TRun& r : FRuns) {
            const TColor32 c = src[r.Source] | 0xFF000000u;
            TColor32* p = out + r.Start;
#if defined(__SSE2__)
            // Whole steps of four pixels: what spills past the run is written again by the runs
            // that follow, which start where it ends; only at the end of the row is it exact.
            if (r.Start + ((r.Length + 3) & ~3) <= n) {
                const __m128i v = _mm_set1_epi32(static_cast<int>(c));
                for (int k = 0; k < r.Length; k += 4)
                    _mm_storeu_si128(reinterpret_cast<__m128i*>(p + k), v);
                continue;
            }
#endif
            for (int k = 0; k < r.Length; ++k)
                p[k] = c;
        }
    }

    // Zoomed out, every row is a new picture row whose cache lines are scattered over memory:
    // asking early for those of the next row keeps the memory busy while this one is gathered.
    void Gather(const TColor32* src, const TColor32* next, TColor32* out, int n) const
    {
        const int* c = FColumns.data();
        int i = 0;
        for (; i + 4 <= n; i += 4) {
            __builtin_prefetch(next + c[i]);
            __builtin_prefetch(next + c[i + 3]);
            out[i] = src[c[i]] | 0xFF000000u;
            out[i + 1] = src[c[i + 1]] | 0xFF000000u;
            out[i + 2] = src[c[i + 2]] | 0xFF000000u;
            out[i + 3] = src[c[i + 3]] | 0xFF000000u;
        }
        for (; i < n; ++i)
            out[i] = src[c[i]] | 0xFF000000u;
    }

    const TBitmap32& FPicture;
    TRect FDst;
    TRect FArea;
    bool FIdentity = false;
    bool FWidened = false;
    std::vector<TRun> FRuns;
    std::vector<int> FColumns;
};

void SamplePicture(const TBitmap32& picture, const TViewGeometry& g, const TRect& area, TColor32* out,
                   std::ptrdiff_t stride)
{
    TPictureSampler(picture, g, area).Rows(area.Top, area.Bottom, out, stride);
}

void FillRows(const TPixelRows& target, const TRect& exposed, const TRect& r, TColor32 c)
{
    for (int y = r.Top; y < r.Bottom; ++y)
        FillPixels(target.ScanLine(y - exposed.Top) + (r.Left - exposed.Left), r.Width(), c);
}

// The picture's part of `band` (from the cache or sampled) and the background where it leaves room.
void PaintPictureBand(const TRect& band, const TRect& shown, const TPixelRows& rows, TColor32 background, const TPictureCache* cache,
                      const TPictureSampler* sampler)
{
    const TRect here = Intersect(shown, band);
    TRect free[4];
    const int parts = Subtract(band, here, free);
    for (int i = 0; i < parts; ++i)
        FillRows(rows, band, free[i], background);
    if (here.IsEmpty())
        return;
    TColor32* first = rows.ScanLine(here.Top - band.Top) + (here.Left - band.Left);
    if (cache) {
        for (int y = here.Top; y < here.Bottom; ++y)
            std::memcpy(first + (y - here.Top) * rows.Stride, cache->At(here.Left, y),
                        static_cast<std::size_t>(here.Width()) * sizeof(TColor32));
    } else if (sampler) {
        sampler->Rows(here.Top, here.Bottom, first, rows.Stride);
    }
}

// Every visible layer over `band`, bottom to top.
void PaintLayersBand(const TLayerCollection& layers, const TRect& band, TPixelRows rows, TColor32 background)
{
    // Layers that may leave translucent pixels say where; a transparent layer pixel elsewhere needs no work.
    thread_local std::vector<TRect> translucent;
    translucent.clear();
    rows.MaybeTranslucent = AlphaOf(background) == 0xFF ? &translucent : nullptr;
    for (int i = 0; i < layers.Count(); ++i) {
        const TCustomLayer* layer = layers.Items(i);
        if (!layer->Visible())
            continue;
        layer->Paint(rows, band);
        if (rows.MaybeTranslucent && !layer->PaintsOpaque()) {
            const TRect where = layer->PaintRect();
            if (where.IsEmpty()) // a layer that does not say where it paints: assume anywhere
                rows.MaybeTranslucent = nullptr;
            else if (const TRect r = Intersect(where, band); !r.IsEmpty())
                translucent.push_back(r);
        }
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
    bool anyLayer = false;
    for (int i = 0; i < layers.Count() && !anyLayer; ++i)
        anyLayer = layers.Items(i)->Visible();
    std::optional<TPictureSampler> sampler;
    if (!shown.IsEmpty()) {
        if (cache)
            cache->Ensure(picture, g, shown, keep);
        else
            sampler.emplace(picture, g, shown);
    }
    // With layers the view is painted in bands of rows, each band by the picture and then by every
    // layer, so the band stays in the processor's cache while the layers blend into it.
    const int bandRows = anyLayer ? kBandRows : exposed.Height();
    for (int top = exposed.Top; top < exposed.Bottom; top += bandRows) {
        const TRect band{exposed.Left, top, exposed.Right, std::min(exposed.Bottom, top + bandRows)};
        TPixelRows rows(target.ScanLine(top - exposed.Top), target.Width, band.Height(), target.Stride);
        PaintPictureBand(band, shown, rows, background, cache, sampler ? &*sampler : nullptr);
        PaintLayersBand(layers, band, rows, background);
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
