#include "EditorFixture.h"
#include "editor/RsRuler.h"

#include <QScrollArea>

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
    editor->ChangeScale(0.1f);
    EXPECT_EQ(image().width(), 1100);
    EXPECT_EQ(hbar()->value(), 250); // RoundEven(500 / 2.0)
    EXPECT_EQ(vbar()->value(), 0);   // a view at the top stays there
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

    DragFrom(editor->RulerLeft(), {10, 50}, {20 + 30, 50});
    EXPECT_EQ(static_cast<TInfoLayer*>(LayersOfKind(lkGuideX).back())->GuideX, 30);
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
