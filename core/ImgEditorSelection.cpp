// Rectangle selection, the drag outline, the region highlight and the region's pixels.
#include "core/ImgEditor.h"

#include "core/BitmapLayer.h"
#include "core/EditorView.h"
#include "core/LayerCollection.h"
#include "core/RoundEven.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <memory>
#include <utility>

namespace tavrin {

namespace {

// Black not-xor over transparent black leaves opaque white dots; a clear brush leaves the inside
// transparent.
void SetOutlinePen(TCanvas32& canvas)
{
    canvas.Pen = {TPenMode::pmNotXor, TPenStyle::psDot, clBlack, 1};
    canvas.Brush.Style = TBrushStyle::bsClear;
}

TFloatBounds ToBounds(const TRect& r)
{
    return {static_cast<float>(r.Left), static_cast<float>(r.Top), static_cast<float>(r.Right),
            static_cast<float>(r.Bottom)};
}

// The magnet over a band: five passes, at the centre and then at each corner, each pulling all four
// edges onto the cell around its point. Every point is taken from the edges the previous pass left.
void SnapBandToGuides(const TImgEditor& doc, TRect& p)
{
    const auto pass = [&doc, &p](long long px, long long py) {
        const TRect c =
            doc.GuideCellAt(doc.ImageToView(static_cast<float>(px)), doc.ImageToView(static_cast<float>(py)));
        p.Left = TImgEditor::SnapTo(p.Left, c.Left);
        p.Top = TImgEditor::SnapTo(p.Top, c.Top);
        p.Right = TImgEditor::SnapTo(p.Right, c.Right);
        p.Bottom = TImgEditor::SnapTo(p.Bottom, c.Bottom);
    };
    const auto middle = [](long long low, long long high) { return low + (high - low) / 2; };
    pass(middle(p.Left, p.Right), middle(p.Top, p.Bottom));
    pass(p.Left, p.Top);
    pass(p.Left, p.Bottom);
    pass(p.Right, p.Top);
    pass(p.Right, p.Bottom);
}

} // namespace

void TImgEditor::BeginSketch()
{
    if (!FImage) return;
    // An outline lives for one drag. One still here means a release never came; left alone it would
    // stay on top for good and take every press over it.
    if (FSketch) Layers().Destroy(FSketch);
    auto* sketch = Layers().Add<TBitmapLayer>();
    sketch->SetVisible(false);
    sketch->SetInImageSpace(true);
    sketch->AcceptsMouse = true;
    sketch->Tag = lkSketch;
    TBitmap32& bitmap = sketch->Bitmap();
    bitmap.DrawMode = TDrawMode::dmBlend;
    bitmap.MasterAlpha = 100;
    SetOutlinePen(bitmap.Canvas());
    sketch->RaiseToTop();
    FSketch = sketch;
    FSketchDrawn = false;
}

// The outline's rectangle for the pointer at view (x, y). The bitmap takes the size of the drag in
// image pixels at once; the bounds change only while the drag is at least 2 pixels both ways, and
// are pulled onto the cell around the pointer while the magnet is active. The bitmap, sized before
// the snap, is stretched into the snapped bounds. False when the bounds were left as they were.
bool TImgEditor::TrackSketchBounds(int x, int y)
{
    if (!FImage || !FSketch) return false;
    FSketch->SetVisible(true);
    FSketch->RaiseToTop();
    const int x0 = ViewToImage(static_cast<float>(FDownPos.X)), x1 = ViewToImage(static_cast<float>(x));
    const int y0 = ViewToImage(static_cast<float>(FDownPos.Y)), y1 = ViewToImage(static_cast<float>(y));
    const long long w = std::llabs(static_cast<long long>(x1) - x0);
    const long long h = std::llabs(static_cast<long long>(y1) - y0);
    FSketch->Bitmap().SetSize(static_cast<int>(std::min<long long>(w, INT_MAX)),
                              static_cast<int>(std::min<long long>(h, INT_MAX)));
    if (w < 2 || h < 2) return false;
    TRect r{std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)};
    if (IsMagnetActive()) {
        const TRect cell = GuideCellAt(x, y);
        r.Left = SnapTo(r.Left, cell.Left);
        r.Top = SnapTo(r.Top, cell.Top);
        r.Right = SnapTo(r.Right, cell.Right);
        r.Bottom = SnapTo(r.Bottom, cell.Bottom);
    }
    FSketch->SetBounds(ToBounds(r));
    FSketchDrawn = true;
    return true;
}

// A dotted white frame on transparent pixels.
void TImgEditor::TrackSketchRect(int x, int y)
{
    if (TrackSketchBounds(x, y)) {
        TBitmap32& bitmap = FSketch->Bitmap();
        bitmap.Clear(clTransparent32);
        SetOutlinePen(bitmap.Canvas());
        bitmap.Canvas().Rectangle(0, 0, bitmap.Width(), bitmap.Height());
    }
    if (FSketch) FSketch->Changed();
}

// A translucent white rectangle with a fully transparent disc in the corner at the press point: the
// disc is where the circle area will be.
void TImgEditor::TrackSketchCircle(int x, int y)
{
    if (!FSketch) return;
    FSketch->Bitmap().MasterAlpha = 100;
    if (TrackSketchBounds(x, y)) {
        TBitmap32& bitmap = FSketch->Bitmap();
        const int d = std::min(bitmap.Width(), bitmap.Height());
        int ox = 0, oy = 0;
        bitmap.Clear(clWhite32);
        if (x < FDownPos.X) ox = ViewToImage(static_cast<float>(static_cast<long long>(FDownPos.X) - x)) - d;
        if (y < FDownPos.Y) oy = ViewToImage(static_cast<float>(static_cast<long long>(FDownPos.Y) - y)) - d;
        // Copied black, outline and inside alike, is alpha 0: the disc shows nothing.
        TCanvas32& canvas = bitmap.Canvas();
        canvas.Pen = {TPenMode::pmCopy, TPenStyle::psDot, clBlack, 1};
        canvas.Brush = {TBrushStyle::bsSolid, clBlack};
        canvas.Ellipse(ox, oy, ox + d, oy + d);
    }
    if (FSketch) FSketch->Changed();
}

void TImgEditor::FinishSelectionDrag()
{
    FToolMode = TToolMode::tmNone;
    if (!FImage || !FSketch) return;
    // The bitmap follows every move but the bounds only moves of at least 2 x 2 pixels, so a drag
    // that ends thinner than that in one direction still leaves the bounds of an earlier move. Those
    // are the last outline the user saw, so the selection takes them. An outline that was never
    // drawn has only the layer's default bounds, which the user never saw: no selection then.
    const TBitmap32& bitmap = FSketch->Bitmap();
    if (FSketchDrawn && (bitmap.Width() > 2 || bitmap.Height() > 2)) {
        TRubberbandLayer* band = CreateSelectionBand();
        band->SetVisible(true);
        band->SetBounds(FSketch->Bounds());
        FCurrentLayer = band;
    }
    Layers().Destroy(FSketch);
    FSketch = nullptr;
}

TRubberbandLayer* TImgEditor::CreateSelectionBand()
{
    if (!FImage) return nullptr;
    auto* band = Layers().Add<TRubberbandLayer>();
    band->SetVisible(false);
    band->SetInImageSpace(true);
    band->AcceptsMouse = true;
    band->Tag = lkSelection;
    band->MinimumHeight = 2;
    band->MinimumWidth = 2;
    band->FramePattern = {clWhite32, clBlack32};
    const std::weak_ptr<void> alive = FAlive;
    band->OnMouseDown = [this, alive](TCustomLayer& sender, TMouseButton button, TShiftState shift, int x,
                                      int y) {
        if (!alive.expired()) SelectionMouseDown(sender, button, shift, x, y);
    };
    band->OnResizeRequest = [this, alive](TRubberbandLayer& sender, const TFloatBounds& atPress,
                                          TFloatBounds& proposed, TBandDragState state, TShiftState shift) {
        if (!alive.expired()) SelectionResizeRequest(sender, atPress, proposed, state, shift);
    };
    band->OnBandChanged = [this, alive](TRubberbandLayer& sender) {
        if (!alive.expired()) SelectionChanged(sender);
    };
    band->RaiseToTop();
    return band;
}

void TImgEditor::SelectionMouseDown(TCustomLayer&, TMouseButton button, TShiftState, int, int)
{
    FBandButton = button;
}

// Only the left button moves or resizes a band, and not while an outline is being dragged out over
// it with an area tool.
void TImgEditor::SelectionResizeRequest(TRubberbandLayer&, const TFloatBounds& atPress,
                                        TFloatBounds& proposed, TBandDragState, TShiftState)
{
    if (FSketch || FBandButton != TMouseButton::mbLeft) proposed = atPress;
}

void TImgEditor::SelectionChanged(TRubberbandLayer& band)
{
    if (!FImage) return;
    // Keep the band on image pixels that fall on whole view pixels.
    const auto onViewPixel = [this](float c) { return ViewToImage(static_cast<float>(ImageToView(c))); };
    const TFloatBounds& b = band.Bounds();
    TRect p{onViewPixel(b.Left), onViewPixel(b.Top), onViewPixel(b.Right), onViewPixel(b.Bottom)};
    if (IsMagnetActive()) SnapBandToGuides(*this, p);
    SelectBand(band, p);
}

// The band takes `p` and becomes the region: what is saved or copied is what the band shows.
void TImgEditor::SelectBand(TRubberbandLayer& band, const TRect& p)
{
    band.SetBounds(ToBounds(p));
    if (FHighlight) {
        FHighlight->SetBounds(band.Bounds());
        FHighlight->SetVisible(FViewSelected);
    }
    FSelRegion = p;
    ExtractRegion();
}

void TImgEditor::ShowHighlight(bool show)
{
    if (!FHighlight) return;
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
    if (!FHighlight) return;
    FHighlight->SetBounds({static_cast<float>(FSelRegion.Left), static_cast<float>(FSelRegion.Top),
                           static_cast<float>(FSelRegion.Right), static_cast<float>(FSelRegion.Bottom)});
    FHighlight->SetVisible(FViewSelected);
}

void TImgEditor::ExtractRegion()
{
    FSelBitmap.Take(FImage ? &std::as_const(Picture()) : nullptr, FSelRegion);
}

// A nudge moves the band in whole image pixels, unsnapped, and the region and the highlight go with it.
void TImgEditor::MoveBandBy(TRubberbandLayer& band, int dx, int dy)
{
    const TFloatBounds& b = band.Bounds();
    const auto moved = [](float edge, int d) {
        return static_cast<int>(
            std::clamp<long long>(static_cast<long long>(RoundEven(edge)) + d, INT_MIN, INT_MAX));
    };
    SelectBand(band, {moved(b.Left, dx), moved(b.Top, dy), moved(b.Right, dx), moved(b.Bottom, dy)});
}

} // namespace tavrin
