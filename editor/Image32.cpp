#include "editor/Image32.h"

#include "core/LayerRenderer.h"
#include "core/RoundEven.h"
#include "editor/Cursors.h"

#include <QImage>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPaintEngine>
#include <QPainter>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>

namespace tavrin {

TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons)
{
    TShiftState s = 0;
    if (modifiers & Qt::ShiftModifier)
        s |= ssShift;
    if (modifiers & Qt::AltModifier)
        s |= ssAlt;
    if (modifiers & Qt::ControlModifier)
        s |= ssCtrl;
    if (buttons & Qt::LeftButton)
        s |= ssLeft;
    if (buttons & Qt::RightButton)
        s |= ssRight;
    if (buttons & Qt::MiddleButton)
        s |= ssMiddle;
    return s;
}

namespace {

bool ButtonOf(Qt::MouseButton b, TMouseButton& out)
{
    switch (b) {
    case Qt::LeftButton: out = TMouseButton::mbLeft; return true;
    case Qt::RightButton: out = TMouseButton::mbRight; return true;
    case Qt::MiddleButton: out = TMouseButton::mbMiddle; return true;
    default: return false;
    }
}

QRect ToQRect(const TRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }

TRect ToTRect(const QRect& q) { return {q.left(), q.top(), q.left() + q.width(), q.top() + q.height()}; }

} // namespace

TImage32::TImage32(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    FLayers.OnInvalidate = [this](const TRect& r) {
        const TRect clipped = Intersect(r, {0, 0, width(), height()});
        if (!clipped.IsEmpty())
            update(ToQRect(clipped));
    };
    UpdateGeometryOfLayers();
}

TImage32::~TImage32() { FLayers.OnInvalidate = nullptr; }

void TImage32::UpdateGeometryOfLayers()
{
    FLayers.SetGeometry(TViewGeometry::Make(FBitmap.Width(), FBitmap.Height(), FScale));
}

void TImage32::SetScale(float scale)
{
    scale = std::max(scale, 0.001f);
    if (scale == FScale)
        return;
    FScale = scale;
    UpdateGeometryOfLayers();
    update();
}

void TImage32::BitmapChanged()
{
    FCache.Reset();
    UpdateGeometryOfLayers();
    const TRect r = FLayers.Geometry().BitmapRect;
    if (FBitmap.Width() > 0 && FBitmap.Height() > 0)
        resize(r.Width(), r.Height());
    update();
}

void TImage32::SetOwnCursor(TCursor shape)
{
    FOwnCursor = shape;
    ApplyPointerShape();
}

void TImage32::ApplyPointerShape()
{
    const TCursor shape = FLayers.PointerShape();
    setCursor(CursorFor(shape == TCursor::crDefault ? FOwnCursor : shape));
}

void TImage32::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const TRect keep = ToTRect(visibleRegion().boundingRect());
    if (PaintInPlace(painter, event->region(), keep))
        return;
    for (const QRect& q : event->region()) {
        const TRect exposed = ToTRect(q);
        FBuffer.SetSize(exposed.Width(), exposed.Height());
        if (FBuffer.Empty())
            continue;
        RenderViewInto(FBitmap, FLayers, exposed, FBuffer, clWhite32, &FCache, keep);
        const QImage image(reinterpret_cast<const uchar*>(FBuffer.Bits()), FBuffer.Width(), FBuffer.Height(),
                           FBuffer.Width() * 4, QImage::Format_RGB32);
        painter.drawImage(q.topLeft(), image);
    }
}

// Where the painter draws into 32-bit RGB memory at a whole-pixel offset (the window's backing
// store, as a rule), the view is rendered straight into that memory: no second full-frame copy.
// Anything else (another format, a scaled device, a printer) takes the buffered path, which puts
// the very same pixels there.
bool TImage32::PaintInPlace(QPainter& painter, const QRegion& region, const TRect& keep)
{
    QPaintEngine* engine = painter.paintEngine();
    if (!engine || engine->type() != QPaintEngine::Raster)
        return false;
    QPaintDevice* device = engine->paintDevice();
    if (!device || device->devType() != QInternal::Image)
        return false;
    auto* store = static_cast<QImage*>(device);
    if (store->format() != QImage::Format_RGB32 || store->devicePixelRatio() != 1.0)
        return false;
    const QTransform t = painter.deviceTransform();
    if (t.type() > QTransform::TxTranslate || t.dx() != std::floor(t.dx()) || t.dy() != std::floor(t.dy()))
        return false;
    const int dx = static_cast<int>(t.dx()), dy = static_cast<int>(t.dy());
    const QRect inStore = store->rect().translated(-dx, -dy); // the store's pixels in view coordinates
    // constBits: the store must not detach while its painter is active.
    auto* bits = reinterpret_cast<TColor32*>(const_cast<uchar*>(store->constBits()));
    const std::ptrdiff_t stride = store->bytesPerLine() / 4;
    for (const QRect& q : region) {
        const QRect r = q & inStore;
        if (r.isEmpty())
            continue;
        TColor32* first = bits + static_cast<std::ptrdiff_t>(r.top() + dy) * stride + (r.left() + dx);
        RenderViewInto(FBitmap, FLayers, ToTRect(r), {first, r.width(), r.height(), stride}, clWhite32, &FCache,
                       keep);
    }
    return true;
}

bool TImage32::event(QEvent* event)
{
    // A modal window has opened: the releases of the buttons pressed here will go to it.
    if (event->type() == QEvent::WindowBlocked)
        EndGesture();
    return QWidget::event(event);
}

void TImage32::EndGesture()
{
    for (TMouseButton button : {TMouseButton::mbLeft, TMouseButton::mbRight, TMouseButton::mbMiddle})
        if (ButtonHeld(button))
            Release(button, 0, FLastPoint);
}

void TImage32::Press(QMouseEvent* event, TShiftState extra)
{
    TMouseButton button;
    if (!ButtonOf(event->button(), button))
        return;
    const QPoint p = event->position().toPoint();
    FLastPoint = p;
    FHeld[static_cast<int>(button)] = true;
    const TShiftState shift = ShiftStateOf(event->modifiers(), event->buttons()) | extra;
    TCustomLayer* layer = FLayers.MouseDown(button, shift, p.x(), p.y());
    ApplyPointerShape();
    if (OnMouseDown)
        OnMouseDown(button, shift, p.x(), p.y(), layer);
}

void TImage32::mousePressEvent(QMouseEvent* event)
{
    // The second press of a double click comes again as the double-click event, marked as such.
    if (event->flags().testFlag(Qt::MouseEventCreatedDoubleClick))
        return;
    Press(event, 0);
}

void TImage32::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double click: the double-click handler first, then a press marked as such.
    // When the handler opened a dialog, that ended the gesture (EndGesture) and took the release:
    // the press must not begin another, or the layer pressed would keep the pointer captured.
    if (event->button() == Qt::LeftButton && OnDblClick) {
        const TMouseButton button = TMouseButton::mbLeft;
        FHeld[static_cast<int>(button)] = true;
        FLastPoint = event->position().toPoint();
        OnDblClick();
        if (!ButtonHeld(button))
            return;
    }
    Press(event, ssDouble);
}

TCustomLayer* TImage32::RouteMove(TShiftState shift, int x, int y)
{
    TCustomLayer* layer = FLayers.MouseMove(shift, x, y);
    ApplyPointerShape();
    return layer;
}

void TImage32::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    FLastPoint = p;
    const TShiftState shift = ShiftStateOf(event->modifiers(), event->buttons());
    TCustomLayer* layer = RouteMove(shift, p.x(), p.y());
    if (OnMouseMove)
        OnMouseMove(shift, p.x(), p.y(), layer);
}

void TImage32::mouseReleaseEvent(QMouseEvent* event)
{
    TMouseButton button;
    // A release whose gesture has already ended (a dialog came in between) is not a second end.
    if (!ButtonOf(event->button(), button) || !ButtonHeld(button))
        return;
    const QPoint p = event->position().toPoint();
    Release(button, ShiftStateOf(event->modifiers(), event->buttons()), p);
    // Only a release over the picture opens the menu; the pointer may have left it while pressed.
    if (button == TMouseButton::mbRight && PopupMenu && !PopupMenu->isEmpty() && rect().contains(p)) {
        // The menu takes the pointer, so a button still held would never be released here.
        EndGesture();
        PopupMenu->popup(event->globalPosition().toPoint());
    }
}

void TImage32::Release(TMouseButton button, TShiftState shift, QPoint at)
{
    FHeld[static_cast<int>(button)] = false;
    FLastPoint = at;
    TCustomLayer* layer = FLayers.MouseUp(button, shift, at.x(), at.y());
    ApplyPointerShape();
    if (OnMouseUp)
        OnMouseUp(button, shift, at.x(), at.y(), layer);
}

void TImage32::leaveEvent(QEvent* event)
{
    if (!FLayers.CapturedLayer()) {
        FLayers.SetPointerShape(TCursor::crDefault);
        ApplyPointerShape();
    }
    if (OnMouseLeave)
        OnMouseLeave();
    QWidget::leaveEvent(event);
}

} // namespace tavrin
