#pragma once
// ZSoft PCX files of 24 bits: version 5, three 8-bit planes (red, green, blue) a scan line, run-length
// encoded plane by plane.

#include "ImgLib/WriteResult.h"

#include <string>

namespace tavrin {

class TBitmap32;

// The whole file into `out` (replaced). Pictures wider or taller than 65 535 pixels do not fit.
TWriteResult WritePcx(const TBitmap32& bitmap, std::string& out);

} // namespace tavrin
