#pragma once
// PNG and MNG encoding: truecolour, 8 bits a channel, no alpha, each row filtered as libpng filters it.
// The pixel data is compressed in bands on every core (PngBandEncoder). The MNG form is a one-picture
// MNG: the MNG signature, an MHDR chunk, the picture's PNG chunks and MEND.

#include "ImgLib/ByteSink.h"
#include "ImgLib/WriteResult.h"

#include <string>

namespace tavrin {

class TBitmap32;

// psDefault compresses about as well as zlib's default level, which other PNG writers use, several times
// faster; psFastest is for files that live briefly (the clipboard's), larger but made fastest.
enum class TPngSpeed
{
    psDefault,
    psFastest
};

// The whole file into `out` (replaced). Alpha is ignored. On failure `out` is unspecified.
TWriteResult WritePng(const TBitmap32& bitmap, std::string& out, TPngSpeed speed = TPngSpeed::psDefault);
TWriteResult WriteMng(const TBitmap32& bitmap, std::string& out, TPngSpeed speed = TPngSpeed::psDefault);

// The same files handed to `sink` piece by piece as they are encoded; a sink that returns false stops it.
TWriteResult WritePng(const TBitmap32& bitmap, const TByteSink& sink, TPngSpeed speed = TPngSpeed::psDefault);
TWriteResult WriteMng(const TBitmap32& bitmap, const TByteSink& sink, TPngSpeed speed = TPngSpeed::psDefault);

} // namespace tavrin
