#pragma once
// The clipboard: pictures out in formats every desktop program takes (PNG first, also BMP and the
// rest of Qt's writers), pictures in from whatever another program offers, text out as plain text.

#include <QString>

namespace tavrin {

class TBitmap32;

// Puts `bitmap` (alpha ignored: an opaque RGB picture) on the clipboard, replacing its contents.
void CopyBitmapToClipboard(const TBitmap32& bitmap);

// Puts plain text on the clipboard, replacing its contents.
void CopyTextToClipboard(const QString& text);

struct TClipboardPicture
{
    enum class TState
    {
        Ok,
        NoPicture, // nothing on the clipboard is a picture we can read
        TooLarge,  // larger than the pixel budget; refused before decoding
    };
    TState State = TState::NoPicture;
    QString Detail; // for TooLarge: a Korean sentence with the size
};

// Reads the picture on the clipboard into `out` as an opaque RGB picture (transparent parts over white).
// `out` is changed only on success. A picture beyond the pixel budget is refused from its header alone.
TClipboardPicture ReadBitmapFromClipboard(TBitmap32& out);

} // namespace tavrin
