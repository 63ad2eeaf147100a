// The editor window's pointer gestures over the picture.
#include "editor/FmEditor.h"

#include "core/ImgMap.h"
#include "core/InfoLayer.h"
#include "core/LayerCollection.h"
#include "editor/EditorPopupMenu.h"
#include "editor/Image32.h"

#include <QEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>

namespace tavrin {

namespace {

bool IsArea(const TCustomLayer* layer) { return layer && IsAreaKind(layer->Tag); }

} // namespace

QPoint TFmEditor::ScreenPos(int viewX, int viewY) const { return FImage->mapToGlobal(QPoint(viewX, viewY)); }

void TFmEditor::ImageMouseDown(TMouseButton button, TShiftState shift, int x, int y, TCustomLayer* layer)
{
    if (shift & ssDouble)
        return;
    FPressedButton = button == TMouseButton::mbLeft    ? TPressed::Left
                     : button == TMouseButton::mbRight ? TPressed::Right
                                                       : TPressed::None;
    // The document sets the region, its pixels, the highlight and the press fields.
    FImgEditor->PressUpdate(button, x, y, layer);
    FPopupMenu->RegionChanged();
    FPopupMenu->PressOn(IsArea(layer), button == TMouseButton::mbRight);
    if (button == TMouseButton::mbRight) {
        FPopupX = x;
        FPopupY = y;
    }
    if (button != TMouseButton::mbLeft)
        return;
    if (OnImgMouseDown)
        OnImgMouseDown(*this);
    PressAct(shift, x, y, layer);
}

void TFmEditor::PressAct(TShiftState shift, int x, int y, TCustomLayer* layer)
{
    switch (FImgEditor->FToolMode) {
    case TToolMode::tmNone: {
        FImage->SetOwnCursor(TCursor::crSizeAll);
        const QPoint screen = ScreenPos(x, y);
        FPanAnchorX = screen.x() + FScrollBox->horizontalScrollBar()->value();
        FPanAnchorY = screen.y() + FScrollBox->verticalScrollBar()->value();
        break;
    }
    case TToolMode::tmSelect:
        if (!layer)
            FImgEditor->BeginSketch();
        else if (layer->Tag == lkSelection)
            layer->RaiseToTop();
        break;
    case TToolMode::tmMapPolygon: FImgEditor->AddPolygonPoint(x, y); break;
    case TToolMode::tmMapRect:
    case TToolMode::tmMapCircle: FImgEditor->BeginSketch(); break;
    case TToolMode::tmZoomIn: ChangeScale((shift & ssAlt) ? -0.1f : 0.1f); break;
    case TToolMode::tmZoomOut: ChangeScale(-0.1f); break;
    default: break;
    }
}

void TFmEditor::ImageMouseMove(TShiftState, int x, int y, TCustomLayer* layer)
{
    FMouseX = x;
    FMouseY = y;
    if (OnChangeMousePosition)
        OnChangeMousePosition(*this);
    if (FImgEditor->FDragGuide)
        FImgEditor->DragGuideStep(x, y);
    if (FPressedButton != TPressed::Left)
        return;
    MoveAct(x, y, layer);
    FImage->repaint();
}

void TFmEditor::MoveAct(int x, int y, TCustomLayer* layer)
{
    TImgEditor& doc = *FImgEditor;
    switch (doc.FToolMode) {
    case TToolMode::tmNone:
        if (!layer) {
            const QPoint screen = ScreenPos(x, y);
            FScrollBox->horizontalScrollBar()->setValue(FPanAnchorX - screen.x());
            FScrollBox->verticalScrollBar()->setValue(FPanAnchorY - screen.y());
        } else if (IsArea(layer)) {
            doc.DragArea(dynamic_cast<TImageMapLyer*>(layer), x, y);
        }
        break;
    case TToolMode::tmSelect:
    case TToolMode::tmMapRect:
        if (doc.FSketch)
            doc.TrackSketchRect(x, y);
        break;
    case TToolMode::tmMapCircle:
        if (doc.FSketch)
            doc.TrackSketchCircle(x, y);
        break;
    default: break;
    }
}

void TFmEditor::ImageMouseUp(TMouseButton, TShiftState, int x, int y, TCustomLayer*)
{
    TImgEditor& doc = *FImgEditor;
    FPressedButton = TPressed::None;
    FImage->SetOwnCursor(FToolCursor);
    doc.FDragGuide = nullptr;
    switch (doc.FToolMode) {
    case TToolMode::tmSelect: doc.FinishSelectionDrag(); break;
    case TToolMode::tmMapRect:
        if (doc.FSketch) {
            FImage->Layers().Destroy(doc.FSketch);
            doc.AddRectArea({x, y});
        }
        break;
    case TToolMode::tmMapCircle:
        if (doc.FSketch) {
            FImage->Layers().Destroy(doc.FSketch);
            doc.AddCircleArea({x, y});
        }
        break;
    default: break;
    }
}

void TFmEditor::ImageDblClick()
{
    TImgEditor& doc = *FImgEditor;
    if (doc.FToolMode == TToolMode::tmNone && doc.FRemovable) {
        if (IsArea(doc.FCurrentLayer)) {
            EditAreaTag();
        } else {
            doc.DropRemovableLayer();
        }
    }
    FPressedButton = TPressed::None;
}

void TFmEditor::ImageMouseLeave()
{
    FImage->SetOwnCursor(FToolCursor);
    FImgEditor->FDragGuide = nullptr;
    FPressedButton = TPressed::None;
}

void TFmEditor::ScrollBoxMouseDown()
{
    if (FImgEditor->FHighlight)
        FImgEditor->FHighlight->SetVisible(false);
}

bool TFmEditor::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (watched == FImage && type == QEvent::Resize) {
        FScrollContent->resize(FImage->width() + 2, FImage->height());
    } else if ((watched == FScrollContent || watched == FScrollBox->viewport()) && type == QEvent::MouseButtonPress) {
        ScrollBoxMouseDown();
    } else if (watched == FScrollBox && type == QEvent::Resize) {
        UpdateRulerOffsets();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace tavrin
