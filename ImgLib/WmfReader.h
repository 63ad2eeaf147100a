#pragma once
// Windows metafiles (WMF), played by our own record player: the picture at the size its placeable header
// gives at 96 pixels per inch (or its window extent for files without one), drawn over white.

#include "ImgLib/PictureFormats.h"

namespace tavrin {

TReadResult ReadWmf(std::span<const std::uint8_t> data, TBitmap32& out);
void RegisterWmfFormat(TPictureFormatRegistry& registry);

} // namespace tavrin
