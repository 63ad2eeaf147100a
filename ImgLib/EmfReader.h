#pragma once
// Enhanced metafiles (EMF) through libemf2svg and Qt's SVG renderer: the picture at the size its header frame
// gives at 96 pixels per inch, drawn over white.

#include "ImgLib/PictureFormats.h"

#include <string>

namespace tavrin {

TReadResult ReadEmf(std::span<const std::uint8_t> data, TBitmap32& out);
void RegisterEmfFormat(TPictureFormatRegistry& registry);

// libemf2svg draws every shape filled with a null pen with an extra 1-pixel outline in the fill colour, which
// makes filled shapes half a pixel too large on every side. The outline is written as exactly
// `stroke-width="1px" stroke="#RRGGBB"`; real pens are written with a decimal width. Removes those outlines.
std::string RemoveNullPenOutlines(std::string svg);

} // namespace tavrin
