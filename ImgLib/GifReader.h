#pragma once
// GIF files through giflib. The first frame of an animation is the picture, on the logical screen's size;
// transparent pixels and the parts of the screen the frame does not cover are white.

#include "ImgLib/PictureFormats.h"

namespace tavrin {

TReadResult ReadGif(std::span<const std::uint8_t> data, TBitmap32& out);
void RegisterGifFormat(TPictureFormatRegistry& registry);

} // namespace tavrin
