// Mapping logical units to the canvas, and painting with the current pen, brush, raster operation and clip.
#include "ImgLib/WmfPlayer.h"

#include "ImgLib/WmfRecordTypes.h"

#include <algorithm>
#include <cmath>

namespace tavrin {
namespace {

QPainter::CompositionMode Rop2Mode(int rop2)
{
    switch (rop2) {
    case 2:
        return QPainter::RasterOp_NotSourceAndNotDestination; // R2_NOTMERGEPEN
    case 3:
        return QPainter::RasterOp_NotSourceAndDestination; // R2_MASKNOTPEN
    case 4:
        return QPainter::RasterOp_NotSource; // R2_NOTCOPYPEN
    case 5:
        return QPainter::RasterOp_SourceAndNotDestination; // R2_MASKPENNOT
    case 6:
        return QPainter::RasterOp_NotDestination; // R2_NOT
    case 7:
        return QPainter::RasterOp_SourceXorDestination; // R2_XORPEN
    case 8:
        return QPainter::RasterOp_NotSourceOrNotDestination; // R2_NOTMASKPEN
    case 9:
        return QPainter::RasterOp_SourceAndDestination; // R2_MASKPEN
    case 10:
        return QPainter::RasterOp_NotSourceXorDestination; // R2_NOTXORPEN
    case 12:
        return QPainter::RasterOp_NotSourceOrDestination; // R2_MERGENOTPEN
    case 14:
        return QPainter::RasterOp_SourceOrNotDestination; // R2_MERGEPENNOT
    case 15:
        return QPainter::RasterOp_SourceOrDestination; // R2_MERGEPEN
    case 1:
        return QPainter::RasterOp_ClearDestination; // R2_BLACK
    case 16:
        return QPainter::RasterOp_SetDestination; // R2_WHITE
    default:
        return QPainter::CompositionMode_SourceOver;
    }
}

} // namespace

double TWmfPlayer::ScaleX() const
{
    const double sx = FFrame.Width / FDc.WindowExt.x();
    if (FDc.MapMode != wmf::MmIsotropic) return sx;
    const double sy = FFrame.Height / FDc.WindowExt.y();
    return std::copysign(std::min(std::abs(sx), std::abs(sy)), sx);
}

double TWmfPlayer::ScaleY() const
{
    const double sy = FFrame.Height / FDc.WindowExt.y();
    if (FDc.MapMode != wmf::MmIsotropic) return sy;
    const double sx = FFrame.Width / FDc.WindowExt.x();
    return std::copysign(std::min(std::abs(sx), std::abs(sy)), sy);
}

QPointF TWmfPlayer::Map(double x, double y) const
{
    return QPointF((x - FDc.WindowOrg.x()) * ScaleX(), (y - FDc.WindowOrg.y()) * ScaleY());
}

QRectF TWmfPlayer::MapRect(double left, double top, double right, double bottom) const
{
    return QRectF(Map(left, top), Map(right, bottom)).normalized();
}

QPolygonF TWmfPlayer::MapPoints(const TWmfParams& p, std::size_t firstWord, std::size_t count) const
{
    QPolygonF points;
    count = std::min(count, p.Has(firstWord) ? (p.ByteCount() / 2 - firstWord) / 2 : 0);
    points.reserve(static_cast<qsizetype>(count));
    for (std::size_t i = 0; i < count; ++i)
        points << Map(p.I16(firstWord + 2 * i), p.I16(firstWord + 2 * i + 1));
    return points;
}

QPainterPath TWmfPlayer::MapPath(const QPainterPath& logical) const
{
    return QTransform(ScaleX(), 0, 0, ScaleY(), -FDc.WindowOrg.x() * ScaleX(), -FDc.WindowOrg.y() * ScaleY())
        .map(logical);
}

QPen TWmfPlayer::DevicePen() const
{
    const TWmfPen& pen = FDc.Pen;
    if (pen.IsNull()) return Qt::NoPen;
    // Width 0 is the thinnest line the device can draw; others scale with the x axis.
    const double width = pen.Width == 0 ? 1.0 : std::max(1.0, std::abs(pen.Width * ScaleX()));
    QPen qpen(pen.Color, width);
    switch (pen.Style & 0x0F) {
    case 1:
        qpen.setStyle(Qt::DashLine);
        break;
    case 2:
        qpen.setStyle(Qt::DotLine);
        break;
    case 3:
        qpen.setStyle(Qt::DashDotLine);
        break;
    case 4:
        qpen.setStyle(Qt::DashDotDotLine);
        break;
    default:
        break;
    }
    switch (pen.Style & 0x0F00) {
    case 0x0100:
        qpen.setCapStyle(Qt::SquareCap);
        break;
    case 0x0200:
        qpen.setCapStyle(Qt::FlatCap);
        break;
    default:
        qpen.setCapStyle(pen.Width == 0 ? Qt::FlatCap : Qt::RoundCap);
        break;
    }
    switch (pen.Style & 0xF000) {
    case 0x1000:
        qpen.setJoinStyle(Qt::BevelJoin);
        break;
    case 0x2000:
        qpen.setJoinStyle(Qt::MiterJoin);
        break;
    default:
        qpen.setJoinStyle(Qt::RoundJoin);
        break;
    }
    return qpen;
}

QBrush TWmfPlayer::DeviceBrush(const TWmfBrush& brush) const
{
    switch (brush.Style) {
    case 1:
        return Qt::NoBrush;
    case 2: {
        static constexpr Qt::BrushStyle kHatches[] = {Qt::HorPattern,   Qt::VerPattern,
                                                      Qt::FDiagPattern, Qt::BDiagPattern,
                                                      Qt::CrossPattern, Qt::DiagCrossPattern};
        return QBrush(brush.Color, kHatches[brush.Hatch < 6 ? brush.Hatch : 0]);
    }
    case 3:
    case 5:
        if (!brush.Pattern.isNull()) return QBrush(brush.Pattern);
        return QBrush(brush.Color, Qt::Dense4Pattern);
    default:
        return QBrush(brush.Color);
    }
}

void TWmfPlayer::FillWith(const QPainterPath& devicePath, const QBrush& brush)
{
    if (brush.style() == Qt::NoBrush || !Spend(devicePath.boundingRect())) return;
    // Hatches show the background colour between their lines unless the background mode is transparent.
    if (brush.style() != Qt::SolidPattern && brush.style() != Qt::TexturePattern && FDc.BkMode == wmf::Opaque)
        FPainter.fillPath(devicePath, FDc.BkColor);
    FPainter.fillPath(devicePath, brush);
}

void TWmfPlayer::Stroke(const QPainterPath& devicePath)
{
    const QPen pen = DevicePen();
    if (pen.style() == Qt::NoPen || !Spend(devicePath.boundingRect().adjusted(-1, -1, 1, 1))) return;
    // Device pixels are addressed by their top-left corner; a line through their centres covers them.
    FPainter.strokePath(devicePath.translated(0.5, 0.5), pen);
}

void TWmfPlayer::FillAndStroke(const QPainterPath& devicePath, bool fill)
{
    if (FDc.Rop2 == wmf::R2Nop) return;
    ApplyRop2();
    if (fill) FillWith(devicePath, DeviceBrush(FDc.Brush));
    Stroke(devicePath);
    FPainter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    FPainter.setRenderHint(QPainter::Antialiasing, true);
}

void TWmfPlayer::ApplyRop2()
{
    const QPainter::CompositionMode mode = Rop2Mode(FDc.Rop2);
    FPainter.setCompositionMode(mode);
    // Raster operations combine whole pixels; partial coverage has no meaning for them.
    FPainter.setRenderHint(QPainter::Antialiasing, mode == QPainter::CompositionMode_SourceOver);
}

void TWmfPlayer::SetRasterOp(std::uint32_t rop)
{
    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
    switch ((rop >> 16) & 0xFF) {
    case 0xEE:
        mode = QPainter::RasterOp_SourceOrDestination;
        break; // SRCPAINT
    case 0x88:
        mode = QPainter::RasterOp_SourceAndDestination;
        break; // SRCAND
    case 0x66:
        mode = QPainter::RasterOp_SourceXorDestination;
        break; // SRCINVERT
    case 0x33:
        mode = QPainter::RasterOp_NotSource;
        break; // NOTSRCCOPY
    case 0x44:
        mode = QPainter::RasterOp_SourceAndNotDestination;
        break; // SRCERASE
    case 0x11:
        mode = QPainter::RasterOp_NotSourceAndNotDestination;
        break;
    case 0xBB:
        mode = QPainter::RasterOp_NotSourceOrDestination;
        break; // MERGEPAINT
    case 0x22:
        mode = QPainter::RasterOp_NotSourceAndDestination;
        break;
    case 0x5A:
        mode = QPainter::RasterOp_SourceXorDestination;
        break; // PATINVERT
    case 0x55:
        mode = QPainter::RasterOp_NotDestination;
        break; // DSTINVERT
    default:
        break;
    }
    FPainter.setCompositionMode(mode);
    FPainter.setRenderHint(QPainter::Antialiasing, mode == QPainter::CompositionMode_SourceOver);
}

void TWmfPlayer::IntersectClip(const QPainterPath& devicePath)
{
    FDc.Clip = FDc.Clip ? FDc.Clip->intersected(devicePath) : devicePath;
    ApplyClip();
}

void TWmfPlayer::ApplyClip()
{
    if (FDc.Clip)
        FPainter.setClipPath(*FDc.Clip);
    else
        FPainter.setClipping(false);
}

bool TWmfPlayer::Spend(const QRectF& deviceBounds)
{
    const QRectF visible = deviceBounds.intersected(QRectF(0, 0, FFrame.Width, FFrame.Height));
    FWorkLeft -= visible.width() * visible.height() + 1;
    if (FWorkLeft < 0) FTooMuchWork = true;
    return !FTooMuchWork && !visible.isEmpty();
}

} // namespace tavrin
