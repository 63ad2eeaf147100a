#pragma once
// Reading a picture file into a new bitmap, the reader chosen by the last three characters of the name
// (or the ending "jpeg").

#include "core/Bitmap32.h"

#include <QString>

#include <memory>

namespace tavrin {

struct TLoadedBitmap
{
    std::unique_ptr<TBitmap32> Bitmap; // the picture, owned by the caller; null when loading failed
    QString Error;                     // why, for a message box; empty on success

    bool Ok() const { return Bitmap != nullptr; }
};

// What a window shows for a file that does not exist: 32 x 32, white, with a red cross 3 pixels wide.
TBitmap32 MissingFilePlaceholder();

// Reads `fileName` with the reader that its last three characters, upper-cased, name: BMP, EMF, GIF, ICO,
// JPG, PNG or WMF (so "mapbmp" is read as a bitmap file); a name ending in "jpeg" is read as JPEG. A name that is not an
// existing file gives the placeholder; any other ending fails with "Assertion failure" and a
// line that names the ending and the endings that can be opened; a file its reader
// cannot decode fails with the reader's message, which names the file.
TLoadedBitmap LoadBitmapByExtension(const QString& fileName);

} // namespace tavrin
