#pragma once
// Windows bitmap files, uncompressed, bottom-up: 24 bits a pixel (B, G, R) or 32 bits (B, G, R, 0). The
// fourth byte of the 32-bit form is 0, which every reader takes as an opaque picture.

#include "ImgLib/WriteResult.h"

#include <string>

namespace tavrin {

class TBitmap32;

// `bitsPerPixel` is 24 or 32. The whole file into `out` (replaced).
TWriteResult WriteBmp(const TBitmap32& bitmap, std::string& out, int bitsPerPixel = 24);

// The pixel rows of a bottom-up DIB (rows padded to four bytes), appended to `out`; used by icons too.
void AppendDibRows24(const TBitmap32& bitmap, std::string& out);

} // namespace tavrin
