#pragma once
// The largest picture the program will hold, in pixels. At four bytes a pixel it is 1 GiB, which this machine
// can keep beside a decoder's own buffers. Every reader refuses a file that claims more before it allocates
// anything for the picture, and the new-image dialog uses the same limit.

#include <cstdint>

namespace tavrin {

inline constexpr std::int64_t kPixelBudget = 268'435'456;

// True when a picture of width x height pixels is non-empty and fits the budget (no overflow for any input).
constexpr bool FitsPixelBudget(std::int64_t width, std::int64_t height)
{
    return width > 0 && height > 0 && width <= kPixelBudget / height;
}

} // namespace tavrin
