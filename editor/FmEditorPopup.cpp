// The editor window's context menu: building it and its handlers.
#include "editor/FmEditor.h"

#include "editor/EditorPopupMenu.h"
#include "editor/Image32.h"
#include "editor/Thumbnail.h"
#include "services/Clipboard.h"
#include "services/ColorCodes.h"

namespace tavrin {

void TFmEditor::BuildPopupMenu()
{
    FPopupMenu = new TEditorPopupMenu(this);
    FPopupMenu->RegionSize = [this] { return QSize(FImgEditor->FSelBitmap.Width(), FImgEditor->FSelBitmap.Height()); };
    FPopupMenu->RegionImage = [this] { return RegionImage(); };
    FPopupMenu->MouseColor = [this] { return GetMouseColor(); };
    connect(FPopupMenu->PMIImgMap, &QAction::triggered, this, [this] { PMIImgMapClick(); });
    connect(FPopupMenu->PMImage, &QAction::triggered, this, [this] { PMImageClick(); });
    connect(FPopupMenu->PMISaveGif, &QAction::triggered, this, [this] { PMISaveGifClick(); });
    connect(FPopupMenu->MMICancel, &QAction::triggered, this, [this] { MMICancelClick(); });
    for (QAction* item : FPopupMenu->PMColorMenu->actions())
        connect(item, &QAction::triggered, this, [this, item] { PMColorCopyClick(item->data().toInt()); });
    FImage->PopupMenu = FPopupMenu;
}

void TFmEditor::PMImageClick() { SaveSelection(); }

QImage TFmEditor::RegionImage() const
{
    // A region wholly on the picture is read where it lies: a preview of a huge region then costs
    // no copy of it. Otherwise (partly off the picture, white there) the region's own pixels.
    const TRect r = FImgEditor->FSelRegion;
    const TBitmap32& picture = FImage->Bitmap();
    const bool inside = r.Left >= 0 && r.Top >= 0 && r.Right <= picture.Width() && r.Bottom <= picture.Height();
    if (!inside || FImgEditor->FSelBitmap.Empty())
        return ImageView(FImgEditor->SelBitmap());
    const TColor32* first = picture.ScanLine(r.Top) + r.Left;
    return QImage(reinterpret_cast<const uchar*>(first), r.Right - r.Left, r.Bottom - r.Top,
                  static_cast<qsizetype>(picture.Width()) * 4, QImage::Format_RGB32);
}

void TFmEditor::PMColorCopyClick(int tag)
{
    const TColor color = ColorAtImage(FImgEditor->ViewToImage(static_cast<float>(FPopupX)),
                                      FImgEditor->ViewToImage(static_cast<float>(FPopupY)));
    CopyTextToClipboard(QString::fromStdString(EditorColorCode(color, tag)));
}

} // namespace tavrin
