#include "services/WindowPlacement.h"

#include "services/IniFileStore.h"

#include <QWidget>
#include <gtest/gtest.h>

using namespace tavrin;

namespace {

TScreenMetrics Screen(int w, int h, int ppi = 96)
{
    return {QSize(w, h), ppi, {QRect(0, 0, w, h - 40)}};
}

TWindowPlacement Current()
{
    return {0, {-1, -1}, {-1, -1}, {300, 263, 1192, 1009}};
}

} // namespace

TEST(WindowPlacement, WritesBothKeysOfEveryPositionInOrder)
{
    TIniStore store = TIniStore::Parse("[MainForm]\nColorDialog_Color=clRed\n");
    WritePlacement(store, "MainForm", {2, {-1, -1}, {-1, -1}, {10, 20, 810, 620}}, Screen(1024, 768));
    EXPECT_EQ(store.Format(), "[MainForm]\r\n"
                              "ColorDialog_Color=clRed\r\n"
                              "FormVersion=0\r\n"
                              "Flags=2\r\n"
                              "PixelsPerInch=96\r\n"
                              "MinMaxPos(1024x768)=-1,-1,-1,-1\r\n"
                              "MinMaxPos=-1,-1,-1,-1\r\n"
                              "NormPos(1024x768)=10,20,810,620\r\n"
                              "NormPos=10,20,810,620\r\n"
                              "\r\n");
}

TEST(WindowPlacement, PrefersTheKeyOfThisScreenSizeThenThePlainOne)
{
    TIniStore store;
    WritePlacement(store, "MainForm", {0, {1, 2}, {3, 4}, {10, 20, 810, 620}}, Screen(1024, 768));
    store.WriteString("MainForm", "NormPos", "50,60,850,660");
    const auto same = ReadPlacement(store, "MainForm", Current(), Screen(1024, 768));
    ASSERT_TRUE(same);
    EXPECT_EQ(same->NormalRect, (TRect{10, 20, 810, 620}));
    EXPECT_EQ(same->MinPosition, (TPoint{1, 2}));
    EXPECT_EQ(same->MaxPosition, (TPoint{3, 4}));
    const auto other = ReadPlacement(store, "MainForm", Current(), Screen(1920, 1080));
    ASSERT_TRUE(other);
    EXPECT_EQ(other->NormalRect, (TRect{50, 60, 850, 660}));

    // After saving on the new screen both keys of that size exist, the old ones stay.
    WritePlacement(store, "MainForm", *other, Screen(1920, 1080));
    EXPECT_TRUE(store.Value("MainForm", "NormPos(1920x1080)"));
    EXPECT_EQ(store.Value("MainForm", "NormPos(1024x768)"), "10,20,810,620");
}

TEST(WindowPlacement, RestoresNothingWhenNotStoredOrNotValidHere)
{
    struct Case
    {
        const char* Name;
        const char* File;
    };
    const Case cases[] = {
        {"nothing stored", "[MainForm]\nColorDialog_Color=clRed\n"},
        {"empty values", "[MainForm]\nNormPos=\nMinMaxPos=  \n"},
        {"negative version", "[MainForm]\nFormVersion=-1\nNormPos=1,2,300,400\n"},
        {"other pixels per inch", "[MainForm]\nPixelsPerInch=120\nNormPos=1,2,300,400\n"},
        {"other section", "[Other]\nNormPos=1,2,300,400\n"},
    };
    for (const Case& c : cases)
        EXPECT_FALSE(ReadPlacement(TIniStore::Parse(c.File), "MainForm", Current(), Screen(1024, 768)))
            << c.Name;
}

TEST(WindowPlacement, UnreadablePartsKeepTheirDefaults)
{
    struct Case
    {
        const char* Name;
        const char* File;
        TWindowPlacement Expected;
    };
    const Case cases[] = {
        {"flags and version not numbers, ppi unreadable",
         "[MainForm]\nFormVersion=x\nFlags=abc\nPixelsPerInch=?\nNormPos=1,2,300,400\n",
         {0, {-1, -1}, {-1, -1}, {1, 2, 300, 400}}},
        {"short and broken NormPos parts come from the window",
         "[MainForm]\nNormPos=5,x\n",
         {0, {-1, -1}, {-1, -1}, {5, 263, 1192, 1009}}},
        {"broken MinMaxPos parts are 0, extra parts ignored",
         "[MainForm]\nFlags=$2\nMinMaxPos=7,,9\nNormPos=1,2,3,4,5\n",
         {2, {7, 0}, {9, 0}, {1, 2, 3, 4}}},
        {"MinMaxPos alone",
         "[MainForm]\nMinMaxPos= -32000 , -32000 ,-1,-1\n",
         {0, {-32000, -32000}, {-1, -1}, {300, 263, 1192, 1009}}},
    };
    for (const Case& c : cases) {
        const auto p = ReadPlacement(TIniStore::Parse(c.File), "MainForm", Current(), Screen(1024, 768));
        ASSERT_TRUE(p) << c.Name;
        EXPECT_EQ(*p, c.Expected) << c.Name;
    }
}

TEST(WindowPlacement, NormalGeometryRoundTripsThroughAWidget)
{
    QWidget w;
    w.setGeometry(300, 263, 892, 746);
    const TWindowPlacement p = GetWindowPlacement(w);
    EXPECT_EQ(p.NormalRect, (TRect{300, 263, 1192, 1009}));
    EXPECT_EQ(p.Flags, 0);
    EXPECT_EQ(p.MinPosition, (TPoint{-1, -1}));

    QWidget other;
    ASSERT_TRUE(SetWindowPlacement(other, p, {QRect(0, 0, 1920, 1040)}));
    EXPECT_EQ(other.geometry(), QRect(300, 263, 892, 746));
}

TEST(WindowPlacement, RectanglesAreMadeVisibleAndSane)
{
    const std::vector<QRect> areas{QRect(0, 0, 1024, 728), QRect(1024, 0, 800, 600)};
    struct Case
    {
        const char* Name;
        TRect Stored;
        std::optional<QRect> Expected;
    };
    const Case cases[] = {
        {"on the second screen stays", {1100, 50, 1500, 450}, QRect(1100, 50, 400, 400)},
        {"partly off is moved in", {-100, -10, 300, 290}, QRect(0, 0, 400, 300)},
        {"below the second screen's bottom is moved up", {1100, 400, 1500, 800}, QRect(1100, 200, 400, 400)},
        {"running off the right edge of the first", {700, 100, 1100, 500}, QRect(624, 100, 400, 400)},
        {"far off is moved onto the first screen", {5000, 5000, 5400, 5300}, QRect(624, 428, 400, 300)},
        {"larger than the screen is shrunk", {0, 0, 100000, 100000}, QRect(0, 0, 1024, 728)},
        {"extreme numbers", {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, QRect(0, 0, 1024, 728)},
        {"empty", {10, 10, 10, 300}, std::nullopt},
        {"inverted", {300, 300, 10, 10}, std::nullopt},
    };
    for (const Case& c : cases) {
        QWidget w;
        w.setGeometry(1, 2, 3, 4);
        EXPECT_EQ(SetWindowPlacement(w, {0, {}, {}, c.Stored}, areas), c.Expected.has_value()) << c.Name;
        EXPECT_EQ(w.geometry(), c.Expected.value_or(QRect(1, 2, 3, 4))) << c.Name;
    }
}

TEST(WindowPlacement, TheFrameIsKeptOnTheScreenToo)
{
    const QMargins frame(4, 28, 4, 4);
    const std::vector<QRect> areas{QRect(0, 0, 1366, 740)};
    QWidget w;
    ASSERT_TRUE(SetWindowPlacement(w, {0, {}, {}, {300, 263, 1192, 1028}}, areas, frame));
    EXPECT_EQ(w.geometry(), QRect(300, 28, 892, 708));
    ASSERT_TRUE(SetWindowPlacement(w, {0, {}, {}, {10, 40, 900, 700}}, areas, frame));
    EXPECT_EQ(w.geometry(), QRect(10, 40, 890, 660)); // fits with its frame: as stored
}

TEST(WindowPlacement, CurrentScreenIsKnown)
{
    const TScreenMetrics m = CurrentScreenMetrics();
    EXPECT_GT(m.Size.width(), 0);
    EXPECT_GT(m.PixelsPerInch, 0);
    ASSERT_FALSE(m.WorkAreas.empty());
}
