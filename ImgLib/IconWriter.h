#pragma once
// Windows icon and cursor files holding one picture: 24 bits a pixel (B, G, R), or 8 bits with a
// 256-entry colour table, each followed by an all-opaque AND mask. A cursor's hotspot is (0, 0).

#include "ImgLib/WriteResult.h"

#include <string>

namespace tavrin {

class TBitmap32;
struct TIndexedImage;

enum class TIconKind
{
    ikIcon = 1,
    ikCursor = 2,
};

// The whole file into `out` (replaced). Sides above 256 do not fit the format's directory.
TWriteResult WriteIcon24(const TBitmap32& bitmap, TIconKind kind, std::string& out);
// `image` with its palette (at most 256 entries; the table is padded with black).
TWriteResult WriteIcon8(const TIndexedImage& image, TIconKind kind, std::string& out);

} // namespace tavrin
