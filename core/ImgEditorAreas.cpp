// Image-map areas.
#include "core/ImgEditor.h"

#include "core/ImgMap.h"

namespace tavrin {

void TImgEditor::MoveAreaBy(TImageMapLyer& area, int dx, int dy)
{
    const TFloatBounds& b = area.Bounds();
    area.SetBounds({b.Left + dx, b.Top + dy, b.Right + dx, b.Bottom + dy});
}

} // namespace tavrin
