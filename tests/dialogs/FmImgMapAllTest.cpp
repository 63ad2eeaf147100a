#include "dialogs/FmImgMapAll.h"

#include "dialogs/Memo.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QGuiApplication>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

using namespace tavrin;

namespace {

const QString kMap = QStringLiteral("<map name=\"TavrinImgMap\">\r\n"
                                    "<area shape=\"rect\" coords=\"1,2,3,4\" href=\"\" target=\"\" alt=\"\">\r\n"
                                    "</map>");

struct AllTagsDialog : ::testing::Test
{
    QWidget owner;
    std::unique_ptr<TFmImgMapAll> dlg;

    void SetUp() override
    {
        owner.setGeometry(100, 100, 800, 600);
        owner.show();
        dlg = std::make_unique<TFmImgMapAll>(&owner);
    }
    void Show()
    {
        dlg->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    }
    QString Copied()
    {
        QTest::mouseClick(&dlg->BuCopy(), Qt::LeftButton);
        return QGuiApplication::clipboard()->text();
    }
};

TEST_F(AllTagsDialog, ShowsTheImgLineAndTheMapAndCopiesEveryLineWithCrLf)
{
    dlg->SetImageSize(468, 60);
    dlg->SetFileName(QStringLiteral("C:\\work\\banner.gif"));
    dlg->SetMapText(kMap);
    Show();
    const QString img = QStringLiteral("<img src=\"banner.gif\" width=\"468\" height=\"60\" usemap=\"#TavrinImgMap\" />");
    EXPECT_EQ(dlg->MemoTag().Lines(), QStringList({img, "<map name=\"TavrinImgMap\">",
                                                   "<area shape=\"rect\" coords=\"1,2,3,4\" href=\"\" target=\"\" alt=\"\">",
                                                   "</map>"}));
    EXPECT_EQ(Copied(), img + "\r\n" + kMap + "\r\n");

    // The user's edits are copied as they stand; a final empty line adds nothing.
    QTest::keyClick(&dlg->MemoTag(), Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(&dlg->MemoTag(), "<!-- ");
    QInputMethodEvent korean; // Korean comes through the input method
    korean.setCommitString(QStringLiteral("끝"));
    QApplication::sendEvent(&dlg->MemoTag(), &korean);
    QTest::keyClicks(&dlg->MemoTag(), " -->");
    QTest::keyClick(&dlg->MemoTag(), Qt::Key_Return);
    EXPECT_EQ(Copied(), img + "\r\n" + kMap + "<!-- 끝 -->\r\n");
}

TEST_F(AllTagsDialog, ANewPictureWithoutAreas)
{
    dlg->SetImageSize(320, 240);
    dlg->SetMapText(QStringLiteral("<map name=\"TavrinImgMap\">\r\n</map>"));
    Show();
    EXPECT_EQ(Copied(), "<img src=\"\" width=\"320\" height=\"240\" usemap=\"#TavrinImgMap\" />\r\n"
                        "<map name=\"TavrinImgMap\">\r\n</map>\r\n");
}

TEST_F(AllTagsDialog, EscClosesAndTheMemoGrowsWithTheWindow)
{
    Show();
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("전체 이미지 태그 보기"));
    EXPECT_EQ(dlg->size(), QSize(472, 446));
    dlg->resize(672, 546);
    EXPECT_EQ(dlg->MemoTag().geometry(), QRect(8, 8, 650, 479));
    EXPECT_EQ(dlg->BuCopy().geometry(), QRect(44, 498, 119, 33));
    EXPECT_EQ(dlg->BuClose().geometry(), QRect(489, 498, 119, 33));

    QTest::keyClick(&dlg->MemoTag(), Qt::Key_Escape);
    EXPECT_FALSE(dlg->isVisible());
    Show();
    QTest::mouseClick(&dlg->BuClose(), Qt::LeftButton);
    EXPECT_FALSE(dlg->isVisible());
}

} // namespace
