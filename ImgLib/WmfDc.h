#pragma once
// The drawing state a metafile changes record by record, saved and restored as a whole by SaveDC/RestoreDC.

#include "ImgLib/WmfObjects.h"

#include <QPainterPath>
#include <QPointF>

#include <optional>

namespace tavrin {

struct TWmfDc
{
    TWmfPen Pen;     // black, one pixel
    TWmfBrush Brush; // solid white
    TWmfFont Font;
    QColor TextColor = Qt::black;
    QColor BkColor = Qt::white;
    int BkMode = 2;              // OPAQUE
    std::uint16_t TextAlign = 0; // TA_LEFT | TA_TOP
    int PolyFillMode = 1;        // ALTERNATE
    int Rop2 = 13;               // R2_COPYPEN
    int StretchMode = 1;         // BLACKONWHITE
    int MapMode = 1;             // MM_TEXT
    int TextCharExtra = 0;
    QPointF WindowOrg; // logical units
    QPointF WindowExt;
    QPointF Position;                 // the current point, logical units
    std::optional<QPainterPath> Clip; // device pixels; none: the whole picture
};

} // namespace tavrin
