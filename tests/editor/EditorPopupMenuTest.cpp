#include "EditorFixture.h"
#include "core/ImgMap.h"
#include "dialogs/FmGIF.h"
#include "dialogs/FmImgTag.h"
#include "editor/EditorPopupMenu.h"
#include "services/FileDialogSeamScripted.h"
#include "support/ModalProbe.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPushButton>
#include <QTemporaryDir>

using namespace tavrin;
using tavrin::test::EditorFixture;
using tavrin::test::ModalProbe;

namespace {

struct EditorPopup : EditorFixture
{
    TEditorPopupMenu& menu() { return editor->PopupMenu(); }

    // A picture with a rectangle area at (20..80), a vertical guide at x = 150 and a selection at
    // (200..280, 120..180), in view pixels at 100 %, with the pointer tool chosen.
    void OpenWithLayers()
    {
        Open(300, 200);
        doc().AddVerticalGuide(2, 200);
        doc().DragGuideStep(150, 0);
        doc().FDragGuide = nullptr;
        editor->SetToolMode(TToolMode::tmMapRect);
        Drag({20, 20}, {80, 80});
        editor->SetToolMode(TToolMode::tmSelect);
        Drag({200, 120}, {280, 180});
        editor->SetToolMode(TToolMode::tmNone);
        ASSERT_EQ(LayersOfKind(lkMapShape).size(), 1u);
        ASSERT_EQ(LayersOfKind(lkSelection).size(), 1u);
    }

    // A right click that opens the menu; returns with the menu open.
    void RightClick(QPoint at)
    {
        menu().hide();
        QTest::mouseMove(&image(), at);
        QTest::mouseClick(&image(), Qt::RightButton, {}, at);
        ASSERT_TRUE(menu().isVisible());
    }

    // Chooses an item the way a user does with the keyboard in the open menu; a colour item through
    // its submenu, opened with the right arrow key.
    void Choose(QAction* item)
    {
        QMenu* within = &menu();
        if (menu().PMColorMenu->actions().contains(item)) {
            menu().setActiveAction(menu().PMColor);
            QTest::keyClick(&menu(), Qt::Key_Right);
            ASSERT_TRUE(menu().PMColorMenu->isVisible());
            within = menu().PMColorMenu;
        }
        within->setActiveAction(item);
        QTest::keyClick(within, Qt::Key_Return);
    }
};

TEST_F(EditorPopup, ItemsInOrderWithTheirCaptions)
{
    Open(40, 30);
    QStringList captions;
    for (QAction* item : menu().actions())
        captions << item->text();
    EXPECT_EQ(captions, QStringList({"이미지맵 태그 생성", "이미지 저장(&S)", "투명 GIF로 저장(&G)", "작업 취소(&C)",
                                     "test", "색상 복사"}));
    EXPECT_FALSE(menu().PMIImgMap->isVisible()); // hidden until a press on an area
    EXPECT_EQ(menu().PMColor->menu(), menu().PMColorMenu);
    QStringList colourItems;
    QList<int> tags;
    for (QAction* item : menu().PMColorMenu->actions()) {
        colourItems << item->text();
        tags << item->data().toInt();
    }
    EXPECT_EQ(colourItems, QStringList({"HTML 방식", "RGB 방식", "C++ 방식", "Delphi 방식"}));
    EXPECT_EQ(tags, QList<int>({51, 52, 53, 54}));
}

TEST_F(EditorPopup, TagItemOnlyOnAnAreaPreviewEverywhereElse)
{
    OpenWithLayers();
    struct Step
    {
        QPoint At;
        bool OnArea;
    };
    // Each spot after each other kind of spot: the rules depend on the press alone.
    const Step steps[] = {{{50, 50}, true},   {{151, 100}, false}, {{50, 50}, true}, {{240, 150}, false},
                          {{60, 30}, true},   {{100, 150}, false}, {{240, 150}, false}, {{50, 50}, true}};
    for (const Step& step : steps) {
        SCOPED_TRACE(testing::Message() << step.At.x() << "," << step.At.y());
        RightClick(step.At);
        EXPECT_EQ(menu().PMIImgMap->isVisible(), step.OnArea);
        EXPECT_EQ(menu().PMImageView->isVisible(), !step.OnArea);
        // Visible items are laid out, hidden ones are not.
        EXPECT_EQ(menu().actionGeometry(menu().PMIImgMap).isEmpty(), !step.OnArea);
    }
    // A left press then does not change what the next right click decides.
    menu().hide();
    QTest::mouseClick(&image(), Qt::LeftButton, {}, {100, 150});
    RightClick({50, 50});
    EXPECT_TRUE(menu().PMIImgMap->isVisible());
}

TEST_F(EditorPopup, OpensOnTheRightReleaseOverThePicture)
{
    Open(300, 200);
    QTest::mousePress(&image(), Qt::RightButton, {}, {40, 40});
    EXPECT_FALSE(menu().isVisible()); // not at the press
    QTest::mouseRelease(&image(), Qt::RightButton, {}, {40, 40});
    EXPECT_TRUE(menu().isVisible());
    menu().hide();

    QTest::mousePress(&image(), Qt::RightButton, {}, {40, 40});
    QTest::mouseRelease(&image(), Qt::RightButton, {}, {image().width() + 30, 40}); // dragged off it
    EXPECT_FALSE(menu().isVisible());
    QTest::mouseClick(&image(), Qt::LeftButton, {}, {40, 40});
    EXPECT_FALSE(menu().isVisible());
}

TEST_F(EditorPopup, ColourCopyReadsThePixelUnderTheRightPressWithTheDocumentsRounding)
{
    Open(40, 30);
    TBitmap32& b = image().Bitmap();
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            b.SetPixel(x, y, MakeColor32(255, static_cast<std::uint8_t>(x * 5), static_cast<std::uint8_t>(y * 7), 0x30));
    image().BitmapChanged();
    editor->ChangeScale(1.0f); // 200 %: view 3 shows image column 1, yet the document rounds 1.5 to 2
    ASSERT_EQ(editor->GetScalePercent(), 200);
    RightClick({3, 7}); // image (2, 4) by rounding halves to even; (1, 3) by flooring
    // The pointer then moves on: the copy still reads the pixel of the press.
    QTest::mouseMove(&image(), {60, 50});

    struct Code
    {
        QAction* Item;
        const char* Text;
    };
    // Red 10, green 28, blue 48: the editor writes blue first, with every digit.
    const Code codes[] = {{menu().PMColorHTML, "#0A1C30"},
                          {menu().PMColorRGB, "RGB(10, 28, 48)"},
                          {menu().PMColorC, "0x301C0A"},
                          {menu().PMColorDelphi, "$00301C0A"}};
    for (const Code& code : codes) {
        SCOPED_TRACE(code.Text);
        QGuiApplication::clipboard()->setText("old");
        if (!menu().isVisible())
            RightClick({3, 7});
        Choose(code.Item);
        EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromLatin1(code.Text));
    }
}

TEST_F(EditorPopup, ColourCopyOffThePictureGivesTheInvalidColoursBytes)
{
    // No picture yet: the view is white and there is no pixel to read.
    editor = std::make_unique<TFmEditor>(messages);
    editor->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(editor.get()));
    RightClick({10, 10});
    Choose(menu().PMColorDelphi);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "$00FFFFFF");
    RightClick({10, 10});
    Choose(menu().PMColorHTML);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "#FFFFFF");
}

TEST_F(EditorPopup, ItemsReachTheirOperations)
{
    OpenWithLayers();

    RightClick({50, 50}); // on the area: the tag dialog edits it
    ModalProbe<TFmImgTag> tags([](TFmImgTag& dialog) { dialog.BuClose().click(); });
    Choose(menu().PMIImgMap);
    EXPECT_EQ(tags.Seen(), 1);
    EXPECT_EQ(doc().FTagArea, LayersOfKind(lkMapShape)[0]);

    RightClick({240, 150}); // on the selection: its region goes to the transparent GIF dialog
    ModalProbe<TFmGIF> gif([](TFmGIF&) {});
    QTest::keyClick(&menu(), Qt::Key_G); // the item's mnemonic
    EXPECT_EQ(gif.Seen(), 1);

    TScriptedFileDialogSeam dialogs; // the region is saved under the name the save dialog gives
    editor->SetFileDialogs(dialogs);
    QTemporaryDir dir;
    const QString saved = dir.filePath("region.png");
    dialogs.SaveAnswers.push_back({saved});
    RightClick({240, 150});
    QTest::keyClick(&menu(), Qt::Key_S);
    EXPECT_EQ(dialogs.SaveRequests.size(), 1u);
    EXPECT_EQ(QImage(saved).size(), QSize(doc().FSelBitmap.Width(), doc().FSelBitmap.Height()));

    RightClick({100, 150}); // the last layer deletable goes
    const int before = layers().Count();
    QTest::keyClick(&menu(), Qt::Key_C);
    EXPECT_EQ(layers().Count(), before - 1);
    EXPECT_FALSE(menu().isVisible());

    RightClick({100, 150}); // the preview only closes the menu
    const int count = layers().Count();
    Choose(menu().PMImageView);
    EXPECT_FALSE(menu().isVisible());
    EXPECT_EQ(layers().Count(), count);
    EXPECT_TRUE(messages.Shown.empty());
}

TEST_F(EditorPopup, PreviewShowsTheRegionsSizeAndThumbnailMadeOncePerRegion)
{
    Open(300, 200);
    TBitmap32& b = image().Bitmap();
    b.FillRect(0, 0, 300, 200, 0xFF3366CC);
    image().BitmapChanged();
    doc().AddVerticalGuide(2, 200);
    doc().DragGuideStep(150, 0);
    doc().AddHorizontalGuide(2, 300);
    doc().DragGuideStep(0, 80);
    doc().FDragGuide = nullptr;
    RightClick({40, 40}); // the cell 150 x 80 at the top-left
    ASSERT_EQ(doc().FSelBitmap.Width(), 150);

    const QImage shown = menu().grab().toImage();
    const QRect r = menu().actionGeometry(menu().PMImageView);
    EXPECT_EQ(r.height(), TEditorPopupMenu::kPreviewHeight);
    const qreal ratio = shown.devicePixelRatio();
    auto at = [&](int x, int y) { return shown.pixel(QPoint(r.left() + x, r.top() + y) * ratio); };
    EXPECT_EQ(at(5, 37), 0xFF3366CCu);            // the thumbnail's first pixel
    EXPECT_EQ(at(5 + 99, 37 + 52), 0xFF3366CCu);  // 100 x 53 of picture
    EXPECT_EQ(at(5 + 99, 37 + 53), 0xFFFFFFFFu);  // then the white margin
    EXPECT_EQ(at(5, 37 + 99), 0xFFFFFFFFu);

    const qint64 made = menu().Thumbnail().cacheKey();
    menu().repaint();
    (void)menu().grab();
    EXPECT_EQ(menu().Thumbnail().cacheKey(), made); // repaints reuse it
    RightClick({200, 150});
    EXPECT_NE(menu().Thumbnail().cacheKey(), made);
    EXPECT_EQ(menu().Thumbnail().pixel(0, 0), 0xFF3366CCu);

    // A selection hanging off the picture's corner: the part off it is white in the preview.
    TRubberbandLayer* band = doc().CreateSelectionBand();
    band->SetVisible(true);
    band->SetBounds({250, 150, 350, 250});
    RightClick({270, 170});
    ASSERT_EQ(doc().FSelBitmap.Width(), 100);
    const QImage& partly = menu().Thumbnail();
    EXPECT_EQ(partly.pixel(49, 49), 0xFF3366CCu);
    EXPECT_EQ(partly.pixel(50, 10), 0xFFFFFFFFu);
    EXPECT_EQ(partly.pixel(10, 50), 0xFFFFFFFFu);
}

TEST_F(EditorPopup, ColourItemShowsASwatchOfThePixelUnderThePointer)
{
    Open(60, 40);
    image().Bitmap().FillRect(30, 0, 60, 40, 0xFF10E040);
    image().BitmapChanged();
    RightClick({45, 20});
    const QImage shown = menu().grab().toImage();
    const QRect r = menu().actionGeometry(menu().PMColor);
    const qreal ratio = shown.devicePixelRatio();
    auto at = [&](int x, int y) { return shown.pixel(QPoint(r.left() + x, r.top() + y) * ratio); };
    EXPECT_EQ(at(5, 0), 0xFFC0C0C0u);  // the silver border
    EXPECT_EQ(at(22, 17), 0xFFC0C0C0u);
    EXPECT_EQ(at(14, 9), 0xFF10E040u); // the colour under the pointer
}

} // namespace
