// Lines, polygons, rectangles, ellipses, arcs and regions.
#include "ImgLib/WmfPlayer.h"

#include "ImgLib/WmfRecordTypes.h"

#include <cmath>
#include <numbers>

namespace tavrin {
namespace {

Qt::FillRule FillRuleOf(int polyFillMode)
{
    return polyFillMode == wmf::Winding ? Qt::WindingFill : Qt::OddEvenFill;
}

// The angle of `p` seen from the centre of `box`, in degrees counter-clockwise as shown on screen.
double ScreenAngle(const QRectF& box, QPointF p)
{
    const QPointF c = box.center();
    return std::atan2(-(p.y() - c.y()), p.x() - c.x()) * 180.0 / std::numbers::pi;
}

} // namespace

bool TWmfPlayer::PlayShapeRecord(std::uint16_t function, const TWmfParams& p)
{
    switch (function) {
    case wmf::LineTo: {
        QPainterPath path(Map(FDc.Position.x(), FDc.Position.y()));
        FDc.Position = QPointF(p.I16(1), p.I16(0));
        path.lineTo(Map(FDc.Position.x(), FDc.Position.y()));
        FillAndStroke(path, false);
        break;
    }
    case wmf::Polyline:
    case wmf::Polygon: {
        const QPolygonF points = MapPoints(p, 1, p.U16(0));
        if (points.size() < 2) break;
        QPainterPath path;
        path.addPolygon(points);
        if (function == wmf::Polygon) path.closeSubpath();
        path.setFillRule(FillRuleOf(FDc.PolyFillMode));
        FillAndStroke(path, function == wmf::Polygon);
        break;
    }
    case wmf::PolyPolygon: {
        const std::size_t polygons = p.U16(0);
        if (!p.Has(1 + polygons)) break;
        QPainterPath path;
        path.setFillRule(FillRuleOf(FDc.PolyFillMode));
        std::size_t word = 1 + polygons;
        for (std::size_t i = 0; i < polygons && p.Has(word); ++i) {
            const std::size_t count = p.U16(1 + i);
            const QPolygonF points = MapPoints(p, word, count);
            word += 2 * count;
            if (points.size() >= 2) {
                path.addPolygon(points);
                path.closeSubpath();
            }
        }
        FillAndStroke(path, true);
        break;
    }
    case wmf::Rectangle: {
        QPainterPath path;
        path.addRect(MapRect(p.I16(3), p.I16(2), p.I16(1), p.I16(0)));
        FillAndStroke(path, true);
        break;
    }
    case wmf::RoundRect: {
        QPainterPath path;
        path.addRoundedRect(MapRect(p.I16(5), p.I16(4), p.I16(3), p.I16(2)),
                            std::abs(p.I16(1) * ScaleX()) / 2, std::abs(p.I16(0) * ScaleY()) / 2);
        FillAndStroke(path, true);
        break;
    }
    case wmf::Ellipse: {
        QPainterPath path;
        path.addEllipse(MapRect(p.I16(3), p.I16(2), p.I16(1), p.I16(0)));
        FillAndStroke(path, true);
        break;
    }
    case wmf::Arc:
    case wmf::Pie:
    case wmf::Chord:
        DrawArc(function, p);
        break;
    case wmf::SetPixel: {
        const QPointF at = Map(p.I16(3), p.I16(2));
        const QRectF pixel(std::floor(at.x()), std::floor(at.y()), 1, 1);
        if (Spend(pixel)) FPainter.fillRect(pixel, ColorFromRef(p.U32(0)));
        break;
    }
    case wmf::FloodFill:
    case wmf::ExtFloodFill:
        break; // needs the pixels of a real device; rare, and not drawn
    default:
        return false;
    }
    return true;
}

void TWmfPlayer::DrawArc(std::uint16_t function, const TWmfParams& p)
{
    // yEnd, xEnd, yStart, xStart, bottom, right, top, left; the arc runs counter-clockwise from the start
    // radial to the end radial (clockwise on screen when one axis is flipped).
    const QRectF box = MapRect(p.I16(7), p.I16(6), p.I16(5), p.I16(4));
    const double start = ScreenAngle(box, Map(p.I16(3), p.I16(2)));
    const double end = ScreenAngle(box, Map(p.I16(1), p.I16(0)));
    const bool flipped = ScaleX() * ScaleY() < 0;
    double sweep = flipped ? start - end : end - start;
    sweep = std::fmod(sweep + 720.0, 360.0);
    if (sweep == 0) sweep = 360;
    if (flipped) sweep = -sweep;
    QPainterPath path;
    if (function == wmf::Pie)
        path.moveTo(box.center());
    else
        path.arcMoveTo(box, start);
    path.arcTo(box, start, sweep);
    if (function != wmf::Arc) path.closeSubpath();
    FillAndStroke(path, function != wmf::Arc);
}

bool TWmfPlayer::PlayRegionRecord(std::uint16_t function, const TWmfParams& p)
{
    if (function != wmf::FillRegion && function != wmf::PaintRegion && function != wmf::FrameRegion &&
        function != wmf::InvertRegion)
        return false;
    const TWmfObject* object = FObjects.Find(p.U16(0));
    const auto* region = object ? std::get_if<TWmfRegion>(object) : nullptr;
    if (!region) return true;
    const QPainterPath area = MapPath(region->Area);
    if (function == wmf::PaintRegion) {
        FillWith(area, DeviceBrush(FDc.Brush));
    } else if (function == wmf::InvertRegion) {
        FPainter.setCompositionMode(QPainter::RasterOp_NotDestination);
        FillWith(area, QBrush(Qt::white));
        FPainter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    } else if (const TWmfObject* brushObject = FObjects.Find(p.U16(1))) {
        const auto* brush = std::get_if<TWmfBrush>(brushObject);
        if (brush && function == wmf::FillRegion) {
            FillWith(area, DeviceBrush(*brush));
        } else if (brush) { // FrameRegion: a band of the given width and height inside the region's edge
            const QRectF inner =
                area.boundingRect().adjusted(std::abs(p.I16(3) * ScaleX()), std::abs(p.I16(2) * ScaleY()),
                                             -std::abs(p.I16(3) * ScaleX()), -std::abs(p.I16(2) * ScaleY()));
            QPainterPath hole;
            hole.addRect(inner);
            FillWith(area.subtracted(hole), DeviceBrush(*brush));
        }
    }
    return true;
}

} // namespace tavrin
