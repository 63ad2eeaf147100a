// The editor window's image-map tag dialogs: one area's tags, and all tags of the picture.
#include "editor/FmEditor.h"

#include "dialogs/FmImgMapAll.h"
#include "dialogs/FmImgTag.h"
#include "editor/Image32.h"

namespace tavrin {

void TFmEditor::EditAreaTag()
{
    TImageMapLyer* area = FImgEditor->FTagArea;
    if (!area)
        return;
    TFmImgTag dialog(this);
    dialog.SetArea(*area);
    dialog.exec(); // the dialog stores into the area itself; how it closed does not matter here
}

void TFmEditor::ShowAllTags()
{
    TFmImgMapAll dialog(this);
    const TBitmap32& bitmap = FImage->Bitmap(); // image pixels, whatever the zoom
    dialog.SetImageSize(bitmap.Width(), bitmap.Height());
    dialog.SetFileName(QString::fromStdString(FImgEditor->FFileName));
    dialog.SetMapText(QString::fromStdString(FImgEditor->BuildMapMarkup()));
    dialog.exec();
}

} // namespace tavrin
