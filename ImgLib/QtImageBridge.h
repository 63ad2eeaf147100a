#pragma once
// Moving pictures between Qt's QImage and TBitmap32, for the readers that draw through Qt.

#include <QImage>

namespace tavrin {

class TBitmap32;

// A white, opaque canvas of the given size for a reader to draw on.
QImage WhiteCanvas(int width, int height);

// A QImage that paints on, or is decoded into, `bitmap`'s own pixels; valid while `bitmap` keeps its size.
// `format` is Format_RGB32 or Format_ARGB32, whose words are laid out as TColor32.
QImage ImageOnBitmap(TBitmap32& bitmap, QImage::Format format = QImage::Format_RGB32);

// Sets every pixel's alpha to opaque, in place.
void MakeOpaque(TBitmap32& bitmap);

// `image`'s colours as they are stored, every pixel made opaque (alpha is dropped, not composited).
TBitmap32 BitmapFromImage(const QImage& image);

// `image` drawn over white: transparent parts become white.
TBitmap32 BitmapOverWhite(const QImage& image);

// Qt refuses to decode pictures above its own allocation limit (256 MB by default). The pixel budget is the
// limit that counts here, so raise Qt's to match it. Safe to call more than once.
void MatchQtAllocationLimitToBudget();

} // namespace tavrin
