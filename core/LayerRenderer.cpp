#include "core/LayerRenderer.h"

#include "core/Layer.h"
#include "core/LayerCollection.h"

#include <cstdint>
#include <vector>

namespace tavrin {

namespace {

void PaintPicture(const TBitmap32& picture, const TViewGeometry& g, const TRect& exposed, TBitmap32& target)
{
    if (picture.Empty() || picture.Width() != g.BitmapWidth || picture.Height() != g.BitmapHeight)
        return;
    const TRect dst = g.BitmapRect;
    const TRect clip = Intersect(dst, exposed);
    if (clip.IsEmpty())
        return;
    const std::int64_t dw = dst.Width(), dh = dst.Height();
    const std::int64_t bw = picture.Width(), bh = picture.Height();
    // Source column of every exposed column, computed once per paint.
    thread_local std::vector<int> columns;
    columns.resize(static_cast<std::size_t>(clip.Width()));
    for (int vx = clip.Left; vx < clip.Right; ++vx)
        columns[static_cast<std::size_t>(vx - clip.Left)] = static_cast<int>((vx - dst.Left) * bw / dw);
    int lastRow = -1;
    const TColor32* lastOut = nullptr;
    for (int vy = clip.Top; vy < clip.Bottom; ++vy) {
        const auto sy = static_cast<int>((vy - dst.Top) * bh / dh);
        TColor32* out = target.ScanLine(vy - exposed.Top) + (clip.Left - exposed.Left);
        if (sy == lastRow) { // zoomed in: the same source row again
            std::copy(lastOut, lastOut + clip.Width(), out);
            continue;
        }
        const TColor32* src = picture.ScanLine(sy);
        for (std::size_t i = 0; i < columns.size(); ++i)
            out[i] = src[columns[i]] | 0xFF000000u;
        lastRow = sy;
        lastOut = out;
    }
}

} // namespace

void RenderView(const TBitmap32& picture, const TLayerCollection& layers, const TRect& exposed,
                TBitmap32& target, TColor32 background)
{
    target.SetSize(exposed.Width(), exposed.Height());
    if (target.Empty())
        return;
    target.Clear(background);
    PaintPicture(picture, layers.Geometry(), exposed, target);
    for (int i = 0; i < layers.Count(); ++i) {
        const TCustomLayer* layer = layers.Items(i);
        if (layer->Visible())
            layer->Paint(target, exposed);
    }
}

} // namespace tavrin
