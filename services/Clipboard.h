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
        NoPicture,  // nothing on the clipboard is in a format our readers read
        Unreadable, // an offer in such a format that its reader refused (damaged, too large, no memory)
    };
    TState State = TState::NoPicture;
    QString Detail; // for Unreadable: a Korean sentence naming the format and the reader's reason
};

// Reads the picture on the clipboard into `out` as an opaque RGB picture (transparent parts over white).
// Only the formats of the program's own readers (PictureFormats) are decoded, by those readers, straight
// from the encoded offer into `out`: the first offer in such a format decides, so a damaged or oversized
// picture is refused with its reader's reason. A picture this process put on the clipboard itself is taken
// as it is. The toolkit's generic image plugins never see what other programs offer. `out` is changed
// only on success.
TClipboardPicture ReadBitmapFromClipboard(TBitmap32& out);

} // namespace tavrin
