#include "EditorFixture.h"
#include "dialogs/FmGIF.h"
#include "dialogs/GifPreview.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>

using namespace tavrin;
using tavrin::test::EditorFixture;

namespace {

struct EditorGif : EditorFixture
{
    void SetUp() override { Open(300, 200); }

    // Runs SaveTransparentGif and looks at the dialog while it is shown, then closes it.
    template <typename Look> void WhileShown(Look look)
    {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<TFmGIF*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            seen = true;
            look(*dialog);
            dialog->reject();
        });
        editor->SaveTransparentGif();
        EXPECT_TRUE(seen);
    }
};

TEST_F(EditorGif, TheDialogShowsTheRegionModallyAndBelongsToTheWindow)
{
    editor->SetToolMode(TToolMode::tmSelect);
    Drag({20, 20}, {60, 40});
    ASSERT_FALSE(doc().FSelBitmap.Empty());
    const int width = doc().FSelBitmap.Width(), height = doc().FSelBitmap.Height();
    WhileShown([&](TFmGIF& dialog) {
        EXPECT_EQ(dialog.parentWidget(), editor.get());
        EXPECT_TRUE(dialog.isModal());
        EXPECT_EQ(dialog.Gif().Image.Width, width);
        EXPECT_EQ(dialog.Gif().Image.Height, height);
    });
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(editor->findChildren<TFmGIF*>().isEmpty()); // destroyed when it closed
}

TEST_F(EditorGif, WithoutARegionTheDialogOpensEmpty)
{
    doc().FSelBitmap.Take(nullptr, TRect{}); // no region
    WhileShown([](TFmGIF& dialog) {
        EXPECT_TRUE(dialog.Gif().Image.Empty());
        EXPECT_TRUE(dialog.Image().PictureRect().isEmpty());
    });
}

} // namespace

// A press on a guide leaves no region: the dialog's save button says so in the save command's words, and
// asks for no name.
TEST_F(EditorGif, SaveOnAnEmptyRegionGivesTheRegionMessage)
{
    doc().AddVerticalGuide(50, 200);
    doc().DragGuideStep(50, 0);
    doc().FDragGuide = nullptr;
    QTest::mouseClick(&image(), Qt::LeftButton, {}, QPoint(50, 100));
    ASSERT_TRUE(doc().FSelBitmap.Empty());
    int asked = 0;
    WhileShown([&](TFmGIF& dialog) {
        dialog.SetAskFileName([&](QWidget*) {
            ++asked;
            return QString();
        });
        dialog.BuSave().click();
        ASSERT_EQ(messages.Shown.size(), 1u);
        EXPECT_EQ(messages.Shown[0].Owner, &dialog);
    });
    EXPECT_EQ(asked, 0);
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Text, QStringLiteral("저장할 이미지를 선택해주세요."));
    EXPECT_EQ(messages.Shown[0].Caption, QStringLiteral("이미지 저장 오류"));
}
