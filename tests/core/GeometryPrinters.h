#pragma once
// Readable test failures for the geometry types. Internal linkage, so that any test file may have
// printers of its own.

#include "core/Geometry.h"

#include <ostream>

namespace tavrin {

[[maybe_unused]] static void PrintTo(const TFloatBounds& b, std::ostream* os)
{
    *os << "(" << b.Left << ", " << b.Top << ", " << b.Right << ", " << b.Bottom << ")";
}

[[maybe_unused]] static void PrintTo(const TRect& r, std::ostream* os)
{
    *os << "(" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << ")";
}

} // namespace tavrin
