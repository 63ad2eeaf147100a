#include "shell/ToolPanelParts.h"

#include "shell/ToolPictures.h"

#include <QMouseEvent>
#include <QPainter>

namespace tavrin {

QColor ToQColor(TColor color)
{
    const std::uint32_t v = ColorValue(color);
    return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>((v >> 16) & 0xFF));
}

void PaintColorCell(QPainter& painter, const QRect& rect, TColor color)
{
    if (color != clInvalidColor) {
        painter.fillRect(rect, ToQColor(color));
        return;
    }
    painter.fillRect(rect, Qt::white);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0xE0, 0x10, 0x10), 1.5));
    painter.setClipRect(rect);
    painter.drawLine(rect.bottomLeft() + QPointF(0, 1), rect.topRight() + QPointF(1, 0));
    painter.restore();
}

TImgButton::TImgButton(int tag, QWidget* parent) : QWidget(parent), FTag(tag), FImageIndex(tag)
{
    setFixedSize(32, 24);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TImgButton::SetImageIndex(int index)
{
    if (index == FImageIndex)
        return;
    FImageIndex = index;
    update();
}

void TImgButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    const std::vector<QImage>& list = ImageListIcon();
    if (FImageIndex >= 0 && FImageIndex < static_cast<int>(list.size()))
        p.drawImage(0, 0, list[static_cast<std::size_t>(FImageIndex)]);
}

void TImgButton::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    if (OnMouseEnter)
        OnMouseEnter();
}

void TImgButton::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    if (OnMouseLeave)
        OnMouseLeave();
}

void TImgButton::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    if (OnMouseDown)
        OnMouseDown();
}

void TImgButton::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    // The click comes first, so a command's refresh is followed by the release picture.
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && OnClick)
        OnClick();
    if (OnMouseUp)
        OnMouseUp();
}

TColorSwatch::TColorSwatch(TColor color, QWidget* parent) : QWidget(parent), FColor(color)
{
    setFixedSize(18, 18);
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TColorSwatch::SetBrushColor(TColor color)
{
    if (color == FColor)
        return;
    FColor = color;
    update();
}

void TColorSwatch::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(0xC0, 0xC0, 0xC0));
    PaintColorCell(p, rect().adjusted(1, 1, -1, -1), FColor);
}

void TColorSwatch::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    if (OnMouseDown)
        OnMouseDown();
}

} // namespace tavrin
