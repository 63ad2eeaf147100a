#include "FakeView.h"
#include "core/ImgEditor.h"
#include "core/ImgMap.h"
#include "core/InfoLayer.h"

#include <gtest/gtest.h>

#include <memory>

using namespace tavrin;
using tavrin::test::FakeView;

TEST(ImgEditorRounding, ViewAndImageConversions)
{
    struct Case
    {
        float scale;
        float in;
        int viewToImage, imageToView;
    };
    const Case cases[] = {
        {2.0f, 5, 2, 10},  // 2.5 ties to even
        {2.0f, 7, 4, 14},  // 3.5 ties to even
        {0.5f, 5, 10, 2},  // 2.5 -> 2
        {0.5f, 7, 14, 4},  // 3.5 -> 4
        {1.5f, 4, 3, 6},   // 2.666 -> 3
        {1.5f, 3, 2, 4},   // 4.5 -> 4
        {1.0f, 2.5f, 2, 2}, // the argument is rounded first
        {1.0f, -2.5f, -2, -2},
        // 1.1 is taken as the single it is (1.10000002...): 11 / 1.1f is just below 10
        {1.1f, 11, 10, 12},
        {1.1f, 5, 5, 6}, // 5 * 1.1f = 5.5000001 -> 6, 5 / 1.1f = 4.545 -> 5
    };
    for (const auto& c : cases) {
        FakeView view(10, 10, c.scale);
        TImgEditor doc;
        doc.AttachView(view);
        EXPECT_EQ(doc.ViewToImage(c.in), c.viewToImage) << c.scale << " " << c.in;
        EXPECT_EQ(doc.ImageToView(c.in), c.imageToView) << c.scale << " " << c.in;
    }
}

namespace {

struct DocFixture : ::testing::Test
{
    std::unique_ptr<FakeView> view = std::make_unique<FakeView>(400, 300);
    std::unique_ptr<TImgEditor> doc = std::make_unique<TImgEditor>();

    void SetUp() override { doc->AttachView(*view); }
    TLayerCollection& layers() { return view->Layers(); }

    TInfoLayer* Guide(int kind, float at)
    {
        auto* g = layers().Add<TInfoLayer>();
        g->Tag = kind;
        g->SetBounds(kind == lkGuideX ? TFloatBounds{at, 0, at + 2, 300} : TFloatBounds{0, at, 400, at + 2});
        (kind == lkGuideX ? g->GuideX : g->GuideY) = static_cast<int>(at);
        return g;
    }
    template <class T> T* Area(TFloatBounds b)
    {
        auto* a = layers().Add<T>();
        a->SetInImageSpace(true);
        a->SetBounds(b);
        a->Bitmap().SetSize(static_cast<int>(b.Right - b.Left), static_cast<int>(b.Bottom - b.Top));
        a->Bitmap().Clear(0xFF7F7F7F);
        return a;
    }
    TRubberbandLayer* Band(TFloatBounds b)
    {
        auto* band = layers().Add<TRubberbandLayer>();
        band->Tag = lkSelection;
        band->SetInImageSpace(true);
        band->SetBounds(b);
        return band;
    }
    std::vector<int> Kinds()
    {
        std::vector<int> kinds;
        for (int i = 0; i < layers().Count(); ++i)
            kinds.push_back(layers().Items(i)->Tag);
        return kinds;
    }
};

} // namespace

TEST_F(DocFixture, AttachCreatesHiddenRedHighlightAtTheBottom)
{
    ASSERT_EQ(layers().Count(), 1);
    TBitmapLayer* h = doc->FHighlight;
    ASSERT_EQ(layers().Items(0), h);
    EXPECT_FALSE(h->Visible());
    EXPECT_FALSE(h->AcceptsMouse);
    EXPECT_TRUE(h->InImageSpace());
    EXPECT_EQ(h->Bitmap().Width(), 2);
    EXPECT_EQ(h->Bitmap().Pixel(1, 1), 0xFFFF0000u);
    EXPECT_EQ(h->Bitmap().DrawMode, TDrawMode::dmBlend);
    EXPECT_EQ(h->Bitmap().MasterAlpha, 20);
}

TEST_F(DocFixture, FreshDocumentIgnoresKeysDeleteAndDoubleClick)
{
    EXPECT_EQ(doc->FNextId, 0);
    doc->MoveLayerBy(doc->FCurrentLayer, 1, 0);
    doc->DeleteLastLayer();
    doc->DropRemovableLayer();
    EXPECT_EQ(layers().Count(), 1); // the highlight is never deleted this way
}

TEST_F(DocFixture, DeleteTopmostRespectsThePolygonTool)
{
    Guide(lkGuideX, 10);
    Area<TMapRectLayer>({0, 0, 20, 20});
    Area<TMapPolygonLayer>({0, 0, 400, 300});
    doc->FToolMode = TToolMode::tmMapPolygon;
    doc->DeleteLastLayer();
    EXPECT_EQ(Kinds(), (std::vector<int>{0, lkGuideX, lkMapPolygon}));
    doc->FToolMode = TToolMode::tmNone;
    doc->DeleteLastLayer();
    EXPECT_EQ(Kinds(), (std::vector<int>{0, lkGuideX}));
    layers().Add<TBitmapLayer>()->Tag = lkSketch; // never deleted this way
    doc->DeleteLastLayer();
    EXPECT_EQ(Kinds(), (std::vector<int>{0, lkSketch}));
}

TEST_F(DocFixture, DeletePressedLayerFirstThenTopmost)
{
    TInfoLayer* pressed = Guide(lkGuideY, 50);
    Band({0, 0, 50, 50});
    Area<TMapRectLayer>({100, 100, 150, 150});
    doc->PressUpdate(TMouseButton::mbLeft, 5, 51, pressed);
    EXPECT_EQ(doc->FRemovable, pressed);
    EXPECT_EQ(doc->FDragGuide, pressed);
    doc->DeleteLastLayer();
    EXPECT_EQ(Kinds(), (std::vector<int>{0, lkSelection, lkMapShape}));
    EXPECT_EQ(doc->FCurrentLayer, nullptr);
    EXPECT_EQ(doc->FDragGuide, nullptr);
    doc->DeleteLastLayer();
    EXPECT_EQ(Kinds(), (std::vector<int>{0, lkSelection}));
}

TEST_F(DocFixture, DeleteLayersOfKindLeavesNoStaleReference)
{
    TInfoLayer* g = Guide(lkGuideX, 10);
    Guide(lkGuideY, 20);
    Band({0, 0, 5, 5});
    doc->PressUpdate(TMouseButton::mbLeft, 10, 5, g);
    doc->DeleteLayersOfKind(lkGuideY);
    doc->DeleteLayersOfKind(lkGuideX);
    EXPECT_EQ(Kinds(), (std::vector<int>{0, lkSelection}));
    EXPECT_EQ(doc->FCurrentLayer, nullptr);
    doc->MoveLayerBy(doc->FCurrentLayer, 1, 0); // nothing moves, nothing fails
    doc->DeleteLastLayer();
    EXPECT_EQ(Kinds(), (std::vector<int>{0}));
}

// Whoever destroys a layer, every document field that named it lets go.
TEST_F(DocFixture, InvariantHoldsForEveryField)
{
    auto* polygon = Area<TMapPolygonLayer>({0, 0, 400, 300});
    auto* sketch = layers().Add<TBitmapLayer>();
    TInfoLayer* guide = Guide(lkGuideX, 30);
    doc->FPolygon = polygon;
    doc->FTagArea = polygon;
    doc->FSketch = sketch;
    doc->FDragGuide = guide;
    doc->FCurrentLayer = guide;
    doc->FRemovable = sketch;
    layers().Destroy(polygon);
    layers().Destroy(sketch);
    layers().Destroy(guide);
    EXPECT_EQ(doc->FPolygon, nullptr);
    EXPECT_EQ(doc->FTagArea, nullptr);
    EXPECT_EQ(doc->FSketch, nullptr);
    EXPECT_EQ(doc->FDragGuide, nullptr);
    EXPECT_EQ(doc->FCurrentLayer, nullptr);
    EXPECT_EQ(doc->FRemovable, nullptr);
}

TEST_F(DocFixture, DocumentAndViewMayGoInEitherOrder)
{
    Guide(lkGuideX, 10);
    view.reset(); // layers destroyed first: the document must not touch them afterwards
    doc.reset();
    SUCCEED();
}

TEST_F(DocFixture, DropRemovableHidesHighlightAndDeletes)
{
    auto* band = Band({10, 10, 60, 60});
    doc->SetViewSelected(true);
    doc->PressUpdate(TMouseButton::mbLeft, 20, 20, band);
    EXPECT_TRUE(doc->FHighlight->Visible());
    doc->DropRemovableLayer();
    EXPECT_FALSE(doc->FHighlight->Visible());
    EXPECT_EQ(Kinds(), (std::vector<int>{0}));
    doc->DropRemovableLayer();
}

TEST_F(DocFixture, PressOnEmptyImageTakesTheCellAndTheChosenTool)
{
    Guide(lkGuideX, 100);
    Guide(lkGuideX, 300);
    doc->FChosenTool = TToolMode::tmSelect;
    view->Bitmap().Clear(0xFF00FF00);
    doc->PressUpdate(TMouseButton::mbLeft, 200, 10, nullptr);
    EXPECT_EQ(doc->FSelRegion, (TRect{100, 0, 300, 300}));
    EXPECT_EQ(doc->FSelBitmap.Width(), 200);
    EXPECT_EQ(doc->FSelBitmap.Pixel(0, 0), 0xFF00FF00u);
    EXPECT_EQ(doc->FToolMode, TToolMode::tmSelect);
    EXPECT_EQ(doc->FDownPos, (TPoint{200, 10}));
    // a right press moves neither the tool nor the down position
    doc->FToolMode = TToolMode::tmNone;
    doc->PressUpdate(TMouseButton::mbRight, 350, 10, nullptr);
    EXPECT_EQ(doc->FSelRegion, (TRect{300, 0, 400, 300}));
    EXPECT_EQ(doc->FToolMode, TToolMode::tmNone);
    EXPECT_EQ(doc->FDownPos, (TPoint{200, 10}));
}

TEST_F(DocFixture, PressOnLayersSetsRegionTagAreaAndRemovable)
{
    auto* band = Band({10.4f, 20.5f, 30.5f, 41.6f});
    doc->PressUpdate(TMouseButton::mbLeft, 15, 25, band);
    EXPECT_EQ(doc->FSelRegion, (TRect{10, 20, 30, 42}));
    EXPECT_EQ(doc->FRemovable, band);
    EXPECT_EQ(doc->FDownBounds, band->Bounds());

    auto* polygon = Area<TMapPolygonLayer>({0, 0, 400, 300});
    doc->PressUpdate(TMouseButton::mbRight, 5, 5, polygon);
    EXPECT_EQ(doc->FTagArea, polygon);
    EXPECT_EQ(doc->FSelBitmap.Width(), 0); // a press on an area leaves no region
    doc->PressUpdate(TMouseButton::mbLeft, 5, 5, polygon);
    EXPECT_EQ(doc->FRemovable, band); // polygons are never the removable layer
    EXPECT_EQ(doc->FCurrentLayer, polygon);

    auto* rect = Area<TMapRectLayer>({0, 0, 10, 10});
    doc->FToolMode = TToolMode::tmMapPolygon;
    doc->PressUpdate(TMouseButton::mbLeft, 5, 5, rect);
    EXPECT_EQ(doc->FRemovable, band); // nor anything while the polygon tool is on
}

TEST_F(DocFixture, RegionOffThePictureReadsWhite)
{
    view->Bitmap().Clear(0xFF102030);
    doc->FSelRegion = {390, -5, 410, 5};
    doc->ExtractRegion();
    ASSERT_EQ(doc->FSelBitmap.Width(), 20);
    EXPECT_EQ(doc->FSelBitmap.Pixel(0, 0), clWhite32);  // above the picture
    EXPECT_EQ(doc->FSelBitmap.Pixel(5, 7), 0xFF102030u); // inside
    EXPECT_EQ(doc->FSelBitmap.Pixel(15, 7), clWhite32);  // right of it
    doc->FSelRegion = {1000, 1000, 1010, 1010};
    doc->ExtractRegion();
    EXPECT_EQ(doc->FSelBitmap.Pixel(9, 9), clWhite32);
    doc->FSelRegion = {5, 5, 5, 9};
    doc->ExtractRegion();
    EXPECT_TRUE(doc->FSelBitmap.Empty());
}

TEST_F(DocFixture, ArrowKeysMoveByKind)
{
    auto* band = Band({10, 10, 20, 20});
    doc->MoveLayerBy(band, 1, 0);
    EXPECT_EQ(band->Bounds(), (TFloatBounds{11, 10, 21, 20}));
    auto* area = Area<TMapRectLayer>({10, 10, 20, 20});
    doc->MoveLayerBy(area, 0, -1);
    EXPECT_EQ(area->Bounds(), (TFloatBounds{10, 9, 20, 19}));
    auto* other = layers().Add<TBitmapLayer>();
    other->Tag = lkSketch;
    doc->MoveLayerBy(other, 1, 1);
    EXPECT_EQ(other->Bounds(), (TFloatBounds{0, 0, 64, 64}));
}

TEST_F(DocFixture, GuideArrowKeysStayWithinThePicture)
{
    TInfoLayer* g = Guide(lkGuideX, 399);
    g->Bitmap().SetSize(2, 300);
    doc->MoveLayerBy(g, 1, 0);
    EXPECT_EQ(g->GuideX, 400);
    EXPECT_EQ(g->Bounds(), (TFloatBounds{400, 0, 402, 300}));
    doc->MoveLayerBy(g, 1, 0); // past the right edge: nothing
    EXPECT_EQ(g->GuideX, 400);
    doc->MoveLayerBy(g, 0, 1); // a vertical guide ignores DY
    EXPECT_EQ(g->GuideX, 400);
    g->GuideX = 0;
    doc->MoveLayerBy(g, -1, 0);
    EXPECT_EQ(g->GuideX, 0);
}

TEST(ImgEditorMagnet, SnapAndCtrl)
{
    EXPECT_EQ(TImgEditor::SnapTo(110, 100), 100);
    EXPECT_EQ(TImgEditor::SnapTo(90, 100), 100);
    EXPECT_EQ(TImgEditor::SnapTo(111, 100), 111);
    TImgEditor doc;
    EXPECT_FALSE(doc.IsMagnetActive());
    bool ctrl = true;
    doc.IsCtrlHeld = [&] { return ctrl; };
    EXPECT_TRUE(doc.IsMagnetActive());
    ctrl = false;
    EXPECT_FALSE(doc.IsMagnetActive());
    doc.FIsMagnet = true;
    EXPECT_TRUE(doc.IsMagnetActive());
}

TEST(ImgEditorDetached, OperationsWithoutViewDoNothing)
{
    TImgEditor doc;
    doc.DeleteLastLayer();
    doc.DeleteLayersOfKind(1);
    doc.PressUpdate(TMouseButton::mbLeft, 1, 1, nullptr);
    EXPECT_EQ(doc.GuideCellAt(1, 1), (TRect{}));
}
