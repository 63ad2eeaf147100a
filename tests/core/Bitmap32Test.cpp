#include "core/Bitmap32.h"

#include <gtest/gtest.h>

#include <array>

using namespace tavrin;

TEST(Bitmap32, SizeChangeClearsSameSizeKeepsPixels)
{
    TBitmap32 b(3, 2);
    b.Clear(0xFF123456);
    b.SetSize(3, 2);
    EXPECT_EQ(b.Pixel(2, 1), 0xFF123456u);
    b.SetWidth(4);
    EXPECT_EQ(b.Pixel(0, 0), 0u);
    b.Clear(0xFF123456);
    b.SetHeight(5);
    EXPECT_EQ(b.Pixel(3, 4), 0u);
    EXPECT_EQ(b.Pixel(0, 0), 0u);
}

TEST(Bitmap32, OutsideReadsAreTransparentAndWritesIgnored)
{
    TBitmap32 b(2, 2);
    b.Clear(0xFFFFFFFF);
    for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {2, 0}, {0, 2}, {1000000, 1000000}})
        EXPECT_EQ(b.Pixel(x, y), 0u);
    b.SetPixel(5, 5, 1);
    b.FillRect(-10, -10, 100, 100, 0x01020304);
    EXPECT_EQ(b.Pixel(1, 1), 0x01020304u);
    // Rectangles wholly beside or below the bitmap, or inverted, touch nothing.
    for (auto [x1, y1, x2, y2] : {std::array{5, 0, 9, 2}, {0, 5, 2, 9}, {-9, 0, -5, 2}, {2, 2, 0, 0}})
        b.FillRect(x1, y1, x2, y2, 0xFFFFFFFF);
    EXPECT_EQ(b.Pixel(0, 0), 0x01020304u);
    EXPECT_EQ(b.Pixel(1, 1), 0x01020304u);
}

TEST(Bitmap32, NonPositiveSizesGiveEmptyBitmap)
{
    TBitmap32 b(-3, 7);
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(b.Width(), 0);
    b.FillRect(0, 0, 5, 5, 1);
    b.Canvas().Rectangle(0, 0, 5, 5);
    b.Canvas().Ellipse(0, 0, 5, 5);
    EXPECT_EQ(b.Pixel(0, 0), 0u);
}

TEST(Bitmap32, CopyHasItsOwnCanvas)
{
    TBitmap32 a(4, 4);
    TBitmap32 b = a;
    b.Canvas().Brush.Color = clWhite;
    b.Canvas().FillRect(0, 0, 4, 4);
    EXPECT_EQ(a.Pixel(0, 0), 0u);
    EXPECT_EQ(b.Pixel(0, 0), 0x00FFFFFFu);
}

namespace {

struct CanvasCase
{
    const char* name;
    TPenMode mode;
    TPenStyle style;
    TBrushStyle brush;
    TColor pen;
    TColor brushColor;
    TColor32 before;
    TColor32 dot, gap, interior; // expected pixels
};

} // namespace

// Pixel results of outlines and interiors on a cleared bitmap, which hit testing and the
// visibility of outlines and areas depend on.
TEST(Canvas32, RectanglePixelResults)
{
    const CanvasCase cases[] = {
        // area rectangle: green dotted not-xor pen, grey solid brush
        {"area", TPenMode::pmNotXor, TPenStyle::psDot, TBrushStyle::bsSolid, TColor{0x008000}, TColor{0x808080},
         0x00000000, 0xFFFF7FFF, 0xFF7F7F7F, 0xFF7F7F7F},
        // drag outline: black dotted not-xor pen, clear brush
        {"sketch", TPenMode::pmNotXor, TPenStyle::psDot, TBrushStyle::bsClear, clBlack, clWhite, 0x00000000,
         0xFFFFFFFF, 0x00000000, 0x00000000},
        // copy mode writes colours with alpha 0
        {"copy", TPenMode::pmCopy, TPenStyle::psSolid, TBrushStyle::bsSolid, TColor{0x0000FF}, TColor{0xFF0000},
         0xFFFFFFFF, 0x00FF0000, 0x00FF0000, 0x000000FF},
        {"copy dotted", TPenMode::pmCopy, TPenStyle::psDot, TBrushStyle::bsSolid, clBlack, TColor{0x123456},
         0xFFFFFFFF, 0x00000000, 0x00563412, 0x00563412},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TBitmap32 b(6, 5);
        b.Clear(c.before);
        auto& cv = b.Canvas();
        cv.Pen.Mode = c.mode;
        cv.Pen.Style = c.style;
        cv.Pen.Color = c.pen;
        cv.Brush.Style = c.brush;
        cv.Brush.Color = c.brushColor;
        cv.Rectangle(0, 0, 6, 5);
        EXPECT_EQ(b.Pixel(0, 0), c.dot);     // corner: a dot
        EXPECT_EQ(b.Pixel(1, 0), c.gap);     // next pixel along the top
        EXPECT_EQ(b.Pixel(2, 2), c.interior);
        if (c.brush == TBrushStyle::bsClear) {
            EXPECT_EQ(b.Pixel(1, 0), c.before);
        }
    }
}

TEST(Canvas32, EllipseLeavesCornersUntouched)
{
    TBitmap32 b(20, 20);
    auto& cv = b.Canvas();
    cv.Pen.Mode = TPenMode::pmNotXor;
    cv.Pen.Style = TPenStyle::psDot;
    cv.Pen.Color = TColor{0x008000};
    cv.Brush.Color = TColor{0x808080};
    cv.Ellipse(0, 0, 20, 20);
    EXPECT_EQ(b.Pixel(0, 0), 0u);
    EXPECT_EQ(b.Pixel(19, 19), 0u);
    EXPECT_EQ(b.Pixel(10, 10), 0xFF7F7F7Fu);
    // Every pixel of the disc is opaque: dots and gaps alike.
    int dots = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const auto p = b.Pixel(x, y);
            EXPECT_TRUE(p == 0 || p == 0xFF7F7F7F || p == 0xFFFF7FFF) << x << "," << y;
            dots += p == 0xFFFF7FFF;
        }
    EXPECT_GT(dots, 10);
    EXPECT_EQ(b.Pixel(10, 0) == 0xFFFF7FFF || b.Pixel(10, 0) == 0xFF7F7F7F, true); // top of the circle
}

TEST(Canvas32, NotXorTwiceRestores)
{
    TBitmap32 b(4, 4);
    b.Clear(0x80112233);
    auto& cv = b.Canvas();
    cv.Pen.Mode = TPenMode::pmNotXor;
    cv.Pen.Color = TColor{0x445566};
    cv.Brush.Color = TColor{0x778899};
    cv.Rectangle(0, 0, 4, 4);
    cv.Rectangle(0, 0, 4, 4);
    EXPECT_EQ(b.Pixel(0, 0), 0x80112233u);
    EXPECT_EQ(b.Pixel(1, 1), 0x80112233u);
}
