#include "EditorFixture.h"
#include "editor/RsRuler.h"

#include <QScrollArea>
#include <QSpontaneKeyEvent>
#include <QWheelEvent>
#include <QWindow>

#include <cstdint>

using namespace tavrin;
using tavrin::test::EditorFixture;

namespace {

struct Zoom : EditorFixture
{
};

} // namespace

TEST_F(Zoom, StepsDownStopAtTwentyAndUpHaveNoLimit)
{
    Open(100, 100);
    std::vector<int> seen;
    editor->OnChangeScal = [&](TFmEditor& e) { seen.push_back(e.GetScalePercent()); };
    for (int i = 0; i < 10; ++i)
        editor->ChangeScale(-0.1f);
    EXPECT_EQ(seen, (std::vector<int>{90, 80, 70, 60, 50, 40, 30, 20, 20, 20}));
    editor->ChangeScale(0);
    EXPECT_EQ(editor->GetScalePercent(), 100);
    for (int i = 0; i < 20; ++i)
        editor->ChangeScale(0.1f);
    EXPECT_EQ(editor->GetScalePercent(), 300);
    EXPECT_EQ(image().width(), 300);
    EXPECT_EQ(editor->RulerTop().Scale(), 300);
    EXPECT_EQ(editor->RulerRight().Scale(), 300);
}

TEST_F(Zoom, ScrollPositionKeepsItsProportion)
{
    Open(1000, 1000);
    // Size the box so that it is 600 wide, as measured by the zoom.
    const int boxWidth = editor->ScrollBox().width();
    editor->resize(editor->width() + (600 - boxWidth), editor->height());
    QApplication::processEvents();
    ASSERT_EQ(editor->ScrollBox().width(), 600);
    hbar()->setValue(200);
    vbar()->setValue(0);
    editor->ImageMouseMove(0, 300, 50, nullptr);
    editor->ChangeScale(0.1f);
    EXPECT_EQ(image().width(), 1100);
    EXPECT_EQ(hbar()->value(), 250); // RoundEven(500 / 2.0)
    EXPECT_EQ(vbar()->value(), 0);   // a view at the top stays there
    // The pointer stands still over the view, which has moved by 50: view x 350 is image x 318.
    EXPECT_EQ(editor->GetMousePos().X, 318);
    EXPECT_EQ(editor->GetMousePos().Y, 45);
    // Top and bottom rulers show the horizontal position in image pixels, left and right the vertical.
    EXPECT_EQ(editor->RulerTop().Offset(), 227); // 250 / 1.1 = 227.27
    EXPECT_EQ(editor->RulerBottom().Offset(), 227);
    vbar()->setValue(110);
    EXPECT_EQ(editor->RulerLeft().Offset(), 100);
    EXPECT_EQ(editor->RulerRight().Offset(), 100);
}

TEST_F(Zoom, ZeroRatioStillReplacesGuidesAndNotifies)
{
    Open(300, 300);
    hbar()->setMaximum(500); // a position while the view is no wider than the box
    hbar()->setValue(100);
    int notified = 0;
    editor->OnChangeScal = [&](TFmEditor&) { ++notified; };
    doc().AddVerticalGuide(2, 300);
    doc().DragGuideStep(37, 0);
    editor->ChangeScale(0.1f);
    EXPECT_EQ(notified, 1);
    EXPECT_EQ(static_cast<TInfoLayer*>(LayersOfKind(lkGuideX)[0])->Bounds().Left, 41); // 37 x 1.1 = 40.7
}

TEST_F(Zoom, GuidesFollowTheZoom)
{
    Open(200, 200);
    doc().AddVerticalGuide(2, 200);
    doc().DragGuideStep(37, 0);
    auto* guide = static_cast<TInfoLayer*>(LayersOfKind(lkGuideX)[0]);
    editor->ChangeScale(1.0f);
    EXPECT_EQ(guide->Bounds().Left, 74);
    EXPECT_EQ(guide->Bounds().Bottom, 400); // spans the whole view
    editor->ChangeScale(0);
    EXPECT_EQ(guide->Bounds().Left, 37);
    EXPECT_EQ(guide->GuideX, 37);
}

TEST_F(Zoom, HugeZoomStopsBeforeTheToolkitLimit)
{
    Open(10000, 10);
    for (int i = 0; i < 30; ++i)
        editor->ChangeScale(1.0f);
    EXPECT_LE(image().width(), QWIDGETSIZE_MAX);
    EXPECT_GE(editor->GetScalePercent(), 1600);
    editor->ChangeScale(0);
    EXPECT_EQ(image().width(), 10000);
}

namespace {

struct Rulers : EditorFixture
{
    void SetUp() override { Open(400, 1000); }
    // A press on the ruler, a drag to `to` in ruler coordinates, and the release.
    void DragFrom(TRsRuler& ruler, QPoint press, QPoint to, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mousePress(&ruler, button, {}, press);
        QTest::mouseMove(&ruler, to);
        QTest::mouseRelease(&ruler, button, {}, to);
    }
};

} // namespace

TEST_F(Rulers, PressCreatesGuidesAtTheirStartingPlaces)
{
    QTest::mouseClick(&editor->RulerTop(), Qt::LeftButton, {}, QPoint(50, 10));
    QTest::mouseClick(&editor->RulerBottom(), Qt::RightButton, {}, QPoint(50, 10));
    QTest::mouseClick(&editor->RulerLeft(), Qt::LeftButton, {}, QPoint(10, 50));
    QTest::mouseClick(&editor->RulerRight(), Qt::LeftButton, {}, QPoint(10, 50));
    const auto horizontal = LayersOfKind(lkGuideY), vertical = LayersOfKind(lkGuideX);
    ASSERT_EQ(horizontal.size(), 2u);
    ASSERT_EQ(vertical.size(), 2u);
    EXPECT_EQ(static_cast<TInfoLayer*>(horizontal[0])->Bounds(), (TFloatBounds{0, 2, 400, 4}));
    EXPECT_EQ(static_cast<TInfoLayer*>(horizontal[1])->Bounds().Top, 996);
    EXPECT_EQ(static_cast<TInfoLayer*>(vertical[0])->Bounds(), (TFloatBounds{2, 0, 4, 1000}));
    EXPECT_EQ(static_cast<TInfoLayer*>(vertical[1])->Bounds().Left, 396);
    EXPECT_EQ(doc().FDragGuide, nullptr); // every release ends the drag
}

TEST_F(Rulers, DraggedGuideLandsUnderThePointer)
{
    DragFrom(editor->RulerTop(), {50, 10}, {50, 20 + 57});
    auto* guide = static_cast<TInfoLayer*>(LayersOfKind(lkGuideY).back());
    EXPECT_EQ(guide->GuideY, 57);
    EXPECT_EQ(guide->Bounds().Top, 57);

    vbar()->setValue(100);
    ASSERT_EQ(vbar()->value(), 100);
    DragFrom(editor->RulerTop(), {50, 10}, {50, 20 + 10});
    guide = static_cast<TInfoLayer*>(LayersOfKind(lkGuideY).back());
    EXPECT_EQ(guide->GuideY, 110);

    // 30 pixels into the scroll box is view x 28: the view sits 2 pixels inside it.
    DragFrom(editor->RulerLeft(), {10, 50}, {20 + 30, 50});
    EXPECT_EQ(static_cast<TInfoLayer*>(LayersOfKind(lkGuideX).back())->GuideX, 28);
}

TEST_F(Rulers, MovesOverARulerUpdateThePointerReadout)
{
    int moves = 0;
    editor->OnChangeMousePosition = [&](TFmEditor&) { ++moves; };
    QTest::mouseMove(&editor->RulerLeft(), QPoint(10, 70));
    EXPECT_GE(moves, 1);
    EXPECT_EQ(editor->GetMousePos().Y, 70);
    EXPECT_EQ(LayersOfKind(lkGuideX).size(), 0u);
}

namespace {

// A picture larger than the view whose pixels name their own place, so that what the view shows under
// a ruler mark can be read back from the screen.
struct RulersOverPicture : EditorFixture
{
    static constexpr int kWidth = 1000, kHeight = 800;

    void SetUp() override
    {
        Open(kWidth, kHeight);
        TBitmap32& b = image().Bitmap();
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                b.ScanLine(y)[x] = 0xFF000000u | (std::uint32_t(x & 0xFF) << 16) |
                                   (std::uint32_t((x >> 8) | ((y >> 8) << 4)) << 8) | std::uint32_t(y & 0xFF);
        image().BitmapChanged();
    }
    static QPoint PixelOf(QRgb c)
    {
        return {qRed(c) | (qGreen(c) & 15) << 8, qBlue(c) | (qGreen(c) >> 4) << 8};
    }

    // The part of the view inside the scroll box, in view pixels, and what the screen shows there.
    QRect Visible()
    {
        QWidget* port = editor->ScrollBox().viewport();
        return QRect(image().mapFrom(port, QPoint(0, 0)), port->size()) & image().rect();
    }

    struct TMark
    {
        TRsRuler* Ruler;
        int Pos;       // along the ruler
        double Value;  // the image pixel it names
        QPoint Screen; // a screen point over the picture level with the mark
    };

    // The ticks and numbers of a ruler that lie over the visible part of the picture.
    std::vector<TMark> MarksOver(TRsRuler& ruler, const QRect& visible)
    {
        const TRulerLayout layout = ruler.Layout();
        const bool horizontal = IsHorizontal(ruler.Direction());
        std::vector<std::pair<int, double>> marks;
        for (const TRulerTick& t : layout.Ticks)
            marks.emplace_back(t.Pos, LabelValue(2 * t.Index, layout.ScaleFactor, TRulerUnit::ruPixel, ruler.Offset()));
        for (const TRulerLabel& l : layout.Labels) {
            marks.emplace_back(l.Pos, l.Value);
            EXPECT_EQ(l.Text, FormatLabel(l.Value, ruler.ShowMinus(), "."));
        }
        std::vector<TMark> over;
        for (const auto& [pos, value] : marks) {
            const QPoint screen = ruler.mapToGlobal(horizontal ? QPoint(pos, 0) : QPoint(0, pos));
            QPoint view = image().mapFromGlobal(screen);
            (horizontal ? view.ry() : view.rx()) = horizontal ? visible.center().y() : visible.center().x();
            if (visible.contains(view))
                over.push_back({&ruler, pos, value, image().mapToGlobal(view)});
        }
        return over;
    }
};

} // namespace

// Every tick and number stands on the view column (or row) that shows the image pixel it names, at
// every zoom and scroll position, and a guide dragged from a ruler lands on the pixel under the pointer.
TEST_F(RulersOverPicture, MarksStandOverThePixelsTheyNameAndGuidesLandThere)
{
    struct Case
    {
        float Step;
        int H, V;
    };
    for (const Case c : {Case{0, 0, 0}, Case{0, 137, 91}, Case{0.5f, 0, 0}, Case{0.5f, 251, 173},
                         Case{2.0f, 0, 0}, Case{2.0f, 1031, 787}}) {
        editor->DeleteAllGuides(); // the last case's would hide pixels
        editor->ChangeScale(0);
        editor->ChangeScale(c.Step);
        hbar()->setValue(c.H);
        vbar()->setValue(c.V);
        ASSERT_EQ(hbar()->value(), c.H);
        ASSERT_EQ(vbar()->value(), c.V);
        const QString where = QStringLiteral("%1%, scrolled to %2, %3").arg(editor->GetScalePercent()).arg(c.H).arg(c.V);
        SCOPED_TRACE(where.toStdString());

        const QRect visible = Visible();
        const QImage shown = image().grab().toImage().copy(visible);
        for (TRsRuler* ruler : {&editor->RulerTop(), &editor->RulerBottom(), &editor->RulerLeft(), &editor->RulerRight()}) {
            const bool horizontal = IsHorizontal(ruler->Direction());
            const std::vector<TMark> marks = MarksOver(*ruler, visible);
            ASSERT_GE(marks.size(), 20u) << "too few marks over the picture";
            for (const TMark& m : marks) {
                const QPoint at = image().mapFromGlobal(m.Screen) - visible.topLeft();
                const QPoint pixel = PixelOf(shown.pixel(at));
                ASSERT_EQ(horizontal ? pixel.x() : pixel.y(), m.Value) << "mark at " << m.Pos;
            }

            // From each ruler onto a number of the ruler across it: the guide gets that number.
            TRsRuler& across = horizontal ? editor->RulerLeft() : editor->RulerTop();
            const std::vector<TMark> targets = MarksOver(across, visible);
            const TMark& target = targets[targets.size() / 2];
            const QPoint press = horizontal ? QPoint(30, 10) : QPoint(10, 30);
            QTest::mousePress(ruler, Qt::LeftButton, {}, press);
            QTest::mouseMove(ruler, ruler->mapFromGlobal(target.Screen));
            QTest::mouseRelease(ruler, Qt::LeftButton, {}, ruler->mapFromGlobal(target.Screen));
            auto* guide = static_cast<TInfoLayer*>(LayersOfKind(horizontal ? lkGuideY : lkGuideX).back());
            EXPECT_EQ(horizontal ? guide->GuideY : guide->GuideX, target.Value) << "guide from the ruler at " << press.x();
        }
    }
}

TEST_F(RulersOverPicture, WheelZoomsWhereverThePointerIs)
{
    editor->ChangeScale(0);
    // A wheel turn as the window system delivers it: to the window, which finds the widget under the pointer.
    const auto turn = [&](QWidget& over, QPoint at, QPoint delta) {
        const QPoint local = over.mapTo(editor.get(), at);
        QWheelEvent e(local, editor->mapToGlobal(local), {}, delta, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                      false);
        QSpontaneKeyEvent::setSpontaneous(&e); // as from the window system: passed on to the parents
        QApplication::instance()->notify(editor->windowHandle(), &e);
    };
    QScrollArea& box = editor->ScrollBox();
    const struct
    {
        QWidget* Over;
        QPoint At;
    } places[] = {{&image(), {100, 100}},
                  {box.viewport(), {1, 10}}, // left of the picture, which sits 2 pixels in
                  {box.horizontalScrollBar(), {40, 5}},
                  {box.verticalScrollBar(), {5, 40}},
                  {&editor->RulerTop(), {60, 10}},
                  {&editor->RulerLeft(), {10, 60}},
                  {&editor->RulerBottom(), {60, 10}},
                  {&editor->RulerRight(), {10, 60}}};
    for (const auto& place : places) {
        SCOPED_TRACE(place.Over->metaObject()->className());
        ASSERT_TRUE(place.Over->isVisible());
        hbar()->setValue(0);
        vbar()->setValue(0);
        const int before = editor->GetScalePercent();
        turn(*place.Over, place.At, {0, -120});
        EXPECT_EQ(editor->GetScalePercent(), before - 10);
        turn(*place.Over, place.At, {0, 120});
        turn(*place.Over, place.At, {0, 240});
        EXPECT_EQ(editor->GetScalePercent(), before + 20);
        EXPECT_EQ(hbar()->value(), 0) << "the wheel scrolled";
        EXPECT_EQ(vbar()->value(), 0) << "the wheel scrolled";
    }
    // A sideways tilt alone still scrolls sideways.
    const int percent = editor->GetScalePercent();
    turn(image(), {100, 100}, {-120, 0});
    EXPECT_EQ(editor->GetScalePercent(), percent);
    EXPECT_GT(hbar()->value(), 0);
}
