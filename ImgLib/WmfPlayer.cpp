// Playing the records: the drawing state, the object table and clipping; shapes, text and bitmaps are in
// the WmfPlayer*.cpp files beside this one.
#include "ImgLib/WmfPlayer.h"

#include "ImgLib/WmfDib.h"
#include "ImgLib/WmfRecordTypes.h"

#include <algorithm>
#include <cmath>

namespace tavrin {
namespace {

// No picture needs its canvas painted over hundreds of times, nor billions of pixels painted in all.
constexpr double kMaxOverdraw = 256;
constexpr double kMinWork = 64.0 * 1024 * 1024;
constexpr double kMaxWork = 2.0 * 1024 * 1024 * 1024;
constexpr std::size_t kMaxSavedStates = 4096;

} // namespace

TWmfPlayer::TWmfPlayer(QPainter& painter, const TWmfFrame& frame, std::size_t objectCount)
    : FPainter(painter), FFrame(frame), FObjects(objectCount)
{
    FDc.WindowOrg = frame.WindowOrg;
    FDc.WindowExt = frame.WindowExt;
    const double area = double(frame.Width) * frame.Height;
    FWorkLeft = std::clamp(area * kMaxOverdraw, kMinWork, kMaxWork);
    FPainter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
}

TReadResult TWmfPlayer::Play(std::span<const std::uint8_t> records)
{
    ForEachWmfRecord(records, [this](const TWmfRecord& record) {
        if (!FTooMuchWork) PlayRecord(record);
    });
    if (FTooMuchWork) return TReadResult::Failure(DamagedFileError("the drawing asks for too much painting"));
    return TReadResult::Success();
}

void TWmfPlayer::PlayRecord(const TWmfRecord& record)
{
    const TWmfParams p(record.Params);
    const std::uint16_t f = record.Function;
    PlayStateRecord(f, p) || PlayObjectRecord(f, p) || PlayClipRecord(f, p) || PlayShapeRecord(f, p) ||
        PlayRegionRecord(f, p) || PlayTextRecord(f, p) || PlayBitmapRecord(f, p);
}

bool TWmfPlayer::PlayStateRecord(std::uint16_t function, const TWmfParams& p)
{
    switch (function) {
    case wmf::SetBkMode:
        FDc.BkMode = p.U16(0);
        break;
    case wmf::SetMapMode:
        FDc.MapMode = p.U16(0);
        break;
    case wmf::SetRop2:
        FDc.Rop2 = p.U16(0);
        break;
    case wmf::SetPolyFillMode:
        FDc.PolyFillMode = p.U16(0);
        break;
    case wmf::SetStretchBltMode:
        FDc.StretchMode = p.U16(0);
        break;
    case wmf::SetTextCharExtra:
        FDc.TextCharExtra = p.I16(0);
        break;
    case wmf::SetTextAlign:
        FDc.TextAlign = p.U16(0);
        break;
    case wmf::SetBkColor:
        FDc.BkColor = ColorFromRef(p.U32(0));
        break;
    case wmf::SetTextColor:
        FDc.TextColor = ColorFromRef(p.U32(0));
        break;
    case wmf::SetWindowOrg:
        FDc.WindowOrg = QPointF(p.I16(1), p.I16(0));
        break;
    case wmf::OffsetWindowOrg:
        FDc.WindowOrg += QPointF(p.I16(1), p.I16(0));
        break;
    case wmf::SetWindowExt:
        if (p.I16(0) != 0 && p.I16(1) != 0) FDc.WindowExt = QPointF(p.I16(1), p.I16(0));
        break;
    case wmf::ScaleWindowExt:
        if (p.I16(0) != 0 && p.I16(2) != 0 && p.I16(1) != 0 && p.I16(3) != 0)
            FDc.WindowExt =
                QPointF(FDc.WindowExt.x() * p.I16(3) / p.I16(2), FDc.WindowExt.y() * p.I16(1) / p.I16(0));
        break;
    case wmf::MoveTo:
        FDc.Position = QPointF(p.I16(1), p.I16(0));
        break;
    case wmf::SaveDc:
        if (FSaved.size() < kMaxSavedStates) FSaved.push_back(FDc);
        break;
    case wmf::RestoreDc: {
        // Negative: that many states back; positive: the n-th saved state, counted from the first.
        const int n = p.I16(0);
        const std::size_t keep =
            n < 0 ? (FSaved.size() >= std::size_t(-n) ? FSaved.size() + n : FSaved.size())
                  : (n >= 1 && std::size_t(n) <= FSaved.size() ? std::size_t(n) - 1 : FSaved.size());
        if (keep < FSaved.size()) {
            FDc = FSaved[keep];
            FSaved.resize(keep);
            ApplyClip();
        }
        break;
    }
    default:
        return false;
    }
    return true;
}

bool TWmfPlayer::PlayObjectRecord(std::uint16_t function, const TWmfParams& p)
{
    switch (function) {
    case wmf::CreatePenIndirect:
        FObjects.Add(ParsePen(p));
        break;
    case wmf::CreateBrushIndirect:
        FObjects.Add(ParseBrush(p));
        break;
    case wmf::CreateFontIndirect:
        FObjects.Add(ParseFont(p));
        break;
    case wmf::CreateRegion:
        FObjects.Add(ParseRegion(p));
        break;
    case wmf::CreatePalette:
        FObjects.Add(TWmfPalette{});
        break;
    case wmf::CreatePatternBrush: {
        TWmfBrush brush;
        brush.Style = 3; // BS_PATTERN from an old-style bitmap: shown as a 50 % grey
        brush.Color = Qt::black;
        FObjects.Add(brush);
        break;
    }
    case wmf::DibCreatePatternBrush: {
        TWmfBrush brush;
        brush.Style = 3;
        brush.Color = Qt::black;
        brush.Pattern = DibPattern(p);
        FObjects.Add(brush);
        break;
    }
    case wmf::SelectObject:
        if (const TWmfObject* object = FObjects.Find(p.U16(0))) {
            if (const auto* pen = std::get_if<TWmfPen>(object))
                FDc.Pen = *pen;
            else if (const auto* brush = std::get_if<TWmfBrush>(object))
                FDc.Brush = *brush;
            else if (const auto* font = std::get_if<TWmfFont>(object))
                FDc.Font = *font;
            else if (const auto* region = std::get_if<TWmfRegion>(object)) {
                FDc.Clip.reset();
                IntersectClip(MapPath(region->Area));
            }
        }
        break;
    case wmf::DeleteObject:
        FObjects.Delete(p.U16(0));
        break;
    case wmf::SelectPalette:
    case wmf::RealizePalette:
    case wmf::SetPalEntries:
    case wmf::ResizePalette:
    case wmf::AnimatePalette:
    case wmf::SetMapperFlags:
    case wmf::SetRelAbs:
    case wmf::SetLayout:
    case wmf::SetTextJustification:
    case wmf::Escape:
    case wmf::SetViewportOrg:
    case wmf::SetViewportExt:
    case wmf::OffsetViewportOrg:
    case wmf::ScaleViewportExt:
        break; // nothing to show: the canvas is the viewport
    default:
        return false;
    }
    return true;
}

bool TWmfPlayer::PlayClipRecord(std::uint16_t function, const TWmfParams& p)
{
    switch (function) {
    case wmf::IntersectClipRect: {
        QPainterPath path;
        path.addRect(MapRect(p.I16(3), p.I16(2), p.I16(1), p.I16(0)));
        IntersectClip(path);
        break;
    }
    case wmf::ExcludeClipRect: {
        QPainterPath whole;
        whole.addRect(QRectF(0, 0, FFrame.Width, FFrame.Height));
        QPainterPath hole;
        hole.addRect(MapRect(p.I16(3), p.I16(2), p.I16(1), p.I16(0)));
        FDc.Clip = FDc.Clip.value_or(whole).subtracted(hole);
        ApplyClip();
        break;
    }
    case wmf::OffsetClipRgn:
        if (FDc.Clip) {
            FDc.Clip->translate(p.I16(1) * ScaleX(), p.I16(0) * ScaleY());
            ApplyClip();
        }
        break;
    case wmf::SelectClipRegion: {
        FDc.Clip.reset();
        const TWmfObject* object = FObjects.Find(p.U16(0));
        if (const auto* region = object ? std::get_if<TWmfRegion>(object) : nullptr)
            IntersectClip(MapPath(region->Area));
        else
            ApplyClip();
        break;
    }
    default:
        return false;
    }
    return true;
}

} // namespace tavrin
