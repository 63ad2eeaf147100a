#include "editor/FmEditor.h"
#include "editor/Image32.h"
#include "services/FileDialogSeam.h"
#include "services/IniFileStorage.h"
#include "services/MessageSeamScripted.h"
#include "MainFormFixture.h"
#include "shell/MainForm.h"
#include "shell/StatusBar.h"
#include "shell/ToolPanel.h"
#include "shell/ToolPanelParts.h"
#include "shell/ToolPictures.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QEnterEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPaintEvent>
#include <QPointer>
#include <QPushButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace tavrin;

namespace {

using B = TToolPanel::TButton;

// A picture whose pixel (x, y) has red x and green y, so every read-out names its pixel.
void FillCoordinatePicture(TFmEditor& editor, int width, int height)
{
    TBitmap32& b = editor.Image().Bitmap();
    b.SetSize(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            b.ScanLine(y)[x] = OpaquePixelOf(MakeColor(static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 7));
    editor.Image().BitmapChanged();
    editor.UpdateImageSize();
}

// Runs `act` on the colour dialog once it shows; the dialog is then closed by `act`.
void OnColorDialog(std::function<void(QColorDialog&)> act)
{
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        act(*dialog);
    });
}

struct ToolPanelFixture : test::MainFormFixture<test::NoFileDialogs>
{
    TToolPanel& panel() { return form->ToolPanel(); }
    TMainStatusBar& bar() { return form->StatusBarPanels(); }
    TImgButton& button(B b) { return panel().Button(b); }

    // The picture each of the nine buttons shows, relative to its first one (0 normal, 1 hover, 2 selected).
    std::vector<int> States()
    {
        std::vector<int> states;
        for (int i = 0; i < TToolPanel::kButtonCount; ++i)
            states.push_back(button(B(i)).ImageIndex() - button(B(i)).Tag());
        return states;
    }
    void Enter(QWidget& w)
    {
        QEnterEvent enter(QPointF(5, 5), w.mapToGlobal(QPointF(5, 5)), w.mapToGlobal(QPointF(5, 5)));
        QApplication::sendEvent(&w, &enter);
    }
    void Leave(QWidget& w)
    {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&w, &leave);
    }
};

TEST_F(ToolPanelFixture, PanelItemsSitAtTheirPlaces)
{
    EXPECT_EQ(panel().width(), 37);
    EXPECT_EQ(panel().palette().color(QPalette::Window), QColor(Qt::white));
    const std::vector<QImage>& list = ImageListIcon();
    ASSERT_EQ(list.size(), 27u);
    for (const QImage& picture : list)
        EXPECT_EQ(picture.size(), QSize(31, 23));
    EXPECT_EQ(panel().ShapeSelected().geometry(), QRect(9, 63, 18, 18));
    EXPECT_EQ(panel().ShapeSplitBar().geometry(), QRect(9, 136, 18, 18));
    EXPECT_EQ(panel().ShapeSelected().BrushColor(), clWhite);
    EXPECT_EQ(panel().ShapeSplitBar().BrushColor(), MakeColor(0, 128, 0));
    EXPECT_EQ(panel().ShapeSelected().cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(panel().LabelMouseX().text(), "X : 0");
    EXPECT_EQ(button(B::ImgBuLinkPolygon).geometry(), QRect(2, 363, 32, 24));
    EXPECT_EQ(button(B::ImgViewOrg).geometry(), QRect(2, 475, 32, 24));
    EXPECT_EQ(button(B::ImgViewOrg).toolTip(), QStringLiteral("원본이미지"));
    EXPECT_EQ(States(), std::vector<int>(9, 0));
    EXPECT_EQ(bar().PanelText(0), QStringLiteral("현재 마우스 위치 : 0, 0"));
    EXPECT_EQ(bar().PanelText(2), QStringLiteral("100%"));
    EXPECT_EQ(bar().PointerColor(), clBlack);
    EXPECT_EQ(bar().height(), 19);
    EXPECT_EQ(bar().PanelRect(0).width(), 200);
    EXPECT_EQ(bar().PanelRect(1).width(), 20);
    EXPECT_EQ(bar().PanelRect(2).width(), 100);
}

TEST_F(ToolPanelFixture, SelectedButtonFollowsToolModeAndMagnet)
{
    TFmEditor* editor = form->NewEditor();
    struct
    {
        int Mode;
        int Selected; // -1: none
    } const cases[] = {{0, B::ImgBuMouse},       {1, -1},           {2, B::ImgBuRect},      {3, B::ImgBuLinkPolygon},
                       {4, B::ImgBuLinkRect},    {5, B::ImgBuLinkCircle}, {6, B::ImgViewPlus}, {7, B::ImgViewMinus},
                       {9, -1}};
    for (bool magnet : {false, true})
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << "mode " << c.Mode << " magnet " << magnet);
            editor->SetToolMode(static_cast<TToolMode>(c.Mode));
            editor->SetIsMagnet(magnet);
            panel().RefreshToolPanel();
            std::vector<int> expected(9, 0);
            if (c.Selected >= 0)
                expected[static_cast<std::size_t>(c.Selected)] = 2;
            if (magnet)
                expected[B::ImgBuMagnet] = 2;
            EXPECT_EQ(States(), expected);
        }
}

TEST_F(ToolPanelFixture, ButtonClicksSetTheToolOfTheActiveEditor)
{
    TFmEditor* first = form->NewEditor();
    struct
    {
        B Button;
        TToolMode Mode;
    } const tools[] = {{B::ImgBuRect, TToolMode::tmSelect},       {B::ImgBuLinkRect, TToolMode::tmMapRect},
                       {B::ImgBuLinkCircle, TToolMode::tmMapCircle}, {B::ImgBuLinkPolygon, TToolMode::tmMapPolygon},
                       {B::ImgViewPlus, TToolMode::tmZoomIn},     {B::ImgViewMinus, TToolMode::tmZoomOut},
                       {B::ImgBuMouse, TToolMode::tmNone}};
    for (const auto& t : tools) {
        QTest::mouseClick(&button(t.Button), Qt::LeftButton);
        EXPECT_EQ(first->GetToolMode(), t.Mode) << button(t.Button).objectName().toStdString();
    }
    QTest::mouseClick(&button(B::ImgBuMagnet), Qt::LeftButton);
    EXPECT_TRUE(first->IsMagnet());
    QTest::mouseClick(&button(B::ImgBuLinkRect), Qt::LeftButton);
    Leave(button(B::ImgBuLinkRect));
    EXPECT_EQ(States(), (std::vector<int>{0, 0, 2, 2, 0, 0, 0, 0, 0}));

    first->ChangeScale(1.0f);
    QTest::mouseClick(&button(B::ImgViewOrg), Qt::LeftButton);
    EXPECT_EQ(first->GetScalePercent(), 100);
    EXPECT_EQ(bar().PanelText(2), QStringLiteral("100%"));

    // Each editor window keeps its own tool; the panel shows the one brought forward.
    TFmEditor* second = form->NewEditor();
    EXPECT_EQ(States(), (std::vector<int>{2, 0, 0, 0, 0, 0, 0, 0, 0}));
    QTest::mouseClick(&button(B::ImgViewMinus), Qt::LeftButton);
    Leave(button(B::ImgViewMinus));
    form->MdiArea().setActiveSubWindow(qobject_cast<QMdiSubWindow*>(first->parentWidget()));
    EXPECT_EQ(States(), (std::vector<int>{0, 0, 2, 2, 0, 0, 0, 0, 0}));
    form->MdiArea().setActiveSubWindow(qobject_cast<QMdiSubWindow*>(second->parentWidget()));
    EXPECT_EQ(States(), (std::vector<int>{0, 0, 0, 0, 0, 0, 0, 2, 0}));
    EXPECT_EQ(second->GetToolMode(), TToolMode::tmZoomOut);
    EXPECT_EQ(first->GetToolMode(), TToolMode::tmMapRect);
}

TEST_F(ToolPanelFixture, PointerOverButtonsWithoutAndWithAnEditor)
{
    // No editor window: hovering changes nothing; a view button still shows press and release.
    Enter(button(B::ImgBuRect));
    EXPECT_EQ(States(), std::vector<int>(9, 0));
    QTest::mousePress(&button(B::ImgViewPlus), Qt::LeftButton);
    EXPECT_EQ(States()[B::ImgViewPlus], 2);
    QTest::mouseRelease(&button(B::ImgViewPlus), Qt::LeftButton);
    EXPECT_EQ(States()[B::ImgViewPlus], 1);
    Leave(button(B::ImgViewPlus));
    EXPECT_EQ(States()[B::ImgViewPlus], 1) << "the hover picture stays: nothing to refresh from";

    // With one: hover shows the raised picture; a click on a zoom tool selects it, hover while the
    // pointer stays, selected once it leaves.
    form->NewEditor();
    Enter(button(B::ImgBuLinkCircle));
    EXPECT_EQ(States()[B::ImgBuLinkCircle], 1);
    Leave(button(B::ImgBuLinkCircle));
    EXPECT_EQ(States()[B::ImgBuLinkCircle], 0);
    Enter(button(B::ImgViewMinus));
    QTest::mousePress(&button(B::ImgViewMinus), Qt::RightButton);
    EXPECT_EQ(States()[B::ImgViewMinus], 2);
    QTest::mouseRelease(&button(B::ImgViewMinus), Qt::RightButton);
    EXPECT_EQ(form->ActiveEditor()->GetToolMode(), TToolMode::tmNone) << "only a left click runs the command";
    QTest::mouseClick(&button(B::ImgViewMinus), Qt::LeftButton);
    EXPECT_EQ(States(), (std::vector<int>{0, 0, 0, 0, 0, 0, 0, 1, 0}));
    Leave(button(B::ImgViewMinus));
    EXPECT_EQ(States(), (std::vector<int>{0, 0, 0, 0, 0, 0, 0, 2, 0}));
}

TEST_F(ToolPanelFixture, ReadoutsOfPressMoveAndZoom)
{
    TFmEditor* editor = form->NewEditor();
    FillCoordinatePicture(*editor, 200, 100);
    editor->ChangeScale(0);
    editor->ChangeScale(1.0f);
    EXPECT_EQ(bar().PanelText(2), QStringLiteral("200%"));
    QApplication::processEvents();

    QTest::mousePress(&editor->Image(), Qt::LeftButton, {}, QPoint(300, 120));
    QTest::mouseRelease(&editor->Image(), Qt::LeftButton, {}, QPoint(300, 120));
    EXPECT_EQ(panel().LabelMouseX().text(), QStringLiteral("X : 300"));
    EXPECT_EQ(panel().LabelMouseY().text(), QStringLiteral("Y : 120"));
    EXPECT_EQ(panel().ShapeSelected().BrushColor(), MakeColor(150, 60, 7));

    // The pointer position is the view position over the zoom, rounded halves to even.
    editor->ImageMouseMove(0, 301, 123, nullptr);
    EXPECT_EQ(bar().PanelText(0), QStringLiteral("현재 마우스 위치:150, 62"));
    EXPECT_EQ(bar().PointerColor(), MakeColor(150, 62, 7));

    for (auto [step, text] : {std::pair{-0.8f, "20%"}, std::pair{0.5f, "150%"}}) {
        editor->ChangeScale(0);
        editor->ChangeScale(step);
        EXPECT_EQ(bar().PanelText(2), QString::fromUtf8(text));
    }
}

namespace {

// What the read-outs show.
struct TShown
{
    QString Zoom, Position, X, Y;
    TColor Pointer, Picked;
    std::vector<int> Buttons;
    bool operator==(const TShown&) const = default;
    friend void PrintTo(const TShown& s, std::ostream* out)
    {
        *out << s.Zoom.toStdString() << " | " << s.Position.toStdString() << " | " << s.X.toStdString() << " "
             << s.Y.toStdString() << " | pointer " << std::hex << std::uint32_t(s.Pointer) << " picked " << std::uint32_t(s.Picked)
             << std::dec << " | buttons";
        for (int b : s.Buttons)
            *out << ' ' << b;
    }
};

} // namespace

// Every read-out shows the window brought forward, whether by its tab or by the frame, follows a zoom at
// once (the pointer standing still), and goes back to its start when the last window has closed.
TEST_F(ToolPanelFixture, ReadoutsShowTheActiveWindow)
{
    TFmEditor* first = form->NewEditor();
    FillCoordinatePicture(*first, 400, 200);
    first->ChangeScale(1.0f);
    QTest::mouseClick(&button(B::ImgBuRect), Qt::LeftButton);
    Leave(button(B::ImgBuRect));
    QTest::mouseClick(&first->Image(), Qt::LeftButton, {}, QPoint(300, 120));
    first->ImageMouseMove(0, 301, 123, nullptr);

    TFmEditor* second = form->NewEditor();
    FillCoordinatePicture(*second, 200, 100);
    QTest::mouseClick(&second->Image(), Qt::LeftButton, {}, QPoint(10, 20));
    second->ImageMouseMove(0, 11, 22, nullptr);
    QApplication::processEvents();

    const auto shown = [&] {
        return TShown{bar().PanelText(2), bar().PanelText(0), panel().LabelMouseX().text(),
                      panel().LabelMouseY().text(), bar().PointerColor(), panel().ShapeSelected().BrushColor(),
                      States()};
    };
    const TShown firstShown{"200%", "현재 마우스 위치:150, 62", "X : 300", "Y : 120", MakeColor(150, 62, 7),
                            MakeColor(150, 60, 7), {0, 2, 0, 0, 0, 0, 0, 0, 0}};
    const TShown secondShown{"100%", "현재 마우스 위치:11, 22", "X : 10", "Y : 20", MakeColor(11, 22, 7),
                             MakeColor(10, 20, 7), {2, 0, 0, 0, 0, 0, 0, 0, 0}};
    EXPECT_EQ(shown(), secondShown);
    QTabBar& tabs = form->PageControl();
    QTest::mouseClick(&tabs, Qt::LeftButton, {}, tabs.tabRect(0).center());
    ASSERT_EQ(form->ActiveEditor(), first);
    EXPECT_EQ(shown(), firstShown);
    QTest::mouseClick(&tabs, Qt::LeftButton, {}, tabs.tabRect(1).center());
    ASSERT_EQ(form->ActiveEditor(), second);
    EXPECT_EQ(shown(), secondShown);
    form->MdiArea().activatePreviousSubWindow();
    ASSERT_EQ(form->ActiveEditor(), first);
    EXPECT_EQ(shown(), firstShown);

    // A zoom moves the picture under the pointer: the position read-out names the pixel now there.
    first->ChangeScale(0);
    EXPECT_EQ(bar().PanelText(2), QStringLiteral("100%"));
    EXPECT_EQ(bar().PanelText(0), QStringLiteral("현재 마우스 위치:301, 123")); // unscrolled: the same view point
    EXPECT_EQ(bar().PointerColor(), MakeColor(301 - 256, 123, 7));

    for (TFmEditor* editor : {first, second}) {
        editor->Document().FFileName = "x";
        QPointer<QMdiSubWindow> sub = qobject_cast<QMdiSubWindow*>(editor->parentWidget());
        sub->close();
        for (int i = 0; i < 50 && sub; ++i)
            QTest::qWait(5);
    }
    QApplication::processEvents();
    ASSERT_EQ(form->ActiveEditor(), nullptr);
    EXPECT_EQ(shown(), (TShown{"100%", "현재 마우스 위치 : 0, 0", "X : 0", "Y : 0", clBlack, clWhite,
                               std::vector<int>(9, 0)}));
}

TEST_F(ToolPanelFixture, NoPixelUnderThePointerShowsNoColour)
{
    TFmEditor* editor = form->NewEditor();
    FillCoordinatePicture(*editor, 20, 10);
    editor->ChangeScale(0);
    editor->ImageMouseMove(0, 25, 5, nullptr); // right of the picture, on the white margin
    EXPECT_EQ(bar().PointerColor(), clInvalidColor);
    bar().repaint();
    const QImage shot = bar().grab().toImage();
    const QRect cell = bar().PanelRect(1).adjusted(1, 1, -1, -1);
    EXPECT_EQ(QColor(shot.pixel(cell.topLeft() + QPoint(1, 1))), QColor(Qt::white));
    const QColor mid = shot.pixel(cell.center());
    EXPECT_GT(mid.red(), 180);
    EXPECT_LT(mid.green(), 120) << "a red stroke across white: no colour";

    // A press there picks no colour: the copy entries are greyed, the clipboard is left alone.
    editor->Document().FDownPos = {25, 5};
    panel().EditorImgMouseDown();
    EXPECT_EQ(panel().ShapeSelected().BrushColor(), clInvalidColor);
    QApplication::clipboard()->setText(QStringLiteral("kept"));
    emit panel().PopupMenuColorPicker().aboutToShow();
    for (QAction* entry : panel().PopupMenuColorPicker().actions()) {
        EXPECT_FALSE(entry->isEnabled());
        entry->trigger();
    }
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("kept"));
}

TEST_F(ToolPanelFixture, MovesRepaintOnlyTheChangedPanels)
{
    TFmEditor* editor = form->NewEditor();
    FillCoordinatePicture(*editor, 200, 100);
    editor->ChangeScale(0);
    QApplication::processEvents();
    struct PaintLog : QObject
    {
        QRegion Painted;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::Paint)
                Painted += static_cast<QPaintEvent*>(e)->region();
            return false;
        }
    } log;
    bar().installEventFilter(&log);
    editor->ImageMouseMove(0, 10, 10, nullptr);
    QApplication::processEvents();
    EXPECT_FALSE(log.Painted.isEmpty());
    EXPECT_TRUE((log.Painted - bar().PanelRect(0).united(bar().PanelRect(1))).isEmpty());
    EXPECT_FALSE(log.Painted.intersects(bar().PanelRect(2)));
    log.Painted = {};
    editor->ImageMouseMove(0, 10, 10, nullptr); // nothing changed: nothing painted
    QApplication::processEvents();
    EXPECT_TRUE(log.Painted.isEmpty());
}

TEST_F(ToolPanelFixture, ColourCodeMenuCopiesTheSwatchColour)
{
    QMenu& menu = panel().PopupMenuColorPicker();
    struct
    {
        TColor Color;
        QStringList Captions;
    } const cases[] = {
        {MakeColor(18, 52, 86), {"HTML - #123456", "RGB - RGB(18, 52, 86)", "C++ - 0x563412", "Delphi - $00563412"}},
        {MakeColor(255, 0, 0), {"HTML - #FF0000", "RGB - RGB(255, 0, 0)", "C++ - 0xFF", "Delphi - clRed"}},
    };
    for (const auto& c : cases) {
        panel().ShapeSelected().SetBrushColor(c.Color);
        QTest::mousePress(&panel().ShapeSelected(), Qt::RightButton); // any button opens the menu
        ASSERT_TRUE(menu.isVisible());
        QStringList captions;
        for (QAction* entry : menu.actions())
            captions << entry->text();
        EXPECT_EQ(captions, c.Captions);
        menu.close();
        for (int i = 0; i < 4; ++i) {
            menu.actions()[i]->trigger();
            EXPECT_EQ(QApplication::clipboard()->text(), c.Captions[i].section(QStringLiteral(" - "), 1));
        }
    }
}

TEST_F(ToolPanelFixture, GuideColourThroughTheColourDialog)
{
    // No editor window: no dialog.
    QTest::mousePress(&panel().ShapeSplitBar(), Qt::LeftButton);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    TFmEditor* first = form->NewEditor();
    TFmEditor* second = form->NewEditor();
    form->ColorDialogColor = MakeColor(0x11, 0x22, 0x33);
    second->SetGuideColor(form->ColorDialogColor);
    QColor started;
    OnColorDialog([&](QColorDialog& d) {
        started = d.currentColor();
        EXPECT_TRUE(d.testOption(QColorDialog::DontUseNativeDialog));
        for (QPushButton* b : d.findChildren<QPushButton*>())
            EXPECT_FALSE(b->isVisible() && b->text() == QColorDialog::tr("&Add to Custom Colors"));
        d.setCurrentColor(QColor(0xAB, 0xCD, 0xEF));
        d.reject();
    });
    QTest::mousePress(&panel().ShapeSplitBar(), Qt::LeftButton);
    EXPECT_EQ(started, QColor(0x11, 0x22, 0x33));
    EXPECT_EQ(second->Document().FGuideColor, MakeColor(0x11, 0x22, 0x33));
    EXPECT_EQ(panel().ShapeSplitBar().BrushColor(), MakeColor(0, 128, 0));
    EXPECT_EQ(form->ColorDialogColor, MakeColor(0x11, 0x22, 0x33));

    OnColorDialog([](QColorDialog& d) {
        d.setCurrentColor(QColor(0xAB, 0xCD, 0xEF));
        d.accept();
    });
    panel().ActionSplitColorChangeExecute();
    const TColor chosen = MakeColor(0xAB, 0xCD, 0xEF);
    EXPECT_EQ(second->Document().FGuideColor, chosen);
    EXPECT_EQ(first->Document().FGuideColor, MakeColor(0, 128, 0)) << "other windows keep theirs";
    EXPECT_EQ(panel().ShapeSplitBar().BrushColor(), chosen);
    EXPECT_EQ(form->ColorDialogColor, chosen);
    EXPECT_EQ(form->NewEditor()->Document().FGuideColor, chosen);
}

TEST_F(ToolPanelFixture, LongHintsOfControlsAndMenuEntries)
{
    Enter(button(B::ImgBuMagnet));
    EXPECT_EQ(bar().PanelText(0), QStringLiteral("사각툴 자석효과"));
    Leave(button(B::ImgBuMagnet));
    EXPECT_EQ(bar().PanelText(0), QString());

    QMenu* file = form->menuBar()->actions().first()->menu();
    ASSERT_NE(file, nullptr);
    QAction* first = file->actions().first();
    ASSERT_FALSE(first->statusTip().isEmpty());
    file->popup(form->mapToGlobal(QPoint(50, 50)));
    QTest::keyClick(file, Qt::Key_Down);
    EXPECT_EQ(file->activeAction(), first);
    EXPECT_EQ(bar().PanelText(0), first->statusTip());
    file->close();
}

} // namespace
