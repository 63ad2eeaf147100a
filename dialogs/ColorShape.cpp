#include "dialogs/ColorShape.h"

#include <QPainter>

namespace tavrin {

void TColorShape::SetColor(TColor color)
{
    FColor = color;
    update();
}

void TColorShape::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const std::uint32_t v = ColorValue(FColor);
    painter.setPen(Qt::black);
    painter.setBrush(QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace tavrin
