#pragma once
// The editor window's context menu over the picture: the tag dialog of a pressed image-map area,
// saving the region (plainly or as a transparent GIF), undoing the last layer, a preview of the region
// and copying the pressed pixel's colour as code. Three items draw themselves: the tag item in bold,
// the preview with the region's size and a 100 x 100 thumbnail, and the colour item with a swatch of
// the colour under the pointer. The window connects the items to its operations.

#include "core/Color.h"
#include "editor/OwnerDrawMenu.h"

#include <QImage>

#include <functional>

namespace tavrin {

class TEditorPopupMenu : public TOwnerDrawMenu
{
    Q_OBJECT
public:
    explicit TEditorPopupMenu(QWidget* parent = nullptr);

    // The items, in menu order. The four colour items carry their code's Tag (51 to 54) as data.
    QAction* PMIImgMap = nullptr;
    QAction* PMImage = nullptr;
    QAction* PMISaveGif = nullptr;
    QAction* MMICancel = nullptr;
    QAction* PMImageView = nullptr;
    QAction* PMColor = nullptr;
    QMenu* PMColorMenu = nullptr; // the submenu PMColor opens
    QAction* PMColorHTML = nullptr;
    QAction* PMColorRGB = nullptr;
    QAction* PMColorC = nullptr;
    QAction* PMColorDelphi = nullptr;

    // What the self-drawn items show: the selected region's size and pixels (alpha ignored; the image
    // may share the picture's memory, it is only read while the thumbnail is made), and the colour
    // under the last pointer move.
    std::function<QSize()> RegionSize;
    std::function<QImage()> RegionImage;
    std::function<TColor()> MouseColor;

    // Which items a press shows: the tag item only for a press on an image-map area, the preview
    // otherwise. A left press elsewhere leaves the tag item as the last right press set it; only a
    // right press opens the menu, and it always sets both.
    void PressOn(bool onArea, bool rightButton);

    // The region may have changed (every press takes it anew): the preview is made again when next
    // drawn, and only then, however often the menu repaints.
    void RegionChanged() { FThumbnailMade = false; }
    // The preview's 100 x 100 thumbnail of the region, made on first use after each change.
    const QImage& Thumbnail();

    static constexpr int kPreviewHeight = 150;
    static constexpr int kThumbnailSide = 100;

private:
    void DrawImgMapItem(QPainter& painter, const QStyleOptionMenuItem& option) const;
    void DrawPreviewItem(QPainter& painter, const QStyleOptionMenuItem& option);
    void DrawColorItem(QPainter& painter, const QStyleOptionMenuItem& option) const;

    QImage FThumbnail;
    bool FThumbnailMade = false;
};

} // namespace tavrin
