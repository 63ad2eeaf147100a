#pragma once
// Saving a picture under a file name: the name proposed from an editor caption, the writer chosen by the
// name's last three letters (or the ending "jpeg"), and the icon size rule.

#include <QString>

class QWidget;

namespace tavrin {

class IMessageSeam;
class TBitmap32;

// The editor caption as a proposed file name: a trailing "*" goes, then a four-character extension
// (".jpg") goes. "photo.jpeg" stays as it is.
QString TrimSaveFileName(const QString& caption);

// True exactly for square pictures of side 16, 24, 32, 48, 64, 72, 96 or 128.
bool IsIconSize(int width, int height);

// The text shown when a picture of another size is to be saved as an icon or cursor.
QString IconSizeMessage();

// The save dialog's filter, in the platform's "description|pattern|..." form: eleven entries.
QString SavePictureFilter();
inline constexpr int kSavePictureFilterIndexPng = 3; // 1-based, as the dialog counts

// A depth named by the chosen dialog entry; it counts only when the typed name ends in Extension.
struct TDepthChoice
{
    QString Extension; // "bmp", "ico" or "cur"; empty: none
    int BitsPerPixel = 0;
};
// The depth the dialog's entry `filterIndex` (1-based) names: 32-bit bitmap, 8-bit icon, 8-bit cursor.
TDepthChoice DepthChoiceOfFilterEntry(int filterIndex);

enum class TSaveOutcome
{
    Saved,
    NoWriter,        // the name's ending names no writer; Message says which endings do
    IconSizeRefused, // an icon or cursor of a size IsIconSize refuses; the size message was shown
    WriteFailed,     // the writer or the file system failed; Message names the file and the reason
};

struct TSaveResult
{
    TSaveOutcome Outcome = TSaveOutcome::NoWriter;
    QString Message;
    bool Saved() const { return Outcome == TSaveOutcome::Saved; }
};

// Writes `bitmap` with the writer chosen by the last three letters of `fileName`, letter case aside:
// jpg, gif, png, mng, bmp, pcx, ico, cur; a name ending in "jpeg" is written as JPEG. The file is replaced only once the whole new file is written;
// on any failure an existing file stays as it was. The icon size message goes through `messages`.
TSaveResult SaveBitmapByExtension(const TBitmap32& bitmap, const QString& fileName, IMessageSeam& messages,
                                  const TDepthChoice& depth = {});

// The writer a name selects, for the save dialog and tests: "jpg", ..., "cur", or "" for none.
QString WriterExtensionOf(const QString& fileName);

} // namespace tavrin
