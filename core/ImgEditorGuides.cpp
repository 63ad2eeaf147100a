// Guide lines and the magnet.
#include "core/ImgEditor.h"

#include "core/EditorView.h"
#include "core/InfoLayer.h"
#include "core/LayerCollection.h"

namespace tavrin {

namespace {

// A guide is a strip of the guide colour in view pixels. It is filled through the canvas, so its
// pixels carry alpha 0; guides paint opaque, so the line still shows in full colour.
TInfoLayer* CreateGuide(TLayerCollection& layers, int kind, TColor colour, int bitmapWidth, int bitmapHeight,
                        const TFloatBounds& bounds)
{
    auto* guide = layers.Add<TInfoLayer>();
    guide->Cursor = kind == lkGuideX ? TCursor::crHSplit : TCursor::crVSplit;
    TBitmap32& bitmap = guide->Bitmap();
    bitmap.SetSize(bitmapWidth, bitmapHeight);
    TCanvas32& canvas = bitmap.Canvas();
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.Brush.Color = colour;
    canvas.FillRect(0, 0, bitmapWidth, bitmapHeight);
    guide->Tag = kind;
    guide->SetInImageSpace(false);
    guide->SetBounds(bounds);
    guide->SetVisible(true);
    guide->RaiseToTop();
    return guide;
}

} // namespace

TInfoLayer* TImgEditor::AddVerticalGuide(int viewX, int length)
{
    if (!FImage) return nullptr;
    const auto x = static_cast<float>(viewX);
    TInfoLayer* guide =
        CreateGuide(Layers(), lkGuideX, FGuideColor, 2, length, {x, 0, x + 2, static_cast<float>(length)});
    FDragGuide = guide;
    FCurrentLayer = guide;
    return guide;
}

TInfoLayer* TImgEditor::AddHorizontalGuide(int viewY, int length)
{
    if (!FImage) return nullptr;
    const auto y = static_cast<float>(viewY);
    TInfoLayer* guide =
        CreateGuide(Layers(), lkGuideY, FGuideColor, length, 2, {0, y, static_cast<float>(length), y + 2});
    FDragGuide = guide;
    FCurrentLayer = guide;
    return guide;
}

// The guide follows the pointer in whole image pixels and spans the whole view. Both coordinates
// are stored whatever the guide's direction; only the one across it matters.
void TImgEditor::DragGuideStep(int x, int y)
{
    if (!FImage || !FDragGuide || !Layers().Contains(FDragGuide)) return;
    TInfoLayer& guide = *FDragGuide;
    guide.RaiseToTop();
    guide.GuideX = ViewToImage(static_cast<float>(x));
    guide.GuideY = ViewToImage(static_cast<float>(y));
    if (guide.Tag == lkGuideX)
        PlaceGuide(&guide, 2, FImage->ViewHeight(), x, 0);
    else if (guide.Tag == lkGuideY)
        PlaceGuide(&guide, FImage->ViewWidth(), 2, 0, y);
}

// Lays the guide on the view position of the image pixel nearest to (viewX, viewY); its bitmap is
// stretched into the new bounds, not resized.
void TImgEditor::PlaceGuide(TInfoLayer* guide, int width, int height, int viewX, int viewY)
{
    if (!FImage || !guide) return;
    const auto snap = [this](int v) {
        return static_cast<float>(ImageToView(static_cast<float>(ViewToImage(static_cast<float>(v)))));
    };
    const float x = snap(viewX), y = snap(viewY);
    guide->SetBounds({x, y, x + static_cast<float>(width), y + static_cast<float>(height)});
}

// Guides keep their bounds in view pixels, so a new zoom must lay each one again from its image
// position; the view has already taken the size of the scaled picture.
void TImgEditor::RelayoutGuides()
{
    if (!FImage) return;
    const TLayerCollection& layers = Layers();
    for (int i = 0; i < layers.Count(); ++i) {
        auto* guide = dynamic_cast<TInfoLayer*>(layers.Items(i));
        if (!guide) continue;
        if (guide->Tag == lkGuideX)
            PlaceGuide(guide, 2, FImage->ViewHeight(), ImageToView(static_cast<float>(guide->GuideX)), 0);
        else if (guide->Tag == lkGuideY)
            PlaceGuide(guide, FImage->ViewWidth(), 2, 0, ImageToView(static_cast<float>(guide->GuideY)));
    }
}

TRect TImgEditor::GuideCellAt(int viewX, int viewY) const
{
    if (!FImage) return {};
    const int x = ViewToImage(static_cast<float>(viewX));
    const int y = ViewToImage(static_cast<float>(viewY));
    TRect r{0, 0, Picture().Width(), Picture().Height()};
    const TLayerCollection& layers = Layers();
    for (int i = 0; i < layers.Count(); ++i) {
        const auto* guide = dynamic_cast<const TInfoLayer*>(layers.Items(i));
        if (!guide) continue;
        if (guide->Tag == lkGuideX) {
            const int g = guide->GuideX;
            if (g < x && r.Left < g) r.Left = g;
            if (g > x && g < r.Right) r.Right = g;
        } else if (guide->Tag == lkGuideY) {
            const int g = guide->GuideY;
            if (g < y && r.Top < g) r.Top = g;
            if (g > y && g < r.Bottom) r.Bottom = g;
        }
    }
    return r;
}

int TImgEditor::SnapTo(int value, int target)
{
    const long long d = static_cast<long long>(value) - target;
    return d >= -10 && d <= 10 ? target : value;
}

bool TImgEditor::IsMagnetActive() const
{
    return FIsMagnet || (IsCtrlHeld && IsCtrlHeld());
}

void TImgEditor::MoveGuideBy(TInfoLayer& guide, int dx, int dy)
{
    TBitmap32& bitmap = guide.Bitmap();
    if (guide.Tag == lkGuideX) {
        const long long x = static_cast<long long>(guide.GuideX) + dx;
        if (dx == 0 || x < 0 || x > Picture().Width()) return;
        guide.GuideX = static_cast<int>(x);
        bitmap.SetWidth(2);
        const float left = static_cast<float>(ImageToView(static_cast<float>(x)));
        guide.SetBounds({left, 0, left + bitmap.Width(),
                         static_cast<float>(ImageToView(static_cast<float>(bitmap.Height())))});
    } else {
        const long long y = static_cast<long long>(guide.GuideY) + dy;
        if (dy == 0 || y < 0 || y > Picture().Height()) return;
        guide.GuideY = static_cast<int>(y);
        bitmap.SetHeight(2);
        const float top = static_cast<float>(ImageToView(static_cast<float>(y)));
        guide.SetBounds({0, top, static_cast<float>(ImageToView(static_cast<float>(bitmap.Width()))),
                         top + bitmap.Height()});
    }
}

} // namespace tavrin
