#pragma once
// Small value types shared by the editing core.

#include <algorithm>

namespace tavrin {

struct TPoint
{
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

// Integer rectangle; Right and Bottom are exclusive.
struct TRect
{
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

inline TRect Intersect(const TRect& a, const TRect& b)
{
    TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
            std::min(a.Bottom, b.Bottom)};
    if (r.IsEmpty())
        return {};
    return r;
}

inline TRect Union(const TRect& a, const TRect& b)
{
    if (a.IsEmpty())
        return b;
    if (b.IsEmpty())
        return a;
    return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
            std::max(a.Bottom, b.Bottom)};
}

// Four single-precision floats; Right and Bottom are exclusive edges.
struct TFloatBounds
{
    float Left = 0;
    float Top = 0;
    float Right = 0;
    float Bottom = 0;
    friend bool operator==(const TFloatBounds&, const TFloatBounds&) = default;
};

} // namespace tavrin
