#include "core/ImgEditor.h"

#include "core/BitmapLayer.h"
#include "core/EditorView.h"
#include "core/ImgMap.h"
#include "core/InfoLayer.h"
#include "core/LayerCollection.h"
#include "core/RoundEven.h"

namespace tavrin {

TImgEditor::TImgEditor() = default;

TImgEditor::~TImgEditor()
{
    if (FImage && !FLayersAlive.expired())
        FImage->Layers().RemoveDestroyObserver(FObserverId);
}

void TImgEditor::AttachView(IEditorView& view)
{
    if (FImage)
        return;
    FImage = &view;
    TLayerCollection& layers = view.Layers();
    FLayersAlive = layers.LifeToken();
    FObserverId = layers.AddDestroyObserver([this](TCustomLayer& layer) { LayerDestroyed(layer); });

    // The region highlight: a translucent red tint stretched over the region, below every other layer.
    FHighlight = layers.Add<TBitmapLayer>();
    FHighlight->SetVisible(false);
    FHighlight->AcceptsMouse = false;
    FHighlight->Tag = lkHighlight;
    FHighlight->SetInImageSpace(true);
    TBitmap32& b = FHighlight->Bitmap();
    b.SetSize(2, 2);
    b.FillRect(0, 0, 2, 2, 0xFFFF0000);
    b.DrawMode = TDrawMode::dmBlend;
    b.MasterAlpha = 20;
}

TLayerCollection& TImgEditor::Layers() const { return FImage->Layers(); }

TBitmap32& TImgEditor::Picture() const { return FImage->Bitmap(); }

void TImgEditor::LayerDestroyed(TCustomLayer& layer)
{
    const TCustomLayer* gone = &layer;
    const auto forget = [gone](auto*& field) {
        if (field && static_cast<const TCustomLayer*>(field) == gone)
            field = nullptr;
    };
    forget(FPolygon);
    forget(FTagArea);
    forget(FDragGuide);
    forget(FCurrentLayer);
    forget(FRemovable);
    forget(FSketch);
    forget(FHighlight);
}

int TImgEditor::ViewToImage(float v) const
{
    const float scale = FImage ? FImage->Scale() : 1.0f;
    return RoundEven(static_cast<long double>(RoundEven(v)) / static_cast<long double>(scale));
}

int TImgEditor::ImageToView(float i) const
{
    const float scale = FImage ? FImage->Scale() : 1.0f;
    return RoundEven(static_cast<long double>(RoundEven(i)) * static_cast<long double>(scale));
}

void TImgEditor::DeleteLastLayer()
{
    if (!FImage)
        return;
    if (FRemovable) {
        Layers().Destroy(FRemovable);
        FRemovable = nullptr;
        return;
    }
    TLayerCollection& layers = Layers();
    for (int i = layers.Count() - 1; i >= 0; --i) {
        TCustomLayer* layer = layers.Items(i);
        const int kind = layer->Tag;
        const bool deletable = kind == lkGuideX || kind == lkGuideY || kind == lkSelection || kind == lkMapShape ||
                               kind == 12 || (kind == lkMapPolygon && FToolMode != TToolMode::tmMapPolygon);
        if (deletable) {
            layers.Destroy(layer);
            return;
        }
    }
}

void TImgEditor::DeleteLayersOfKind(int kind)
{
    if (!FImage)
        return;
    TLayerCollection& layers = Layers();
    for (int i = layers.Count() - 1; i >= 0; --i)
        if (layers.Items(i)->Tag == kind)
            layers.Destroy(layers.Items(i));
}

void TImgEditor::DropRemovableLayer()
{
    if (!FImage || !FRemovable)
        return;
    ShowHighlight(false);
    Layers().Destroy(FRemovable);
    FRemovable = nullptr;
}

void TImgEditor::MoveLayerBy(TCustomLayer* layer, int dx, int dy)
{
    if (!FImage || !layer || (dx == 0 && dy == 0) || !Layers().Contains(layer))
        return;
    if (IsGuideKind(layer->Tag)) {
        if (auto* guide = dynamic_cast<TInfoLayer*>(layer))
            MoveGuideBy(*guide, dx, dy);
    } else if (layer->Tag == lkSelection) {
        if (auto* band = dynamic_cast<TRubberbandLayer*>(layer))
            MoveBandBy(*band, dx, dy);
    } else if (IsAreaKind(layer->Tag)) {
        if (auto* area = dynamic_cast<TImageMapLyer*>(layer))
            MoveAreaBy(*area, dx, dy);
    }
}

void TImgEditor::PressUpdate(TMouseButton button, int x, int y, TCustomLayer* layer)
{
    if (!FImage)
        return;
    if (layer && !Layers().Contains(layer))
        layer = nullptr;
    FSelRegion = {};
    if (layer) {
        if (auto* band = dynamic_cast<TRubberbandLayer*>(layer); band && layer->Tag == lkSelection) {
            const TFloatBounds& b = band->Bounds();
            FSelRegion = {RoundEven(b.Left), RoundEven(b.Top), RoundEven(b.Right), RoundEven(b.Bottom)};
        } else if (auto* area = dynamic_cast<TImageMapLyer*>(layer); area && IsAreaKind(layer->Tag)) {
            FTagArea = area;
        }
    } else {
        FSelRegion = GuideCellAt(x, y);
    }
    ExtractRegion();
    if (FToolMode == TToolMode::tmNone)
        UpdateHighlightAtPress();
    if (button != TMouseButton::mbLeft)
        return;
    FDownPos = {x, y};
    if (!layer) {
        FToolMode = FChosenTool;
        return;
    }
    if (layer->Tag != lkMapPolygon && FToolMode != TToolMode::tmMapPolygon)
        FRemovable = layer;
    FCurrentLayer = layer;
    if (auto* positioned = dynamic_cast<TPositionedLayer*>(layer))
        FDownBounds = positioned->Bounds();
    if (auto* polygon = dynamic_cast<TMapPolygonLayer*>(layer))
        FDownOffset = polygon->Offset();
    if (IsGuideKind(layer->Tag))
        if (auto* guide = dynamic_cast<TInfoLayer*>(layer))
            FDragGuide = guide;
}

} // namespace tavrin
