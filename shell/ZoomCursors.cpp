#include "shell/ZoomCursors.h"

#include "editor/Cursors.h"

#include <QPainter>
#include <QPixmap>

namespace tavrin {

QCursor MakeZoomCursor(bool plus)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    // Handle, then the lens with a light glass and a dark rim so it shows on any picture.
    p.setPen(QPen(Qt::black, 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(19, 19), QPointF(29, 29));
    p.setPen(QPen(Qt::white, 4));
    p.setBrush(QColor(255, 255, 255, 200));
    p.drawEllipse(QPointF(12, 12), 9, 9);
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(12, 12), 9, 9);
    p.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(7, 12), QPointF(17, 12));
    if (plus)
        p.drawLine(QPointF(12, 7), QPointF(12, 17));
    p.end();
    return QCursor(pixmap, 12, 12); // the hot spot is the lens centre
}

void RegisterZoomCursors()
{
    RegisterCursor(TCursor::crZoomIn, MakeZoomCursor(true));
    RegisterCursor(TCursor::crZoomOut, MakeZoomCursor(false));
}

} // namespace tavrin
