#pragma once
// The pictures of the main window, drawn in code so that they stay sharp and carry Korean labels in the
// program's own font: the header pictures (14 of 52 x 46: new image, open, copy, paste, save, arrange,
// view, then the same seven highlighted), the drop-down pictures (8 of 18 x 18), the product logo, the
// promotion banner, the tip dialog's light bulb and the about artwork.

#include <QPixmap>

namespace tavrin {

inline constexpr int kHeadPictureCount = 14;
inline constexpr int kHeadPictureHover = 7; // highlighted picture = normal picture + 7
inline constexpr int kPopupPictureCount = 8;

enum TPopupPicture
{
    ppTransparentGif = 0,
    ppSave = 1,
    ppTileHorizontal = 2,
    ppTileVertical = 3,
    ppCascade = 4,
    ppZoomIn = 5,
    ppZoomOrg = 6,
    ppZoomOut = 7,
};

QPixmap HeadPicture(int index);  // 0 .. 13
QPixmap PopupPicture(int index); // 0 .. 7
QPixmap LogoPicture();           // 149 x 59
QPixmap PromotionPicture();      // 230 x 55
QPixmap TipBulbPicture();        // 41 x 43
QPixmap AboutPicture();          // 423 x 254

} // namespace tavrin
