#pragma once
// JPEG encoding through libjpeg-turbo: every channel sampled at full resolution (4:4:4), so that sharp
// colour edges of a cut-out piece survive; quality 100 unless asked otherwise.

#include "ImgLib/ByteSink.h"
#include "ImgLib/WriteResult.h"

#include <string>

namespace tavrin {

class TBitmap32;

// The whole file into `out` (replaced). Alpha is ignored. On failure `out` is unspecified.
TWriteResult WriteJpeg(const TBitmap32& bitmap, std::string& out, int quality = 100);

// The file handed to `sink` piece by piece as it is encoded; a sink that returns false stops it.
TWriteResult WriteJpeg(const TBitmap32& bitmap, const TByteSink& sink, int quality = 100);

} // namespace tavrin
