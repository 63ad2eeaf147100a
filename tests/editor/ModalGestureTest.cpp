// A dialog or menu that opens in the middle of a gesture takes the release with it. The gesture must
// end there as the release would have ended it, or the layer pressed keeps the pointer and the next
// press anywhere moves it. Driven as the window system drives the program: every event goes through
// the editor's window, with time stamps, so the toolkit itself makes the double clicks and blocks
// the window while a dialog is open.
#include "EditorFixture.h"
#include "core/ImgMap.h"
#include "dialogs/FmImgMapAll.h"
#include "dialogs/FmImgTag.h"
#include "editor/EditorPopupMenu.h"
#include "support/ModalProbe.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QWindow>

using namespace tavrin;
using tavrin::test::EditorFixture;
using tavrin::test::ModalProbe;

namespace {

struct ModalGesture : EditorFixture
{
    TImageMapLyer* areaA = nullptr; // image (20, 20) - (80, 80)
    TImageMapLyer* areaB = nullptr; // image (150, 100) - (250, 160)

    void OpenWithAreas()
    {
        Open(300, 200);
        editor->SetToolMode(TToolMode::tmMapRect);
        Drag({20, 20}, {80, 80});
        Drag({150, 100}, {250, 160});
        editor->SetToolMode(TToolMode::tmNone);
        ASSERT_EQ(LayersOfKind(lkMapShape).size(), 2u);
        areaA = static_cast<TImageMapLyer*>(LayersOfKind(lkMapShape)[0]);
        areaB = static_cast<TImageMapLyer*>(LayersOfKind(lkMapShape)[1]);
    }

    // One pointer event at view point `at`, as the window system reports it to the editor's window.
    void Send(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, QPoint at)
    {
        QWindow* window = editor->windowHandle();
        QTest::lastMouseTimestamp += 5;
        qt_handleMouseEvent(window, image().mapTo(editor.get(), at), image().mapToGlobal(at), held, button,
                            type, Qt::NoModifier, QTest::lastMouseTimestamp);
    }
    void Press(QPoint at, Qt::MouseButton button = Qt::LeftButton)
    {
        Send(QEvent::MouseButtonPress, button, button, at);
    }
    void Release(QPoint at, Qt::MouseButton button = Qt::LeftButton)
    {
        Send(QEvent::MouseButtonRelease, button, Qt::NoButton, at);
        QTest::lastMouseTimestamp += 1000; // the next press starts no double click
    }
    void Click(QPoint at, Qt::MouseButton button = Qt::LeftButton)
    {
        Press(at, button);
        Release(at, button);
    }
    void DragTo(QPoint from, QPoint to)
    {
        Press(from);
        Send(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, (from + to) / 2);
        Send(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, to);
        Release(to);
    }
    // A double click whose second press opens the tag dialog. The user lets go of the button while
    // the dialog is open: the release reaches the window system over the blocked editor window.
    // `close` then ends the dialog. Returns the map name the dialog showed.
    QString DoubleClickTag(QPoint at, const std::function<void(TFmImgTag&)>& close)
    {
        QString shown;
        ModalProbe<TFmImgTag> probe([&](TFmImgTag& dialog) {
            shown = dialog.EdUseMap().text();
            Send(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, at);
            close(dialog);
        });
        Press(at);
        Send(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, at);
        Press(at);
        QTest::lastMouseTimestamp += 1000;
        EXPECT_EQ(probe.Seen(), 1);
        return shown;
    }
    static QString MapNameOf(const TImageMapLyer* area) { return QStringLiteral("ImgMap%1").arg(area->FId); }
};

TFloatBounds Shifted(TFloatBounds b, float dx, float dy)
{
    return {b.Left + dx, b.Top + dy, b.Right + dx, b.Bottom + dy};
}

} // namespace

TEST_F(ModalGesture, AfterTheTagDialogTheNextDragMovesTheAreaUnderThePointer)
{
    OpenWithAreas();
    struct Way
    {
        const char* Name;
        std::function<void(TFmImgTag&)> Close;
    };
    const Way ways[] = {
        {"OK", [](TFmImgTag& d) { d.BuOK().click(); }},
        {"close button", [](TFmImgTag& d) { d.BuClose().click(); }},
        {"close box",
         [](TFmImgTag& d) {
             QCloseEvent close;
             QCoreApplication::sendEvent(d.windowHandle(), &close);
         }},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.Name);
        const TFloatBounds a = areaA->Bounds(), b = areaB->Bounds();
        EXPECT_EQ(DoubleClickTag({50, 50}, way.Close), MapNameOf(areaA));
        EXPECT_EQ(layers().CapturedLayer(), nullptr);
        DragTo({200, 130}, {230, 150});
        EXPECT_EQ(areaA->Bounds(), a);
        EXPECT_EQ(areaB->Bounds(), Shifted(b, 30, 20));
        DragTo({230, 150}, {200, 130}); // and back, for the next way
        EXPECT_EQ(areaB->Bounds(), b);
    }
}

TEST_F(ModalGesture, AfterTheTagDialogPressesReachWhatIsUnderThePointer)
{
    OpenWithAreas();
    editor->SetToolMode(TToolMode::tmMapPolygon);
    for (QPoint p : {QPoint(100, 150), QPoint(140, 150), QPoint(120, 190)})
        Click(p);
    editor->SetToolMode(TToolMode::tmNone);
    TMapPolygonLayer* polygon = doc().FPolygon;
    ASSERT_NE(polygon, nullptr);
    const auto ok = [](TFmImgTag& d) { d.BuOK().click(); };

    // A right press on B, then the menu's tag item: B's dialog.
    DoubleClickTag({50, 50}, ok);
    Click({200, 130}, Qt::RightButton);
    ASSERT_TRUE(editor->PopupMenu().isVisible());
    QString shown;
    ModalProbe<TFmImgTag> fromMenu([&](TFmImgTag& d) { shown = d.EdUseMap().text(); });
    editor->PopupMenu().setActiveAction(editor->PopupMenu().PMIImgMap);
    QTest::keyClick(&editor->PopupMenu(), Qt::Key_Return);
    EXPECT_EQ(fromMenu.Seen(), 1);
    EXPECT_EQ(shown, MapNameOf(areaB));

    // A double click on the polygon after one on a rectangle: the polygon's dialog.
    DoubleClickTag({50, 50}, ok);
    EXPECT_EQ(DoubleClickTag({120, 160}, ok), MapNameOf(polygon));

    // The next plain click is the user's: it makes B the layer the arrow keys move.
    DoubleClickTag({50, 50}, ok);
    Click({200, 130});
    EXPECT_EQ(doc().FCurrentLayer, areaB);
    const TFloatBounds a = areaA->Bounds(), b = areaB->Bounds();
    QTest::keyClick(editor.get(), Qt::Key_Right);
    EXPECT_EQ(areaA->Bounds(), a);
    EXPECT_EQ(areaB->Bounds(), Shifted(b, 1, 0));
}

// Any modal dialog, whatever opened it, ends a gesture under way: a selection being dragged stops
// with the capture, and moves after the dialog leave it where the dialog found it.
TEST_F(ModalGesture, ADialogDuringADragEndsIt)
{
    Open(300, 200);
    editor->SetToolMode(TToolMode::tmSelect);
    DragTo({100, 100}, {200, 160});
    ASSERT_EQ(LayersOfKind(lkSelection).size(), 1u);
    auto* band = static_cast<TRubberbandLayer*>(LayersOfKind(lkSelection)[0]);
    Press({150, 130});
    Send(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, {160, 130});
    ASSERT_TRUE(band->Dragging());
    const TFloatBounds atDialog = band->Bounds();
    ModalProbe<TFmImgMapAll> probe([&](TFmImgMapAll&) {
        Send(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {160, 130});
    });
    editor->ShowAllTags(); // as its shortcut would, with the button still down
    EXPECT_EQ(probe.Seen(), 1);
    EXPECT_FALSE(band->Dragging());
    EXPECT_EQ(layers().CapturedLayer(), nullptr);
    Send(QEvent::MouseMove, Qt::NoButton, Qt::NoButton, {190, 150});
    EXPECT_EQ(band->Bounds(), atDialog);
    EXPECT_EQ(doc().FSelRegion, (TRect{110, 100, 210, 160}));
}

// The context menu takes the pointer too: a left press still held when it opens ends there.
TEST_F(ModalGesture, TheContextMenuEndsAGestureUnderWay)
{
    OpenWithAreas();
    const TFloatBounds b = areaB->Bounds();
    Press({200, 130});
    Send(QEvent::MouseButtonPress, Qt::RightButton, Qt::LeftButton | Qt::RightButton, {200, 130});
    Send(QEvent::MouseButtonRelease, Qt::RightButton, Qt::LeftButton, {200, 130});
    ASSERT_TRUE(editor->PopupMenu().isVisible());
    EXPECT_EQ(layers().CapturedLayer(), nullptr);
    EXPECT_FALSE(image().ButtonHeld(TMouseButton::mbLeft));
    editor->PopupMenu().hide(); // the left button was let go over the menu
    const TFloatBounds a = areaA->Bounds();
    DragTo({50, 50}, {60, 50});
    EXPECT_EQ(areaA->Bounds(), Shifted(a, 10, 0));
    EXPECT_EQ(areaB->Bounds(), b);
}
