#include "core/Polygon32.h"

#include "core/PixelBlend.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace tavrin {

namespace {

using i64 = std::int64_t;

// Products of two factors below this magnitude fit into 64 bits with room for rounding terms.
constexpr i64 kExactLimit = i64{1} << 30;

bool FitsExactly(i64 a, i64 b)
{
    return a > -kExactLimit && a < kExactLimit && b > -kExactLimit && b < kExactLimit;
}

i64 ClampToI64(long double v)
{
    constexpr long double limit = static_cast<long double>(i64{1} << 62);
    return static_cast<i64>(std::clamp(v, -limit, limit));
}

i64 FloorDiv(i64 n, i64 d) // d > 0
{
    const i64 q = n / d;
    return (n % d != 0 && n < 0) ? q - 1 : q;
}

i64 CeilDiv(i64 n, i64 d) // d > 0
{
    const i64 q = n / d;
    return (n % d != 0 && n > 0) ? q + 1 : q;
}

// ceil(a * b / c), c > 0. Vertices far beyond any picture fall back to extended precision, which
// can be off by one there but never overflows.
i64 CeilMulDiv(i64 a, i64 b, i64 c)
{
    if (FitsExactly(a, b) && c < kExactLimit) return CeilDiv(a * b, c);
    return ClampToI64(std::ceil(static_cast<long double>(a) * b / c));
}

// a * b / c rounded, halves upwards, c > 0.
i64 RoundMulDiv(i64 a, i64 b, i64 c)
{
    if (FitsExactly(a, b) && c < kExactLimit) return FloorDiv(2 * a * b + c, 2 * c);
    return ClampToI64(std::floor(static_cast<long double>(a) * b / c + 0.5L));
}

struct TEdge
{
    i64 X0, Y0, X1, Y1; // Y0 < Y1
};

std::vector<TEdge> EdgesOf(const std::vector<TPolygon32::TContour>& contours)
{
    std::vector<TEdge> edges;
    for (const auto& contour : contours) {
        for (std::size_t i = 0; i < contour.size(); ++i) {
            const TPoint a = contour[i], b = contour[(i + 1) % contour.size()];
            if (a.Y == b.Y) continue; // a horizontal edge crosses no row
            if (a.Y < b.Y)
                edges.push_back({a.X, a.Y, b.X, b.Y});
            else
                edges.push_back({b.X, b.Y, a.X, a.Y});
        }
    }
    std::sort(edges.begin(), edges.end(), [](const TEdge& l, const TEdge& r) { return l.Y0 < r.Y0; });
    return edges;
}

// The first pixel column at or right of where the edge crosses row y (Y0 <= y < Y1).
i64 CrossingColumn(const TEdge& e, i64 y)
{
    return e.X0 + CeilMulDiv(y - e.Y0, e.X1 - e.X0, e.Y1 - e.Y0);
}

// The pixels of the line from a to b that lie within clip: one per step along the longer axis, so
// the same pixels whichever end it is drawn from. Only the steps inside clip are visited.
void LinePixels(TPoint a, TPoint b, const TRect& clip, std::vector<TPoint>& out)
{
    const bool xMajor = std::abs(i64{b.X} - a.X) >= std::abs(i64{b.Y} - a.Y);
    // Walk along the major axis as "u" and compute the minor one as "v".
    i64 u0 = xMajor ? a.X : a.Y, v0 = xMajor ? a.Y : a.X;
    i64 u1 = xMajor ? b.X : b.Y, v1 = xMajor ? b.Y : b.X;
    if (u1 < u0) {
        std::swap(u0, u1);
        std::swap(v0, v1);
    }
    const i64 uLo = std::max<i64>(u0, xMajor ? clip.Left : clip.Top);
    const i64 uHi = std::min<i64>(u1, (xMajor ? clip.Right : clip.Bottom) - 1);
    for (i64 u = uLo; u <= uHi; ++u) {
        const i64 v = u1 == u0 ? v0 : v0 + RoundMulDiv(u - u0, v1 - v0, u1 - u0);
        const i64 x = xMajor ? u : v, y = xMajor ? v : u;
        if (x >= clip.Left && x < clip.Right && y >= clip.Top && y < clip.Bottom)
            out.push_back({static_cast<int>(x), static_cast<int>(y)});
    }
}

// Mostly the span lies on cleared, transparent pixels, which simply take the colour.
void MergeSpan(TColor32* first, TColor32* last, TColor32 color)
{
    for (TColor32* p = first; p != last; ++p)
        *p = AlphaOf(*p) == 0 ? color : MergePixel(color, *p);
}

} // namespace

TColor32 MergePixel(TColor32 src, TColor32 dst)
{
    const std::uint32_t sa = AlphaOf(src);
    const std::uint32_t da = AlphaOf(dst);
    if (sa == 0) return dst;
    if (sa == 255 || da == 0) return src;
    const std::uint32_t wd = Div255(da * (255 - sa)); // what shows of dst through src
    const std::uint32_t ra = sa + wd;
    const auto mix = [&](int shift) {
        const std::uint32_t cs = (src >> shift) & 0xFFu, cd = (dst >> shift) & 0xFFu;
        return ((cs * sa + cd * wd + ra / 2) / ra) << shift;
    };
    return ra << 24 | mix(16) | mix(8) | mix(0);
}

void TPolygon32::Clear()
{
    FContours.clear();
    NewLine();
}

void TPolygon32::Translate(int dx, int dy)
{
    const auto moved = [](int v, int d) {
        return static_cast<int>(
            std::clamp<i64>(i64{v} + d, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
    };
    for (auto& contour : FContours)
        for (TPoint& p : contour)
            p = {moved(p.X, dx), moved(p.Y, dy)};
}

bool TPolygon32::HasVertices() const
{
    return std::any_of(FContours.begin(), FContours.end(), [](const TContour& c) { return !c.empty(); });
}

TRect TPolygon32::PixelBounds(const TRect& clip) const
{
    if (!HasVertices()) return {};
    i64 left = std::numeric_limits<i64>::max(), top = left;
    i64 right = std::numeric_limits<i64>::min(), bottom = right;
    for (const auto& contour : FContours) {
        for (const TPoint& p : contour) {
            left = std::min<i64>(left, p.X);
            top = std::min<i64>(top, p.Y);
            right = std::max<i64>(right, i64{p.X} + 1);
            bottom = std::max<i64>(bottom, i64{p.Y} + 1);
        }
    }
    const TRect r{static_cast<int>(std::clamp<i64>(left, clip.Left, clip.Right)),
                  static_cast<int>(std::clamp<i64>(top, clip.Top, clip.Bottom)),
                  static_cast<int>(std::clamp<i64>(right, clip.Left, clip.Right)),
                  static_cast<int>(std::clamp<i64>(bottom, clip.Top, clip.Bottom))};
    return r.IsEmpty() ? TRect{} : r;
}

void TPolygon32::DrawFill(TBitmap32& bitmap, TColor32 color, TPoint origin) const
{
    const TRect box =
        PixelBounds({origin.X, origin.Y, origin.X + bitmap.Width(), origin.Y + bitmap.Height()});
    if (box.IsEmpty() || AlphaOf(color) == 0) return;
    const std::vector<TEdge> edges = EdgesOf(FContours);
    std::vector<const TEdge*> active;
    std::vector<int> columns;
    std::size_t next = 0;
    for (int y = box.Top; y < box.Bottom; ++y) {
        while (next < edges.size() && edges[next].Y0 <= y)
            active.push_back(&edges[next++]);
        std::erase_if(active, [y](const TEdge* e) { return e->Y1 <= y; });
        columns.clear();
        for (const TEdge* e : active)
            columns.push_back(static_cast<int>(std::clamp<i64>(CrossingColumn(*e, y), box.Left, box.Right)));
        std::sort(columns.begin(), columns.end());
        TColor32* row = bitmap.ScanLine(y - origin.Y);
        for (std::size_t i = 0; i + 1 < columns.size(); i += 2)
            MergeSpan(row + (columns[i] - origin.X), row + (columns[i + 1] - origin.X), color);
    }
}

void TPolygon32::DrawEdge(TBitmap32& bitmap, TColor32 color, TPoint origin) const
{
    if (AlphaOf(color) == 0) return;
    const TRect clip{origin.X, origin.Y, origin.X + bitmap.Width(), origin.Y + bitmap.Height()};
    std::vector<TPoint> pixels;
    for (const auto& contour : FContours)
        for (std::size_t i = 0; i < contour.size(); ++i)
            LinePixels(contour[i], contour[(i + 1) % contour.size()], clip, pixels);
    // Where segments meet or cross, a pixel is still blended only once.
    const auto byRow = [](const TPoint& l, const TPoint& r) { return l.Y != r.Y ? l.Y < r.Y : l.X < r.X; };
    std::sort(pixels.begin(), pixels.end(), byRow);
    pixels.erase(std::unique(pixels.begin(), pixels.end()), pixels.end());
    for (const TPoint& p : pixels) {
        TColor32& px = bitmap.ScanLine(p.Y - origin.Y)[p.X - origin.X];
        px = MergePixel(color, px);
    }
}

} // namespace tavrin
