#pragma once
// The pixel data of a PNG (the zlib stream inside its IDAT chunks) made band by band: the picture is cut
// into bands of rows, each filtered and compressed as its own deflate stream on every core at once, and
// the bands are joined in order into one stream. A picture of one band is made on the calling thread.

#include "ImgLib/JoinableDeflate.h"

#include <cstdint>
#include <functional>

namespace tavrin {

class TBitmap32;

// Rows in one band of a picture this wide (about a megabyte of samples; at least one row).
int PngRowsPerBand(int width);

enum class TBandOutcome
{
    boDone,
    boOutOfMemory,
    boRefused,
    boBroken
};

struct TPngPixelData
{
    TBandOutcome Outcome = TBandOutcome::boDone;
    std::uint32_t Adler32 = 1; // of all the filtered rows, for the zlib stream's end
};

// Hands each band's deflate bytes, in order, to `take`; a `take` that returns false stops the encoder
// (boRefused). `level` is libdeflate's. No exception leaves it: running out of memory anywhere, on any
// thread, is boOutOfMemory.
using TBandTaker = std::function<bool(const TDeflatedBand&)>;
TPngPixelData EncodePngPixelData(const TBitmap32& bitmap, int level, const TBandTaker& take);

} // namespace tavrin
