#pragma once
// TImgEditor: the document of one open picture.
//
// It owns neither the picture nor the layers (both belong to the view, see EditorView.h); it keeps
// the state that gives the layers meaning and offers the operations the editor window calls from its
// pointer, key and menu handlers. Pointer positions are view pixels; stored positions are image
// pixels.
//
// No field ever refers to a destroyed layer: the document watches its collection and clears every
// reference when a layer goes, whoever destroys it.

#include "core/Bitmap32.h"
#include "core/Geometry.h"
#include "core/Input.h"
#include "core/LayerKinds.h"
#include "core/RegionPixels.h"
#include "core/RubberbandLayer.h"

#include <functional>
#include <memory>
#include <string>

namespace tavrin {

class IEditorView;
class TBitmapLayer;
class TCustomLayer;
class TImageMapLyer;
class TInfoLayer;
class TLayerCollection;
class TMapPolygonLayer;

class TImgEditor
{
public:
    TImgEditor();
    ~TImgEditor();
    TImgEditor(const TImgEditor&) = delete;
    TImgEditor& operator=(const TImgEditor&) = delete;

    // Binds the document to its view once, and creates the region highlight at the bottom.
    void AttachView(IEditorView& view);

    // --- fields (read and written by the window as the document's published state) ---
    IEditorView* FImage = nullptr;
    int FNextId = 0;
    TMouseButton FBandButton = TMouseButton::mbLeft;
    std::string FFileName;
    TMapPolygonLayer* FPolygon = nullptr;
    TImageMapLyer* FTagArea = nullptr;
    TToolMode FChosenTool = TToolMode::tmNone;
    TToolMode FToolMode = TToolMode::tmNone;
    bool FIsMagnet = false;
    TPoint FDownPos;
    TInfoLayer* FDragGuide = nullptr;
    TColor FGuideColor = clBlack;
    TCustomLayer* FCurrentLayer = nullptr;
    TCustomLayer* FRemovable = nullptr;
    TBitmapLayer* FSketch = nullptr;
    TBitmapLayer* FHighlight = nullptr;
    TFloatBounds FDownBounds;
    bool FViewSelected = false;
    TRect FSelRegion;
    // RGB copy of the region: opaque pixels, no alpha of the picture. Made when first read; read it
    // through SelBitmap() (or this field, which reads like a bitmap).
    TRegionPixels FSelBitmap;
    const TBitmap32& SelBitmap() const { return FSelBitmap.Get(); }
    // Call before the picture's pixels are replaced: the region keeps the pixels it was taken from.
    void KeepRegionPixels() const { FSelBitmap.Keep(); }

    // Answers "is Ctrl held at this moment"; the window supplies the keyboard's state.
    std::function<bool()> IsCtrlHeld;

    // --- coordinates ---
    int ViewToImage(float v) const;
    int ImageToView(float i) const;

    // --- deletion and moving ---
    void DeleteLastLayer();
    void DeleteLayersOfKind(int kind);
    void DropRemovableLayer();
    void MoveLayerBy(TCustomLayer* layer, int dx, int dy);

    // The field updates of a press on the image with `layer` (or null) under the pointer.
    void PressUpdate(TMouseButton button, int x, int y, TCustomLayer* layer);

    // --- guides and the magnet ---
    TInfoLayer* AddVerticalGuide(int viewX, int length);
    TInfoLayer* AddHorizontalGuide(int viewY, int length);
    void DragGuideStep(int x, int y); // one drag step of FDragGuide for the pointer at (x, y)
    void PlaceGuide(TInfoLayer* guide, int width, int height, int viewX, int viewY);
    void RelayoutGuides(); // after every change of the zoom
    TRect GuideCellAt(int viewX, int viewY) const;
    static int SnapTo(int value, int target);
    bool IsMagnetActive() const;

    // --- rectangle selection, drag outline, highlight, region ---
    void BeginSketch();
    void TrackSketchRect(int x, int y);
    void TrackSketchCircle(int x, int y);
    void FinishSelectionDrag(); // the release of a selection-tool drag
    TRubberbandLayer* CreateSelectionBand();
    void SelectionMouseDown(TCustomLayer& band, TMouseButton button, TShiftState shift, int x, int y);
    void SelectionResizeRequest(TRubberbandLayer& band, const TFloatBounds& atPress, TFloatBounds& proposed,
                                TBandDragState state, TShiftState shift);
    void SelectionChanged(TRubberbandLayer& band);
    void ShowHighlight(bool show);
    void SetViewSelected(bool value);
    void ExtractRegion();

    // --- image-map areas ---
    void AddRectArea(TPoint upPos);
    void AddCircleArea(TPoint upPos);
    void BeginPolygon();
    void AddPolygonPoint(int x, int y);
    void DragArea(TImageMapLyer* area, int x, int y);

    // --- markup ---
    std::string BuildMapMarkup() const;

private:
    TLayerCollection& Layers() const;
    TBitmap32& Picture() const;
    void LayerDestroyed(TCustomLayer& layer);
    void UpdateHighlightAtPress();
    void MoveGuideBy(TInfoLayer& guide, int dx, int dy);
    void MoveBandBy(TRubberbandLayer& band, int dx, int dy);
    void SelectBand(TRubberbandLayer& band, const TRect& p);
    void MoveAreaBy(TImageMapLyer& area, int dx, int dy);
    bool TrackSketchBounds(int x, int y);

    // Whether a track step has given the outline bounds since BeginSketch; until then its bounds are
    // only the layer default, which no release should turn into a selection.
    bool FSketchDrawn = false;
    // A pressed polygon's offset at the press: a drag moves it from there, as FDownBounds does for
    // the other areas.
    TPoint FDownOffset;
    // The band handlers hold it weakly: a band lives in the view and may outlive the document.
    std::shared_ptr<void> FAlive = std::make_shared<int>(0);

    int FObserverId = 0;
    std::weak_ptr<void> FLayersAlive;
};

} // namespace tavrin
