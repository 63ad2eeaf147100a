#include "core/ImgMap.h"

#include "core/RoundEven.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdlib>

namespace tavrin {

namespace {

using i64 = std::int64_t;

constexpr TColor32 kPolygonFill = 0xC87F7F7F;
constexpr TColor32 kPolygonEdge = 0xC8000000;
constexpr TColor32 kTransparentWhite = 0x00FFFFFF;

int SaturatedInt(i64 v)
{
    return static_cast<int>(std::clamp<i64>(v, INT_MIN, INT_MAX));
}

// The low 32 bits, read as a signed number.
int Low32(i64 v)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
}

TFloatBounds FloatBounds(i64 left, i64 top, i64 right, i64 bottom)
{
    return {static_cast<float>(left), static_cast<float>(top), static_cast<float>(right),
            static_cast<float>(bottom)};
}

} // namespace

TImageMapLyer::TImageMapLyer(TLayerCollection& owner) : TBitmapLayer(owner)
{
    OpaqueHitOnly = true;
    AcceptsMouse = true;
    Bitmap().DrawMode = TDrawMode::dmBlend;
    SetInImageSpace(true);
}

void TImageMapLyer::PrepareCanvas(int width, int height)
{
    Bitmap().SetSize(width, height);
    SetBounds({0, 0, static_cast<float>(std::max(width, 0)), static_cast<float>(std::max(height, 0))});
    Bitmap().DrawMode = TDrawMode::dmBlend;
    SetInImageSpace(true);
    Changed();
}

void TImageMapLyer::UseShapeStyle()
{
    TBitmap32& b = Bitmap();
    b.DrawMode = TDrawMode::dmBlend;
    b.MasterAlpha = 120;
    TCanvas32& c = b.Canvas();
    c.Pen = {TPenMode::pmNotXor, TPenStyle::psDot, TColor{0x008000}, 1};
    c.Brush = {TBrushStyle::bsSolid, TColor{0x808080}};
}

TMapRectLayer::TMapRectLayer(TLayerCollection& owner) : TImageMapLyer(owner)
{
    Tag = lkMapShape;
    FShape = TMapShape::msRect;
    FShapeName = "rect";
}

void TMapRectLayer::PlaceRect(int left, int top, int right, int bottom)
{
    const i64 width = std::abs(i64{right} - left), height = std::abs(i64{bottom} - top);
    Bitmap().SetSize(SaturatedInt(width), SaturatedInt(height));
    if (width < 2 && height < 2) return;
    SetBounds(FloatBounds(std::min(left, right), std::min(top, bottom), std::max(left, right),
                          std::max(top, bottom)));
    UseShapeStyle();
    // Not-xor toggles what is there: start from transparent black even when the size was kept.
    TBitmap32& b = Bitmap();
    b.Clear(clTransparent32);
    b.Canvas().Rectangle(0, 0, b.Width(), b.Height());
    Changed();
}

std::string TMapRectLayer::CoordsText() const
{
    const TFloatBounds& b = Bounds();
    return std::to_string(RoundEven(b.Left)) + ',' + std::to_string(RoundEven(b.Top)) + ',' +
           std::to_string(RoundEven(b.Right)) + ',' + std::to_string(RoundEven(b.Bottom));
}

TMapCircleLayer::TMapCircleLayer(TLayerCollection& owner) : TImageMapLyer(owner)
{
    Tag = lkMapShape;
    FShape = TMapShape::msCircle;
    FShapeName = "circle";
}

void TMapCircleLayer::PlaceCircle(int left, int top, int right, int bottom)
{
    const i64 d = std::min(std::abs(i64{right} - left), std::abs(i64{bottom} - top));
    const int side = SaturatedInt(d);
    PrepareCanvas(side, side);
    const i64 x0 = left > right ? left - d : left;
    const i64 y0 = top > bottom ? top - d : top;
    SetBounds(FloatBounds(x0, y0, x0 + d, y0 + d));
    UseShapeStyle();
    TBitmap32& b = Bitmap();
    b.Clear(clTransparent32);
    b.Canvas().Ellipse(0, 0, side, side);
    Changed();
}

std::string TMapCircleLayer::CoordsText() const
{
    const TFloatBounds& b = Bounds();
    const int r = Bitmap().Width() / 2;
    return std::to_string(RoundEven(static_cast<long double>(b.Left) + r)) + ',' +
           std::to_string(RoundEven(static_cast<long double>(b.Top) + r)) + ',' + std::to_string(r);
}

TMapPolygonLayer::TMapPolygonLayer(TLayerCollection& owner) : TImageMapLyer(owner)
{
    Tag = lkMapPolygon;
    FShape = TMapShape::msPolygon;
    FShapeName = "polygon";
}

void TMapPolygonLayer::PrepareCanvas(int width, int height)
{
    const bool resized = width != CanvasWidth() || height != CanvasHeight();
    if (resized) {
        Bitmap().SetSize(0, 0);
        SetCanvasWindow(width, height, {}, clTransparent32);
    }
    SetBounds({0, 0, static_cast<float>(std::max(width, 0)), static_cast<float>(std::max(height, 0))});
    Bitmap().DrawMode = TDrawMode::dmBlend;
    SetInImageSpace(true);
    Changed();
}

void TMapPolygonLayer::AddVertex(int x, int y)
{
    FVertices.Add({x, y});
    Redraw();
    RaiseToTop();
}

// The bitmap holds the polygon's box within the canvas, filled and outlined.
void TMapPolygonLayer::Redraw()
{
    const TRect box = FVertices.PixelBounds({0, 0, CanvasWidth(), CanvasHeight()});
    TBitmap32& b = Bitmap();
    b.SetSize(box.Width(), box.Height());
    SetCanvasWindow(CanvasWidth(), CanvasHeight(), {box.Left, box.Top}, kTransparentWhite);
    ClearCanvas();
    const TPoint origin{box.Left, box.Top};
    FVertices.DrawFill(b, kPolygonFill, origin);
    FVertices.DrawEdge(b, kPolygonEdge, origin);
    Changed();
}

void TMapPolygonLayer::MoveBy(int dx, int dy)
{
    if (dx == 0 && dy == 0) return;
    const TRect canvas{0, 0, CanvasWidth(), CanvasHeight()};
    const TRect everywhere{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
    const bool wasWhole = FVertices.PixelBounds(canvas) == FVertices.PixelBounds(everywhere);
    FVertices.Translate(dx, dy);
    for (std::size_t i = 0; i < FPoints.size(); ++i)
        FPoints[i] = std::to_string(SaturatedInt(IntOfText(FPoints[i]) + (i % 2 == 0 ? dx : dy)));
    FOffset = {SaturatedInt(i64{FOffset.X} + dx), SaturatedInt(i64{FOffset.Y} + dy)};
    // Drawing depends only on the vertices relative to each other: a polygon wholly on the canvas
    // before and after keeps its pixels, and only the window over the canvas moves.
    const TRect box = FVertices.PixelBounds(canvas);
    if (wasWhole && box == FVertices.PixelBounds(everywhere) && box.Width() == Bitmap().Width() &&
        box.Height() == Bitmap().Height()) {
        SetCanvasWindow(CanvasWidth(), CanvasHeight(), {box.Left, box.Top}, kTransparentWhite);
        Changed();
        return;
    }
    Redraw();
}

void TMapPolygonLayer::AddPointText(int x, int y)
{
    FPoints.push_back(std::to_string(x));
    FPoints.push_back(std::to_string(y));
}

void TMapPolygonLayer::ClearCanvas()
{
    SetCanvasWindow(CanvasWidth(), CanvasHeight(), CanvasOrigin(), kTransparentWhite);
    Bitmap().Clear(kTransparentWhite);
    Changed();
}

std::string TMapPolygonLayer::CoordsText() const
{
    const int width = CanvasWidth(), height = CanvasHeight();
    std::vector<std::string> list;
    for (std::size_t i = 0; i + 1 < FPoints.size(); i += 2) {
        list.push_back(std::to_string(std::clamp(Low32(IntOfText(FPoints[i])), 0, width)));
        list.push_back(std::to_string(std::clamp(Low32(IntOfText(FPoints[i + 1])), 0, height)));
    }
    return JoinTexts(",", list);
}

std::int64_t IntOfText(std::string_view text)
{
    std::string_view digits = text;
    if (!digits.empty() && digits.front() == '+') {
        digits.remove_prefix(1);
        if (!digits.empty() && digits.front() == '-') return 0; // "+-5" is no number
    }
    std::int64_t value = 0;
    const char* end = digits.data() + digits.size();
    const auto [stop, error] = std::from_chars(digits.data(), end, value);
    if (error != std::errc() || stop != end) return 0;
    return value;
}

std::string JoinTexts(std::string_view separator, const std::vector<std::string>& list)
{
    std::string text;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (i > 0) text += separator;
        text += list[i];
    }
    return text;
}

} // namespace tavrin
