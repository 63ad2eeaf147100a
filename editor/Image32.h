#pragma once
// TImage32: the image view widget. It holds the picture, the layer collection and the zoom, sizes
// itself to the scaled picture, and paints by asking the core renderer for the exposed rectangles
// only and blitting the result (no Qt scaling, no copy of the picture per paint). Pointer events are
// converted to view pixels and routed through the layer collection; the handlers then get the layer
// the collection reports.

#include "core/Bitmap32.h"
#include "core/EditorView.h"
#include "core/Input.h"
#include "core/LayerCollection.h"
#include "core/LayerRenderer.h"

#include <QWidget>

#include <array>
#include <functional>

class QMenu;
class QPainter;
class QRegion;

namespace tavrin {

class TCustomLayer;

class TImage32 : public QWidget, public IEditorView
{
    Q_OBJECT
public:
    using TMouseEvent = std::function<void(TMouseButton, TShiftState, int x, int y, TCustomLayer* layer)>;
    using TMoveEvent = std::function<void(TShiftState, int x, int y, TCustomLayer* layer)>;

    explicit TImage32(QWidget* parent = nullptr);
    ~TImage32() override;

    // IEditorView
    TBitmap32& Bitmap() override { return FBitmap; }
    TLayerCollection& Layers() override { return FLayers; }
    float Scale() const override { return FScale; }
    int ViewWidth() const override { return width(); }
    int ViewHeight() const override { return height(); }

    // Below 0.001 becomes 0.001; a change repaints but does not resize (the zoom routine does).
    void SetScale(float scale);
    // Call after the bitmap's size or pixels changed: re-maps the layers, sizes the widget to the
    // scaled picture when it is not empty, and repaints.
    void BitmapChanged();

    // The cursor shown where no layer asks for one of its own.
    void SetOwnCursor(TCursor shape);
    TCursor OwnCursor() const { return FOwnCursor; }

    // Opens on the right button's release over the view, after the release handler ran. Not owned.
    QMenu* PopupMenu = nullptr;

    TMouseEvent OnMouseDown;
    TMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    std::function<void()> OnDblClick;
    std::function<void()> OnMouseLeave;

    // Routes a move as if the pointer were at (x, y); the rulers use it while dragging a guide.
    TCustomLayer* RouteMove(TShiftState shift, int x, int y);

    // Ends the gesture in progress as the release of every button held over the view would, at the
    // last pointer position: the layers lose the capture, the release handler runs. A modal dialog
    // or a menu takes the pointer, so the real release never comes here; this runs whenever one
    // blocks the window and before the view's own menu opens. Nothing happens between gestures.
    void EndGesture();
    bool ButtonHeld(TMouseButton button) const { return FHeld[static_cast<int>(button)]; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void Press(QMouseEvent* event, TShiftState extra);
    void Release(TMouseButton button, TShiftState shift, QPoint at);
    void ApplyPointerShape();
    void UpdateGeometryOfLayers();
    bool PaintInPlace(QPainter& painter, const QRegion& region, const TRect& keep);

    TBitmap32 FBitmap;
    TLayerCollection FLayers; // after the bitmap: the layers go first
    float FScale = 1.0f;
    TCursor FOwnCursor = TCursor::crDefault;
    std::array<bool, 3> FHeld{}; // buttons pressed over the view and not yet released
    QPoint FLastPoint;           // of the last pointer event over the view
    TBitmap32 FBuffer;     // render target where the paint device's memory cannot be painted in place
    TPictureCache FCache;  // the picture scaled for the current zoom, over the visible part
};

// Shift state of a Qt event: modifiers plus the buttons held.
TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);

} // namespace tavrin
