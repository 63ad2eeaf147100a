// Rectangle selection, the drag outline, the region highlight and the region's pixels.
#include "core/ImgEditor.h"

#include "core/BitmapLayer.h"
#include "core/EditorView.h"
#include "core/LayerCollection.h"

#include <algorithm>
#include <climits>

namespace tavrin {

void TImgEditor::ShowHighlight(bool show)
{
    if (!FHighlight)
        return;
    const bool emptyRegion = FSelRegion.Left == 0 && FSelRegion.Right == 0;
    FHighlight->SetVisible(show && !emptyRegion);
}

void TImgEditor::SetViewSelected(bool value)
{
    FViewSelected = value;
    ShowHighlight(value);
}

void TImgEditor::UpdateHighlightAtPress()
{
    if (!FHighlight)
        return;
    FHighlight->SetBounds({static_cast<float>(FSelRegion.Left), static_cast<float>(FSelRegion.Top),
                           static_cast<float>(FSelRegion.Right), static_cast<float>(FSelRegion.Bottom)});
    FHighlight->SetVisible(FViewSelected);
}

void TImgEditor::ExtractRegion()
{
    const long long w = static_cast<long long>(FSelRegion.Right) - FSelRegion.Left;
    const long long h = static_cast<long long>(FSelRegion.Bottom) - FSelRegion.Top;
    if (w <= 0 || h <= 0 || w > INT_MAX || h > INT_MAX) {
        FSelBitmap.SetSize(0, 0);
        return;
    }
    FSelBitmap.SetSize(static_cast<int>(w), static_cast<int>(h));
    // The region may lie partly or wholly off the picture (a band moved past its edge): what is
    // outside reads as white, and nothing outside the picture is ever read.
    FSelBitmap.Clear(clWhite32);
    if (!FImage)
        return;
    const TBitmap32& picture = Picture();
    const TRect inside = Intersect(FSelRegion, {0, 0, picture.Width(), picture.Height()});
    for (int y = inside.Top; y < inside.Bottom; ++y) {
        const TColor32* src = picture.ScanLine(y);
        TColor32* dst = FSelBitmap.ScanLine(y - FSelRegion.Top);
        for (int x = inside.Left; x < inside.Right; ++x)
            dst[x - FSelRegion.Left] = src[x] | 0xFF000000u;
    }
}

void TImgEditor::MoveBandBy(TRubberbandLayer& band, int dx, int dy)
{
    const TFloatBounds& b = band.Bounds();
    band.SetBounds({b.Left + dx, b.Top + dy, b.Right + dx, b.Bottom + dy});
}

} // namespace tavrin
