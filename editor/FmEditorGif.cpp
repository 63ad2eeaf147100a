#include "dialogs/FmGIF.h"
#include "editor/FmEditor.h"

namespace tavrin {

void TFmEditor::SaveTransparentGif()
{
    TFmGIF dialog(FMessages, this);
    dialog.SetImage(FImgEditor->FSelBitmap);
    dialog.exec();
}

} // namespace tavrin
