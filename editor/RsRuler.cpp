#include "editor/RsRuler.h"

#include <QFontMetrics>
#include <QLocale>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <qdrawutil.h>

#include <cmath>
#include <optional>

namespace tavrin {

namespace {

std::optional<TMouseButton> ButtonOf(Qt::MouseButton b)
{
    switch (b) {
    case Qt::LeftButton:
        return TMouseButton::mbLeft;
    case Qt::RightButton:
        return TMouseButton::mbRight;
    case Qt::MiddleButton:
        return TMouseButton::mbMiddle;
    default:
        return std::nullopt;
    }
}

TShiftState ShiftOf(const QMouseEvent& e)
{
    TShiftState s = 0;
    const Qt::KeyboardModifiers m = e.modifiers();
    const Qt::MouseButtons b = e.buttons();
    if (m & Qt::ShiftModifier) s |= ssShift;
    if (m & Qt::AltModifier) s |= ssAlt;
    if (m & Qt::ControlModifier) s |= ssCtrl;
    if (b & Qt::LeftButton) s |= ssLeft;
    if (b & Qt::RightButton) s |= ssRight;
    if (b & Qt::MiddleButton) s |= ssMiddle;
    return s;
}

QRect ToQRect(const TRect& r)
{
    return QRect(r.Left, r.Top, r.Width(), r.Height());
}

// A font whose cell (ascent plus descent) is cellHeight pixels high.
QFont WithCellHeight(QFont f, int cellHeight)
{
    f.setPixelSize(cellHeight);
    const int cell = QFontMetrics(f).height();
    int size =
        std::max(1, static_cast<int>(std::lround(cellHeight * double(cellHeight) / std::max(1, cell))));
    f.setPixelSize(size);
    while (size > 1 && QFontMetrics(f).height() > cellHeight)
        f.setPixelSize(--size);
    return f;
}

} // namespace

// ---- TRsBaseRuler ----

TRsBaseRuler::TRsBaseRuler(QWidget* parent)
    : QWidget(parent), FScaleColor(palette().color(QPalette::Base)),
      FTickColor(palette().color(QPalette::Text)), FColor(palette().color(QPalette::Window)),
      FFontColor(palette().color(QPalette::Text))
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TRsBaseRuler::SetUnits(TRulerUnit value)
{
    FUnits = value;
    Invalidate();
}

void TRsBaseRuler::SetFlat(bool value)
{
    Assign(FFlat, value);
}
void TRsBaseRuler::SetScaleColor(const QColor& value)
{
    Assign(FScaleColor, value);
}
void TRsBaseRuler::SetTickColor(const QColor& value)
{
    Assign(FTickColor, value);
}

void TRsBaseRuler::SetColor(const QColor& value)
{
    FColor = value;
    Invalidate();
}

void TRsBaseRuler::SetFontColor(const QColor& value)
{
    FFontColor = value;
    Invalidate();
}

double TRsBaseRuler::PixelsPerInch() const
{
    const int dpi = logicalDpiY();
    return dpi > 0 ? dpi : 96;
}

void TRsBaseRuler::Invalidate()
{
    FSurfaceStale = true;
    update();
}

void TRsBaseRuler::Render(QPainter& painter)
{
    painter.fillRect(rect(), FColor);
}

void TRsBaseRuler::EnsureSurface()
{
    const qreal dpr = devicePixelRatioF();
    const QSize pixels = size() * dpr;
    if (!FSurfaceStale && FSurface.size() == pixels) return;
    FSurfaceStale = false;
    if (pixels.isEmpty()) {
        FSurface = QImage();
        return;
    }
    if (FSurface.size() != pixels) FSurface = QImage(pixels, QImage::Format_RGB32);
    FSurface.setDevicePixelRatio(dpr);
    QPainter painter(&FSurface);
    Render(painter);
}

void TRsBaseRuler::InvertRect(const TRect& r)
{
    EnsureSurface();
    if (FSurface.isNull() || r.IsEmpty()) return;
    const qreal dpr = FSurface.devicePixelRatio();
    const QRect device = QRect(QPointF(r.Left * dpr, r.Top * dpr).toPoint(),
                               QPointF(r.Right * dpr, r.Bottom * dpr).toPoint() - QPoint(1, 1))
                             .intersected(FSurface.rect());
    for (int y = device.top(); y <= device.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(FSurface.scanLine(y));
        for (int x = device.left(); x <= device.right(); ++x)
            line[x] ^= 0x00FFFFFFu;
    }
    update(ToQRect(r));
}

const QFont& TRsBaseRuler::NumberFont()
{
    if (FNumberFontStale) {
        const QFont& f = font();
        // The character height (em size) in pixels, as the control font is drawn on this screen.
        const int em = f.pixelSize() > 0
                           ? f.pixelSize()
                           : static_cast<int>(std::lround(f.pointSizeF() * PixelsPerInch() / 72));
        QFont number = f;
        number.setWeight(f.bold() ? QFont::Bold : QFont::Normal);
        number.setItalic(f.italic());
        number.setUnderline(false);
        number.setStrikeOut(false);
        FNumberFont = WithCellHeight(number, std::max(1, em));
        FNumberFontStale = false;
    }
    return FNumberFont;
}

int TRsBaseRuler::ZeroHeight() const
{
    return fontMetrics().height();
}

void TRsBaseRuler::paintEvent(QPaintEvent* event)
{
    EnsureSurface();
    if (FSurface.isNull()) return;
    QPainter painter(this);
    const QRect r = event->rect();
    const qreal dpr = FSurface.devicePixelRatio();
    painter.drawImage(r, FSurface, QRectF(r.topLeft() * dpr, r.size() * dpr));
}

void TRsBaseRuler::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Invalidate();
}

void TRsBaseRuler::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        FNumberFontStale = true;
        Invalidate();
    }
}

void TRsBaseRuler::mousePressEvent(QMouseEvent* event)
{
    if (const auto b = ButtonOf(event->button())) {
        const QPoint p = event->position().toPoint();
        emit OnMouseDown(*b, ShiftOf(*event), p.x(), p.y());
    }
}

void TRsBaseRuler::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double click.
    if (const auto b = ButtonOf(event->button())) {
        const QPoint p = event->position().toPoint();
        emit OnMouseDown(*b, ShiftOf(*event) | ssDouble, p.x(), p.y());
    }
}

void TRsBaseRuler::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    emit OnMouseMove(ShiftOf(*event), p.x(), p.y());
}

void TRsBaseRuler::mouseReleaseEvent(QMouseEvent* event)
{
    if (const auto b = ButtonOf(event->button())) {
        const QPoint p = event->position().toPoint();
        emit OnMouseUp(*b, ShiftOf(*event), p.x(), p.y());
    }
}

// ---- TRsRuler ----

TRsRuler::TRsRuler(QWidget* parent) : TRsBaseRuler(parent)
{
    resize(200, 33);
}

void TRsRuler::SetDirection(TRulerDir value)
{
    if (IsHorizontal(value) != IsHorizontal(FDirection)) resize(height(), width());
    FDirection = value;
    Invalidate();
}

void TRsRuler::SetScaleDir(TRulerScaleDir value)
{
    Assign(FScaleDir, value);
}

void TRsRuler::SetScale(int value)
{
    if (value > 0) Assign(FScale, value);
}

void TRsRuler::SetOffset(double value)
{
    if (std::isfinite(value)) Assign(FOffset, value);
}

void TRsRuler::SetOrigin(double value)
{
    if (std::isfinite(value)) Assign(FOrigin, value);
}

void TRsRuler::SetMagnification(double value)
{
    if (std::isfinite(value) && value >= 0) Assign(FMagnification, value);
}

void TRsRuler::SetHairLine(bool value)
{
    Assign(FHairLine, value);
}

void TRsRuler::SetHairLinePos(int value)
{
    // A pending redraw would forget the hairline; do it first, so the new one stays visible.
    EnsureSurface();
    if (value == FHairLinePos) return;
    InvertHairLine();
    FHairLinePos = value;
    InvertHairLine();
}

void TRsRuler::SetHairLineStyle(THairLineStyle value)
{
    Assign(FHairLineStyle, value);
}
void TRsRuler::SetShowMinus(bool value)
{
    Assign(FShowMinus, value);
}

void TRsRuler::SetUnits(TRulerUnit value)
{
    const double ppi = PixelsPerInch();
    FOffset = FOffset / UnitsPerMillimetre(Units(), ppi) * UnitsPerMillimetre(value, ppi);
    TRsBaseRuler::SetUnits(value);
}

TRulerLayout TRsRuler::Layout()
{
    TRulerParams p;
    p.Width = width();
    p.Height = height();
    p.Direction = FDirection;
    p.ScaleDir = FScaleDir;
    p.Scale = FScale;
    p.Offset = FOffset;
    p.Origin = FOrigin;
    p.Magnification = FMagnification;
    p.Units = Units();
    p.Flat = Flat();
    p.ShowMinus = FShowMinus;
    p.PixelsPerInch = PixelsPerInch();
    p.PreviousScaleFactor = FScaleFactor;
    p.DecimalSeparator = locale().decimalPoint().toStdString();

    const QFontMetrics numberMetrics(NumberFont());
    TRulerMetrics m;
    m.ZeroHeight = ZeroHeight();
    m.TextHeight = numberMetrics.height();
    m.TextWidth = [numberMetrics](const std::string& s) {
        return numberMetrics.horizontalAdvance(QString::fromStdString(s));
    };
    return LayOutRuler(p, m);
}

void TRsRuler::Render(QPainter& painter)
{
    TRsBaseRuler::Render(painter);
    FHairLinePos = -1; // the fresh surface has no hairline
    if (!Flat()) qDrawWinPanel(&painter, rect(), palette(), false);

    const TRulerLayout layout = Layout();
    FScaleFactor = layout.ScaleFactor;
    FTickStep = layout.TickStep;
    if (!layout.Band.IsEmpty()) painter.fillRect(ToQRect(layout.Band), ScaleColor());
    for (const TRulerTick& t : layout.Ticks)
        painter.fillRect(ToQRect(t.Rect), TickColor());
    painter.setFont(NumberFont());
    painter.setPen(FontColor());
    for (const TRulerLabel& label : layout.Labels)
        DrawText(painter, label);
    for (const TRulerHalfMark& h : layout.HalfMarks)
        painter.fillRect(ToQRect(h.Rect), FontColor());
}

void TRsRuler::DrawText(QPainter& painter, const TRulerLabel& label)
{
    painter.save();
    painter.translate(label.Origin.X, label.Origin.Y);
    if (label.Reading == TTextReading::trUpward)
        painter.rotate(-90);
    else if (label.Reading == TTextReading::trDownward)
        painter.rotate(90);
    painter.drawText(QPoint(0, painter.fontMetrics().ascent()), QString::fromStdString(label.Text));
    painter.restore();
}

void TRsRuler::InvertHairLine()
{
    if (!FHairLine || FHairLinePos == -1) return;
    InvertRect(
        HairLineRect(FDirection, FHairLineStyle, FScaleDir, FHairLinePos, width(), height(), ZeroHeight()));
}

} // namespace tavrin
