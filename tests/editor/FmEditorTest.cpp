#include "EditorFixture.h"
#include "core/ImgMap.h"
#include "dialogs/FmImgTag.h"
#include "editor/RsRuler.h"
#include "support/ModalProbe.h"

#include <QLineEdit>
#include <QPushButton>

using namespace tavrin;
using tavrin::test::EditorFixture;
using tavrin::test::ModalProbe;

namespace {

struct EditorGestures : EditorFixture
{
    void SetUp() override { Open(300, 200); }
};

} // namespace

TEST_F(EditorGestures, SelectionDragsMakeBandsThatMoveAndRestart)
{
    editor->SetToolMode(TToolMode::tmSelect);
    Drag({20, 20}, {22, 22});
    EXPECT_TRUE(LayersOfKind(lkSelection).empty());
    EXPECT_EQ(LayersOfKind(lkSketch).size(), 0u);

    Drag({20, 20}, {30, 30});
    auto bands = LayersOfKind(lkSelection);
    ASSERT_EQ(bands.size(), 1u);
    auto* band = static_cast<TRubberbandLayer*>(bands[0]);
    EXPECT_EQ(band->Bounds(), (TFloatBounds{20, 20, 30, 30}));
    EXPECT_EQ(doc().FCurrentLayer, band);
    EXPECT_EQ(doc().FToolMode, TToolMode::tmNone);
    EXPECT_EQ(editor->GetToolMode(), TToolMode::tmSelect);

    Drag({100, 100}, {160, 140}); // a press on empty space draws a new one
    ASSERT_EQ(LayersOfKind(lkSelection).size(), 2u);
    auto* second = static_cast<TRubberbandLayer*>(LayersOfKind(lkSelection)[1]);
    Drag({130, 120}, {150, 130}); // a press inside it moves it
    EXPECT_EQ(second->Bounds(), (TFloatBounds{120, 110, 180, 150}));
    EXPECT_EQ(LayersOfKind(lkSelection).size(), 2u);
}

TEST_F(EditorGestures, AreasFromEachTool)
{
    editor->SetToolMode(TToolMode::tmMapRect);
    Drag({10, 10}, {60, 40});
    auto areas = LayersOfKind(lkMapShape);
    ASSERT_EQ(areas.size(), 1u);
    auto* rect = dynamic_cast<TMapRectLayer*>(areas[0]);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->CoordsText(), "10,10,60,40");
    EXPECT_EQ(rect->FId, 1);

    editor->SetToolMode(TToolMode::tmMapCircle);
    Drag({100, 100}, {60, 130});
    ASSERT_EQ(LayersOfKind(lkMapShape).size(), 2u);
    EXPECT_EQ(static_cast<TImageMapLyer*>(LayersOfKind(lkMapShape)[1])->CoordsText(), "85,115,15");
    EXPECT_TRUE(LayersOfKind(lkSketch).empty());

    editor->SetToolMode(TToolMode::tmMapPolygon);
    for (QPoint p : {QPoint(150, 10), QPoint(190, 10), QPoint(170, 40)})
        QTest::mouseClick(&image(), Qt::LeftButton, {}, p);
    ASSERT_EQ(LayersOfKind(lkMapPolygon).size(), 1u);
    EXPECT_EQ(static_cast<TImageMapLyer*>(LayersOfKind(lkMapPolygon)[0])->CoordsText(), "150,10,190,10,170,40");
    editor->SetToolMode(TToolMode::tmMapPolygon); // already on: no second polygon
    EXPECT_EQ(LayersOfKind(lkMapPolygon).size(), 1u);

    editor->SetToolMode(TToolMode::tmNone);
    Drag({20, 20}, {27, 25}); // dragging the rectangle area
    EXPECT_EQ(rect->CoordsText(), "17,15,67,45");

    // A dragged polygon takes its vertices along: coords, picture and presses all follow it.
    auto* polygon = static_cast<TImageMapLyer*>(LayersOfKind(lkMapPolygon)[0]);
    Drag({170, 20}, {220, 40});
    EXPECT_EQ(polygon->CoordsText(), "200,30,240,30,220,60");
    EXPECT_EQ(layers().LayerAt(220, 40), polygon);
    EXPECT_EQ(layers().LayerAt(170, 20), nullptr);
    QTest::keyClick(editor.get(), Qt::Key_Left);
    EXPECT_EQ(polygon->CoordsText(), "199,30,239,30,219,60");
}

TEST_F(EditorGestures, DoubleClickDeletesGuideAndEditsArea)
{
    doc().AddVerticalGuide(50, 200);
    doc().DragGuideStep(50, 0);
    doc().FDragGuide = nullptr;
    DoubleClick({50, 100});
    EXPECT_TRUE(LayersOfKind(lkGuideX).empty());

    editor->SetToolMode(TToolMode::tmMapRect);
    Drag({100, 100}, {150, 150});
    editor->SetToolMode(TToolMode::tmNone);
    auto* area = static_cast<TImageMapLyer*>(LayersOfKind(lkMapShape)[0]);
    ModalProbe<TFmImgTag> probe([&](TFmImgTag& dialog) {
        EXPECT_EQ(dialog.parentWidget(), editor.get());
        EXPECT_EQ(dialog.EdUseMap().text(), QString::fromStdString("ImgMap" + std::to_string(area->FId)));
        dialog.EdHref().setText("b.html");
        dialog.BuOK().click();
    });
    DoubleClick({120, 120});
    EXPECT_EQ(probe.Seen(), 1);
    EXPECT_EQ(area->FHref, "b.html"); // the dialog edited that area
    EXPECT_EQ(LayersOfKind(lkMapShape).size(), 1u);
}

TEST_F(EditorGestures, KeyRules)
{
    const auto guides = [&] { return LayersOfKind(lkGuideX).size(); };
    for (int i = 0; i < 6; ++i)
        doc().AddVerticalGuide(10 + i * 10, 200);
    QTest::keyClick(editor.get(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(editor.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(editor.get(), Qt::Key_Delete);
    EXPECT_EQ(guides(), 3u);
    QTest::keyClick(editor.get(), Qt::Key_Z, Qt::ShiftModifier);
    QTest::keyClick(editor.get(), Qt::Key_Z, Qt::AltModifier);
    EXPECT_EQ(guides(), 3u);
    EXPECT_EQ(editor->GetToolMode(), TToolMode::tmNone);

    QTest::keyClick(editor.get(), Qt::Key_Z); // zoom tool on, then off with its cursor
    EXPECT_EQ(editor->GetToolMode(), TToolMode::tmZoomIn);
    EXPECT_EQ(image().OwnCursor(), TCursor::crZoomIn);
    QTest::keyClick(editor.get(), Qt::Key_Z);
    EXPECT_EQ(editor->GetToolMode(), TToolMode::tmNone);
    EXPECT_EQ(image().OwnCursor(), TCursor::crDefault);

    QTest::keyClick(editor.get(), Qt::Key_A);
    EXPECT_EQ(editor->GetToolMode(), TToolMode::tmSelect);
    QTest::keyClick(editor.get(), Qt::Key_A);
    EXPECT_EQ(editor->GetToolMode(), TToolMode::tmNone);
    EXPECT_EQ(doc().FToolMode, TToolMode::tmNone);

    QTest::keyClick(editor.get(), Qt::Key_Plus); // the main keyboard's plus does not zoom
    EXPECT_EQ(editor->GetScalePercent(), 100);
    QTest::keyClick(editor.get(), Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(editor->GetScalePercent(), 110);
    QTest::keyClick(editor.get(), Qt::Key_Minus, Qt::KeypadModifier);
    QTest::keyClick(editor.get(), Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_EQ(editor->GetScalePercent(), 90);
    QTest::keyClick(editor.get(), Qt::Key_Slash, Qt::KeypadModifier);
    EXPECT_EQ(editor->GetScalePercent(), 100);
}

TEST_F(EditorGestures, ArrowKeysNudgeTheCurrentLayerOnly)
{
    QTest::keyClick(editor.get(), Qt::Key_Right); // nothing pressed yet: nothing happens
    editor->SetToolMode(TToolMode::tmSelect);
    Drag({20, 20}, {40, 40});
    auto* band = static_cast<TRubberbandLayer*>(LayersOfKind(lkSelection)[0]);
    QTest::keyClick(editor.get(), Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(editor.get(), Qt::Key_Down);
    EXPECT_EQ(band->Bounds(), (TFloatBounds{21, 21, 41, 41}));
}

TEST_F(EditorGestures, ZoomToolsAndWheel)
{
    editor->SetToolMode(TToolMode::tmZoomIn);
    QTest::mouseClick(&image(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(editor->GetScalePercent(), 110);
    QTest::mouseClick(&image(), Qt::LeftButton, Qt::AltModifier, QPoint(10, 10));
    EXPECT_EQ(editor->GetScalePercent(), 100);
    editor->SetToolMode(TToolMode::tmZoomOut);
    QTest::mouseClick(&image(), Qt::LeftButton, Qt::AltModifier, QPoint(10, 10));
    EXPECT_EQ(editor->GetScalePercent(), 90);

    const auto wheel = [&](int delta) {
        QWheelEvent e(QPointF(10, 10), image().mapToGlobal(QPointF(10, 10)), {}, QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(editor.get(), &e);
    };
    wheel(60);
    EXPECT_EQ(editor->GetScalePercent(), 90); // half a notch: nothing yet
    wheel(60);
    EXPECT_EQ(editor->GetScalePercent(), 100);
    wheel(-240);
    EXPECT_EQ(editor->GetScalePercent(), 80);
}

TEST_F(EditorGestures, CloseAsksOnlyForPicturesWithoutFile)
{
    messages.Answers = {TMsgButton::No, TMsgButton::Yes};
    EXPECT_FALSE(editor->close());
    EXPECT_TRUE(editor->isVisible());
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Caption, QStringLiteral("종료 확인"));
    EXPECT_EQ(messages.Shown[0].Text, QStringLiteral("현재 이미지 편집창을 닫겠습니까?"));
    EXPECT_EQ(messages.Shown[0].DefaultButton, TMsgButton::No);
    EXPECT_EQ(messages.Shown[0].Icon, TMsgIcon::Question);
    EXPECT_TRUE(editor->close());

    doc().FFileName = "/tmp/a.png";
    editor->show();
    EXPECT_TRUE(editor->close());
    EXPECT_EQ(messages.Shown.size(), 2u);
}

TEST_F(EditorGestures, ReadoutsOfPositionAndColour)
{
    image().Bitmap().SetPixel(7, 9, 0xFF112233);
    int moves = 0, downs = 0;
    editor->OnChangeMousePosition = [&](TFmEditor&) { ++moves; };
    editor->OnImgMouseDown = [&](TFmEditor&) { ++downs; };
    QTest::mouseMove(&image(), QPoint(7, 9));
    EXPECT_GE(moves, 1);
    EXPECT_EQ(editor->GetMousePos(), (TPoint{7, 9}));
    EXPECT_EQ(editor->GetMouseColor(), MakeColor(0x11, 0x22, 0x33));
    QTest::mouseClick(&image(), Qt::LeftButton, {}, QPoint(7, 9));
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(editor->GetDownPoint(), (TPoint{7, 9}));
    EXPECT_EQ(editor->GetDownColor(), MakeColor(0x11, 0x22, 0x33));
    QTest::mouseClick(&image(), Qt::RightButton, {}, QPoint(8, 9));
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(editor->PopupPoint(), (TPoint{8, 9}));
}

TEST(EditorEmptyPicture, GesturesAreHarmless)
{
    TScriptedMessageSeam messages;
    TFmEditor editor(messages);
    editor.resize(400, 300);
    editor.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));
    for (TToolMode mode : {TToolMode::tmNone, TToolMode::tmSelect, TToolMode::tmMapRect, TToolMode::tmMapCircle,
                           TToolMode::tmMapPolygon, TToolMode::tmZoomIn}) {
        editor.SetToolMode(mode);
        QTest::mousePress(editor.ScrollBox().viewport(), Qt::LeftButton, {}, QPoint(50, 50));
        QTest::mouseRelease(editor.ScrollBox().viewport(), Qt::LeftButton, {}, QPoint(60, 60));
        editor.ImageMouseDown(TMouseButton::mbLeft, 0, 5, 5, nullptr);
        editor.ImageMouseMove(ssLeft, 9, 9, nullptr);
        editor.ImageMouseUp(TMouseButton::mbLeft, 0, 9, 9, nullptr);
        QTest::keyClick(&editor, Qt::Key_Delete);
        QTest::keyClick(&editor, Qt::Key_Left);
    }
    EXPECT_EQ(editor.GetMouseColor(), clInvalidColor);
    const QImage shot = editor.Image().grab().toImage();
    ASSERT_FALSE(shot.isNull());
    EXPECT_EQ(shot.pixelColor(10, 10), QColor(Qt::white));
}
