#include "core/RubberbandLayer.h"

#include "core/Bitmap32.h"
#include "core/LayerCollection.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace tavrin {

using enum TBandDragState;

TBandDragState TRubberbandLayer::DragStateAt(int x, int y) const
{
    const TRect r = RoundedViewBounds();
    const long long right = static_cast<long long>(r.Right) - 1, bottom = static_cast<long long>(r.Bottom) - 1;
    const long long t = GripSize + 1;
    const auto near = [t](long long a, long long c) { return std::llabs(a - c) <= t; };
    const long long cx = (r.Left + right) / 2, cy = (r.Top + bottom) / 2;
    if (near(x, right) && near(y, bottom))
        return bdSizeBottomRight;
    if (near(x, r.Left) && near(y, bottom))
        return bdSizeBottomLeft;
    if (near(x, right) && near(y, r.Top))
        return bdSizeTopRight;
    if (near(x, r.Left) && near(y, r.Top))
        return bdSizeTopLeft;
    if (near(x, right) && near(y, cy))
        return bdSizeRight;
    if (near(x, cx) && near(y, bottom))
        return bdSizeBottom;
    if (near(x, r.Left) && near(y, cy))
        return bdSizeLeft;
    if (near(y, r.Top) && near(x, cx))
        return bdSizeTop;
    if (r.Left <= x && x < right && r.Top <= y && y < bottom)
        return bdMove;
    return bdNone;
}

bool TRubberbandLayer::ContainsPoint(int x, int y) const { return DragStateAt(x, y) != bdNone; }

void TRubberbandLayer::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (!FDragging) {
        FDragState = DragStateAt(x, y);
        FDragging = FDragState != bdNone;
        if (FDragging) {
            FBoundsAtPress = Bounds();
            const TFloatBounds v = ViewBounds();
            FGrabX = FDragState == bdMove ? x - v.Left : 0;
            FGrabY = FDragState == bdMove ? y - v.Top : 0;
        }
    }
    TPositionedLayer::MouseDown(button, shift, x, y);
}

TCursor TRubberbandLayer::ShapeFor(TBandDragState state) const
{
    switch (state) {
    case bdNone: return TCursor::crDefault;
    case bdMove: return Cursor;
    case bdSizeLeft:
    case bdSizeRight: return TCursor::crSizeWE;
    case bdSizeTop:
    case bdSizeBottom: return TCursor::crSizeNS;
    case bdSizeTopLeft:
    case bdSizeBottomRight: return TCursor::crSizeNWSE;
    case bdSizeTopRight:
    case bdSizeBottomLeft: return TCursor::crSizeNESW;
    }
    return TCursor::crDefault;
}

void TRubberbandLayer::MouseMove(TShiftState shift, int x, int y)
{
    if (!FDragging) {
        FDragState = DragStateAt(x, y);
        Collection().SetPointerShape(ShapeFor(FDragState));
        return;
    }
    DragTo(shift, x, y);
}

namespace {

// Moves one edge to `pos` and keeps the extent within the limits by moving that same edge back.
void MoveLowEdge(float& low, float high, float pos, float minimum, float maximum)
{
    low = pos;
    if (high - low < minimum)
        low = high - minimum;
    if (maximum >= minimum && high - low > maximum)
        low = high - maximum;
}

void MoveHighEdge(float low, float& high, float pos, float minimum, float maximum)
{
    high = pos;
    if (high - low < minimum)
        high = low + minimum;
    if (maximum >= minimum && high - low > maximum)
        high = low + maximum;
}

bool MovesLeft(TBandDragState s) { return s == bdSizeLeft || s == bdSizeTopLeft || s == bdSizeBottomLeft; }
bool MovesRight(TBandDragState s) { return s == bdSizeRight || s == bdSizeTopRight || s == bdSizeBottomRight; }
bool MovesTop(TBandDragState s) { return s == bdSizeTop || s == bdSizeTopLeft || s == bdSizeTopRight; }
bool MovesBottom(TBandDragState s) { return s == bdSizeBottom || s == bdSizeBottomLeft || s == bdSizeBottomRight; }

} // namespace

void TRubberbandLayer::DragTo(TShiftState shift, int x, int y)
{
    float mx = x - FGrabX, my = y - FGrabY;
    if (InImageSpace()) {
        const TFloatBounds v = ViewBounds();
        const float vw = v.Right - v.Left, vh = v.Bottom - v.Top;
        if (!(vw > 0) || !(vh > 0))
            return;
        const TFloatBounds& b = Bounds();
        mx = b.Left + (mx - v.Left) / vw * (b.Right - b.Left);
        my = b.Top + (my - v.Top) / vh * (b.Bottom - b.Top);
    }
    TFloatBounds p = FBoundsAtPress;
    if (FDragState == bdMove) {
        const float w = p.Right - p.Left, h = p.Bottom - p.Top;
        p = {mx, my, mx + w, my + h};
    }
    if (MovesLeft(FDragState))
        MoveLowEdge(p.Left, p.Right, mx, MinimumWidth, MaximumWidth);
    if (MovesRight(FDragState))
        MoveHighEdge(p.Left, p.Right, mx, MinimumWidth, MaximumWidth);
    if (MovesTop(FDragState))
        MoveLowEdge(p.Top, p.Bottom, my, MinimumHeight, MaximumHeight);
    if (MovesBottom(FDragState))
        MoveHighEdge(p.Top, p.Bottom, my, MinimumHeight, MaximumHeight);
    ResizeRequest(FBoundsAtPress, p, shift);
    if (p == Bounds())
        return;
    SetBounds(p);
    if (OnBandChanged)
        OnBandChanged(*this);
}

void TRubberbandLayer::ResizeRequest(const TFloatBounds& atPress, TFloatBounds& proposed, TShiftState shift)
{
    if (OnResizeRequest)
        OnResizeRequest(*this, atPress, proposed, FDragState, shift);
}

void TRubberbandLayer::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    FDragging = false;
    TPositionedLayer::MouseUp(button, shift, x, y);
}

TRect TRubberbandLayer::PaintRect() const
{
    const TRect r = RoundedViewBounds();
    const int g = GripSize + 1;
    return {r.Left - g, r.Top - g, r.Right + g, r.Bottom + g};
}

void TRubberbandLayer::Paint(TPixelRows target, const TRect& exposed) const
{
    const TRect r = RoundedViewBounds();
    PaintFrame(target, r, exposed);
    const int mx = (r.Left + r.Right) / 2, my = (r.Top + r.Bottom) / 2;
    const TPoint grips[] = {{r.Left, r.Top}, {r.Right, r.Top}, {r.Left, r.Bottom}, {r.Right, r.Bottom},
                            {mx, r.Top},     {r.Left, my},     {r.Right, my},     {mx, r.Bottom}};
    for (const TPoint& g : grips)
        PaintGrip(target, g.X, g.Y, exposed);
}

bool TRubberbandLayer::PaintsOpaque() const
{
    const auto opaque = [](TColor32 c) { return AlphaOf(c) == 0xFF; };
    return opaque(GripFrame) && opaque(GripFill) && std::all_of(FramePattern.begin(), FramePattern.end(), opaque);
}

void TRubberbandLayer::PaintFrame(const TPixelRows& target, const TRect& r, const TRect& exposed) const
{
    if (r.IsEmpty() || FramePattern.empty())
        return;
    const long long w = r.Width(), h = r.Height();
    const auto n = static_cast<long long>(FramePattern.size());
    // Position of a frame pixel along the clockwise trace from the top-left corner.
    const auto put = [&](int x, int y, long long k) {
        if (!exposed.Contains(x, y))
            return;
        const auto step = static_cast<long long>(std::floor(static_cast<double>(k) * FramePatternStep));
        target.ScanLine(y - exposed.Top)[x - exposed.Left] = FramePattern[static_cast<std::size_t>(((step % n) + n) % n)];
    };
    const TRect top = Intersect(r, {exposed.Left, r.Top, exposed.Right, r.Top + 1});
    for (int x = top.Left; x < top.Right; ++x)
        put(x, r.Top, x - r.Left);
    if (h < 2)
        return;
    const int right = r.Right - 1, bottom = r.Bottom - 1;
    const TRect side = Intersect({right, r.Top + 1, right + 1, r.Bottom}, exposed);
    for (int y = side.Top; y < side.Bottom; ++y)
        put(right, y, (w - 1) + (y - r.Top));
    const TRect bot = Intersect({r.Left, bottom, right, bottom + 1}, exposed);
    for (int x = bot.Left; x < bot.Right; ++x)
        put(x, bottom, (w - 1) + (h - 1) + (right - x));
    if (w < 2)
        return;
    const TRect left = Intersect({r.Left, r.Top + 1, r.Left + 1, bottom}, exposed);
    for (int y = left.Top; y < left.Bottom; ++y)
        put(r.Left, y, 2 * (w - 1) + (h - 1) + (bottom - y));
}

void TRubberbandLayer::PaintGrip(const TPixelRows& target, int x, int y, const TRect& exposed) const
{
    const int g = GripSize;
    const TRect sq{x - g, y - g, x + g, y + g};
    const TRect clip = Intersect(sq, exposed);
    for (int py = clip.Top; py < clip.Bottom; ++py)
        for (int px = clip.Left; px < clip.Right; ++px) {
            const bool edge = px == sq.Left || px == sq.Right - 1 || py == sq.Top || py == sq.Bottom - 1;
            target.ScanLine(py - exposed.Top)[px - exposed.Left] = edge ? GripFrame : GripFill;
        }
}

} // namespace tavrin
