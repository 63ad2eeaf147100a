// StretchDIBits, DIBStretchBlt, DIBBitBlt, SetDIBitsToDevice and PatBlt.
#include "ImgLib/WmfPlayer.h"

#include "ImgLib/WmfDib.h"
#include "ImgLib/WmfRecordTypes.h"

#include <cstring>

namespace tavrin {
namespace {

constexpr std::uint32_t kSrcCopy = 0x00CC0020;

// A record without a bitmap has exactly (function >> 8) + 3 words, counting its 3-word header.
bool HasBitmap(std::uint16_t function, const TWmfParams& p)
{
    return p.ByteCount() / 2 + 3 != static_cast<std::size_t>((function >> 8) + 3);
}

// Bitmaps with a core header, or a positive height, store their bottom row first.
bool IsBottomUp(std::span<const std::uint8_t> dib)
{
    if (dib.size() < 12) return true;
    if (dib[0] == 12) return true;
    std::int32_t height = 0;
    std::memcpy(&height, dib.data() + 8, 4);
    return height > 0;
}

} // namespace

bool TWmfPlayer::PlayBitmapRecord(std::uint16_t function, const TWmfParams& p)
{
    switch (function) {
    case wmf::StretchDib: {
        // rop, usage, srcHeight, srcWidth, ySrc, xSrc, destHeight, destWidth, yDest, xDest, DIB
        const QRectF target = MapRect(p.I16(10), p.I16(9), p.I16(10) + p.I16(8), p.I16(9) + p.I16(7));
        DrawDib(target, p.BytesFrom(22), p.U16(2), QRect(p.I16(6), p.I16(5), p.I16(4), p.I16(3)), false,
                p.U32(0));
        break;
    }
    case wmf::DibStretchBlt: {
        // rop, srcHeight, srcWidth, ySrc, xSrc, [reserved when no bitmap], destHeight, destWidth, yDest,
        // xDest
        const bool bitmap = HasBitmap(function, p);
        const std::size_t d = bitmap ? 6 : 7;
        const QRectF target =
            MapRect(p.I16(d + 3), p.I16(d + 2), p.I16(d + 3) + p.I16(d + 1), p.I16(d + 2) + p.I16(d));
        if (bitmap)
            DrawDib(target, p.BytesFrom(20), 0, QRect(p.I16(5), p.I16(4), p.I16(3), p.I16(2)), false,
                    p.U32(0));
        else
            PatternBlit(target, p.U32(0));
        break;
    }
    case wmf::DibBitBlt: {
        // rop, ySrc, xSrc, [reserved when no bitmap], height, width, yDest, xDest
        const bool bitmap = HasBitmap(function, p);
        const std::size_t d = bitmap ? 4 : 5;
        const QRectF target =
            MapRect(p.I16(d + 3), p.I16(d + 2), p.I16(d + 3) + p.I16(d + 1), p.I16(d + 2) + p.I16(d));
        if (bitmap)
            DrawDib(target, p.BytesFrom(16), 0, QRect(p.I16(3), p.I16(2), p.I16(5), p.I16(4)), false,
                    p.U32(0));
        else
            PatternBlit(target, p.U32(0));
        break;
    }
    case wmf::SetDibToDev: {
        // usage, scanCount, startScan, yDib, xDib, height, width, yDest, xDest, DIB
        const QRectF target = MapRect(p.I16(8), p.I16(7), p.I16(8) + p.I16(6), p.I16(7) + p.I16(5));
        DrawDib(target, p.BytesFrom(18), p.U16(0), {}, true, kSrcCopy);
        break;
    }
    case wmf::PatBlt: {
        // rop, height, width, y, x
        PatternBlit(MapRect(p.I16(5), p.I16(4), p.I16(5) + p.I16(3), p.I16(4) + p.I16(2)), p.U32(0));
        break;
    }
    case wmf::BitBlt:
    case wmf::StretchBlt:
        break; // device-dependent bitmaps: not drawn
    default:
        return false;
    }
    return true;
}

void TWmfPlayer::DrawDib(const QRectF& target, std::span<const std::uint8_t> dib, std::uint16_t usage,
                         QRect source, bool wholeImage, std::uint32_t rop)
{
    if (!Spend(target)) return;
    const QImage image = DibToImage(dib, usage == 1);
    if (image.isNull()) return;
    if (wholeImage) {
        source = image.rect();
    } else {
        // Source rows count from the bottom of a bottom-up bitmap, which is how DIBs normally are stored.
        if (IsBottomUp(dib)) source.moveTop(image.height() - source.top() - source.height());
    }
    FPainter.save();
    SetRasterOp(rop);
    FPainter.setRenderHint(QPainter::SmoothPixmapTransform, FDc.StretchMode == wmf::Halftone);
    FPainter.drawImage(target, image, source.normalized());
    FPainter.restore();
}

void TWmfPlayer::PatternBlit(const QRectF& target, std::uint32_t rop)
{
    const std::uint32_t op = (rop >> 16) & 0xFF;
    if (op == 0xAA || !Spend(target)) // leaves the destination as it is
        return;
    FPainter.save();
    SetRasterOp(rop);
    if (op == 0x00)
        FPainter.fillRect(target, Qt::black);
    else if (op == 0xFF)
        FPainter.fillRect(target, Qt::white);
    else if (op == 0x55)
        FPainter.fillRect(target, Qt::white); // with NotDestination, any source inverts
    else
        FPainter.fillRect(target, DeviceBrush(FDc.Brush));
    FPainter.restore();
}

} // namespace tavrin
