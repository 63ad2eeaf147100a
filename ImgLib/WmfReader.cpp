#include "ImgLib/WmfReader.h"

#include "ImgLib/PixelBudget.h"
#include "ImgLib/QtImageBridge.h"
#include "ImgLib/WmfParams.h"
#include "ImgLib/WmfPlayer.h"
#include "ImgLib/WmfRecordTypes.h"
#include "core/Bitmap32.h"

#include <cmath>
#include <cstdlib>

namespace tavrin {
namespace {

constexpr double kScreenDpi = 96;

// Placeable files say how large they are. Others are taken at one logical unit per pixel, over the first
// window the records set up.
TReadResult FindFrame(const TWmfFile& file, TWmfFrame& frame, std::int64_t& width, std::int64_t& height)
{
    if (file.Placeable) {
        if (file.UnitsPerInch == 0)
            return TReadResult::Failure(DamagedFileError("WMF header without units per inch"));
        frame.WindowOrg = QPointF(file.Left, file.Top);
        frame.WindowExt = QPointF(file.Right - file.Left, file.Bottom - file.Top);
        width = std::llround(std::abs(frame.WindowExt.x()) * kScreenDpi / file.UnitsPerInch);
        height = std::llround(std::abs(frame.WindowExt.y()) * kScreenDpi / file.UnitsPerInch);
    } else {
        bool haveExt = false;
        ForEachWmfRecord(file.Records, [&](const TWmfRecord& record) {
            const TWmfParams p(record.Params);
            if (record.Function == wmf::SetWindowOrg && !haveExt)
                frame.WindowOrg = QPointF(p.I16(1), p.I16(0));
            if (record.Function == wmf::SetWindowExt && !haveExt && p.I16(0) != 0 && p.I16(1) != 0) {
                frame.WindowExt = QPointF(p.I16(1), p.I16(0));
                haveExt = true;
            }
        });
        if (!haveExt) return TReadResult::Failure(DamagedFileError("WMF without a picture size"));
        width = static_cast<std::int64_t>(std::abs(frame.WindowExt.x()));
        height = static_cast<std::int64_t>(std::abs(frame.WindowExt.y()));
    }
    if (width <= 0 || height <= 0) return TReadResult::Failure(BadPictureSizeError(width, height));
    if (!FitsPixelBudget(width, height)) return TReadResult::Failure(PictureTooLargeError(width, height));
    frame.Width = static_cast<int>(width);
    frame.Height = static_cast<int>(height);
    return TReadResult::Success();
}

bool Draws(std::uint16_t function)
{
    switch (function) {
    case wmf::InvertRegion: case wmf::PaintRegion: case wmf::LineTo: case wmf::FillRegion:
    case wmf::Polygon: case wmf::Polyline: case wmf::Ellipse: case wmf::FloodFill: case wmf::Rectangle:
    case wmf::SetPixel: case wmf::FrameRegion: case wmf::TextOut: case wmf::PolyPolygon:
    case wmf::ExtFloodFill: case wmf::RoundRect: case wmf::PatBlt: case wmf::Arc: case wmf::Pie:
    case wmf::Chord: case wmf::BitBlt: case wmf::DibBitBlt: case wmf::ExtTextOut: case wmf::StretchBlt:
    case wmf::DibStretchBlt: case wmf::SetDibToDev: case wmf::StretchDib:
        return true;
    default:
        return false;
    }
}

// A file that draws nothing has no picture, however large its header says it is.
bool DrawsAnything(const TWmfFile& file)
{
    bool draws = false;
    ForEachWmfRecord(file.Records, [&](const TWmfRecord& record) { draws = draws || Draws(record.Function); });
    return draws;
}

} // namespace

TReadResult ReadWmf(std::span<const std::uint8_t> data, TBitmap32& out)
{
    TWmfFile file;
    if (TReadResult parsed = ParseWmf(data, file); !parsed) return parsed;
    if (!DrawsAnything(file)) return TReadResult::Failure(NoPictureError());
    TWmfFrame frame;
    std::int64_t width = 0, height = 0;
    if (TReadResult sized = FindFrame(file, frame, width, height); !sized) return sized;
    // Painted straight onto the result's pixels: the picture is held once.
    TBitmap32 bitmap(frame.Width, frame.Height);
    bitmap.Clear(clWhite32);
    QImage canvas = ImageOnBitmap(bitmap);
    QPainter painter(&canvas);
    TWmfPlayer player(painter, frame, file.ObjectCount);
    TReadResult played = player.Play(file.Records);
    painter.end();
    if (!played) return played;
    MakeOpaque(bitmap);
    out = std::move(bitmap);
    return TReadResult::Success();
}

void RegisterWmfFormat(TPictureFormatRegistry& registry)
{
    registry.Register({"메타파일", "wmf", &ReadWmf});
}

} // namespace tavrin
