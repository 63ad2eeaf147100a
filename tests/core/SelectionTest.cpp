// Rectangle selection: the drag outline and its pixels, the release that makes a band, the band's
// handlers under real pointer routing, the magnet's passes over a band, the highlight and the
// region's pixels.
#include "FakeView.h"
#include "GeometryPrinters.h"
#include "core/ImgEditor.h"
#include "core/InfoLayer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <optional>
#include <vector>

using namespace tavrin;
using tavrin::test::FakeView;
using enum TMouseButton;

namespace {

// What the editor window does with pointer events, reduced to the selection, outline and guide
// paths: each event goes to the layers first, then the document acts with the layer they report.
struct Pointer
{
    FakeView& view;
    TImgEditor& doc;
    bool leftHeld = false;

    void Press(int x, int y, TMouseButton button = mbLeft)
    {
        TCustomLayer* layer = view.Layers().MouseDown(button, 0, x, y);
        doc.PressUpdate(button, x, y, layer);
        if (button != mbLeft) return;
        leftHeld = true;
        if (doc.FToolMode == TToolMode::tmSelect && !layer)
            doc.BeginSketch();
        else if (doc.FToolMode == TToolMode::tmSelect && layer->Tag == lkSelection)
            layer->RaiseToTop();
        else if (doc.FToolMode == TToolMode::tmMapRect || doc.FToolMode == TToolMode::tmMapCircle)
            doc.BeginSketch();
    }
    void Move(int x, int y)
    {
        view.Layers().MouseMove(0, x, y);
        if (doc.FDragGuide) doc.DragGuideStep(x, y);
        if (!leftHeld || !doc.FSketch) return;
        if (doc.FToolMode == TToolMode::tmMapCircle)
            doc.TrackSketchCircle(x, y);
        else if (doc.FToolMode == TToolMode::tmSelect || doc.FToolMode == TToolMode::tmMapRect)
            doc.TrackSketchRect(x, y);
    }
    void Release(int x, int y, TMouseButton button = mbLeft)
    {
        view.Layers().MouseUp(button, 0, x, y);
        leftHeld = false;
        doc.FDragGuide = nullptr;
        if (doc.FToolMode == TToolMode::tmSelect)
            doc.FinishSelectionDrag();
        else if (doc.FSketch)
            view.Layers().Destroy(doc.FSketch); // the area tools' own release is not under test here
    }
    void Drag(TPoint from, const std::vector<TPoint>& moves, TMouseButton button = mbLeft)
    {
        Press(from.X, from.Y, button);
        for (const TPoint& p : moves)
            Move(p.X, p.Y);
        const TPoint last = moves.empty() ? from : moves.back();
        Release(last.X, last.Y, button);
    }
};

struct SelectionFixture : ::testing::Test
{
    std::unique_ptr<FakeView> view = std::make_unique<FakeView>(400, 300);
    std::unique_ptr<TImgEditor> doc = std::make_unique<TImgEditor>();
    Pointer pointer{*view, *doc};

    void SetUp() override { doc->AttachView(*view); }
    TLayerCollection& layers() { return view->Layers(); }

    void ChooseSelectTool() { doc->FChosenTool = doc->FToolMode = TToolMode::tmSelect; }
    // A guide dragged out of a ruler to image position `at` (at 100 %).
    void Guide(int kind, int at)
    {
        if (kind == lkGuideX)
            doc->AddVerticalGuide(2, 300);
        else
            doc->AddHorizontalGuide(2, 400);
        doc->DragGuideStep(at, at);
        doc->FDragGuide = nullptr;
    }
    std::vector<TRubberbandLayer*> Bands()
    {
        std::vector<TRubberbandLayer*> bands;
        for (int i = 0; i < layers().Count(); ++i)
            if (layers().Items(i)->Tag == lkSelection)
                bands.push_back(dynamic_cast<TRubberbandLayer*>(layers().Items(i)));
        return bands;
    }
    TRubberbandLayer* ShownBand(TFloatBounds b)
    {
        TRubberbandLayer* band = doc->CreateSelectionBand();
        band->SetVisible(true);
        band->SetBounds(b);
        return band;
    }
    // Picture pixels that tell their own position; alpha 0, as a picture may have.
    static TColor32 At(int x, int y) { return static_cast<TColor32>(x) << 12 | static_cast<TColor32>(y); }
    void PaintPositions()
    {
        for (int y = 0; y < view->Bitmap().Height(); ++y)
            for (int x = 0; x < view->Bitmap().Width(); ++x)
                view->Bitmap().SetPixel(x, y, At(x, y));
    }
};

} // namespace

namespace {

// A rectangle outline bitmap: opaque white dots and transparent gaps on the border, transparent
// inside, and nothing else.
void ExpectDottedFrame(const TBitmap32& b)
{
    int dots = 0, gaps = 0, wrong = 0;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) {
            const TColor32 c = b.Pixel(x, y);
            const bool border = x == 0 || y == 0 || x == b.Width() - 1 || y == b.Height() - 1;
            if (border && c == clWhite32)
                ++dots;
            else if (border && c == clTransparent32)
                ++gaps;
            else if (c != clTransparent32)
                ++wrong;
        }
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(dots, 0);
    EXPECT_GT(gaps, 0); // dotted, not solid
}

int CountKind(TLayerCollection& layers, int kind)
{
    int n = 0;
    for (int i = 0; i < layers.Count(); ++i)
        n += layers.Items(i)->Tag == kind;
    return n;
}

} // namespace

TEST_F(SelectionFixture, OutlineStartsHiddenOnTopWithItsPen)
{
    layers().Add<TBitmapLayer>();
    doc->BeginSketch();
    TBitmapLayer* s = doc->FSketch;
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->Tag, lkSketch);
    EXPECT_FALSE(s->Visible());
    EXPECT_TRUE(s->InImageSpace());
    EXPECT_TRUE(s->AcceptsMouse);
    EXPECT_EQ(s->Index(), layers().Count() - 1);
    EXPECT_TRUE(s->Bitmap().Empty());
    EXPECT_EQ(s->Bitmap().DrawMode, TDrawMode::dmBlend);
    EXPECT_EQ(s->Bitmap().MasterAlpha, 100);
    const TCanvas32& c = s->Bitmap().Canvas();
    EXPECT_EQ(c.Pen.Mode, TPenMode::pmNotXor);
    EXPECT_EQ(c.Pen.Style, TPenStyle::psDot);
    EXPECT_EQ(c.Pen.Color, clBlack);
    EXPECT_EQ(c.Pen.Width, 1);
    EXPECT_EQ(c.Brush.Style, TBrushStyle::bsClear);

    // A press whose release never came must not leave its outline behind, taking presses for good.
    doc->BeginSketch();
    EXPECT_EQ(CountKind(layers(), lkSketch), 1);
}

// The bitmap has the size of the drag; the bounds are the drag pulled onto the guides.
TEST_F(SelectionFixture, RectOutlineIsADottedWhiteFrameStretchedOverSnappedBounds)
{
    Guide(lkGuideX, 100);
    doc->FIsMagnet = true;
    doc->FDownPos = {95, 50};
    doc->BeginSketch();
    layers().Add<TBitmapLayer>(); // tracking raises the outline again
    doc->TrackSketchRect(150, 80);
    TBitmapLayer* s = doc->FSketch;
    EXPECT_TRUE(s->Visible());
    EXPECT_EQ(s->Index(), layers().Count() - 1);
    EXPECT_EQ(s->Bounds(), (TFloatBounds{100, 50, 150, 80}));
    EXPECT_EQ(s->Bitmap().Width(), 55);
    EXPECT_EQ(s->Bitmap().Height(), 30);
    ExpectDottedFrame(s->Bitmap());

    doc->TrackSketchCircle(150, 80); // the same outline drawn as a circle, then as a rectangle again
    doc->TrackSketchRect(40, 20);
    EXPECT_EQ(s->Bounds(), (TFloatBounds{40, 20, 100, 50})); // the right edge meets the guide
    ExpectDottedFrame(s->Bitmap());
}

TEST(SelectionOutline, CircleOutlineLeavesATransparentDiscAtThePressCorner)
{
    struct Case
    {
        float scale;
        TPoint down, to;
        TFloatBounds bounds;
        int width, height;
        double discX, discY, radius; // in bitmap pixels
    };
    const Case cases[] = {
        {1.0f, {10, 10}, {30, 20}, {10, 10, 30, 20}, 20, 10, 5, 5, 5},    // right and down
        {1.0f, {30, 20}, {10, 10}, {10, 10, 30, 20}, 20, 10, 15, 5, 5},   // left and up: disc on the right
        {2.0f, {20, 80}, {60, 20}, {10, 10, 30, 40}, 20, 30, 10, 20, 10}, // up: disc at the bottom
    };
    for (const Case& c : cases) {
        FakeView view(400, 300, c.scale);
        TImgEditor doc;
        doc.AttachView(view);
        doc.FDownPos = c.down;
        doc.BeginSketch();
        doc.TrackSketchCircle(c.to.X, c.to.Y);
        const TBitmapLayer* s = doc.FSketch;
        ASSERT_EQ(s->Bitmap().Width(), c.width);
        ASSERT_EQ(s->Bitmap().Height(), c.height);
        EXPECT_EQ(s->Bounds(), c.bounds);
        EXPECT_EQ(s->Bitmap().MasterAlpha, 100);
        int wrong = 0;
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x) {
                const double dx = x + 0.5 - c.discX, dy = y + 0.5 - c.discY;
                const double r = std::sqrt(dx * dx + dy * dy);
                const TColor32 p = s->Bitmap().Pixel(x, y);
                if ((r < c.radius - 1 && p != clTransparent32) || (r > c.radius + 1 && p != clWhite32))
                    ++wrong;
            }
        EXPECT_EQ(wrong, 0) << c.to.X << "," << c.to.Y;
        EXPECT_EQ(s->Bitmap().Pixel(static_cast<int>(c.discX), static_cast<int>(c.discY)), clTransparent32);
    }
}

TEST(SelectionRelease, BandOnlyFromAnOutlineTheUserSaw)
{
    struct Case
    {
        const char* what;
        std::vector<TPoint> moves;
        std::optional<TFloatBounds> band;
    };
    const Case cases[] = {
        {"2 x 2", {{12, 12}}, std::nullopt},
        {"3 x 3", {{13, 13}}, TFloatBounds{10, 10, 13, 13}},
        {"10 x 10", {{15, 18}, {20, 20}}, TFloatBounds{10, 10, 20, 20}},
        {"up and left", {{4, 2}}, TFloatBounds{4, 2, 10, 10}},
        {"no move", {}, std::nullopt},
        // Thin at the release: the bounds stay those of the last outline drawn...
        {"thin after a drawn outline", {{60, 60}, {60, 11}}, TFloatBounds{10, 10, 60, 60}},
        // ...and an outline never drawn has only the layer default, which makes nothing.
        {"thin all along", {{13, 11}, {50, 10}}, std::nullopt},
        {"back to 2 x 2", {{60, 60}, {12, 12}}, std::nullopt},
    };
    for (const Case& c : cases) {
        FakeView view(400, 300);
        TImgEditor doc;
        doc.AttachView(view);
        doc.FChosenTool = TToolMode::tmSelect;
        Pointer pointer{view, doc};
        pointer.Drag({10, 10}, c.moves);
        EXPECT_EQ(doc.FToolMode, TToolMode::tmNone) << c.what;
        EXPECT_EQ(doc.FChosenTool, TToolMode::tmSelect) << c.what;
        EXPECT_EQ(doc.FSketch, nullptr) << c.what;
        EXPECT_EQ(CountKind(view.Layers(), lkSketch), 0) << c.what;
        TCustomLayer* top = view.Layers().Items(view.Layers().Count() - 1);
        if (!c.band) {
            EXPECT_EQ(CountKind(view.Layers(), lkSelection), 0) << c.what;
            continue;
        }
        ASSERT_EQ(CountKind(view.Layers(), lkSelection), 1) << c.what;
        auto* band = dynamic_cast<TRubberbandLayer*>(top);
        ASSERT_NE(band, nullptr) << c.what;
        EXPECT_EQ(band->Bounds(), *c.band) << c.what;
        EXPECT_TRUE(band->Visible()) << c.what;
        EXPECT_EQ(doc.FCurrentLayer, band) << c.what;
    }
}

TEST_F(SelectionFixture, MagnetPullsTheNewSelectionOntoTheGuides)
{
    Guide(lkGuideX, 100);
    Guide(lkGuideX, 300);
    ChooseSelectTool();
    doc->FIsMagnet = true;
    pointer.Drag({95, 50}, {{200, 100}, {290, 150}});
    doc->FIsMagnet = false;
    pointer.Drag({95, 160}, {{290, 250}});
    const auto bands = Bands();
    ASSERT_EQ(bands.size(), 2u);
    EXPECT_EQ(bands[0]->Bounds(), (TFloatBounds{100, 50, 300, 150}));
    EXPECT_EQ(bands[1]->Bounds(), (TFloatBounds{95, 160, 290, 250}));
}

// Ctrl is read at every move, not at the press.
TEST_F(SelectionFixture, CtrlSnapsTheOutlineUntilItIsLetGo)
{
    bool ctrl = true;
    doc->IsCtrlHeld = [&ctrl] { return ctrl; };
    Guide(lkGuideX, 100);
    Guide(lkGuideX, 300);
    ChooseSelectTool();
    pointer.Press(95, 50);
    pointer.Move(290, 150);
    EXPECT_EQ(doc->FSketch->Bounds(), (TFloatBounds{100, 50, 300, 150}));
    ctrl = false;
    pointer.Move(291, 150);
    EXPECT_EQ(doc->FSketch->Bounds(), (TFloatBounds{95, 50, 291, 150}));
    pointer.Release(291, 150);
    ASSERT_EQ(Bands().size(), 1u);
    EXPECT_EQ(Bands()[0]->Bounds(), (TFloatBounds{95, 50, 291, 150}));
}

TEST_F(SelectionFixture, NewBandIsHiddenOnTopWithItsHandlers)
{
    layers().Add<TBitmapLayer>();
    TRubberbandLayer* band = doc->CreateSelectionBand();
    ASSERT_NE(band, nullptr);
    EXPECT_EQ(band->Tag, lkSelection);
    EXPECT_EQ(band->Index(), layers().Count() - 1);
    EXPECT_FALSE(band->Visible());
    EXPECT_TRUE(band->InImageSpace());
    EXPECT_TRUE(band->AcceptsMouse);
    EXPECT_EQ(band->MinimumWidth, 2);
    EXPECT_EQ(band->MinimumHeight, 2);
    EXPECT_EQ(band->MaximumWidth, 0);
    EXPECT_EQ(band->MaximumHeight, 0);
    EXPECT_EQ(band->FramePattern, (std::vector<TColor32>{clWhite32, clBlack32}));
    EXPECT_EQ(band->GripSize, 3);
    EXPECT_EQ(band->GripFill, clWhite32);
    EXPECT_EQ(band->GripFrame, clBlack32);
    EXPECT_TRUE(band->OnMouseDown && band->OnResizeRequest && band->OnBandChanged);
}

// A band dragged with the pointer or moved with an arrow key selects its new rectangle at every
// step; the arrow key never snaps, not even onto a guide right beside it with the magnet held.
TEST_F(SelectionFixture, MovedBandSelectsThePixelsOfItsNewRectangle)
{
    PaintPositions();
    doc->SetViewSelected(true);
    TRubberbandLayer* band = ShownBand({50, 50, 150, 150});
    pointer.Press(100, 100);
    EXPECT_EQ(doc->FSelRegion, (TRect{50, 50, 150, 150}));
    pointer.Move(130, 120);
    EXPECT_EQ(band->Bounds(), (TFloatBounds{80, 70, 180, 170}));
    EXPECT_EQ(doc->FSelRegion, (TRect{80, 70, 180, 170}));
    EXPECT_EQ(doc->FHighlight->Bounds(), band->Bounds());
    EXPECT_TRUE(doc->FHighlight->Visible());
    ASSERT_EQ(doc->FSelBitmap.Width(), 100);
    EXPECT_EQ(doc->FSelBitmap.Pixel(0, 0), At(80, 70) | 0xFF000000u); // colour only, made opaque
    EXPECT_EQ(doc->FSelBitmap.Pixel(99, 99), At(179, 169) | 0xFF000000u);
    pointer.Release(130, 120);

    doc->SetViewSelected(false);
    doc->MoveLayerBy(band, 1, 0);
    EXPECT_EQ(band->Bounds(), (TFloatBounds{81, 70, 181, 170}));
    EXPECT_EQ(doc->FSelRegion, (TRect{81, 70, 181, 170}));
    EXPECT_EQ(doc->FHighlight->Bounds(), band->Bounds());
    EXPECT_FALSE(doc->FHighlight->Visible()); // shown as a drag step shows it: by the option
    EXPECT_EQ(doc->FSelBitmap.Pixel(0, 0), At(81, 70) | 0xFF000000u);
    EXPECT_EQ(doc->FSelBitmap.Pixel(99, 99), At(180, 169) | 0xFF000000u);

    doc->SetViewSelected(true);
    Guide(lkGuideX, 184);
    doc->IsCtrlHeld = [] { return true; };
    doc->MoveLayerBy(band, 1, -2);
    EXPECT_EQ(band->Bounds(), (TFloatBounds{82, 68, 182, 168}));
    EXPECT_EQ(doc->FSelRegion, (TRect{82, 68, 182, 168}));
    EXPECT_TRUE(doc->FHighlight->Visible());
    EXPECT_EQ(doc->FSelBitmap.Pixel(0, 0), At(82, 68) | 0xFF000000u);
}

// The region's pixels are made only when read, yet they are those of the picture it was taken from.
TEST_F(SelectionFixture, RegionPixelsAreThoseOfThePictureItWasTakenFrom)
{
    PaintPositions();
    ShownBand({50, 50, 150, 150});
    pointer.Press(100, 100);
    pointer.Release(100, 100);
    const TColor32 before = At(50, 50) | 0xFF000000u;
    EXPECT_EQ(doc->SelBitmap().Width(), 100);
    doc->KeepRegionPixels(); // as the window does before it replaces the picture
    view->Bitmap().Clear(0xFF000000);
    EXPECT_EQ(doc->FSelBitmap.Pixel(0, 0), before);
    const TBitmap32& asBitmap = doc->FSelBitmap; // reads like the bitmap it stands for
    EXPECT_EQ(asBitmap.Pixel(99, 99), At(149, 149) | 0xFF000000u);
}

TEST_F(SelectionFixture, OnlyTheLeftButtonMovesABand)
{
    TRubberbandLayer* band = ShownBand({50, 50, 150, 150});
    for (TMouseButton b : {mbRight, mbMiddle}) {
        pointer.Press(100, 100, b);
        EXPECT_EQ(doc->FBandButton, b);
        pointer.Move(130, 120);
        pointer.Move(60, 20);
        pointer.Release(60, 20, b);
        EXPECT_EQ(band->Bounds(), (TFloatBounds{50, 50, 150, 150}));
    }
    pointer.Drag({100, 100}, {{130, 120}});
    EXPECT_EQ(doc->FBandButton, mbLeft);
    EXPECT_EQ(band->Bounds(), (TFloatBounds{80, 70, 180, 170}));
}

// An area outline dragged out over a band must not drag the band along.
TEST_F(SelectionFixture, BandStaysWhileAnOutlineIsDraggedOverIt)
{
    TRubberbandLayer* band = ShownBand({50, 50, 150, 150});
    doc->FChosenTool = doc->FToolMode = TToolMode::tmMapRect;
    pointer.Press(100, 100);
    ASSERT_NE(doc->FSketch, nullptr);
    pointer.Move(130, 120);
    EXPECT_EQ(band->Bounds(), (TFloatBounds{50, 50, 150, 150}));
    EXPECT_EQ(doc->FSketch->Bounds(), (TFloatBounds{100, 100, 130, 120}));
    pointer.Release(130, 120);
    doc->FChosenTool = doc->FToolMode = TToolMode::tmNone;
    pointer.Drag({100, 100}, {{110, 100}}); // without an outline it moves again
    EXPECT_EQ(band->Bounds(), (TFloatBounds{60, 50, 160, 150}));
}

TEST(SelectionSnap, LeftEdgeDraggedNearAGuide)
{
    struct Case
    {
        int pointerX;
        bool magnet, ctrl;
        float left;
    };
    const Case cases[] = {
        {108, true, false, 100}, {108, false, false, 108}, {108, false, true, 100}, {110, true, false, 100},
        {111, true, false, 111}, {90, true, false, 100},   {89, true, false, 89},
    };
    for (const Case& c : cases) {
        FakeView view(400, 300);
        TImgEditor doc;
        doc.AttachView(view);
        doc.FIsMagnet = c.magnet;
        doc.IsCtrlHeld = [&c] { return c.ctrl; };
        doc.AddVerticalGuide(2, 300);
        doc.DragGuideStep(100, 0);
        doc.FDragGuide = nullptr;
        TRubberbandLayer* band = doc.CreateSelectionBand();
        band->SetBounds({120, 50, 250, 150});
        Pointer pointer{view, doc};
        ASSERT_EQ(band->DragStateAt(120, 99), TBandDragState::bdSizeLeft);
        pointer.Drag({120, 99}, {{c.pointerX, 99}});
        EXPECT_EQ(band->Bounds(), (TFloatBounds{c.left, 50, 250, 150}))
            << c.pointerX << " magnet " << c.magnet << " ctrl " << c.ctrl;
    }
}

TEST_F(SelectionFixture, CtrlSnapsTheBandUntilItIsLetGo)
{
    bool ctrl = true;
    doc->IsCtrlHeld = [&ctrl] { return ctrl; };
    Guide(lkGuideX, 100);
    TRubberbandLayer* band = ShownBand({120, 50, 250, 150});
    pointer.Press(120, 99);
    pointer.Move(108, 99);
    EXPECT_EQ(band->Bounds().Left, 100);
    ctrl = false;
    pointer.Move(107, 99);
    EXPECT_EQ(band->Bounds().Left, 107);
    pointer.Release(107, 99);
}

// The five passes of the magnet over a changed band: the centre, then the corners LT, LB, RT, RB,
// each from the edges the previous pass left.
TEST(SelectionSnap, FivePassesOverTheBand)
{
    struct Case
    {
        const char* what;
        std::vector<int> vertical, horizontal;
        TRect from, to;
    };
    const Case cases[] = {
        {"all edges onto the cell", {100, 300}, {100, 200}, {95, 105, 305, 195}, {100, 100, 300, 200}},
        {"picture edges pull too", {}, {}, {5, 7, 395, 292}, {0, 0, 400, 300}},
        {"too far", {100, 300}, {100, 200}, {89, 111, 311, 189}, {89, 111, 311, 189}},
        // The centre lies on the guide and bounds nothing; the left corners' cell ends at the guide
        // and pulls the right edge onto it.
        {"corner pass moves the far edge", {100, 300}, {100, 200}, {95, 150, 105, 160}, {95, 150, 100, 160}},
        // Two close guides: the left edge goes 98 -> 105 (centre) -> 100 (LT) -> 105 (RT).
        {"last pass at the right corners wins", {100, 105}, {}, {98, 50, 140, 60}, {105, 50, 140, 60}},
        // The bottom edge goes 203 -> 200 (centre) -> 205 (LB) -> 200 (RT) -> 205 (RB).
        {"bottom-right corner is the last pass", {}, {200, 205}, {50, 160, 150, 203}, {50, 160, 150, 205}},
    };
    for (const Case& c : cases) {
        FakeView view(400, 300);
        TImgEditor doc;
        doc.AttachView(view);
        for (int x : c.vertical) {
            doc.AddVerticalGuide(2, 300);
            doc.DragGuideStep(x, 0);
        }
        for (int y : c.horizontal) {
            doc.AddHorizontalGuide(2, 400);
            doc.DragGuideStep(0, y);
        }
        doc.FIsMagnet = true;
        TRubberbandLayer* band = doc.CreateSelectionBand();
        band->SetBounds({static_cast<float>(c.from.Left), static_cast<float>(c.from.Top),
                         static_cast<float>(c.from.Right), static_cast<float>(c.from.Bottom)});
        doc.SelectionChanged(*band);
        EXPECT_EQ(doc.FSelRegion, c.to) << c.what;
        EXPECT_EQ(band->Bounds(),
                  (TFloatBounds{static_cast<float>(c.to.Left), static_cast<float>(c.to.Top),
                                static_cast<float>(c.to.Right), static_cast<float>(c.to.Bottom)}))
            << c.what;
    }
}

// A changed band lands on image pixels that fall on whole view pixels.
TEST(SelectionSnap, BandEdgesGoToWholeViewPixels)
{
    struct Case
    {
        float scale;
        TFloatBounds from;
        TRect to;
    };
    const Case cases[] = {
        {1.0f, {10.4f, 20.5f, 30.5f, 41.6f}, {10, 20, 30, 42}},
        {2.0f, {51.5f, 50.5f, 151.5f, 150.5f}, {52, 50, 152, 150}}, // ties to even before scaling
        {0.5f, {5, 7, 21, 23}, {4, 8, 20, 24}}, // 2.5 -> 2, 3.5 -> 4, 10.5 -> 10, 11.5 -> 12
    };
    for (const Case& c : cases) {
        FakeView view(400, 300, c.scale);
        TImgEditor doc;
        doc.AttachView(view);
        TRubberbandLayer* band = doc.CreateSelectionBand();
        band->SetBounds(c.from);
        doc.SelectionChanged(*band);
        EXPECT_EQ(doc.FSelRegion, c.to) << c.scale;
        EXPECT_EQ(band->Bounds().Left, c.to.Left) << c.scale;
        EXPECT_EQ(band->Bounds().Bottom, c.to.Bottom) << c.scale;
        EXPECT_EQ(doc.FSelBitmap.Width(), c.to.Width()) << c.scale;
    }
}

// The band lives in the view, which may outlive the document: its handlers then do nothing.
TEST_F(SelectionFixture, BandOutlivesItsDocument)
{
    Guide(lkGuideX, 100);
    doc->FIsMagnet = true;
    TRubberbandLayer* band = ShownBand({128, 64, 256, 128});
    doc.reset();
    layers().MouseDown(mbLeft, 0, 200, 100);
    layers().MouseMove(0, 170, 100);
    layers().MouseUp(mbLeft, 0, 170, 100);
    EXPECT_EQ(band->Bounds(), (TFloatBounds{98, 64, 226, 128})); // moved, and not pulled onto the guide
}

TEST_F(SelectionFixture, HighlightFollowsTheOptionAndTheRegion)
{
    Guide(lkGuideX, 100);
    const auto click = [this](int x, int y) {
        pointer.Press(x, y, mbRight);
        pointer.Release(x, y, mbRight);
    };
    click(150, 10);
    EXPECT_EQ(doc->FHighlight->Bounds(), (TFloatBounds{100, 0, 400, 300}));
    EXPECT_FALSE(doc->FHighlight->Visible());
    doc->SetViewSelected(true);
    EXPECT_TRUE(doc->FHighlight->Visible());
    doc->SetViewSelected(false);
    EXPECT_FALSE(doc->FHighlight->Visible());

    click(101, 10); // on the guide: no region, nothing to tint
    EXPECT_TRUE(doc->FSelBitmap.Empty());
    doc->SetViewSelected(true);
    EXPECT_FALSE(doc->FHighlight->Visible());

    doc->FToolMode = TToolMode::tmSelect; // outside tmNone a press leaves the highlight where it was
    pointer.Press(50, 10, mbRight);
    EXPECT_EQ(doc->FSelRegion, (TRect{0, 0, 100, 300}));
    EXPECT_EQ(doc->FHighlight->Bounds(), (TFloatBounds{0, 0, 0, 0}));
}

TEST(SelectionDetached, SelectionOperationsWithoutViewDoNothing)
{
    TImgEditor doc;
    doc.BeginSketch();
    doc.TrackSketchRect(5, 5);
    doc.TrackSketchCircle(5, 5);
    doc.FToolMode = TToolMode::tmSelect;
    doc.FinishSelectionDrag();
    EXPECT_EQ(doc.FToolMode, TToolMode::tmNone);
    EXPECT_EQ(doc.CreateSelectionBand(), nullptr);
    EXPECT_EQ(doc.FSketch, nullptr);
}
