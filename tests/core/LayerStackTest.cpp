#include "core/BitmapLayer.h"
#include "core/LayerCollection.h"
#include "core/RubberbandLayer.h"

#include <gtest/gtest.h>

#include <vector>

using namespace tavrin;

namespace {

TBitmapLayer* AddBox(TLayerCollection& layers, TFloatBounds b)
{
    auto* layer = layers.Add<TBitmapLayer>();
    layer->SetBounds(b);
    return layer;
}

} // namespace

TEST(LayerCollection, HitTestPrefersTopmostAndIgnoresVisibility)
{
    TLayerCollection layers;
    auto* lower = AddBox(layers, {0, 0, 50, 50});
    auto* upper = AddBox(layers, {20, 20, 70, 70});
    EXPECT_EQ(layers.LayerAt(30, 30), upper);
    EXPECT_EQ(layers.LayerAt(10, 10), lower);
    EXPECT_EQ(layers.LayerAt(70, 70), nullptr); // right and bottom are exclusive
    upper->SetVisible(false);
    EXPECT_EQ(layers.LayerAt(30, 30), upper);
    upper->AcceptsMouse = false;
    EXPECT_EQ(layers.LayerAt(30, 30), lower);
    lower->RaiseToTop();
    upper->AcceptsMouse = true;
    EXPECT_EQ(layers.LayerAt(30, 30), lower);
    EXPECT_EQ(lower->Index(), 1);
    lower->RaiseToTop(); // already on top
    EXPECT_EQ(lower->Index(), 1);
    EXPECT_EQ(upper->Index(), 0);
}

TEST(LayerCollection, OpaqueHitOnlyLooksAtAlpha)
{
    TLayerCollection layers;
    auto* layer = AddBox(layers, {0, 0, 20, 20});
    layer->OpaqueHitOnly = true;
    layer->Bitmap().SetSize(2, 2); // each bitmap pixel covers 10 x 10 view pixels
    layer->Bitmap().SetPixel(0, 0, 0x01000000);
    EXPECT_TRUE(layer->ContainsPoint(2, 2));
    EXPECT_FALSE(layer->ContainsPoint(2, 17)); // bitmap (0, 2): outside the bitmap reads transparent
    EXPECT_FALSE(layer->ContainsPoint(17, 2)); // bitmap (2, 0)
    EXPECT_TRUE(layer->ContainsPoint(4, 4));   // 0.4 rounds to 0
    EXPECT_FALSE(layer->ContainsPoint(6, 4));  // 0.6 rounds to 1: transparent
    layer->SetBounds({0, 0, 0.4f, 20});        // rounded width below 1: never hit
    EXPECT_FALSE(layer->ContainsPoint(0, 2));
}

TEST(LayerCollection, CaptureHoldsUntilLastButtonGoes)
{
    TLayerCollection layers;
    auto* a = AddBox(layers, {0, 0, 10, 10});
    auto* b = AddBox(layers, {50, 50, 60, 60});
    EXPECT_EQ(layers.MouseDown(TMouseButton::mbLeft, 0, 5, 5), a);
    EXPECT_EQ(layers.CapturedLayer(), a);
    EXPECT_EQ(layers.MouseMove(0, 55, 55), a); // the drag reports its layer wherever the pointer is
    EXPECT_EQ(layers.MouseDown(TMouseButton::mbRight, 0, 55, 55), a);
    EXPECT_EQ(layers.MouseUp(TMouseButton::mbRight, 0, 55, 55), a);
    EXPECT_EQ(layers.CapturedLayer(), a); // left still held
    EXPECT_EQ(layers.MouseUp(TMouseButton::mbLeft, 0, 55, 55), a);
    EXPECT_EQ(layers.CapturedLayer(), nullptr);
    EXPECT_EQ(layers.MouseMove(0, 55, 55), b);
    EXPECT_EQ(layers.MouseDown(TMouseButton::mbLeft, 0, 100, 100), nullptr);
    EXPECT_EQ(layers.CapturedLayer(), nullptr);
}

TEST(LayerCollection, DestroyEndsCaptureAndTellsObserversTopmostFirst)
{
    std::vector<int> order;
    {
        TLayerCollection layers;
        for (int tag : {1, 2, 3})
            AddBox(layers, {0, 0, 10, 10})->Tag = tag;
        layers.AddDestroyObserver([&](TCustomLayer& l) { order.push_back(l.Tag); });
        layers.MouseDown(TMouseButton::mbLeft, 0, 5, 5);
        layers.Destroy(layers.Items(2));
        EXPECT_EQ(layers.CapturedLayer(), nullptr);
        layers.Destroy(nullptr);
        TLayerCollection other;
        layers.Destroy(AddBox(other, {0, 0, 1, 1})); // not ours: ignored
        EXPECT_EQ(layers.Count(), 2);
    }
    EXPECT_EQ(order, (std::vector<int>{3, 2, 1}));
}

TEST(LayerCollection, PointerShapeFollowsLayerUnderPointer)
{
    TLayerCollection layers;
    auto* a = AddBox(layers, {0, 0, 10, 10});
    a->Cursor = TCursor::crHSplit;
    layers.MouseMove(0, 5, 5);
    EXPECT_EQ(layers.PointerShape(), TCursor::crHSplit);
    layers.MouseMove(0, 50, 50);
    EXPECT_EQ(layers.PointerShape(), TCursor::crDefault);
}

TEST(LayerCollection, ImageSpaceBoundsFollowTheViewGeometry)
{
    TLayerCollection layers;
    auto* layer = AddBox(layers, {10, 20, 30, 40});
    layer->SetInImageSpace(true);
    layers.SetGeometry(TViewGeometry::Make(100, 100, 2.0f));
    EXPECT_EQ(layer->ViewBounds(), (TFloatBounds{20, 40, 60, 80}));
    // 3 x 1.5 = 4.5 rounds to 4: the factor is 4/3 in 16.16, so x 30 maps to 40 exactly.
    layers.SetGeometry(TViewGeometry::Make(3, 3, 1.5f));
    EXPECT_NEAR(layer->ViewBounds().Right, 40.0f, 0.01f);
}

struct DragStateCase
{
    int x, y;
    TBandDragState expected;
};

TEST(RubberbandLayer, DragStateAtGripZones)
{
    TLayerCollection layers;
    auto* band = layers.Add<TRubberbandLayer>();
    band->SetBounds({100, 100, 200, 150});
    using enum TBandDragState;
    const DragStateCase cases[] = {
        {196, 146, bdSizeBottomRight}, {150, 103, bdSizeTop},       {120, 120, bdMove},
        {120, 103, bdMove},            {80, 120, bdNone},           {100, 100, bdSizeTopLeft},
        {96, 149, bdSizeBottomLeft},   {203, 96, bdSizeTopRight},   {203, 124, bdSizeRight},
        {149, 153, bdSizeBottom},      {96, 128, bdSizeLeft},       {150, 95, bdNone},
        {199, 110, bdNone}, // last column inside grabs only in a grip zone
        {120, 149, bdNone},
    };
    for (const auto& c : cases)
        EXPECT_EQ(band->DragStateAt(c.x, c.y), c.expected) << c.x << "," << c.y;
}

namespace {

struct BandFixture : ::testing::Test
{
    TLayerCollection layers;
    TRubberbandLayer* band = layers.Add<TRubberbandLayer>();
    int changes = 0;
    void SetUp() override
    {
        band->SetBounds({100, 100, 200, 150});
        band->OnBandChanged = [this](TRubberbandLayer&) { ++changes; };
    }
    void Drag(int x0, int y0, int x1, int y1)
    {
        layers.MouseDown(TMouseButton::mbLeft, 0, x0, y0);
        layers.MouseMove(0, x1, y1);
        layers.MouseUp(TMouseButton::mbLeft, 0, x1, y1);
    }
};

} // namespace

TEST_F(BandFixture, LeftGripPastRightEdgeStopsAtMinimumWidth)
{
    Drag(100, 125, 400, 125);
    EXPECT_EQ(band->Bounds(), (TFloatBounds{190, 100, 200, 150}));
    EXPECT_EQ(changes, 1);
}

TEST_F(BandFixture, MaximumOnlyCountsWhenNotBelowMinimum)
{
    band->MaximumWidth = 0; // no maximum
    Drag(199, 125, 600, 125);
    EXPECT_EQ(band->Bounds().Right, 600);
    band->MaximumWidth = 150;
    Drag(599, 125, 900, 125);
    EXPECT_EQ(band->Bounds(), (TFloatBounds{100, 100, 250, 150}));
}

TEST_F(BandFixture, MoveKeepsSizeAndResizeRequestCanVeto)
{
    Drag(120, 120, 130, 125);
    EXPECT_EQ(band->Bounds(), (TFloatBounds{110, 105, 210, 155}));
    EXPECT_EQ(changes, 1);
    band->OnResizeRequest = [](TRubberbandLayer&, const TFloatBounds& atPress, TFloatBounds& proposed,
                               TBandDragState, TShiftState) { proposed = atPress; };
    Drag(130, 130, 170, 170);
    EXPECT_EQ(band->Bounds(), (TFloatBounds{110, 105, 210, 155}));
    EXPECT_EQ(changes, 1);
}

TEST_F(BandFixture, ImageSpaceDragConvertsToBounds)
{
    band->SetInImageSpace(true);
    layers.SetGeometry(TViewGeometry::Make(1000, 1000, 2.0f));
    band->SetBounds({50, 50, 100, 75}); // view (100, 100, 200, 150)
    Drag(120, 120, 140, 120);           // 20 view pixels = 10 image pixels
    EXPECT_EQ(band->Bounds(), (TFloatBounds{60, 50, 110, 75}));
}

TEST_F(BandFixture, HoverShapesFollowGrips)
{
    band->Cursor = TCursor::crSizeAll;
    const std::pair<TPoint, TCursor> cases[] = {
        {{196, 146}, TCursor::crSizeNWSE}, {{100, 149}, TCursor::crSizeNESW}, {{150, 100}, TCursor::crSizeNS},
        {{100, 125}, TCursor::crSizeWE},   {{120, 120}, TCursor::crSizeAll},
    };
    for (const auto& [p, shape] : cases) {
        layers.MouseMove(0, p.X, p.Y);
        EXPECT_EQ(layers.PointerShape(), shape) << p.X << "," << p.Y;
    }
}
