// Guide lines: creation from the rulers, dragging, placing on image pixels, zoom re-layout, the
// keyboard nudge of horizontal guides, the cell search and the snap rule.
#include "FakeView.h"
#include "GeometryPrinters.h"
#include "core/ImgEditor.h"
#include "core/InfoLayer.h"
#include "core/LayerRenderer.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

using namespace tavrin;
using tavrin::test::FakeView;

namespace {

struct GuideFixture : ::testing::Test
{
    FakeView view{400, 300};
    TImgEditor doc;

    void SetUp() override { doc.AttachView(view); }

    // A guide dragged out of a ruler and released at view (x, y).
    TInfoLayer* Dragged(int kind, int x, int y)
    {
        TInfoLayer* g = kind == lkGuideX ? doc.AddVerticalGuide(2, 300) : doc.AddHorizontalGuide(2, 400);
        doc.DragGuideStep(x, y);
        doc.FDragGuide = nullptr;
        return g;
    }
};

} // namespace

TEST_F(GuideFixture, RulerPressCreatesTheGuideBeingDragged)
{
    doc.FGuideColor = MakeColor(0x12, 0x34, 0x56);
    view.Layers().Add<TBitmapLayer>(); // something above the highlight
    TInfoLayer* v = doc.AddVerticalGuide(396, 300);
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->Tag, lkGuideX);
    EXPECT_EQ(v->Cursor, TCursor::crHSplit);
    EXPECT_EQ(v->Index(), view.Layers().Count() - 1);
    EXPECT_EQ(v->Bounds(), (TFloatBounds{396, 0, 398, 300}));
    EXPECT_FALSE(v->InImageSpace());
    EXPECT_TRUE(v->Visible());
    EXPECT_TRUE(v->AcceptsMouse);
    EXPECT_FALSE(v->OpaqueHitOnly);
    EXPECT_EQ(v->Bitmap().Width(), 2);
    EXPECT_EQ(v->Bitmap().Height(), 300);
    EXPECT_EQ(v->Bitmap().DrawMode, TDrawMode::dmOpaque);
    EXPECT_EQ(v->Bitmap().Pixel(1, 299), 0x00123456u); // canvas colour: alpha 0
    EXPECT_EQ(doc.FDragGuide, v);
    EXPECT_EQ(doc.FCurrentLayer, v);

    TInfoLayer* h = doc.AddHorizontalGuide(2, 400);
    EXPECT_EQ(h->Tag, lkGuideY);
    EXPECT_EQ(h->Cursor, TCursor::crVSplit);
    EXPECT_EQ(h->Bounds(), (TFloatBounds{0, 2, 400, 4}));
    EXPECT_EQ(h->Bitmap().Width(), 400);
    EXPECT_EQ(h->Bitmap().Height(), 2);
    EXPECT_EQ(h->GuideX, 0);
    EXPECT_EQ(h->GuideY, 0); // set by the first drag step only
    EXPECT_EQ(doc.FDragGuide, h);
}

// Released without moving, a guide is drawn at view 2 but stands for image 0: it bounds no cell.
TEST_F(GuideFixture, UnmovedGuideBoundsNothing)
{
    doc.AddVerticalGuide(2, 300);
    doc.AddHorizontalGuide(2, 400);
    EXPECT_EQ(doc.GuideCellAt(1, 1), (TRect{0, 0, 400, 300}));
    EXPECT_EQ(doc.GuideCellAt(0, 0), (TRect{0, 0, 400, 300}));
}

TEST_F(GuideFixture, DragStepPlacesOnWholeImagePixels)
{
    struct Case
    {
        float scale;
        int kind, x, y;
        int guideX, guideY;
        TFloatBounds bounds;
    };
    const Case cases[] = {
        {1.0f, lkGuideY, 30, 57, 30, 57, {0, 57, 400, 59}},
        {2.0f, lkGuideX, 7, 3, 4, 2, {8, 0, 10, 600}},   // 3.5 ties to even: 4, drawn at 8
        {2.0f, lkGuideX, 5, 0, 2, 0, {4, 0, 6, 600}},    // 2.5 ties to even: 2
        {2.0f, lkGuideY, 9, 13, 4, 6, {0, 12, 800, 14}}, // 4.5 -> 4, 6.5 -> 6
        {0.5f, lkGuideX, 11, 0, 22, 0, {11, 0, 13, 150}},
        {1.5f, lkGuideX, 4, 0, 3, 0, {4, 0, 6, 450}},     // image 3 shows at 4.5 -> 4
        {1.0f, lkGuideX, -5, 0, -5, 0, {-5, 0, -3, 300}}, // left of the picture: kept as it is
    };
    for (const Case& c : cases) {
        FakeView v(400, 300, c.scale);
        TImgEditor d;
        d.AttachView(v);
        TInfoLayer* g = c.kind == lkGuideX ? d.AddVerticalGuide(2, 300) : d.AddHorizontalGuide(2, 400);
        v.Layers().Add<TBitmapLayer>(); // the drag raises the guide above it
        d.DragGuideStep(c.x, c.y);
        EXPECT_EQ(g->GuideX, c.guideX) << c.scale << " " << c.x;
        EXPECT_EQ(g->GuideY, c.guideY) << c.scale << " " << c.y;
        EXPECT_EQ(g->Bounds(), c.bounds) << c.scale << " " << c.x << " " << c.y;
        EXPECT_EQ(g->Index(), v.Layers().Count() - 1);
    }
}

// At 200 % the guide at image 4 covers view columns 8 and 9 in its own colour, fully opaque.
TEST(GuideDrawing, DraggedGuideIsDrawnOpaqueOnItsPixel)
{
    FakeView view(20, 10, 2.0f);
    view.Bitmap().Clear(0xFF00FF00);
    TImgEditor doc;
    doc.AttachView(view);
    doc.FGuideColor = clRed;
    doc.AddVerticalGuide(2, 10);
    doc.DragGuideStep(7, 5);
    TBitmap32 out;
    RenderView(view.Bitmap(), view.Layers(), {0, 0, 40, 20}, out);
    EXPECT_EQ(out.Pixel(7, 19) & 0xFFFFFFu, 0x00FF00u);
    EXPECT_EQ(out.Pixel(8, 19) & 0xFFFFFFu, 0xFF0000u);
    EXPECT_EQ(out.Pixel(9, 0) & 0xFFFFFFu, 0xFF0000u);
    EXPECT_EQ(out.Pixel(10, 5) & 0xFFFFFFu, 0x00FF00u);
}

// A guide pressed on the picture is dragged like a new one.
TEST_F(GuideFixture, PressedGuideIsDraggedAgain)
{
    TInfoLayer* g = Dragged(lkGuideX, 100, 40);
    view.Layers().Add<TBitmapLayer>(); // a layer elsewhere, above it
    TCustomLayer* hit = view.Layers().MouseDown(TMouseButton::mbLeft, 0, 101, 150);
    ASSERT_EQ(hit, g);
    doc.PressUpdate(TMouseButton::mbLeft, 101, 150, hit);
    doc.DragGuideStep(180, 150);
    EXPECT_EQ(g->GuideX, 180);
    EXPECT_EQ(g->Bounds(), (TFloatBounds{180, 0, 182, 300}));
    EXPECT_EQ(g->Index(), view.Layers().Count() - 1);
    doc.FDragGuide = nullptr;
    doc.DragGuideStep(250, 150); // no guide being dragged: nothing moves
    EXPECT_EQ(g->GuideX, 180);
}

TEST_F(GuideFixture, ZoomRelayoutFollowsTheImagePosition)
{
    TInfoLayer* v = Dragged(lkGuideX, 37, 0);
    TInfoLayer* h = Dragged(lkGuideY, 0, 21);
    auto* other = view.Layers().Add<TBitmapLayer>();
    other->SetBounds({1, 2, 3, 4});
    struct Step
    {
        float scale;
        TFloatBounds vertical, horizontal;
    };
    const Step steps[] = {
        {2.0f, {74, 0, 76, 600}, {0, 42, 800, 44}},
        {0.5f, {18, 0, 20, 150}, {0, 10, 200, 12}}, // 18.5 -> 18, 10.5 -> 10
        {1.0f, {37, 0, 39, 300}, {0, 21, 400, 23}},
    };
    for (const Step& s : steps) {
        view.SetScale(s.scale);
        doc.RelayoutGuides();
        EXPECT_EQ(v->Bounds(), s.vertical) << s.scale;
        EXPECT_EQ(h->Bounds(), s.horizontal) << s.scale;
        EXPECT_EQ(v->GuideX, 37);
        EXPECT_EQ(h->GuideY, 21);
    }
    EXPECT_EQ(other->Bounds(), (TFloatBounds{1, 2, 3, 4}));
    EXPECT_EQ(v->Bitmap().Height(), 300); // stretched, never resized
}

TEST(GuideKeys, HorizontalGuideNudgedAtDoubleZoom)
{
    FakeView view(400, 300, 2.0f);
    TImgEditor doc;
    doc.AttachView(view);
    TInfoLayer* g = doc.AddHorizontalGuide(2, 400);
    doc.DragGuideStep(10, 598);
    ASSERT_EQ(g->GuideY, 299);
    doc.MoveLayerBy(g, 0, 1);
    EXPECT_EQ(g->GuideY, 300);
    EXPECT_EQ(g->Bounds(), (TFloatBounds{0, 600, 800, 602}));
    doc.MoveLayerBy(g, 0, 1); // below the picture: refused
    doc.MoveLayerBy(g, 1, 0); // a horizontal guide ignores DX
    EXPECT_EQ(g->GuideY, 300);
    EXPECT_EQ(g->Bounds(), (TFloatBounds{0, 600, 800, 602}));
}

TEST_F(GuideFixture, CellSearchTakesTheNearestGuidesAround)
{
    // Made out of order: the result must not depend on the stack.
    Dragged(lkGuideX, 300, 0);
    Dragged(lkGuideY, 0, 200);
    Dragged(lkGuideX, 100, 0);
    Dragged(lkGuideY, 0, 100);
    Dragged(lkGuideX, 200, 0);
    auto* band = view.Layers().Add<TRubberbandLayer>(); // selections bound nothing
    band->Tag = lkSelection;
    struct Case
    {
        int x, y;
        TRect cell;
    };
    const Case cases[] = {
        {150, 150, {100, 100, 200, 200}}, {250, 50, {200, 0, 300, 100}},
        {350, 250, {300, 200, 400, 300}}, {50, 150, {0, 100, 100, 200}},
        {100, 150, {0, 100, 200, 200}}, // on a guide: bounds neither side
        {200, 200, {100, 100, 300, 300}}, {0, 0, {0, 0, 100, 100}},
        {-20, 350, {0, 200, 100, 300}}, // off the picture: the edges still bound
        {450, -1, {300, 0, 400, 100}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(doc.GuideCellAt(c.x, c.y), c.cell) << c.x << "," << c.y;

    view.SetScale(2.0f); // view positions are converted: view 501 is image 250
    EXPECT_EQ(doc.GuideCellAt(501, 299), (TRect{200, 100, 300, 200}));
    EXPECT_EQ(doc.GuideCellAt(401, 299), (TRect{100, 100, 300, 200})); // 200.5 -> 200, on the guide
}

TEST(GuideCell, NoGuidesGiveTheWholePicture)
{
    FakeView view(400, 300);
    TImgEditor doc;
    doc.AttachView(view);
    EXPECT_EQ(doc.GuideCellAt(123, 45), (TRect{0, 0, 400, 300}));
}

TEST(GuideSnap, WithinTenPixelsInclusive)
{
    struct Case
    {
        int value, target, result;
    };
    const Case cases[] = {
        {110, 100, 100},
        {90, 100, 100},
        {111, 100, 111},
        {89, 100, 89},
        {100, 100, 100},
        {-5, 0, 0},
        {INT_MAX, INT_MIN, INT_MAX}, // no overflow
        {INT_MIN, INT_MAX, INT_MIN},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TImgEditor::SnapTo(c.value, c.target), c.result) << c.value << " " << c.target;
}

TEST(GuideDetached, GuideOperationsWithoutViewDoNothing)
{
    TImgEditor doc;
    EXPECT_EQ(doc.AddVerticalGuide(2, 10), nullptr);
    EXPECT_EQ(doc.AddHorizontalGuide(2, 10), nullptr);
    doc.DragGuideStep(5, 5);
    doc.PlaceGuide(nullptr, 2, 2, 0, 0);
    doc.RelayoutGuides();
    EXPECT_EQ(doc.FDragGuide, nullptr);
}
