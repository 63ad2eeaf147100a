#include "core/MapMarkup.h"
#include "FakeView.h"
#include "core/ImgEditor.h"
#include "core/ImgMap.h"
#include "core/InfoLayer.h"

#include <gtest/gtest.h>

using namespace tavrin;
using tavrin::test::FakeView;

namespace {

struct MarkupFixture : ::testing::Test
{
    FakeView view{400, 300};
    TImgEditor doc;

    void SetUp() override { doc.AttachView(view); }

    template <class T> T* Drag(TPoint from, TPoint to)
    {
        doc.FDownPos = from;
        if constexpr (std::is_same_v<T, TMapRectLayer>)
            doc.AddRectArea(to);
        else
            doc.AddCircleArea(to);
        return dynamic_cast<T*>(view.Layers().Items(view.Layers().Count() - 1));
    }
};

} // namespace

TEST_F(MarkupFixture, WholeMapListsTheAreasInOrder)
{
    auto* guide = view.Layers().Add<TInfoLayer>();
    guide->Tag = lkGuideX;
    auto* rect = Drag<TMapRectLayer>({5, 5}, {15, 6});
    auto* band = view.Layers().Add<TRubberbandLayer>();
    band->Tag = lkSelection;
    Drag<TMapCircleLayer>({100, 100}, {60, 130});
    doc.BeginPolygon(); // never clicked
    rect->FHref = "page.html?a=1&b=2";
    rect->FTarget = "_blank";
    rect->FAlt = "say \"hi\" 안녕";
    rect->FMapName = "ImgMap2"; // the whole map has its own name
    EXPECT_EQ(doc.BuildMapMarkup(),
              "<map name=\"TavrinImgMap\">\r\n"
              "<area shape=\"rect\" coords=\"5,5,15,6\" href=\"page.html?a=1&b=2\" "
              "target=\"_blank\" alt=\"say &quot;hi&quot; 안녕\">\r\n"
              "<area shape=\"circle\" coords=\"85,115,15\" href=\"\" target=\"\" alt=\"\">\r\n"
              "<area shape=\"polygon\" coords=\"\" href=\"\" target=\"\" alt=\"\">\r\n"
              "</map>");
}

TEST_F(MarkupFixture, ThePolygonBeingBuiltFollowsItsPlaceInTheStack)
{
    doc.BeginPolygon();
    doc.FToolMode = TToolMode::tmMapPolygon;
    Drag<TMapRectLayer>({0, 0}, {4, 4});
    doc.AddPolygonPoint(1, 2); // raises the polygon above the rectangle
    EXPECT_EQ(doc.BuildMapMarkup(),
              "<map name=\"TavrinImgMap\">\r\n"
              "<area shape=\"rect\" coords=\"0,0,4,4\" href=\"\" target=\"\" alt=\"\">\r\n"
              "<area shape=\"polygon\" coords=\"1,2\" href=\"\" target=\"\" alt=\"\">\r\n"
              "</map>");
}

TEST_F(MarkupFixture, NoAreasGiveAnEmptyMap)
{
    auto* guide = view.Layers().Add<TInfoLayer>();
    guide->Tag = lkGuideY;
    view.Layers().Add<TBitmapLayer>()->Tag = 12; // the reserved kind, but no area
    EXPECT_EQ(doc.BuildMapMarkup(), "<map name=\"TavrinImgMap\">\r\n</map>");
    EXPECT_EQ(TImgEditor().BuildMapMarkup(), "<map name=\"TavrinImgMap\">\r\n</map>");
}

TEST(MapMarkup, SingleAreaText)
{
    struct Case
    {
        const char* mapName;
        TAreaText area;
        const char* text;
    };
    const Case cases[] = {
        {"ImgMap3",
         {"rect", "5,5,15,6", "", "", ""},
         "<map name=\"ImgMap3\">\r\n<area shape=\"rect\" coords=\"5,5,15,6\" href=\"\" target=\"\" "
         "alt=\"\">\r\n</map>"},
        {"",
         {"polygon", "", "a.html", "my frame", "\"q\"&<b>"},
         "<map name=\"\">\r\n<area shape=\"polygon\" coords=\"\" href=\"a.html\" target=\"my frame\" "
         "alt=\"&quot;q&quot;&<b>\">\r\n</map>"},
        {"지도 \"1\"",
         {"rect", "0,0,1,1", "a.php?x=\"1\"&amp;y=<2>", "\"", "Tom said \"hi\""},
         "<map name=\"지도 &quot;1&quot;\">\r\n<area shape=\"rect\" coords=\"0,0,1,1\" "
         "href=\"a.php?x=&quot;1&quot;&amp;y=<2>\" target=\"&quot;\" alt=\"Tom said &quot;hi&quot;\">\r\n</map>"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SingleAreaMarkup(c.mapName, c.area), c.text);
}

TEST_F(MarkupFixture, SingleAreaTextFromAStoredArea)
{
    auto* circle = Drag<TMapCircleLayer>({0, 0}, {20, 20});
    circle->FHref = "x";
    EXPECT_EQ(SingleAreaMarkup("m", StoredAreaText(*circle)),
              "<map name=\"m\">\r\n<area shape=\"circle\" coords=\"10,10,10\" href=\"x\" target=\"\" "
              "alt=\"\">\r\n</map>");
}

TEST(MapMarkup, ImgElementText)
{
    struct Case
    {
        const char* fileName;
        int width, height;
        const char* text;
    };
    const Case cases[] = {
        {"C:\\work\\banner.gif", 468, 60,
         "<img src=\"banner.gif\" width=\"468\" height=\"60\" usemap=\"#TavrinImgMap\" />"},
        {"", 400, 300,
         "<img src=\"\" width=\"400\" height=\"300\" usemap=\"#TavrinImgMap\" />"}, // a new image
        {"/home/kim/사진/a b.png", 1, -1,
         "<img src=\"a b.png\" width=\"1\" height=\"-1\" usemap=\"#TavrinImgMap\" />"},
        {"/tmp/say \"hi\"&<.png", 2, 3,
         "<img src=\"say &quot;hi&quot;&<.png\" width=\"2\" height=\"3\" usemap=\"#TavrinImgMap\" />"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ImgElementText(c.fileName, c.width, c.height), c.text);
}

TEST(MapMarkup, FilePartOf)
{
    struct Case
    {
        const char* path;
        const char* part;
    };
    const Case cases[] = {
        {"C:\\work\\banner.gif", "banner.gif"},
        {"/tmp/x.png", "x.png"},
        {"pics/sub\\y.gif", "y.gif"}, // either separator, whichever comes last
        {"pics\\sub/z.gif", "z.gif"},
        {"C:banner.gif", "banner.gif"}, // drive-relative
        {"/tmp/a:b.png", "a:b.png"},    // a colon elsewhere is part of the name
        {"plain.gif", "plain.gif"},
        {"folder/", ""},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FilePartOf(c.path), c.part) << c.path;
}
