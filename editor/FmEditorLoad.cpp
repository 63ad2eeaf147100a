// Giving the editor window its picture: a new blank image, or a file.
#include "editor/FmEditor.h"

#include "ImgLib/PixelBudget.h"
#include "editor/Image32.h"
#include "editor/ImageLoading.h"

#include <QRegularExpression>

#include <algorithm>

namespace tavrin {

bool IsWebAddress(const QString& name)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://"));
    return scheme.match(name).hasMatch();
}

QString FilePartOfName(const QString& name)
{
    // A web address keeps its "/"s: only what follows its last ":" is dropped (the scheme, or a port's
    // text before it). Local folders end at "/", and at "\" or ":" in names that come from elsewhere.
    if (IsWebAddress(name)) return name.mid(name.lastIndexOf(u':') + 1);
    const qsizetype cut = std::max({name.lastIndexOf(u'/'), name.lastIndexOf(u'\\'), name.lastIndexOf(u':')});
    return name.mid(cut + 1);
}

void TFmEditor::NewImage(int width, int height)
{
    ChangeScale(1.0f);
    FImgEditor->KeepRegionPixels();
    TBitmap32& b = FImage->Bitmap();
    b.Clear(clBlack32);
    // Sizes of 0 or less give an empty picture; a size beyond what the program can hold is refused by
    // the callers before they get here, and never allocated here either.
    if (!FitsPixelBudget(width, height))
        width = height = 0;
    b.SetWidth(width);
    b.SetHeight(height);
    b.FillRect(0, 0, width, height, clWhite32);
    FImage->BitmapChanged();
}

bool TFmEditor::LoadFromFile(const QString& fileName, QString* error)
{
    TLoadedBitmap loaded = LoadBitmapByExtension(fileName);
    if (!loaded.Ok()) {
        if (error)
            *error = loaded.Error;
        return false; // the window stays as it was
    }
    FImgEditor->KeepRegionPixels();
    TBitmap32& b = FImage->Bitmap();
    b = std::move(*loaded.Bitmap);
    b.DrawMode = TDrawMode::dmOpaque;
    b.MasterAlpha = 255;
    FImage->BitmapChanged();
    setWindowTitle(FilePartOfName(fileName));
    FImgEditor->FFileName = fileName.toStdString();
    UpdateImageSize();
    return true;
}

} // namespace tavrin
