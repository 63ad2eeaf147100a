#include "core/ImgMap.h"
#include "FakeView.h"
#include "core/ImgEditor.h"
#include "core/Polygon32.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <memory>
#include <set>

using namespace tavrin;
using tavrin::test::FakeView;

namespace {

constexpr TColor32 kShapeFill = 0xFF7F7F7F;
constexpr TColor32 kShapeDot = 0xFFFF7FFF;
constexpr TColor32 kPolyFill = 0xC87F7F7F;
constexpr TColor32 kPolyEdge = 0xC8000000;
constexpr TColor32 kCleared = 0x00FFFFFF;

struct AreaFixture : ::testing::Test
{
    std::unique_ptr<FakeView> view = std::make_unique<FakeView>(400, 300);
    TImgEditor doc;

    void SetUp() override { doc.AttachView(*view); }
    TLayerCollection& layers() { return view->Layers(); }
    TCustomLayer* Top() { return layers().Items(layers().Count() - 1); }

    // A rectangle or circle drag from `from` to `to` (view pixels); the new area, or null.
    template <class T> T* Drag(TPoint from, TPoint to)
    {
        const int before = layers().Count();
        doc.FDownPos = from;
        if constexpr (std::is_same_v<T, TMapRectLayer>)
            doc.AddRectArea(to);
        else
            doc.AddCircleArea(to);
        return layers().Count() > before ? dynamic_cast<T*>(Top()) : nullptr;
    }
    TMapPolygonLayer* Polygon(std::initializer_list<TPoint> clicks)
    {
        doc.BeginPolygon();
        doc.FToolMode = TToolMode::tmMapPolygon;
        for (TPoint p : clicks)
            doc.AddPolygonPoint(p.X, p.Y);
        doc.FToolMode = TToolMode::tmNone;
        return doc.FPolygon;
    }
};

// What a layer shows, pixel for pixel, however it stores it.
TBitmap32 CanvasOf(const TBitmapLayer& layer)
{
    TBitmap32 canvas(layer.CanvasWidth(), layer.CanvasHeight());
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x)
            canvas.SetPixel(x, y, layer.CanvasPixel(x, y));
    return canvas;
}

bool SamePixels(const TBitmap32& a, const TBitmap32& b)
{
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
    return true;
}

std::set<TColor32> ColoursOf(const TBitmap32& b)
{
    std::set<TColor32> colours;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            colours.insert(b.Pixel(x, y));
    return colours;
}

} // namespace

TEST_F(AreaFixture, RectangleDrags)
{
    struct Case
    {
        float scale;
        TPoint from, to;
        const char* coords; // null: no area
    };
    const Case cases[] = {
        {1, {5, 5}, {6, 6}, nullptr},                 // 1 image pixel both ways
        {1, {5, 5}, {15, 6}, "5,5,15,6"},             // 10 x 1 is still an area
        {1, {15, 6}, {5, 5}, "5,5,15,6"},             // corners in any order
        {1, {5, 5}, {7, 5}, nullptr},                 // no height: nothing to see or press
        {1, {5, 5}, {5, 40}, nullptr},                // no width
        {2, {10, 10}, {30, 12}, "5,5,15,6"},          // view pixels are converted
        {2, {5, 5}, {7, 7}, "2,2,4,4"},               // 2.5 -> 2, 3.5 -> 4
        {1, {-20, 290}, {30, 310}, "-20,290,30,310"}, // beyond the picture: raw points
    };
    for (const Case& c : cases) {
        view->SetScale(c.scale);
        auto* area = Drag<TMapRectLayer>(c.from, c.to);
        if (!c.coords) {
            EXPECT_EQ(area, nullptr) << c.from.X << "," << c.from.Y;
            continue;
        }
        ASSERT_NE(area, nullptr) << c.coords;
        EXPECT_EQ(area->CoordsText(), c.coords);
        const TFloatBounds& b = area->Bounds();
        EXPECT_EQ(area->Bitmap().Width(), b.Right - b.Left) << c.coords;
        EXPECT_EQ(area->Bitmap().Height(), b.Bottom - b.Top) << c.coords;
    }
}

TEST_F(AreaFixture, RectanglePixelsAreOpaqueFillAndDots)
{
    auto* area = Drag<TMapRectLayer>({10, 20}, {16, 25});
    ASSERT_NE(area, nullptr);
    EXPECT_EQ(area->Tag, lkMapShape);
    EXPECT_EQ(area->FShape, TMapShape::msRect);
    EXPECT_EQ(area->FShapeName, "rect");
    EXPECT_TRUE(area->OpaqueHitOnly);
    EXPECT_TRUE(area->AcceptsMouse);
    EXPECT_TRUE(area->Visible());
    EXPECT_TRUE(area->InImageSpace());
    const TBitmap32& b = area->Bitmap();
    EXPECT_EQ(b.DrawMode, TDrawMode::dmBlend);
    EXPECT_EQ(b.MasterAlpha, 120);
    EXPECT_EQ(b.Pixel(2, 2), kShapeFill); // interior
    EXPECT_EQ(b.Pixel(0, 0), kShapeDot);  // a dot of the border
    EXPECT_EQ(ColoursOf(b), (std::set<TColor32>{kShapeFill, kShapeDot}));

    // A one-pixel-high rectangle is all border, still every pixel opaque.
    auto* thin = Drag<TMapRectLayer>({5, 5}, {15, 6});
    ASSERT_NE(thin, nullptr);
    EXPECT_EQ(ColoursOf(thin->Bitmap()), (std::set<TColor32>{kShapeFill, kShapeDot}));
}

TEST_F(AreaFixture, PlacingTheSameRectangleAgainKeepsItVisible)
{
    auto* area = Drag<TMapRectLayer>({0, 0}, {8, 8});
    ASSERT_NE(area, nullptr);
    area->PlaceRect(20, 20, 28, 28); // same size: the bitmap is kept, not-xor must not erase it
    EXPECT_EQ(area->Bounds(), (TFloatBounds{20, 20, 28, 28}));
    EXPECT_EQ(area->Bitmap().Pixel(3, 3), kShapeFill);
}

TEST_F(AreaFixture, CircleDrags)
{
    struct Case
    {
        TPoint from, to;
        TFloatBounds square;
        const char* coords; // null: no area
    };
    const Case cases[] = {
        {{100, 100}, {60, 130}, {70, 100, 100, 130}, "85,115,15"}, // leftwards: the square ends at the press
        {{100, 100}, {130, 60}, {100, 70, 130, 100}, "115,85,15"}, // upwards
        {{0, 0}, {31, 40}, {0, 0, 31, 31}, "15,15,15"},            // odd side: the radius truncates
        {{10, 10}, {40, 11}, {}, nullptr},                         // smaller side below 2
        {{10, 10}, {11, 11}, {}, nullptr},
    };
    for (const Case& c : cases) {
        auto* area = Drag<TMapCircleLayer>(c.from, c.to);
        if (!c.coords) {
            EXPECT_EQ(area, nullptr) << c.to.X << "," << c.to.Y;
            continue;
        }
        ASSERT_NE(area, nullptr) << c.coords;
        EXPECT_EQ(area->Bounds(), c.square) << c.coords;
        EXPECT_EQ(area->CoordsText(), c.coords);
        EXPECT_EQ(area->FShapeName, "circle");
        EXPECT_EQ(area->Tag, lkMapShape);
    }
}

TEST_F(AreaFixture, CircleCornersAreTransparentAndLetPressesThrough)
{
    auto* below = Drag<TMapRectLayer>({60, 90}, {110, 140});
    auto* circle = Drag<TMapCircleLayer>({100, 100}, {60, 130}); // square (70, 100, 100, 130)
    ASSERT_NE(below, nullptr);
    ASSERT_NE(circle, nullptr);
    const TBitmap32& b = circle->Bitmap();
    EXPECT_EQ(b.MasterAlpha, 120);
    EXPECT_EQ(b.Pixel(0, 0), 0u);
    EXPECT_EQ(b.Pixel(29, 29), 0u);
    EXPECT_EQ(b.Pixel(15, 15), kShapeFill);
    EXPECT_EQ(ColoursOf(b), (std::set<TColor32>{0, kShapeFill, kShapeDot}));

    EXPECT_EQ(layers().LayerAt(70, 100), below); // the circle's transparent corner
    EXPECT_EQ(layers().LayerAt(85, 115), circle);
    EXPECT_EQ(layers().LayerAt(99, 129), below);
    layers().Destroy(below);
    EXPECT_EQ(layers().LayerAt(70, 100), nullptr); // through to the empty picture
}

TEST_F(AreaFixture, EveryAttemptSpendsAnId)
{
    EXPECT_EQ(Drag<TMapRectLayer>({5, 5}, {6, 6}), nullptr); // id 1, nothing made
    EXPECT_EQ(Drag<TMapRectLayer>({5, 5}, {50, 6})->FId, 2);
    EXPECT_EQ(Drag<TMapCircleLayer>({10, 10}, {40, 11}), nullptr); // id 3
    EXPECT_EQ(Drag<TMapCircleLayer>({10, 10}, {40, 40})->FId, 4);
    EXPECT_EQ(Polygon({})->FId, 5);
    doc.FToolMode = TToolMode::tmMapPolygon;
    doc.BeginPolygon(); // the polygon tool is on already: no new polygon, no id
    EXPECT_EQ(doc.FNextId, 5);
    EXPECT_EQ(Drag<TMapRectLayer>({0, 0}, {0, 9}), nullptr); // id 6
    EXPECT_EQ(Drag<TMapRectLayer>({0, 0}, {9, 9})->FId, 7);
}

TEST_F(AreaFixture, PolygonIsStartedEmptyAndGrowsPerClick)
{
    Drag<TMapRectLayer>({300, 200}, {350, 250});
    doc.BeginPolygon();
    TMapPolygonLayer* p = doc.FPolygon;
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(Top(), p);
    EXPECT_EQ(doc.FTagArea, p);
    EXPECT_EQ(p->Tag, lkMapPolygon);
    EXPECT_EQ(p->FShapeName, "polygon");
    EXPECT_EQ(p->Bounds(), (TFloatBounds{0, 0, 400, 300}));
    EXPECT_EQ(p->CanvasWidth(), 400);
    EXPECT_EQ(p->CanvasHeight(), 300);
    EXPECT_EQ(p->CoordsText(), ""); // chosen and left without a click

    doc.FToolMode = TToolMode::tmMapPolygon;
    auto* later = Drag<TMapRectLayer>({100, 100}, {150, 150}); // lands above the polygon
    doc.AddPolygonPoint(10, 10);
    doc.AddPolygonPoint(50, 10);
    doc.AddPolygonPoint(30, 40);
    EXPECT_EQ(p->CoordsText(), "10,10,50,10,30,40");
    EXPECT_EQ(p->FPoints, (std::vector<std::string>{"10", "10", "50", "10", "30", "40"}));
    EXPECT_EQ(Top(), p); // every vertex raises it
    EXPECT_EQ(p->Bitmap().MasterAlpha, 255);
    EXPECT_NE(later, nullptr);
    EXPECT_EQ(layers().LayerAt(30, 20), p);
    EXPECT_EQ(layers().LayerAt(12, 35), nullptr); // outside the triangle, inside its box

    view->SetScale(2);
    doc.AddPolygonPoint(21, 7); // 10.5 -> 10, 3.5 -> 4
    EXPECT_EQ(p->CoordsText(), "10,10,50,10,30,40,10,4");
}

TEST_F(AreaFixture, PolygonPixels)
{
    TMapPolygonLayer* p = Polygon({{10, 10}, {50, 10}, {30, 40}});
    const TBitmap32 b = CanvasOf(*p);
    EXPECT_EQ(b.Pixel(30, 20), kPolyFill);
    EXPECT_EQ(b.Pixel(5, 5), kCleared);
    EXPECT_EQ(b.Pixel(399, 299), kCleared); // the whole bitmap was cleared, not just near the polygon
    // The right end of the top edge is outside the fill: pure outline, blended once.
    EXPECT_EQ(b.Pixel(50, 10), kPolyEdge);
    // The first vertex is filled and outlined, also blended once although two segments meet there.
    EXPECT_EQ(b.Pixel(10, 10), MergePixel(kPolyEdge, kPolyFill));
    EXPECT_EQ(b.Pixel(30, 40), kPolyEdge);

    // A lone vertex is one pixel, and it takes presses.
    TMapPolygonLayer* dot = Polygon({{200, 100}});
    EXPECT_EQ(dot->CanvasPixel(200, 100), kPolyEdge);
    EXPECT_EQ(ColoursOf(CanvasOf(*dot)), (std::set<TColor32>{kCleared, kPolyEdge}));
    EXPECT_EQ(layers().LayerAt(200, 100), dot);
}

// Each vertex redraws only around the polygon; the result must be what a redraw of the whole
// bitmap gives, also when a new vertex takes pixels away (concave, self-crossing, off the picture).
TEST_F(AreaFixture, IncrementalRedrawMatchesAFullRedraw)
{
    const std::vector<TPoint> clicks = {{200, 50},  {350, 250}, {50, 250},  {300, 80}, {100, 80},
                                        {200, 150}, {-60, 320}, {420, -30}, {210, 140}};
    doc.BeginPolygon();
    doc.FToolMode = TToolMode::tmMapPolygon;
    TPolygon32 reference;
    for (TPoint c : clicks) {
        doc.AddPolygonPoint(c.X, c.Y);
        reference.Add(c);
        TBitmap32 expected(400, 300);
        expected.Clear(kCleared);
        reference.DrawFill(expected, kPolyFill);
        reference.DrawEdge(expected, kPolyEdge);
        const TBitmap32 got = CanvasOf(*doc.FPolygon);
        ASSERT_TRUE(std::equal(got.Bits(), got.Bits() + 400 * 300, expected.Bits())) << c.X << "," << c.Y;
    }
}

// A polygon keeps only its own box (clipped to the picture) yet is hit, at every zoom and after a
// move, exactly where the picture-sized canvas it stands for would be.
TEST_F(AreaFixture, BoxedPolygonIsHitWhereAFullCanvasWouldBe)
{
    TMapPolygonLayer* p = Polygon({{60, 50}, {120, 40}, {-20, 140}, {90, 330}}); // partly off the picture
    EXPECT_EQ(p->Bitmap().Width(), 121); // columns 0..120 and rows 40..299: the box within the picture
    EXPECT_EQ(p->Bitmap().Height(), 260);
    auto* full = layers().Add<TBitmapLayer>();
    full->OpaqueHitOnly = true;
    full->SetInImageSpace(true);
    full->Bitmap() = CanvasOf(*p);
    for (float scale : {0.3f, 1.0f, 2.7f})
        for (TPoint move : {TPoint{0, 0}, TPoint{7, -3}}) {
            view->SetScale(scale);
            p->SetBounds({static_cast<float>(move.X), static_cast<float>(move.Y), 400.0f + move.X, 300.0f + move.Y});
            full->SetBounds(p->Bounds());
            const TRect r = p->RoundedViewBounds();
            for (int y = r.Top - 2; y < std::min(r.Bottom, 400) + 2; ++y)
                for (int x = r.Left - 2; x < std::min(r.Right, 400) + 2; ++x)
                    ASSERT_EQ(p->ContainsPoint(x, y), full->ContainsPoint(x, y)) << scale << " at " << x << "," << y;
        }
}

TEST(Polygon32, EvenOddRuleAndHalfOpenEdges)
{
    TBitmap32 b(20, 20);
    TPolygon32 square;
    for (TPoint p : {TPoint{2, 2}, TPoint{8, 2}, TPoint{8, 8}, TPoint{2, 8}})
        square.Add(p);
    square.NewLine(); // a second contour inside the first one makes a hole
    for (TPoint p : {TPoint{4, 4}, TPoint{6, 4}, TPoint{6, 6}, TPoint{4, 6}})
        square.Add(p);
    square.DrawFill(b, 0xFF112233);
    int filled = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            filled += b.Pixel(x, y) != 0;
    EXPECT_EQ(filled, 6 * 6 - 2 * 2); // left and top edges in, right and bottom out
    EXPECT_EQ(b.Pixel(2, 2), 0xFF112233u);
    EXPECT_EQ(b.Pixel(8, 5), 0u);
    EXPECT_EQ(b.Pixel(5, 5), 0u); // the hole
    EXPECT_EQ(square.PixelBounds({0, 0, 20, 20}), (TRect{2, 2, 9, 9}));
    EXPECT_EQ(square.PixelBounds({0, 0, 5, 5}), (TRect{2, 2, 5, 5}));
    EXPECT_EQ(TPolygon32().PixelBounds({0, 0, 20, 20}), (TRect{}));
}

TEST(Polygon32, FarAwayVerticesNeitherOverflowNorHang)
{
    TBitmap32 b(50, 50);
    TPolygon32 p;
    for (TPoint v : {TPoint{INT_MIN, INT_MIN}, TPoint{INT_MAX, INT_MIN}, TPoint{INT_MAX, INT_MAX},
                     TPoint{INT_MIN, INT_MAX}})
        p.Add(v);
    p.DrawFill(b, kPolyFill);
    p.DrawEdge(b, kPolyEdge); // the outline lies far outside: nothing of it lands
    EXPECT_EQ(ColoursOf(b), (std::set<TColor32>{kPolyFill}));

    TBitmap32 c(50, 50);
    TPolygon32 wedge; // a steep edge through the picture from far outside
    for (TPoint v : {TPoint{0, -2000000000}, TPoint{20, 2000000000}, TPoint{-2000000000, 10}})
        wedge.Add(v);
    wedge.DrawEdge(c, kPolyEdge);
    EXPECT_EQ(c.Pixel(10, 25), kPolyEdge);
}

TEST(Polygon32, MergePixel)
{
    EXPECT_EQ(MergePixel(kPolyFill, kCleared), kPolyFill);      // over transparent: the colour itself
    EXPECT_EQ(MergePixel(0x00123456, 0xC8ABCDEF), 0xC8ABCDEFu); // a transparent colour changes nothing
    EXPECT_EQ(MergePixel(0xFF123456, 0xC8ABCDEF), 0xFF123456u); // an opaque one replaces
    EXPECT_EQ(MergePixel(kPolyEdge, kPolyFill), 0xF3161616u);   // 200 over 200
    EXPECT_EQ(MergePixel(0x80FFFFFF, 0xFF000000), 0xFF808080u); // half over opaque black
}

TEST_F(AreaFixture, PolygonCoordsAreLimitedToTheBitmap)
{
    struct Case
    {
        std::vector<std::string> points;
        const char* coords;
    };
    const Case cases[] = {
        {{"-5", "20"}, "0,20"},
        {{"500", "301"}, "400,300"},
        {{"400", "300"}, "400,300"},
        {{"4294967306", "-1"}, "10,0"}, // the low 32 bits of 2^32 + 10
        {{"abc", "12", "0x1F", "7"}, "0,12,0,7"},
        {{"3", "4", "5"}, "3,4"}, // a stray last item has no partner
    };
    TMapPolygonLayer* p = Polygon({});
    for (const Case& c : cases) {
        p->FPoints = c.points;
        EXPECT_EQ(p->CoordsText(), c.coords);
    }
}

TEST_F(AreaFixture, CoordsOfExtremeBoundsSaturate)
{
    auto* rect = Drag<TMapRectLayer>({0, 0}, {10, 10});
    auto* circle = Drag<TMapCircleLayer>({0, 0}, {10, 10});
    const float inf = std::numeric_limits<float>::infinity();
    rect->SetBounds({-3e9f, 2.5f, inf, std::nanf("")});
    EXPECT_EQ(rect->CoordsText(), "-2147483648,2,2147483647,0");
    circle->SetBounds({3e9f, -3e9f, 3e9f, -3e9f});
    EXPECT_EQ(circle->CoordsText(), "2147483647,-2147483648,5");
}

TEST_F(AreaFixture, DraggingFollowsThePointerInImagePixels)
{
    struct Case
    {
        float scale;
        int dx, dy;           // pointer offset from the press, view pixels
        float shiftX, shiftY; // image pixels
    };
    const Case cases[] = {
        {2, 7, 0, 4, 0},   // 3.5 ties to even
        {2, 5, -5, 2, -2}, // 2.5 and -2.5 too
        {1, 3, 4, 3, 4},
        {0.5f, 3, 0, 6, 0},
    };
    for (const Case& c : cases) {
        view->SetScale(c.scale);
        auto* area = Drag<TMapRectLayer>({40, 40}, {80, 80});
        ASSERT_NE(area, nullptr);
        const TFloatBounds start = area->Bounds();
        const TPoint press{50, 50};
        doc.PressUpdate(TMouseButton::mbLeft, press.X, press.Y, area);
        doc.DragArea(area, press.X + 100, press.Y + 100); // an earlier move does not add up
        doc.DragArea(area, press.X + c.dx, press.Y + c.dy);
        EXPECT_EQ(area->Bounds(), (TFloatBounds{start.Left + c.shiftX, start.Top + c.shiftY,
                                                start.Right + c.shiftX, start.Bottom + c.shiftY}))
            << c.scale << " " << c.dx;
        layers().Destroy(area);
    }
}

// Moving an area moves what its coords name: a polygon's vertices follow every drag step and
// arrow key in whole image pixels, and it looks exactly as if it had been clicked at its new place.
TEST_F(AreaFixture, MovesCarryEveryAreasCoords)
{
    auto* circle = Drag<TMapCircleLayer>({100, 100}, {60, 130});
    doc.MoveLayerBy(circle, 1, 0);
    EXPECT_EQ(circle->CoordsText(), "86,115,15");

    view->SetScale(2);
    TMapPolygonLayer* polygon = Polygon({{20, 20}, {100, 20}, {60, 80}}); // image (10,10) (50,10) (30,40)
    doc.PressUpdate(TMouseButton::mbLeft, 60, 40, polygon);
    doc.DragArea(polygon, 260, 240); // an earlier step does not add up
    doc.DragArea(polygon, 161, 80);  // (+101, +40) view pixels: (+50, +20), 50.5 ties to even
    EXPECT_EQ(polygon->CoordsText(), "60,30,100,30,80,60");
    EXPECT_EQ(polygon->Offset(), (TPoint{50, 20}));
    EXPECT_EQ(polygon->Bounds(), (TFloatBounds{0, 0, 400, 300})); // the canvas stays on the picture

    doc.MoveLayerBy(polygon, -1, 2);
    EXPECT_EQ(polygon->CoordsText(), "59,32,99,32,79,62");
    EXPECT_EQ(polygon->FVertices.Contours()[0], (TPolygon32::TContour{{59, 32}, {99, 32}, {79, 62}}));

    // A new drag starts from where the arrow key left it.
    doc.PressUpdate(TMouseButton::mbLeft, 160, 80, polygon);
    doc.DragArea(polygon, 164, 80);
    EXPECT_EQ(polygon->CoordsText(), "61,32,101,32,81,62");

    // The pixels are those of a polygon clicked there, also after a trip partly off the picture,
    // where the coords stop at the edge.
    doc.MoveLayerBy(polygon, 330, 0);
    EXPECT_EQ(polygon->CoordsText(), "391,32,400,32,400,62");
    doc.MoveLayerBy(polygon, -330, 0);
    TMapPolygonLayer* clicked = Polygon({{122, 64}, {202, 64}, {162, 124}});
    EXPECT_EQ(clicked->CoordsText(), polygon->CoordsText());
    EXPECT_TRUE(SamePixels(CanvasOf(*polygon), CanvasOf(*clicked)));
    doc.MoveLayerBy(polygon, 7, 3);
    doc.MoveLayerBy(clicked, 7, 3);
    EXPECT_TRUE(SamePixels(CanvasOf(*polygon), CanvasOf(*clicked)));
}

TEST_F(AreaFixture, OperationsOnNothingDoNothing)
{
    doc.AddPolygonPoint(5, 5); // no polygon started
    doc.DragArea(nullptr, 5, 5);
    auto* sketch = layers().Add<TImageMapLyer>(); // not an area kind
    sketch->Tag = lkSketch;
    doc.DragArea(sketch, 50, 50);
    EXPECT_EQ(sketch->Bounds(), (TFloatBounds{0, 0, 64, 64}));
    EXPECT_EQ(sketch->CoordsText(), "");

    TMapPolygonLayer* p = Polygon({});
    layers().Destroy(p);
    EXPECT_EQ(doc.FPolygon, nullptr);
    EXPECT_EQ(doc.FTagArea, nullptr);
    doc.FToolMode = TToolMode::tmMapPolygon;
    doc.AddPolygonPoint(5, 5);

    TImgEditor detached;
    detached.AddRectArea({10, 10});
    detached.AddCircleArea({10, 10});
    detached.BeginPolygon();
    EXPECT_EQ(detached.FNextId, 0);
}

TEST_F(AreaFixture, AnAreaTooLargeToAllocateLeavesNoLayer)
{
    const int before = layers().Count();
    doc.FDownPos = {-2000000000, -2000000000};
    EXPECT_ANY_THROW(doc.AddRectArea({2000000000, 2000000000}));
    EXPECT_EQ(layers().Count(), before);
    EXPECT_EQ(doc.FNextId, 1);
}

TEST(ImgMapHelpers, IntOfText)
{
    struct Case
    {
        const char* text;
        std::int64_t value;
    };
    const Case cases[] = {
        {"0", 0},
        {"42", 42},
        {"-42", -42},
        {"+42", 42},
        {"007", 7},
        {"9223372036854775807", INT64_MAX},
        {"-9223372036854775808", INT64_MIN},
        {"9223372036854775808", 0}, // out of range
        {"", 0},
        {"-", 0},
        {"+", 0},
        {"+-5", 0},
        {"--5", 0},
        {" 5", 0},
        {"5 ", 0},
        {"$1F", 0}, // coordinates are decimal: no hex forms
        {"0x1F", 0},
        {"1e3", 0},
        {"3.0", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IntOfText(c.text), c.value) << '"' << c.text << '"';
}

TEST(ImgMapHelpers, JoinTexts)
{
    EXPECT_EQ(JoinTexts(",", {}), "");
    EXPECT_EQ(JoinTexts(",", {"a"}), "a");
    EXPECT_EQ(JoinTexts(",", {"1", "2", "3"}), "1,2,3");
    EXPECT_EQ(JoinTexts(", ", {"", ""}), ", ");
}
