#pragma once
// Small previews of pictures: the size a picture is shrunk to so that it fits a box, and the shrunk
// picture itself, averaged over each target pixel's footprint so fine patterns turn grey instead of
// aliasing.

#include <QImage>
#include <QSize>

namespace tavrin {

class TBitmap32;

// The size `width` x `height` is shrunk to so that it fits `maxWidth` x `maxHeight`, found the way the
// preview has always found it: the wide side is set to the box and the other side follows, rounded
// halves to even, until both fit. A size that fits already is returned as it is; a box without room
// gives 0 x 0.
QSize ThumbnailSize(int maxWidth, int maxHeight, int width, int height);

// `source` shrunk to ThumbnailSize with an area-averaging stretch, or copied when it fits already.
// Unless `keepSize`, the result is then made `maxWidth` x `maxHeight`, the picture at the top-left and
// the margin white. Pixels come out opaque (Format_RGB32); the source's alpha is ignored. With
// `keepSize`, a size with a side of 0 gives a null image.
QImage MakeThumbnail(int maxWidth, int maxHeight, const QImage& source, bool keepSize);
QImage MakeThumbnail(int maxWidth, int maxHeight, const TBitmap32& source, bool keepSize);

// `bitmap`'s pixels seen as an RGB32 image, without copying: valid as long as the bitmap is unchanged.
QImage ImageView(const TBitmap32& bitmap);

} // namespace tavrin
