#pragma once
// The one rounding of the program: to the nearest integer, halves to the even neighbour.

#include <climits>
#include <cmath>

namespace tavrin {

// 2.5 -> 2, 3.5 -> 4, -2.5 -> -2. Values beyond the int range saturate instead of being undefined.
inline int RoundEven(long double x)
{
    if (std::isnan(x))
        return 0;
    const long double r = std::nearbyint(x); // the default rounding mode is ties-to-even
    if (r >= static_cast<long double>(INT_MAX))
        return INT_MAX;
    if (r <= static_cast<long double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(r);
}

} // namespace tavrin
