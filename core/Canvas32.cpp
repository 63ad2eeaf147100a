#include "core/Canvas32.h"

#include "core/Bitmap32.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace tavrin {

namespace {

// The dot pattern: one pixel on, one off, in a checkerboard anchored at the shape's corner, so
// that consecutive outline pixels alternate along every straight run.
bool IsDot(int x, int y, int x0, int y0) { return ((x - x0) + (y - y0)) % 2 == 0; }

void Order(int& a, int& b)
{
    if (a > b)
        std::swap(a, b);
}

} // namespace

TColor32 TCanvas32::Combine(TColor32 colourPixel, TColor32 existing) const
{
    if (Pen.Mode == TPenMode::pmNotXor)
        return ~(colourPixel ^ existing);
    return colourPixel;
}

void TCanvas32::Plot(int x, int y, TPart part)
{
    if (x < 0 || y < 0 || x >= FTarget.Width() || y >= FTarget.Height())
        return;
    TColor c;
    if (part == TPart::OutlineDot) {
        c = Pen.Color;
    } else {
        if (Brush.Style == TBrushStyle::bsClear)
            return;
        c = Brush.Color;
    }
    TColor32& px = FTarget.ScanLine(y)[x];
    px = Combine(CanvasPixelOf(c), px);
}

void TCanvas32::Rectangle(int x1, int y1, int x2, int y2)
{
    Order(x1, x2);
    Order(y1, y2);
    const bool dotted = Pen.Style == TPenStyle::psDot;
    const int cx1 = std::max(x1, 0), cy1 = std::max(y1, 0);
    const int cx2 = std::min(x2, FTarget.Width()), cy2 = std::min(y2, FTarget.Height());
    const auto plotBorder = [&](int x, int y) {
        Plot(x, y, !dotted || IsDot(x, y, x1, y1) ? TPart::OutlineDot : TPart::OutlineGap);
    };
    const bool clearBrush = Brush.Style == TBrushStyle::bsClear;
    for (int y = cy1; y < cy2; ++y) {
        if (y == y1 || y == y2 - 1) {
            for (int x = cx1; x < cx2; ++x)
                plotBorder(x, y);
        } else if (clearBrush) {
            // Nothing inside changes: touch the two border columns only, so large outlines stay cheap.
            if (x1 >= cx1 && x1 < cx2)
                plotBorder(x1, y);
            if (x2 - 1 != x1 && x2 - 1 >= cx1 && x2 - 1 < cx2)
                plotBorder(x2 - 1, y);
        } else {
            for (int x = cx1; x < cx2; ++x)
                if (x == x1 || x == x2 - 1)
                    plotBorder(x, y);
                else
                    Plot(x, y, TPart::Interior);
        }
    }
}

void TCanvas32::Ellipse(int x1, int y1, int x2, int y2)
{
    Order(x1, x2);
    Order(y1, y2);
    if (x2 - x1 <= 0 || y2 - y1 <= 0)
        return;
    const double cx = (x1 + x2) / 2.0, cy = (y1 + y2) / 2.0;
    const double rx = (x2 - x1) / 2.0, ry = (y2 - y1) / 2.0;
    // A pixel belongs to the ellipse when its centre lies inside; it is on the outline when a
    // 4-neighbour does not.
    const auto inside = [&](int x, int y) {
        if (x < x1 || x >= x2 || y < y1 || y >= y2)
            return false;
        const double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
        return dx * dx + dy * dy <= 1.0;
    };
    const bool dotted = Pen.Style == TPenStyle::psDot;
    const int cx1 = std::max(x1, 0), cy1 = std::max(y1, 0);
    const int cx2 = std::min(x2, FTarget.Width()), cy2 = std::min(y2, FTarget.Height());
    for (int y = cy1; y < cy2; ++y) {
        for (int x = cx1; x < cx2; ++x) {
            if (!inside(x, y))
                continue;
            const bool edge = !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
            if (!edge)
                Plot(x, y, TPart::Interior);
            else if (!dotted || IsDot(x, y, x1, y1))
                Plot(x, y, TPart::OutlineDot);
            else
                Plot(x, y, TPart::OutlineGap);
        }
    }
}

void TCanvas32::FillRect(int x1, int y1, int x2, int y2)
{
    Order(x1, x2);
    Order(y1, y2);
    FTarget.FillRect(x1, y1, x2, y2, CanvasPixelOf(Brush.Color));
}

} // namespace tavrin
