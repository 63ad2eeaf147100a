// Giving the editor window its picture: a new blank image, or a file.
#include "editor/FmEditor.h"

#include "ImgLib/PixelBudget.h"
#include "editor/Image32.h"

namespace tavrin {

void TFmEditor::NewImage(int width, int height)
{
    ChangeScale(1.0f);
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

} // namespace tavrin
