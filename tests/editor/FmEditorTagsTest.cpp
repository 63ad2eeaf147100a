#include "EditorFixture.h"
#include "core/ImgMap.h"
#include "dialogs/FmImgMapAll.h"
#include "dialogs/FmImgTag.h"
#include "support/ModalProbe.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>

using namespace tavrin;
using tavrin::test::EditorFixture;
using tavrin::test::ModalProbe;

namespace {

struct EditorTags : EditorFixture
{
    // Opens the all-tags dialog and returns what its copy button puts on the clipboard.
    std::string CopiedAllTags()
    {
        QGuiApplication::clipboard()->clear();
        ModalProbe<TFmImgMapAll> probe([&](TFmImgMapAll& dialog) {
            EXPECT_EQ(dialog.parentWidget(), editor.get());
            dialog.BuCopy().click();
        });
        editor->ShowAllTags();
        EXPECT_EQ(probe.Seen(), 1);
        return QGuiApplication::clipboard()->text().toStdString();
    }
};

} // namespace

TEST_F(EditorTags, AllTagsOfRectangleCircleAndPolygonByteForByte)
{
    Open(300, 200);
    doc().FFileName = "/home/kim/사진/배너 \"새\".gif";
    editor->ChangeScale(1.0f); // 200 %: the img element still has the picture's own size
    editor->SetToolMode(TToolMode::tmMapRect);
    Drag({20, 20}, {120, 80});
    editor->SetToolMode(TToolMode::tmMapCircle);
    Drag({200, 200}, {260, 260});
    editor->SetToolMode(TToolMode::tmMapPolygon);
    for (QPoint p : {QPoint(300, 20), QPoint(380, 20), QPoint(340, 100)})
        QTest::mouseClick(&image(), Qt::LeftButton, {}, p);
    auto* rect = static_cast<TImageMapLyer*>(LayersOfKind(lkMapShape)[0]);
    rect->FHref = "a.php?x=1&y=\"2\"";
    rect->FTarget = "_blank";
    rect->FAlt = "배너 <첫째>";

    EXPECT_EQ(CopiedAllTags(),
              "<img src=\"배너 &quot;새&quot;.gif\" width=\"300\" height=\"200\" usemap=\"#TavrinImgMap\" />\r\n"
              "<map name=\"TavrinImgMap\">\r\n"
              "<area shape=\"rect\" coords=\"10,10,60,40\" href=\"a.php?x=1&y=&quot;2&quot;\" target=\"_blank\" "
              "alt=\"배너 <첫째>\">\r\n"
              "<area shape=\"circle\" coords=\"115,115,15\" href=\"\" target=\"\" alt=\"\">\r\n"
              "<area shape=\"polygon\" coords=\"150,10,190,10,170,50\" href=\"\" target=\"\" alt=\"\">\r\n"
              "</map>\r\n");
}

TEST_F(EditorTags, AllTagsOfANewPictureWithoutAreas)
{
    Open(64, 48);
    EXPECT_EQ(CopiedAllTags(), "<img src=\"\" width=\"64\" height=\"48\" usemap=\"#TavrinImgMap\" />\r\n"
                               "<map name=\"TavrinImgMap\">\r\n</map>\r\n");
}

TEST_F(EditorTags, AreaTagEditsTheAreaLastPressed)
{
    Open(300, 200);
    editor->EditAreaTag(); // no area pressed yet: nothing opens
    editor->SetToolMode(TToolMode::tmMapRect);
    Drag({10, 10}, {50, 50});
    Drag({100, 100}, {150, 150});
    editor->SetToolMode(TToolMode::tmNone);
    QTest::mouseClick(&image(), Qt::RightButton, {}, {20, 20});
    auto* first = static_cast<TImageMapLyer*>(LayersOfKind(lkMapShape)[0]);
    ModalProbe<TFmImgTag> probe([](TFmImgTag& dialog) { dialog.BuClose().click(); });
    editor->EditAreaTag();
    EXPECT_EQ(probe.Seen(), 1);
    EXPECT_EQ(first->FMapName, "ImgMap1"); // proposed and kept, though cancelled
    EXPECT_EQ(static_cast<TImageMapLyer*>(LayersOfKind(lkMapShape)[1])->FMapName, "");
}
