#include "dialogs/FmImgTag.h"

#include "core/ImgMap.h"
#include "core/LayerCollection.h"
#include "dialogs/Memo.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

using namespace tavrin;

namespace {

struct TagDialog : ::testing::Test
{
    QWidget owner;
    TLayerCollection layers;
    TMapRectLayer* rect = nullptr;
    std::unique_ptr<TFmImgTag> dlg;

    void SetUp() override
    {
        owner.setGeometry(100, 100, 640, 480);
        owner.show();
        rect = layers.Add<TMapRectLayer>();
        rect->FId = 3;
        rect->PlaceRect(5, 5, 60, 40);
    }
    void TearDown() override { dlg.reset(); }

    void Open()
    {
        dlg = std::make_unique<TFmImgTag>(&owner);
        dlg->SetArea(*rect);
        dlg->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    }
    QString Memo() const { return dlg->MemoTag().Text(); }
    static QString AreaMarkup(const char* name, const char* href, const char* target, const char* alt)
    {
        return QStringLiteral("<map name=\"%1\">\r\n<area shape=\"rect\" coords=\"5,5,60,40\" href=\"%2\" "
                              "target=\"%3\" alt=\"%4\">\r\n</map>")
            .arg(QString::fromUtf8(name), QString::fromUtf8(href), QString::fromUtf8(target),
                 QString::fromUtf8(alt));
    }
};

TEST_F(TagDialog, ANewAreaGetsItsDefaultMapNameEvenWhenCancelled)
{
    Open();
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("이미지맵 태그 입력"));
    EXPECT_EQ(dlg->EdUseMap().text(), "ImgMap3");
    EXPECT_EQ(dlg->LabelShape().text(), ""); // the name as it was stored before
    EXPECT_EQ(dlg->EdHref().text(), "");
    EXPECT_EQ(dlg->CbTarget().currentText(), "");
    EXPECT_EQ(dlg->EdAlt().text(), "");
    EXPECT_EQ(Memo(), AreaMarkup("ImgMap3", "", "", ""));
    EXPECT_EQ(QApplication::focusWidget(), &dlg->EdUseMap());

    QTest::keyClicks(&dlg->EdHref(), "x.html");
    QTest::mouseClick(&dlg->BuClose(), Qt::LeftButton);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(rect->FMapName, "ImgMap3");
    EXPECT_EQ(rect->FHref, "");

    Open();
    EXPECT_EQ(dlg->LabelShape().text(), "ImgMap3");
    dlg->EdAlt().setText("z");
    dlg->close(); // the close box stores nothing either
    EXPECT_EQ(rect->FAlt, "");
}

TEST_F(TagDialog, TypingRebuildsTheMemoAndEnterStores)
{
    Open();
    QTest::keyClick(&dlg->EdUseMap(), Qt::Key_End); // the proposed name comes selected
    QTest::keyClicks(&dlg->EdUseMap(), "X");
    EXPECT_EQ(Memo(), AreaMarkup("ImgMap3X", "", "", ""));
    QTest::keyClicks(&dlg->EdHref(), "a.html");
    EXPECT_EQ(Memo(), AreaMarkup("ImgMap3X", "a.html", "", ""));
    dlg->CbTarget().setCurrentIndex(0); // chosen from the list
    EXPECT_EQ(dlg->CbTarget().currentText(), "_blank");
    EXPECT_EQ(Memo(), AreaMarkup("ImgMap3X", "a.html", "_blank", ""));
    dlg->CbTarget().lineEdit()->clear();
    QTest::keyClicks(dlg->CbTarget().lineEdit(), "my frame"); // free text, not in the list
    EXPECT_EQ(Memo(), AreaMarkup("ImgMap3X", "a.html", "my frame", ""));
    QTest::keyClicks(&dlg->EdAlt(), "Tom said \"hi\" & <b>");
    // Korean arrives through the input method: a pre-edit changes nothing, the commit does.
    dlg->EdAlt().setFocus();
    QInputMethodEvent preedit(QStringLiteral("ㅎ"), {});
    QApplication::sendEvent(&dlg->EdAlt(), &preedit);
    EXPECT_EQ(dlg->EdAlt().text(), "Tom said \"hi\" & <b>");
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral(" 한글"));
    QApplication::sendEvent(&dlg->EdAlt(), &commit);
    EXPECT_EQ(Memo(), AreaMarkup("ImgMap3X", "a.html", "my frame", "Tom said &quot;hi&quot; & <b> 한글"));

    QTest::keyClick(&dlg->EdAlt(), Qt::Key_Escape); // no cancel binding
    EXPECT_TRUE(dlg->isVisible());
    QTest::keyClick(&dlg->EdAlt(), Qt::Key_Return);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(rect->FMapName, "ImgMap3X");
    EXPECT_EQ(rect->FHref, "a.html");
    EXPECT_EQ(rect->FTarget, "my frame");
    EXPECT_EQ(rect->FAlt, "Tom said \"hi\" & <b> 한글"); // stored as typed; only the markup escapes

    Open();
    EXPECT_EQ(dlg->LabelShape().text(), "ImgMap3X");
    EXPECT_EQ(dlg->EdUseMap().text(), "ImgMap3X");
    EXPECT_EQ(dlg->EdHref().text(), "a.html");
    EXPECT_EQ(dlg->CbTarget().currentText(), "my frame");
    EXPECT_EQ(dlg->EdAlt().text(), "Tom said \"hi\" & <b> 한글");
    EXPECT_EQ(Memo(), AreaMarkup("ImgMap3X", "a.html", "my frame", "Tom said &quot;hi&quot; & <b> 한글"));
}

TEST_F(TagDialog, EnterInTheTargetBoxStoresToo)
{
    Open();
    dlg->CbTarget().setFocus();
    QTest::keyClicks(dlg->CbTarget().lineEdit(), "_top");
    QTest::keyClick(dlg->CbTarget().lineEdit(), Qt::Key_Return);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(rect->FTarget, "_top");
    EXPECT_EQ(dlg->CbTarget().count(), 4); // nothing added to the list
}

TEST_F(TagDialog, CopyPutsExactlyTheMemoOnTheClipboard)
{
    rect->FHref = "a.html";
    Open();
    QGuiApplication::clipboard()->setText("old");
    QTest::mouseClick(&dlg->BuCopy(), Qt::LeftButton);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), AreaMarkup("ImgMap3", "a.html", "", ""));
    EXPECT_TRUE(dlg->isVisible());
}

TEST_F(TagDialog, PastedLineBreaksBecomeSpacesAndLongLinksStayWhole)
{
    Open();
    QGuiApplication::clipboard()->setText("first\r\nsecond\nthird\rfourth");
    dlg->EdAlt().setFocus();
    QTest::keyClicks(&dlg->EdAlt(), "<");
    QTest::keySequence(&dlg->EdAlt(), QKeySequence::Paste);
    QTest::keyClicks(&dlg->EdAlt(), ">");
    EXPECT_EQ(dlg->EdAlt().text(), "<first second third fourth>");
    EXPECT_EQ(dlg->MemoTag().Lines().size(), 3);

    const QString link = QStringLiteral("http://a.example/") + QString(100000, u'x');
    QGuiApplication::clipboard()->setText(link);
    dlg->EdHref().setFocus();
    QTest::keySequence(&dlg->EdHref(), QKeySequence::Paste);
    EXPECT_EQ(dlg->EdHref().text(), link); // no 32767-character cut
    EXPECT_EQ(dlg->MemoTag().wordWrapMode(), QTextOption::WrapAnywhere);
    EXPECT_TRUE(Memo().contains(link));
    QTest::mouseClick(&dlg->BuOK(), Qt::LeftButton);
    EXPECT_EQ(rect->FHref, link.toStdString());
    EXPECT_EQ(rect->FAlt, "<first second third fourth>");
}

// Control characters never reach the area or its markup, however they arrive; a tab stays.
TEST_F(TagDialog, ControlCharactersAreDroppedAsTheyArrive)
{
    Open();
    QGuiApplication::clipboard()->setText(QString::fromUtf16(u"a\0b\x1B[0m\x7F\tc\r\nd", 13));
    dlg->EdHref().setFocus();
    QTest::keySequence(&dlg->EdHref(), QKeySequence::Paste);
    EXPECT_EQ(dlg->EdHref().text(), QStringLiteral("ab[0m\tc d"));

    dlg->EdAlt().setFocus(); // an input method's commit, and text set by a program
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("한\x01글\x1F"));
    QApplication::sendEvent(&dlg->EdAlt(), &commit);
    EXPECT_EQ(dlg->EdAlt().text(), QStringLiteral("한글"));
    dlg->CbTarget().setEditText(QStringLiteral("_bl\x08" "ank"));
    EXPECT_EQ(dlg->CbTarget().currentText(), QStringLiteral("_blank"));
    dlg->EdUseMap().setText(QStringLiteral("Map\x7F" "1"));
    EXPECT_EQ(dlg->EdUseMap().text(), QStringLiteral("Map1"));

    const QString memo = Memo();
    EXPECT_FALSE(std::any_of(memo.begin(), memo.end(), [](QChar c) {
        return (c.unicode() < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || c.unicode() == 0x7F;
    })) << memo.toStdString();
    QTest::mouseClick(&dlg->BuOK(), Qt::LeftButton);
    EXPECT_EQ(rect->FHref, "ab[0m\tc d");
    EXPECT_EQ(rect->FAlt, "한글");
    EXPECT_EQ(rect->FTarget, "_blank");
    EXPECT_EQ(rect->FMapName, "Map1");
}

TEST_F(TagDialog, ControlsSitAtTheirDesignPlaces)
{
    Open();
    EXPECT_EQ(dlg->size(), QSize(478, 338));
    EXPECT_EQ(dlg->EdUseMap().geometry(), QRect(145, 48, 304, 21));
    EXPECT_EQ(dlg->EdHref().geometry(), QRect(145, 84, 304, 21));
    EXPECT_EQ(dlg->CbTarget().geometry().topLeft(), QPoint(145, 120));
    EXPECT_EQ(dlg->EdAlt().geometry(), QRect(145, 156, 304, 21));
    EXPECT_EQ(dlg->MemoTag().geometry(), QRect(20, 195, 369, 82));
    EXPECT_EQ(dlg->BuCopy().geometry(), QRect(400, 195, 53, 82));
    EXPECT_EQ(dlg->BuOK().geometry(), QRect(160, 291, 75, 25));
    EXPECT_EQ(dlg->BuClose().geometry(), QRect(258, 291, 75, 25));
    EXPECT_TRUE(dlg->BuOK().isDefault());
    // Tab walks the fields, the memo and the buttons in design order.
    const QWidget* order[] = {&dlg->EdHref(), &dlg->CbTarget(), &dlg->EdAlt(), &dlg->MemoTag(),
                              &dlg->BuClose(), &dlg->BuCopy(), &dlg->BuOK(), &dlg->EdUseMap()};
    for (const QWidget* next : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next) << next->objectName().toStdString();
    }
}

} // namespace
