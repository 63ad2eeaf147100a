// Guide lines and the magnet.
#include "core/ImgEditor.h"

#include "core/EditorView.h"
#include "core/InfoLayer.h"
#include "core/LayerCollection.h"

namespace tavrin {

TRect TImgEditor::GuideCellAt(int viewX, int viewY) const
{
    if (!FImage)
        return {};
    const int x = ViewToImage(static_cast<float>(viewX));
    const int y = ViewToImage(static_cast<float>(viewY));
    TRect r{0, 0, Picture().Width(), Picture().Height()};
    const TLayerCollection& layers = Layers();
    for (int i = 0; i < layers.Count(); ++i) {
        const auto* guide = dynamic_cast<const TInfoLayer*>(layers.Items(i));
        if (!guide)
            continue;
        if (guide->Tag == lkGuideX) {
            const int g = guide->GuideX;
            if (g < x && r.Left < g)
                r.Left = g;
            if (g > x && g < r.Right)
                r.Right = g;
        } else if (guide->Tag == lkGuideY) {
            const int g = guide->GuideY;
            if (g < y && r.Top < g)
                r.Top = g;
            if (g > y && g < r.Bottom)
                r.Bottom = g;
        }
    }
    return r;
}

int TImgEditor::SnapTo(int value, int target)
{
    const long long d = static_cast<long long>(value) - target;
    return d >= -10 && d <= 10 ? target : value;
}

bool TImgEditor::IsMagnetActive() const { return FIsMagnet || (IsCtrlHeld && IsCtrlHeld()); }

void TImgEditor::MoveGuideBy(TInfoLayer& guide, int dx, int dy)
{
    TBitmap32& bitmap = guide.Bitmap();
    if (guide.Tag == lkGuideX) {
        const long long x = static_cast<long long>(guide.GuideX) + dx;
        if (dx == 0 || x < 0 || x > Picture().Width())
            return;
        guide.GuideX = static_cast<int>(x);
        bitmap.SetWidth(2);
        const float left = static_cast<float>(ImageToView(static_cast<float>(x)));
        guide.SetBounds({left, 0, left + bitmap.Width(),
                         static_cast<float>(ImageToView(static_cast<float>(bitmap.Height())))});
    } else {
        const long long y = static_cast<long long>(guide.GuideY) + dy;
        if (dy == 0 || y < 0 || y > Picture().Height())
            return;
        guide.GuideY = static_cast<int>(y);
        bitmap.SetHeight(2);
        const float top = static_cast<float>(ImageToView(static_cast<float>(y)));
        guide.SetBounds({0, top, static_cast<float>(ImageToView(static_cast<float>(bitmap.Width()))),
                         top + bitmap.Height()});
    }
}

} // namespace tavrin
