#include "core/Bitmap32.h"
#include "editor/Thumbnail.h"

#include <gtest/gtest.h>

using namespace tavrin;

namespace {

TEST(Thumbnail, SizesInABoxOf100)
{
    struct Case
    {
        int W, H, ExpectW, ExpectH;
    };
    const Case cases[] = {
        {150, 80, 100, 53}, {80, 150, 53, 100}, {120, 100, 100, 83}, {300, 300, 100, 100},
        {60, 40, 60, 40},   {100, 100, 100, 100}, {0, 0, 0, 0},      {101, 100, 100, 99},
        // Halves go to the even neighbour: 2.5 -> 2, 3.5 -> 4, 0.5 -> 0.
        {200, 5, 100, 2},   {200, 7, 100, 4},   {5, 200, 2, 100},    {200, 1, 100, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.W << " x " << c.H);
        EXPECT_EQ(ThumbnailSize(100, 100, c.W, c.H), QSize(c.ExpectW, c.ExpectH));
        if (c.ExpectW > 0 && c.ExpectH > 0) { // an image with a side of 0 is a null image
            EXPECT_EQ(MakeThumbnail(100, 100, TBitmap32(c.W, c.H), true).size(), QSize(c.ExpectW, c.ExpectH));
        }
    }
}

TEST(Thumbnail, SmallPictureSitsTopLeftOnWhiteAndIgnoresAlpha)
{
    TBitmap32 source(60, 40);
    source.Clear(0x00CC2211); // a canvas-written pixel: alpha 0, still a colour
    const QImage thumbnail = MakeThumbnail(100, 100, source, false);
    ASSERT_EQ(thumbnail.size(), QSize(100, 100));
    EXPECT_EQ(thumbnail.pixel(0, 0), 0xFFCC2211u);
    EXPECT_EQ(thumbnail.pixel(59, 39), 0xFFCC2211u);
    for (QPoint white : {QPoint(60, 0), QPoint(0, 40), QPoint(99, 99)})
        EXPECT_EQ(thumbnail.pixel(white), 0xFFFFFFFFu) << white.x() << "," << white.y();
}

TEST(Thumbnail, NoPictureGivesAllWhite)
{
    const QImage thumbnail = MakeThumbnail(100, 100, TBitmap32(), false);
    ASSERT_EQ(thumbnail.size(), QSize(100, 100));
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            ASSERT_EQ(thumbnail.pixel(x, y), 0xFFFFFFFFu);
}

TEST(Thumbnail, ShrinkingAveragesFinePatternsToGrey)
{
    // A one-pixel checker shrunk 3:1: each target pixel covers 5 of one colour and 4 of the other, so
    // an area average gives 113 or 142; sampling would give black or white.
    TBitmap32 checker(300, 300);
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 300; ++x)
            checker.SetPixel(x, y, (x + y) % 2 ? clWhite32 : clBlack32);
    const QImage thumbnail = MakeThumbnail(100, 100, checker, false);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x) {
            const int grey = qRed(thumbnail.pixel(x, y));
            ASSERT_TRUE((grey >= 112 && grey <= 114) || (grey >= 141 && grey <= 143)) << x << "," << y << ": " << grey;
        }
}

} // namespace
