#pragma once
// Writing every piece of a guide grid, one file a piece, and the page that reassembles them.
//
// Pieces are cut and written one at a time, so memory stays flat however many there are. Every file
// goes through the program's one replacement routine: a failure leaves no partial file, and pieces
// written before it stay.

#include "core/SliceGrid.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace tavrin {

class IMessageSeam;
class TBitmap32;

struct TSlicesRequest
{
    QString Folder;
    QString BaseName;
    QString Extension; // "jpg", "gif", "png" or "bmp"
    bool MakePage = true;
    QString PageTitle;
};

struct TSlicesOutcome
{
    int Written = 0;        // pieces written
    bool PageWritten = false;
    bool Cancelled = false;
    QString Error;          // Korean: the file and the reason; empty when nothing failed
};

// Every path the request will write: the pieces row by row, then the page when asked for.
QStringList SliceFilePaths(const TSliceGrid& grid, const TSlicesRequest& request);

// Called before each piece with the number done so far; returning false stops before that piece.
using TSlicesProgress = std::function<bool(int done, int total)>;

TSlicesOutcome SaveSlices(const TBitmap32& picture, const TSliceGrid& grid, const TSlicesRequest& request,
                          IMessageSeam& messages, const TSlicesProgress& progress = {});

// The opaque pixels of `cell`, which lies inside the picture.
TBitmap32 CopyCell(const TBitmap32& picture, const TRect& cell);

} // namespace tavrin
