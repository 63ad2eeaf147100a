#pragma once
// The PNG filter of one row of 8-bit RGB samples, chosen per row as libpng chooses it: each of the five
// filters is tried and the one whose output has the smallest sum of absolute values (the bytes read as
// signed) wins. The rule is cheap and compresses photographs and drawings alike well.

#include <cstddef>
#include <cstdint>

namespace tavrin {

// Writes the filter type byte and the `bytes` filtered samples of `row` to `out` (bytes + 1 long).
// `above` is the unfiltered row above; the first row of the picture has a row of zeros above it.
void FilterPngRow(const std::uint8_t* row, const std::uint8_t* above, std::size_t bytes, std::uint8_t* out);

} // namespace tavrin
