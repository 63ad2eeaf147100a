// The editor window's context menu: building it and its handlers.
#include "editor/FmEditor.h"

#include "editor/EditorPopupMenu.h"
#include "editor/Image32.h"
#include "services/ColorCodes.h"

#include <QClipboard>
#include <QGuiApplication>

namespace tavrin {

void TFmEditor::BuildPopupMenu()
{
    FPopupMenu = new TEditorPopupMenu(this);
    FPopupMenu->Region = [this]() -> const TRegionPixels& { return FImgEditor->FSelBitmap; };
    FPopupMenu->MouseColor = [this] { return GetMouseColor(); };
    connect(FPopupMenu->PMIImgMap, &QAction::triggered, this, [this] { PMIImgMapClick(); });
    connect(FPopupMenu->PMImage, &QAction::triggered, this, [this] { PMImageClick(); });
    connect(FPopupMenu->PMISaveGif, &QAction::triggered, this, [this] { PMISaveGifClick(); });
    connect(FPopupMenu->MMICancel, &QAction::triggered, this, [this] { MMICancelClick(); });
    for (QAction* item : FPopupMenu->PMColorMenu->actions())
        connect(item, &QAction::triggered, this, [this, item] { PMColorCopyClick(item->data().toInt()); });
    FImage->PopupMenu = FPopupMenu;
}

void TFmEditor::PMImageClick() {}

void TFmEditor::PMColorCopyClick(int tag)
{
    const TColor color = ColorAtImage(FImgEditor->ViewToImage(static_cast<float>(FPopupX)),
                                      FImgEditor->ViewToImage(static_cast<float>(FPopupY)));
    QGuiApplication::clipboard()->setText(QString::fromStdString(EditorColorCode(color, tag)));
}

} // namespace tavrin
