#pragma once
// PNG and MNG encoding through libpng: truecolour, 8 bits a channel, no alpha. The MNG form is a
// one-picture MNG: the MNG signature, an MHDR chunk, the picture's PNG chunks and MEND.

#include "ImgLib/ByteSink.h"
#include "ImgLib/WriteResult.h"

#include <string>

namespace tavrin {

class TBitmap32;

// zlib's level; 6 is zlib's own default and what other PNG writers use unless told otherwise.
inline constexpr int kPngCompressionLevel = 6;

// The whole file into `out` (replaced). Alpha is ignored. On failure `out` is unspecified.
TWriteResult WritePng(const TBitmap32& bitmap, std::string& out, int compressionLevel = kPngCompressionLevel);
TWriteResult WriteMng(const TBitmap32& bitmap, std::string& out, int compressionLevel = kPngCompressionLevel);

// The same files handed to `sink` piece by piece as they are encoded; a sink that returns false stops it.
TWriteResult WritePng(const TBitmap32& bitmap, const TByteSink& sink, int compressionLevel = kPngCompressionLevel);
TWriteResult WriteMng(const TBitmap32& bitmap, const TByteSink& sink, int compressionLevel = kPngCompressionLevel);

} // namespace tavrin
